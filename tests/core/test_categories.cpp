// SPDX-License-Identifier: GPL-3.0-or-later
// Totals by category: names and their order, the summary of a period over two
// archives against the journal's totals, and the tool's command.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/archive.h"
#include "core/categories.h"
#include "core/filepath.h"
#include "core/journal.h"
#include "../common/records.h"
#include "test_support.h"

using namespace fondaro;
using namespace fondaro::categories;

namespace {

TMovimento movement(const QString& data, const QString& totale, const QString& categoria, bool saldato = false) {
  return testdata::categorised(data, totale, categoria, saldato);
}

void writeArchive(const QString& folder, const QString& year, const std::vector<TMovimento>& recs) {
  testdata::appendToYear(folder, year, recs);
}

// Two years with a period across their boundary: names in several spellings,
// sub-categories, accents, no category, a record that cannot be read.
class TwoYears : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QByteArray folder = encodePath(dir.path());
  const QDate from{2023, 12, 16}, to{2024, 1, 31};

  void SetUp() override {
    writeArchive(dir.path(), u"2023"_qs,
                 {movement(u"15/12/2023"_qs, u"-100,00"_qs, u"servizi: Telefono"_qs),  // before the period
                  movement(u"20/12/2023"_qs, u"-50,00"_qs, u"Servizi:telefono "_qs, true),
                  movement(u"28/12/2023"_qs, u"+200,00"_qs, u"Quote associative"_qs)});
    writeArchive(dir.path(), u"2024"_qs,
                 {movement(u"10/01/2024"_qs, u"-30,00"_qs, u"SERVIZI"_qs),
                  movement(u"05/01/2024"_qs, u"-20,50"_qs, u" Servizi :  Luce"_qs),
                  movement(u"02/01/2024"_qs, u"+15,00"_qs, u""_qs),
                  movement(u"03/01/2024"_qs, u"-12,00"_qs, u"Città"_qs),
                  movement(u"04/01/2024"_qs, u"-1,00"_qs, u"citta"_qs),
                  movement(u"01/02/2024"_qs, u"+999,00"_qs, u"Servizi"_qs),  // after the period
                  movement(u"31/02/2024"_qs, u"+5,00"_qs, u"Servizi"_qs),    // not a date
                  movement(u"20/01/2024"_qs, u"-100,00"_qs, u"Affitto"_qs),
                  movement(u"19/01/2024"_qs, u"-100,00"_qs, u"AFFITTO"_qs),
                  movement(u"21/01/2024"_qs, u"+0,004"_qs, u": solo sotto"_qs)});
  }
};

}  // namespace

TEST(CategoryNames, Split) {
  struct Case {
    QString text, category, sub, key;
  };
  const Case cases[] = {
      {u"Servizi: telefono"_qs, u"Servizi"_qs, u"telefono"_qs, u"servizi:telefono"_qs},
      {u"  Servizi :  Telefono "_qs, u"Servizi"_qs, u"Telefono"_qs, u"servizi:telefono"_qs},
      {u"Servizi:"_qs, u"Servizi"_qs, QString(), u"servizi"_qs},
      {u"a: b: c"_qs, u"a"_qs, u"b: c"_qs, u"a:b: c"_qs},
      {u": telefono"_qs, QString(), QString(), QString()},
      {u"   "_qs, QString(), QString(), QString()},
      {u"ÀRTE"_qs, u"ÀRTE"_qs, QString(), u"àrte"_qs},
  };
  for (const Case& c : cases) {
    const CategoryName n = splitCategory(c.text);
    EXPECT_EQ(n.category, c.category) << c.text.toStdString();
    EXPECT_EQ(n.subcategory, c.sub) << c.text.toStdString();
    EXPECT_EQ(categoryKey(c.text), c.key) << c.text.toStdString();
  }
}

TEST(CategoryNames, OrderWithoutCaseThenAccents) {
  QStringList names = {u"Zeta"_qs, u"cittadella"_qs, u"città"_qs, u"Citta"_qs, u"banca"_qs, u"Àpe"_qs, u"ape"_qs};
  std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return compareNames(a, b) < 0; });
  const QStringList expected = {u"ape"_qs,   u"Àpe"_qs,        u"banca"_qs, u"Citta"_qs,
                                u"città"_qs, u"cittadella"_qs, u"Zeta"_qs};
  EXPECT_EQ(names, expected);
  EXPECT_EQ(compareNames(u"abc", u"abc"), 0);
  EXPECT_NE(compareNames(u"Abc", u"abc"), 0);
}

