// SPDX-License-Identifier: GPL-3.0-or-later
// List lines, search filters, the sorted order, the list find and the due
// rule, on small archives written here.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "core/journal.h"
#include "core/lists.h"

using namespace fondaro;

namespace {

struct Mov {
  QString causale, dataSca = u"01/01/2024"_qs, pagatore, beneficiario, totale = u"+1,00"_qs;
  QString preavviso = u"0"_qs, saldato = u"No"_qs, data = u"01/01/2024"_qs;
};

TMovimento record(const Mov& m) {
  return testdata::record<TMovimento>({{mov::Causale, m.causale},
                                       {mov::DataSca, m.dataSca},
                                       {mov::Pagatore, m.pagatore},
                                       {mov::Beneficiario, m.beneficiario},
                                       {mov::Totale, m.totale},
                                       {mov::Preavviso, m.preavviso},
                                       {mov::Saldato, m.saldato},
                                       {mov::Data, m.data}});
}

// A raw field slot written byte for byte, blanks and all, as another program
// might have stored it.
template <int Cap>
void setRaw(LpString<Cap>& f, const QByteArray& bytes) {
  f.len = uint8_t(bytes.size());
  std::memcpy(f.data, bytes.constData(), size_t(bytes.size()));
}

class ListsTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(u"2024.eur"_qs);
  MovementArchive write(const std::vector<TMovimento>& recs) {
    auto a = MovementArchive::OpenOrCreate(path);
    for (const auto& r : recs) a.Append(r);
    return a;
  }
};

}  // namespace

TEST(MovementLine, ColumnsAreTrimmedPaddedAndCut) {
  const QString longReason = QString(45, u'R');
  const QString line = ListKind<TMovimento>::line(record(
      {.causale = u"  Affitto  "_qs + longReason, .dataSca = u"15/05/2024"_qs, .pagatore = u"Mario Rossi"_qs,
       .beneficiario = QString(31, u'B'), .totale = u"-1250,00"_qs}));
  const QString expected = (u"Affitto  "_qs + longReason).left(40) + u"  Scad. 15/05/2024  Da: "_qs +
                           u"Mario Rossi"_qs.leftJustified(30) + u"  A: "_qs + QString(30, u'B') +
                           u"  Importo: -1250,00"_qs;
  EXPECT_EQ(line, expected);
  EXPECT_EQ(line.indexOf(u"-1250,00"_qs), 140);  // column 141
}

TEST(MovementLine, EmptyRecordKeepsEveryColumn) {
  const QString line = ListKind<TMovimento>::line(TMovimento{});
  EXPECT_EQ(line.size(), 140);
  EXPECT_TRUE(line.endsWith(u"  Importo: "_qs));
}

// The longest line a list can show is what a record with every field full
// gives: the windows size their lists by it.
template <class Rec>
Rec fullRecord() {
  Rec r{};
  for (int f = 0; f < int(Rec::fields().size()); ++f)
    setFieldText(r, f, QString(Rec::fields()[f].capacity, u'W'));
  return r;
}

TEST(LongestLine, IsTheLineOfAFullRecord) {
  const TMovimento m = fullRecord<TMovimento>();
  EXPECT_EQ(ListKind<TMovimento>::line(m).size(), ListKind<TMovimento>::longest());
  EXPECT_EQ(journalLine(MovimentoView(reinterpret_cast<const uint8_t*>(&m))).size(), longestJournalLine());
  const TCliente c = fullRecord<TCliente>();
  const ClienteView v(reinterpret_cast<const uint8_t*>(&c));
  EXPECT_EQ(std::max(ListKind<TCliente>::line(v).size(), ListKind<TCliente>::callBackLine(v).size()),
            ListKind<TCliente>::longest());
}

