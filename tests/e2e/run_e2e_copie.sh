#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X display, keyboard only, in a program
# folder of its own: an address book holds one card from the morning; a card
# is entered and saved (the program first takes the day's safety copy of the
# address book); the safety copies window, opened from the launcher, restores
# that copy. The new card is gone, and the copy the restore made of what it
# replaced holds it. The copies window is kept as a picture.
#   run_e2e_copie.sh <fondaro> <fondaro-tool> <picture.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

own=$(own_program_folder "$exe" "$shipped" copie)
book="$own/Clienti.pro"
echo '{"Cliente":"Mattina Srl"}' | "$tool" append "$book" >/dev/null || fail "could not prepare $book"

"$own/fondaro" &
pid=$!
cleanup() {
  kill $pid 2>/dev/null || true
  rm -rf "$own"
}
trap cleanup EXIT

login
xdotool windowfocus --sync "$launcher"
keys Return
editor=$(window '^ Fondaro 3\.0 - Pagatori e Beneficiari$') || fail "the address book did not open"
xdotool windowfocus --sync "$editor"
sleep 0.3
# The card as the address-book run enters it.
write "Verdi Giulia"
tabs 5
write "347 1234567"
tabs 10
write "giulia.verdi@example.it"
tabs 1
write "vrdglu85m41f205x"
keys Return Return Return
write "01234567897"
keys Return
tabs 18  # past the rest of the card and the check buttons to "Salva"
keys Return
notice=$(window '^Informazione$') || fail "saving the card showed no information notice"
xdotool windowfocus --sync "$notice"
keys Return
gone '^Informazione$' || fail "the notice after saving did not close"
[ "$("$tool" dump "$book" | wc -l)" = 2 ] || fail "the new card is not in $book"
xdotool windowfocus --sync "$editor"
tabs 8   # from "Salva" to "Esci"
keys Return

launcher=$(window '^ Fondaro 3\.0$') || fail "closing the address book did not bring the launcher back"
xdotool windowfocus --sync "$launcher"
sleep 0.2
# From the first tile past the tiles, the guide, the information, the
# credits, the web site and the exit icon to the safety copies icon, last in
# the Tab order.
tabs 13
keys Return
copies=$(window '^ Fondaro 3\.0 - Copie di sicurezza$') || fail "the safety copies window did not open"
xdotool windowfocus --sync "$copies"
sleep 0.3
# The list has the focus on its newest copy, the one taken before the save.
tabs 3   # to "Ripristina"
keys space
question=$(window '^Conferma$') || fail "Ripristina asked nothing"
xdotool windowfocus --sync "$question"
keys Return  # Sì
done_notice=$(window '^Informazione$') || fail "the restore showed no information notice"
xdotool windowfocus --sync "$done_notice"
keys Return
gone '^Informazione$' || fail "the notice after the restore did not close"
xdotool windowfocus --sync "$copies"
sleep 0.3
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the safety copies window kept in $shot"

dump=$("$tool" dump "$book")
[ "$(printf '%s\n' "$dump" | wc -l)" = 1 ] || fail "after the restore $book holds: $dump"
has "$dump" Cliente "Mattina Srl"
before=$(ls -d "$own/Copie di sicurezza/"*_prima-del-ripristino 2>/dev/null | head -1)
[ -n "$before" ] || fail "no copy of the replaced files was made"
kept=$("$tool" dump "$before/Clienti.pro")
printf '%s\n' "$kept" | grep -qF '"Cliente": "Verdi Giulia"' || fail "the copy made before the restore lacks the new card: $kept"
listing=$("$tool" backups "$own") || fail "the copies are not all verified: $listing"
echo "e2e: the morning's copy was restored; the new card is in $before"
