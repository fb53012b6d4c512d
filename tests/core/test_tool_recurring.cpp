// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool recurring: the commands on a program folder, two generators
// at once, and a failing disk between the append and the progress.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "test_support.h"

namespace fondaro {
namespace {

using testing::runTool;
using testing::runToolFailing;

class ToolRecurring : public ::testing::Test {
 protected:
  void SetUp() override {
    TMovimento rent = testdata::movement(u"Affitto", u"10/01/2025", u"650,00", false);
    TMovimento fee = testdata::movement(u"Quota associativa", u"10/01/2025", u"25,00", true);
    MovementArchive a = MovementArchive::OpenOrCreate(path("2025.eur"));
    a.Append(rent);
    a.Append(fee);
    a.Close();
  }
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QString folder() const { return dir.path(); }
  qint64 count(const char* name) const {
    if (!QFile::exists(path(name))) return 0;
    return MovementArchive::OpenExisting(path(name), RecordFile::Access::ReadOnly).Count();
  }
  testing::ToolRun tool(QStringList args) {
    args.prepend(u"recurring"_qs);
    return runTool(args);
  }
  QTemporaryDir dir;
};

TEST_F(ToolRecurring, AddListStopAndRun) {
  auto r = tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs,
                 u"--from"_qs, u"31/01/2025"_qs});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"1\n"_qs);
  r = tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"2"_qs, u"--every"_qs, u"12m"_qs,
            u"--from"_qs, u"29/02/2024"_qs, u"--until"_qs, u"28/02/2026"_qs});
  EXPECT_EQ(r.out, u"2\n"_qs);
  r = tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"2"_qs, u"--every"_qs, u"2w"_qs,
            u"--from"_qs, u"01/03/2025"_qs, u"--times"_qs, u"3"_qs});
  EXPECT_EQ(r.out, u"3\n"_qs);
  ASSERT_EQ(tool({u"stop"_qs, folder(), u"3"_qs}).exitCode, 0);

  r = tool({u"list"_qs, folder()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, u"1\tAffitto\t-650,00\t1m\t31/01/2025\tmai\tattivo\n"
                   "2\tQuota associativa\t+25,00\t12m\t29/02/2024\tal 28/02/2026\tattivo\n"
                   "3\tQuota associativa\t+25,00\t2w\t-\t3 volte\tsospeso\n"_qs);

  r = tool({u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"2024.eur 1 29/02/2024 Quota associativa\n"
                   "2025.eur 3 31/01/2025 Affitto\n"
                   "2025.eur 4 28/02/2025 Affitto\n"
                   "2025.eur 5 28/02/2025 Quota associativa\n"
                   "2025.eur 6 31/03/2025 Affitto\n"_qs);
  EXPECT_EQ(tool({u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs}).out, QString());
  r = tool({u"list"_qs, folder()});
  EXPECT_TRUE(r.out.contains(u"1\tAffitto\t-650,00\t1m\t30/04/2025\tmai\tattivo\n"));
  EXPECT_TRUE(r.out.contains(u"2\tQuota associativa\t+25,00\t12m\t28/02/2026\tal 28/02/2026\tattivo\n"));
}

TEST_F(ToolRecurring, DryRunPrintsAndWritesNothing) {
  tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs, u"--from"_qs,
        u"31/01/2025"_qs});
  const QByteArray before = testing::readAll(path("Ricorrenti.json"));
  const auto r = tool({u"run"_qs, folder(), u"--today"_qs, u"28/02/2025"_qs, u"--dry-run"_qs});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, u"2025.eur 3 31/01/2025 Affitto\n2025.eur 4 28/02/2025 Affitto\n"_qs);
  EXPECT_EQ(count("2025.eur"), 2);
  EXPECT_EQ(testing::readAll(path("Ricorrenti.json")), before);
}

