// SPDX-License-Identifier: GPL-3.0-or-later
// The journal of a period: which movements it lists, its lines, its exact
// totals, and the records it cannot read.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "core/archive.h"
#include "core/journal.h"

using namespace fondaro;

namespace {

TMovimento movement(const QString& data, const QString& totale, const QString& causale = u"Voce"_qs) {
  TMovimento r;
  r.Data.set(data);
  r.Totale.set(totale);
  r.Causale.set(causale);
  return r;
}

class JournalTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(u"2024.eur"_qs);

  Journal run(const std::vector<TMovimento>& recs, QDate from, QDate to, const QString& causale = {}) {
    QFile::remove(path);
    auto a = MovementArchive::OpenOrCreate(path);
    for (const auto& r : recs) a.Append(r);
    return buildJournal(a, {from, to, causale});
  }
};

const QDate kMar1(2024, 3, 1), kMar31(2024, 3, 31);

}  // namespace

TEST_F(JournalTest, WorkedExample) {
  const Journal j = run({movement(u"05/03/2024"_qs, u"+100,00"_qs), movement(u"31/03/2024"_qs, u"-30,00"_qs),
                         movement(u"01/04/2024"_qs, u"+50,00"_qs)},
                        kMar1, kMar31);
  ASSERT_EQ(j.lines.size(), 2);
  EXPECT_TRUE(j.lines[0].startsWith(u"ENTRATA  Voce"_qs));
  EXPECT_TRUE(j.lines[1].startsWith(u"USCITA   Voce"_qs));
  EXPECT_EQ(j.income.euroText(), u"100,00 \u20AC"_qs);
  EXPECT_EQ(j.expense.euroText(), u"-30,00 \u20AC"_qs);
  EXPECT_EQ(j.balance.euroText(), u"70,00 \u20AC"_qs);
  EXPECT_TRUE(j.skipped.empty());
}

TEST_F(JournalTest, JournalLineColumns) {
  TMovimento r = movement(u"05/03/2024"_qs, u"-12,50"_qs, u" Bolletta "_qs + QString(40, u'x'));
  r.Pagatore.set(QString(29, u'P'));
  r.Beneficiario.set(u"Enel"_qs);
  const Journal j = run({r}, kMar1, kMar31);
  ASSERT_EQ(j.lines.size(), 1);
  const QString expected = u"USCITA   "_qs + (u"Bolletta "_qs + QString(40, u'x')).left(40) +
                           u"  Data: 05/03/2024  Da: "_qs + QString(28, u'P') + u"  A: "_qs +
                           u"Enel"_qs.leftJustified(28) + u"  Importo: -12,50"_qs;
  EXPECT_EQ(j.lines[0], expected);
  EXPECT_EQ(j.lines[0].indexOf(u"-12,50"_qs), 145);  // column 146
}

