#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program started from a folder whose name is in Latin-1 bytes (an old USB
# stick, a FAT volume mounted with a Latin-1 charset), under the C locale: it
# must find its own password file there, so the first password opens the
# launcher.
#   run_e2e_latin1.sh <fondaro> <shipped password file>
set -euo pipefail

exe=$1
shipped=$2

source "$(dirname "$0")/common.sh"

scratch=$(mktemp -d)
folder="$scratch/$(printf 'caf\351')"
mkdir "$folder"
cp "$exe" "$folder/fondaro"
cp "$shipped" "$folder/unins000.dll"

LC_ALL=C LANG=C "$folder/fondaro" &
pid=$!
trap 'kill $pid 2>/dev/null || true; rm -rf "$scratch"' EXIT

login "from a Latin-1 folder"
cmp -s "$folder/unins000.dll" "$shipped" || fail "the password file was changed"
[ "$(ls -A "$scratch")" = "$(printf 'caf\351')" ] || fail "a file appeared beside the folder"
echo "e2e: login from a Latin-1 folder passed"
