// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/invoiceimport.h"

#include <QHash>
#include <QSettings>
#include <algorithm>
#include <cerrno>
#include <map>
#include <unistd.h>

#include "core/archive.h"
#include "core/attachments.h"
#include "core/checks.h"
#include "core/cp1252.h"
#include "core/filepath.h"
#include "core/statement.h"
#include "core/textrules.h"

namespace fondaro {

const char kOriginalDescription[] = "Fattura elettronica (file originale)";
const char kReadableCopyDescription[] = "Fattura elettronica (copia leggibile)";
const char kEmbeddedDefaultDescription[] = "Allegato della fattura";

// ---- Settings ---------------------------------------------------------------

namespace {
QString settingsPath(const QByteArray& folder) { return decodePath(joinPath(folder, kInvoiceSettingsFileName)); }
}  // namespace

InvoiceSettings readInvoiceSettings(const QByteArray& folder) {
  InvoiceSettings settings;
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  for (const QString& id : s.value(u"azienda/identificativi"_qs).toStringList()) {
    if (!normalisedOwnId(id).isEmpty()) settings.ownIds << id.trimmed();
  }
  bool ok = false;
  const int notice = s.value(u"azienda/preavviso"_qs).toInt(&ok);
  if (ok && notice >= 0 && notice <= 999) settings.notice = notice;
  return settings;
}

bool writeInvoiceSettings(const QByteArray& folder, const InvoiceSettings& settings) {
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  s.setValue(u"azienda/identificativi"_qs, settings.ownIds);
  s.setValue(u"azienda/preavviso"_qs, settings.notice);
  s.sync();
  return s.status() == QSettings::NoError;
}

QString normalisedOwnId(QStringView id) {
  QString out;
  for (QChar c : id) {
    if (!c.isSpace()) out += c.toUpper();
  }
  return out;
}

namespace {

bool allDigits(QStringView s) {
  return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// Whether a tax code passes the program's checks: eleven digits (a
// company's) by the VAT check, sixteen characters by the tax-code check.
bool codFiscPasses(QStringView code) {
  if (allDigits(code) && code.size() == checks::kPartitaIvaLength) return checks::partitaIvaValid(code);
  return checks::checkCodFisc(code).outcome == checks::Outcome::Valid;
}

}  // namespace

std::optional<QString> ownIdWarning(QStringView id) {
  QString n = normalisedOwnId(id);
  if (n.startsWith(u"IT") && n.size() == 13 && allDigits(QStringView(n).mid(2))) n = n.mid(2);
  if (allDigits(n) && n.size() == checks::kPartitaIvaLength) {
    if (checks::partitaIvaValid(n)) return std::nullopt;
    return QStringLiteral("La partita IVA %1 non è valida.").arg(n);
  }
  if (n.size() == checks::kCodFiscLength && codFiscPasses(n)) return std::nullopt;
  return QStringLiteral("Il codice fiscale %1 non è valido.").arg(n);
}

// ---- Names and texts ----------------------------------------------------------

QString readableCopyName(const QString& invoiceFileName) {
  QString stem = invoiceFileName;
  for (;;) {
    if (stem.endsWith(u".p7m", Qt::CaseInsensitive) || stem.endsWith(u".xml", Qt::CaseInsensitive)) {
      stem.chop(4);
    } else {
      break;
    }
  }
  if (stem.isEmpty()) stem = QStringLiteral("fattura");
  return stem + QStringLiteral(".pdf");
}

namespace {

// "name.ext" -> {"name", ".ext"}; the extension at most 10 characters.
std::pair<QString, QString> splitExtension(const QString& name) {
  const qsizetype dot = name.lastIndexOf(u'.');
  if (dot <= 0 || name.size() - dot > 11) return {name, QString()};
  return {name.left(dot), name.mid(dot)};
}

}  // namespace

QString safeAttachmentName(const QString& wanted) {
  QString name;
  for (QChar c : collapseBlanks(wanted)) {
    const bool bad = c == u'/' || c == u'\\' || c.unicode() < 32 || c.unicode() == 127 ||
                     cp1252::byteFor(c.unicode()) < 0 || c.isSurrogate();
    name += bad ? u'_' : c;
  }
  name = name.trimmed();
  while (name.startsWith(u'.')) name.remove(0, 1);  // no hidden file, no "." or ".."
  if (name.isEmpty()) name = QStringLiteral("allegato");
  // Room for " (99)" before the extension.
  const int room = kAttachmentNameCapacity - 5;
  if (name.size() > room) {
    auto [stem, ext] = splitExtension(name);
    name = stem.left(room - ext.size()).trimmed() + ext;
  }
  return name;
}

QString numberedAttachmentName(const QString& name, int k) {
  auto [stem, ext] = splitExtension(name);
  return QStringLiteral("%1 (%2)%3").arg(stem).arg(k).arg(ext);
}

QString invoiceImportNote(const QString& shownName) { return QStringLiteral("Importato da ") + shownName; }
QString invoiceCardNote(const QString& shownName) {
  return QStringLiteral("Inserito da fattura elettronica ") + shownName;
}

QString instalmentStateText(InstalmentState state) {
  switch (state) {
    case InstalmentState::New:
      return QStringLiteral("nuova");
    case InstalmentState::Present:
      return QStringLiteral("già presente");
    case InstalmentState::LeftOut:
      return QStringLiteral("esclusa");
  }
  return {};
}

// ---- The plan ---------------------------------------------------------------

qint64 InvoicePlan::skipped() const {
  qint64 n = 0;
  for (const PlannedFile& f : files) {
    if (f.silent()) continue;
    if (f.skipped()) {
      ++n;
      continue;
    }
    for (const PlannedBody& b : f.bodies) n += b.skipped();
  }
  return n;
}

const PlannedInstalment* InvoicePlan::instalment(int id) const {
  for (const PlannedFile& f : files) {
    for (const PlannedBody& b : f.bodies) {
      for (const PlannedInstalment& i : b.instalments) {
        if (i.id == id) return &i;
      }
    }
  }
  return nullptr;
}

qint64 InvoiceImportResult::added() const {
  qint64 n = 0;
  for (const YearCount& y : years) n += y.added;
  return n;
}

InvoiceWriteError::InvoiceWriteError(Stage stage, InvoiceImportResult result, QString english, QString italian,
                                     UserError::Kind kind, std::vector<ImportWriteError::YearFailure> yearFailures)
    : UserError(english.toStdString()),
      stage_(stage),
      result_(std::move(result)),
      english_(std::move(english)),
      italian_(std::move(italian)),
      kind_(kind),
      yearFailures_(std::move(yearFailures)) {}

namespace {

// The types that move VAT, not money: integration documents and self-invoices.
bool movesVatOnly(QStringView type) {
  static const QSet<QString> types = {u"TD16"_qs, u"TD17"_qs, u"TD18"_qs, u"TD19"_qs, u"TD20"_qs,
                                      u"TD21"_qs, u"TD22"_qs, u"TD23"_qs, u"TD27"_qs, u"TD28"_qs};
  return types.contains(type.toString());
}

bool isOwn(const InvoiceParty& p, const QSet<QString>& own) {
  const QString vat = normalisedOwnId(p.vatCode);
  const QString cf = normalisedOwnId(p.taxCode);
  return (!vat.isEmpty() && (own.contains(vat) || own.contains(normalisedOwnId(p.vatCountry) + vat))) ||
         (!cf.isEmpty() && own.contains(cf));
}

QString signedCentsText(qint64 cents) { return (cents < 0 ? QStringLiteral("-") : QString()) + centsText(cents); }

QString vatSummaryText(const std::vector<InvoiceVatSummary>& vat) {
  QStringList parts;
  for (const InvoiceVatSummary& v : vat) {
    const std::optional<qint64> rate = parseInvoiceAmount(v.vatRate);
    if (!v.nature.isEmpty() && (!rate || *rate == 0)) {
      parts << QStringLiteral("%1: imponibile %2").arg(v.nature, signedCentsText(v.taxableCents));
    } else {
      parts << QStringLiteral("IVA %1%: imponibile %2, imposta %3")
                   .arg(invoiceDecimalText(v.vatRate, 2), signedCentsText(v.taxableCents), signedCentsText(v.taxCents));
    }
  }
  return parts.join(u"; ");
}

QString linesText(const std::vector<InvoiceLine>& lines) {
  QStringList parts;
  for (const InvoiceLine& l : lines) {
    if (!l.description.isEmpty()) parts << l.description;
  }
  return parts.join(u"; ");
}

QString paymentText(const InvoiceInstalment* in) {
  if (!in) return {};
  QString text = in->method.isEmpty() ? QString() : paymentMethodText(in->method);
  if (!in->iban.isEmpty()) text = (text.isEmpty() ? QString() : text + u' ') + QStringLiteral("IBAN ") + in->iban;
  return text;
}

// The warnings of the counterparty's codes and of the IBANs it gives.
QStringList codeWarnings(const InvoiceParty& p, const std::vector<InvoiceInstalment>& instalments) {
  QStringList out;
  const QString vat = p.italianVat();
  const QString who = p.name();
  if (!vat.isEmpty() && !checks::partitaIvaValid(vat)) {
    out << QStringLiteral("partita IVA %1 di %2 non valida").arg(vat, who);
  }
  if (!p.taxCode.isEmpty() && !codFiscPasses(p.taxCode.toUpper())) {
    out << QStringLiteral("codice fiscale %1 di %2 non valido").arg(p.taxCode, who);
  }
  QSet<QString> seen;
  for (const InvoiceInstalment& in : instalments) {
    if (in.iban.isEmpty() || seen.contains(in.iban)) continue;
    seen.insert(in.iban);
    if (!checks::ibanValid(in.iban)) out << QStringLiteral("IBAN %1 non valido").arg(in.iban);
  }
  return out;
}

struct Instalment {
  const InvoiceInstalment* source = nullptr;  // null: the document's total
  qint64 cents = 0;
};

// What the planner needs of each body beyond its PlannedBody.
struct BodyContext {
  const InvoiceFileRead* file = nullptr;
  const InvoiceBody* body = nullptr;
  const InvoiceParty* counterparty = nullptr;
  const InvoiceParty* company = nullptr;
};

TMovimento movementOf(const BodyContext& c, const PlannedBody& pb, const Instalment& in, int k, int n,
                      const QDate& due, int notice) {
  TMovimento r;
  const bool moneyIn = pb.direction == InvoiceDirection::In;
  const QString amount = centsText(in.cents);
  r.Entrata.set(moneyIn ? kSi : kNo);
  r.Uscita.set(moneyIn ? kNo : kSi);
  r.Data.set(formatDate(pb.date));
  r.DataSca.set(formatDate(due));
  r.Preavviso.set(QString::number(notice));
  r.Importo.set(amount);
  r.Totale.set(signedAmount(moneyIn, amount));
  QString causale =
      QStringLiteral("%1 n. %2 del %3 - %4").arg(pb.kind, pb.number, formatDate(pb.date), pb.counterparty);
  if (n > 1) causale += QStringLiteral(" - rata %1 di %2").arg(k).arg(n);
  r.Causale.set(collapseBlanks(causale));
  r.Promemoria.set(collapseBlanks(linesText(c.body->lines)));
  const InvoiceParty& payer = moneyIn ? *c.counterparty : *c.company;
  const InvoiceParty& payee = moneyIn ? *c.company : *c.counterparty;
  r.Pagatore.set(collapseBlanks(payer.name()));
  r.RecapitoPag.set(collapseBlanks(payer.address.oneLine()));
  r.CodFisc.set(payer.taxCode);
  r.PartitaIva.set(payer.italianVat());
  r.Beneficiario.set(collapseBlanks(payee.name()));
  r.RecapitoBen.set(collapseBlanks(payee.address.oneLine()));
  r.Pagamento.set(collapseBlanks(paymentText(in.source)));
  r.Note.set(collapseBlanks(invoiceImportNote(c.file->shownName)));
  r.Tariffa.set(collapseBlanks(vatSummaryText(c.body->vat)));
  r.Saldato.set(kNo);
  return r;
}

// The duplicate key of a movement as stored: Data, Totale and Causale trimmed.
QString runKey(const TMovimento& m) {
  return m.Data.trimmed() + u'\x1f' + m.Totale.trimmed() + u'\x1f' + m.Causale.trimmed();
}

// The keys the address book is looked up by.
struct CardKeys {
  QSet<QString> vat, taxCode, name;

