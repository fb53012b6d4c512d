#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as "make package" does (packaging/build-deb.sh:
# dpkg-buildpackage -us -uc -b in a copy of the source tree under the build
# folder) and checks it without installing it on the machine:
#   - the binary stage run a second time (dpkg-buildpackage -nc) gives
#     byte-identical .deb files;
#   - the files, the control fields, the debug symbols, hardening-check on
#     the three ELF files;
#   - lintian --pedantic on the .deb files and the .changes: no tag at all
#     (an override says why in debian/fondaro.lintian-overrides);
#   - desktop-file-validate, appstreamcli validate --pedantic, the MIME type of
#     an archive as xdg-mime finds it in the extracted tree;
#   - both manual pages: no groff warning, no line wider than 80 columns;
#   - the command line of both programs;
#   - the extracted program itself under Xvfb (e2e_package.sh).
#   run_package.sh <build folder> <source folder> <picture.png>
set -euo pipefail

build=$(cd "$1" && pwd)
source=$(cd "$2" && pwd)
shot=$3

fail() { echo "package: $*" >&2; exit 1; }
for need in dpkg-buildpackage dpkg-deb dpkg-parsechangelog desktop-file-validate appstreamcli lintian man groff \
            hardening-check readelf update-mime-database update-desktop-database xdg-mime mimetype; do
  command -v "$need" >/dev/null || fail "$need is missing (scripts/install-deps.sh installs it)"
done

version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
triplet=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
deb="$build/fondaro_${version}_$arch.deb"
dbgsym="$build/fondaro-dbgsym_${version}_$arch.deb"
changes="$build/fondaro_${version}_$arch.changes"
tree="$build/fondaro-$version"