TEST_F(JournalTest, WhichMovementsAreListed) {
  struct Case {
    const char* name;
    QDate from, to;
    QString causale;
    std::vector<TMovimento> recs;
    int listed;
  };
  const Case cases[] = {
      {"bounds inclusive", kMar1, kMar31,
       {},
       {movement(u"01/03/2024"_qs, u"+1,00"_qs), movement(u"31/03/2024"_qs, u"+1,00"_qs),
        movement(u"29/02/2024"_qs, u"+1,00"_qs), movement(u"01/04/2024"_qs, u"+1,00"_qs)},
       2},
      {"one-day period", QDate(2024, 3, 15), QDate(2024, 3, 15),
       {},
       {movement(u"15/03/2024"_qs, u"+1,00"_qs), movement(u"14/03/2024"_qs, u"+1,00"_qs),
        movement(u"16/03/2024"_qs, u"+1,00"_qs)},
       1},
      {"leap day", QDate(2024, 2, 29), QDate(2024, 2, 29), {}, {movement(u"29/02/2024"_qs, u"+1,00"_qs)}, 1},
      {"period across two years", QDate(2023, 12, 1), QDate(2024, 1, 31),
       {},
       {movement(u"31/12/2023"_qs, u"+1,00"_qs), movement(u"01/01/2024"_qs, u"+1,00"_qs),
        movement(u"01/02/2024"_qs, u"+1,00"_qs)},
       2},
      {"dates compared as dates, not texts", kMar1, kMar31,
       {},
       {movement(u"15/02/2024"_qs, u"+1,00"_qs), movement(u"02/04/2024"_qs, u"+1,00"_qs),
        movement(u"05/03/2023"_qs, u"+1,00"_qs)},
       0},
      {"reason of blanks is no filter", kMar1, kMar31, u"   "_qs,
       {movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Luce"_qs), movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Gas"_qs)},
       2},
      {"reason inside, ASCII case folded", kMar1, kMar31, u"LUCE"_qs,
       {movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Bolletta luce"_qs),
        movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Gas"_qs)},
       1},
      {"reason blanks kept", kMar1, kMar31, u"luce "_qs,
       {movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Bolletta luce"_qs),
        movement(u"05/03/2024"_qs, u"+1,00"_qs, u"Luce marzo"_qs)},
       1},
      {"accented capitals not folded", kMar1, kMar31, u"CAFF\u00C8"_qs,
       {movement(u"05/03/2024"_qs, u"+1,00"_qs, u"caff\u00E8"_qs),
        movement(u"05/03/2024"_qs, u"+1,00"_qs, u"CAFF\u00C8 bar"_qs)},
       1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Journal j = run(c.recs, c.from, c.to, c.causale);
    EXPECT_EQ(j.lines.size(), c.listed);
    EXPECT_TRUE(j.skipped.empty());
  }
}

TEST_F(JournalTest, LinesKeepArchiveOrder) {
  const Journal j = run({movement(u"20/03/2024"_qs, u"+1,00"_qs, u"Zeta"_qs),
                         movement(u"02/03/2024"_qs, u"+1,00"_qs, u"Alfa"_qs)},
                        kMar1, kMar31);
  ASSERT_EQ(j.lines.size(), 2);
  EXPECT_TRUE(j.lines[0].contains(u"Zeta"_qs));
}

TEST_F(JournalTest, TotalsAreExact) {
  struct Case {
    const char* name;
    std::vector<QString> amounts;
    QString income, expense, balance;
  };
  const Case cases[] = {
      {"cancel exactly", {u"+0,10"_qs, u"+0,20"_qs, u"-0,30"_qs}, u"0,30 \u20AC"_qs, u"-0,30 \u20AC"_qs, u"0,00 \u20AC"_qs},
      {"only expenses", {u"-12,50"_qs, u"-0,50"_qs}, u"0,00 \u20AC"_qs, u"-13,00 \u20AC"_qs, u"-13,00 \u20AC"_qs},
      {"nothing listed", {}, u"0,00 \u20AC"_qs, u"0,00 \u20AC"_qs, u"0,00 \u20AC"_qs},
      {"many tenths", std::vector<QString>(10, u"+0,10"_qs), u"1,00 \u20AC"_qs, u"0,00 \u20AC"_qs, u"1,00 \u20AC"_qs},
      {"large and small", {u"+99999999999,99"_qs, u"+0,01"_qs}, u"100000000000,00 \u20AC"_qs, u"0,00 \u20AC"_qs,
       u"100000000000,00 \u20AC"_qs},
      {"below a cent rounds half away from zero", {u"+0,005"_qs, u"-0,01"_qs}, u"0,01 \u20AC"_qs,
       u"-0,01 \u20AC"_qs, u"-0,01 \u20AC"_qs},
      {"tiny negative shows no minus", {u"+0,004"_qs, u"-0,008"_qs}, u"0,00 \u20AC"_qs, u"-0,01 \u20AC"_qs,
       u"0,00 \u20AC"_qs},
      {"number forms of the archives", {u"+12,"_qs, u"+,5"_qs, u"+1E2"_qs}, u"112,50 \u20AC"_qs, u"0,00 \u20AC"_qs,
       u"112,50 \u20AC"_qs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<TMovimento> recs;
    for (const QString& a : c.amounts) recs.push_back(movement(u"05/03/2024"_qs, a));
    const Journal j = run(recs, kMar1, kMar31);
    EXPECT_EQ(j.income.euroText(), c.income);
    EXPECT_EQ(j.expense.euroText(), c.expense);
    EXPECT_EQ(j.balance.euroText(), c.balance);
  }
}

TEST_F(JournalTest, UnreadableRecordsAreSkippedReportedAndNotCounted) {
  const Journal j = run({movement(u"05/03/2024"_qs, u"+10,00"_qs), movement(u"31/02/2024"_qs, u"+5,00"_qs),
                         movement(u"06/03/2024"_qs, u"+1.000,00"_qs), movement(u"07/03/2024"_qs, QString()),
                         movement(u"01/05/2024"_qs, u"garbage"_qs),  // outside the period: not read
                         movement(u"08/03/2024"_qs, u"-4,00"_qs)},
                        kMar1, kMar31);
  EXPECT_EQ(j.lines.size(), 2);
  EXPECT_EQ(j.balance.euroText(), u"6,00 \u20AC"_qs);
  ASSERT_EQ(j.skipped.size(), 3u);
  EXPECT_EQ(j.skipped[0].position, 2);
  EXPECT_EQ(j.skipped[1].position, 3);
  EXPECT_EQ(j.skipped[2].position, 4);
  EXPECT_EQ(j.skipped[1].reason, u"amount \"+1.000,00\" is not a number"_qs);
}

TEST(JournalPrint, SeparatorAndSummaryLines) {
  const QStringList p = journalPrintLines({u"L1"_qs}, intervalText(u"01/03/2024"_qs, u"31/03/2024 "_qs),
                                          u"100,00 \u20AC"_qs, u"-30,00 \u20AC"_qs, u" 70,00 \u20AC"_qs);
  const QStringList expected = {u"L1"_qs,
                                u"- - - - - - - - - - - - - - - -"_qs,
                                u"INTERVALLO SELEZIONATO :      Dal   01/03/2024   al   31/03/2024"_qs,
                                u"TOTALE ENTRATE :              100,00 \u20AC"_qs,
                                u"TOTALE USCITE :               -30,00 \u20AC"_qs,
                                u"BILANCIO ENTRATE E USCITE :   70,00 \u20AC"_qs};
  EXPECT_EQ(p, expected);
}
