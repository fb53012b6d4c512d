// SPDX-License-Identifier: GPL-3.0-or-later
// The journal's period: the dates built from the period window's lists, the
// checks in their order with the field each failure points to and its message,
// and the date rules the tool shares.
#include <gtest/gtest.h>

#include "core/period.h"
#include "core/textrules.h"

using namespace fondaro;
using period::Field;

namespace {

const QString kBreak = u"\n\r\n\r"_qs;
const QString kValidDate = u"Per poter visualizzare il riepilogo è necessario indicare una data valida."_qs;

QString listNeeded(const char* what) {
  return u"Attenzione: indicare il %1 intervallo selezionandolo dall'elenco a cascata."_qs.arg(
      QLatin1String(what));
}

struct Case {
  const char* name;
  period::Choice choice;
  QString start, end;          // the dates built
  std::optional<Field> field = std::nullopt;  // the period is accepted
  NoticeKind kind = NoticeKind::Warning;
  QString text = {};
};

period::Choice choice(const QString& year, const QString& d1, const QString& m1, const QString& d2,
                      const QString& m2) {
  return {year, d1, m1, year, d2, m2, year};
}

}  // namespace

TEST(PeriodCheck, ChecksInOrderWithTheFieldAndMessageOfTheFirstFailure) {
  const Case cases[] = {
      {"three-digit year",
       choice(u"202"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs),
       {},
       {},
       Field::Year,
       NoticeKind::Warning,
       u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs},
      {"year with a blank",
       choice(u" 2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs),
       {},
       {},
       Field::Year,
       NoticeKind::Warning,
       u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs},
      {"no start day",
       choice(u"2024"_qs, u" "_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs),
       {},
       {},
       Field::StartDay,
       NoticeKind::Warning,
       listNeeded("giorno di inizio")},
      {"no start month",
       choice(u"2024"_qs, u"01"_qs, u""_qs, u""_qs, u""_qs),
       {},
       {},
       Field::StartMonth,
       NoticeKind::Warning,
       listNeeded("mese di inizio")},
      {"no end day",
       choice(u"2024"_qs, u"01"_qs, u"Marzo"_qs, u""_qs, u"Marzo"_qs),
       {},
       {},
       Field::EndDay,
       NoticeKind::Warning,
       listNeeded("giorno di fine")},
      {"no end month",
       choice(u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"\t"_qs),
       {},
       {},
       Field::EndMonth,
       NoticeKind::Warning,
       listNeeded("mese di fine")},
      {"start does not exist",
       choice(u"2024"_qs, u"31"_qs, u"Febbraio"_qs, u"31"_qs, u"Aprile"_qs),
       u"31/02/2024"_qs,
       {},
       Field::StartDate,
       NoticeKind::Plain,
       u"Attenzione: la data 31/02/2024 di inizio intervallo non esiste."_qs + kBreak + kValidDate},
      {"29 February outside a leap year",
       choice(u"2023"_qs, u"29"_qs, u"Febbraio"_qs, u"31"_qs, u"Marzo"_qs),
       u"29/02/2023"_qs,
       {},
       Field::StartDate,
       NoticeKind::Plain,
       u"Attenzione: la data 29/02/2023 di inizio intervallo non esiste."_qs + kBreak + kValidDate},
      {"a month that is no month builds no date",
       choice(u"2024"_qs, u"01"_qs, u"Marzx"_qs, u"31"_qs, u"Marzo"_qs),
       {},
       {},
       Field::StartDate,
       NoticeKind::Plain,
       u"Attenzione: la data  di inizio intervallo non esiste."_qs + kBreak + kValidDate},
      {"end does not exist", choice(u"2024"_qs, u"01"_qs, u"Aprile"_qs, u"31"_qs, u"Aprile"_qs),
       u"01/04/2024"_qs, u"31/04/2024"_qs, Field::EndDate, NoticeKind::Plain,
       u"Attenzione: la data 31/04/2024 di fine intervallo non esiste."_qs + kBreak + kValidDate},
      {"end before start", choice(u"2024"_qs, u"02"_qs, u"Gennaio"_qs, u"01"_qs, u"Gennaio"_qs),
       u"02/01/2024"_qs, u"01/01/2024"_qs, Field::Order, NoticeKind::Plain,
       u"Attenzione: la data di fine intervallo (01/01/2024) non può essere anteriore a quella di inizio "
       u"intervallo (02/01/2024)."_qs +
           kBreak +
           u"Per poter visualizzare il riepilogo è necessario indicare un intervallo di tempo valido."_qs},
      {"one day, month names in any case and blanks",
       choice(u"2024"_qs, u" 15 "_qs, u" marzo "_qs, u"15"_qs, u"MARZO"_qs), u"15/03/2024"_qs,
       u"15/03/2024"_qs},
      {"29 February in a leap year", choice(u"2024"_qs, u"29"_qs, u"Febbraio"_qs, u"31"_qs, u"Dicembre"_qs),
       u"29/02/2024"_qs, u"31/12/2024"_qs},
      {"the groups' years build the dates",
       {u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"2023"_qs, u"31"_qs, u"Marzo"_qs, u" 2023"_qs},
       u"01/03/2023"_qs,
       u"31/03/2023"_qs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const period::Checked r = period::check(c.choice);
    EXPECT_EQ(r.start, c.start);
    EXPECT_EQ(r.end, c.end);
    ASSERT_EQ(r.problem.has_value(), c.field.has_value());
    if (!r.problem) continue;
    EXPECT_EQ(r.problem->field, *c.field);
    EXPECT_EQ(r.problem->notice.kind, c.kind);
    EXPECT_EQ(r.problem->notice.text, c.text);
  }
}

TEST(PeriodCheck, TwoDateTextsAsThePeriodOfTheTool) {
  const struct {
    const char16_t* start;
    const char16_t* end;
    std::optional<Field> field;
  } cases[] = {
      {u"01/03/2024", u"31/03/2024", std::nullopt},
      {u"1/3/2024", u"01/03/2024", std::nullopt},  // one-digit day and month, the same day
      {u"", u"31/03/2024", Field::StartDate},
      {u"1/13/2024", u"31/03/2024", Field::StartDate},
      {u"01/03/24", u"31/03/2024", Field::StartDate},
      {u"01/03/2024", u"31/02/2024", Field::EndDate},
      {u"31/02/2024", u"x", Field::StartDate},  // the start is reported first
      {u"02/03/2024", u"01/03/2024", Field::Order},
      {u"01/01/2025", u"31/12/2024", Field::Order},
  };
  for (const auto& c : cases) {
    const auto problem = period::checkDates(QString::fromUtf16(c.start), QString::fromUtf16(c.end));
    SCOPED_TRACE(QString::fromUtf16(c.start).toStdString() + " " + QString::fromUtf16(c.end).toStdString());
    ASSERT_EQ(problem.has_value(), c.field.has_value());
    if (problem) {
      EXPECT_EQ(problem->field, *c.field);
    }
  }
}

TEST(PeriodItems, DaysMonthsAndTheirDateParts) {
  const QStringList days = period::dayItems();
  ASSERT_EQ(days.size(), 31);
  EXPECT_EQ(days.front(), u"01"_qs);
  EXPECT_EQ(days.back(), u"31"_qs);
  const QStringList months = period::monthItems();
  ASSERT_EQ(months.size(), 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(period::monthPart(months[i]), u"/%1/"_qs.arg(i + 1, 2, 10, QChar(u'0')));
  EXPECT_EQ(period::monthPart(u" settembre "_qs), u"/09/"_qs);
  EXPECT_TRUE(period::monthPart(u"Sett"_qs).isEmpty());
  EXPECT_TRUE(period::isDayItem(u" 07 "_qs));
  for (const char16_t* bad : {u"7", u"00", u"32", u""})
    EXPECT_FALSE(period::isDayItem(QString::fromUtf16(bad)));
  EXPECT_EQ(period::buildDate(u"05"_qs, u"Marzo"_qs, u" 2024 "_qs), u"05/03/2024"_qs);
}
