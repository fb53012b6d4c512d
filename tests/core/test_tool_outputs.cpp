// SPDX-License-Identifier: GPL-3.0-or-later
// What fondaro-tool writes: never over an archive, the password file or the
// input; a failed standard output is an error; a disk that gives up half way
// loses nothing and is reported honestly.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::namesIn;
using fondaro::testing::readAll;
using fondaro::testing::runTool;
using fondaro::testing::runToolFailing;
using fondaro::testing::ToolRun;
using fondaro::testing::writeAll;

namespace {

class ToolOutputs : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.filePath(name); }
  QString archive() {
    const QString p = path(QStringLiteral("t.eur"));
    auto a = MovementArchive::OpenOrCreate(p);
    a.Append(testdata::movement(u"Affitto", u"05/03/2024", u"1250,00", false));
    a.Close();
    return p;
  }
  std::set<QByteArray> names() const { return namesIn(QFile::encodeName(dir.path())); }
};

const QString kNewLine = QStringLiteral("\n");

}  // namespace

// Every output of the tool refuses the input, any archive and the password
// file, by name or by identity, and writes nothing.
TEST_F(ToolOutputs, NoOutputReplacesAnArchiveOrThePasswordFile) {
  const QString input = archive();
  writeAll(path(QStringLiteral("Clienti.pro")), "rubrica");
  writeAll(path(QStringLiteral("unins000.dll")), "password");
  writeAll(path(QStringLiteral("2023.eur")), "anno");
  ASSERT_EQ(::symlink("2023.eur", QFile::encodeName(path(QStringLiteral("lista.pdf"))).constData()), 0);
  const QByteArray inputBytes = readAll(input);
  const QStringList targets = {input, path(QStringLiteral("./t.eur")), path(QStringLiteral("Clienti.pro")),
                               path(QStringLiteral("unins000.dll")), path(QStringLiteral("2023.eur")),
                               path(QStringLiteral("nuovo.eur")), path(QStringLiteral("lista.pdf"))};
  for (const QString& target : targets) {
    const QList<QStringList> commands = {
        {QStringLiteral("list"), input, QStringLiteral("--pdf"), target},
        {QStringLiteral("due"), input, QStringLiteral("--pdf=") + target},
        {QStringLiteral("journal"), input, QStringLiteral("--from"), QStringLiteral("01/01/2024"),
         QStringLiteral("--to"), QStringLiteral("31/12/2024"), QStringLiteral("--pdf"), target},
        {QStringLiteral("export"), input, QStringLiteral("-o"), target},
    };
    for (const QStringList& args : commands) {
      SCOPED_TRACE(args.join(u' ').toStdString());
      const ToolRun r = runTool(args);
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write"))) << r.err.toStdString();
      EXPECT_TRUE(r.out.isEmpty());
    }
  }
  EXPECT_EQ(readAll(input), inputBytes);
  EXPECT_EQ(readAll(path(QStringLiteral("Clienti.pro"))), QByteArray("rubrica"));
  EXPECT_EQ(readAll(path(QStringLiteral("unins000.dll"))), QByteArray("password"));
  EXPECT_EQ(readAll(path(QStringLiteral("2023.eur"))), QByteArray("anno"));
  EXPECT_FALSE(names().count("nuovo.eur"));
}

