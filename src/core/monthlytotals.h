// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The figures of the statistics charts: the twelve monthly income or expense
// totals of a year and the annual income and expense totals of an archive.
//
// A total is kept as the charts have always kept it: after each addition the
// running total is written in the general number form (15 significant digits)
// and read back, and at the end it is rounded half up to the whole euro. The
// rounding applies to the total, not to each movement (0,40 + 0,20 gives 1;
// 0,40 alone gives 0).
//
// While every amount added is a plain amount text ("1250,00", "12,5", "7") and
// the total stays below 10^15 cents, that round trip changes nothing: the
// total is then held exactly in integer cents, which gives the same texts and
// the same rounded euros. Anything else (a sign, an exponent, a third decimal,
// a larger total) continues on the general path from the value reached.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <vector>

#include "core/archive.h"

namespace fondaro {

class RunningTotal {
 public:
  // Below this many cents the exact path is taken.
  static constexpr qint64 kExactLimitCents = 1'000'000'000'000'000;  // 10^15

  // A total that never takes the exact path (for comparing the two paths).
  static RunningTotal generalOnly();

  // Adds an amount read by the number parsing rule; false when the text is not
  // a number, and the total is then unchanged.
  bool add(QStringView amountText);
  // The same for a stored field's Windows-1252 bytes.
  bool addBytes(const uint8_t* bytes, int length);

  // The total in the general number form ("0", "1234,5").
  QString text() const;
  // The total rounded half up to the whole euro (1234,50 gives 1235).
  double roundedEuros() const;
  // True while the total is held in exact cents.
  bool exact() const { return exact_; }

 private:
  void leaveExact();
  bool addGeneral(double amount);

  bool exact_ = true;
  qint64 cents_ = 0;
  double value_ = 0;  // the total read back from its text, off the exact path
};

// What a chart is given: its values in whole euros, or nothing when the
// computation stopped at an amount that is not a number.
struct ChartFigures {
  std::vector<double> values;  // empty when stopped
  qint64 badAmountPosition = 0;  // the record whose amount cannot be read, from 1
  QString badAmountText;
  bool stopped() const { return badAmountPosition > 0; }
};

enum class Flow { Entrate, Uscite };

// Every figure the statistics need, from one read of the archive.
struct YearFigures {
  ChartFigures income;   // monthlyTotals(Flow::Entrate)
  ChartFigures expense;  // monthlyTotals(Flow::Uscite)
  ChartFigures annual;   // annualTotals
};
// Each set stops at its own first amount that is not a number, as if computed
// alone. Throws ArchiveError when the file cannot be read.
YearFigures yearFigures(const MovementArchive& archive, QStringView yearText);

// The twelve monthly totals, January first, of the movements of `flow` whose
// date text holds a month "01".."12" at characters 4-5 and the year `yearText`
// (trimmed) at characters 7-10. Paid or not, every such movement counts.
// Throws ArchiveError when the file cannot be read.
ChartFigures monthlyTotals(const MovementArchive& archive, Flow flow, QStringView yearText);

// Income then expense of every record of the archive, whatever its date: a
// record with both flags counts in both, one with neither in none.
ChartFigures annualTotals(const MovementArchive& archive);

}  // namespace fondaro
