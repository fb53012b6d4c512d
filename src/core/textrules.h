// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Amounts and dates as the archives hold them: amount texts "1250,00", signed
// amount texts "+1250,00", date texts "05/03/2024"; comma decimals, no
// thousands separator anywhere.
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>

#include "core/notice.h"

namespace fondaro {

// "0" to "9" only: no other script's digits, no superscripts.
inline bool isAsciiDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
// A text of the digits "0" to "9" only, read as a number however many digits
// it has: a value above `limit` comes out as limit + 1, so that no length of
// text can overflow and the caller still tells "too large" from "not a number".
// Nothing for an empty text or one holding anything else (a sign, a blank).
std::optional<qint64> digitsValue(QStringView text, qint64 limit);
// The same on stored Windows-1252 bytes.
std::optional<qint64> digitsValue(QByteArrayView text, qint64 limit);
// The letters a to z turned into A to Z, or A to Z into a to z; every other
// character (accented letters included) stays as it is.
QString upperAscii(QStringView text);
QString lowerAscii(QStringView text);

// What the e-mail buttons hand to the shell: "mailto:" and the trimmed
// address, the whole link in double quotes. "?", "&", "#" and "%" in the
// address are percent-encoded so that an address cannot add parameters (an
// attachment, a body) to the message. An empty address gives "\"mailto:\"".
QString mailtoOpenText(QStringView address);

// Optional leading blanks, optional sign, digits with at most one "," (digits
// may be missing on either side), an optional exponent, then only blanks.
// Read in extended precision, then rounded to a double. An empty text, a ".",
// a thousands separator or an overflow is a failure.
std::optional<double> parseNumber(QStringView text);

// The general form: 15 significant digits, "," as decimal separator, no
// trailing zeros; an exponent form ("1E15", "1,5E-6") when the value is below
// 0.00001 or has more than 15 digits before the separator.
QString formatGeneral(double value);

// What the amount field holds after it is left: always two decimals
// ("5" -> "5,00", "1234,567" -> "1234,57", unparsable -> "0,00").
QString normaliseAmount(QStringView typed);

// Digits, a comma, exactly two digits ("0,00", "1250,00").
bool isAmountText(QStringView text);
// "+" or "-" followed by an amount text.
bool isSignedAmountText(QStringView text);
// The same two on a stored field's Windows-1252 bytes, with no text decoded.
bool isAmountBytes(QByteArrayView stored);
bool isSignedAmountBytes(QByteArrayView stored);
// The signed amount stored in Totale: "+" for a movement in, "-" for one out.
QString signedAmount(bool entrata, QStringView importo);

// Day, month (one or two digits each) and a four-digit year separated by "/",
// nothing else, naming a real calendar date. Two-digit years are refused: the
// program never writes them and guessing a century would store a wrong date.
bool isValidDate(QStringView text);
// The date a valid date text names, or an invalid QDate.
QDate parseDate(QStringView text);
// The same on a stored field's Windows-1252 bytes, with no text decoded.
QDate parseDateBytes(QByteArrayView stored);
// "dd/mm/yyyy"
QString formatDate(const QDate& date);
// Today's local date as a date text.
QString todayText();

// A year as the year windows and the tool take it, the name of its yearly
// archive: exactly four digits "0" to "9".
bool isYearText(QStringView text);
// The warning the year windows give when the year is not four digits.
Notice yearTextNeeded();

// The amount label of the movement editor for a movement in or out.
struct InOutDisplay {
  QString text;
  quint32 argb;
};
InOutDisplay inOutDisplay(bool entrata);

}  // namespace fondaro
