// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal.h"

#include "core/linebytes.h"
#include "core/textrules.h"

#include <algorithm>
#include <limits>

namespace fondaro {
namespace {

__int128 pow10(int n) {
  __int128 v = 1;
  while (n-- > 0) v *= 10;
  return v;
}

// The number rule of the archives (parseNumber's grammar: blanks, a sign,
// digits with at most one ",", an exponent, blanks), read digit by digit in
// one pass on stored bytes. The value in units of 10^-decimals, or nullopt.
std::optional<__int128> amountUnits(QByteArrayView text, int decimals) {
  const qsizetype n = text.size();
  qsizetype i = 0;
  // 0 past the end: no rule below accepts it.
  const auto at = [&](qsizetype k) -> char16_t { return k < n ? char16_t(uint8_t(text[k])) : char16_t(0); };
  while (at(i) == u' ') ++i;
  bool negative = false;
  if (at(i) == u'+' || at(i) == u'-') negative = at(i++) == u'-';
  __int128 digits = 0;
  int mantissaDigits = 0;
  int significant = 0;
  int scale = 0;  // digits after the comma
  bool afterComma = false;
  for (;; ++i) {
    const char16_t c = at(i);
    if (c == u',' && !afterComma) {
      afterComma = true;
      continue;
    }
    if (!isAsciiDigit(c)) break;
    ++mantissaDigits;
    if (digits == 0 && c == u'0') {
      if (afterComma) ++scale;
      continue;
    }
    if (++significant > 30) return std::nullopt;
    digits = digits * 10 + (c - u'0');
    if (afterComma) ++scale;
  }
  if (mantissaDigits == 0) return std::nullopt;
  int exponent = 0;
  if (at(i) == u'E' || at(i) == u'e') {
    ++i;
    bool expNegative = false;
    if (at(i) == u'+' || at(i) == u'-') expNegative = at(i++) == u'-';
    int expDigits = 0;
    for (; isAsciiDigit(at(i)); ++i, ++expDigits) {
      // Past 1000 the value is out of reach either way.
      if (exponent <= 1000) exponent = exponent * 10 + (at(i) - u'0');
    }
    if (expDigits == 0) return std::nullopt;
    if (expNegative) exponent = -exponent;
  }
  while (at(i) == u' ') ++i;
  if (i != n) return std::nullopt;
  if (digits == 0) return __int128(0);
  const int shift = exponent - scale + decimals;
  // Integer digits of the value: at most 18, so that a million of them add up.
  if (significant + exponent - scale > 18) return std::nullopt;
  __int128 units = 0;
  if (shift >= 0) {
    units = digits * pow10(shift);
  } else if (shift >= -38) {
    const __int128 d = pow10(-shift);
    units = (digits + d / 2) / d;
  }
  return negative ? -units : units;
}

}  // namespace

// The rule accepts ASCII only; any other character becomes a byte it refuses.
std::optional<ExactAmount> ExactAmount::parse(QStringView text) { return parseBytes(text.toLatin1()); }

std::optional<ExactAmount> ExactAmount::parseBytes(QByteArrayView stored) {
  const std::optional<__int128> units = amountUnits(stored, kDecimals);
  if (!units) return std::nullopt;
  ExactAmount a;
  a.units_ = *units;
  return a;
}

QString ExactAmount::euroText() const {
  const __int128 perCent = pow10(kDecimals - 2);
  const bool negative = units_ < 0;
  const __int128 magnitude = negative ? -units_ : units_;
  const __int128 cents = (magnitude + perCent / 2) / perCent;
  if (cents == 0) return QStringLiteral("0,00 \u20AC");
  const __int128 whole = cents / 100;
  const int frac = int(cents % 100);
  QString wholeText;
  if (whole == 0) wholeText = QStringLiteral("0");
  for (__int128 w = whole; w > 0; w /= 10) wholeText.prepend(QChar(u'0' + int(w % 10)));
  return (negative ? QStringLiteral("-") : QString()) + wholeText + u',' +
         QChar(u'0' + frac / 10) + QChar(u'0' + frac % 10) + QStringLiteral(" \u20AC");
}

qint64 ExactAmount::roundedCents() const {
  const __int128 perCent = pow10(kDecimals - 2);
  const __int128 magnitude = units_ < 0 ? -units_ : units_;
  const __int128 cents = std::min<__int128>((magnitude + perCent / 2) / perCent, std::numeric_limits<qint64>::max());
  return units_ < 0 ? -qint64(cents) : qint64(cents);
}

// The sign of the text decides, as the journal line's first column shows; a
// text without a sign goes by its value.
bool isExpenseTotale(QByteArrayView storedTotale, const ExactAmount& amount) {
  const QByteArrayView t = trimmedBytes(storedTotale);
  return t.startsWith('-') || (!t.startsWith('+') && amount.isNegative());
}

constexpr std::array<LineColumn, 5> kJournalColumns = {{
    {"", mov::Causale, 40},
    {"  Data: ", mov::Data, 10},
    {"  Da: ", mov::Pagatore, 28},
    {"  A: ", mov::Beneficiario, 28},
    {"  Importo: ", mov::Totale, 0},
}};

void buildJournalLine(const MovimentoView& v, LineBytes& line) {
  const QByteArrayView signedAmount = trimmedBytes(storedBytes(v, mov::Totale));
  if (signedAmount.startsWith('+')) line.literal("ENTRATA  ");
  else if (signedAmount.startsWith('-')) line.literal("USCITA   ");
  else line.literal("         ");
  line.columns(v, kJournalColumns);
}

// The kind of the movement, "ENTRATA  " or "USCITA   ", comes first.
int longestJournalLine() {
  return int(QByteArrayView("ENTRATA  ").size()) + longestLine<TMovimento>(kJournalColumns);
}

QString journalLine(const MovimentoView& v) {
  LineBytes line;
  buildJournalLine(v, line);
  return line.toString();
}

Journal buildJournal(const MovementArchive& archive, const JournalQuery& query) {
  return buildJournal(archive, query, {});
}

Journal buildJournal(const MovementArchive& archive, const JournalQuery& query,
                     const std::function<void(QByteArrayView)>& sink) {
  Journal j;
  const bool byReason = isActiveFilter(query.causale);
  const std::optional<QByteArray> key = foldedKeyBytes(query.causale);
  LineBytes line;
  if (!byReason && !sink) j.lines.reserve(qsizetype(archive.Count()));
  j.skipped = scanSkipping(archive, [&](qint64, MovimentoView v) -> std::optional<QString> {
    if (byReason && (!key || !containsFoldedBytes(storedBytes(v, mov::Causale), *key))) return std::nullopt;
    const QByteArrayView data = storedBytes(v, mov::Data);
    const QDate date = parseDateBytes(data);
    if (!date.isValid()) return unreadableReason(u"date", data, u"is not a date");
    if (date < query.from || date > query.to) return std::nullopt;
    const QByteArrayView totale = storedBytes(v, mov::Totale);
    const std::optional<ExactAmount> amount = ExactAmount::parseBytes(totale);
    if (!amount) return unreadableReason(u"amount", totale, u"is not a number");
    (isExpenseTotale(totale, *amount) ? j.expense : j.income) += *amount;
    j.balance += *amount;
    line.clear();
    buildJournalLine(v, line);
    if (sink) sink(line.bytes());
    else j.lines.append(line.toString());
    return std::nullopt;
  });
  return j;
}

QString journalReasonText(const QString& causale) {
  const QString t = trimmedText(causale);
  return t.isEmpty() ? QStringLiteral("- - -") : t;
}

QString journalTitle(const QString& causale) {
  return QStringLiteral("PRIMANOTA E BILANCIO - Causale :  ") + journalReasonText(causale);
}

QString intervalText(const QString& from, const QString& to) {
  return QStringLiteral("Dal   ") + trimmedText(from) + QStringLiteral("   al   ") + trimmedText(to);
}

QStringList journalPrintLines(const QStringList& lines, const QString& interval, const QString& income,
                              const QString& expense, const QString& balance) {
  QStringList out = lines;
  out << kJournalSeparator;
  out << QStringLiteral("INTERVALLO SELEZIONATO :      ") + trimmedText(interval);
  out << QStringLiteral("TOTALE ENTRATE :              ") + trimmedText(income);
  out << QStringLiteral("TOTALE USCITE :               ") + trimmedText(expense);
  out << QStringLiteral("BILANCIO ENTRATE E USCITE :   ") + trimmedText(balance);
  return out;
}

}  // namespace fondaro
