// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool stats: the three lines of figures, the exit status, and a file
// that is only read.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;

namespace {

TMovimento movement(bool in, const QString& date, const QString& amount) {
  return testdata::movement(u"Quota", date, amount, in);
}

class ToolStats : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath(u"2024.eur"_qs);
  void write(std::initializer_list<TMovimento> recs) {
    auto a = MovementArchive::OpenOrCreate(path);
    for (const TMovimento& r : recs) a.Append(r);
  }
};

}  // namespace

TEST_F(ToolStats, PrintsTheMonthlyAndAnnualFigures) {
  write({movement(true, u"02/01/2024"_qs, u"0,40"_qs), movement(true, u"20/01/2024"_qs, u"0,20"_qs),
         movement(true, u"15/03/2024"_qs, u"1234,50"_qs), movement(false, u"31/12/2024"_qs, u"1999999,49"_qs),
         movement(true, u"15/03/2023"_qs, u"100,00"_qs)});
  const QByteArray before = fondaro::testing::readAll(path);
  const ToolRun r = runTool({u"stats"_qs, path, u"--year"_qs, u"2024"_qs});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out,
            u"entrate 1 0 1235 0 0 0 0 0 0 0 0 0\n"
            "uscite 0 0 0 0 0 0 0 0 0 0 0 1999999\n"
            "bilancio 1335 1999999\n"_qs);
  EXPECT_TRUE(r.err.isEmpty());
  EXPECT_EQ(fondaro::testing::readAll(path), before);
}

TEST_F(ToolStats, FailuresExitWithTwo) {
  write({movement(true, u"02/01/2024"_qs, u"5,00"_qs), movement(false, u"02/01/2020"_qs, u"1.000,00"_qs)});
  struct Case {
    QStringList args;
    QString errPart;
  };
  const Case cases[] = {
      {{u"stats"_qs, path, u"--year=2024"_qs}, u"record 2: Importo is not a number: \"1.000,00\""_qs},
      {{u"stats"_qs, dir.filePath(u"1999.eur"_qs), u"--year"_qs, u"1999"_qs}, u"1999.eur"_qs},
      {{u"stats"_qs, path}, u"missing --year"_qs},
      {{u"stats"_qs, path, u"--year"_qs, u"24"_qs}, u"four digits"_qs},
  };
  for (const Case& c : cases) {
    const ToolRun r = runTool(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(c.errPart)) << r.err.toStdString();
  }
  EXPECT_FALSE(QFileInfo::exists(dir.filePath(u"1999.eur"_qs)));  // never created
}
