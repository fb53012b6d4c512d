// SPDX-License-Identifier: GPL-3.0-or-later
// Recurring movements: the date rules, the schedule file, and the generation
// into the yearly archives (once per occurrence, whatever happens).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "core/lists.h"
#include "core/recurring.h"
#include "core/textrules.h"

namespace fondaro {
namespace {

QDate d(const char* text) { return parseDate(QString::fromLatin1(text)); }

QStringList texts(std::initializer_list<const char*> list) {
  QStringList out;
  for (const char* t : list) out << QString::fromLatin1(t);
  return out;
}

Schedule schedule(const char* every, const char* first, ScheduleEnd end = {}) {
  Schedule s;
  s.number = 1;
  s.repetition = *Repetition::parse(QString::fromLatin1(every));
  s.first = d(first);
  s.end = end;
  return s;
}

// ---- date rules -------------------------------------------------------------

struct OccurrenceCase {
  const char* every;
  const char* first;
  int index;
  const char* expected;
};

TEST(RecurringDates, OccurrenceTable) {
  const OccurrenceCase cases[] = {
      {"1m", "15/01/2025", 0, "15/01/2025"},
      // The 31st falls on the month's last day and comes back after it.
      {"1m", "31/01/2025", 1, "28/02/2025"},
      {"1m", "31/01/2025", 2, "31/03/2025"},
      {"1m", "31/01/2025", 3, "30/04/2025"},
      {"1m", "31/01/2024", 1, "29/02/2024"},
      {"1m", "30/01/2025", 1, "28/02/2025"},
      {"2m", "31/12/2024", 1, "28/02/2025"},
      {"3m", "30/11/2024", 1, "28/02/2025"},
      {"3m", "31/05/2025", 1, "31/08/2025"},
      {"6m", "31/08/2023", 1, "29/02/2024"},
      // Every 12 months from 29 February: the 28th, the 29th again in leap years.
      {"12m", "29/02/2024", 1, "28/02/2025"},
      {"12m", "29/02/2024", 3, "28/02/2027"},
      {"12m", "29/02/2024", 4, "29/02/2028"},
      {"12m", "31/12/2024", 1, "31/12/2025"},
      // Weeks: whole weeks across month and year ends and 29 February.
      {"1w", "30/12/2024", 1, "06/01/2025"},
      {"2w", "15/02/2024", 1, "29/02/2024"},
      {"2w", "15/02/2024", 2, "14/03/2024"},
      {"52w", "01/01/2025", 1, "31/12/2025"},
  };
  for (const OccurrenceCase& c : cases) {
    EXPECT_EQ(formatDate(schedule(c.every, c.first).occurrence(c.index)), QLatin1String(c.expected))
        << c.every << " from " << c.first << " #" << c.index;
  }
}

struct EndCase {
  const char* every;
  const char* first;
  ScheduleEnd end;
  int occurrences;  // within the end; -1: no end
};

TEST(RecurringDates, EndTable) {
  const EndCase cases[] = {
      {"1m", "31/01/2025", {}, -1},
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Times, {}, 1}, 1},
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Times, {}, 3}, 3},
      // An end date is included.
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Until, d("31/03/2025"), 0}, 3},
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Until, d("30/03/2025"), 0}, 2},
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Until, d("31/01/2025"), 0}, 1},
      {"1m", "31/01/2025", {ScheduleEnd::Kind::Until, d("28/02/2025"), 0}, 2},
      {"12m", "29/02/2024", {ScheduleEnd::Kind::Until, d("28/02/2025"), 0}, 2},
      {"1w", "01/01/2025", {ScheduleEnd::Kind::Until, d("29/01/2025"), 0}, 5},
  };
  for (const EndCase& c : cases) {
    const Schedule s = schedule(c.every, c.first, c.end);
    int n = 0;
    while (n < 100 && s.withinEnd(n)) ++n;
    EXPECT_EQ(n, c.occurrences < 0 ? 100 : c.occurrences) << c.every << " from " << c.first << " " << s.end.italian().toStdString();
  }
  // The count of an end counts the occurrences of earlier settings too.
  Schedule changed = schedule("1m", "01/06/2025", {ScheduleEnd::Kind::Times, {}, 5});
  changed.before = 3;
  EXPECT_TRUE(changed.withinEnd(1));
  EXPECT_FALSE(changed.withinEnd(2));
}

