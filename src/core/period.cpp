// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/period.h"

#include "core/field.h"
#include "core/textrules.h"

namespace fondaro::period {

namespace {

const char16_t* const kMonths[] = {u"Gennaio",   u"Febbraio", u"Marzo",    u"Aprile",
                                   u"Maggio",    u"Giugno",   u"Luglio",   u"Agosto",
                                   u"Settembre", u"Ottobre",  u"Novembre", u"Dicembre"};

Problem listNotChosen(Field field, QStringView what) {
  return {field,
          {NoticeKind::Warning, u"Attenzione: indicare "_qs + what.toString() +
                                    u" intervallo selezionandolo dall'elenco a cascata."_qs}};
}

Problem dateMissing(Field field, const QString& date, QStringView end) {
  return {field,
          {NoticeKind::Plain,
           u"Attenzione: la data "_qs + trimmedText(date) + u" di "_qs + end.toString() +
               u" intervallo non esiste."_qs + kParagraphBreak +
               u"Per poter visualizzare il riepilogo è necessario indicare una data valida."_qs}};
}

}  // namespace

QStringList dayItems() {
  QStringList out;
  for (int d = 1; d <= 31; ++d) out << QString::number(d).rightJustified(2, u'0');
  return out;
}

QStringList monthItems() {
  QStringList out;
  for (const char16_t* m : kMonths) out << QString::fromUtf16(m);
  return out;
}

QString monthPart(const QString& month) {
  const QString m = trimmedText(month).toLower();
  for (int i = 0; i < 12; ++i) {
    if (m == QString::fromUtf16(kMonths[i]).toLower())
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

std::optional<Problem> checkDates(const QString& start, const QString& end) {
  if (!isValidDate(start)) return dateMissing(Field::StartDate, start, u"inizio");
  if (!isValidDate(end)) return dateMissing(Field::EndDate, end, u"fine");
  if (parseDate(start) <= parseDate(end)) return std::nullopt;
  return Problem{
      Field::Order,
      {NoticeKind::Plain,
       u"Attenzione: la data di fine intervallo ("_qs + trimmedText(end) +
           u") non può essere anteriore a quella di inizio intervallo ("_qs + trimmedText(start) + u")."_qs +
           kParagraphBreak +
           u"Per poter visualizzare il riepilogo è necessario indicare un intervallo di tempo valido."_qs}};
}

Checked check(const Choice& c) {
  if (!isYearText(c.year)) return {{}, {}, Problem{Field::Year, yearTextNeeded()}};
  const struct {
    const QString& text;
    Field field;
    QStringView what;
  } lists[] = {{c.startDay, Field::StartDay, u"il giorno di inizio"},
               {c.startMonth, Field::StartMonth, u"il mese di inizio"},
               {c.endDay, Field::EndDay, u"il giorno di fine"},
               {c.endMonth, Field::EndMonth, u"il mese di fine"}};
  for (const auto& l : lists)
    if (trimControl(l.text).isEmpty()) return {{}, {}, listNotChosen(l.field, l.what)};

  Checked r{buildDate(c.startDay, c.startMonth, c.startYear), buildDate(c.endDay, c.endMonth, c.endYear), {}};
  r.problem = checkDates(r.start, r.end);
  if (r.problem && r.problem->field == Field::StartDate) r.end.clear();
  return r;
}

}  // namespace fondaro::period
