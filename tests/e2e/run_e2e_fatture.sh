#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real program under a virtual X display: from the register's year window,
# "Importa fatture elettroniche..." reads a received invoice due in three days
# (the company's VAT number asked the first time), the list shows it with its
# readable copy, "Importa" adds it, the summary opens the year and its due
# list, which warns of the payment; fondaro-tool then reads the archive and
# the address book back.
#   run_e2e_fatture.sh <fondaro> <fondaro-tool> <list.png> <shipped password file>
set -euo pipefail

exe=$1
tool=$2
shot=$3
shipped=$4

source "$(dirname "$0")/common.sh"

own=$(own_program_folder "$exe" "$shipped" fatture)
year=$(date +%Y)
day=$(date +%Y-%m-%d)
due=$(date -d '+3 days' +%Y-%m-%d)
shown_day=$(date +%d/%m/%Y)
shown_due=$(date -d '+3 days' +%d/%m/%Y)
scratch=$(mktemp -d)
invoice="$scratch/IT01234567897_00042.xml"
cat >"$invoice" <<XML
<?xml version="1.0" encoding="UTF-8"?>
<ns2:FatturaElettronica versione="FPR12" xmlns:ns2="http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2">
 <FatturaElettronicaHeader>
  <DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese><IdCodice>01234567897</IdCodice></IdTrasmittente>
   <ProgressivoInvio>00042</ProgressivoInvio><FormatoTrasmissione>FPR12</FormatoTrasmissione>
   <CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>
  <CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>01234567897</IdCodice></IdFiscaleIVA>
   <Anagrafica><Denominazione>Rossi Forniture S.r.l.</Denominazione></Anagrafica><RegimeFiscale>RF01</RegimeFiscale>
   </DatiAnagrafici><Sede><Indirizzo>Via Roma</Indirizzo><NumeroCivico>12</NumeroCivico><CAP>20121</CAP>
   <Comune>Milano</Comune><Provincia>MI</Provincia><Nazione>IT</Nazione></Sede></CedentePrestatore>
  <CessionarioCommittente><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>09876543217</IdCodice></IdFiscaleIVA>
   <Anagrafica><Denominazione>Bianchi Servizi S.n.c.</Denominazione></Anagrafica></DatiAnagrafici>
   <Sede><Indirizzo>Corso Italia 3</Indirizzo><CAP>10121</CAP><Comune>Torino</Comune><Provincia>TO</Provincia>
   <Nazione>IT</Nazione></Sede></CessionarioCommittente>
 </FatturaElettronicaHeader>
 <FatturaElettronicaBody>
  <DatiGenerali><DatiGeneraliDocumento><TipoDocumento>TD01</TipoDocumento><Divisa>EUR</Divisa><Data>$day</Data>
   <Numero>42</Numero><ImportoTotaleDocumento>122.00</ImportoTotaleDocumento></DatiGeneraliDocumento></DatiGenerali>
  <DatiBeniServizi><DettaglioLinee><NumeroLinea>1</NumeroLinea><Descrizione>Toner per stampante</Descrizione>
   <Quantita>2.00</Quantita><PrezzoUnitario>50.00</PrezzoUnitario><PrezzoTotale>100.00</PrezzoTotale>
   <AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>
   <DatiRiepilogo><AliquotaIVA>22.00</AliquotaIVA><ImponibileImporto>100.00</ImponibileImporto><Imposta>22.00</Imposta>
   <EsigibilitaIVA>I</EsigibilitaIVA></DatiRiepilogo></DatiBeniServizi>
  <DatiPagamento><CondizioniPagamento>TP02</CondizioniPagamento><DettaglioPagamento>
   <ModalitaPagamento>MP05</ModalitaPagamento><DataScadenzaPagamento>$due</DataScadenzaPagamento>
   <ImportoPagamento>122.00</ImportoPagamento><IBAN>IT60X0542811101000000123456</IBAN></DettaglioPagamento></DatiPagamento>
 </FatturaElettronicaBody>
