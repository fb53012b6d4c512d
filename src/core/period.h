// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The period of the journal: the day and month items the period window offers,
// the dates built from them, and the checks of a chosen period with the
// messages they give. The tool's journal command checks its two dates with the
// same rules.
#include <QString>
#include <QStringList>
#include <optional>

#include "core/notice.h"

namespace fondaro::period {

QStringList dayItems();    // "01" to "31"
QStringList monthItems();  // "Gennaio" to "Dicembre"
// "/03/" for "marzo" (compared lower-cased and trimmed); empty for no month.
QString monthPart(const QString& month);
bool isDayItem(const QString& text);  // trimmed, exactly "01" to "31"
// "05" + "Marzo" + "2024" -> "05/03/2024"; empty when the month is no month.
QString buildDate(const QString& day, const QString& month, const QString& year);

// What a failed check is about: the control to correct, or the two dates
// together (the order of the period).
enum class Field { Year, StartDay, StartMonth, EndDay, EndMonth, StartDate, EndDate, Order };

struct Problem {
  Field field;
  Notice notice;  // a warning notice or a plain message, with its exact text
};

// The period as the window's controls hold it: the year as typed, and each
// end's day and month list texts with the year shown in its group.
struct Choice {
  QString year;
  QString startDay, startMonth, startYear;
  QString endDay, endMonth, endYear;
};

// The dates built so far (dd/mm/yyyy, empty until built) and the first check
// that failed, if any. The end date is built only once the start date exists.
struct Checked {
  QString start;
  QString end;
  std::optional<Problem> problem;
};

// The checks in order: a four-digit year, the four lists chosen, then the dates.
Checked check(const Choice& choice);

// Two date texts as a period: each names a real date, and the end is not
// earlier than the start (the same day is a period of one day).
std::optional<Problem> checkDates(const QString& start, const QString& end);

}  // namespace fondaro::period
