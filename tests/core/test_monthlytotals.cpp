// SPDX-License-Identifier: GPL-3.0-or-later
// The statistics figures: running totals held in the general number form with
// an exact path in cents, the monthly totals of a year and the annual totals.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <random>

#include "../common/records.h"
#include "core/archive.h"
#include "core/monthlytotals.h"
#include "core/textrules.h"

using namespace fondaro;

namespace {

struct Sum {
  RunningTotal fast;
  RunningTotal general = RunningTotal::generalOnly();
  bool add(const QString& a) {
    const bool f = fast.add(a);
    const bool g = general.add(a);
    EXPECT_EQ(f, g) << a.toStdString();
    return f;
  }
};

std::string joined(const QStringList& l) { return l.join(u" + ").toStdString(); }

}  // namespace

// Each case runs on both paths; both must give the same text and euros, and
// the exact path must be taken exactly where stated.
TEST(RunningTotal, RoundsTheTotalNotEachAmount) {
  struct Case {
    QStringList amounts;
    QString text;
    double euros;
    bool exact;
  };
  const Case cases[] = {
      {{}, u"0"_qs, 0, true},
      {{u"0,40"_qs}, u"0,4"_qs, 0, true},
      {{u"0,40"_qs, u"0,20"_qs}, u"0,6"_qs, 1, true},
      {{u"1234,50"_qs}, u"1234,5"_qs, 1235, true},
      {{u"1234,49"_qs}, u"1234,49"_qs, 1234, true},
      {{u"0,49"_qs, u"0,01"_qs}, u"0,5"_qs, 1, true},
      {{u"12,5"_qs, u"7"_qs, u",5"_qs, u"12,"_qs, u" 3,25 "_qs}, u"35,25"_qs, 35, true},
      {{u"1000,50"_qs}, u"1000,5"_qs, 1001, true},
      {{u"999,49"_qs}, u"999,49"_qs, 999, true},
      // The largest plain amount: 13 digits before the comma.
      {{u"9999999999999,99"_qs}, u"9999999999999,99"_qs, 10000000000000, true},
      // The total reaches 10^15 cents: the general path from there on.
      {{u"9999999999999,99"_qs, u"0,01"_qs}, u"10000000000000"_qs, 10000000000000, false},
      // Sixteen significant digits: the general form rounds the total to 15.
      {{u"9999999999999,99"_qs, u"9999999999999,99"_qs}, u"20000000000000"_qs, 20000000000000, false},
      {{u"99999999999999"_qs}, u"99999999999999"_qs, 99999999999999, false},
      // Texts that are numbers but not plain amounts take the general path.
      {{u"1,005"_qs}, u"1,005"_qs, 1, false},
      {{u"0,125"_qs, u"0,375"_qs}, u"0,5"_qs, 1, false},
      {{u"+5,00"_qs}, u"5"_qs, 5, false},
      {{u"1E3"_qs, u"0,50"_qs}, u"1000,5"_qs, 1001, false},
      {{u"-5,00"_qs, u"2,40"_qs}, u"-2,6"_qs, -2, false},
      {{u"0,29"_qs, u"1,005"_qs, u"0,01"_qs}, u"1,305"_qs, 1, false},
  };
  for (const Case& c : cases) {
    Sum s;
    for (const QString& a : c.amounts) ASSERT_TRUE(s.add(a)) << a.toStdString();
    EXPECT_EQ(s.fast.exact(), c.exact) << joined(c.amounts);
    EXPECT_EQ(s.fast.text(), c.text) << joined(c.amounts);
    EXPECT_EQ(s.general.text(), c.text) << joined(c.amounts);
    EXPECT_EQ(s.fast.roundedEuros(), c.euros) << joined(c.amounts);
    EXPECT_EQ(s.general.roundedEuros(), c.euros) << joined(c.amounts);
  }
}

TEST(RunningTotal, TextsThatAreNotNumbersLeaveTheTotalAsItWas) {
  for (const QString bad : {u""_qs, u"   "_qs, u"1.234,50"_qs, u"12a"_qs, u"1,2,3"_qs, u"\u20AC5"_qs, u","_qs,
                            u"1E"_qs, u"--1"_qs}) {
    RunningTotal t;
    ASSERT_TRUE(t.add(u"7,30"));
    EXPECT_FALSE(t.add(bad)) << bad.toStdString();
    EXPECT_EQ(t.text(), u"7,3"_qs);
    EXPECT_TRUE(t.exact());
  }
}