  static QString nameKey(QStringView name) { return collapseBlanks(name).toCaseFolded(); }
  bool has(PlannedCard::Key key, const QString& text) const {
    switch (key) {
      case PlannedCard::Key::PartitaIva:
        return vat.contains(text);
      case PlannedCard::Key::CodFisc:
        return taxCode.contains(text.toUpper());
      case PlannedCard::Key::Name:
        return name.contains(nameKey(text));
    }
    return false;
  }
  void add(const TCliente& c) {
    if (const QString v = c.PartitaIva.trimmed(); !v.isEmpty()) vat.insert(v);
    if (const QString cf = c.CodFisc.trimmed(); !cf.isEmpty()) taxCode.insert(cf.toUpper());
    if (const QString n = c.Cliente.trimmed(); !n.isEmpty()) name.insert(nameKey(n));
  }
  void add(const RecordView<TCliente>& v) {
    if (const QString p = v.trimmed(cli::PartitaIva); !p.isEmpty()) vat.insert(p);
    if (const QString cf = v.trimmed(cli::CodFisc); !cf.isEmpty()) taxCode.insert(cf.toUpper());
    if (const QString n = v.trimmed(cli::Cliente); !n.isEmpty()) name.insert(nameKey(n));
  }
};

CardKeys cardKeysOf(const ClientArchive& archive) {
  CardKeys keys;
  archive.Scan([&](qint64, const RecordView<TCliente>& v) { keys.add(v); });
  return keys;
}

// The address book of `folder` as it is now; empty when there is none.
CardKeys storedCardKeys(const QByteArray& folder) {
  const QByteArray path = clientArchivePath(folder);
  if (!pathExists(path)) return {};
  return cardKeysOf(ClientArchive::OpenExisting(path, RecordFile::Access::ReadOnly));
}

// The card's key: the VAT number, else the tax code, else the name (as stored).
std::pair<PlannedCard::Key, QString> cardKey(const TCliente& c) {
  if (const QString v = c.PartitaIva.trimmed(); !v.isEmpty()) return {PlannedCard::Key::PartitaIva, v};
  if (const QString cf = c.CodFisc.trimmed(); !cf.isEmpty()) return {PlannedCard::Key::CodFisc, cf.toUpper()};
  return {PlannedCard::Key::Name, c.Cliente.trimmed()};
}

TCliente cardOf(const InvoiceParty& p, const InvoiceBody& body, bool received, const QString& shownName) {
  TCliente c;
  c.Cliente.set(collapseBlanks(p.name()));
  c.IndirizzoRes.set(collapseBlanks(p.address.streetLine()));
  c.CapRes.set(p.address.postcode);
  c.ComuneRes.set(collapseBlanks(p.address.town));
  c.ProvRes.set(p.address.province.toUpper());
  c.PartitaIva.set(p.italianVat());
  c.CodFisc.set(p.taxCode.toUpper());
  c.TelUff.set(collapseBlanks(p.phone));
  c.Fax.set(collapseBlanks(p.fax));
  c.Email.set(collapseBlanks(p.email));
  if (received) {
    for (const InvoiceInstalment& in : body.instalments) {
      if (in.iban.isEmpty()) continue;
      c.Iban.set(in.iban);
      break;
    }
  }
  c.Note.set(collapseBlanks(invoiceCardNote(shownName)));
  return c;
}

// Whether the file at `path` holds exactly `bytes`.
bool sameBytes(const QByteArray& path, const QByteArray& bytes) {
  const SmallFile f = readSmallFile(path, bytes.size() + 1);
  return f.status == SmallFile::Status::Ok && f.bytes == bytes;
}

class Planner {
 public:
  Planner(const QByteArray& folder, const InvoicePlanOptions& options) : folder_(folder), options_(options) {
    for (const QString& id : options.ownIds) {
      const QString n = normalisedOwnId(id);
      if (n.isEmpty()) continue;
      own_.insert(n);
      if (n.size() == 13 && n.startsWith(u"IT")) own_.insert(n.mid(2));
    }
  }