</ns2:FatturaElettronica>
XML

"$own/fondaro" &
pid=$!
cleanup() {
  kill $pid 2>/dev/null || true
  rm -rf "$own" "$scratch"
}
trap cleanup EXIT

login
xdotool windowfocus --sync "$launcher"
tabs 2
keys Return
yearwin=$(window '^ Fondaro 3\.0 - Registro Movimenti$') || fail "the year window did not appear"
xdotool windowfocus --sync "$yearwin"
sleep 0.2
tabs 3  # past "Apri" and "Importa estratto conto..." to "Importa fatture elettroniche..."
keys space

importwin=$(window '^ Importa fatture elettroniche$') || fail "the invoice window did not open"
xdotool windowfocus --sync "$importwin"
sleep 0.2
keys space  # "File..." has the focus
chooser=$(window '^Scegli le fatture elettroniche$') || fail "the file dialog did not open"
xdotool windowfocus --sync "$chooser"
sleep 0.3
write "$invoice"
keys Return
gone '^Scegli le fatture elettroniche$' || fail "the file dialog did not close"

# The first time, the company's identifiers.
ask=$(window "^Dati dell'azienda\$") || fail "the company's VAT number was not asked"
xdotool windowfocus --sync "$ask"
sleep 0.2
write 09876543217
keys Return
gone "^Dati dell'azienda\$" || fail "the question of the company's data did not close"
grep -q 09876543217 "$own/FattureElettroniche.ini" || fail "the company's VAT number was not kept"

xdotool windowfocus --sync "$importwin"
sleep 1
mkdir -p "$(dirname "$shot")"
import -window root "$shot"
echo "e2e: picture of the invoice's list and copy kept in $shot"

# From the list, past the copy's preview button and view, to "Importa".
tabs 3
keys space
summary=$(window '^Conferma$') || fail "the import showed no summary"
xdotool windowfocus --sync "$summary"
keys Return  # "Sì": open the movements of the year
sleep 0.5
summary=$(window '^Conferma$') || fail "the due list was not offered"
xdotool windowfocus --sync "$summary"
keys Return  # "Sì": and its due list
editor=$(window "^ Fondaro 3\\.0 - Registro movimenti anno $year\$") || fail "the register did not open on $year"
duelist=$(window '^ Riepilogo pagamenti in scadenza o scaduti$') || fail "the due list did not open"
sleep 0.5
import -window root "${shot%.png}-scadenze.png"
echo "e2e: picture of the due list kept in ${shot%.png}-scadenze.png"

dump=$("$tool" dump "$own/$year.eur") || fail "fondaro-tool could not read $year.eur"
count=$(printf '%s\n' "$dump" | wc -l)
[ "$count" = 1 ] || fail "the archive holds $count records, expected 1"
has "$dump" Uscita "Sì"
has "$dump" Data "$shown_day"
has "$dump" DataSca "$shown_due"
has "$dump" Preavviso "5"
has "$dump" Saldato "No"
has "$dump" Causale "Fattura n. 42 del $shown_day - Rossi Forniture S.r.l."
has "$dump" Beneficiario "Rossi Forniture S.r.l."
has "$dump" File02 "IT01234567897_00042.pdf"
copy="$own/Documenti_Allegati/IT01234567897_00042.pdf"
[ -s "$copy" ] || fail "the readable copy was not stored"
pdftotext "$copy" - | grep -q "Fattura n. 42 del $shown_day" || fail "the stored copy does not read as the invoice"
cards=$("$tool" dump "$own/Clienti.pro") || fail "fondaro-tool could not read Clienti.pro"
printf '%s' "$cards" | grep -q "Rossi Forniture S.r.l." || fail "the supplier's card was not added: $cards"
echo "e2e: invoice import from the year window to the due list passed"
