// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/categories.h"

#include <QHash>
#include <algorithm>
#include <cerrno>
#include <map>

#include "core/archive.h"
#include "core/field.h"
#include "core/linebytes.h"
#include "core/spreadsheet.h"
#include "core/textrules.h"

namespace fondaro::categories {
namespace {

QString withoutAccents(const QString& folded) {
  const QString decomposed = folded.normalized(QString::NormalizationForm_D);
  QString out;
  out.reserve(decomposed.size());
  for (const QChar c : decomposed)
    if (c.category() != QChar::Mark_NonSpacing) out.append(c);
  return out;
}

// The three keys of the list order, made once per name.
struct SortKey {
  QString bare;    // folded, without accents
  QString folded;  // folded, accents decomposed so that a plain letter comes first
  QString text;
  explicit SortKey(const QString& name)
      : bare(withoutAccents(name.toCaseFolded())),
        folded(name.toCaseFolded().normalized(QString::NormalizationForm_D)),
        text(name) {}
  int compare(const SortKey& o) const {
    if (const int c = bare.compare(o.bare)) return c;
    if (const int c = folded.compare(o.folded)) return c;
    return text.compare(o.text);
  }
};

// "Sì" as stored.
constexpr QByteArrayView kSettledBytes("S\xEC");

}  // namespace

QString CategoryName::fullName() const {
  return subcategory.isEmpty() ? category : category + QStringLiteral(": ") + subcategory;
}

CategoryName splitCategory(QStringView text) {
  const qsizetype colon = text.indexOf(u':');
  CategoryName n;
  n.category = trimmedText(colon < 0 ? text : text.left(colon));
  if (n.category.isEmpty()) return n;
  if (colon >= 0) n.subcategory = trimmedText(text.mid(colon + 1));
  return n;
}

QString categoryKey(QStringView name) {
  const CategoryName n = splitCategory(name);
  if (n.subcategory.isEmpty()) return n.category.toCaseFolded();
  return n.category.toCaseFolded() + u':' + n.subcategory.toCaseFolded();
}

int compareNames(QStringView a, QStringView b) { return SortKey(a.toString()).compare(SortKey(b.toString())); }

QString centsText(qint64 cents, bool plusSign, bool thousands) {
  const bool negative = cents < 0;
  const quint64 magnitude = negative ? quint64(0) - quint64(cents) : quint64(cents);
  QString whole = QString::number(magnitude / 100);
  if (thousands)
    for (qsizetype i = whole.size() - 3; i > 0; i -= 3) whole.insert(i, u'.');
  const int frac = int(magnitude % 100);
  const QString sign = negative ? QStringLiteral("-") : (plusSign ? QStringLiteral("+") : QString());
  return sign + whole + u',' + QChar(u'0' + frac / 10) + QChar(u'0' + frac % 10);
}

// ---- reading ---------------------------------------------------------------

PeriodRead readPeriod(const QByteArray& folder, const QDate& from, const QDate& to,
                      const std::function<void(const PeriodMovement&)>& visit) {
  PeriodRead read;
  if (!from.isValid() || !to.isValid() || to < from) return read;
  QHash<QByteArray, int> spellingOf;
  for (int year = from.year(); year <= to.year(); ++year) {
    const QString yearText = QString::number(year);
    std::optional<MovementArchive> archive;
    try {
      archive.emplace(MovementArchive::OpenExisting(movementArchivePath(folder, yearText), RecordFile::Access::ReadOnly));
    } catch (const ArchiveError& e) {
      // A year with no archive has no movements.
      if (e.op() == ArchiveError::Op::Open && e.cause() == ArchiveError::Cause::System && e.sysError() == ENOENT)
        continue;
      throw;
    }
    read.yearsRead.push_back(year);
    PeriodMovement m;
    m.archiveYear = year;
    const std::vector<SkippedRecord> skipped =
        scanSkipping(*archive, [&](qint64 pos, MovimentoView v) -> std::optional<QString> {
          const QByteArrayView data = storedBytes(v, mov::Data);
          m.date = parseDateBytes(data);
          if (!m.date.isValid()) return unreadableReason(u"date", data, u"is not a date");
          if (m.date < from || m.date > to) return std::nullopt;
          const QByteArrayView totale = storedBytes(v, mov::Totale);
          const std::optional<ExactAmount> amount = ExactAmount::parseBytes(totale);
          if (!amount) return unreadableReason(u"amount", totale, u"is not a number");
          m.amount = *amount;
          m.expense = isExpenseTotale(totale, *amount);
          m.settled = trimmedBytes(storedBytes(v, mov::Saldato)) == kSettledBytes;
          m.position = pos;
          const QByteArrayView cat = trimmedBytes(storedBytes(v, mov::Categoria));
          const auto it = spellingOf.constFind(QByteArray::fromRawData(cat.data(), cat.size()));
          if (it != spellingOf.cend()) {
            m.spelling = *it;
          } else {
            m.spelling = int(read.spellings.size());
            spellingOf.insert(cat.toByteArray(), m.spelling);
            read.spellings.push_back(decodeBytes(cat));
          }
          visit(m);
          return std::nullopt;
        });
    const QString name = yearText + QStringLiteral(".eur");
    for (const SkippedRecord& s : skipped) read.skipped.push_back({name, s});
  }
  return read;
}

// ---- totals ----------------------------------------------------------------

ExactAmount Totals::balance() const {
  ExactAmount b = income;
  b += expense;
  return b;
}

void Totals::add(const PeriodMovement& m) {
  ++count;
  if (m.expense) {
    ++expenseCount;
    expense += m.amount;
  } else {
    ++incomeCount;
    income += m.amount;
  }
}

void Totals::add(const Totals& t) {
  count += t.count;
  incomeCount += t.incomeCount;
  expenseCount += t.expenseCount;
  income += t.income;
  expense += t.expense;
}

bool FirstUse::operator<(const FirstUse& o) const {
  if (date != o.date) return date < o.date;
  if (year != o.year) return year < o.year;
  return position < o.position;
}

namespace {

// A name being gathered: its totals and the spelling of its first use.
struct Gathered {
  Totals totals;
  QString spelling;
  FirstUse first;
  bool hasFirst = false;
  void take(const QString& text, const FirstUse& use, const Totals& t) {
    totals.add(t);
    if (!hasFirst || use < first) {
      spelling = text;
      first = use;
      hasFirst = true;
    }
  }
};

struct GatheredGroup {
  Gathered self;
  std::map<QString, Gathered> subs;  // by folded sub-category
};

template <class T, class NameOf>
void sortByName(std::vector<T>& items, NameOf nameOf) {
  std::vector<std::pair<SortKey, T>> keyed;
  keyed.reserve(items.size());
  for (T& t : items) keyed.emplace_back(SortKey(nameOf(t)), std::move(t));
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
  items.clear();
  for (auto& [k, t] : keyed) items.push_back(std::move(t));
}

}  // namespace

std::vector<CategoryGroup> groupSpellings(const std::vector<QString>& spellings, const std::vector<Totals>& totals,
                                          const std::vector<FirstUse>& firstUse) {
  std::map<QString, GatheredGroup> byKey;
  Totals none;
  bool anyNone = false;
  for (size_t i = 0; i < spellings.size(); ++i) {
    if (totals[i].count == 0) continue;
    const CategoryName n = splitCategory(spellings[i]);
    if (n.category.isEmpty()) {
      none.add(totals[i]);
      anyNone = true;
      continue;
    }
    GatheredGroup& g = byKey[n.category.toCaseFolded()];
    g.self.take(n.category, firstUse[i], totals[i]);
    if (!n.subcategory.isEmpty()) g.subs[n.subcategory.toCaseFolded()].take(n.subcategory, firstUse[i], totals[i]);
  }
  std::vector<CategoryGroup> groups;
  for (auto& [key, g] : byKey) {
    CategoryGroup group;
    group.line = {g.self.spelling, key, g.self.totals};
    for (auto& [subKey, s] : g.subs)
      group.subs.push_back({g.self.spelling + QStringLiteral(": ") + s.spelling, key + u':' + subKey, s.totals});
    sortByName(group.subs, [&](const SummaryLine& l) { return l.name.mid(g.self.spelling.size() + 2); });
    groups.push_back(std::move(group));
  }
  sortByName(groups, [](const CategoryGroup& cg) { return cg.line.name; });
  if (anyNone) groups.push_back(CategoryGroup{{kNoCategory, QString(), none}, {}});
  return groups;
}

CategorySummary summarise(const QByteArray& folder, const QDate& from, const QDate& to) {
  std::vector<Totals> totals;
  std::vector<FirstUse> firstUse;
  PeriodRead read = readPeriod(folder, from, to, [&](const PeriodMovement& m) {
    if (size_t(m.spelling) == totals.size()) {
      totals.emplace_back();
      firstUse.push_back({m.date, m.archiveYear, m.position});
    } else if (m.date < firstUse[size_t(m.spelling)].date) {
      // Records come in year and position order: only an earlier date wins.
      firstUse[size_t(m.spelling)] = {m.date, m.archiveYear, m.position};
    }
    totals[size_t(m.spelling)].add(m);
  });
  CategorySummary s;
  s.groups = groupSpellings(read.spellings, totals, firstUse);
  for (const Totals& t : totals) s.total.add(t);
  s.skipped = std::move(read.skipped);
  s.yearsRead = std::move(read.yearsRead);
  return s;
}

QStringList usedNames(const QByteArray& folder, int year) {
  QStringList names;
  for (const CategoryGroup& g : summarise(folder, QDate(year - 1, 1, 1), QDate(year, 12, 31)).groups) {
    if (g.uncategorised()) continue;
    names << g.line.name;
    for (const SummaryLine& sub : g.subs) names << sub.name;
  }
  return names;
}

QString summaryLineText(const SummaryLine& line) {
  const Totals& t = line.totals;
  return line.name + u'\t' + QString::number(t.count) + u'\t' + centsText(t.income.roundedCents()) + u'\t' +
         centsText(-t.expense.roundedCents()) + u'\t' + centsText(t.balance().roundedCents(), true);
}

QStringList summaryLines(const CategorySummary& summary) {
  QStringList out;
  for (const CategoryGroup& g : summary.groups) {
    out << summaryLineText(g.line);
    for (const SummaryLine& sub : g.subs) out << summaryLineText(sub);
  }
  out << summaryLineText({u"Totale"_qs, QString(), summary.total});
  return out;
}

QString summaryTitle(const QDate& from, const QDate& to) {
  return QStringLiteral("Riepilogo per categoria dal %1 al %2").arg(formatDate(from), formatDate(to));
}

QString countedAlikeText() {
  return u"Movimenti saldati e non saldati sono contati allo stesso modo, come nella primanota."_qs;
}

QStringList summaryPrintRows(const CategorySummary& summary) {
  const auto row = [](QStringView kind, const SummaryLine& l, qsizetype nameFrom = 0) {
    const Totals& t = l.totals;
    return kind.toString() + u'\t' + l.name.mid(nameFrom) + u'\t' + QString::number(t.count) + u'\t' +
           centsText(t.income.roundedCents(), false, true) + u'\t' + centsText(-t.expense.roundedCents(), false, true) +
           u'\t' + centsText(t.balance().roundedCents(), true, true);
  };
  QStringList out;
  for (const CategoryGroup& g : summary.groups) {
    out << row(u"C", g.line);
    // Indented under its category: the sub-category's own name.
    for (const SummaryLine& sub : g.subs) out << row(u"S", sub, g.line.name.size() + 2);
  }
  out << row(u"T", {u"Totale"_qs, QString(), summary.total});
  return out;
}

std::vector<ChartSlice> chartSlices(const CategorySummary& summary, bool expenses) {
  std::vector<ChartSlice> all;
  for (const CategoryGroup& g : summary.groups) {
    const qint64 cents = expenses ? -g.line.totals.expense.roundedCents() : g.line.totals.income.roundedCents();
    if (cents > 0) all.push_back({g.line.name, cents});
  }
  // Largest first; equal amounts keep the list's order.
  std::stable_sort(all.begin(), all.end(), [](const ChartSlice& a, const ChartSlice& b) { return a.cents > b.cents; });
  if (all.size() <= size_t(kChartSlices) + 1) return all;
  ChartSlice rest{u"Altre"_qs, 0};
  for (size_t i = size_t(kChartSlices); i < all.size(); ++i) rest.cents += all[i].cents;
  all.resize(size_t(kChartSlices));
  all.push_back(rest);
  return all;
}

QByteArray summarySheet(const CategorySummary& summary) {
  const std::vector<SheetColumn> columns = {{u"Categoria"_qs, 220, CellKind::Text},
                                            {u"Sottocategoria"_qs, 220, CellKind::Text},
                                            {u"Movimenti"_qs, 90, CellKind::Count},
                                            {u"Entrate"_qs, 110, CellKind::Amount},
                                            {u"Uscite"_qs, 110, CellKind::Amount},
                                            {u"Saldo"_qs, 110, CellKind::Amount}};
  TextTable rows(int(columns.size()));
  const auto add = [&](const QString& category, const QString& sub, const Totals& t) {
    rows.appendRow(QStringList{category, sub, QString::number(t.count), centsText(t.income.roundedCents()),
                               centsText(-t.expense.roundedCents()), centsText(t.balance().roundedCents(), true)});
  };
  for (const CategoryGroup& g : summary.groups) {
    add(g.line.name, QString(), g.line.totals);
    for (const SummaryLine& sub : g.subs) add(g.line.name, sub.name.mid(g.line.name.size() + 2), sub.totals);
  }
  add(u"Totale"_qs, QString(), summary.total);
  return spreadsheetDocument(u"Categorie", columns, rows);
}

}  // namespace fondaro::categories