  InvoicePlan plan(std::vector<InvoiceFileRead> files, const ProgressFn& progress) {
    plan_.notice = options_.notice;
    plan_.files.reserve(files.size());
    for (InvoiceFileRead& f : files) {
      PlannedFile pf;
      pf.read = std::move(f);
      plan_.files.push_back(std::move(pf));
    }
    contexts_.resize(plan_.files.size());
    for (size_t i = 0; i < plan_.files.size(); ++i) planFile(i);
    markPresent(progress);
    planCards();
    planAttachments();
    countYears();
    return std::move(plan_);
  }

 private:
  void planFile(size_t fi) {
    PlannedFile& pf = plan_.files[fi];
    if (!pf.read.document) {
      pf.skipReason = pf.read.reason.isEmpty() ? QStringLiteral("non letto") : pf.read.reason;
      return;
    }
    const InvoiceDocument& doc = *pf.read.document;
    const bool buyerOwn = isOwn(doc.buyer, own_);
    const bool sellerOwn = isOwn(doc.seller, own_);
    if (!buyerOwn && !sellerOwn) {
      pf.skipReason = QStringLiteral("non intestata all'azienda");
      return;
    }
    for (const InvoiceBody& body : doc.bodies) {
      PlannedBody pb;
      BodyContext c{&pf.read, &body, buyerOwn ? &doc.seller : &doc.buyer, buyerOwn ? &doc.buyer : &doc.seller};
      planBody(pb, c, buyerOwn);
      pf.bodies.push_back(std::move(pb));
      contexts_[fi].push_back(c);
    }
  }

