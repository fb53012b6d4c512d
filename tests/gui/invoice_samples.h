// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Electronic invoices written for the window tests from the public schema:
// Rossi Forniture (VAT number 01234567897) bills the company Bianchi Servizi
// (VAT number 09876543217).
#include <QByteArray>
#include <QString>

namespace fondaro::testsupport {

inline constexpr char kSellerVat[] = "01234567897";
inline constexpr char kBuyerVat[] = "09876543217";

// One body of an invoice: `number`, `date` (yyyy-mm-dd), `lines` of
// DettaglioLinee, its DatiRiepilogo, `payment` (DatiPagamento or nothing),
// `extra` after the payment (Allegati).
inline QByteArray invoiceBody(const QString& type, const QString& number, const QString& date, const QString& lines,
                              const QString& total, const QString& payment, const QString& extra = QString()) {
  return QStringLiteral(
             "<FatturaElettronicaBody><DatiGenerali><DatiGeneraliDocumento><TipoDocumento>%1</TipoDocumento>"
             "<Divisa>EUR</Divisa><Data>%3</Data><Numero>%2</Numero><ImportoTotaleDocumento>%5"
             "</ImportoTotaleDocumento><Causale>Fornitura di materiale d'ufficio</Causale>"
             "</DatiGeneraliDocumento></DatiGenerali><DatiBeniServizi>%4"
             "<DatiRiepilogo><AliquotaIVA>22.00</AliquotaIVA><ImponibileImporto>100.00</ImponibileImporto>"
             "<Imposta>22.00</Imposta><EsigibilitaIVA>I</EsigibilitaIVA></DatiRiepilogo>"
             "</DatiBeniServizi>%6%7</FatturaElettronicaBody>")
      .arg(type, number, date, lines, total, payment, extra)
      .toUtf8();
}

inline QString invoiceLine(int n, const QString& description, const QString& quantity, const QString& price,
                           const QString& total) {
  return QStringLiteral(
             "<DettaglioLinee><NumeroLinea>%1</NumeroLinea><Descrizione>%2</Descrizione><Quantita>%3</Quantita>"
             "<UnitaMisura>pz</UnitaMisura><PrezzoUnitario>%4</PrezzoUnitario><PrezzoTotale>%5</PrezzoTotale>"
             "<AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>")
      .arg(n)
      .arg(description, quantity, price, total);
}

inline QString invoicePayment(const QString& due, const QString& amount) {
  return QStringLiteral(
             "<DatiPagamento><CondizioniPagamento>TP02</CondizioniPagamento><DettaglioPagamento>"
             "<ModalitaPagamento>MP05</ModalitaPagamento><DataScadenzaPagamento>%1</DataScadenzaPagamento>"
             "<ImportoPagamento>%2</ImportoPagamento><IBAN>IT60X0542811101000000123456</IBAN>"
             "</DettaglioPagamento></DatiPagamento>")
      .arg(due, amount);
}

// The whole file around `bodies`, with prefix `p:`.
inline QByteArray invoiceFile(const QByteArray& bodies) {
  return QByteArray(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<p:FatturaElettronica versione=\"FPR12\" "
             "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">"
             "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese>"
             "<IdCodice>01234567897</IdCodice></IdTrasmittente><ProgressivoInvio>00001</ProgressivoInvio>"
             "<FormatoTrasmissione>FPR12</FormatoTrasmissione><CodiceDestinatario>0000000</CodiceDestinatario>"
             "</DatiTrasmissione><CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese>"
             "<IdCodice>01234567897</IdCodice></IdFiscaleIVA><CodiceFiscale>01234567897</CodiceFiscale>"
             "<Anagrafica><Denominazione>Rossi Forniture S.r.l.</Denominazione></Anagrafica>"
             "<RegimeFiscale>RF01</RegimeFiscale></DatiAnagrafici><Sede><Indirizzo>Via Roma</Indirizzo>"
             "<NumeroCivico>12</NumeroCivico><CAP>20121</CAP><Comune>Milano</Comune><Provincia>MI</Provincia>"
             "<Nazione>IT</Nazione></Sede><Contatti><Telefono>02 1234567</Telefono>"
             "<Email>amministrazione@rossiforniture.it</Email></Contatti></CedentePrestatore>"
             "<CessionarioCommittente><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese>"
             "<IdCodice>09876543217</IdCodice></IdFiscaleIVA><Anagrafica><Denominazione>Bianchi Servizi "
             "S.n.c.</Denominazione></Anagrafica></DatiAnagrafici><Sede><Indirizzo>Corso Italia</Indirizzo>"
             "<NumeroCivico>3</NumeroCivico><CAP>10121</CAP><Comune>Torino</Comune><Provincia>TO</Provincia>"
             "<Nazione>IT</Nazione></Sede></CessionarioCommittente></FatturaElettronicaHeader>") +
         bodies + "</p:FatturaElettronica>\n";
}

// A received invoice of 122,00 due on `due`, one line of 100,00 plus VAT.
inline QByteArray simpleInvoice(const QString& number, const QString& date, const QString& due) {
  return invoiceFile(invoiceBody(u"TD01"_qs, number, date,
                                 invoiceLine(1, u"Risme di carta A4"_qs, u"20.00"_qs, u"5.00"_qs, u"100.00"_qs),
                                 u"122.00"_qs, invoicePayment(due, u"122.00"_qs)));
}

}  // namespace fondaro::testsupport