TEST(CategoryNames, AmountTexts) {
  struct Case {
    qint64 cents;
    bool plus, thousands;
    QString text;
  };
  const Case cases[] = {{125000, false, false, u"1250,00"_qs},  {125000, false, true, u"1.250,00"_qs},
                        {0, true, false, u"+0,00"_qs},          {-310, true, true, u"-3,10"_qs},
                        {-123456789, false, true, u"-1.234.567,89"_qs}, {5, false, false, u"0,05"_qs}};
  for (const Case& c : cases) EXPECT_EQ(centsText(c.cents, c.plus, c.thousands), c.text);
}

TEST_F(TwoYears, SummaryLines) {
  const CategorySummary s = summarise(folder, from, to);
  const QStringList expected = {
      u"AFFITTO\t2\t0,00\t200,00\t-200,00"_qs,
      u"citta\t1\t0,00\t1,00\t-1,00"_qs,
      u"Città\t1\t0,00\t12,00\t-12,00"_qs,
      u"Quote associative\t1\t200,00\t0,00\t+200,00"_qs,
      u"Servizi\t3\t0,00\t100,50\t-100,50"_qs,
      u"Servizi: Luce\t1\t0,00\t20,50\t-20,50"_qs,
      u"Servizi: telefono\t1\t0,00\t50,00\t-50,00"_qs,
      u"(senza categoria)\t2\t15,00\t0,00\t+15,00"_qs,
      u"Totale\t10\t215,00\t313,50\t-98,50"_qs,
  };
  EXPECT_EQ(summaryLines(s), expected);
  ASSERT_EQ(s.skipped.size(), 1u);
  EXPECT_EQ(s.skipped[0].archive, u"2024.eur"_qs);
  EXPECT_EQ(s.skipped[0].record.position, 7);
  EXPECT_EQ(s.yearsRead, (std::vector<int>{2023, 2024}));
}

// The foot equals the journal of each year's part of the period, to the cent.
TEST_F(TwoYears, TotalsEqualTheJournals) {
  const CategorySummary s = summarise(folder, from, to);
  ExactAmount income, expense;
  for (const auto& [year, a, b] : {std::tuple{u"2023"_qs, from, QDate(2023, 12, 31)},
                                  std::tuple{u"2024"_qs, QDate(2024, 1, 1), to}}) {
    auto archive = MovementArchive::OpenExisting(QDir(dir.path()).filePath(year + u".eur"_qs),
                                                 RecordFile::Access::ReadOnly);
    const Journal j = buildJournal(archive, {a, b, {}});
    income += j.income;
    expense += j.expense;
  }
  EXPECT_EQ(s.total.income.euroText(), income.euroText());
  EXPECT_EQ(s.total.expense.euroText(), expense.euroText());
  ExactAmount balance = income;
  balance += expense;
  EXPECT_EQ(s.total.balance().euroText(), balance.euroText());
}

TEST_F(TwoYears, MissingYearsAndEmptyPeriods) {
  // 2022 has no archive: nothing of it, and nothing created.
  const CategorySummary s = summarise(folder, QDate(2022, 6, 1), QDate(2023, 12, 20));
  // Spelled as the first movement of the period spells them.
  EXPECT_EQ(summaryLines(s), QStringList({u"servizi\t2\t0,00\t150,00\t-150,00"_qs,
                                          u"servizi: Telefono\t2\t0,00\t150,00\t-150,00"_qs,
                                          u"Totale\t2\t0,00\t150,00\t-150,00"_qs}));
  EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(u"2022.eur"_qs)));
  const CategorySummary none = summarise(folder, QDate(2030, 1, 1), QDate(2030, 12, 31));
  EXPECT_EQ(summaryLines(none), QStringList{u"Totale\t0\t0,00\t0,00\t+0,00"_qs});
}

