// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool backup, backups and restore.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "core/safetycopies.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::readAll;
using fondaro::testing::removeContents;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;
using fondaro::testing::writeAll;

namespace {

class ToolBackup : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.filePath(name); }
  void SetUp() override {
    auto a = MovementArchive::OpenOrCreate(path(u"2024.eur"_qs));
    a.Append(testdata::movement(u"Quota"));
    a.Close();
    writeAll(path(u"unins000.dll"_qs), "[Accesso]\r\nValore=ABC\r\n");
    QDir().mkpath(path(u"Documenti_Allegati"_qs));
    writeAll(path(u"Documenti_Allegati/fattura.pdf"_qs), "pdf");
  }
  void TearDown() override { removeContents(QFile::encodeName(dir.path())); }
  QString backup() {
    const ToolRun r = runTool({u"backup"_qs, dir.path()});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return r.out.trimmed();
  }
};

}  // namespace

TEST_F(ToolBackup, BackupThenBackupsListsNewestFirstChecked) {
  const QString first = backup();
  EXPECT_TRUE(first.startsWith(path(u"Copie di sicurezza/"_qs))) << first.toStdString();
  const QString second = backup();
  EXPECT_NE(first, second);

  ToolRun r = runTool({u"backups"_qs, dir.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 2);
  const QStringList fields = lines[0].split(u'\t');
  ASSERT_EQ(fields.size(), 5) << lines[0].toStdString();
  EXPECT_EQ(fields[0], second);
  EXPECT_EQ(fields[2], u"3 files"_qs);
  EXPECT_EQ(fields[4], u"verified"_qs);
  EXPECT_TRUE(lines[1].startsWith(first + u'\t'));

  // One byte changed in the older copy: listed as damaged, refused at restore.
  QFile f(first + u"/2024.eur"_qs);
  ASSERT_TRUE(f.open(QIODevice::ReadWrite));
  f.seek(20);
  f.write("#");
  f.close();
  r = runTool({u"backups"_qs, dir.path()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.contains(first + u'\t') && r.out.contains(u"damaged: the content of"_qs)) << r.out.toStdString();

  const QByteArray archive = readAll(path(u"2024.eur"_qs));
  r = runTool({u"restore"_qs, first, u"--into"_qs, dir.path()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.contains(u"nothing was replaced"_qs)) << r.err.toStdString();
  EXPECT_EQ(readAll(path(u"2024.eur"_qs)), archive);
  EXPECT_EQ(QDir(path(u"Copie di sicurezza"_qs)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 2);
}

TEST_F(ToolBackup, RestorePutsTheCopyBackAndNamesWhatItKept) {
  const QString copy = backup();
  const QByteArray archive = readAll(path(u"2024.eur"_qs));
  const ToolRun added =
      runTool({u"append"_qs, path(u"2024.eur"_qs)}, R"({"Causale":"Dopo"})" "\n");
  ASSERT_EQ(added.exitCode, 0);
  writeAll(path(u"Documenti_Allegati/nuovo.txt"_qs), "nuovo");

  const ToolRun r = runTool({u"restore"_qs, copy, u"--into"_qs, dir.path()});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_TRUE(r.out.trimmed().endsWith(u"_prima-del-ripristino"_qs)) << r.out.toStdString();
  EXPECT_EQ(r.err.trimmed(), u"fondaro-tool restore: kept Documenti_Allegati/nuovo.txt (not in the copy)"_qs);
  EXPECT_EQ(readAll(path(u"2024.eur"_qs)), archive);
  // What was replaced is in the copy made before the restore.
  EXPECT_EQ(readAll(r.out.trimmed() + u"/2024.eur"_qs).size(), 2 * qint64(sizeof(TMovimento)));
}

TEST_F(ToolBackup, UsageAndMissingFoldersDoNothing) {
  struct Case {
    QStringList args;
    const char* says;
  };
  const Case cases[] = {
      {{u"backup"_qs}, "missing folder"},
      {{u"backup"_qs, dir.path(), u"--to"_qs, u"/nessuna/cartella"_qs}, "is not a folder"},
      {{u"backup"_qs, u"/nessuna/cartella"_qs}, "is not a folder"},
      {{u"backups"_qs, u"/nessuna/cartella"_qs}, "is not a folder"},
      {{u"restore"_qs, u"/nessuna/copia"_qs}, "missing --into"},
      {{u"restore"_qs, u"/nessuna/copia"_qs, u"--into"_qs, u"."_qs}, "is not a folder"},
      {{u"backup"_qs, dir.path(), u"--verso"_qs, u"x"_qs}, "unknown option --verso"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.join(u' ').toStdString());
    const ToolRun r = runTool(c.args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(QLatin1String(c.says))) << r.err.toStdString();
  }
  EXPECT_FALSE(QDir(path(u"Copie di sicurezza"_qs)).exists());
}
