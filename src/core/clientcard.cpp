// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clientcard.h"

#include "core/movementcard.h"
#include "core/textrules.h"

namespace fondaro {

ClientCard newClientCard() { return {}; }

ShownClient showClientRecord(const TCliente& record) {
  ShownClient s;
  static_cast<CardTexts<TCliente>&>(s.card) = textsFromRecord(record);
  const QString flag = record.Ricontatta.trimmed();
  if (flag == kSi) s.ricontatta = true;
  else if (flag == kNo) s.ricontatta = false;
  return s;
}

void duplicateClientCard(ClientCard& card) {
  for (int f : {cli::File01, cli::File02, cli::File03, cli::Desc01, cli::Desc02, cli::Desc03}) card[f].clear();
}

TCliente recordFromClientCard(const ClientCard& card) {
  TCliente r;
  textsIntoRecord(card, r);
  r.Ricontatta.set(card.ricontatta ? kSi : kNo);
  return r;
}

std::optional<Notice> checkClientBeforeSave(const ClientCard& card) {
  if (trimmedText(card[cli::Cliente]).isEmpty()) return Notice{NoticeKind::Warning, clientTexts::nameNeeded()};
  return std::nullopt;
}

QString printedTitle() { return QStringLiteral("SCHEDA ANAGRAFICA"); }

std::array<PrintedRow, kPrintedRows> printedRows(const ClientCard& card) {
  const auto t = [&card](int field) { return trimmedText(card[field]); };
  const QString blank = QStringLiteral(" ");
  return {{
      {QStringLiteral("Cognome e nome:"), t(cli::Cliente)},
      {QStringLiteral("Data di nascita:"), t(cli::DataNasc)},
      {QStringLiteral("Comune di nascita:"), t(cli::ComuneNasc) + blank + t(cli::ProvNasc)},
      {QStringLiteral("Sesso:"), t(cli::Sesso)},
      {QStringLiteral("Recapito preferenziale:"), t(cli::Recapito)},
      {QStringLiteral("Indirizzo di residenza:"), t(cli::IndirizzoRes)},
      {QStringLiteral("Comune di residenza:"), t(cli::ComuneRes) + blank + t(cli::ProvRes)},
      {QStringLiteral("Modalità pagamento:"), t(cli::Estremi)},
      {QStringLiteral("Tel. casa:"), t(cli::TelCasa)},
      {QStringLiteral("Tel. ufficio:"), t(cli::TelUff)},
      {QStringLiteral("Tel. cellulare:"), t(cli::TelCel)},
      {QStringLiteral("Fax:"), t(cli::Fax)},
      {QStringLiteral("E-mail:"), t(cli::Email)},
      {QStringLiteral("Codice fiscale:"), t(cli::CodFisc)},
      {QStringLiteral("Partita IVA:"), t(cli::PartitaIva)},
      {QStringLiteral("Carta di credito:"),
       QStringLiteral("N. ") + t(cli::Carta) + QStringLiteral("  -  Scadenza: ") + t(cli::ScadeCarta)},
      {QStringLiteral("IBAN:"), t(cli::Iban)},
      {QStringLiteral("Estremi documento:"), t(cli::Documento)},
      {QStringLiteral("Occupazione:"), t(cli::Occupazione)},
      {QStringLiteral("Titoli e qualifiche:"), t(cli::Titoli)},
      {QStringLiteral("Prodotti e servizi:"), t(cli::Prodotti)},
      {QStringLiteral("Zona di appartenenza:"), t(cli::Zona)},
      {QStringLiteral("Questioni in sospeso:"), t(cli::Questioni)},
      {QStringLiteral("Note:"), t(cli::Note)},
  }};
}

QString printedFooter(const QDateTime& when) {
  return QStringLiteral("Stampa eseguita in data ") + formatDate(when.date()) + QStringLiteral(" alle ore ") +
         when.time().toString(QStringLiteral("HH:mm:ss"));
}

const QStringList& provinceCodes() {
  static const QStringList codes = QStringLiteral(
      "AG AL AN AO AP AQ AR AT AV BA BG BI BL BN BO BR BS BT BZ CA CB CE CH CI CL CN CO CR CS CT CZ EE EN FC FE "
      "FG FI FM FO FR GE GO GR IM IS KR LC LE LI LO LT LU MB MC MD ME MI MN MO MS MT NA NO NU OG OR OT PA PC PD "
      "PE PG PI PN PO PR PT PU PV PZ RA RC RE RG RI RM RN RO SA SI SO SP SR SS SV TA TE TN TO TP TR TS TV UD VA "
      "VB VC VE VI VR VT VV").split(u' ');
  return codes;
}

namespace clientTexts {
QString nameNeeded() {
  return QStringLiteral(
      "Attenzione: per salvare la scheda è necessario indicare il nome del pagatore o beneficiario.");
}
// The save, duplicate and browse messages are the movement editor's own words.
QString savedNew() { return movementTexts::savedNew(); }
QString savedChanges() { return movementTexts::savedChanges(); }
QString duplicateNeedsStoredCard() { return movementTexts::duplicateNeedsStoredCard(); }
QString duplicateReady() { return movementTexts::duplicateReady(); }
QString emptyArchive() { return movementTexts::emptyArchive(); }
QString pdfName() { return QStringLiteral("Cliente.pdf"); }
QString pdfDone() {
  return QStringLiteral("L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?");
}
}  // namespace clientTexts

}  // namespace fondaro
