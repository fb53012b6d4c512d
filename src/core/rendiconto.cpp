// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/rendiconto.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/spreadsheet.h"
#include "core/writehook.h"

namespace fondaro::rendiconto {
namespace {

using categories::PeriodMovement;

const QString kMaterie = QStringLiteral("Materie prime, sussidiarie, di consumo e di merci");

// A section: its Uscite heading and lines, its Entrate heading and lines, and
// the text of its avanzo row (empty: none).
struct Section {
  QString letter;
  QString uscite;
  QStringList usciteLines;
  QString entrate;
  QStringList entrateLines;
  QString result;
};

const std::vector<Section>& sections() {
  static const std::vector<Section> list = {
      {u"A"_qs, u"A) Uscite da attività di interesse generale"_qs,
       {kMaterie, u"Servizi"_qs, u"Godimento beni di terzi"_qs, u"Personale"_qs, u"Uscite diverse di gestione"_qs},
       u"A) Entrate da attività di interesse generale"_qs,
       {u"Entrate da quote associative e apporti dei fondatori"_qs, u"Entrate dagli associati per attività mutuali"_qs,
        u"Entrate per prestazioni e cessioni ad associati e fondatori"_qs, u"Erogazioni liberali"_qs,
        u"Entrate del 5 per mille"_qs, u"Contributi da soggetti privati"_qs,
        u"Entrate per prestazioni e cessioni a terzi"_qs, u"Contributi da enti pubblici"_qs,
        u"Entrate da contratti con enti pubblici"_qs, u"Altre entrate"_qs},
       u"Avanzo/disavanzo attività di interesse generale (+/-)"_qs},
      {u"B"_qs, u"B) Uscite da attività diverse"_qs,
       {kMaterie, u"Servizi"_qs, u"Godimento beni di terzi"_qs, u"Personale"_qs, u"Uscite diverse di gestione"_qs},
       u"B) Entrate da attività diverse"_qs,
       {u"Entrate per prestazioni e cessioni ad associati e fondatori"_qs, u"Contributi da soggetti privati"_qs,
        u"Entrate per prestazioni e cessioni a terzi"_qs, u"Contributi da enti pubblici"_qs,
        u"Entrate da contratti con enti pubblici"_qs, u"Altre entrate"_qs},
       u"Avanzo/disavanzo attività diverse (+/-)"_qs},
      {u"C"_qs, u"C) Uscite da attività di raccolta fondi"_qs,
       {u"Uscite per raccolte fondi abituali"_qs, u"Uscite per raccolte fondi occasionali"_qs, u"Altre uscite"_qs},
       u"C) Entrate da attività di raccolta fondi"_qs,
       {u"Entrate da raccolte fondi abituali"_qs, u"Entrate da raccolte fondi occasionali"_qs, u"Altre entrate"_qs},
       u"Avanzo/disavanzo attività di raccolta fondi (+/-)"_qs},
      {u"D"_qs, u"D) Uscite da attività finanziarie e patrimoniali"_qs,
       {u"Su rapporti bancari"_qs, u"Su investimenti finanziari"_qs, u"Su patrimonio edilizio"_qs,
        u"Su altri beni patrimoniali"_qs, u"Altre uscite"_qs},
       u"D) Entrate da attività finanziarie e patrimoniali"_qs,
       {u"Da rapporti bancari"_qs, u"Da altri investimenti finanziari"_qs, u"Da patrimonio edilizio"_qs,
        u"Da altri beni patrimoniali"_qs, u"Altre entrate"_qs},
       u"Avanzo/disavanzo attività finanziarie e patrimoniali (+/-)"_qs},
      {u"E"_qs, u"E) Uscite di supporto generale"_qs,
       {kMaterie, u"Servizi"_qs, u"Godimento beni di terzi"_qs, u"Personale"_qs, u"Altre uscite"_qs},
       u"E) Entrate di supporto generale"_qs,
       {u"Entrate da distacco del personale"_qs, u"Altre entrate di supporto generale"_qs}, QString()},
      {u"F"_qs, u"Uscite da investimenti in immobilizzazioni o da deflussi di capitale di terzi"_qs,
       {u"Investimenti in immobilizzazioni inerenti alle attività di interesse generale"_qs,
        u"Investimenti in immobilizzazioni inerenti alle attività diverse"_qs,
        u"Investimenti in attività finanziarie e patrimoniali"_qs,
        u"Rimborso di finanziamenti per quota capitale e di prestiti"_qs},
       u"Entrate da disinvestimenti in immobilizzazioni o da flussi di capitale di terzi"_qs,
       {u"Disinvestimenti di immobilizzazioni inerenti alle attività di interesse generale"_qs,
        u"Disinvestimenti di immobilizzazioni inerenti alle attività diverse"_qs,
        u"Disinvestimenti di attività finanziarie e patrimoniali"_qs,
        u"Ricevimento di finanziamenti e di prestiti"_qs},
       QString()},
  };
  return list;
}

const QString kR2 = u"Avanzo/disavanzo d'esercizio prima di investimenti e disinvestimenti patrimoniali, e finanziamenti (+/-)"_qs;
const QString kR3 = u"Avanzo/disavanzo da entrate e uscite per investimenti e disinvestimenti patrimoniali e finanziamenti (+/-)"_qs;

void addSide(std::vector<FormRow>& rows, const QString& prefix, const QString& heading, const QStringList& lines,
             Side side, bool figurativo = false) {
  rows.push_back({prefix, RowKind::Heading, side, heading, false, figurativo});
  for (qsizetype i = 0; i < lines.size(); ++i)
    rows.push_back({prefix + u'.' + QString::number(i + 1), RowKind::Line, side,
                    QString::number(i + 1) + QStringLiteral(") ") + lines[i], false, figurativo});
  rows.push_back({prefix + QStringLiteral(".T"), RowKind::Total, side, u"Totale"_qs, false, figurativo});
}

std::vector<FormRow> makeRows() {
  std::vector<FormRow> rows;
  for (const Section& s : sections()) {
    addSide(rows, s.letter + QStringLiteral(".U"), s.uscite, s.usciteLines, Side::Uscite);
    addSide(rows, s.letter + QStringLiteral(".E"), s.entrate, s.entrateLines, Side::Entrate);
    if (!s.result.isEmpty()) rows.push_back({s.letter + QStringLiteral(".R"), RowKind::Result, Side::Neither, s.result});
    if (s.letter == u"E") {
      rows.push_back({u"G.U"_qs, RowKind::Total, Side::Uscite, u"Totale uscite della gestione"_qs});
      rows.push_back({u"G.E"_qs, RowKind::Total, Side::Entrate, u"Totale entrate della gestione"_qs});
      rows.push_back({u"R1"_qs, RowKind::Result, Side::Neither,
                      u"Avanzo/disavanzo d'esercizio prima delle imposte (+/-)"_qs});
      rows.push_back({u"I1"_qs, RowKind::Taxes, Side::Uscite, u"Imposte"_qs});
      rows.push_back({u"R2"_qs, RowKind::Result, Side::Neither, kR2});
    }
  }
  rows.push_back({u"I2"_qs, RowKind::Taxes, Side::Uscite, u"Imposte"_qs});
  rows.push_back({u"R3"_qs, RowKind::Result, Side::Neither, kR3});
  // The summary block shows both results again before their sum.
  QString r2Summary = kR2;
  r2Summary.remove(u',');
  rows.push_back({u"R2"_qs, RowKind::Result, Side::Neither, r2Summary, true});
  rows.push_back({u"R3"_qs, RowKind::Result, Side::Neither, kR3, true});
  rows.push_back({u"R4"_qs, RowKind::Result, Side::Neither, u"Avanzo/disavanzo complessivo (+/-)"_qs});
  rows.push_back({u"K"_qs, RowKind::Balance, Side::Neither, u"Cassa e banca (+/-)"_qs});
  rows.push_back({u"K.C"_qs, RowKind::Balance, Side::Neither, u"Cassa"_qs});
  rows.push_back({u"K.B"_qs, RowKind::Balance, Side::Neither, u"Depositi bancari e postali"_qs});
  addSide(rows, u"CF"_qs, u"Costi figurativi"_qs,
          {u"da attività di interesse generale"_qs, u"da attività diverse"_qs}, Side::Uscite, true);
  addSide(rows, u"PF"_qs, u"Proventi figurativi"_qs,
          {u"da attività di interesse generale"_qs, u"da attività diverse"_qs}, Side::Entrate, true);
  return rows;
}

bool classifiable(const FormRow& r) { return r.kind == RowKind::Line || r.kind == RowKind::Taxes; }

int sideIndex(Side s) { return s == Side::Uscite ? 0 : 1; }

// ---- JSON ------------------------------------------------------------------

[[noreturn]] void damaged(const QString& why) { throw RendicontoError(RendicontoError::Kind::Damaged, why); }

std::optional<qint64> parseCents(const QString& text) {
  const std::optional<ExactAmount> a = ExactAmount::parse(text);
  if (!a) return std::nullopt;
  return a->roundedCents();
}

QString codeOf(const QJsonValue& v, Side side, const QString& where) {
  if (v.isNull() || v.isUndefined()) return {};
  if (!v.isString()) damaged(QStringLiteral("%1: not a code").arg(where));
  const QString code = v.toString().trimmed();
  if (code == kExcluded) return code;
  const FormRow* row = rowOf(code);
  if (!row || !classifiable(*row) || row->side != side)
    damaged(QStringLiteral("%1: \"%2\" is no line of this side").arg(where, code));
  return code;
}

}  // namespace

const std::vector<FormRow>& formRows() {
  static const std::vector<FormRow> rows = makeRows();
  return rows;
}

const FormRow* rowOf(QStringView code) {
  for (const FormRow& r : formRows())
    if (r.code == code && !r.repeated && r.kind != RowKind::Heading) return &r;
  return nullptr;
}

std::vector<const FormRow*> choicesFor(Side side) {
  std::vector<const FormRow*> out;
  for (const FormRow& r : formRows())
    if (classifiable(r) && r.side == side) out.push_back(&r);
  return out;
}

QString choiceCaption(const FormRow& row) {
  QString text = row.text;
  if (row.kind == RowKind::Line) text = text.mid(text.indexOf(u')') + 2);
  return row.code + QStringLiteral(" - ") + text;
}

// ---- errors and the file -------------------------------------------------------

RendicontoError::RendicontoError(Kind kind, QString detail, int sysError)
    : UserError(detail.toStdString()), kind_(kind), detail_(std::move(detail)), err_(sysError) {}

QString RendicontoError::italian() const {
  switch (kind_) {
    case Kind::Read:
      return QStringLiteral("Attenzione: il file Rendiconto.json non può essere letto (%1).")
          .arg(systemErrorItalian(err_));
    case Kind::Damaged:
      return QStringLiteral(
                 "Attenzione: il file Rendiconto.json non contiene una classificazione valida (%1).\n\n"
                 "Il file non viene modificato: correggerlo o spostarlo altrove.")
          .arg(detail_);
    case Kind::Write:
      return QStringLiteral("Attenzione: il file Rendiconto.json non può essere salvato (%1).")
          .arg(systemErrorItalian(err_));
  }
  return detail_;
}

UserError::Kind RendicontoError::errorKind() const {
  return kind_ == Kind::Damaged ? UserError::Kind::Damaged : UserError::Kind::System;
}

QByteArray settingsPath(const QByteArray& folder) { return joinPath(folder, "Rendiconto.json"); }

Settings readSettings(const QByteArray& folder) {
  const QByteArray path = settingsPath(folder);
  const auto failed = [&](int e) {
    return RendicontoError(RendicontoError::Kind::Read,
                           displayPath(path) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(e)), e);
  };
  // Not blocking: a pipe under the name must not hang the program.
  const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    throw failed(errno);
  }
  struct FdCloser {
    int fd;
    ~FdCloser() { ::close(fd); }
  } closer{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) throw failed(errno);
  if (!S_ISREG(st.st_mode)) damaged(displayPath(path) + u": not a regular file"_qs);
  // Larger than any classification a person keeps: not ours.
  constexpr qint64 kMaxBytes = 16 << 20;
  if (st.st_size > kMaxBytes) damaged(displayPath(path) + u": larger than 16 MiB"_qs);
  QByteArray bytes(qsizetype(st.st_size), Qt::Uninitialized);
  qsizetype got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw failed(errno);
    if (n == 0) break;
    got += n;
  }
  bytes.truncate(got);
  try {
    return settingsFromJson(bytes);
  } catch (const RendicontoError& e) {
    throw RendicontoError(e.kind(), displayPath(path) + QStringLiteral(": ") + e.english());
  }
}