TEST(Filters, MatchingTable) {
  struct Case {
    const char* name;
    QString typed;
    QString field;
    bool active;
    bool matches;
  };
  const Case cases[] = {
      {"inside, any ASCII case", u"rossi"_qs, u"Mario Rossi"_qs, true, true},
      {"prefix", u"rossi"_qs, u"ROSSINI SRL"_qs, true, true},
      {"key upper, field lower", u"ROSSI"_qs, u"mario rossi"_qs, true, true},
      {"trailing blank kept", u"rossi "_qs, u"Mario Rossi"_qs, true, false},
      {"leading blank kept", u" rossi"_qs, u"Mario Rossi"_qs, true, true},
      {"accented capital not folded", u"\u00E8"_qs, u"CAFF\u00C8"_qs, true, false},
      {"accented capital in key not folded", u"\u00C8"_qs, u"caff\u00E8"_qs, true, false},
      {"accented same case", u"caff\u00E8"_qs, u"Caff\u00E8 bar"_qs, true, true},
      {"date part", u"/03/"_qs, u"05/03/2024"_qs, true, true},
      {"blanks only are no filter", u"   "_qs, u"anything"_qs, false, true},
      {"empty is no filter", QString(), QString(), false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMovimento r;
    r.Pagatore.set(c.field);
    const FilterSet fs({{mov::Pagatore, c.typed}});
    EXPECT_EQ(fs.activeCount(), c.active ? 1 : 0);
    EXPECT_EQ(fs.matches(MovimentoView(reinterpret_cast<const uint8_t*>(&r))), c.matches);
  }
}

TEST(Filters, FieldTextIsNotTrimmed) {
  // Stored with blanks around it (written by something else): a key that
  // reaches into the blanks still matches.
  TMovimento r;
  setRaw(r.Pagatore, QByteArray("Rossi  "));
  const MovimentoView v(reinterpret_cast<const uint8_t*>(&r));
  EXPECT_TRUE(FilterSet({{mov::Pagatore, u"rossi "_qs}}).matches(v));
}

TEST(Filters, EveryActiveFilterMustMatch) {
  TMovimento r = record({.causale = u"Bolletta luce"_qs, .pagatore = u"Mario Rossi"_qs});
  const MovimentoView v(reinterpret_cast<const uint8_t*>(&r));
  EXPECT_TRUE(FilterSet({{mov::Pagatore, u"rossi"_qs}, {mov::Causale, u"luce"_qs}}).matches(v));
  EXPECT_FALSE(FilterSet({{mov::Pagatore, u"rossi"_qs}, {mov::Causale, u"gas"_qs}}).matches(v));
  EXPECT_TRUE(FilterSet({{mov::Pagatore, u"rossi"_qs}, {mov::Causale, u"  "_qs}}).matches(v));
}

TEST(SortOrder, Table) {
  struct Case {
    QString a, b;
    int sign;
  };
  const Case cases[] = {
      {u"abc"_qs, u"ABC"_qs, 0},          // a-z compare as A-Z
      {u"abc"_qs, u"abcd"_qs, -1},        // shorter first
      {u"a"_qs, u"_"_qs, -1},             // 'a' compares as 'A' (65) below '_' (95)
      {u"Z"_qs, u"_"_qs, -1},             // by character code otherwise
      {u"\u00E0"_qs, u"z"_qs, 1},         // accented letters keep their code
      {u"Mario"_qs, u"mARIO rossi"_qs, -1},
  };
  for (const Case& c : cases) {
    const int r = compareListLines(c.a, c.b);
    EXPECT_EQ(r < 0 ? -1 : r > 0 ? 1 : 0, c.sign) << c.a.toStdString() << " vs " << c.b.toStdString();
  }
}

TEST_F(ListsTest, SearchListsMatchesSortedByReasonThenDueDateText) {
  auto a = write({record({.causale = u"Luce"_qs, .dataSca = u"15/01/2024"_qs}),
                  record({.causale = u"affitto"_qs, .dataSca = u"01/02/2024"_qs}),
                  record({.causale = u"Luce"_qs, .dataSca = u"02/11/2024"_qs}),
                  record({.causale = u"Gas"_qs, .pagatore = u"Enel"_qs})});
  const ListEntries all = searchList(a, FilterSet());
  ASSERT_EQ(all.size(), 4u);
  EXPECT_EQ(all[0].position, 2);  // "affitto" sorts as "AFFITTO"
  EXPECT_EQ(all[1].position, 4);
  EXPECT_EQ(all[2].position, 3);  // 02/11/2024 before 15/01/2024: the text begins with the day
  EXPECT_EQ(all[3].position, 1);
  const ListEntries luce = searchList(a, FilterSet({{mov::Causale, u"LUCE"_qs}}));
  ASSERT_EQ(luce.size(), 2u);
  EXPECT_EQ(luce[0].position, 3);
}

TEST_F(ListsTest, ChosenLineGivesTheLaterOfIdenticalRecords) {
  TMovimento first = record({.causale = u"Luce"_qs});
  first.Note.set(u"prima"_qs);
  TMovimento second = first;
  second.Note.set(u"seconda"_qs);
  auto a = write({first, record({.causale = u"Gas"_qs}), second});
  const auto hit = lastRecordWithLine(a, u"  "_qs + ListKind<TMovimento>::line(first) + u" "_qs);
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->position, 3);
  EXPECT_FALSE(lastRecordWithLine(a, u"luce"_qs));
}

TEST(ListFindTest, WrapAroundAndRepeatRule) {
  const QStringList lines = {u"Luce gennaio"_qs, u"Gas"_qs, u"LUCE febbraio"_qs, u"Acqua"_qs, u"luce marzo"_qs};
  ListFind f;
  // A new key starts from line 0 and tests it first.
  EXPECT_EQ(f.find(lines, 3, u"luce"_qs), 0);
  // The same key again goes on after the selection...
  EXPECT_EQ(f.find(lines, 0, u"luce"_qs), 2);
  EXPECT_EQ(f.find(lines, 2, u"luce"_qs), 4);
  // ...and wraps from the last line to line 0.
  EXPECT_EQ(f.find(lines, 4, u"luce"_qs), 0);
  // A changed key restarts from line 0.
  EXPECT_EQ(f.find(lines, 4, u"acqua"_qs), 3);
  // Only the selected line matches: a repeat comes back to it.
  EXPECT_EQ(f.find(lines, 1, u"gas"_qs), 1);
  EXPECT_EQ(f.find(lines, 1, u"gas"_qs), 1);
  // No match: the selection stays; no selection becomes line 0.
  EXPECT_EQ(f.find(lines, 3, u"zzz"_qs), 3);
  EXPECT_EQ(f.find(lines, -1, u"yyy"_qs), 0);
  // An empty key matches nothing; an empty list has nothing to select.
  EXPECT_EQ(f.find(lines, 2, QString()), 2);
  EXPECT_EQ(f.find({}, -1, u"luce"_qs), -1);
  // The key is not trimmed.
  EXPECT_EQ(f.find(lines, 0, u"gas "_qs), 0);
}