TEST(RecurringDates, RepetitionCodes) {
  const struct {
    const char* code;
    bool ok;
    const char* italian;
  } cases[] = {
      {"1m", true, "ogni mese"},    {"2m", true, "ogni 2 mesi"},     {"3m", true, "ogni 3 mesi"},
      {"6m", true, "ogni 6 mesi"},  {"12m", true, "ogni anno"},      {"1w", true, "ogni settimana"},
      {"3w", true, "ogni 3 settimane"}, {"52w", true, "ogni 52 settimane"},
      {"4m", false, ""},            {"24m", false, ""},              {"0m", false, ""},
      {"0w", false, ""},            {"53w", false, ""},              {"01m", false, ""},
      {"m", false, ""},             {"1x", false, ""},               {"", false, ""},
      {"-1w", false, ""},           {"1 m", false, ""},              {"1M", false, ""},
  };
  for (const auto& c : cases) {
    const auto r = Repetition::parse(QString::fromLatin1(c.code));
    ASSERT_EQ(r.has_value(), c.ok) << c.code;
    if (!r) continue;
    EXPECT_EQ(r->code(), QLatin1String(c.code));
    EXPECT_EQ(r->italian(), QLatin1String(c.italian));
  }
}

TEST(RecurringDates, NoteMark) {
  EXPECT_EQ(recurringNumberOfNote(u"Ricorrente n. 12 - Affitto"), 12);
  EXPECT_EQ(recurringNumberOfNote(u"Ricorrente n. 1"), 1);
  EXPECT_EQ(recurringNumberOfNote(u"Ricorrente n. 0"), std::nullopt);
  EXPECT_EQ(recurringNumberOfNote(u"Ricorrente n. x"), std::nullopt);
  EXPECT_EQ(recurringNumberOfNote(u"ricorrente n. 1"), std::nullopt);
  EXPECT_EQ(recurringNumberOfNote(u"Affitto"), std::nullopt);
}

// ---- the schedule file and the generation ------------------------------------

class RecurringFolder : public ::testing::Test {
 protected:
  QByteArray folder() const { return encodePath(dir.path() + u'/'); }
  QString file(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

  TMovimento rent() const {
    TMovimento m = testdata::movement(u"Affitto", u"10/01/2025", u"650,00", false);
    m.Beneficiario.set(u"Immobiliare Rossi");
    m.Note.set(u"Contratto 2025");
    m.Preavviso.set(u"0");
    m.Saldato.set(kSi);
    return m;
  }

  int add(const char* every, const char* first, ScheduleEnd end = {}, TMovimento m = {}) {
    Schedule s = schedule(every, first, end);
    s.movement = m.Causale.len ? m : rent();
    return addSchedule(folder(), s);
  }

  std::vector<TMovimento> archive(const char* year) const {
    std::vector<TMovimento> out;
    const QString path = file(year) + u".eur"_qs;
    if (!QFile::exists(path)) return out;
    MovementArchive a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    for (qint64 p = 1; p <= a.Count(); ++p) out.push_back(a.ReadAt(p));
    return out;
  }

  static QStringList dates(const std::vector<TMovimento>& recs) {
    QStringList out;
    for (const TMovimento& r : recs) out << r.Data.trimmed();
    return out;
  }

  QTemporaryDir dir;
};

TEST_F(RecurringFolder, FileRoundTripsEverySetting) {
  Schedule a = schedule("3m", "31/01/2025", {ScheduleEnd::Kind::Until, d("31/12/2026"), 0});
  a.movement = rent();
  a.movement.Note.set(u"Caffè « € »");
  a.generated = 4;
  a.before = 2;
  a.stopped = true;
  Schedule b = schedule("2w", "01/03/2025", {ScheduleEnd::Kind::Times, {}, 7});
  b.number = 9;
  b.movement = testdata::movement(u"Quota");
  const std::vector<Schedule> back = schedulesFromJson(schedulesToJson({a, b}));
  ASSERT_EQ(back.size(), 2u);
  EXPECT_EQ(back[0].repetition, a.repetition);
  EXPECT_EQ(back[0].first, a.first);
  EXPECT_EQ(back[0].end, a.end);
  EXPECT_EQ(back[0].generated, 4);
  EXPECT_EQ(back[0].before, 2);
  EXPECT_TRUE(back[0].stopped);
  EXPECT_EQ(std::memcmp(&back[0].movement, &a.movement, sizeof(TMovimento)), 0);
  EXPECT_EQ(back[1].number, 9);
  EXPECT_EQ(back[1].end, b.end);
  EXPECT_FALSE(back[1].stopped);
}

TEST_F(RecurringFolder, NumbersAreGivenInTurnAndTheTemplateIsACopy) {
  TMovimento m = rent();
  EXPECT_EQ(add("1m", "31/01/2025", {}, m), 1);
  m.Importo.set(u"700,00");  // the card changes afterwards
  EXPECT_EQ(add("12m", "01/02/2025"), 2);
  const auto list = readSchedules(folder());
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].movement.Importo.trimmed(), u"650,00"_qs);
  EXPECT_EQ(list[1].repetition.code(), u"12m"_qs);
}