// Plain amounts drawn at random, small and near the limit: the exact path and
// the general path agree after every single addition.
TEST(RunningTotal, ExactPathAgreesWithTheGeneralPath) {
  std::mt19937_64 rng(20240613);
  for (int digits : {2, 6, 11, 13}) {
    Sum s;
    qint64 limit = 1;
    for (int i = 0; i < digits; ++i) limit *= 10;
    std::uniform_int_distribution<qint64> whole(0, limit - 1);
    std::uniform_int_distribution<int> cents(0, 99);
    std::uniform_int_distribution<int> form(0, 3);
    for (int i = 0; i < 400; ++i) {
      const qint64 w = whole(rng);
      const int c = cents(rng);
      QString a;
      switch (form(rng)) {
        case 0: a = QStringLiteral("%1,%2").arg(w).arg(c, 2, 10, QLatin1Char('0')); break;
        case 1: a = QStringLiteral("%1,%2").arg(w).arg(c / 10); break;
        case 2: a = QString::number(w); break;
        default: a = QStringLiteral("%1,").arg(w); break;
      }
      ASSERT_TRUE(s.add(a));
      ASSERT_EQ(s.fast.text(), s.general.text()) << "after " << a.toStdString() << " at " << i;
      ASSERT_EQ(s.fast.roundedEuros(), s.general.roundedEuros()) << "after " << a.toStdString();
    }
  }
}

namespace {

struct Mov {
  const char* entrata;
  const char* uscita;
  const char* data;
  const char* importo;
  const char* saldato = "No";
};

TMovimento record(const Mov& m) {
  return testdata::record<TMovimento>({{mov::Entrata, QString::fromUtf8(m.entrata)},
                                       {mov::Uscita, QString::fromUtf8(m.uscita)},
                                       {mov::Data, QString::fromUtf8(m.data)},
                                       {mov::Importo, QString::fromUtf8(m.importo)},
                                       {mov::Saldato, QString::fromUtf8(m.saldato)}});
}

class ArchiveTotals : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(u"2024.eur"_qs);

  MovementArchive archive(std::initializer_list<Mov> movs) {
    auto a = MovementArchive::OpenOrCreate(path);
    for (const Mov& m : movs) a.Append(record(m));
    return a;
  }
};

using Months = std::vector<double>;
Months month(int m, double v) {
  Months r(12, 0);
  r[size_t(m - 1)] = v;
  return r;
}

}  // namespace