TEST_F(ToolRecurring, ErrorsExitTwoAndWriteNothing) {
  const QString f = folder();
  const QStringList base = {u"add"_qs, f, u"--year"_qs, u"2025"_qs, u"--every"_qs, u"1m"_qs, u"--from"_qs,
                            u"31/01/2025"_qs};
  const QList<QStringList> bad = {
      base + QStringList{u"--pos"_qs, u"3"_qs},               // no such position
      base + QStringList{u"--pos"_qs, u"0"_qs},
      base + QStringList{u"--pos"_qs, u"x"_qs},
      QStringList{u"add"_qs, f, u"--year"_qs, u"2024"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs,
                  u"--from"_qs, u"31/01/2025"_qs},               // no such archive
      QStringList{u"add"_qs, f, u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"5m"_qs,
                  u"--from"_qs, u"31/01/2025"_qs},               // a bad repetition
      QStringList{u"add"_qs, f, u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"53w"_qs,
                  u"--from"_qs, u"31/01/2025"_qs},
      QStringList{u"add"_qs, f, u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs,
                  u"--from"_qs, u"31/02/2025"_qs},               // a bad date
      base + QStringList{u"--pos"_qs, u"1"_qs, u"--until"_qs, u"30/01/2025"_qs},  // ends before it starts
      base + QStringList{u"--pos"_qs, u"1"_qs, u"--times"_qs, u"0"_qs},
      base + QStringList{u"--pos"_qs, u"1"_qs, u"--times"_qs, u"2"_qs, u"--until"_qs, u"30/06/2025"_qs},
      QStringList{u"stop"_qs, f, u"1"_qs},                        // no such schedule
      QStringList{u"stop"_qs, f, u"uno"_qs},
      QStringList{u"run"_qs, f, u"--today"_qs, u"2025-01-31"_qs},
      QStringList{u"frobnicate"_qs, f},
  };
  for (QStringList args : bad) {
    args.prepend(u"recurring"_qs);
    const auto r = runTool(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(path("Ricorrenti.json"))) << args.join(u' ').toStdString();
  }
  EXPECT_EQ(count("2025.eur"), 2);
  EXPECT_FALSE(QFile::exists(path("2024.eur")));
}

TEST_F(ToolRecurring, ADamagedScheduleFileStopsEveryCommand) {
  testing::writeAll(path("Ricorrenti.json"), "{ not json");
  for (const QStringList& args :
       {QStringList{u"list"_qs, folder()}, QStringList{u"run"_qs, folder()}, QStringList{u"stop"_qs, folder(), u"1"_qs},
        QStringList{u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs,
                    u"--from"_qs, u"31/01/2025"_qs}}) {
    const auto r = tool(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"Ricorrenti.json")) << r.err.toStdString();
  }
  EXPECT_EQ(testing::readAll(path("Ricorrenti.json")), QByteArray("{ not json"));
  EXPECT_EQ(count("2025.eur"), 2);
}

// The progress cannot be recorded after the append (the rename of the new
// schedule file fails): the run says so; the rerun finds the movements in the
// archive and adds nothing.
TEST_F(ToolRecurring, AFailureAfterTheAppendIsMendedByTheRerun) {
  tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs, u"--from"_qs,
        u"31/01/2025"_qs});
  const QByteArray before = testing::readAll(path("Ricorrenti.json"));
  // The schedules' file itself fails, not the day's safety copy of it.
  auto r = runToolFailing(u"rename:1:EIO:1:"_qs + path("Ricorrenti.json"),
                          {u"recurring"_qs, u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out.count(u'\n'), 3);
  EXPECT_FALSE(r.err.isEmpty());
  EXPECT_EQ(count("2025.eur"), 5);
  EXPECT_EQ(testing::readAll(path("Ricorrenti.json")), before);

  r = tool({u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, QString());
  EXPECT_EQ(count("2025.eur"), 5);
  EXPECT_TRUE(tool({u"list"_qs, folder()}).out.contains(u"\t30/04/2025\t"));
}

// The archive refuses the write: nothing counts as generated, the rerun adds all.
TEST_F(ToolRecurring, AFailedAppendLeavesTheScheduleWhereItWas) {
  tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs, u"--from"_qs,
        u"31/01/2025"_qs});
  auto r = runToolFailing(u"pwrite:1:ENOSPC:1:2025.eur"_qs,
                          {u"recurring"_qs, u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, QString());
  EXPECT_EQ(count("2025.eur"), 2);
  r = tool({u"run"_qs, folder(), u"--today"_qs, u"31/03/2025"_qs});
  EXPECT_EQ(r.out.count(u'\n'), 3);
  EXPECT_EQ(count("2025.eur"), 5);
}

