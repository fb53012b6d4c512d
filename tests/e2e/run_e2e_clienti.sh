#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X display, keyboard only: log in, enter a
# person in the address book and save the card; open the movements register,
# fill a movement, import the person as its payer through the address-book
# search, save the movement; then read both archives back with fondaro-tool.
#   run_e2e_clienti.sh <fondaro> <fondaro-tool> <search.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

# A year nobody works on, removed afterwards only if this test created it; the
# address book of the program folder is set aside and put back afterwards.
year=1986
archive="$folder/$year.eur"
book="$folder/Clienti.pro"
kept="$folder/Clienti.pro.e2e-$$"
created=1
[ -e "$archive" ] && created=0
before=0
[ -e "$archive" ] && before=$("$tool" dump "$archive" | wc -l)
[ -e "$book" ] && mv "$book" "$kept"

"$exe" &
pid=$!
cleanup() {
  kill $pid 2>/dev/null || true
  if [ $created = 1 ]; then rm -f "$archive"; fi
  rm -f "$book"
  if [ -e "$kept" ]; then mv "$kept" "$book"; fi
}
trap cleanup EXIT

confirm() {  # the information notice after a save
  local notice
  notice=$(window '^Informazione$') || fail "$1 showed no information notice"
  xdotool windowfocus --sync "$notice"
  keys Return
  gone '^Informazione$' || fail "the notice after $1 did not close"
}

login

# ---- the address book: the first tile -------------------------------------
xdotool windowfocus --sync "$launcher"
keys Return
book_editor=$(window '^ Fondaro 3\.0 - Pagatori e Beneficiari$') || fail "the address book did not open"
xdotool windowfocus --sync "$book_editor"
sleep 0.3
# The focus starts in the name; the Tab order walks the card.
write "Verdi Giulia"
tabs 5   # to the preferred contact
write "347 1234567"
tabs 10  # to the e-mail
write "giulia.verdi@example.it"
tabs 1   # to the tax code, typed in capitals whatever the keys
write "vrdglu85m41f205x"
# The card and VAT numbers take digits only and keep the focus even on Tab:
# Enter walks past them.
keys Return Return Return  # past the card number and its expiry to the VAT number
write "01234567897"
keys Return  # to the IBAN
tabs 18  # past the rest of the card and the check buttons to "Salva"
keys Return
confirm "saving the card"
xdotool windowfocus --sync "$book_editor"
tabs 8   # from "Salva" to "Esci"
keys Return

# ---- the movements register: the second tile --------------------------------
launcher=$(window '^ Fondaro 3\.0$') || fail "closing the address book did not bring the launcher back"
xdotool windowfocus --sync "$launcher"
tabs 2
keys Return
yearwin=$(window '^ Fondaro 3\.0 - Registro Movimenti$') || fail "the year window did not appear"
xdotool windowfocus --sync "$yearwin"
keys BackSpace BackSpace BackSpace BackSpace
write $year
keys Return Return
editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the editor did not open on $year"
xdotool windowfocus --sync "$editor"
sleep 0.3
write "Consulenza $year"
keys Return Return  # no memo
keys space          # the due date from the calendar: today
calendar=$(window '^ Importazione data$') || fail "the calendar did not open from the due date"
xdotool windowfocus --sync "$calendar"
sleep 0.2
keys Tab Return
gone '^ Importazione data$' || fail "the calendar did not close"
xdotool windowfocus --sync "$editor"
tabs 1
write 0
keys Return
write "80"
keys Return         # to the payer, left for the import
tabs 7              # to the beneficiary
write "Studio Fondaro"
tabs 8              # to the payer's import button
keys Return

search=$(window '^ Trova pagatori e beneficiari in archivio$') || fail "the address-book search did not open"
xdotool windowfocus --sync "$search"
sleep 0.2
write "verdi"
tabs 10             # past the other filters to "Cerca"
keys space
sleep 0.3
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the search result kept in $shot"
tabs 2              # from the find key to the list
keys Down Return    # the first line, chosen
gone '^ Trova pagatori e beneficiari in archivio$' || fail "choosing a line did not close the search"

xdotool windowfocus --sync "$editor"
sleep 0.2
tabs 7              # from the import button to "Salva"
keys Return
confirm "saving the movement"

# ---- both archives as the core reads them -----------------------------------
cards=$("$tool" dump "$book") || fail "fondaro-tool could not read $book"
[ "$(printf '%s\n' "$cards" | wc -l)" = 1 ] || fail "the address book holds more than the one card: $cards"
has "$cards" Cliente "Verdi Giulia"
has "$cards" Recapito "347 1234567"
has "$cards" Email "giulia.verdi@example.it"
has "$cards" CodFisc "VRDGLU85M41F205X"
has "$cards" PartitaIva "01234567897"
echo "e2e: the card is in $book as typed"

dump=$("$tool" dump "$archive") || fail "fondaro-tool could not read $archive"
[ "$(printf '%s\n' "$dump" | wc -l)" = $((before + 1)) ] || fail "the year archive did not gain one movement"
last=$(printf '%s\n' "$dump" | tail -1)
has "$last" Causale "Consulenza $year"
has "$last" Pagatore "Verdi Giulia"
has "$last" RecapitoPag "347 1234567"
has "$last" CodFisc "VRDGLU85M41F205X"
has "$last" Email "giulia.verdi@example.it"
has "$last" PartitaIva "01234567897"
has "$last" Beneficiario "Studio Fondaro"
has "$last" RecapitoBen ""
has "$last" Importo "80,00"
echo "e2e: the movement holds the imported payer"

kill $pid 2>/dev/null || true
wait $pid 2>/dev/null || true
echo "e2e: address book card, import as payer and both archives passed"
