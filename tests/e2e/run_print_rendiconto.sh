#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The rendiconto per cassa of a small association: written as PDF by
# fondaro-tool and read back with pdftotext (headings, lines, both years,
# results, the notes under the form), then printed through a real CUPS queue
# (cups-pdf) as the window prints it, the queue's job having the PDF's pages.
#   run_print_rendiconto.sh PRINT_JOB FONDARO_TOOL ARTIFACT_PNG
set -u
job=$1
tool=$2
shot=$3
source "$(dirname "$0")/cups_queue.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"; cleanup' EXIT
folder="$work/Associazione"
mkdir -p "$folder"

# add DATE TOTALE CATEGORIA [SALDATO]: one movement as a JSON line.
add() {
  printf '{"Data":"%s","Totale":"%s","Importo":"%s","Categoria":"%s","Causale":"Voce","Saldato":"%s"}\n' \
    "$1" "$2" "${2#[+-]}" "$3" "${4:-Sì}"
}
{
  add 15/01/2023 +1400,00 "Quote associative"
  add 10/03/2023 -380,00 "Materiale"
} | "$tool" append "$folder/2023.eur" >/dev/null || { echo "FAIL: append 2023"; exit 1; }
{
  add 10/01/2024 +1500,00 "Quote associative"
  add 11/02/2024 +800,00 "Erogazioni liberali"
  add 01/03/2024 -300,00 "Servizi: telefono"
  add 20/06/2024 -600,00 "Cena sociale"
  add 21/06/2024 +900,00 "Cena sociale"
  add 16/06/2024 -45,00 "Imposte"
  add 20/12/2024 -100,00 "Materiale" No
} | "$tool" append "$folder/2024.eur" >/dev/null || { echo "FAIL: append 2024"; exit 1; }
cat >"$folder/Rendiconto.json" <<'JSON'
{"classificazione": [
  {"categoria": "Quote associative", "uscite": null, "entrate": "A.E.1"},
  {"categoria": "Erogazioni liberali", "uscite": null, "entrate": "A.E.4"},
  {"categoria": "Materiale", "uscite": "A.U.1", "entrate": null},
  {"categoria": "Servizi", "uscite": "A.U.2", "entrate": null},
  {"categoria": "Cena sociale", "uscite": "C.U.2", "entrate": "C.E.2"},
  {"categoria": "Imposte", "uscite": "I1", "entrate": null}],
 "saldi": {"2022": {"cassa": "50,00", "banca": "0,00"},
           "2023": {"cassa": "70,00", "banca": "1000,00"},
           "2024": {"cassa": "325,00", "banca": "3000,00"}},
 "figurativi": false}
JSON

pdf="$work/Rendiconto.pdf"
"$tool" rendiconto "$folder" --year 2024 --pdf "$pdf" 2>/dev/null
rc=$?
if [ $rc -ne 0 ]; then
  echo "FAIL: fondaro-tool rendiconto --pdf exited $rc"
  exit 1
fi
text=$(pdftotext -layout "$pdf" -)
expect() {
  if ! grep -qE -- "$1" <<<"$text"; then
    echo "FAIL: the form's PDF lacks: $1"
    echo "$text" | head -n 40
    exit 1
  fi
}
expect "MOD\. D"
expect "RENDICONTO PER CASSA"
expect "Es\. 2024 +Es\. 2023"
expect "A\) Uscite da attività di interesse generale"
expect "1\) Materie prime, sussidiarie, di consumo e di merci +0,00 +380,00"
expect "2\) Servizi +300,00 +0,00"
expect "1\) Entrate da quote associative e apporti dei fondatori +1\.500,00 +1\.400,00"
expect "4\) Erogazioni liberali +800,00 +0,00"
expect "Avanzo/disavanzo attività di interesse generale \(\+/-\) +2\.000,00 +1\.020,00"
expect "Avanzo/disavanzo attività di raccolta fondi \(\+/-\) +300,00 +0,00"
expect "Totale uscite della gestione +900,00 +380,00"
expect "Totale entrate della gestione +3\.200,00 +1\.400,00"
expect "Avanzo/disavanzo d'esercizio prima delle imposte \(\+/-\) +2\.300,00 +1\.020,00"
expect "Imposte +45,00 +0,00"
expect "Avanzo/disavanzo complessivo \(\+/-\) +2\.255,00 +1\.020,00"
expect "Cassa e banca \(\+/-\) +3\.325,00 +1\.070,00"
expect "Depositi bancari e postali +3\.000,00 +1\.000,00"
expect "Esercizio 2024: 1 movimento non saldato escluso \(entrate 0,00, uscite 100,00\)\."
expect "Esercizio 2024: cassa e banca 2024 - cassa e banca 2023 = avanzo/disavanzo complessivo: verificato\."
expect "Esercizio 2023: cassa e banca 2023 - cassa e banca 2022 = avanzo/disavanzo complessivo: verificato\."
echo "the form's PDF holds every row checked"

pages=$(pdfinfo "$pdf" | sed -n 's/^Pages:[[:space:]]*//p')
print_one "$pages" "$shot" rendiconto "$folder" 2024