  void planBody(PlannedBody& pb, const BodyContext& c, bool received) {
    const InvoiceBody& body = *c.body;
    pb.index = body.index;
    pb.type = body.type;
    pb.kind = documentKindText(body.type);
    pb.number = body.number;
    pb.date = body.date;
    pb.counterparty = collapseBlanks(c.counterparty->name());
    const qint64 total = body.documentCents();
    pb.totalCents = total < 0 ? -total : total;
    const bool reversed = body.type == u"TD04" || total < 0;
    pb.direction = received != reversed ? InvoiceDirection::Out : InvoiceDirection::In;
    if (!body.problem.isEmpty()) {
      pb.skipReason = body.problem;
      return;
    }
    if (movesVatOnly(body.type)) {
      pb.skipReason = QStringLiteral("%1: documento che muove l'IVA, non denaro (integrazione o autofattura)")
                          .arg(body.type);
      return;
    }
    if (pb.kind.isEmpty()) {
      pb.skipReason = QStringLiteral("tipo di documento %1 non importato").arg(body.type.isEmpty() ? u"mancante"_qs : body.type);
      return;
    }
    if (body.currency != u"EUR") {
      pb.skipReason = body.currency.isEmpty() ? QStringLiteral("divisa mancante")
                                              : QStringLiteral("divisa %1: si importano solo gli euro").arg(body.currency);
      return;
    }
    std::vector<Instalment> instalments;
    if (body.instalments.empty()) {
      instalments.push_back({nullptr, pb.totalCents});
    } else {
      for (size_t k = 0; k < body.instalments.size(); ++k) {
        const InvoiceInstalment& in = body.instalments[k];
        if (!in.cents) {
          pb.skipReason = QStringLiteral("manca l'importo della rata %1").arg(k + 1);
          return;
        }
        instalments.push_back({&in, *in.cents < 0 ? -*in.cents : *in.cents});
      }
    }
    instalments.erase(std::remove_if(instalments.begin(), instalments.end(), [](const Instalment& i) { return i.cents == 0; }),
                      instalments.end());
    if (instalments.empty()) {
      pb.skipReason = QStringLiteral("importo zero");
      return;
    }
    pb.warnings = codeWarnings(*c.counterparty, body.instalments);
    const int n = int(instalments.size());
    for (int k = 0; k < n; ++k) {
      PlannedInstalment pi;
      pi.id = ++lastId_;
      pi.k = k + 1;
      pi.n = n;
      pi.date = body.date;
      const Instalment& in = instalments[size_t(k)];
      pi.due = in.source ? in.source->due(body.date) : body.date;
      pi.cents = in.cents;
      pi.method = in.source && !in.source->method.isEmpty() ? paymentMethodText(in.source->method) : QString();
      pi.iban = in.source ? in.source->iban : QString();
      pi.movement = movementOf(c, pb, in, k + 1, n, pi.due, options_.notice);
      pb.instalments.push_back(std::move(pi));
    }
  }

