#include "core/journal.h"

#include "core/textrules.h"

namespace fondaro {
namespace {

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

__int128 pow10(int n) {
  __int128 v = 1;
  while (n-- > 0) v *= 10;
  return v;
}

}  // namespace

std::optional<ExactAmount> ExactAmount::parse(QStringView text) {
  // parseNumber holds the grammar; what passes it is read here digit by digit.
  if (!parseNumber(text)) return std::nullopt;
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && text[i] == u' ') ++i;
  bool negative = false;
  if (text[i] == u'+' || text[i] == u'-') negative = text[i++] == u'-';
  __int128 digits = 0;
  int significant = 0;
  int scale = 0;  // digits after the comma
  bool afterComma = false;
  for (; i < n && (isDigit(text[i]) || text[i] == u','); ++i) {
    if (text[i] == u',') {
      afterComma = true;
      continue;
    }
    if (digits == 0 && text[i] == u'0') {
      if (afterComma) ++scale;
      continue;
    }
    if (++significant > 30) return std::nullopt;
    digits = digits * 10 + (text[i].unicode() - '0');
    if (afterComma) ++scale;
  }
  int exponent = 0;
  if (i < n && (text[i] == u'E' || text[i] == u'e')) {
    ++i;
    bool expNegative = false;
    if (text[i] == u'+' || text[i] == u'-') expNegative = text[i++] == u'-';
    for (; i < n && isDigit(text[i]); ++i) {
      exponent = exponent * 10 + (text[i].unicode() - '0');
      if (exponent > 1000) break;
    }
    if (expNegative) exponent = -exponent;
  }
  ExactAmount a;
  if (digits == 0) return a;
  const int shift = exponent - scale + kDecimals;
  // Integer digits of the value: at most 18, so that a million of them add up.
  if (significant + exponent - scale > 18) return std::nullopt;
  if (shift >= 0) {
    a.units_ = digits * pow10(shift);
  } else if (shift < -38) {
    a.units_ = 0;
  } else {
    const __int128 d = pow10(-shift);
    a.units_ = (digits + d / 2) / d;
  }
  if (negative) a.units_ = -a.units_;
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

QString journalLine(const MovimentoView& v) {
  const QString totale = v.text(mov::Totale);
  const QStringView signedAmount = trimControl(totale);
  QString line;
  line.reserve(170);
  if (signedAmount.startsWith(u'+')) line += u"ENTRATA  ";
  else if (signedAmount.startsWith(u'-')) line += u"USCITA   ";
  else line += u"         ";
  appendPadded(line, v.text(mov::Causale), 40);
  line += u"  Data: ";
  appendPadded(line, v.text(mov::Data), 10);
  line += u"  Da: ";
  appendPadded(line, v.text(mov::Pagatore), 28);
  line += u"  A: ";
  appendPadded(line, v.text(mov::Beneficiario), 28);
  line += u"  Importo: ";
  line += signedAmount;
  return line;
}

Journal buildJournal(const MovementArchive& archive, const JournalQuery& query) {
  Journal j;
  const bool byReason = isActiveFilter(query.causale);
  const QString key = lowerAscii(query.causale);
  archive.Scan([&](qint64 pos, MovimentoView v) {
    if (byReason && !containsFolded(v.text(mov::Causale), key)) return;
    const QString data = v.text(mov::Data);
    const QDate date = parseDate(data);
    if (!date.isValid()) {
      j.skipped.push_back({pos, QStringLiteral("date \"%1\" is not a date").arg(data)});
      return;
    }
    if (date < query.from || date > query.to) return;
    const QString totale = v.text(mov::Totale);
    const std::optional<ExactAmount> amount = ExactAmount::parse(totale);
    if (!amount) {
      j.skipped.push_back({pos, QStringLiteral("amount \"%1\" is not a number").arg(totale)});
      return;
    }
    // The sign of the text decides, as the line's first column shows; a text
    // without a sign goes by its value.
    const QStringView t = trimControl(totale);
    const bool expense = t.startsWith(u'-') || (!t.startsWith(u'+') && amount->isNegative());
    (expense ? j.expense : j.income) += *amount;
    j.balance += *amount;
    j.lines.append(journalLine(v));
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
