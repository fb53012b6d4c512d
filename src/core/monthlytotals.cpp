// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/monthlytotals.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/cp1252.h"
#include "core/field.h"
#include "core/records.h"
#include "core/textrules.h"

namespace fondaro {
namespace {

template <class Ch>
bool isDigitCh(Ch c) {
  return c >= Ch('0') && c <= Ch('9');
}

// A plain amount in cents: blanks, digits, at most one "," with at most two
// digits after it, blanks; at least one digit; below 10^13 euros. These texts
// are numbers by the parsing rule and name an exact number of cents; every
// other text is left to the general path.
template <class Ch>
std::optional<qint64> plainCents(const Ch* p, qsizetype n) {
  qsizetype i = 0;
  while (i < n && p[i] == Ch(' ')) ++i;
  qint64 whole = 0;
  int wholeDigits = 0;
  for (; i < n && isDigitCh(p[i]); ++i) {
    if (++wholeDigits > 13) return std::nullopt;
    whole = whole * 10 + (p[i] - Ch('0'));
  }
  qint64 frac = 0;
  int fracDigits = 0;
  if (i < n && p[i] == Ch(',')) {
    for (++i; i < n && isDigitCh(p[i]); ++i) {
      if (++fracDigits > 2) return std::nullopt;
      frac = frac * 10 + (p[i] - Ch('0'));
    }
  }
  if (wholeDigits + fracDigits == 0) return std::nullopt;
  while (i < n && p[i] == Ch(' ')) ++i;
  if (i != n) return std::nullopt;
  if (fracDigits == 1) frac *= 10;
  return whole * 100 + frac;
}

// The general form of an exact number of cents: "1234,5", "0,07", "12".
QString centsText(qint64 cents) {
  QString t = QString::number(cents / 100);
  qint64 frac = cents % 100;
  if (frac == 0) return t;
  if (frac % 10 == 0) return t + u',' + QString::number(frac / 10);
  return t + u',' + QString::number(frac).rightJustified(2, u'0');
}

// Bytes [b, e) without the characters of code 32 or less at both ends; the
// code page maps those bytes to the same codes, so this is the text's trim.
void trimBytes(const uint8_t*& b, const uint8_t*& e) {
  while (b < e && *b <= 32) ++b;
  while (e > b && e[-1] <= 32) --e;
}

template <int Cap>
bool flagIsSi(const uint8_t* slot) {
  const uint8_t* b = slot + 1;
  const uint8_t* e = b + storedLength(slot, Cap);
  trimBytes(b, e);
  return e - b == 2 && b[0] == 'S' && b[1] == 0xEC;
}

// The month 1..12 and the year bytes of a date text, by the fixed positions
// of dd/mm/yyyy: the trimmed text padded with ten blanks, the month from
// characters 4-5 and the year from 7-10, each trimmed.
struct DateParts {
  int month = 0;  // 0 when not "01".."12"
  const uint8_t* yearBegin = nullptr;
  const uint8_t* yearEnd = nullptr;
};

DateParts dateParts(const uint8_t* slot, std::array<uint8_t, 24>& padded) {
  const uint8_t* b = slot + 1;
  const uint8_t* e = b + storedLength(slot, 10);
  trimBytes(b, e);
  padded.fill(' ');
  std::copy(b, e, padded.begin());
  DateParts d;
  if (isDigitCh(padded[3]) && isDigitCh(padded[4])) {
    const int m = (padded[3] - '0') * 10 + (padded[4] - '0');
    if (m >= 1 && m <= 12) d.month = m;
  }
  d.yearBegin = padded.data() + 6;
  d.yearEnd = padded.data() + 10;
  trimBytes(d.yearBegin, d.yearEnd);
  return d;
}

// The year text as stored bytes; nothing when a character has no byte, so
// that such a year matches no date.
std::optional<QByteArray> yearBytes(QStringView yearText) {
  const QStringView t = trimControl(yearText);
  QByteArray out;
  for (QChar c : t) {
    const int b = cp1252::byteFor(c.unicode());
    if (b < 0) return std::nullopt;
    out.append(char(b));
  }
  return out;
}

ChartFigures stoppedAt(qint64 position, const MovimentoView& v) {
  ChartFigures f;
  f.badAmountPosition = position;
  f.badAmountText = v.text(mov::Importo);
  return f;
}

bool addAmount(RunningTotal& total, const MovimentoView& v) {
  const uint8_t* slot = v.slot(mov::Importo);
  return total.addBytes(slot + 1, storedLength(slot, 15));
}

}  // namespace

RunningTotal RunningTotal::generalOnly() {
  RunningTotal t;
  t.exact_ = false;
  return t;
}

void RunningTotal::leaveExact() {
  if (!exact_) return;
  exact_ = false;
  value_ = parseNumber(centsText(cents_)).value_or(0);
}

bool RunningTotal::addGeneral(double amount) {
  leaveExact();
  value_ = parseNumber(formatGeneral(value_ + amount)).value_or(0);
  return true;
}

bool RunningTotal::add(QStringView amountText) {
  if (exact_) {
    if (const auto c = plainCents(amountText.utf16(), amountText.size())) {
      if (cents_ + *c < kExactLimitCents) {
        cents_ += *c;
        return true;
      }
    }
  }
  const std::optional<double> v = parseNumber(amountText);
  if (!v) return false;
  return addGeneral(*v);
}

bool RunningTotal::addBytes(const uint8_t* bytes, int length) {
  if (exact_) {
    if (const auto c = plainCents(bytes, length)) {
      if (cents_ + *c < kExactLimitCents) {
        cents_ += *c;
        return true;
      }
    }
  }
  return add(cp1252::decode(reinterpret_cast<const char*>(bytes), length));
}

QString RunningTotal::text() const { return exact_ ? centsText(cents_) : formatGeneral(value_); }

double RunningTotal::roundedEuros() const {
  if (exact_) return double((cents_ + 50) / 100);
  // Half up: add 0.5 in extended precision and cut the fraction toward zero;
  // the result is held in the general form like the total before it.
  const long double r = std::trunc(static_cast<long double>(value_) + 0.5L);
  return parseNumber(formatGeneral(static_cast<double>(r))).value_or(0);
}

namespace {

// One figure set being summed: its totals, or where it stopped.
template <size_t N>
struct FigureSet {
  std::array<RunningTotal, N> totals;
  std::optional<ChartFigures> stopped;