TEST_F(ArchiveTotals, WhichMovementsCountInTheMonthlyAndAnnualCharts) {
  struct Case {
    const char* what;
    Mov mov;
    Months entrate;
    Months uscite;
    std::vector<double> annual;
  };
  const Case cases[] = {
      {"income, unpaid", {"Sì", "No", "05/03/2024", "10,00"}, month(3, 10), month(3, 0), {10, 0}},
      {"income, paid", {"Sì", "No", "05/03/2024", "10,00", "Sì"}, month(3, 10), month(3, 0), {10, 0}},
      {"expense in December", {"No", "Sì", "31/12/2024", "7,50"}, month(1, 0), month(12, 8), {0, 8}},
      {"both flags count in both", {"Sì", "Sì", "01/01/2024", "3,00"}, month(1, 3), month(1, 3), {3, 3}},
      {"neither flag counts nowhere", {"No", "No", "01/01/2024", "3,00"}, month(1, 0), month(1, 0), {0, 0}},
      {"an empty flag is neither", {"", "", "01/01/2024", "3,00"}, month(1, 0), month(1, 0), {0, 0}},
      {"another year: only the annual chart", {"Sì", "No", "05/03/2023", "10,00"}, month(1, 0), month(1, 0),
       {10, 0}},
      {"month and year by position only", {"Sì", "No", "05-03-2024", "10,00"}, month(3, 10), month(1, 0),
       {10, 0}},
      {"leading blanks are trimmed first", {"Sì", "No", "  05/03/2024", "10,00"}, month(3, 10), month(1, 0),
       {10, 0}},
      {"one-digit day shifts the month", {"Sì", "No", "5/03/2024", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"month 13", {"Sì", "No", "05/13/2024", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"month 00", {"Sì", "No", "05/00/2024", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"one-digit month", {"Sì", "No", "05/3/2024", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"two-digit year", {"Sì", "No", "05/03/24", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"empty date", {"Sì", "No", "", "10,00"}, month(1, 0), month(1, 0), {10, 0}},
      {"lower-case flag", {"sì", "No", "05/03/2024", "10,00"}, month(1, 0), month(1, 0), {0, 0}},
  };
  for (const Case& c : cases) {
    QFile::remove(path);
    const auto a = archive({c.mov});
    EXPECT_EQ(monthlyTotals(a, Flow::Entrate, u"2024").values, c.entrate) << c.what;
    EXPECT_EQ(monthlyTotals(a, Flow::Uscite, u"2024").values, c.uscite) << c.what;
    EXPECT_EQ(annualTotals(a).values, c.annual) << c.what;
  }
}

TEST_F(ArchiveTotals, EachMonthIsRoundedOnItsTotal) {
  const auto a = archive({
      {"Sì", "No", "02/01/2024", "0,40"},
      {"Sì", "No", "03/01/2024", "0,20"},
      {"Sì", "No", "01/02/2024", "0,40"},
      {"Sì", "No", "01/03/2024", "1234,50"},
      {"Sì", "No", "01/04/2024", "1234,49"},
      {"Sì", "No", "09/09/2023", "100,00"},
      {"No", "Sì", "01/01/2024", "999,49"},
  });
  EXPECT_EQ(monthlyTotals(a, Flow::Entrate, u" 2024 ").values,
            (Months{1, 0, 1235, 1234, 0, 0, 0, 0, 0, 0, 0, 0}));
  // 0,40 + 0,20 + 0,40 + 1234,50 + 1234,49 + 100,00 = 2570,00 of income.
  EXPECT_EQ(annualTotals(a).values, (std::vector<double>{2570, 999}));
  EXPECT_EQ(monthlyTotals(a, Flow::Entrate, u"2023").values, month(9, 100));
  EXPECT_EQ(monthlyTotals(a, Flow::Entrate, u"2025").values, Months(12, 0));
}

TEST_F(ArchiveTotals, AnEmptyArchiveGivesZeros) {
  const auto a = archive({});
  EXPECT_EQ(monthlyTotals(a, Flow::Uscite, u"2024").values, Months(12, 0));
  EXPECT_EQ(annualTotals(a).values, (std::vector<double>{0, 0}));
}

// The computation stops at the first counted amount that is not a number and
// says where; an unreadable amount that is not counted stops nothing.
TEST_F(ArchiveTotals, AnAmountThatIsNotANumberStopsTheComputation) {
  const auto a = archive({
      {"Sì", "No", "01/01/2024", "5,00"},
      {"Sì", "No", "01/01/2023", "1.234,50"},
      {"No", "Sì", "01/02/2024", "abc"},
      {"No", "No", "01/02/2024", "xyz"},
  });
  const ChartFigures in = monthlyTotals(a, Flow::Entrate, u"2024");
  EXPECT_FALSE(in.stopped());
  EXPECT_EQ(in.values, month(1, 5));

  const ChartFigures out = monthlyTotals(a, Flow::Uscite, u"2024");
  EXPECT_TRUE(out.stopped());
  EXPECT_TRUE(out.values.empty());
  EXPECT_EQ(out.badAmountPosition, 3);
  EXPECT_EQ(out.badAmountText, u"abc"_qs);

  const ChartFigures annual = annualTotals(a);
  EXPECT_TRUE(annual.values.empty());
  EXPECT_EQ(annual.badAmountPosition, 2);
  EXPECT_EQ(annual.badAmountText, u"1.234,50"_qs);
}

// Scans read in blocks: a block boundary inside the archive changes nothing,
// a damaged length byte is clamped, and a trailing fragment is ignored.
TEST_F(ArchiveTotals, BlocksDamageAndFragments) {
  std::vector<Mov> movs;
  for (int i = 0; i < 700; ++i) movs.push_back({"Sì", "No", i % 2 ? "10/06/2024" : "10/07/2024", "0,01"});
  QByteArray bytes;
  for (const Mov& m : movs) {
    const TMovimento r = record(m);
    bytes.append(reinterpret_cast<const char*>(&r), sizeof r);
  }
  TMovimento damaged = record({"Sì", "No", "10/06/2024", "2,00"});
  damaged.Importo.len = 200;  // clamped to the capacity: "2,00" and eleven zero bytes
  bytes.append(reinterpret_cast<const char*>(&damaged), sizeof damaged);
  bytes.append(QByteArray(3000, '\x01'));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
  f.close();
  const auto a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
  const ChartFigures r = monthlyTotals(a, Flow::Entrate, u"2024");
  // The zero bytes make the damaged amount unreadable: the scan names it.
  EXPECT_EQ(r.badAmountPosition, 701);
  TMovimento fixed = record({"Sì", "No", "10/06/2024", "2,00"});
  auto w = MovementArchive::OpenExisting(path, RecordFile::Access::ReadWrite);
  w.WriteAt(701, fixed);
  EXPECT_EQ(monthlyTotals(w, Flow::Entrate, u"2024").values[5], 6);  // 3,50 + 2,00
  EXPECT_EQ(monthlyTotals(w, Flow::Entrate, u"2024").values[6], 4);  // 3,50
}
