#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X display, keyboard only: an invoice is
# entered by hand in the register, unpaid, due in a week; the due list warns
# of it; the bank statement that pays it, read from the year window's
# "Importa estratto conto...", settles it in place (nothing is added), the
# summary's "Sì" opens the due list, now without it, and the tool finds the
# statement already present.
#   run_e2e_saldo.sh <fondaro> <fondaro-tool> <list.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

own=$(own_program_folder "$exe" "$shipped" saldo)
year=$(date +%Y)
archive="$own/$year.eur"
scratch=$(mktemp -d)
statement="$scratch/estratto.xml"
today=$(date +%d/%m/%Y)
cat >"$statement" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Document xmlns="urn:iso:std:iso:20022:tech:xsd:camt.053.001.04">
 <BkToCstmrStmt><GrpHdr><MsgId>E2E</MsgId><CreDtTm>$(date +%Y-%m-%d)T08:00:00</CreDtTm></GrpHdr>
  <Stmt><Id>E2E-2</Id><Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>
   <Ntry><Amt Ccy="EUR">250.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts>BOOK</Sts>
    <BookgDt><Dt>$(date +%Y-%m-%d)</Dt></BookgDt><AcctSvcrRef>CRO-E2E</AcctSvcrRef>
    <NtryDtls><TxDtls><RltdPties><Dbtr><Nm>ROSSI MARIO</Nm></Dbtr></RltdPties>
     <RmtInf><Ustrd>Saldo fattura 7</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>
  </Stmt></BkToCstmrStmt></Document>
XML

"$own/fondaro" &
pid=$!
cleanup() {
  kill $pid 2>/dev/null || true
  rm -rf "$own" "$scratch"
}
trap cleanup EXIT

login
year_window
xdotool windowfocus --sync "$yearwin"
keys BackSpace BackSpace BackSpace BackSpace
write "$year"
keys Return Return
editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the editor did not open on $year"
xdotool windowfocus --sync "$editor"
sleep 0.3

# The invoice, as a user types it: due in a week, notice of ten days.
write "Fattura 7 consulenza"
keys Return
write "Studio Bianchi"
keys Return
keys space
calendar=$(window '^ Importazione data$') || fail "the calendar did not open from the due date"
xdotool windowfocus --sync "$calendar"
sleep 0.2
keys Down Tab Return
gone '^ Importazione data$' || fail "the calendar did not close"
xdotool windowfocus --sync "$editor"
tabs 1
write 10
keys Return
write "250"
keys Return
write "Rossi Mario"
keys Return
write "Via Roma 1, Milano"
keys Return
write " rssmra80a01h501u"
keys Return Return
write "Consulenze"
keys Return
write "mario.rossi@example.it"
keys Return
write "Bonifico"
keys Return
write "Studio Bianchi"
tabs 15
keys Return
notice=$(window '^Informazione$') || fail "saving showed no information notice"
xdotool windowfocus --sync "$notice"
keys Return

due=$(date -d '+7 days' +%d/%m/%Y)
invoice=$("$tool" dump "$archive" | head -1)
has "$invoice" Saldato "No"
has "$invoice" DataSca "$due"
has "$invoice" Totale "+250,00"
warning=$("$tool" due "$archive" --today "$today") || fail "fondaro-tool due failed"
printf '%s\n' "$warning" | grep -q "^Fattura 7 consulenza" || fail "the due list does not warn of the invoice: $warning"
echo "e2e: the invoice typed by hand is due and listed"

# Back to the launcher, then the year window's "Importa estratto conto...".
xdotool windowfocus --sync "$editor"
tabs 11
keys Return
launcher=$(window '^ Fondaro 3\.0$') || fail "closing the editor did not bring the launcher back"
year_window
read_statement "$yearwin" "$statement"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the statement settling the invoice kept in $shot"

tabs 2  # from the list past the movement it settles to "Importa"
keys space
summary=$(window '^Conferma$') || fail "the import showed no summary"
xdotool windowfocus --sync "$summary"
keys Return  # "Sì": the due list
duewin=$(window '^ Riepilogo pagamenti in scadenza o scaduti$') || fail "the due list did not open"
xdotool windowfocus --sync "$duewin"
sleep 0.5
import -window root "${shot%.png}-scadenze.png"

dump=$("$tool" dump "$archive") || fail "fondaro-tool could not read $archive"
count=$(printf '%s\n' "$dump" | wc -l)
[ "$count" = 1 ] || fail "the archive holds $count records, expected the invoice alone"
has "$dump" Causale "Fattura 7 consulenza"
has "$dump" Saldato "Sì"
has "$dump" Ricevuta "CRO-E2E del $today"
has "$dump" Note "Pagato il $today"
has "$dump" Pagatore "Rossi Mario"
[ -z "$("$tool" due "$archive" --today "$today")" ] || fail "the due list still warns of the invoice"
again=$("$tool" import "$statement" --into "$own" --match) || fail "the tool's second import failed"
[ "$again" = "$year.eur: 0 added, 1 already present, 0 paid" ] || fail "the tool's second import printed: $again"
echo "e2e: the statement settled the invoice typed by hand"