  // Met earlier in the run, or already in its year's archive.
  void markPresent(const ProgressFn& progress) {
    QSet<QString> met;
    std::map<int, std::vector<PlannedInstalment*>> byYear;
    for (PlannedFile& f : plan_.files) {
      for (PlannedBody& b : f.bodies) {
        for (PlannedInstalment& i : b.instalments) {
          const QString key = runKey(i.movement);
          if (met.contains(key)) {
            i.state = InstalmentState::Present;
            continue;
          }
          met.insert(key);
          byYear[i.year()].push_back(&i);
        }
      }
    }
    std::vector<YearCandidates> years;
    for (const auto& [year, list] : byYear) {
      years.push_back({year, list.size(), [&list = list](size_t k) { return list[k]->movement; }});
    }
    const auto present = presentInYears(folder_, years, progress);
    size_t y = 0;
    for (const auto& [year, list] : byYear) {
      for (size_t k = 0; k < list.size(); ++k) {
        if (present[y][k]) list[k]->state = InstalmentState::Present;
      }
      ++y;
    }
  }

  static bool hasNew(const PlannedBody& b) {
    return std::any_of(b.instalments.begin(), b.instalments.end(),
                       [](const PlannedInstalment& i) { return i.state == InstalmentState::New; });
  }

  void planCards() {
    const CardKeys stored = storedCardKeys(folder_);
    std::map<std::pair<int, QString>, int> planned;  // (key kind, key text) -> card index
    for (size_t fi = 0; fi < plan_.files.size(); ++fi) {
      PlannedFile& f = plan_.files[fi];
      for (size_t bi = 0; bi < f.bodies.size(); ++bi) {
        PlannedBody& b = f.bodies[bi];
        if (b.skipped() || !hasNew(b)) continue;
        const BodyContext& c = contexts_[fi][bi];
        const bool received = c.company == &c.file->document->buyer;
        TCliente card = cardOf(*c.counterparty, *c.body, received, f.read.shownName);
        const auto [key, text] = cardKey(card);
        if (text.isEmpty() || stored.has(key, text)) continue;
        const std::pair<int, QString> id{int(key), key == PlannedCard::Key::Name ? CardKeys::nameKey(text) : text};
        const auto it = planned.find(id);
        if (it != planned.end()) {
          b.card = it->second;
          continue;
        }
        b.card = int(plan_.cards.size());
        planned.emplace(id, b.card);
        plan_.cards.push_back({card, int(fi), int(bi), key, text});
      }
    }
  }