// A device, a FIFO or a folder under the output's name stays what it is; a
// read-only file stays as it was; an empty --pdf is a usage error.
TEST_F(ToolOutputs, OnlyAnOrdinaryWritableFileIsReplaced) {
  const QString input = archive();
  ASSERT_EQ(::mkfifo(QFile::encodeName(path(QStringLiteral("pipe.pdf"))).constData(), 0644), 0);
  writeAll(path(QStringLiteral("protetto.pdf")), "vecchio");
  ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("protetto.pdf"))).constData(), 0444), 0);
  for (const QString& target : {QStringLiteral("/dev/null"), path(QStringLiteral("pipe.pdf")), dir.path(),
                                path(QStringLiteral("protetto.pdf"))}) {
    SCOPED_TRACE(target.toStdString());
    for (const QStringList& args : {QStringList{QStringLiteral("list"), input, QStringLiteral("--pdf"), target},
                                    QStringList{QStringLiteral("export"), input, QStringLiteral("-o"), target}}) {
      const ToolRun r = runTool(args);
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_TRUE(r.err.contains(QStringLiteral("cannot write"))) << r.err.toStdString();
    }
  }
  struct stat st {};
  ASSERT_EQ(::stat("/dev/null", &st), 0);
  EXPECT_TRUE(S_ISCHR(st.st_mode));
  ASSERT_EQ(::lstat(QFile::encodeName(path(QStringLiteral("pipe.pdf"))).constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  EXPECT_EQ(readAll(path(QStringLiteral("protetto.pdf"))), QByteArray("vecchio"));

  const ToolRun empty = runTool({QStringLiteral("list"), input, QStringLiteral("--pdf=")});
  EXPECT_EQ(empty.exitCode, 2);
  EXPECT_TRUE(empty.out.isEmpty());
  EXPECT_TRUE(empty.err.contains(QStringLiteral("--pdf needs a file name")));
}

// A standard output that cannot be written (a full disk) is an error with a
// message, for every command that writes there.
TEST_F(ToolOutputs, AFailedStandardOutputIsReported) {
  const QString input = archive();
  auto book = ClientArchive::OpenOrCreate(path(QStringLiteral("Clienti.pro")));
  book.Append(testdata::record<TCliente>({{cli::Cliente, u"Rossi Mario"}, {cli::Ricontatta, kSi}}));
  book.Close();
  const QList<QStringList> commands = {
      {QStringLiteral("list"), input},
      {QStringLiteral("dump"), input},
      {QStringLiteral("export"), input},
      {QStringLiteral("check"), input},
      {QStringLiteral("recall"), path(QStringLiteral("Clienti.pro"))},
      {QStringLiteral("validate"), QStringLiteral("iban"), QStringLiteral("IT60X0542811101000000123456")},
      {QStringLiteral("--help")},
  };
  for (const QStringList& args : commands) {
    SCOPED_TRACE(args.join(u' ').toStdString());
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(FONDARO_TOOL_PATH), args);
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(QStringLiteral("cannot write standard output")));
  }
}

// A batch goes in under one lock in blocks, each synced before the next. Records
// the disk did not confirm, or that were whole before a block failed, are in
// the file: append prints their positions before the failure (a block the disk
// did not confirm ends the batch), and an interrupted sync is simply tried again.
TEST_F(ToolOutputs, AppendPrintsEveryPositionItWrote) {
  QByteArray lines;
  for (int i = 1; i <= 400; ++i) lines += "{\"Causale\": \"r" + QByteArray::number(i) + "\"}\n";
  const auto positions = [](int first, int last) {
    QString s;
    for (int i = first; i <= last; ++i) s += QString::number(i) + u'\n';
    return s;
  };
  // 307 records of 3414 bytes fill the first block of a mebibyte.
  struct Case {
    const char* fault;
    int exitCode;
    int printedUpTo;
    int stored;
    const char* reason;
  } cases[] = {
      {"fdatasync:1:EIO", 2, 307, 307, "cannot flush"},
      {"fdatasync:2:EIO", 2, 400, 400, "cannot flush"},
      {"pwrite:2:ENOSPC", 2, 307, 307, "cannot write"},
      // The disk fills up half way through the second block: what it took of
      // it is cut back to the last whole record (46 of the 93), so the archive
      // reads whole.
      {"pwrite:2:SHORT:2", 2, 307 + 46, 307 + 46, "cannot write"},
      {"pwrite:1:EIO", 2, 0, 0, "cannot write"},
      {"fdatasync:1:EINTR:3", 0, 400, 400, ""},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    const QString p = path(QStringLiteral("%1.eur").arg(++n));
    const ToolRun r = runToolFailing(QString::fromLatin1(c.fault), {QStringLiteral("append"), p}, lines);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    EXPECT_EQ(r.out, positions(1, c.printedUpTo));
    EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.reason))) << r.err.toStdString();
    const auto stored = MovementArchive::OpenExisting(p, RecordFile::Access::ReadOnly);
    EXPECT_EQ(stored.Count(), c.stored);
    EXPECT_EQ(stored.file().trailingBytes(), 0);
    if (c.stored > 0) {
      EXPECT_EQ(stored.ReadAt(c.stored).Causale.get(), QStringLiteral("r%1").arg(c.stored));
    }
  }
  // A second batch goes after the first (the one the final sync failed for).
  const QString p = path(QStringLiteral("2.eur"));
  const ToolRun more = runTool({QStringLiteral("append"), p}, "{\"Causale\": \"x\"}\n{}\n");
  EXPECT_EQ(more.exitCode, 0) << more.err.toStdString();
  EXPECT_EQ(more.out, positions(401, 402));
}

