// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/movementcard.h"

#include "core/textrules.h"

namespace fondaro {
namespace {

std::optional<bool> flag(const LpString<2>& f) {
  const QString t = f.trimmed();
  if (t == kSi) return true;
  if (t == kNo) return false;
  return std::nullopt;
}

QString flagText(bool on) { return on ? kSi : kNo; }

SaveProblem warning(const QString& text, CardField focus) { return {{NoticeKind::Warning, text}, focus}; }

SaveProblem dateProblem(const QString& trimmedDate, CardField focus) {
  return {{NoticeKind::Plain, QStringLiteral("Attenzione: la data ") + trimmedDate + QStringLiteral(" non esiste.") +
                                  kParagraphBreak +
                                  QStringLiteral("Per poter salvare la scheda è necessario indicare una data "
                                                 "valida nel formato gg/mm/aaaa.")},
          focus};
}

// The longest amount text whose signed form still fits Totale.
constexpr int kMaxAmountLength = 14;

}  // namespace

MovementCard newCard() {
  MovementCard c;
  c[mov::Data] = todayText();
  c[mov::Preavviso] = QStringLiteral("0");
  c[mov::Importo] = QStringLiteral("0,00");
  return c;
}

ShownRecord showRecord(const TMovimento& r) {
  ShownRecord s;
  static_cast<CardTexts<TMovimento>&>(s.card) = textsFromRecord(r);
  s.entrata = flag(r.Entrata);
  s.uscita = flag(r.Uscita);
  s.saldato = flag(r.Saldato);
  return s;
}

void duplicateCard(MovementCard& c) {
  c.saldato = false;
  c[mov::Data] = todayText();
  c[mov::DataSca].clear();
  for (int f : {mov::File01, mov::File02, mov::File03, mov::Desc01, mov::Desc02, mov::Desc03}) c[f].clear();
}

TMovimento recordFromCard(const MovementCard& c) {
  TMovimento r;
  textsIntoRecord(c, r);
  r.Entrata.set(flagText(c.entrata));
  r.Uscita.set(flagText(c.uscita));
  r.Saldato.set(flagText(c.saldato));
  // A sign only for the chosen option; the save refuses a card with neither.
  const QString amount = trimmedText(c[mov::Importo]);
  if (c.entrata) r.Totale.set(signedAmount(true, amount));
  else if (c.uscita) r.Totale.set(signedAmount(false, amount));
  else r.Totale.set(amount);
  return r;
}

std::optional<SaveProblem> checkBeforeSave(const MovementCard& c) {
  const QString needed = QStringLiteral("Attenzione: per salvare la scheda è necessario indicare ");
  if (trimmedText(c[mov::Causale]).isEmpty()) {
    return warning(needed + QStringLiteral("la causale del pagamento."), CardField::Causale);
  }
  const QString data = trimmedText(c[mov::Data]);
  if (data.isEmpty()) {
    return warning(needed + QStringLiteral("la data di registrazione dell'operazione."), CardField::Data);
  }
  if (!isValidDate(data)) return dateProblem(data, CardField::Data);
  const QString dataSca = trimmedText(c[mov::DataSca]);
  if (dataSca.isEmpty()) {
    return warning(needed + QStringLiteral("la data di scadenza del pagamento."), CardField::DataSca);
  }
  if (!isValidDate(dataSca)) return dateProblem(dataSca, CardField::DataSca);
  if (trimmedText(c[mov::Preavviso]).isEmpty()) {
    return warning(needed + QStringLiteral("il numero di giorni di preavviso della scadenza del pagamento."),
                   CardField::Preavviso);
  }
  if (trimmedText(c[mov::Pagatore]).isEmpty()) {
    return warning(needed + QStringLiteral("il nome del pagatore."), CardField::Pagatore);
  }
  if (trimmedText(c[mov::Beneficiario]).isEmpty()) {
    return warning(needed + QStringLiteral("il nome del beneficiario."), CardField::Beneficiario);
  }
  if (!c.entrata && !c.uscita) {
    return warning(needed + QStringLiteral("il tipo di movimento (entrata o uscita)."), CardField::Entrata);
  }
  const QString amount = trimmedText(c[mov::Importo]);
  if (amount.size() > kMaxAmountLength || !isAmountText(amount)) {
    return warning(QStringLiteral("Attenzione: l'importo indicato non è valido."), CardField::Importo);
  }
  return std::nullopt;
}

MailResult mailLink(const QString& emailField) {
  const QString address = trimmedText(emailField);
  if (address.isEmpty()) {
    return {std::nullopt, warning(QStringLiteral("Attenzione: indicare l'indirizzo e-mail del tesserato."),
                                  CardField::Email)};
  }
  return {mailtoOpenText(address), std::nullopt};
}

std::vector<PrintedValue> printedValues(const MovementCard& card) {
  std::vector<PrintedValue> v;
  v.push_back({u"txtTipo", card.entrata ? QStringLiteral("Entrata") : QStringLiteral("Uscita")});
  for (const Binding& b : movementBindings())
    if (b.control.startsWith(u"txt")) v.push_back({b.control, trimmedText(card[b.field])});
  v.push_back({u"txtSaldato", card.saldato ? QStringLiteral("Sì") : QStringLiteral("No")});
  return v;
}

namespace movementTexts {
QString savedNew() { return QStringLiteral("La scheda corrente è stata inserita in archivio."); }
QString savedChanges() {
  return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
}
QString duplicateNeedsStoredCard() {
  return QStringLiteral(
      "Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata inserita "
      "in archivio.");
}
QString duplicateReady() {
  return QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.") + kParagraphBreak +
         QStringLiteral("Al termine premere Salva per inserire la scheda in archivio.");
}
QString emptyArchive() { return QStringLiteral("L'archivio non contiene nessuna scheda."); }
}  // namespace movementTexts

}  // namespace fondaro
