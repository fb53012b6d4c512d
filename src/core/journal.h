// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal ("primanota") of a period: the movements of a year archive dated
// within the period, optionally only those whose reason holds a text, one line
// each in archive order, with the income, expense and balance totals. Sums are
// exact: amounts are added as decimals, never as floating-point numbers.
#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

#include "core/archive.h"
#include "core/lists.h"

namespace fondaro {

// An exact decimal amount in units of 10^-12 euro.
class ExactAmount {
 public:
  static constexpr int kDecimals = 12;
  ExactAmount() = default;
  // A text by the number rule of the archives ("+1250,00", "-0,5", "1E3");
  // nullopt when it is not a number or too large to add up exactly.
  static std::optional<ExactAmount> parse(QStringView text);
  // The same on a stored field's bytes, with no text decoded.
  static std::optional<ExactAmount> parseBytes(QByteArrayView stored);
  ExactAmount& operator+=(const ExactAmount& o) {
    units_ += o.units_;
    return *this;
  }
  bool isNegative() const { return units_ < 0; }
  // Rounded to the cent (half away from zero): "100,00 €", "-30,00 €",
  // "0,00 €" for zero (never "-0,00 €").
  QString euroText() const;
  // Rounded to the cent as euroText rounds it; saturates far beyond any sum.
  qint64 roundedCents() const;

 private:
  __int128 units_ = 0;
};

struct JournalQuery {
  QDate from;       // inclusive
  QDate to;         // inclusive
  QString causale;  // as typed; blanks only is no filter
};

struct Journal {
  QStringList lines;  // archive order
  ExactAmount income;
  ExactAmount expense;
  ExactAmount balance;
  std::vector<SkippedRecord> skipped;
};

// Whether a stored Totale of value `amount` is an expense: its text begins
// with "-", or it has no sign and its value is negative.
bool isExpenseTotale(QByteArrayView storedTotale, const ExactAmount& amount);

// "ENTRATA  " or "USCITA   " by the sign of Totale, reason 40, "  Data: ",
// date 10, "  Da: ", payer 28, "  A: ", beneficiary 28, "  Importo: ", then
// the signed amount from column 146.
QString journalLine(const MovimentoView& v);
// The most characters a journal line can have.
int longestJournalLine();

// Reads the archive. A record whose date or amount cannot be read is skipped,
// reported in `skipped`, and counted nowhere.
Journal buildJournal(const MovementArchive& archive, const JournalQuery& query);
// The same with each line handed to `sink` as its Windows-1252 bytes the
// moment it is made, and none kept in `lines`: a hundred thousand lines go
// to an output stream with no text made of them.
Journal buildJournal(const MovementArchive& archive, const JournalQuery& query,
                     const std::function<void(QByteArrayView line)>& sink);

// The reason as the journal shows it: trimmed, or "- - -" when there is none.
QString journalReasonText(const QString& causale);
// The printout's title: "PRIMANOTA E BILANCIO - Causale :  " and the reason shown.
QString journalTitle(const QString& causale);

// "Dal   01/03/2024   al   31/03/2024"
QString intervalText(const QString& from, const QString& to);

// What the journal's printout holds: the lines, the separator line and the four
// summary lines (a 30-character caption and the value each, trimmed).
QStringList journalPrintLines(const QStringList& lines, const QString& interval, const QString& income,
                              const QString& expense, const QString& balance);
inline const QString kJournalSeparator = QStringLiteral("- - - - - - - - - - - - - - - -");

}  // namespace fondaro