TEST(ListFindTest, ResetMakesTheSameKeyANewSearch) {
  const QStringList lines = {u"a1"_qs, u"b"_qs, u"a2"_qs};
  ListFind f;
  EXPECT_EQ(f.find(lines, 0, u"a"_qs), 0);
  EXPECT_EQ(f.find(lines, 0, u"a"_qs), 2);
  f.reset();
  EXPECT_EQ(f.find(lines, 2, u"a"_qs), 0);
}

TEST_F(ListsTest, DueRuleOnTheWorkedExampleAndEdges) {
  struct Case {
    const char* name;
    QString dataSca, preavviso, saldato;
    bool listed;
  };
  const Case cases[] = {
      {"notice begins today", u"15/05/2024"_qs, u"5"_qs, u"No"_qs, true},
      {"notice begins tomorrow", u"15/05/2024"_qs, u"4"_qs, u"No"_qs, false},
      {"overdue", u"01/05/2024"_qs, u"0"_qs, u"No"_qs, true},
      {"due today", u"10/05/2024"_qs, u"0"_qs, u"No"_qs, true},
      {"due tomorrow", u"11/05/2024"_qs, u"0"_qs, u"No"_qs, false},
      {"paid", u"01/05/2024"_qs, u"0"_qs, u"S\u00EC"_qs, false},
      {"flag neither", u"01/05/2024"_qs, u"0"_qs, u"no"_qs, false},
      {"notice across the year", u"02/01/2025"_qs, u"237"_qs, u"No"_qs, true},
  };
  std::vector<TMovimento> recs;
  for (const Case& c : cases)
    recs.push_back(record({.causale = QString::fromLatin1(c.name), .dataSca = c.dataSca,
                           .preavviso = c.preavviso, .saldato = c.saldato}));
  auto a = write(recs);
  const DueList due = dueList(a, QDate(2024, 5, 10));
  EXPECT_TRUE(due.skipped.empty());
  QStringList listed;
  for (const ListEntry& e : due.entries) listed << trimmedText(e.line.left(40));
  for (const Case& c : cases) EXPECT_EQ(listed.contains(QString::fromLatin1(c.name)), c.listed) << c.name;
}

TEST_F(ListsTest, DueListSkipsUnreadableRecordsAndGoesOn) {
  TMovimento blankDate = record({.causale = u"a"_qs});
  setRaw(blankDate.DataSca, QByteArray(" 01/05/2024"));  // as stored, not trimmed
  auto a = write({record({.causale = u"ok1"_qs}),
                  record({.causale = u"bad date"_qs, .dataSca = u"31/02/2024"_qs}),
                  record({.causale = u"bad notice"_qs, .preavviso = u"x"_qs, .saldato = u"S\u00EC"_qs}),
                  blankDate, record({.causale = u"empty notice"_qs, .preavviso = QString()}),
                  record({.causale = u"ok2"_qs})});
  const DueList due = dueList(a, QDate(2024, 5, 10));
  ASSERT_EQ(due.entries.size(), 2u);
  EXPECT_EQ(due.entries[1].position, 6);
  ASSERT_EQ(due.skipped.size(), 4u);
  EXPECT_EQ(due.skipped[0].position, 2);
  EXPECT_EQ(due.skipped[1].position, 3);
  EXPECT_EQ(due.skipped[0].reason, u"due date \"31/02/2024\" is not a date"_qs);
}

TEST(SkippedPositions, AtMostTenThenEllipsis) {
  std::vector<SkippedRecord> s;
  for (int i = 1; i <= 3; ++i) s.push_back({i * 2, {}});
  EXPECT_EQ(skippedPositionsText(s), u"2, 4, 6"_qs);
  for (int i = 4; i <= 11; ++i) s.push_back({i * 2, {}});
  EXPECT_EQ(skippedPositionsText(s), u"2, 4, 6, 8, 10, 12, 14, 16, 18, 20, ..."_qs);
}

TEST(NoticeDays, WholeNumbersOnly) {
  EXPECT_EQ(parseNoticeDays(u"0"), 0);
  EXPECT_EQ(parseNoticeDays(u"007"), 7);
  EXPECT_EQ(parseNoticeDays(u"-3"), -3);
  for (QStringView bad : {u"", u" 5", u"5 ", u"1,5", u"-", u"x"}) EXPECT_FALSE(parseNoticeDays(bad)) << bad.toString().toStdString();
}
