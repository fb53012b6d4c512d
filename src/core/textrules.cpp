// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/textrules.h"

#include "core/field.h"
#include <algorithm>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace fondaro {
namespace {

bool isBlank(QChar c) { return c.unicode() == ' '; }

// strtold in the "C" locale, whatever the process locale says.
long double strtoldC(const char* s, char** end) {
  static locale_t c = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
  return strtold_l(s, end, c);
}

}  // namespace

std::optional<double> parseNumber(QStringView text) {
  qsizetype i = 0;
  const qsizetype n = text.size();
  while (i < n && isBlank(text[i])) ++i;
  QByteArray ascii;
  ascii.reserve(n - i + 1);
  if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii.append(char(text[i++].unicode()));
  int mantissaDigits = 0;
  while (i < n && isAsciiDigit(text[i])) {
    ascii.append(char(text[i++].unicode()));
    ++mantissaDigits;
  }
  if (i < n && text[i] == u',') {
    ascii.append('.');
    ++i;
    while (i < n && isAsciiDigit(text[i])) {
      ascii.append(char(text[i++].unicode()));
      ++mantissaDigits;
    }
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < n && (text[i] == u'E' || text[i] == u'e')) {
    ascii.append('e');
    ++i;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) ascii.append(char(text[i++].unicode()));
    int expDigits = 0;
    while (i < n && isAsciiDigit(text[i])) {
      ascii.append(char(text[i++].unicode()));
      ++expDigits;
    }
    if (expDigits == 0) return std::nullopt;
  }
  while (i < n && isBlank(text[i])) ++i;
  if (i != n) return std::nullopt;
  // A bare "." is not valid for strtold: give it "0." semantics by construction.
  if (ascii.startsWith('.') || ascii.startsWith("+.") || ascii.startsWith("-.")) {
    ascii.insert(ascii.indexOf('.'), '0');
  }
  char* end = nullptr;
  const long double v = strtoldC(ascii.constData(), &end);
  if (end != ascii.constData() + ascii.size()) return std::nullopt;
  const double d = static_cast<double>(v);
  if (!std::isfinite(d)) return std::nullopt;
  return d;
}

QString formatGeneral(double value) {
  if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
  // 15 significant digits: d.dddddddddddddde±x
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  const char* p = buf;
  const bool negative = *p == '-';
  if (negative) ++p;
  QByteArray digits;
  for (; *p && *p != 'e'; ++p) {
    if (*p >= '0' && *p <= '9') digits.append(*p);
  }
  const int exponent = std::atoi(p + 1);
  while (digits.size() > 1 && digits.endsWith('0')) digits.chop(1);

  QByteArray out;
  if (negative) out.append('-');
  if (exponent >= -5 && exponent < 15) {
    if (exponent >= 0) {
      const int intDigits = exponent + 1;
      if (digits.size() <= intDigits) {
        out.append(digits);
        out.append(QByteArray(intDigits - digits.size(), '0'));
      } else {
        out.append(digits.left(intDigits));
        out.append(',');
        out.append(digits.mid(intDigits));
      }
    } else {
      out.append("0,");
      out.append(QByteArray(-exponent - 1, '0'));
      out.append(digits);
    }
  } else {
    out.append(digits.left(1));
    if (digits.size() > 1) {
      out.append(',');
      out.append(digits.mid(1));
    }
    out.append('E');
    out.append(QByteArray::number(exponent));
  }
  return QString::fromLatin1(out);
}

QString normaliseAmount(QStringView typed) {
  const QString zero = QStringLiteral("0,00");
  if (typed.trimmed().isEmpty()) return zero;
  const std::optional<double> v = parseNumber(typed);
  if (!v) return zero;
  // Half up on the exact value of the double: the product is kept in extended
  // precision so that 1,005 (just below the half) stays 1,00.
  const long double scaled = static_cast<long double>(*v) * 100.0L + 0.5L;
  const double cents = static_cast<double>(std::trunc(scaled) / 100.0L);
  QString t = formatGeneral(cents);
  if (!t.contains(u',')) t += QStringLiteral(",00");
  if (t.size() >= 2 && t[t.size() - 2] == u',' && isAsciiDigit(t.back())) t += u'0';
  return t;
}

namespace {

inline char16_t unitOf(QChar c) { return c.unicode(); }
inline char16_t unitOf(char c) { return char16_t(static_cast<unsigned char>(c)); }

// One rule for decoded text and for stored bytes, as for dates below.
template <class Text>
bool isAmountOf(const Text& text) {
  qsizetype comma = 0;
  while (comma < text.size() && unitOf(text[comma]) != u',') ++comma;
  if (comma < 1 || comma != text.size() - 3) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (i != comma && !isAsciiDigit(unitOf(text[i]))) return false;
  }
  return true;
}