  // Numbers the wanted name away from a different file already there or
  // planned before; gives the index of the attachment (an earlier one when
  // the same content was planned under that name). `identity` tells two
  // planned contents apart (a readable copy by its invoice file's bytes);
  // `bytes` gives the content, asked only to compare with a stored file.
  int attach(PlannedAttachment a, const QByteArray& identity, const std::function<QByteArray()>& bytes) {
    const QString folder = attachmentsFolder(decodePath(folder_));
    for (int k = 1;; ++k) {
      const QString name = k == 1 ? a.wantedName : numberedAttachmentName(a.wantedName, k);
      const auto planned = plannedNames_.find(name.toCaseFolded());
      if (planned != plannedNames_.end()) {
        if (plannedIdentity_[size_t(planned->second)] == identity) return planned->second;
        continue;
      }
      const QByteArray path = encodePath(folder + name);
      if (pathExists(path)) {
        if (!sameBytes(path, bytes())) continue;
        a.shared = true;
      }
      a.name = name;
      const int index = int(plan_.attachments.size());
      plan_.attachments.push_back(a);
      plannedIdentity_.push_back(identity);
      plannedNames_.emplace(name.toCaseFolded(), index);
      return index;
    }
  }

  void planAttachments() {
    for (size_t fi = 0; fi < plan_.files.size(); ++fi) {
      PlannedFile& f = plan_.files[fi];
      if (std::none_of(f.bodies.begin(), f.bodies.end(), hasNew)) continue;
      const QString original = safeAttachmentName(f.read.name);
      const QByteArray& fileBytes = f.read.bytes;
      f.original = attach({PlannedAttachment::Source::Original, original, {}, false, int(fi), 0}, "F" + fileBytes,
                          [&] { return fileBytes; });
      if (options_.makeReadableCopy) {
        // Made only when a stored file of its name must be compared.
        f.copy = attach({PlannedAttachment::Source::ReadableCopy, safeAttachmentName(readableCopyName(original)), {},
                         false, int(fi), 0},
                        "C" + fileBytes, [&] { return options_.makeReadableCopy(f.read); });
      }
      for (size_t bi = 0; bi < f.bodies.size(); ++bi) {
        PlannedBody& b = f.bodies[bi];
        const InvoiceBody& body = *contexts_[fi][bi].body;
        if (!hasNew(b) || body.attachments.empty()) continue;
        const InvoiceAttachment& a = body.attachments.front();
        QString wanted = a.name;
        if (wanted.isEmpty()) {
          wanted = QStringLiteral("allegato") + (a.format.isEmpty() ? QString() : u'.' + a.format.toLower());
        }
        b.embedded = attach(
            {PlannedAttachment::Source::Embedded, safeAttachmentName(wanted), {}, false, int(fi), int(bi)},
            "F" + a.bytes, [&a] { return a.bytes; });
      }
      nameAttachments(f);
    }
  }

  // The movements name the planned attachments.
  void nameAttachments(PlannedFile& f) {
    for (PlannedBody& b : f.bodies) {
      for (PlannedInstalment& i : b.instalments) setAttachmentFields(i.movement, plan_, f, b, {});
    }
  }

 public:
  // File01..File03 and their descriptions from the attachments' names (the
  // planned ones, or `finalNames` by index when given).
  static void setAttachmentFields(TMovimento& m, const InvoicePlan& plan, const PlannedFile& f, const PlannedBody& b,
                                  const std::vector<QString>& finalNames) {
    const auto nameOf = [&](int index) {
      if (index < 0) return QString();
      return finalNames.empty() ? plan.attachments[size_t(index)].name : finalNames[size_t(index)];
    };
    if (const QString name = nameOf(f.original); !name.isEmpty()) {
      m.File01.set(name);
      m.Desc01.set(QString::fromUtf8(kOriginalDescription));
    }
    if (const QString name = nameOf(f.copy); !name.isEmpty()) {
      m.File02.set(name);
      m.Desc02.set(QString::fromUtf8(kReadableCopyDescription));
    }
    if (const QString name = nameOf(b.embedded); !name.isEmpty()) {
      const InvoiceAttachment& a = f.read.document->bodies[size_t(b.index - 1)].attachments.front();
      m.File03.set(name);
      m.Desc03.set(collapseBlanks(a.description.isEmpty() ? QString::fromUtf8(kEmbeddedDefaultDescription) : a.description));
    }
  }

 private:
  void countYears() {
    std::map<int, YearCount> years;
    for (const PlannedFile& f : plan_.files) {
      for (const PlannedBody& b : f.bodies) {
        for (const PlannedInstalment& i : b.instalments) {
          YearCount& y = years[i.year()];
          y.year = i.year();
          ++(i.state == InstalmentState::New ? y.added : y.present);
        }
      }
    }
    for (const auto& [year, count] : years) plan_.years.push_back(count);
  }

