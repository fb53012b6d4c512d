#!/usr/bin/env bash
# The real program under a virtual X display, keyboard only: log in, open the
# movements register for a year, fill a movement (the due date from the
# calendar), keep a picture of the filled editor, save it, and read the year's
# archive back with fondaro-tool dump.
#   run_e2e_movimenti.sh <fondaro> <fondaro-tool> <editor.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

# A year nobody works on; its archive is removed afterwards only if this test
# created it.
year=1987
archive="$folder/$year.eur"
before=0
created=1
if [ -e "$archive" ]; then
  created=0
  before=$("$tool" dump "$archive" | wc -l)
fi

"$exe" &
pid=$!
cleanup() {
  kill $pid 2>/dev/null || true
  if [ $created = 1 ]; then rm -f "$archive"; fi
}
trap cleanup EXIT

fail() {
  echo "e2e: $*" >&2
  exit 1
}
window() {  # waits for a visible window whose title matches, prints its id
  timeout 15 xdotool search --sync --onlyvisible --name "$1" | head -1
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.03; done; }
tabs() { for _ in $(seq "$1"); do xdotool key Tab; sleep 0.03; done; }
write() { xdotool type --delay 20 "$1"; }

login=$(window '^ Fondaro 3\.0 - Accesso$') || fail "the login window did not appear"
xdotool windowfocus --sync "$login"
write benvenutoprimo
keys Return

launcher=$(window '^ Fondaro 3\.0$') || fail "the launcher did not appear"
xdotool windowfocus --sync "$launcher"
# The first tile has the focus; the register's tile is two Tabs away.
tabs 2
keys Return

yearwin=$(window '^ Fondaro 3\.0 - Registro Movimenti$') || fail "the year window did not appear"
xdotool windowfocus --sync "$yearwin"
keys BackSpace BackSpace BackSpace BackSpace
write $year
keys Return Return  # the first Enter reaches "Apri", the second presses it

editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the editor did not open on $year"
xdotool windowfocus --sync "$editor"
sleep 0.3

# The focus starts in the reason; Enter moves along the card.
write "Quota associativa $year"
keys Return
write "Rinnovo annuale"
keys Return
# The due date: any key opens the calendar on today; one week later is chosen.
keys space
calendar=$(window '^ Importazione data$') || fail "the calendar did not open from the due date"
xdotool windowfocus --sync "$calendar"
sleep 0.2
keys Down Tab Return  # a week on, then "Importa"
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^ Importazione data$' >/dev/null 2>&1 || break
  sleep 0.1
done
xdotool windowfocus --sync "$editor"
tabs 1  # from the due date to the days of notice
write 5
keys Return
write "12,5"
keys Return
write "Rossi Mario"
keys Return
write "Via Roma 1, Milano"
keys Return
write " rssmra80a01h501u"
keys Return Return  # the VAT number stays empty
write "Quote"
keys Return
write "mario.rossi@example.it"
keys Return
write "Contanti"
keys Return
write "Circolo Fondaro"
sleep 0.5
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the filled editor kept in $shot"

# From the beneficiary, fifteen Tabs reach "Salva" past the rest of the card,
# the small buttons and the first toolbar group.
tabs 15
keys Return
notice=$(window '^Informazione$') || fail "saving showed no information notice"
xdotool windowfocus --sync "$notice"
keys Return

# The archive as the core reads it.
dump=$("$tool" dump "$archive") || fail "fondaro-tool could not read $archive"
count=$(printf '%s\n' "$dump" | wc -l)
[ "$count" = $((before + 1)) ] || fail "the archive holds $count records, expected $((before + 1))"
last=$(printf '%s\n' "$dump" | tail -1)
today=$(date +%d/%m/%Y)
due=$(date -d '+7 days' +%d/%m/%Y)
expect() {
  printf '%s' "$last" | grep -qF "\"$1\": \"$2\"" || fail "stored $1 is not \"$2\": $last"
}
expect Entrata "Sì"
expect Uscita "No"
expect Data "$today"
expect Causale "Quota associativa $year"
expect Promemoria "Rinnovo annuale"
expect DataSca "$due"
expect Preavviso "5"
expect Importo "12,50"
expect Totale "+12,50"
expect Pagatore "Rossi Mario"
expect RecapitoPag "Via Roma 1, Milano"
expect CodFisc "RSSMRA80A01H501U"
expect PartitaIva ""
expect Categoria "Quote"
expect Email "mario.rossi@example.it"
expect Pagamento "Contanti"
expect Beneficiario "Circolo Fondaro"
expect Saldato "No"
echo "e2e: the movement is in $archive as typed"

# Leave with the keyboard: eleven Tabs from "Salva" reach "Esci"; the launcher
# comes back, and its exit icon ends the program.
xdotool windowfocus --sync "$editor"
tabs 11
keys Return
launcher=$(window '^ Fondaro 3\.0$') || fail "closing the editor did not bring the launcher back"
xdotool windowfocus --sync "$launcher"
tabs 12
keys Return
for _ in $(seq 50); do
  kill -0 $pid 2>/dev/null || break
  sleep 0.1
done
kill -0 $pid 2>/dev/null && fail "the launcher's exit icon did not end the program"
wait $pid || true
echo "e2e: register year, keyboard entry, calendar, save and archive passed"
