#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X display: from the register's year window,
# "Importa estratto conto..." reads a CAMT.053 statement, the list shows its
# entries, "Importa" adds them, the summary's "Sì" opens the register on the
# statement's year; fondaro-tool then reads the archive back, and importing
# the same statement with the tool adds nothing.
#   run_e2e_importa.sh <fondaro> <fondaro-tool> <list.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

own=$(own_program_folder "$exe" "$shipped" importa)
year=1985
archive="$own/$year.eur"
scratch=$(mktemp -d)
statement="$scratch/estratto-$year.xml"
cat >"$statement" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<Document xmlns="urn:iso:std:iso:20022:tech:xsd:camt.053.001.04">
 <BkToCstmrStmt><GrpHdr><MsgId>E2E</MsgId><CreDtTm>$year-03-01T08:00:00</CreDtTm></GrpHdr>
  <Stmt><Id>E2E-1</Id><Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>
   <Ntry><Amt Ccy="EUR">1250.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts>BOOK</Sts>
    <BookgDt><Dt>$year-02-05</Dt></BookgDt><AcctSvcrRef>E2E-A</AcctSvcrRef>
    <NtryDtls><TxDtls><RltdPties><Dbtr><Nm>Rossi Mario</Nm></Dbtr></RltdPties>
     <RmtInf><Ustrd>Fattura 12 caffè</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>
   <Ntry><Amt Ccy="EUR">80.50</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>BOOK</Sts>
    <BookgDt><Dt>$year-02-06</Dt></BookgDt><AcctSvcrRef>E2E-B</AcctSvcrRef>
    <NtryDtls><TxDtls><RltdPties><Cdtr><Nm>Enel Energia</Nm></Cdtr></RltdPties>
     <RmtInf><Ustrd>Bolletta febbraio</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>
   <Ntry><Amt Ccy="EUR">5.00</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>PDNG</Sts>
    <ValDt><Dt>$year-02-07</Dt></ValDt></Ntry>
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
read_statement "$yearwin" "$statement"
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the statement's list kept in $shot"

tabs 1  # from the list to "Importa"
keys space
summary=$(window '^Conferma$') || fail "the import showed no summary"
xdotool windowfocus --sync "$summary"
keys Return  # "Sì": open the movements of the year
editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the register did not open on $year"

dump=$("$tool" dump "$archive") || fail "fondaro-tool could not read $archive"
count=$(printf '%s\n' "$dump" | wc -l)
[ "$count" = 2 ] || fail "the archive holds $count records, expected 2"
first=$(printf '%s\n' "$dump" | head -1)
second=$(printf '%s\n' "$dump" | tail -1)
has "$first" Entrata "Sì"
has "$first" Data "05/02/$year"
has "$first" Causale "Fattura 12 caffè"
has "$first" Totale "+1250,00"
has "$first" Pagatore "Rossi Mario"
has "$first" Ricevuta "E2E-A"
has "$first" Saldato "Sì"
has "$first" Note "Importato da estratto-$year.xml"
has "$second" Uscita "Sì"
has "$second" Totale "-80,50"
has "$second" Beneficiario "Enel Energia"
echo "e2e: the statement's booked entries are in $archive"

set +e
again=$("$tool" import "$statement" --into "$own" 2>"$scratch/err")
rc=$?
set -e
[ "$rc" = 1 ] || fail "the tool's second import exited $rc, expected 1 (one entry skipped)"
[ "$again" = "$year.eur: 0 added, 2 already present" ] || fail "the tool's second import printed: $again"
grep -qx "entry 3: not booked (PDNG)" "$scratch/err" || fail "the tool did not report the pending entry"
echo "e2e: statement import from the year window to the register passed"