TEST_F(TwoYears, ToolCommand) {
  using fondaro::testing::runTool;
  const auto r = runTool({u"categories"_qs, dir.path(), u"--from"_qs, u"16/12/2023"_qs, u"--to=31/01/2024"_qs});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.startsWith(u"AFFITTO\t2\t0,00\t200,00\t-200,00\ncitta\t"_qs)) << r.out.toStdString();
  EXPECT_TRUE(r.out.endsWith(u"Totale\t10\t215,00\t313,50\t-98,50\n"_qs)) << r.out.toStdString();
  EXPECT_EQ(r.err, u"2024.eur: record 7: date \"31/02/2024\" is not a date\n"_qs);

  struct Usage {
    QStringList args;
    QString why;
  };
  const Usage usages[] = {
      {{u"categories"_qs, dir.path() + u"/nessuna"_qs, u"--from"_qs, u"01/01/2024"_qs, u"--to"_qs, u"31/01/2024"_qs},
       u"is not a folder"_qs},
      {{u"categories"_qs, dir.path(), u"--from"_qs, u"31/02/2024"_qs, u"--to"_qs, u"31/03/2024"_qs},
       u"--from \"31/02/2024\" is not a date"_qs},
      {{u"categories"_qs, dir.path(), u"--from"_qs, u"01/03/2024"_qs, u"--to"_qs, u"01/02/2024"_qs},
       u"is earlier than --from"_qs},
      {{u"categories"_qs, dir.path(), u"--from"_qs, u"01/03/2024"_qs}, u"--to is needed"_qs},
      {{u"categories"_qs, u"--from"_qs, u"01/03/2024"_qs, u"--to"_qs, u"01/04/2024"_qs}, u"missing FILE"_qs},
      {{u"categories"_qs, dir.path(), u"--from"_qs, u"01/03/2024"_qs, u"--to"_qs, u"01/04/2024"_qs, u"--pdf="_qs},
       u"--pdf needs a file name"_qs},
  };
  for (const Usage& u : usages) {
    const auto bad = runTool(u.args);
    EXPECT_EQ(bad.exitCode, 2) << u.args.join(u' ').toStdString();
    EXPECT_TRUE(bad.err.contains(u.why)) << bad.err.toStdString();
    EXPECT_TRUE(bad.out.isEmpty());
  }
}

TEST_F(TwoYears, ToolCleanPeriodExitsZero) {
  const auto r = fondaro::testing::runTool(
      {u"categories"_qs, dir.path(), u"--from"_qs, u"01/12/2023"_qs, u"--to"_qs, u"31/12/2023"_qs});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"Quote associative\t1\t200,00\t0,00\t+200,00\nservizi\t2\t0,00\t150,00\t-150,00\n"
                   u"servizi: Telefono\t2\t0,00\t150,00\t-150,00\nTotale\t3\t200,00\t150,00\t+50,00\n"_qs);
}

TEST(CategoryChart, EightLargestThenAltre) {
  QTemporaryDir dir;
  std::vector<TMovimento> recs;
  // Ten expense categories of 1..10 euro and one income.
  for (int i = 1; i <= 10; ++i)
    recs.push_back(movement(u"01/03/2024"_qs, QStringLiteral("-%1,00").arg(i), QStringLiteral("Voce %1").arg(i)));
  recs.push_back(movement(u"02/03/2024"_qs, u"+7,50"_qs, u"Quote"_qs));
  writeArchive(dir.path(), u"2024"_qs, recs);
  const CategorySummary s = summarise(encodePath(dir.path()), QDate(2024, 1, 1), QDate(2024, 12, 31));
  const std::vector<ChartSlice> out = chartSlices(s, true);
  ASSERT_EQ(out.size(), 9u);
  EXPECT_EQ(out.front().label, u"Voce 10"_qs);
  EXPECT_EQ(out[7].label, u"Voce 3"_qs);
  EXPECT_EQ(out.back().label, u"Altre"_qs);
  EXPECT_EQ(out.back().cents, 300);
  const std::vector<ChartSlice> in = chartSlices(s, false);
  ASSERT_EQ(in.size(), 1u);
  EXPECT_EQ(in[0].cents, 750);
}
