#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts the real program on a virtual X display, types the first password,
# presses Enter, checks that the launcher replaces the login window, keeps a
# picture of it, then leaves through the launcher's exit icon with the keyboard.
#   run_e2e.sh <fondaro> <launcher.png> <shipped password file>
set -euo pipefail

exe=$1
shot=$2
shipped=$3

source "$(dirname "$0")/common.sh"

"$exe" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

login

sleep 0.7  # let the launcher paint before the picture is taken
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: launcher picture kept in $shot"

# Keyboard only: the first tile has the focus; twelve Tabs reach the exit icon.
xdotool windowfocus --sync "$launcher"
tabs 12
keys Return
ended $pid || fail "the exit icon did not end the program"
wait $pid
trap - EXIT
echo "e2e: login, launcher and exit passed"