// The disk does not confirm the batch (a failed sync, a failed close): the
// occurrences are in the archive all the same, so the run prints them before
// the error and the schedule moves on over them; the rerun adds nothing.
TEST_F(ToolRecurring, OccurrencesTheDiskDidNotConfirmArePrintedAndCounted) {
  // The second close of the archive is the generation's own (the first, the
  // day copy's read of it).
  for (const QString fault : {u"fdatasync:1:EIO:1:2025.eur"_qs, u"close:2:EIO:1:2025.eur"_qs}) {
    SCOPED_TRACE(fault.toStdString());
    QTemporaryDir own;
    const QString f = own.path();
    ASSERT_TRUE(QFile::copy(path("2025.eur"), f + u"/2025.eur"_qs));
    const auto stored = [&] { return MovementArchive::OpenExisting(f + u"/2025.eur"_qs, RecordFile::Access::ReadOnly).Count(); };
    tool({u"add"_qs, f, u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs, u"1m"_qs, u"--from"_qs,
          u"31/01/2025"_qs});
    auto r = runToolFailing(fault, {u"recurring"_qs, u"run"_qs, f, u"--today"_qs, u"31/03/2025"_qs});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, u"2025.eur 3 31/01/2025 Affitto\n2025.eur 4 28/02/2025 Affitto\n2025.eur 5 31/03/2025 Affitto\n"_qs);
    EXPECT_TRUE(r.err.contains(u"Input/output error"_qs)) << r.err.toStdString();
    EXPECT_EQ(stored(), 5);
    r = tool({u"run"_qs, f, u"--today"_qs, u"31/03/2025"_qs});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
    EXPECT_EQ(stored(), 5);
  }
}

// A folder that is not there is said, not taken for one without schedules.
TEST_F(ToolRecurring, AMissingFolderIsAnError) {
  const QString missing = path("manca");
  for (const QStringList& args : {QStringList{u"run"_qs, missing}, QStringList{u"list"_qs, missing},
                                  QStringList{u"run"_qs, missing, u"--dry-run"_qs}}) {
    const auto r = tool(args);
    EXPECT_EQ(r.exitCode, 2) << args.join(u' ').toStdString();
    EXPECT_TRUE(r.err.contains(u"manca is not a folder"_qs)) << r.err.toStdString();
    EXPECT_EQ(r.out, QString());
  }
  EXPECT_FALSE(QFile::exists(missing));
}

// Several copies generating at the same moment add each occurrence once.
TEST_F(ToolRecurring, GeneratorsAtOnceAddEachOccurrenceOnce) {
  for (const char* every : {"1m", "1w", "2w"}) {
    tool({u"add"_qs, folder(), u"--year"_qs, u"2025"_qs, u"--pos"_qs, u"1"_qs, u"--every"_qs,
          QString::fromLatin1(every), u"--from"_qs, u"01/01/2025"_qs});
  }
  const int kCopies = 4;
  std::vector<std::unique_ptr<QProcess>> runs;
  for (int i = 0; i < kCopies; ++i) {
    auto p = std::make_unique<QProcess>();
    p->start(QStringLiteral(FONDARO_TOOL_PATH),
             {u"recurring"_qs, u"run"_qs, folder(), u"--today"_qs, u"31/12/2025"_qs});
    runs.push_back(std::move(p));
  }
  int lines = 0;
  for (auto& p : runs) {
    ASSERT_TRUE(p->waitForFinished(30000));
    EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
    lines += int(p->readAllStandardOutput().count('\n'));
  }
  const int expected = 12 + 53 + 27;  // months, weeks and fortnights of 2025
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(count("2025.eur"), 2 + expected);
  std::set<std::pair<QString, QString>> seen;
  MovementArchive a = MovementArchive::OpenExisting(path("2025.eur"), RecordFile::Access::ReadOnly);
  for (qint64 p = 3; p <= a.Count(); ++p) {
    const TMovimento m = a.ReadAt(p);
    EXPECT_TRUE(seen.insert({m.Note.trimmed(), m.Data.trimmed()}).second) << p;
  }
}

}  // namespace
}  // namespace fondaro