TEST_F(RecurringFolder, GeneratesEveryMissedOccurrenceOnceWithTheGeneratedFields) {
  add("1m", "31/01/2025");
  const auto added = generateRecurring(folder(), d("15/06/2025"));
  ASSERT_EQ(added.size(), 5u);
  EXPECT_EQ(added[1].yearText, u"2025"_qs);
  EXPECT_EQ(added[1].position, 2);
  EXPECT_EQ(added[1].date, d("28/02/2025"));
  EXPECT_EQ(added[1].causale, u"Affitto"_qs);
  const auto recs = archive("2025");
  EXPECT_EQ(dates(recs), texts({"31/01/2025", "28/02/2025", "31/03/2025", "30/04/2025", "31/05/2025"}));
  for (const TMovimento& r : recs) {
    EXPECT_EQ(r.DataSca.trimmed(), r.Data.trimmed());
    EXPECT_EQ(r.Saldato.trimmed(), kNo);
    EXPECT_EQ(r.Note.trimmed(), u"Ricorrente n. 1 - Contratto 2025"_qs);
    EXPECT_EQ(r.Totale.trimmed(), u"-650,00"_qs);
    EXPECT_EQ(r.Beneficiario.trimmed(), u"Immobiliare Rossi"_qs);
    EXPECT_EQ(r.Uscita.trimmed(), kSi);
  }
  // They are in the due list of that day, and a second run adds nothing.
  EXPECT_EQ(dueList(MovementArchive::OpenExisting(file("2025.eur"), RecordFile::Access::ReadOnly), d("15/06/2025"))
                .entries.size(),
            5u);
  EXPECT_TRUE(generateRecurring(folder(), d("15/06/2025")).empty());
  EXPECT_EQ(readSchedules(folder())[0].next(), d("30/06/2025"));
  EXPECT_EQ(archive("2025").size(), 5u);
}

TEST_F(RecurringFolder, NoticeDaysBringAnOccurrenceForwardAndYearsGetTheirOwnArchive) {
  TMovimento m = rent();
  m.Preavviso.set(u"20");
  add("1m", "15/11/2024", {}, m);
  const auto added = generateRecurring(folder(), d("26/01/2025"));
  // 15/02/2025 minus 20 days is 26/01/2025: it comes now.
  EXPECT_EQ(dates(archive("2024")), texts({"15/11/2024", "15/12/2024"}));
  EXPECT_EQ(dates(archive("2025")), texts({"15/01/2025", "15/02/2025"}));
  ASSERT_EQ(added.size(), 4u);
  EXPECT_EQ(added[2].yearText, u"2025"_qs);
  EXPECT_EQ(added[2].position, 1);
}

