#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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

login
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
gone '^ Importazione data$' || fail "the calendar did not close"
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
has "$last" Entrata "Sì"
has "$last" Uscita "No"
has "$last" Data "$today"
has "$last" Causale "Quota associativa $year"
has "$last" Promemoria "Rinnovo annuale"
has "$last" DataSca "$due"
has "$last" Preavviso "5"
has "$last" Importo "12,50"
has "$last" Totale "+12,50"
has "$last" Pagatore "Rossi Mario"
has "$last" RecapitoPag "Via Roma 1, Milano"
has "$last" CodFisc "RSSMRA80A01H501U"
has "$last" PartitaIva ""
has "$last" Categoria "Quote"
has "$last" Email "mario.rossi@example.it"
has "$last" Pagamento "Contanti"
has "$last" Beneficiario "Circolo Fondaro"
has "$last" Saldato "No"
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
ended $pid || fail "the launcher's exit icon did not end the program"
wait $pid || true
echo "e2e: register year, keyboard entry, calendar, save and archive passed"
