#pragma once
// The period window's item rules: the days "01" to "31" and the twelve month
// names with the month part of a built date.
#include <QString>
#include <QStringList>

namespace fondaro::period {

QStringList dayItems();
QStringList monthItems();
// "/03/" for "marzo" (compared lower-cased and trimmed); empty for no month.
QString monthPart(const QString& month);
bool isDayItem(const QString& text);  // trimmed, exactly "01" to "31"
// "05" + "Marzo" + "2024" -> "05/03/2024"; empty when the month is no month.
QString buildDate(const QString& day, const QString& month, const QString& year);

}  // namespace fondaro::period
