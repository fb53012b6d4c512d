#!/usr/bin/env bash
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

fail() {
  echo "e2e: $*" >&2
  exit 1
}

login=$(timeout 15 xdotool search --sync --onlyvisible --name '^ Fondaro 3\.0 - Accesso$' | head -1) ||
  fail "the login window did not appear"
xdotool windowfocus --sync "$login"
xdotool type --delay 15 benvenutoprimo
xdotool key Return

launcher=$(timeout 15 xdotool search --sync --onlyvisible --name '^ Fondaro 3\.0$' | head -1) ||
  fail "the launcher did not appear after the first password and Enter"
if xdotool search --onlyvisible --name 'Accesso' >/dev/null 2>&1; then
  fail "the login window is still visible beside the launcher"
fi

sleep 0.7  # let the launcher paint before the picture is taken
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: launcher picture kept in $shot"

# Keyboard only: the first tile has the focus; twelve Tabs reach the exit icon.
xdotool windowfocus --sync "$launcher"
for _ in $(seq 12); do xdotool key Tab; done
xdotool key Return
for _ in $(seq 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
if kill -0 $pid 2>/dev/null; then
  fail "the exit icon did not end the program"
fi
wait $pid
trap - EXIT
echo "e2e: login, launcher and exit passed"
