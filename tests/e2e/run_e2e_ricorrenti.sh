#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Recurring movements with the real program: a schedule made with fondaro-tool
# from a movement of the year, three weekly occurrences due; logging in adds
# them, the message offers the due list, Enter opens it over the register.
# The archives and the schedule are read back with fondaro-tool, and a second
# generation adds nothing. The program runs from a copy in a scratch folder
# (a portable copy), so no other test meets its schedule file.
#   run_e2e_ricorrenti.sh <fondaro> <fondaro-tool> <picture.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

scratch=$(mktemp -d)
cp "$exe" "$scratch/fondaro"
cp "$shipped" "$scratch/unins000.dll"
pid=""
trap '[ -z "$pid" ] || kill $pid 2>/dev/null || true; rm -rf "$scratch"' EXIT

year=$(date +%Y)
printf '%s\n' '{"Entrata":"No","Uscita":"Sì","Data":"01/01/'"$year"'","DataSca":"01/01/'"$year"'","Causale":"Affitto ufficio","Importo":"650,00","Totale":"-650,00","Pagatore":"Studio Bianchi","Beneficiario":"Immobiliare Rossi","Preavviso":"0","Saldato":"Sì","Note":"Contratto 2025"}' |
  "$tool" append "$scratch/$year.eur" >/dev/null || fail "the movement could not be stored"
first=$(date -d '-14 days' +%d/%m/%Y)
number=$("$tool" recurring add "$scratch" --year "$year" --pos 1 --every 1w --from "$first" --times 3) ||
  fail "the schedule could not be added"
[ "$number" = 1 ] || fail "the first schedule got number $number"

"$scratch/fondaro" &
pid=$!

login "with recurring movements due"
question=$(window '^Conferma$') || fail "logging in showed no message about the recurring movements"
xdotool windowfocus --sync "$question"
sleep 0.3
mkdir -p "$(dirname "$shot")"
import -window root "${shot%.png}-messaggio.png"
keys Return  # "Sì": see them in the due list
due=$(window '^ Riepilogo pagamenti in scadenza o scaduti$') || fail "the due list did not open"
window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$" >/dev/null || fail "the register did not open on $year"
xdotool windowfocus --sync "$due"
sleep 0.5
import -window root "$shot"
echo "e2e: picture of the due list kept in $shot"

# Every occurrence once, with its date, in the archive of its year.
years=$(printf '%s\n' "$(date -d '-14 days' +%Y)" "$year" | sort -u)
dates=""
for y in $years; do
  [ -e "$scratch/$y.eur" ] || continue
  dates+=$("$tool" dump "$scratch/$y.eur" | grep -F '"Note": "Ricorrente n. 1 - Contratto 2025"' |
    sed -n 's/.*"Data": "\([^"]*\)".*/\1/p' | sort -u)$'\n'
done
expected=$(printf '%s\n' "$(date -d '-14 days' +%d/%m/%Y)" "$(date -d '-7 days' +%d/%m/%Y)" "$(date +%d/%m/%Y)")
[ "$(printf '%s' "$dates" | grep -v '^$' | sort)" = "$(printf '%s\n' "$expected" | sort)" ] ||
  fail "the archives hold the occurrences $(printf '%s' "$dates" | tr '\n' ' '), expected $(printf '%s' "$expected" | tr '\n' ' ')"
total=0
for y in $years; do
  [ -e "$scratch/$y.eur" ] || continue
  n=$("$tool" dump "$scratch/$y.eur" | grep -cF '"Note": "Ricorrente n. 1 - ' || true)
  total=$((total + n))
done
[ "$total" = 3 ] || fail "the archives hold $total generated movements, expected 3"
last=$("$tool" dump "$scratch/$year.eur" | tail -1)
has "$last" Saldato "No"
has "$last" Causale "Affitto ufficio"
has "$last" Totale "-650,00"
list=$("$tool" recurring list "$scratch")
[ "$list" = "$(printf '1\tAffitto ufficio\t-650,00\t1w\t-\t3 volte\tattivo')" ] || fail "the schedule reads: $list"
again=$("$tool" recurring run "$scratch") || fail "a second generation failed"
[ -z "$again" ] || fail "a second generation added: $again"
echo "e2e: login generation, message, due list and archives passed"