bash "$source/packaging/build-deb.sh" "$source" "$build" >/dev/null
echo "package: $deb and $dbgsym built"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# ---- reproducible: the binary stage again gives the same bytes ---------------
# The second run keeps the build folder (no clean), and re-does everything
# after the compiling: the three ELF files are linked again, the artwork
# program draws the artwork and the icons again (their sources are touched),
# the manual and the tool's manual page are written again, "cmake --install"
# fills debian/tmp again and every dh_ step of the binary packages runs again
# (debhelper's logs, stamp and staging folders are removed). The files that are
# installed as they are (packaging/, resources/) are touched first, so that a
# time taken from a file rather than from the changelog (SOURCE_DATE_EPOCH)
# would show. Objects whose sources did not change come from ccache.
cp "$deb" "$dbgsym" "$scratch/"
obj="$tree/obj-$triplet"
[ -d "$obj" ] || fail "dpkg-buildpackage left no build folder $obj"
rm -f "$obj/fondaro" "$obj/fondaro-tool" "$obj/fondaro-tool-pdf.so" "$obj/Guida.pdf" "$obj"/packaging/files/*
rm -rf "$tree/debian/.debhelper" "$tree/debian/tmp" "$tree/debian/fondaro" "$tree/debian/files" \
       "$tree/debian/debhelper-build-stamp" "$tree"/debian/*.debhelper.log "$tree"/debian/*.substvars
sleep 1
find "$tree/packaging" "$tree/resources" -type f -exec touch {} +
if command -v ccache >/dev/null; then
  export FONDARO_CCACHE=1
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
fi
(cd "$tree" && dpkg-buildpackage -us -uc -b -nc) >"$build/fondaro-build-again.log" 2>&1 ||
  { tail -n 30 "$build/fondaro-build-again.log" >&2; fail "the second dpkg-buildpackage -nc failed"; }
for f in "$deb" "$dbgsym"; do
  cmp "$scratch/$(basename "$f")" "$f" ||
    fail "$(basename "$f") differs between two builds (diffoscope shows where)"
done
echo "package: a second build gives byte-identical packages"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"

# ---- the files and the control fields ----------------------------------------
id=it.fondaro.fondaro
icon=it.fondaro.Fondaro
mimeicon=application-x-fondaro-movimenti
expected=(
  usr/bin/fondaro usr/bin/fondaro-tool usr/lib/$triplet/fondaro/fondaro-tool-pdf.so
  usr/share/fondaro/unins000.dll usr/share/fondaro/Guida.pdf
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml
  usr/share/mime/packages/fondaro.xml
  usr/share/icons/hicolor/scalable/apps/$icon.svg usr/share/icons/hicolor/scalable/mimetypes/$mimeicon.svg
  usr/share/man/man1/fondaro.1.gz usr/share/man/man1/fondaro-tool.1.gz
  usr/share/doc/fondaro/copyright usr/share/doc/fondaro/changelog.gz
)
for px in 16 22 24 32 48 64 128 256; do
  for f in apps/$icon mimetypes/$mimeicon; do
    expected+=("usr/share/icons/hicolor/${px}x${px}/$f.png")
    size=$(identify -format '%wx%h' "$root/usr/share/icons/hicolor/${px}x${px}/$f.png") ||
      fail "the ${px}x${px} icon $f is not a picture"
    [ "$size" = "${px}x${px}" ] || fail "the ${px}x${px} icon $f is $size"
  done
done
for f in "${expected[@]}"; do
  [ -f "$root/$f" ] || fail "the package has no /$f"
done
cmp -s "$root/usr/share/fondaro/unins000.dll" "$source/resources/unins000.dll" ||
  fail "/usr/share/fondaro/unins000.dll is not the first password file"
[ -x "$root/usr/bin/fondaro" ] && [ -x "$root/usr/bin/fondaro-tool" ] || fail "the programs are not executable"
grep -q 'usr/lib/fondaro' <<<"$(dpkg-deb -c "$deb")" && fail "the module is still in /usr/lib/fondaro"
cmp -s "$root/usr/share/doc/fondaro/copyright" "$source/debian/copyright" || fail "the copyright file is not debian/copyright"
grep -q '^License: GPL-3+' "$root/usr/share/doc/fondaro/copyright" || fail "the copyright file names another licence"

control=$(dpkg-deb -f "$deb" Package Version Architecture Section Depends Recommends Suggests)
echo "$control"
grep -qx "Version: $version" <<<"$control" || fail "the package's version is not the changelog's $version"
# Debian has no section "office" (lintian: unknown-section); the menu places
# the program under Office through the desktop entry.
grep -qx 'Section: misc' <<<"$control" || fail "the package is not in the section misc"
for dep in libqt6widgets6 libqt6printsupport6 libc6 qt6-qpa-plugins qt6-translations-l10n fonts-dejavu-core \
           fonts-liberation2 fonts-wine xdg-utils; do
  grep -q "^Depends:.*\b$dep\b" <<<"$control" || fail "Depends does not name $dep"
done
grep -q '^Recommends:.*\bcups\b' <<<"$control" || fail "CUPS is not recommended"
grep -q '^Recommends:.*evince | okular | mupdf | pdf-viewer' <<<"$control" || fail "no PDF viewer is recommended"
grep -q '^Suggests:.*libreoffice-calc' <<<"$control" || fail "LibreOffice Calc is not suggested"
grep -q '^Depends:.*libreoffice' <<<"$control" && fail "LibreOffice must only be suggested"
[ -z "$(dpkg-deb -I "$deb" | grep -E '^ .*(postinst|postrm|preinst|prerm)')" ] ||
  fail "the package has maintainer scripts: $(dpkg-deb -I "$deb" | grep -E 'post|pre')"
grep -q ldconfig <<<"$(dpkg-deb -f "$deb" Depends)" && fail "the package depends on ldconfig"

# ---- the ELF files: hardened, stripped, their symbols in -dbgsym --------------
dbgroot="$scratch/dbgsym"
dpkg-deb -x "$dbgsym" "$dbgroot"
# The control-flow check of hardening-check looks for the IBT/SHSTK note,
# which the linker writes only when every object has it; Debian 12's crt1.o
# and crti.o have none, so no program of Debian 12 carries it (/usr/bin/ls
# neither), whatever -fcf-protection gives our own code. Every other check
# must pass.
for elf in usr/bin/fondaro usr/bin/fondaro-tool usr/lib/$triplet/fondaro/fondaro-tool-pdf.so; do
  report=$(hardening-check --nocfprotection "$root/$elf" 2>&1) ||
    { echo "$report" >&2; fail "hardening-check fails on /$elf"; }
  sections=$(readelf -S -W "$root/$elf")
  grep -q ' \.symtab ' <<<"$sections" && fail "/$elf is not stripped"
  grep -q ' \.comment ' <<<"$sections" && fail "/$elf keeps a .comment section"
  buildid=$(readelf -n "$root/$elf" 2>/dev/null | sed -n 's/.*Build ID: \([0-9a-f]*\).*/\1/p')
  [ -n "$buildid" ] || fail "/$elf has no build id"
  debug="$dbgroot/usr/lib/debug/.build-id/${buildid:0:2}/${buildid:2}.debug"
  [ -f "$debug" ] || fail "fondaro-dbgsym has no debug symbols for /$elf"
  # Read whole before grep: grep -q stops reading at the first match, and the
  # writer's broken pipe would fail the pipeline under pipefail.
  debug_sections=$(readelf -S -W "$debug" 2>/dev/null || true)
  grep -q ' \.debug_info ' <<<"$debug_sections" || fail "the debug file of /$elf has no .debug_info"