  // Adds the record's amount to total i; a set stopped stays stopped.
  void add(size_t i, qint64 pos, const MovimentoView& v) {
    if (stopped) return;
    if (!addAmount(totals[i], v)) stopped = stoppedAt(pos, v);
  }
  ChartFigures figures() const {
    if (stopped) return *stopped;
    ChartFigures f;
    for (const RunningTotal& t : totals) f.values.push_back(t.roundedEuros());
    return f;
  }
};

}  // namespace

// Blocks a quarter of the usual size: each is still in the processor's own
// cache when its records are read, which takes a third off the whole pass.
constexpr qint64 kFiguresBlockBytes = 256 * 1024;

YearFigures yearFigures(const MovementArchive& archive, QStringView yearText) {
  FigureSet<12> income;
  FigureSet<12> expense;
  FigureSet<2> annual;
  const auto year = yearBytes(yearText);
  std::array<uint8_t, 24> padded;
  archive.Scan([&](qint64 pos, MovimentoView v) {
    const bool in = flagIsSi<2>(v.slot(mov::Entrata));
    const bool outFlow = flagIsSi<2>(v.slot(mov::Uscita));
    if (in) annual.add(0, pos, v);
    if (outFlow) annual.add(1, pos, v);
    if ((in || outFlow) && year) {
      const DateParts d = dateParts(v.slot(mov::Data), padded);
      if (d.month != 0 && d.yearEnd - d.yearBegin == year->size() &&
          std::equal(d.yearBegin, d.yearEnd, reinterpret_cast<const uint8_t*>(year->constData()))) {
        if (in) income.add(size_t(d.month - 1), pos, v);
        if (outFlow) expense.add(size_t(d.month - 1), pos, v);
      }
    }
    // Every set stopped: nothing more can change.
    return !(annual.stopped && (income.stopped || !year) && (expense.stopped || !year));
  }, kFiguresBlockBytes);
  return {income.figures(), expense.figures(), annual.figures()};
}

ChartFigures monthlyTotals(const MovementArchive& archive, Flow flow, QStringView yearText) {
  YearFigures f = yearFigures(archive, yearText);
  return flow == Flow::Entrate ? f.income : f.expense;
}

ChartFigures annualTotals(const MovementArchive& archive) { return yearFigures(archive, u"").annual; }

}  // namespace fondaro
