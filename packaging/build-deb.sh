#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package as "make package" does: the source tree is copied
# into <output>/fondaro-<version>/ (so the source tree gets no build
# leftovers), and dpkg-buildpackage builds the binary packages there; they land
# in <output>: fondaro_<version>_<arch>.deb, fondaro-dbgsym_<version>_<arch>.deb,
# with the .buildinfo and .changes. The copy stays, so that the package test
# can run the binary stage again in it (dpkg-buildpackage -nc).
#   build-deb.sh <source folder> <output folder>
set -euo pipefail

source=$(cd "$1" && pwd)
mkdir -p "$2"
output=$(cd "$2" && pwd)

for need in dpkg-buildpackage dpkg-parsechangelog dh; do
  command -v "$need" >/dev/null ||
    { echo "build-deb: $need is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done

version=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
tree="$output/fondaro-$version"
rm -rf "$tree"
mkdir -p "$tree"

# The files of the repository: those git knows (tracked, and new ones it does
# not ignore) in a checkout, else everything but the build folders.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  (cd "$source" && git ls-files -z --cached --others --exclude-standard |
     xargs -0 sh -c 'for f; do [ -e "$f" ] || [ -L "$f" ] && printf "%s\0" "$f"; done' sh |
     tar --null -T - -cf -) | tar -C "$tree" -xf -
else
  (cd "$source" && tar --exclude='./build*' --exclude='./.git' -cf - .) | tar -C "$tree" -xf -
fi

# ccache, when the machine has it, keeps a rebuild of unchanged sources short.
# debhelper gives the build a home of its own, so the cache is named outright.
if [ -z "${FONDARO_CCACHE:-}" ] && command -v ccache >/dev/null; then
  export FONDARO_CCACHE=1
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
fi
arch=$(dpkg-architecture -qDEB_HOST_ARCH)
rm -f "$output/fondaro_${version}_$arch".* "$output/fondaro-dbgsym_${version}_$arch.deb"
(cd "$tree" && dpkg-buildpackage -us -uc -b) >"$output/fondaro-build.log" 2>&1 ||
  { tail -n 40 "$output/fondaro-build.log" >&2; echo "build-deb: dpkg-buildpackage failed (whole log: $output/fondaro-build.log)" >&2; exit 1; }
for f in "fondaro_${version}_$arch.deb" "fondaro-dbgsym_${version}_$arch.deb"; do
  [ -f "$output/$f" ] || { echo "build-deb: dpkg-buildpackage did not write $output/$f" >&2; exit 1; }
  echo "$output/$f"
done
