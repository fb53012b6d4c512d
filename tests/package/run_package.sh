#!/usr/bin/env bash
# Builds the Debian package with CPack, as "make package" does, and checks it
# without installing it on the machine: extracted with dpkg-deb into a
# temporary root, its files and control fields, desktop-file-validate,
# appstreamcli, lintian (an error fails, warnings are listed), both manual
# pages rendered, and then the extracted program itself under Xvfb
# (e2e_package.sh).
#   run_package.sh <cpack> <build folder> <source folder> <picture.png>
set -euo pipefail

cpack=$1
build=$2
source=$3
shot=$4

fail() { echo "package: $*" >&2; exit 1; }
for need in dpkg-deb desktop-file-validate appstreamcli lintian man groff; do
  command -v "$need" >/dev/null || fail "$need is missing (scripts/install-deps.sh installs it)"
done

deb="$build/fondaro_3.0.0-1_amd64.deb"
rm -f "$deb"
(cd "$build" && "$cpack" -G DEB >"$build/cpack.log" 2>&1) || { cat "$build/cpack.log" >&2; fail "cpack failed"; }
[ -f "$deb" ] || fail "cpack did not write $deb: $(ls "$build"/*.deb 2>/dev/null)"
echo "package: $deb built"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# ---- the files and the control fields ----------------------------------------
id=it.fondaro.Fondaro
expected=(
  usr/bin/fondaro usr/bin/fondaro-tool
  usr/share/fondaro/unins000.dll usr/share/fondaro/Guida.pdf
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/man/man1/fondaro.1.gz usr/share/man/man1/fondaro-tool.1.gz
  usr/share/doc/fondaro/copyright usr/share/doc/fondaro/changelog.Debian.gz
)
for px in 16 22 24 32 48 64 128 256; do
  expected+=("usr/share/icons/hicolor/${px}x${px}/apps/$id.png")
  size=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${px}x${px}/apps/$id.png") ||
    fail "the ${px}x${px} icon is not a picture"
  [ "$size" = "${px}x${px}" ] || fail "the ${px}x${px} icon is $size"
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "the package has no /$f"
done
cmp -s "$root/usr/share/fondaro/unins000.dll" "$source/resources/unins000.dll" ||
  fail "/usr/share/fondaro/unins000.dll is not the first password file"
[ -x "$root/usr/bin/fondaro" ] && [ -x "$root/usr/bin/fondaro-tool" ] || fail "the programs are not executable"

control=$(dpkg-deb -f "$deb" Package Version Architecture Depends Recommends Suggests)
echo "$control"
for dep in libqt6widgets6 libqt6printsupport6 libc6 qt6-translations-l10n fonts-dejavu-core \
           fonts-liberation2 fonts-wine xdg-utils; do
  grep -q "^Depends:.*\b$dep\b" <<<"$control" || fail "Depends does not name $dep"
done
grep -q '^Suggests:.*libreoffice' <<<"$control" || fail "LibreOffice is not suggested"
grep -q '^Depends:.*libreoffice' <<<"$control" && fail "LibreOffice must only be suggested"

# ---- the desktop entry and the AppStream data --------------------------------
desktop="$root/usr/share/applications/$id.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'GenericName=Contabilità' "$desktop" || fail "the desktop entry's GenericName is not Contabilità"
grep -qx 'Categories=Office;Finance;' "$desktop" || fail "the desktop entry is not in Office;Finance;"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry names another icon"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, which the package lacks"
out=$(appstreamcli validate --no-net --explain "$root/usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
  fail "appstreamcli validate: $out"
echo "package: desktop entry and AppStream data valid"

# ---- lintian: errors fail, the rest is listed ---------------------------------
report=$(lintian --fail-on error --info "$deb" 2>&1) || { echo "$report" >&2; fail "lintian found errors"; }
if [ -n "$report" ]; then
  echo "package: lintian says:"
  echo "$report"
fi

# ---- the manual pages ----------------------------------------------------------
for page in fondaro fondaro-tool; do
  gz="$root/usr/share/man/man1/$page.1.gz"
  warnings=$(zcat "$gz" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "$page.1: groff warns: $warnings"
  text=$(MANWIDTH=80 man -l "$gz" 2>/dev/null) || fail "man cannot render $page.1"
  for section in NAME SYNOPSIS DESCRIPTION "SEE ALSO"; do
    grep -q "^$section" <<<"$text" || fail "$page.1 has no $section section"
  done
done
# Every command of the tool's help has its part in the tool's page.
tool_page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/fondaro-tool.1.gz" 2>/dev/null)
for cmd in $("$root/usr/bin/fondaro-tool" --help | awk '/^Commands:/{on=1;next} on&&/^  [a-z]/{print $1} on&&/^$/{exit}'); do
  grep -q "^   $cmd\$" <<<"$tool_page" || fail "fondaro-tool.1 does not describe the command $cmd"
done
grep -q -- '--cartella' <<<"$(man -l "$root/usr/share/man/man1/fondaro.1.gz" 2>/dev/null)" ||
  fail "fondaro.1 does not tell --cartella"
echo "package: both manual pages render"

# ---- the extracted program ---------------------------------------------------------
bash "$(dirname "$0")/e2e_package.sh" "$root" "$source/resources/unins000.dll" "$shot"
echo "package: $deb passed"
