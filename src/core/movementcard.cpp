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
                                  QStringLiteral("Per poter salvare la scheda \u00E8 necessario indicare una data "
                                                 "valida nel formato gg/mm/aaaa.")},
          focus};
}

// The longest amount text whose signed form still fits Totale.
constexpr int kMaxAmountLength = 14;

}  // namespace

MovementCard newCard() {
  MovementCard c;
  c.data = todayText();
  c.preavviso = QStringLiteral("0");
  c.importo = QStringLiteral("0,00");
  return c;
}

ShownRecord showRecord(const TMovimento& r) {
  ShownRecord s;
  MovementCard& c = s.card;
  c.data = r.Data.trimmed();
  c.causale = r.Causale.trimmed();
  c.promemoria = r.Promemoria.trimmed();
  c.dataSca = r.DataSca.trimmed();
  c.preavviso = r.Preavviso.trimmed();
  c.importo = r.Importo.trimmed();
  c.pagatore = r.Pagatore.trimmed();
  c.recapitoPag = r.RecapitoPag.trimmed();
  c.codFisc = r.CodFisc.trimmed();
  c.partitaIva = r.PartitaIva.trimmed();
  c.categoria = r.Categoria.trimmed();
  c.email = r.Email.trimmed();
  c.pagamento = r.Pagamento.trimmed();
  c.beneficiario = r.Beneficiario.trimmed();
  c.recapitoBen = r.RecapitoBen.trimmed();
  c.ricevuta = r.Ricevuta.trimmed();
  c.note = r.Note.trimmed();
  c.tariffa = r.Tariffa.trimmed();
  c.file[0] = r.File01.trimmed();
  c.file[1] = r.File02.trimmed();
  c.file[2] = r.File03.trimmed();
  c.desc[0] = r.Desc01.trimmed();
  c.desc[1] = r.Desc02.trimmed();
  c.desc[2] = r.Desc03.trimmed();
  s.entrata = flag(r.Entrata);
  s.uscita = flag(r.Uscita);
  s.saldato = flag(r.Saldato);
  return s;
}

void duplicateCard(MovementCard& c) {
  c.saldato = false;
  c.data = todayText();
  c.dataSca.clear();
  for (int i = 0; i < 3; ++i) {
    c.file[i].clear();
    c.desc[i].clear();
  }
}

TMovimento recordFromCard(const MovementCard& c) {
  TMovimento r;
  r.Entrata.set(flagText(c.entrata));
  r.Uscita.set(flagText(c.uscita));
  r.Data.set(c.data);
  r.Causale.set(c.causale);
  r.Promemoria.set(c.promemoria);
  r.DataSca.set(c.dataSca);
  r.Preavviso.set(c.preavviso);
  r.Importo.set(c.importo);
  // A sign only for the chosen option; the save refuses a card with neither.
  const QString amount = trimmedText(c.importo);
  if (c.entrata) r.Totale.set(signedAmount(true, amount));
  else if (c.uscita) r.Totale.set(signedAmount(false, amount));
  else r.Totale.set(amount);
  r.Pagatore.set(c.pagatore);
  r.RecapitoPag.set(c.recapitoPag);
  r.CodFisc.set(c.codFisc);
  r.PartitaIva.set(c.partitaIva);
  r.Categoria.set(c.categoria);
  r.Email.set(c.email);
  r.Pagamento.set(c.pagamento);
  r.Beneficiario.set(c.beneficiario);
  r.RecapitoBen.set(c.recapitoBen);
  r.Ricevuta.set(c.ricevuta);
  r.Note.set(c.note);
  r.Tariffa.set(c.tariffa);
  r.Saldato.set(flagText(c.saldato));
  r.File01.set(c.file[0]);
  r.File02.set(c.file[1]);
  r.File03.set(c.file[2]);
  r.Desc01.set(c.desc[0]);
  r.Desc02.set(c.desc[1]);
  r.Desc03.set(c.desc[2]);
  return r;
}

std::optional<SaveProblem> checkBeforeSave(const MovementCard& c) {
  const QString needed = QStringLiteral("Attenzione: per salvare la scheda \u00E8 necessario indicare ");
  if (trimmedText(c.causale).isEmpty()) {
    return warning(needed + QStringLiteral("la causale del pagamento."), CardField::Causale);
  }
  const QString data = trimmedText(c.data);
  if (data.isEmpty()) {
    return warning(needed + QStringLiteral("la data di registrazione dell'operazione."), CardField::Data);
  }
  if (!isValidDate(data)) return dateProblem(data, CardField::Data);
  const QString dataSca = trimmedText(c.dataSca);
  if (dataSca.isEmpty()) {
    return warning(needed + QStringLiteral("la data di scadenza del pagamento."), CardField::DataSca);
  }
  if (!isValidDate(dataSca)) return dateProblem(dataSca, CardField::DataSca);
  if (trimmedText(c.preavviso).isEmpty()) {
    return warning(needed + QStringLiteral("il numero di giorni di preavviso della scadenza del pagamento."),
                   CardField::Preavviso);
  }
  if (trimmedText(c.pagatore).isEmpty()) {
    return warning(needed + QStringLiteral("il nome del pagatore."), CardField::Pagatore);
  }
  if (trimmedText(c.beneficiario).isEmpty()) {
    return warning(needed + QStringLiteral("il nome del beneficiario."), CardField::Beneficiario);
  }
  if (!c.entrata && !c.uscita) {
    return warning(needed + QStringLiteral("il tipo di movimento (entrata o uscita)."), CardField::Entrata);
  }
  const QString amount = trimmedText(c.importo);
  if (amount.size() > kMaxAmountLength || !isAmountText(amount)) {
    return warning(QStringLiteral("Attenzione: l'importo indicato non \u00E8 valido."), CardField::Importo);
  }
  return std::nullopt;
}

MailResult mailLink(const QString& emailField) {
  const QString address = trimmedText(emailField);
  if (address.isEmpty()) {
    return {std::nullopt, warning(QStringLiteral("Attenzione: indicare l'indirizzo e-mail del tesserato."),
                                  CardField::Email)};
  }
  QString safe;
  safe.reserve(address.size());
  for (QChar ch : address) {
    switch (ch.unicode()) {
      case '%': safe += QStringLiteral("%25"); break;
      case '?': safe += QStringLiteral("%3F"); break;
      case '&': safe += QStringLiteral("%26"); break;
      case '#': safe += QStringLiteral("%23"); break;
      default: safe += ch;
    }
  }
  return {QStringLiteral("\"mailto:") + safe + QStringLiteral("\""), std::nullopt};
}

namespace movementTexts {
QString savedNew() { return QStringLiteral("La scheda corrente \u00E8 stata inserita in archivio."); }
QString savedChanges() {
  return QStringLiteral("Le modifiche apportate alla scheda corrente sono state salvate in archivio.");
}
QString duplicateNeedsStoredCard() {
  return QStringLiteral(
      "Attenzione: la duplicazione di una scheda pu\u00F2 avvenire soltanto dopo che questa \u00E8 stata inserita "
      "in archivio.");
}
QString duplicateReady() {
  return QStringLiteral("E' ora possibile apportare le proprie modifiche alla scheda corrente.") + kParagraphBreak +
         QStringLiteral("Al termine premere Salva per inserire la scheda in archivio.");
}
QString emptyArchive() { return QStringLiteral("L'archivio non contiene nessuna scheda."); }
}  // namespace movementTexts

}  // namespace fondaro