  QByteArray folder_;
  const InvoicePlanOptions& options_;
  QSet<QString> own_;
  InvoicePlan plan_;
  std::vector<std::vector<BodyContext>> contexts_;
  int lastId_ = 0;
  std::map<QString, int> plannedNames_;  // case-folded name -> attachment index
  std::vector<QByteArray> plannedIdentity_;
};

}  // namespace

InvoicePlan planInvoiceImport(std::vector<InvoiceFileRead> files, const QByteArray& folder,
                              const InvoicePlanOptions& options, const ProgressFn& progress) {
  return Planner(folder, options).plan(std::move(files), progress);
}

// ---- Writing ----------------------------------------------------------------

namespace {

QString writeFailureText(const QString& name, const WriteFailure& f, bool italian) {
  return italian ? QStringLiteral("Impossibile scrivere l'allegato %1. %2").arg(name, f.italian())
                 : QStringLiteral("cannot write the attachment %1: %2").arg(name, f.english());
}

class Writer {
 public:
  Writer(const InvoicePlan& plan, const QByteArray& folder, const ReadableCopyMaker& maker, const QSet<int>& leaveOut)
      : plan_(plan), folder_(folder), maker_(maker), leaveOut_(leaveOut) {}

  InvoiceImportResult write(const ProgressFn& progress) {
    choose();
    writeAttachments();
    writeCards();
    writeMovements(progress);
    return result_;
  }

 private:
  bool written(const PlannedInstalment& i) const {
    return i.state == InstalmentState::New && !leaveOut_.contains(i.id);
  }

  // What is needed by the instalments to write.
  void choose() {
    neededAttachments_.assign(plan_.attachments.size(), false);
    neededCards_.assign(plan_.cards.size(), false);
    for (const PlannedFile& f : plan_.files) {
      for (const PlannedBody& b : f.bodies) {
        if (std::none_of(b.instalments.begin(), b.instalments.end(), [&](const PlannedInstalment& i) { return written(i); })) {
          continue;
        }
        for (int a : {f.original, f.copy, b.embedded}) {
          if (a >= 0) neededAttachments_[size_t(a)] = true;
        }
        if (b.card >= 0) neededCards_[size_t(b.card)] = true;
      }
    }
  }

  QByteArray bytesOf(const PlannedAttachment& a) {
    const PlannedFile& f = plan_.files[size_t(a.file)];
    switch (a.source) {
      case PlannedAttachment::Source::Original:
        return f.read.bytes;
      case PlannedAttachment::Source::ReadableCopy:
        return maker_ ? maker_(f.read) : QByteArray();
      case PlannedAttachment::Source::Embedded:
        return f.read.document->bodies[size_t(plan_.files[size_t(a.file)].bodies[size_t(a.body)].index - 1)]
            .attachments.front()
            .bytes;
    }
    return {};
  }

  [[noreturn]] void failAttachment(const QString& name, const WriteFailure& f) {
    throw InvoiceWriteError(InvoiceWriteError::Stage::Attachments, result_, writeFailureText(name, f, false),
                            writeFailureText(name, f, true), f.errorKind());
  }

  // Each needed attachment under its planned name, or the next free number:
  // a file already there is shared when its bytes are the same and is never
  // replaced. The new files are stored together (core/replacefile.h
  // storeNewFiles), a name taken meanwhile by another file moving on to the
  // next number.
  void writeAttachments() {
    finalNames_.resize(plan_.attachments.size());
    const QString folderText = attachmentsFolder(decodePath(folder_));
    const QByteArray folder = encodePath(QStringView(folderText).chopped(1));
    struct Pending {
      size_t index;
      QByteArray bytes;
      int k = 1;
    };
    std::vector<Pending> pending;
    for (size_t i = 0; i < plan_.attachments.size(); ++i) {
      if (!neededAttachments_[i]) continue;
      QByteArray bytes = bytesOf(plan_.attachments[i]);
      if (plan_.attachments[i].source == PlannedAttachment::Source::ReadableCopy && bytes.isEmpty()) continue;
      pending.push_back({i, std::move(bytes)});
    }
    if (pending.empty()) return;
    if (!makeFolders(folder)) failAttachment(QString::fromLatin1(kAttachmentsFolderName), WriteFailure(WriteFailure::Kind::System, errno));
    QSet<QString> taken;
    while (!pending.empty()) {
      // Each one's name: the first that no other of the run has and that is
      // free or holds the same bytes.
      std::vector<NewFile> files;
      std::vector<Pending*> stored;
      for (Pending& p : pending) {
        const QString wanted = plan_.attachments[p.index].name;
        for (;; ++p.k) {
          const QString name = p.k == 1 ? wanted : numberedAttachmentName(wanted, p.k);
          if (taken.contains(name.toCaseFolded())) continue;
          const QByteArray path = encodePath(folderText + name);
          if (pathExists(path)) {
            if (!sameBytes(path, p.bytes)) continue;
            ++result_.attachmentsShared;
            finalNames_[p.index] = name;
          } else {
            files.push_back({encodePath(name), p.bytes});
            stored.push_back(&p);
          }
          taken.insert(name.toCaseFolded());
          break;
        }
      }
      std::vector<NewFileState> states;
      WriteFailure why;
      const bool ok = storeNewFiles(folder, files, &states, &why);
      std::vector<Pending> again;
      for (size_t f = 0; f < files.size(); ++f) {
        if (states[f] == NewFileState::Stored) {
          ++result_.attachmentsStored;
          finalNames_[stored[f]->index] = decodePath(files[f].name);
        } else if (states[f] == NewFileState::NameTaken) {
          again.push_back(std::move(*stored[f]));
        }
      }
      if (!ok) {
        const auto failed = std::find(states.begin(), states.end(), NewFileState::NotWritten);
        failAttachment(failed == states.end() ? QString() : decodePath(files[size_t(failed - states.begin())].name), why);
      }
      pending = std::move(again);
    }
  }