TEST_F(RecurringFolder, EndsAndStopsAreKept) {
  add("1m", "31/01/2025", {ScheduleEnd::Kind::Times, {}, 2});
  add("1w", "01/01/2025", {ScheduleEnd::Kind::Until, d("15/01/2025"), 0});
  const int stopped = add("1m", "05/01/2025");
  stopSchedule(folder(), stopped);
  generateRecurring(folder(), d("31/12/2025"));
  const auto recs = archive("2025");
  QStringList marks;
  for (const TMovimento& r : recs) marks << r.Note.trimmed().section(u' ', 2, 2) + u' ' + r.Data.trimmed();
  EXPECT_EQ(marks, texts({"2 01/01/2025", "2 08/01/2025", "2 15/01/2025", "1 31/01/2025", "1 28/02/2025"}));
  const auto list = readSchedules(folder());
  EXPECT_EQ(list[0].next(), std::nullopt);
  EXPECT_TRUE(list[2].stopped);
  EXPECT_EQ(list[2].next(), std::nullopt);
}

// A template without a notice that is a whole number (a record stored by
// another program) gives movements the due list can read.
TEST_F(RecurringFolder, AMissingNoticeBecomesZero) {
  TMovimento m = rent();
  m.Preavviso.set(u"");
  add("1m", "01/01/2025", {}, m);
  generateRecurring(folder(), d("01/01/2025"));
  EXPECT_EQ(archive("2025").at(0).Preavviso.trimmed(), u"0"_qs);
  EXPECT_EQ(dueList(MovementArchive::OpenExisting(file("2025.eur"), RecordFile::Access::ReadOnly), d("01/01/2025"))
                .entries.size(),
            1u);
}

TEST_F(RecurringFolder, TheNoteIsCutAtCapacity) {
  TMovimento m = rent();
  m.Note.set(QString(250, u'x'));
  add("1m", "01/01/2025", {}, m);
  generateRecurring(folder(), d("01/01/2025"));
  const QString note = archive("2025").at(0).Note.trimmed();
  EXPECT_EQ(note.size(), 250);
  EXPECT_TRUE(note.startsWith(u"Ricorrente n. 1 - xxx"));
}

// The program stopped between the append and the recording of the progress:
// the archive holds the occurrences, the schedule does not know; a rerun
// finds them in the archive and adds nothing.
TEST_F(RecurringFolder, AStopBetweenTheAppendAndTheProgressAddsNothingOnTheRerun) {
  add("1m", "31/01/2025");
  GenerateOptions stopHere;
  stopHere.afterAppend = [] { throw std::runtime_error("stopped"); };
  EXPECT_THROW(generateRecurring(folder(), d("31/03/2025"), stopHere), std::runtime_error);
  EXPECT_EQ(archive("2025").size(), 3u);
  EXPECT_EQ(readSchedules(folder())[0].generated, 0);

  EXPECT_TRUE(generateRecurring(folder(), d("31/03/2025")).empty());
  EXPECT_EQ(archive("2025").size(), 3u);
  EXPECT_EQ(readSchedules(folder())[0].generated, 3);
  // Later occurrences still come.
  EXPECT_EQ(generateRecurring(folder(), d("30/04/2025")).size(), 1u);
  EXPECT_EQ(archive("2025").size(), 4u);
}

// The archive check knows schedules apart: "n. 1" is not "n. 12".
TEST_F(RecurringFolder, OnlyTheSameScheduleAndDateCountAsPresent) {
  for (int i = 1; i <= 12; ++i) add("1m", "31/01/2025");
  MovementArchive a = MovementArchive::OpenOrCreate(file("2025.eur"));
  TMovimento other = rent();
  other.Data.set(u"31/01/2025");
  other.Note.set(u"Ricorrente n. 12 - Contratto 2025");
  a.Append(other);
  other.Note.set(u"Ricorrente n. 1 - Contratto 2025");
  other.Data.set(u"28/02/2025");
  a.Append(other);
  a.Close();
  const auto added = generateRecurring(folder(), d("31/01/2025"));
  EXPECT_EQ(added.size(), 11u);  // every schedule but 12 on 31/01
  EXPECT_EQ(archive("2025").size(), 13u);
  for (const Schedule& s : readSchedules(folder())) EXPECT_EQ(s.generated, 1) << s.number;
}

