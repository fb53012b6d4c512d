#include "journal/periodrules.h"

#include "core/field.h"

namespace fondaro::period {

namespace {
const char* const kMonths[] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
                               "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
}

QStringList dayItems() {
  QStringList out;
  for (int d = 1; d <= 31; ++d) out << QString::number(d).rightJustified(2, u'0');
  return out;
}

QStringList monthItems() {
  QStringList out;
  for (const char* m : kMonths) out << QString::fromLatin1(m);
  return out;
}

QString monthPart(const QString& month) {
  const QString m = trimmedText(month).toLower();
  for (int i = 0; i < 12; ++i) {
    if (m == QString::fromLatin1(kMonths[i]).toLower())
      return u'/' + QString::number(i + 1).rightJustified(2, u'0') + u'/';
  }
  return {};
}

bool isDayItem(const QString& text) { return dayItems().contains(trimmedText(text)); }

QString buildDate(const QString& day, const QString& month, const QString& year) {
  const QString part = monthPart(month);
  if (part.isEmpty()) return {};
  return trimmedText(day) + part + trimmedText(year);
}

}  // namespace fondaro::period
