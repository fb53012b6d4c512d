# Shared start of the end-to-end scripts; sourced after they set $exe and
# $shipped (and $shot when they keep a picture). Re-runs the calling script on a
# virtual X display, checks that the program folder still holds the shipped
# first password file, and gives the steps every script takes on the display.
if [ -z "${FONDARO_E2E_DISPLAY:-}" ]; then
  # A display of its own, numbered by Xvfb itself (-displayfd), so that runs
  # started together never race for the same number; the script starts only
  # once the display answers, and the display ends with the script.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" 2>"$displayfile.log" &
  xvfb=$!
  stop_display() {
    kill "$xvfb" 2>/dev/null
    wait "$xvfb" 2>/dev/null
    rm -f "$displayfile" "$displayfile.log"
  }
  trap 'stop_display; exit 1' INT TERM
  number=""
  for _ in $(seq 100); do
    number=$(head -n1 "$displayfile" 2>/dev/null)
    [ -n "$number" ] && break
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "e2e: the virtual display (Xvfb) did not start within 10 s: $(cat "$displayfile.log" 2>/dev/null)" >&2
    stop_display
    exit 1
  fi
  export DISPLAY=":$number"
  answered=""
  for _ in $(seq 100); do
    if xdpyinfo >/dev/null 2>&1; then answered=1; break; fi
    sleep 0.1
  done
  if [ -z "$answered" ]; then
    echo "e2e: the virtual display $DISPLAY did not answer within 10 s" >&2
    stop_display
    exit 1
  fi
  rc=0
  env FONDARO_E2E_DISPLAY=1 bash "$0" "$@" || rc=$?
  stop_display
  exit "$rc"
fi
# The test runner asks for the offscreen platform; here the real X display is wanted.
unset QT_QPA_PLATFORM

folder=$(dirname "$exe")
if ! cmp -s "$folder/unins000.dll" "$shipped"; then
  echo "e2e: $folder/unins000.dll is not the shipped first password file; restore it with: cp $shipped $folder/" >&2
  exit 1
fi

# ---- what every script does on the display --------------------------------

# Stops the script; when it keeps a picture ($shot), the screen as it stood is
# kept beside it as "<shot>-failed.png".
fail() {
  echo "e2e: $*" >&2
  if [ -n "${shot:-}" ]; then
    mkdir -p "$(dirname "$shot")"
    import -window root "${shot%.png}-failed.png" 2>/dev/null &&
      echo "e2e: the screen is in ${shot%.png}-failed.png" >&2
  fi
  exit 1
}
window() {  # waits for a visible window whose title matches, prints its id
  timeout 15 xdotool search --sync --onlyvisible --name "$1" | head -1
}
gone() {  # waits until no visible window's title matches
  for _ in $(seq 50); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.03; done; }
tabs() { for _ in $(seq "$1"); do xdotool key Tab; sleep 0.03; done; }
write() { xdotool type --delay 20 "$1"; }
# has LINE FIELD TEXT: a record as fondaro-tool dump prints it holds TEXT in FIELD.
has() {
  printf '%s' "$1" | grep -qF "\"$2\": \"$3\"" || fail "stored $2 is not \"$3\": $1"
}
# ended PID: waits up to five seconds for the program to end; false if it runs on.
ended() {
  for _ in $(seq 50); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# The first password typed in the login window and Enter: the launcher must
# replace the login window. Leaves the launcher's id in $launcher.
login() {
  local w
  w=$(window '^ Fondaro 3\.0 - Accesso$') || fail "the login window did not appear"
  xdotool windowfocus --sync "$w"
  write benvenutoprimo
  keys Return
  launcher=$(window '^ Fondaro 3\.0$') || fail "the first password and Enter did not open the launcher${1:+ $1}"
  if xdotool search --onlyvisible --name 'Accesso' >/dev/null 2>&1; then
    fail "the login window is still visible beside the launcher"
  fi
}