// A disk that fails while an export or a PDF is written leaves the old file
// whole, no temporary file behind, and a message that says why.
TEST_F(ToolOutputs, AFailedOutputLeavesTheOldFileAndSaysWhy) {
  const QString input = archive();
  const QString out = path(QStringLiteral("Movimenti.xls"));
  const QString pdf = path(QStringLiteral("lista.pdf"));
  writeAll(out, "vecchio");
  writeAll(pdf, "vecchio");
  const struct {
    const char* fault;
    const char* reason;
  } cases[] = {
      {"write:1:ENOSPC:1:.fondaro-", "No space left on device"},
      {"fsync:1:EIO:1:.fondaro-", "Input/output error"},
      {"close:1:EIO:1:.fondaro-", "Input/output error"},
      {"rename:1:EIO", "Input/output error"},
  };
  const std::set<QByteArray> before = names();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    for (const QStringList& args : {QStringList{QStringLiteral("export"), input, QStringLiteral("-o"), out},
                                    QStringList{QStringLiteral("list"), input, QStringLiteral("--pdf"), pdf}}) {
      const ToolRun r = runToolFailing(QString::fromLatin1(c.fault), args);
      EXPECT_EQ(r.exitCode, 2);
      EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.reason))) << r.err.toStdString();
    }
    EXPECT_EQ(readAll(out), QByteArray("vecchio"));
    EXPECT_EQ(readAll(pdf), QByteArray("vecchio"));
    EXPECT_EQ(names(), before);
  }
}

// A line break or a tab stored inside a field (a damaged archive, or a record
// appended with one) does not split a line of the lists: it shows as a blank.
TEST_F(ToolOutputs, ControlCharactersInsideAFieldKeepEachLineWhole) {
  const QString movements = path(QStringLiteral("2024.eur"));
  const QString book = path(QStringLiteral("Clienti.pro"));
  ASSERT_EQ(runTool({QStringLiteral("append"), movements},
                    "{\"Causale\": \"Affitto\\nmarzo\", \"Pagatore\": \"Rossi\\tMario\", "
                    "\"Totale\": \"-10,00\", \"Data\": \"05/03/2024\", \"DataSca\": \"05/03/2024\", "
                    "\"Preavviso\": \"0\", \"Saldato\": \"No\"}\n")
                .exitCode,
            0);
  ASSERT_EQ(runTool({QStringLiteral("append"), book},
                    "{\"Cliente\": \"Rossi\\nMario\", \"Ricontatta\": \"S\xC3\xAC\", \"Questioni\": \"a\\r\\nb\", "
                    "\"CodFisc\": \"RSS\\nMRA\"}\n")
                .exitCode,
            0);
  const QList<QStringList> commands = {
      {QStringLiteral("list"), movements},
      {QStringLiteral("due"), movements, QStringLiteral("--today"), QStringLiteral("10/03/2024")},
      {QStringLiteral("journal"), movements, QStringLiteral("--from"), QStringLiteral("01/01/2024"),
       QStringLiteral("--to"), QStringLiteral("31/12/2024")},
      {QStringLiteral("list"), book},
      {QStringLiteral("recall"), book},
      {QStringLiteral("check-codes"), book},
  };
  for (const QStringList& args : commands) {
    SCOPED_TRACE(args.join(u' ').toStdString());
    const ToolRun r = runTool(args);
    EXPECT_LE(r.exitCode, 1) << r.err.toStdString();
    EXPECT_FALSE(r.out.contains(u'\r'));
    for (const QString& line : r.out.split(kNewLine, Qt::SkipEmptyParts)) {
      if (line.contains(QStringLiteral("Affitto"))) EXPECT_TRUE(line.contains(QStringLiteral("Affitto marzo")));
      if (line.contains(QStringLiteral("Rossi"))) EXPECT_TRUE(line.contains(QStringLiteral("Rossi Mario")));
      if (args.front() != QStringLiteral("check-codes")) EXPECT_FALSE(line.contains(u'\t'));
    }
    EXPECT_TRUE(r.out.contains(QStringLiteral("Rossi Mario")) || r.out.contains(QStringLiteral("Affitto marzo")));
  }
  const ToolRun codes = runTool({QStringLiteral("check-codes"), book});
  EXPECT_EQ(codes.out.count(kNewLine), 1);
  EXPECT_EQ(codes.out.count(u'\t'), 3);
}