done
echo "package: hardening-check passes on the three ELF files; their symbols are in fondaro-dbgsym"

# ---- lintian: no tag, pedantic included -------------------------------------
report=$(lintian --pedantic --info --display-experimental --fail-on none "$changes" 2>&1) ||
  { echo "$report" >&2; fail "lintian did not run"; }
tags=$(grep -E '^[EWIPX]: ' <<<"$report" || true)
[ -z "$tags" ] || { echo "$tags" >&2; fail "lintian --pedantic reports tags on the package"; }
# Every override says why, on the comment lines above it.
overrides="$source/debian/fondaro.lintian-overrides"
if [ -f "$overrides" ]; then
  awk '/^#/ { said = 1; next } /^[^#[:space:]]/ && !said { print; bad = 1 } /^[^#]/ { said = 0 } END { exit bad }' \
    "$overrides" >&2 || fail "a lintian override above has no reason"
fi
echo "package: lintian --pedantic reports nothing on the .deb files and the .changes"

# ---- the desktop entry, the AppStream data, the MIME type -----------------------
desktop="$root/usr/share/applications/$id.desktop"
out=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate: $out"
grep -qx 'GenericName=Contabilità' "$desktop" || fail "the desktop entry's GenericName is not Contabilità"
grep -qx 'Categories=Office;Finance;' "$desktop" || fail "the desktop entry is not in Office;Finance;"
grep -qx "Icon=$icon" "$desktop" || fail "the desktop entry names another icon"
grep -qx 'Exec=fondaro %f' "$desktop" || fail "the desktop entry does not hand the program a file"
grep -qx 'MimeType=application/x-fondaro-movimenti;' "$desktop" || fail "the desktop entry opens no archive"
grep -qx 'StartupWMClass=Fondaro' "$desktop" || fail "the desktop entry's StartupWMClass is not Fondaro"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$desktop")
[ -x "$root/usr/bin/$exec_name" ] || fail "the desktop entry starts $exec_name, which the package lacks"
metainfo="$root/usr/share/metainfo/$id.metainfo.xml"
out=$(appstreamcli validate --pedantic --no-net --explain "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
grep -q "<id>$id</id>" "$metainfo" || fail "the AppStream id is not $id"
grep -q '<project_license>GPL-3.0-or-later</project_license>' "$metainfo" || fail "the AppStream licence is not GPL-3.0-or-later"
released=$(date -u -d "$(dpkg-parsechangelog -l "$source/debian/changelog" -S Date)" +%F)
grep -q "<release version=\"$version\" date=\"$released\">" "$metainfo" ||
  fail "the AppStream data has no release $version of $released, as the changelog says"
echo "package: desktop entry and AppStream data valid"

# The MIME database of the extracted tree alone: an archive is told by its name
# and, named otherwise, by its first record; the menu entry opens it.
update-mime-database "$root/usr/share/mime" >/dev/null 2>&1 || fail "update-mime-database refuses the MIME entry"
update-desktop-database "$root/usr/share/applications"
samples="$scratch/campioni"
mkdir -p "$samples"
printf '{"Entrata":"Sì","Uscita":"No","Data":"05/03/2024","Causale":"Prova","Importo":"1,00","Totale":"+1,00"}\n' |
  "$root/usr/bin/fondaro-tool" append "$samples/2024.eur" >/dev/null
cp "$samples/2024.eur" "$samples/copia-senza-nome"
: >"$samples/2025.eur"
mime() {
  XDG_DATA_DIRS="$root/usr/share" XDG_DATA_HOME="$scratch/nessuno" XDG_CONFIG_HOME="$scratch/nessuno" \
    XDG_CURRENT_DESKTOP='' DE='' xdg-mime query "$@"
}
for f in 2024.eur 2025.eur copia-senza-nome; do
  type=$(mime filetype "$samples/$f")
  [ "$type" = application/x-fondaro-movimenti ] || fail "xdg-mime takes $f for $type"
done
default=$(mime default application/x-fondaro-movimenti)
[ "$default" = "$id.desktop" ] || fail "xdg-mime opens an archive with \"$default\", not $id.desktop"
echo "package: xdg-mime takes *.eur for application/x-fondaro-movimenti, opened by $id.desktop"

# ---- the manual pages ----------------------------------------------------------
for page in fondaro fondaro-tool; do
  gz="$root/usr/share/man/man1/$page.1.gz"
  warnings=$(zcat "$gz" | groff -man -ww -z -Tutf8 2>&1)
  [ -z "$warnings" ] || fail "$page.1: groff warns: $warnings"
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$page.1: man warns: $warnings"
  text=$(MANWIDTH=80 man -l "$gz" 2>/dev/null) || fail "man cannot render $page.1"
  wide=$(python3 -c 'import sys
for n, l in enumerate(sys.stdin.read().splitlines(), 1):
    if len(l) > 80: print(n, len(l), l)' <<<"$text")
  [ -z "$wide" ] || fail "$page.1 is wider than 80 columns: $wide"
  for section in NAME SYNOPSIS DESCRIPTION "SEE ALSO"; do
    grep -q "^$section" <<<"$text" || fail "$page.1 has no $section section"
  done
done
# Every command of the tool's help has its part in the tool's page.
tool_page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/fondaro-tool.1.gz" 2>/dev/null)
for cmd in $("$root/usr/bin/fondaro-tool" --help | awk '/^Commands:/{on=1;next} on&&/^  [a-z]/{print $1} on&&/^$/{exit}'); do
  grep -q "^   $cmd\$" <<<"$tool_page" || fail "fondaro-tool.1 does not describe the command $cmd"
done
# The program's page names every option and every file and folder it keeps.
page=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/fondaro.1.gz" 2>/dev/null)
for word in --cartella --help --version YYYY.eur FONDARO_DIR Clienti.pro Documenti_Allegati/ unins000.dll \
            Ricorrenti.json Ricorrenti.lock ImportaEstratto.ini Movimenti.xls Anagrafica.xls Cliente.pdf \
            "Copie di sicurezza/" impostazioni.ini _prima-del-ripristino Guida.pdf; do
  grep -qF -- "$word" <<<"$page" || fail "fondaro.1 does not name $word"
done
echo "package: both manual pages render without warnings in 80 columns"

# ---- the command line ----------------------------------------------------------------
# No display is needed for the help and the version.
noX=(env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb HOME="$scratch/home")
out=$("${noX[@]}" "$root/usr/bin/fondaro" --version) || fail "fondaro --version failed"
[ "$out" = "fondaro $version" ] || fail "fondaro --version printed \"$out\""
out=$("${noX[@]}" "$root/usr/bin/fondaro-tool" --version) || fail "fondaro-tool --version failed"
[ "$out" = "fondaro-tool $version" ] || fail "fondaro-tool --version printed \"$out\""
out=$("${noX[@]}" "$root/usr/bin/fondaro" --help) || fail "fondaro --help failed"
grep -q -- '--cartella' <<<"$out" || fail "fondaro --help does not tell --cartella: $out"
rc=0
err=$("${noX[@]}" "$root/usr/bin/fondaro" --sconosciuta 2>&1 >/dev/null) || rc=$?
[ "$rc" = 2 ] || fail "an unknown option exits $rc, not 2"
grep -q 'opzione sconosciuta: --sconosciuta' <<<"$err" && grep -q '^Uso: fondaro' <<<"$err" ||
  fail "an unknown option does not print the usage on stderr: $err"
[ ! -e "$scratch/home/Fondaro" ] || fail "the help or the version made ~/Fondaro"
echo "package: --help, --version and an unknown option as the manual page says"

# ---- the extracted program ---------------------------------------------------------
bash "$(dirname "$0")/e2e_package.sh" "$root" "$source/resources/unins000.dll" "$shot"
echo "package: $deb passed"
