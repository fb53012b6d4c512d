// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Categories: the "Categoria" of the movements added up over a period.
//
// - A category may have a level below it: "Servizi: telefono" is the category
//   "Servizi" and its sub-category "telefono" (the text before the first ":"
//   is the category, the rest the sub-category, each trimmed). A text whose
//   category part is empty (": telefono", blanks) counts as no category.
// - Two names are one category when they are equal without regard to case
//   (QString::toCaseFolded); they are shown as the first movement of the
//   period that uses them spells them, in date order, then by archive year
//   and position.
// - Categories, and the sub-categories under each, are sorted without regard
//   to case and then to accents ("citta" < "Città" < "cittadella"); the
//   movements without a category come last, as "(senza categoria)".
// - Money in and out follow the sign of Totale, as the journal counts them,
//   and settled and unsettled movements alike: the totals at the foot equal
//   the journal's totals of the same period.
//
// The period may span several years: the archive "<yyyy>.eur" of each of its
// years is read (a missing one holds nothing), in blocks, decoding only Data,
// Totale, Saldato and Categoria; a category's text is decoded once per
// spelling, not once per movement.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <optional>
#include <vector>

#include "core/journal.h"
#include "core/recordscan.h"

namespace fondaro::categories {

// "(senza categoria)"
inline const QString kNoCategory = QStringLiteral("(senza categoria)");

struct CategoryName {
  QString category;     // trimmed; empty: no category
  QString subcategory;  // trimmed; empty: none
  // "Servizi", "Servizi: telefono"
  QString fullName() const;
};
CategoryName splitCategory(QStringView text);

// The comparison key of a name: trimmed and case-folded; for a full name the
// blanks around its first ":" are dropped ("servizi:telefono").
QString categoryKey(QStringView name);

// The order of the lists: without regard to case and accents first, then
// accents, then case; 0 only for equal texts.
int compareNames(QStringView a, QStringView b);

// ---- amounts ----------------------------------------------------------------

// An amount in cents as text: "1250,00", "-3,10"; with `plusSign` a zero or
// positive amount gets "+" ("+0,00"); with `thousands` the whole euros are
// grouped by dots ("1.250,00").
QString centsText(qint64 cents, bool plusSign = false, bool thousands = false);

// ---- reading a period -------------------------------------------------------

// What the reader gives of each movement dated in the period.
struct PeriodMovement {
  QDate date;
  int archiveYear = 0;
  qint64 position = 0;
  int spelling = 0;  // index into PeriodRead::spellings
  ExactAmount amount;
  bool expense = false;  // by the sign of Totale, as the journal decides
  bool settled = false;  // Saldato, trimmed, is "Sì"
};

// A record skipped because its date or amount cannot be read.
struct ArchiveSkipped {
  QString archive;  // "2024.eur"
  SkippedRecord record;
};

struct PeriodRead {
  // Each distinct stored Categoria text met (trimmed), decoded once.
  std::vector<QString> spellings;
  std::vector<ArchiveSkipped> skipped;
  std::vector<int> yearsRead;  // the archives that exist and were read
};

// Calls visit for every movement of the archives of `from`'s year to `to`'s
// year in `folder` dated within [from, to], in year and position order.
// Throws ArchiveError when an archive that exists cannot be read.
PeriodRead readPeriod(const QByteArray& folder, const QDate& from, const QDate& to,
                      const std::function<void(const PeriodMovement&)>& visit);

// ---- the summary ------------------------------------------------------------

struct Totals {
  qint64 count = 0;
  qint64 incomeCount = 0;
  qint64 expenseCount = 0;
  ExactAmount income;   // zero or positive
  ExactAmount expense;  // zero or negative, as the journal's
  ExactAmount balance() const;
  void add(const PeriodMovement& m);
  void add(const Totals& t);
};

struct SummaryLine {
  QString name;  // "Servizi", "Servizi: telefono", "(senza categoria)"
  QString key;   // categoryKey of name; empty for no category
  Totals totals;
};

struct CategoryGroup {
  SummaryLine line;                // counts its sub-categories too
  std::vector<SummaryLine> subs;   // sorted
  bool uncategorised() const { return line.key.isEmpty(); }
};

struct CategorySummary {
  std::vector<CategoryGroup> groups;  // sorted, "(senza categoria)" last
  Totals total;
  std::vector<ArchiveSkipped> skipped;
  std::vector<int> yearsRead;
};

// The summary of the period. Throws ArchiveError as readPeriod.
CategorySummary summarise(const QByteArray& folder, const QDate& from, const QDate& to);

// The groups of a period already read (the summary and the rendiconto's
// classification share it): `totalsOf(spelling)` gives each spelling's
// totals, `firstUse(spelling)` its first use as (date, archive year,
// position), for the spelling chosen for a name.
struct FirstUse {
  QDate date;
  int year = 0;
  qint64 position = 0;
  bool operator<(const FirstUse& o) const;
};
std::vector<CategoryGroup> groupSpellings(const std::vector<QString>& spellings, const std::vector<Totals>& totals,
                                          const std::vector<FirstUse>& firstUse);

// The tab-separated line of the tool: name, count, money in and out without
// sign, balance with its sign ("Servizi\t3\t0,00\t120,50\t-120,50").
QString summaryLineText(const SummaryLine& line);

// The names used in the archives of `year` and of the year before in
// `folder`: each category, and each with its sub-categories ("Servizi",
// "Servizi: telefono"), one spelling per name as the summary spells it,
// sorted as the summary. The movement editor completes its Categoria from them.
QStringList usedNames(const QByteArray& folder, int year);

// The tool's lines: each category, its sub-categories after it, then
// "Totale" with the same fields.
QStringList summaryLines(const CategorySummary& summary);

// "Riepilogo per categoria dal 01/01/2024 al 31/12/2024"
QString summaryTitle(const QDate& from, const QDate& to);
// "Movimenti saldati e non saldati sono contati allo stesso modo, come nella primanota."
QString countedAlikeText();

// The printout's rows, tab-separated: a kind ("C" a category, "S" a
// sub-category, "T" the total), the name, the count, money in, money out and
// the balance with thousands dots ("1.250,00").
QStringList summaryPrintRows(const CategorySummary& summary);

// The chart of the period's expenses or income by category: the eight
// largest categories with any (money out, or money in, as positive euros),
// largest first, and the rest together as "Altre".
struct ChartSlice {
  QString label;
  qint64 cents = 0;
};
inline constexpr int kChartSlices = 8;
std::vector<ChartSlice> chartSlices(const CategorySummary& summary, bool expenses);

// The spreadsheet export document of the summary ("Categorie.xls"): one row
// per line of the tool, sub-categories in a column of their own, then the
// total.
inline const QString kSheetFileName = QStringLiteral("Categorie.xls");
QByteArray summarySheet(const CategorySummary& summary);

}  // namespace fondaro::categories
