# SPDX-License-Identifier: GPL-3.0-or-later
# Shared start of the end-to-end scripts; sourced after they set $exe and
# $shipped (and $shot when they keep a picture). Re-runs the calling script on a
# virtual X display, checks that the program folder still holds the shipped
# first password file, and gives the steps every script takes on the display.
if [ -z "${FONDARO_E2E_DISPLAY:-}" ]; then
  # A display of its own, numbered by Xvfb itself (-displayfd), so that runs
  # started together (ctest -j, two build folders) never race for one number.
  # The script runs on it only once it answers, and the display ends with the
  # script, however the script ends.
  for e2e_need in Xvfb xdpyinfo; do
    command -v "$e2e_need" >/dev/null ||
      { echo "e2e: $e2e_need is missing (scripts/install-deps.sh installs xvfb and x11-utils)" >&2; exit 1; }
  done
  e2e_scratch=$(mktemp -d)
  e2e_xvfb=""
  e2e_run=""
  e2e_stop() {
    [ -z "$e2e_run" ] || kill "$e2e_run" 2>/dev/null || true
    if [ -n "$e2e_xvfb" ]; then
      kill "$e2e_xvfb" 2>/dev/null || true
      wait "$e2e_xvfb" 2>/dev/null || true
    fi
    rm -rf "$e2e_scratch"
  }
  trap e2e_stop EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM HUP
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$e2e_scratch/number" >"$e2e_scratch/log" 2>&1 &
  e2e_xvfb=$!
  # Xvfb writes the number and a line break once it listens; the display is
  # used once a client (xdpyinfo) has talked to it. Ten seconds in all.
  e2e_display=""
  e2e_ready=""
  e2e_deadline=$((SECONDS + 10))
  while [ "$SECONDS" -lt "$e2e_deadline" ]; do
    if [ -z "$e2e_display" ] && [ "$(wc -l <"$e2e_scratch/number")" -ge 1 ]; then
      e2e_display=":$(head -n 1 "$e2e_scratch/number")"
    fi
    if [ -n "$e2e_display" ] && DISPLAY=$e2e_display timeout 5 xdpyinfo >/dev/null 2>&1; then
      e2e_ready=1
      break
    fi
    kill -0 "$e2e_xvfb" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$e2e_ready" ]; then
    if ! kill -0 "$e2e_xvfb" 2>/dev/null; then
      echo "e2e: the virtual display (Xvfb) ended before it answered:" >&2
    elif [ -z "$e2e_display" ]; then
      echo "e2e: the virtual display (Xvfb) gave no display number within 10 s:" >&2
    else
      echo "e2e: the virtual display $e2e_display did not answer xdpyinfo within 10 s:" >&2
    fi
    tail -n 5 "$e2e_scratch/log" >&2
    exit 1
  fi
  # In the background, so that a signal to this shell stops the display at once.
  DISPLAY=$e2e_display FONDARO_E2E_DISPLAY=1 bash "$0" "$@" &
  e2e_run=$!
  e2e_rc=0
  wait "$e2e_run" || e2e_rc=$?
  e2e_run=""
  exit "$e2e_rc"
fi
# The test runner asks for the offscreen platform; here the real X display is wanted.
unset QT_QPA_PLATFORM

# The folder that holds the shipped files: beside the program, unless the
# script names another (an installed layout keeps them in share/fondaro).
folder=${e2e_shipped_folder:-$(dirname "$exe")}
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

# From the launcher, the register's tile (two Tabs from the first): the year
# window. Leaves its id in $yearwin.
year_window() {
  xdotool windowfocus --sync "$launcher"
  tabs 2
  keys Return
  yearwin=$(window '^ Fondaro 3\.0 - Registro Movimenti$') || fail "the year window did not appear"
}

# From the register's year window, "Importa estratto conto..." and then
# "Sfoglia..." read a statement into the import window's list. Leaves the
# import window's id in $importwin.
#   read_statement <year window id> <statement>
read_statement() {
  local chooser
  xdotool windowfocus --sync "$1"
  sleep 0.2
  tabs 2  # past "Apri" to "Importa estratto conto..."
  keys space
  importwin=$(window '^ Importa estratto conto$') || fail "the import window did not open"
  xdotool windowfocus --sync "$importwin"
  sleep 0.2
  keys space  # "Sfoglia..." has the focus
  chooser=$(window "^Scegli l'estratto conto\$") || fail "the file dialog did not open"
  xdotool windowfocus --sync "$chooser"
  sleep 0.3
  write "$2"
  keys Return
  gone "^Scegli l'estratto conto\$" || fail "the file dialog did not close"
  xdotool windowfocus --sync "$importwin"
  sleep 0.5
}

# A program folder of its own in the build folder, so that what the program
# writes there (archives, the day's safety copies, a restore) touches no other
# test's files and goes with it: the program beside a hard link of itself
# takes the link's folder as its own (the same file, not a copy). Prints it.
#   own_program_folder <fondaro> <shipped password file> <name>
own_program_folder() {
  local folder
  folder=$(mktemp -d -p "$(dirname "$1")" "e2e-$3.XXXXXX")
  ln "$1" "$folder/fondaro"
  cp "$2" "$folder/unins000.dll"
  echo "$folder"
}