TEST_F(RecurringFolder, ADamagedFileIsReportedAndNeverReplaced) {
  const QByteArray garbage = "{\"formato\": 1, \"ricorrenze\": [ {\"numero\": 1, \"ogni\": \"4m\"";
  for (const QByteArray& bytes : {garbage, QByteArray("[]"), QByteArray(""),
                                  QByteArray(R"({"formato":1,"ricorrenze":[{"numero":1,"ogni":"4m"}]})")}) {
    QFile f(file("Ricorrenti.json"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    try {
      readSchedules(folder());
      ADD_FAILURE() << bytes.constData();
    } catch (const RecurringError& e) {
      EXPECT_EQ(e.kind(), RecurringError::Kind::Damaged);
      EXPECT_TRUE(e.italian().contains(u"danneggiato"));
    }
    EXPECT_THROW(add("1m", "01/01/2025"), RecurringError);
    EXPECT_THROW(stopSchedule(folder(), 1), RecurringError);
    EXPECT_THROW(generateRecurring(folder(), d("01/01/2026")), RecurringError);
    QFile back(file("Ricorrenti.json"));
    ASSERT_TRUE(back.open(QIODevice::ReadOnly));
    EXPECT_EQ(back.readAll(), bytes);
  }
}

TEST_F(RecurringFolder, NothingDueWritesNothing) {
  EXPECT_TRUE(generateRecurring(folder(), d("01/01/2025")).empty());
  add("1m", "31/01/2025");
  EXPECT_TRUE(generateRecurring(folder(), d("30/01/2025")).empty());
  EXPECT_FALSE(QFile::exists(file("2025.eur")));
}

TEST_F(RecurringFolder, DryRunWritesNothing) {
  add("1m", "31/01/2025");
  const QByteArray before = [&] {
    QFile f(file("Ricorrenti.json"));
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();
  GenerateOptions dry;
  dry.dryRun = true;
  const auto added = generateRecurring(folder(), d("31/03/2025"), dry);
  ASSERT_EQ(added.size(), 3u);
  EXPECT_EQ(added[2].position, 3);
  EXPECT_FALSE(QFile::exists(file("2025.eur")));
  QFile f(file("Ricorrenti.json"));
  f.open(QIODevice::ReadOnly);
  EXPECT_EQ(f.readAll(), before);
}

TEST_F(RecurringFolder, AChangeKeepsWhatWasGeneratedAndMovesOn) {
  add("1m", "31/01/2025", {ScheduleEnd::Kind::Times, {}, 4});
  generateRecurring(folder(), d("28/02/2025"));
  // The next date must come after the last generated occurrence.
  EXPECT_THROW(changeSchedule(folder(), 1, {*Repetition::parse(u"1m"), d("28/02/2025"), {}, u"700,00"_qs}),
               RecurringError);
  EXPECT_THROW(changeSchedule(folder(), 1, {*Repetition::parse(u"1m"), d("15/03/2025"), {}, u"7x"_qs}),
               RecurringError);
  EXPECT_THROW(changeSchedule(folder(), 7, {*Repetition::parse(u"1m"), d("15/03/2025"), {}, u"7,00"_qs}),
               RecurringError);
  changeSchedule(folder(), 1,
                 {*Repetition::parse(u"2w"), d("15/03/2025"), {ScheduleEnd::Kind::Times, {}, 4}, u"700,00"_qs});
  generateRecurring(folder(), d("31/12/2025"));
  const auto recs = archive("2025");
  EXPECT_EQ(dates(recs), texts({"31/01/2025", "28/02/2025", "15/03/2025", "29/03/2025"}));
  EXPECT_EQ(recs[3].Totale.trimmed(), u"-700,00"_qs);
  EXPECT_EQ(recs[3].Importo.trimmed(), u"700,00"_qs);
}

TEST_F(RecurringFolder, BadSettingsAreRefusedAndNothingIsWritten) {
  EXPECT_THROW(add("1m", "31/01/2025", {ScheduleEnd::Kind::Until, d("30/01/2025"), 0}), RecurringError);
  EXPECT_THROW(add("1m", "31/01/2025", {ScheduleEnd::Kind::Times, {}, 0}), RecurringError);
  EXPECT_THROW(stopSchedule(folder(), 3), RecurringError);
  EXPECT_FALSE(QFile::exists(file("Ricorrenti.json")));
}

}  // namespace
}  // namespace fondaro
