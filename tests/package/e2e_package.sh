#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The program extracted from the package, under a virtual X display, with a
# home folder of its own: started from <root>/usr/bin it is an installed
# program, so it prepares ~/Fondaro with the shipped first password file and
# manual; the first password opens it, a movement entered with the keyboard is
# saved into ~/Fondaro/<year>.eur and read back with the extracted
# fondaro-tool. ~/Fondaro and what the program makes in it are the user's
# alone (0700, 0600); every window has the program's icon and the class the
# menu entry names. Then "--cartella DIR" starts it on another folder, and an
# archive named on the command line opens its folder and, after the login,
# the register of its year.
#   e2e_package.sh <root> <shipped password file> <picture.png>
set -euo pipefail

root=$1
shipped=$2
shot=$3
exe="$root/usr/bin/fondaro"
tool="$root/usr/bin/fondaro-tool"
e2e_shipped_folder="$root/usr/share/fondaro"

source "$(dirname "$0")/../e2e/common.sh"

home=$(mktemp -d)
pid=""
cleanup() {
  [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
export HOME=$home
unset FONDARO_DIR
data="$HOME/Fondaro"
year=$(date +%Y)
archive="$data/$year.eur"
programs_before=$(ls -A "$root/usr/bin")

"$exe" &
pid=$!
login "from the extracted package"
cmp -s "$data/unins000.dll" "$shipped" || fail "~/Fondaro did not get the first password file"
cmp -s "$data/Guida.pdf" "$root/usr/share/fondaro/Guida.pdf" || fail "~/Fondaro did not get the manual"
mode() { stat -c %a "$1"; }
[ "$(mode "$data")" = 700 ] || fail "~/Fondaro was made $(mode "$data"), not 700"
for f in unins000.dll Guida.pdf; do
  [ "$(mode "$data/$f")" = 600 ] || fail "~/Fondaro/$f was made $(mode "$data/$f"), not 600"
done
# The icon of every window comes from the application; the class is the one
# the menu entry names (StartupWMClass), so the desktop matches the two.
grep -qE 'Icon \(|= [0-9]' <<<"$(xprop -id "$launcher" _NET_WM_ICON)" || fail "the launcher has no icon"
grep -q '"Fondaro"$' <<<"$(xprop -id "$launcher" WM_CLASS)" || fail "the launcher's class is not Fondaro: $(xprop -id "$launcher" WM_CLASS)"

xdotool windowfocus --sync "$launcher"
tabs 2
keys Return
yearwin=$(window '^ Fondaro 3\.0 - Registro Movimenti$') || fail "the year window did not appear"
xdotool windowfocus --sync "$yearwin"
keys BackSpace BackSpace BackSpace BackSpace
write "$year"
keys Return Return
editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the editor did not open on $year"
xdotool windowfocus --sync "$editor"
sleep 0.3

# The card as the register's own end-to-end test fills it.
write "Quota dal pacchetto"
keys Return
write "Installato"
keys Return
keys space
calendar=$(window '^ Importazione data$') || fail "the calendar did not open from the due date"
xdotool windowfocus --sync "$calendar"
sleep 0.2
keys Down Tab Return
gone '^ Importazione data$' || fail "the calendar did not close"
xdotool windowfocus --sync "$editor"
tabs 1
write 3
keys Return
write "20,5"
keys Return
write "Bianchi Anna"
keys Return
write "Via Po 2, Torino"
keys Return
write " bncnna80a41l219y"
keys Return Return  # the VAT number stays empty
write "Quote"
keys Return
write "anna.bianchi@example.it"
keys Return
write "Bonifico"
keys Return
write "Circolo Fondaro"
sleep 0.5
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the filled editor kept in $shot"
tabs 15
keys Return
notice=$(window '^Informazione$') || fail "saving showed no information notice"
xdotool windowfocus --sync "$notice"
keys Return

[ -f "$archive" ] || fail "the movement was not saved into $archive: $(ls -A "$data")"
[ "$(mode "$archive")" = 600 ] || fail "$archive was made $(mode "$archive"), not 600"
dump=$("$tool" dump "$archive") || fail "the extracted fondaro-tool could not read $archive"
[ "$(printf '%s\n' "$dump" | wc -l)" = 1 ] || fail "$archive holds more than the one movement: $dump"
has "$dump" Causale "Quota dal pacchetto"
has "$dump" Importo "20,50"
has "$dump" Totale "+20,50"
has "$dump" Pagatore "Bianchi Anna"
has "$dump" CodFisc "BNCNNA80A41L219Y"
has "$dump" Beneficiario "Circolo Fondaro"
has "$dump" Data "$(date +%d/%m/%Y)"
[ "$(ls -A "$root/usr/bin")" = "$programs_before" ] || fail "the program wrote beside itself in usr/bin"
# The extracted tool finds its PDF module in usr/lib/fondaro.
"$tool" journal "$archive" --from "01/01/$year" --to "31/12/$year" --pdf "$home/primanota.pdf" ||
  fail "the extracted fondaro-tool could not write the journal as PDF"
grep -q "Quota dal pacchetto" <<<"$(pdftotext "$home/primanota.pdf" -)" ||
  fail "the journal PDF of the extracted fondaro-tool lacks the movement"
echo "e2e: the movement is in ~/Fondaro/$year.eur"

kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

# The option names the folder outright; a relative name starts from the
# current folder.
cd "$HOME"
"$exe" --cartella "Conti 2" &
pid=$!
window '^ Fondaro 3\.0 - Accesso$' >/dev/null || fail "the program did not start with --cartella"
cmp -s "$HOME/Conti 2/unins000.dll" "$shipped" || fail "--cartella did not prepare ~/Conti 2"
[ "$(mode "$HOME/Conti 2")" = 700 ] || fail "--cartella made ~/Conti 2 $(mode "$HOME/Conti 2"), not 700"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "e2e: the extracted package keeps its data in ~/Fondaro, or in the folder --cartella names"

# An archive named as the file manager names it: the program works on its
# folder, which exists and keeps its mode, and the login opens its year.
shared="$HOME/Condivisa"
mkdir -m 755 "$shared"
printf '{"Entrata":"Sì","Uscita":"No","Data":"05/03/2023","Causale":"Quota 2023","Importo":"5,00","Totale":"+5,00"}\n' |
  "$tool" append "$shared/2023.eur" >/dev/null
"$exe" "Condivisa/2023.eur" &
pid=$!
w=$(window '^ Fondaro 3\.0 - Accesso$') || fail "the program did not start on Condivisa/2023.eur"
cmp -s "$shared/unins000.dll" "$shipped" || fail "the archive's folder did not get the first password file"
[ "$(mode "$shared")" = 755 ] || fail "the archive's folder changed its mode to $(mode "$shared")"
xdotool windowfocus --sync "$w"
write benvenutoprimo
keys Return
window '^ Fondaro 3\.0 - Registro movimenti anno 2023$' >/dev/null ||
  fail "the login did not open the register of 2023 from Condivisa/2023.eur"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "e2e: fondaro Condivisa/2023.eur opens the register of 2023 on that folder after the login"