  // The cards not in the address book under its lock, as one batch.
  void writeCards() {
    std::vector<const PlannedCard*> cards;
    for (size_t i = 0; i < plan_.cards.size(); ++i) {
      if (neededCards_[i]) cards.push_back(&plan_.cards[i]);
    }
    if (cards.empty()) return;
    try {
      ClientArchive book = ClientArchive::OpenOrCreate(clientArchivePath(folder_));
      QByteArray records;
      const RecordFile::Appended done = book.file().appendBlocks([&](qint64) {
        const CardKeys stored = cardKeysOf(book);
        records.clear();
        for (const PlannedCard* c : cards) {
          if (stored.has(c->key, c->keyText)) continue;
          records.append(reinterpret_cast<const char*>(&c->card), qsizetype(sizeof(TCliente)));
        }
        return std::vector<QByteArrayView>{QByteArrayView(records)};
      });
      result_.cardsAdded = done.count;
      book.Close();
    } catch (const ArchiveError& e) {
      // One batch: the cards whose records are whole in the file count as added.
      if (e.writtenAt() > 0) result_.cardsAdded = e.writtenAt() - e.writtenFrom() + 1;
      throw InvoiceWriteError(InvoiceWriteError::Stage::Cards, result_, e.english(), e.italian(), e.errorKind());
    }
  }

  void writeMovements(const ProgressFn& progress) {
    std::map<int, std::vector<std::pair<const PlannedInstalment*, std::pair<const PlannedFile*, const PlannedBody*>>>> byYear;
    std::map<int, qint64> presentInPlan;
    for (const PlannedFile& f : plan_.files) {
      for (const PlannedBody& b : f.bodies) {
        for (const PlannedInstalment& i : b.instalments) {
          if (i.state == InstalmentState::Present) ++presentInPlan[i.year()];
          else if (written(i)) byYear[i.year()].push_back({&i, {&f, &b}});
        }
      }
    }
    std::vector<YearCandidates> years;
    for (const auto& [year, list] : byYear) {
      years.push_back({year, list.size(), [this, &list = list](size_t k) {
                         TMovimento m = list[k].first->movement;
                         clearAttachmentFields(m);
                         Planner::setAttachmentFields(m, plan_, *list[k].second.first, *list[k].second.second, finalNames_);
                         return m;
                       }});
    }
    const auto withPlanPresent = [&](std::vector<YearCount> counts) {
      std::map<int, YearCount> all;
      for (const YearCount& y : counts) all[y.year] = y;
      for (const auto& [year, n] : presentInPlan) {
        all[year].year = year;
        all[year].present += n;
      }
      std::vector<YearCount> out;
      for (const auto& [year, y] : all) out.push_back(y);
      return out;
    };
    try {
      result_.years = withPlanPresent(years.empty() ? std::vector<YearCount>{} : appendToYears(folder_, years, progress).years);
    } catch (const ImportWriteError& e) {
      result_.years = withPlanPresent(e.result().years);
      throw InvoiceWriteError(InvoiceWriteError::Stage::Movements, result_, e.english(), e.italian(), e.errorKind(),
                              e.failures());
    }
  }

  static void clearAttachmentFields(TMovimento& m) {
    for (auto* f : {&m.File01, &m.File02, &m.File03, &m.Desc01, &m.Desc02, &m.Desc03}) f->set(u"");
  }

  const InvoicePlan& plan_;
  QByteArray folder_;
  const ReadableCopyMaker& maker_;
  const QSet<int>& leaveOut_;
  InvoiceImportResult result_;
  std::vector<bool> neededAttachments_;
  std::vector<bool> neededCards_;
  std::vector<QString> finalNames_;
};

}  // namespace

InvoiceImportResult importInvoices(const InvoicePlan& plan, const QByteArray& folder,
                                   const ReadableCopyMaker& makeReadableCopy, const QSet<int>& leaveOut,
                                   const ProgressFn& progress) {
  return Writer(plan, folder, makeReadableCopy, leaveOut).write(progress);
}

}  // namespace fondaro