template <class Text>
bool isSignedAmountOf(const Text& text) {
  return !text.isEmpty() && (unitOf(text[0]) == u'+' || unitOf(text[0]) == u'-') && isAmountOf(text.sliced(1));
}

}  // namespace

bool isAmountText(QStringView text) { return isAmountOf(text); }
bool isAmountBytes(QByteArrayView stored) { return isAmountOf(stored); }
bool isSignedAmountText(QStringView text) { return isSignedAmountOf(text); }
bool isSignedAmountBytes(QByteArrayView stored) { return isSignedAmountOf(stored); }

QString signedAmount(bool entrata, QStringView importo) {
  return (entrata ? QStringLiteral("+") : QStringLiteral("-")) + importo.toString();
}

namespace {

// One rule for decoded text and for stored bytes: the bytes that are digits
// and "/" are the characters that are.
template <class Text>
QDate parseDateOf(const Text& text) {
  int part[3] = {0, 0, 0};
  int len[3] = {0, 0, 0};
  int k = 0;
  for (auto ch : text) {
    const char16_t c = unitOf(ch);
    if (c == u'/') {
      if (++k > 2) return {};
      continue;
    }
    if (c < u'0' || c > u'9' || ++len[k] > 4) return {};
    part[k] = part[k] * 10 + (c - u'0');
  }
  if (k != 2 || len[0] < 1 || len[0] > 2 || len[1] < 1 || len[1] > 2 || len[2] != 4) return {};
  if (part[2] < 1) return {};
  const QDate d(part[2], part[1], part[0]);
  return d.isValid() ? d : QDate();
}

template <class Text>
std::optional<qint64> digitsValueOf(const Text& text, qint64 limit) {
  constexpr qint64 kMax = std::numeric_limits<qint64>::max();
  if (text.isEmpty()) return std::nullopt;
  limit = std::clamp<qint64>(limit, 0, kMax - 1);
  qint64 v = 0;
  for (auto ch : text) {
    const char16_t c = unitOf(ch);
    if (!isAsciiDigit(c)) return std::nullopt;
    if (v > limit) continue;  // already too large: the rest is only checked for digits
    v = v > (kMax - 9) / 10 ? limit + 1 : v * 10 + (c - u'0');
  }
  return std::min(v, limit + 1);
}

}  // namespace

std::optional<qint64> digitsValue(QStringView text, qint64 limit) { return digitsValueOf(text, limit); }
std::optional<qint64> digitsValue(QByteArrayView text, qint64 limit) { return digitsValueOf(text, limit); }

QDate parseDate(QStringView text) { return parseDateOf(text); }
QDate parseDateBytes(QByteArrayView stored) { return parseDateOf(stored); }

bool isValidDate(QStringView text) { return parseDate(text).isValid(); }

bool isYearText(QStringView text) { return text.size() == 4 && std::all_of(text.begin(), text.end(), isAsciiDigit); }

Notice yearTextNeeded() {
  return {NoticeKind::Warning, u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs};
}

QString formatDate(const QDate& date) { return date.toString(QStringLiteral("dd/MM/yyyy")); }

QString todayText() { return formatDate(QDate::currentDate()); }

InOutDisplay inOutDisplay(bool entrata) {
  if (entrata) return {QStringLiteral("Importo in entrata: \u20AC"), 0xFF000000u};
  return {QStringLiteral("Importo in uscita: \u20AC"), 0xFFFF0000u};
}

namespace {
QString shiftAscii(QStringView text, char16_t from, char16_t to) {
  QString out = text.toString();
  for (QChar& c : out) {
    if (c.unicode() >= from && c.unicode() < from + 26) c = QChar(char16_t(c.unicode() - from + to));
  }
  return out;
}
}  // namespace

QString upperAscii(QStringView text) { return shiftAscii(text, u'a', u'A'); }
QString lowerAscii(QStringView text) { return shiftAscii(text, u'A', u'a'); }

QString mailtoOpenText(QStringView address) {
  const QString trimmed = trimmedText(address);
  QString safe;
  safe.reserve(trimmed.size());
  for (QChar ch : trimmed) {
    switch (ch.unicode()) {
      case '%': safe += QStringLiteral("%25"); break;
      case '?': safe += QStringLiteral("%3F"); break;
      case '&': safe += QStringLiteral("%26"); break;
      case '#': safe += QStringLiteral("%23"); break;
      default: safe += ch;
    }
  }
  return QStringLiteral("\"mailto:") + safe + QStringLiteral("\"");
}

}  // namespace fondaro