QByteArray settingsToJson(const Settings& s) {
  QJsonArray list;
  for (const Classification& c : s.classificazione) {
    QJsonObject o;
    o.insert(u"categoria"_qs, c.categoria);
    o.insert(u"uscite"_qs, c.uscite.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(c.uscite));
    o.insert(u"entrate"_qs, c.entrate.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(c.entrate));
    list.append(o);
  }
  QJsonObject saldi;
  for (const auto& [year, b] : s.saldi) {
    QJsonObject o;
    o.insert(u"cassa"_qs, categories::centsText(b.cassa));
    o.insert(u"banca"_qs, categories::centsText(b.banca));
    saldi.insert(QString::number(year), o);
  }
  QJsonObject root;
  root.insert(u"classificazione"_qs, list);
  root.insert(u"saldi"_qs, saldi);
  root.insert(u"figurativi"_qs, s.figurativi);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

Settings settingsFromJson(const QByteArray& bytes) {
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
  if (pe.error != QJsonParseError::NoError) damaged(QStringLiteral("not JSON: ") + pe.errorString());
  if (!doc.isObject()) damaged(u"not a JSON object"_qs);
  const QJsonObject root = doc.object();
  Settings s;
  const QJsonValue list = root.value(u"classificazione"_qs);
  if (!list.isUndefined() && !list.isArray()) damaged(u"\"classificazione\" is not a list"_qs);
  int n = 0;
  for (const QJsonValue& v : list.toArray()) {
    ++n;
    const QString where = QStringLiteral("classificazione %1").arg(n);
    if (!v.isObject() || !v.toObject().value(u"categoria"_qs).isString()) damaged(where + u": no \"categoria\""_qs);
    const QJsonObject o = v.toObject();
    s.classificazione.push_back({o.value(u"categoria"_qs).toString(), codeOf(o.value(u"uscite"_qs), Side::Uscite, where),
                                 codeOf(o.value(u"entrate"_qs), Side::Entrate, where)});
  }
  const QJsonValue saldi = root.value(u"saldi"_qs);
  if (!saldi.isUndefined() && !saldi.isObject()) damaged(u"\"saldi\" is not an object"_qs);
  const QJsonObject so = saldi.toObject();
  for (auto it = so.begin(); it != so.end(); ++it) {
    bool ok = false;
    const int year = it.key().toInt(&ok);
    if (!ok || it.key().size() != 4 || year < 1000) damaged(QStringLiteral("saldi: \"%1\" is not a year").arg(it.key()));
    if (!it.value().isObject()) damaged(QStringLiteral("saldi %1: not an object").arg(year));
    YearBalances b;
    for (const auto& [name, target] : {std::pair{u"cassa"_qs, &b.cassa}, std::pair{u"banca"_qs, &b.banca}}) {
      const QJsonValue v = it.value().toObject().value(name);
      if (v.isUndefined() || v.isNull()) continue;
      const std::optional<qint64> cents = v.isString() ? parseCents(v.toString()) : std::nullopt;
      if (!cents) damaged(QStringLiteral("saldi %1: %2 is not an amount").arg(year).arg(name));
      *target = *cents;
    }
    s.saldi[year] = b;
  }
  const QJsonValue fig = root.value(u"figurativi"_qs);
  if (!fig.isUndefined() && !fig.isBool()) damaged(u"\"figurativi\" is not true or false"_qs);
  s.figurativi = fig.toBool();
  return s;
}

void writeSettings(const QByteArray& folder, const Settings& settings) {
  const QByteArray path = settingsPath(folder);
  const QByteArray bytes = settingsToJson(settings);
  beforeWrite(path);
  WriteFailure why;
  if (!replaceFileBytes(path, [&](int fd) { return writeAllTo(fd, bytes.constData(), bytes.size()); }, &why))
    throw RendicontoError(RendicontoError::Kind::Write, displayPath(path) + QStringLiteral(": ") + why.english(),
                          why.err);
}

Settings updateSettings(const QByteArray& folder, const std::function<void(Settings&)>& change) {
  Settings s = readSettings(folder);
  change(s);
  writeSettings(folder, s);
  return s;
}

// ---- classification ------------------------------------------------------------

Classifier::Classifier(const std::vector<Classification>& list) {
  for (const Classification& c : list) {
    auto& codes = byKey_[categories::categoryKey(c.categoria)];
    // A later entry for the same category fills what an earlier left open.
    if (!c.uscite.isEmpty()) codes[0] = c.uscite;
    if (!c.entrate.isEmpty()) codes[1] = c.entrate;
  }
}

QString Classifier::ownCode(QStringView categoria, Side side) const {
  const auto it = byKey_.find(categories::categoryKey(categoria));
  return it == byKey_.end() ? QString() : it->second[size_t(sideIndex(side))];
}

QString Classifier::codeFor(QStringView categoria, Side side) const {
  const QString own = ownCode(categoria, side);
  if (!own.isEmpty()) return own;
  const categories::CategoryName n = categories::splitCategory(categoria);
  if (n.subcategory.isEmpty()) return {};
  return ownCode(n.category, side);
}

// ---- computing -------------------------------------------------------------------

void Outside::add(const PeriodMovement& m) {
  ++count;
  (m.expense ? expense : income) += m.amount;
}

void Outside::add(const Outside& o) {
  count += o.count;
  income += o.income;
  expense += o.expense;
}

std::vector<FormLine> computeForm(const std::array<LineAmounts, 2>& lines,
                                  const std::array<std::optional<YearBalances>, 2>& balances,
                                  const FormOptions& options) {
  std::array<std::map<QString, qint64>, 2> v;
  for (int c = 0; c < 2; ++c) {
    auto& m = v[size_t(c)];
    const auto at = [&](const QString& code) {
      const auto it = lines[size_t(c)].find(code);
      return it == lines[size_t(c)].end() ? qint64(0) : it->second;
    };
    // Lines and their totals.
    for (const FormRow& r : formRows()) {
      if (classifiable(r)) m[r.code] = at(r.code);
      if (r.kind == RowKind::Line) m[r.code.left(r.code.lastIndexOf(u'.')) + QStringLiteral(".T")] += at(r.code);
    }
    for (const QString& s : {u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs})
      m[s + QStringLiteral(".R")] = m[s + QStringLiteral(".E.T")] - m[s + QStringLiteral(".U.T")];
    for (const QString& s : {u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs, u"E"_qs}) {
      m[u"G.U"_qs] += m[s + QStringLiteral(".U.T")];
      m[u"G.E"_qs] += m[s + QStringLiteral(".E.T")];
    }
    m[u"R1"_qs] = m[u"G.E"_qs] - m[u"G.U"_qs];
    m[u"R2"_qs] = m[u"R1"_qs] - m[u"I1"_qs];
    m[u"R3"_qs] = m[u"F.E.T"_qs] - m[u"F.U.T"_qs] - m[u"I2"_qs];
    m[u"R4"_qs] = m[u"R2"_qs] + m[u"R3"_qs];
    if (balances[size_t(c)]) {
      m[u"K.C"_qs] = balances[size_t(c)]->cassa;
      m[u"K.B"_qs] = balances[size_t(c)]->banca;
      m[u"K"_qs] = balances[size_t(c)]->cassa + balances[size_t(c)]->banca;
    }
  }
  std::vector<FormLine> out;
  for (const FormRow& r : formRows()) {
    if (r.figurativo && !options.figurativi) continue;
    FormLine l{&r, {}};
    if (r.kind != RowKind::Heading) {
      for (int c = 0; c < 2; ++c) {
        const auto it = v[size_t(c)].find(r.code);
        if (it != v[size_t(c)].end()) l.amount[size_t(c)] = it->second;
      }
    }
    if (r.kind == RowKind::Line && !options.zeroLines && l.amount[0].value_or(0) == 0 && l.amount[1].value_or(0) == 0)
      continue;
    out.push_back(l);
  }
  return out;
}

Rendiconto buildRendiconto(const QByteArray& folder, int year, const Settings& settings, bool zeroLines) {
  // Per spelling of a category: [column][side] its settled movements, its
  // totals and its first use.
  struct Sums {
    std::array<std::array<Outside, 2>, 2> settledMoves;
    categories::Totals all;
    categories::FirstUse first;
  };
  std::vector<Sums> sums;
  Rendiconto r;
  r.year = year;
  const categories::PeriodRead read =
      categories::readPeriod(folder, QDate(year - 1, 1, 1), QDate(year, 12, 31), [&](const PeriodMovement& m) {
        if (size_t(m.spelling) == sums.size()) sums.push_back({{}, {}, {m.date, m.archiveYear, m.position}});
        Sums& s = sums[size_t(m.spelling)];
        if (m.date < s.first.date) s.first = {m.date, m.archiveYear, m.position};
        s.all.add(m);
        const size_t column = m.date.year() == year ? 0 : 1;
        if (!m.settled) {
          r.unsettled[column].add(m);
          return;
        }
        s.settledMoves[column][m.expense ? 0 : 1].add(m);
      });
  const Classifier classifier(settings.classificazione);
  std::array<std::map<QString, ExactAmount>, 2> in, out;
  std::vector<categories::Totals> totals;
  std::vector<categories::FirstUse> firstUse;
  for (size_t i = 0; i < sums.size(); ++i) {
    totals.push_back(sums[i].all);
    firstUse.push_back(sums[i].first);
    for (int side = 0; side < 2; ++side) {
      const QString code = classifier.codeFor(read.spellings[i], side == 0 ? Side::Uscite : Side::Entrate);
      for (size_t column = 0; column < 2; ++column) {
        const Outside& o = sums[i].settledMoves[column][size_t(side)];
        if (o.count == 0 || code == kExcluded) continue;
        if (code.isEmpty()) {
          r.unclassified[column].add(o);
          continue;
        }
        // Money out is added as a positive amount on its side, as money in is.
        (side == 0 ? out[column][code] : in[column][code]) += side == 0 ? o.expense : o.income;
      }
    }
  }
  std::array<LineAmounts, 2> lines;
  for (size_t column = 0; column < 2; ++column) {
    for (const auto& [code, amount] : in[column]) lines[column][code] += amount.roundedCents();
    for (const auto& [code, amount] : out[column]) lines[column][code] -= amount.roundedCents();
  }
  std::array<std::optional<YearBalances>, 2> balances;
  std::array<std::optional<YearBalances>, 3> known;
  for (int k = 0; k < 3; ++k) {
    const auto it = settings.saldi.find(year - k);
    if (it != settings.saldi.end()) known[size_t(k)] = it->second;
  }
  balances = {known[0], known[1]};
  r.lines = computeForm(lines, balances, {zeroLines, settings.figurativi});
  for (size_t column = 0; column < 2; ++column) {
    if (!known[column] || !known[column + 1]) continue;
    qint64 r4 = 0;
    for (const FormLine& l : r.lines)
      if (l.row->code == u"R4") r4 = l.amount[column].value_or(0);
    const qint64 k = known[column]->cassa + known[column]->banca;
    const qint64 before = known[column + 1]->cassa + known[column + 1]->banca;
    r.checkDifference[column] = k - before - r4;
  }
  r.categories = categories::groupSpellings(read.spellings, totals, firstUse);
  r.skipped = read.skipped;
  return r;
}

QString amountText(const FormLine& line, int column, bool thousands) {
  const std::optional<qint64> a = line.amount[size_t(column)];
  if (!a) return {};
  return categories::centsText(*a, false, thousands);
}

QStringList formToolLines(const Rendiconto& r) {
  QStringList out;
  for (const FormLine& l : r.lines) {
    if (l.row->kind == RowKind::Heading || l.row->repeated) continue;
    out << l.row->code + u'\t' + l.row->text + u'\t' + amountText(l, 0) + u'\t' + amountText(l, 1);
  }
  for (int column = 0; column < 2; ++column) {
    const Outside& o = r.unclassified[size_t(column)];
    if (o.count == 0) continue;
    out << QStringLiteral("non classificato\t%1\t%2\t%3\t%4")
               .arg(r.year - column)
               .arg(o.count)
               .arg(categories::centsText(o.income.roundedCents()), categories::centsText(-o.expense.roundedCents()));
  }
  return out;
}

QString formTitle(int year) { return QStringLiteral("Rendiconto per cassa - esercizio %1").arg(year); }

namespace {
// "1 movimento", "3 movimenti"
QString movementsText(qint64 n) {
  return QString::number(n) + (n == 1 ? QStringLiteral(" movimento") : QStringLiteral(" movimenti"));
}
}  // namespace

std::vector<FormNote> formNotes(const Rendiconto& r) {
  using categories::centsText;
  std::vector<FormNote> notes;
  for (int column = 0; column < 2; ++column) {
    const int year = r.year - column;
    const Outside& u = r.unclassified[size_t(column)];
    if (u.count > 0) {
      notes.push_back({QStringLiteral("Esercizio %1: %2 saldat%3 non classificat%3 (entrate %4, uscite %5): "
                                      "il rendiconto non è definitivo.")
                           .arg(year)
                           .arg(movementsText(u.count), u.count == 1 ? u"o"_qs : u"i"_qs)
                           .arg(centsText(u.income.roundedCents(), false, true),
                                centsText(-u.expense.roundedCents(), false, true)),
                       true});
    } else {
      notes.push_back({QStringLiteral("Esercizio %1: non classificato 0,00.").arg(year), false});
    }
    const Outside& n = r.unsettled[size_t(column)];
    if (n.count > 0) {
      notes.push_back({QStringLiteral("Esercizio %1: %2 non saldat%3 esclus%3 (entrate %4, uscite %5).")
                           .arg(year)
                           .arg(movementsText(n.count), n.count == 1 ? u"o"_qs : u"i"_qs)
                           .arg(centsText(n.income.roundedCents(), false, true),
                                centsText(-n.expense.roundedCents(), false, true)),
                       false});
    }
    const std::optional<qint64> d = r.checkDifference[size_t(column)];
    if (!d) {
      notes.push_back({QStringLiteral("Esercizio %1: verifica di cassa e banca non possibile (saldi al 31/12/%1 "
                                      "e al 31/12/%2 non indicati).")
                           .arg(year)
                           .arg(year - 1),
                       false});
    } else if (*d == 0) {
      notes.push_back({QStringLiteral("Esercizio %1: cassa e banca %1 - cassa e banca %2 = avanzo/disavanzo "
                                      "complessivo: verificato.")
                           .arg(year)
                           .arg(year - 1),
                       false});
    } else {
      notes.push_back({QStringLiteral("Esercizio %1: cassa e banca %1 - cassa e banca %2 differisce "
                                      "dall'avanzo/disavanzo complessivo di %3.")
                           .arg(year)
                           .arg(year - 1)
                           .arg(centsText(*d, true, true)),
                       true});
    }
  }
  return notes;
}

QStringList formPrintRows(const Rendiconto& r) {
  QStringList out;
  out << QStringLiteral("Y\t\tEs. %1\tEs. %2").arg(r.year).arg(r.year - 1);
  for (const FormLine& l : r.lines) {
    // A blank row before the gestione's totals, the summary and cassa e banca.
    if ((l.row->code == u"G.U" || l.row->code == u"K" || (l.row->repeated && l.row->code == u"R2")))
      out << u"S\t\t\t"_qs;
    QString kind;
    switch (l.row->kind) {
      case RowKind::Heading: kind = u"H"_qs; break;
      case RowKind::Line:
      case RowKind::Taxes: kind = u"L"_qs; break;
      case RowKind::Total: kind = u"T"_qs; break;
      case RowKind::Result: kind = u"R"_qs; break;
      case RowKind::Balance: kind = u"B"_qs; break;
    }
    out << kind + u'\t' + l.row->text + u'\t' + amountText(l, 0, true) + u'\t' + amountText(l, 1, true);
  }
  for (const FormNote& n : formNotes(r)) out << (n.fault ? u"F\t"_qs : u"N\t"_qs) + n.text + u"\t\t"_qs;
  return out;
}

QByteArray formSheet(const Rendiconto& r) {
  const std::vector<SheetColumn> columns = {{u"Codice"_qs, 70, CellKind::Text},
                                            {u"Voce"_qs, 560, CellKind::Text},
                                            {QStringLiteral("Es. %1").arg(r.year), 110, CellKind::Amount},
                                            {QStringLiteral("Es. %1").arg(r.year - 1), 110, CellKind::Amount}};
  TextTable rows(int(columns.size()));
  for (const FormLine& l : r.lines) {
    if (l.row->repeated && l.row->kind != RowKind::Heading) {
      rows.appendRow(QStringList{QString(), l.row->text, amountText(l, 0), amountText(l, 1)});
      continue;
    }
    rows.appendRow(QStringList{l.row->kind == RowKind::Heading ? QString() : l.row->code, l.row->text,
                               amountText(l, 0), amountText(l, 1)});
  }
  for (const FormNote& n : formNotes(r)) rows.appendRow(QStringList{QString(), n.text, QString(), QString()});
  return spreadsheetDocument(u"Rendiconto", columns, rows);
}

}  // namespace fondaro::rendiconto
