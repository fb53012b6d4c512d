// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool export: the document of an archive on standard output or in a
// file, and failures that create nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/clientexport.h"
#include "core/movementexport.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::runToolBytes;
using ToolRun = fondaro::testing::ToolBytes;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

namespace {

class ToolExport : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
  QStringList entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot); }

  // An archive of two movements, one with the characters that need escaping.
  QString twoMovements() {
    const QString p = path("2024.eur");
    auto a = MovementArchive::OpenOrCreate(p);
    TMovimento r = testdata::record<TMovimento>(
        {{mov::Entrata, kSi}, {mov::Causale, u"Caff\u00E8 & <pasticcini>"}, {mov::Totale, u"+3,50"}});
    a.Append(r);
    r.Entrata.set(kNo);
    r.Note.set(u"10 \u20AC");
    a.Append(r);
    a.Close();
    return p;
  }
  QByteArray expectedOf(const QString& archive) {
    auto a = MovementArchive::OpenExisting(archive, RecordFile::Access::ReadOnly);
    const QByteArray doc = movementExportDocument(readMovementExport(a));
    a.Close();
    return doc;
  }
};

}  // namespace

TEST_F(ToolExport, WritesTheWindowsDocumentToStandardOutputOrAFile) {
  const QString archive = twoMovements();
  const QByteArray before = readAll(archive);
  const QByteArray expected = expectedOf(archive);
  ASSERT_TRUE(expected.contains("Caff\xE8 &amp; &lt;pasticcini&gt;"));
  ASSERT_TRUE(expected.contains(">10 \x80<"));

  const ToolRun toStdout = runToolBytes({QStringLiteral("export"), archive});
  EXPECT_EQ(toStdout.exitCode, 0) << toStdout.err.toStdString();
  EXPECT_EQ(toStdout.out, expected);

  const QString out = path("uscita.xls");
  writeAll(out, QByteArray(200000, 'v'));  // replaced whole, never overwritten in part
  const ToolRun toFile = runToolBytes({QStringLiteral("export"), QStringLiteral("-o"), out, archive});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err.toStdString();
  EXPECT_TRUE(toFile.out.isEmpty());
  EXPECT_EQ(readAll(out), expected);
  EXPECT_EQ(readAll(archive), before);
  EXPECT_EQ(entries(), QStringList({QStringLiteral("2024.eur"), QStringLiteral("uscita.xls")}));
}

TEST_F(ToolExport, AnEmptyArchiveExportsTheDesignedRows) {
  const QString archive = path("2025.eur");
  writeAll(archive, QByteArray(10, 'x'));  // a fragment only: no record
  const ToolRun r = runToolBytes({QStringLiteral("export"), archive});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, expectedOf(archive));
  EXPECT_EQ(r.out.count("<tr>"), 11);
}

TEST_F(ToolExport, AnAddressBookGivesItsOwnSheet) {
  const QString book = path("Clienti.pro");
  auto a = ClientArchive::OpenOrCreate(book);
  a.Append(testdata::record<TCliente>({{cli::Cliente, u"Verdi Anna"}}));
  a.Close();
  const ToolRun r = runToolBytes({QStringLiteral("export"), book});
  EXPECT_EQ(r.exitCode, 0);
  auto b = ClientArchive::OpenExisting(book, RecordFile::Access::ReadOnly);
  EXPECT_EQ(r.out, clientExportDocument(readClientExport(b)));
  b.Close();
  EXPECT_TRUE(r.out.contains("<x:Name>Archivio Anagrafico</x:Name>"));
}

TEST_F(ToolExport, FailuresCreateNothing) {
  const QString archive = twoMovements();
  const QByteArray before = readAll(archive);
  const QString out = path("uscita.xls");
  const struct {
    const char* what;
    QStringList args;
  } cases[] = {
      {"missing archive", {QStringLiteral("export"), path("1999.eur"), QStringLiteral("-o"), out}},
      {"a folder as archive", {QStringLiteral("export"), QStringLiteral("--kind"), QStringLiteral("movimenti"),
                               dir.path(), QStringLiteral("-o"), out}},
      {"OUT in a missing folder", {QStringLiteral("export"), archive, QStringLiteral("-o"), path("no/u.xls")}},
      {"OUT is the archive", {QStringLiteral("export"), archive, QStringLiteral("-o"), archive}},
      {"-o without a name", {QStringLiteral("export"), archive, QStringLiteral("-o")}},
  };
  for (const auto& c : cases) {
    const ToolRun r = runToolBytes(c.args);
    EXPECT_EQ(r.exitCode, 2) << c.what;
    EXPECT_FALSE(r.err.isEmpty()) << c.what;
    EXPECT_TRUE(r.out.isEmpty()) << c.what;
    EXPECT_EQ(entries(), QStringList({QStringLiteral("2024.eur")})) << c.what;
    EXPECT_EQ(readAll(archive), before) << c.what;
  }
}
