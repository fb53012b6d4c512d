// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDate>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;
using fondaro::testing::readAll;
using fondaro::testing::namesIn;
using fondaro::testing::removeContents;
using fondaro::testing::writeAll;

namespace {

// A payment out of 1250,00 with a due date, as the editor saves it.
TMovimento goodMovement() {
  TMovimento r = testdata::movement(u"Affitto \"marzo\" \u20AC", u"05/03/2024", u"1250,00", false);
  r.DataSca.set(u"31/03/2024");
  r.Preavviso.set(u"0");
  return r;
}

class ToolTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.filePath(name); }
  void TearDown() override { fondaro::testing::removeContents(QFile::encodeName(dir.path())); }
};

}  // namespace

TEST_F(ToolTest, DumpWritesEveryFieldInRecordOrder) {
  const QString p = path(QStringLiteral("2024.eur"));
  {
    auto a = MovementArchive::OpenOrCreate(p);
    a.Append(goodMovement());
  }
  QFile f(p);
  ASSERT_TRUE(f.open(QIODevice::Append));
  f.write(QByteArray(100, 'x'));  // a fragment is not a record
  f.close();
  const ToolRun r = runTool({QStringLiteral("dump"), p});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out,
            QStringLiteral(
                "{\"pos\": 1, \"Entrata\": \"No\", \"Uscita\": \"S\u00EC\", \"Data\": \"05/03/2024\", "
                "\"Causale\": \"Affitto \\\"marzo\\\" \u20AC\", \"Promemoria\": \"\", \"DataSca\": \"31/03/2024\", "
                "\"Preavviso\": \"0\", \"Importo\": \"1250,00\", \"Totale\": \"-1250,00\", \"Pagatore\": \"\", "
                "\"RecapitoPag\": \"\", \"CodFisc\": \"\", \"PartitaIva\": \"\", \"Categoria\": \"\", \"Email\": \"\", "
                "\"Pagamento\": \"\", \"Beneficiario\": \"\", \"RecapitoBen\": \"\", \"Ricevuta\": \"\", \"Note\": \"\", "
                "\"Tariffa\": \"\", \"Saldato\": \"No\", \"File01\": \"\", \"File02\": \"\", \"File03\": \"\", "
                "\"Desc01\": \"\", \"Desc02\": \"\", \"Desc03\": \"\"}\n"));
}

TEST_F(ToolTest, DumpTrimsAndTakesTheKindFromTheOption) {
  const QString p = path(QStringLiteral("rubrica.bak"));
  TCliente c;
  c.Cliente.set(u"Rossi Mario");
  QByteArray bytes(reinterpret_cast<const char*>(&c), sizeof c);
  bytes[1 + 11] = '\t';  // a stored control character after the text
  bytes[0] = 12;
  writeAll(p, bytes);
  EXPECT_EQ(runTool({QStringLiteral("dump"), p}).exitCode, 2);  // kind unknown from the name
  const ToolRun r = runTool({QStringLiteral("dump"), QStringLiteral("--kind"), QStringLiteral("clienti"), p});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("{\"pos\": 1, \"Cliente\": \"Rossi Mario\", \"DataNasc\": \"\"")));
  EXPECT_TRUE(r.out.endsWith(QStringLiteral("\"Desc03\": \"\"}\n")));
}

TEST_F(ToolTest, DumpOfAMissingOrUnreadableFileFailsAndCreatesNothing) {
  const QString missing = path(QStringLiteral("1999.eur"));
  const ToolRun r = runTool({QStringLiteral("dump"), missing});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(r.err.isEmpty());
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_FALSE(QFile::exists(missing));
  EXPECT_EQ(runTool({QStringLiteral("dump"), dir.path() + QStringLiteral("/")}).exitCode, 2);
  // A pipe under an archive's name is refused at once, not waited on.
  const QString pipe = path(QStringLiteral("2024.eur"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const char* cmd : {"dump", "check"}) {
    const ToolRun p = runTool({QString::fromLatin1(cmd), pipe});
    EXPECT_EQ(p.exitCode, 2) << cmd;
    EXPECT_TRUE(p.err.contains(pipe)) << p.err.toStdString();
  }
}

TEST_F(ToolTest, AppendValidatesEveryLineBeforeWritingAnything) {
  const QString p = path(QStringLiteral("Clienti.pro"));
  const struct {
    QByteArray input;
    QString mention;
  } bad[] = {
      {"{\"Cliente\": \"A\"}\n{\"Cliente\": \"B\"}\n{\"Causale\": \"x\"}\n", QStringLiteral("line 3")},
      {"{\"Cliente\": \"A\"}\n{\"Cliente\": 5}\n", QStringLiteral("line 2")},
      {"{\"Cliente\": \"A\"\n", QStringLiteral("line 1")},
      {"[\"Cliente\"]\n", QStringLiteral("line 1")},
      {"\n{\"Cliente\": \"A\"}\n{\"Cliente\": null}\n", QStringLiteral("line 3")},
  };
  for (const auto& b : bad) {
    const ToolRun r = runTool({QStringLiteral("append"), p}, b.input);
    EXPECT_EQ(r.exitCode, 2) << b.input.toStdString();
    EXPECT_TRUE(r.err.contains(b.mention)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(p));
  }
}

TEST_F(ToolTest, AppendCreatesTheFileAndPrintsThePositions) {
  const QString p = path(QStringLiteral("2024.eur"));
  const ToolRun r = runTool({QStringLiteral("append"), p},
                     "{\"Entrata\": \"S\xC3\xAC\", \"Causale\": \"  Caff\xC3\xA8  \"}\n\n"
                     "{\"Importo\": \"12,50\"}\r\n");
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QStringLiteral("1\n2\n"));
  auto a = MovementArchive::OpenOrCreate(p);
  ASSERT_EQ(a.Count(), 2);
  const TMovimento first = a.ReadAt(1);
  EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&first.Entrata), 3), QByteArray::fromHex("0253EC"));
  EXPECT_EQ(first.Causale.get(), QStringLiteral("Caff\u00E8"));
  EXPECT_EQ(first.Importo.len, 0);
  EXPECT_EQ(a.ReadAt(2).Importo.get(), QStringLiteral("12,50"));
  a.Close();
  EXPECT_EQ(runTool({QStringLiteral("append"), p}, "{}\n").out, QStringLiteral("3\n"));
}

TEST_F(ToolTest, CheckReportsDamageAndNeverChangesTheFile) {
  const QString p = path(QStringLiteral("2024.eur"));
  {
    auto a = MovementArchive::OpenOrCreate(p);
    a.Append(goodMovement());
  }
  EXPECT_EQ(runTool({QStringLiteral("check"), p}).exitCode, 0);
  EXPECT_TRUE(runTool({QStringLiteral("check"), p}).out.isEmpty());

  TMovimento bad = goodMovement();
  bad.Entrata.set(u"Si");
  bad.Saldato.set(u"");
  bad.Data.set(u"31/02/2024");
  bad.DataSca.set(u"");
  bad.Importo.set(u"12,5");
  bad.Totale.set(u"+-4,99");
  bad.Causale.len = 251;
  QByteArray bytes = readAll(p);
  bytes.append(reinterpret_cast<const char*>(&bad), sizeof bad);
  bytes.append(QByteArray(100, '\0'));
  writeAll(p, bytes);

  const ToolRun r = runTool({QStringLiteral("check"), p});
  EXPECT_EQ(r.exitCode, 1);
  const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), 8) << r.out.toStdString();
  for (const char* field : {"Entrata", "Saldato", "Data", "DataSca", "Importo", "Totale", "Causale"}) {
    EXPECT_TRUE(r.out.contains(QStringLiteral("record 2: %1:").arg(QLatin1String(field)))) << field;
  }
  EXPECT_FALSE(r.out.contains(QStringLiteral("record 1")));
  EXPECT_TRUE(lines.back().contains(QStringLiteral("100 bytes")));
  EXPECT_EQ(readAll(p), bytes);
}

TEST_F(ToolTest, CheckOfClientsLooksAtTheCallBackFlag) {
  const QString p = path(QStringLiteral("Clienti.pro"));
  EXPECT_EQ(runTool({QStringLiteral("append"), p}, "{\"Cliente\": \"A\", \"Ricontatta\": \"No\"}\n{\"Cliente\": \"B\"}\n").exitCode, 0);
  const ToolRun r = runTool({QStringLiteral("check"), p});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out.count(u'\n'), 1);
  EXPECT_TRUE(r.out.startsWith(QStringLiteral("record 2: Ricontatta:")));
}

TEST_F(ToolTest, HelpAndUsage) {
  for (const QStringList& args : {QStringList{QStringLiteral("--help")}, QStringList{QStringLiteral("dump"), QStringLiteral("--help")},
                                  QStringList{QStringLiteral("append"), QStringLiteral("--help")},
                                  QStringList{QStringLiteral("check"), QStringLiteral("--help")}}) {
    const ToolRun r = runTool(args);
    EXPECT_EQ(r.exitCode, 0) << args.join(u' ').toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("usage: fondaro-tool")));
  }
  EXPECT_EQ(runTool({}).exitCode, 2);
  EXPECT_EQ(runTool({QStringLiteral("frobnicate")}).exitCode, 2);
  EXPECT_EQ(runTool({QStringLiteral("dump"), QStringLiteral("--kind"), QStringLiteral("altro"), path(QStringLiteral("a.eur"))}).exitCode, 2);
}

namespace {

// The tool run by the shell in the scratch folder: the script names files by
// bytes (printf '\351'), which QProcess arguments cannot carry.
ToolRun toolInShell(const QString& folder, const QString& script, const QByteArray& input = {}) {
  QProcess p;
  p.setWorkingDirectory(folder);
  p.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral(FONDARO_TOOL_PATH)});
  p.waitForStarted();
  p.write(input);
  p.closeWriteChannel();
  const bool finished = p.waitForFinished(60000);
  return {finished && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
          QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

QByteArray bytesOf(const QString& path) { return QFile::encodeName(path); }

}  // namespace

// "caf\xE9.eur" named in Latin-1: dump reads it and append writes to it, and to
// no file with a similar name.
TEST_F(ToolTest, ALatin1FileNameIsTheFileUsed) {
  const QByteArray latin1 = bytesOf(dir.path()) + "/caf\xE9.eur";
  {
    auto a = MovementArchive::OpenOrCreate(latin1);
    a.Append(goodMovement());
    a.Close();
  }
  const ToolRun dump = toolInShell(dir.path(), QStringLiteral("exec \"$0\" dump \"$(printf 'caf\\351.eur')\""));
  EXPECT_EQ(dump.exitCode, 0) << dump.err.toStdString();
  EXPECT_TRUE(dump.out.startsWith(u"{\"pos\": 1, "_qs)) << dump.out.toStdString();
  EXPECT_EQ(dump.out.count(u'\n'), 1);

  const ToolRun append = toolInShell(dir.path(), QStringLiteral("exec \"$0\" append \"$(printf 'caf\\351.eur')\""),
                                     "{\"Causale\": \"Pane\"}\n");
  EXPECT_EQ(append.exitCode, 0) << append.err.toStdString();
  EXPECT_EQ(append.out, u"2\n"_qs);
  auto a = MovementArchive::OpenExisting(latin1, RecordFile::Access::ReadOnly);
  EXPECT_EQ(a.Count(), 2);
  EXPECT_EQ(a.ReadAt(2).Causale.get(), u"Pane"_qs);
  a.Close();
  // Beside it, only the day's safety copy, under the very same name.
  EXPECT_EQ(namesIn(bytesOf(dir.path())), (std::set<QByteArray>{"caf\xE9.eur", "Copie di sicurezza"}));
  const QByteArray day = bytesOf(dir.path()) + "/Copie di sicurezza/" +
                         QDate::currentDate().toString(u"yyyy-MM-dd"_qs).toLatin1();
  EXPECT_EQ(namesIn(day), (std::set<QByteArray>{"caf\xE9.eur", "manifesto.txt"}));

  // A missing Latin-1 name is created under exactly that name.
  const ToolRun create = toolInShell(dir.path(), QStringLiteral("exec \"$0\" append \"$(printf '\\351t\\340.pro')\""),
                                     "{\"Cliente\": \"A\"}\n");
  EXPECT_EQ(create.exitCode, 0) << create.err.toStdString();
  auto clients = ClientArchive::OpenExisting(bytesOf(dir.path()) + "/\xE9t\xE0.pro", RecordFile::Access::ReadOnly);
  EXPECT_EQ(clients.Count(), 1);
  clients.Close();
  EXPECT_EQ(namesIn(bytesOf(dir.path())), (std::set<QByteArray>{"caf\xE9.eur", "\xE9t\xE0.pro", "Copie di sicurezza"}));
}

// A line over 1 MiB is refused, naming it; one just under goes in.
TEST_F(ToolTest, AppendBoundsALine) {
  const QString p = path(QStringLiteral("Clienti.pro"));
  const QByteArray head = "{\"Note\": \"";
  const QByteArray tail = "\"}";
  const auto line = [&](qsizetype size) {
    return head + QByteArray(size - head.size() - tail.size(), 'a') + tail;
  };
  const ToolRun over = runTool({QStringLiteral("append"), p}, "{}\n" + line((1 << 20) + 1) + "\n{}\n");
  EXPECT_EQ(over.exitCode, 2);
  EXPECT_TRUE(over.err.contains(u"line 2"_qs)) << over.err.toStdString();
  EXPECT_TRUE(over.out.isEmpty());
  EXPECT_FALSE(QFile::exists(p));
  const ToolRun under = runTool({QStringLiteral("append"), p}, "{}\n" + line(1 << 20) + "\n");
  EXPECT_EQ(under.exitCode, 0) << under.err.toStdString();
  EXPECT_EQ(under.out, u"1\n2\n"_qs);
}

// A line of hundreds of megabytes is refused without being held: under a
// memory limit far below its size the tool still answers with exit 2.
TEST_F(ToolTest, AnEndlessLineIsRefusedWithoutHoldingIt) {
  const ToolRun r = toolInShell(
      dir.path(),
      QStringLiteral("ulimit -v 400000; { printf '{\"Note\": \"'; head -c 600000000 /dev/zero | tr '\\0' a; } "
                     "| \"$0\" append 2024.eur"));
  EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(u"line 1"_qs)) << r.err.toStdString();
  EXPECT_FALSE(QFile::exists(path(u"2024.eur"_qs)));
}

// Raw control characters are not JSON inside a string; their escaped forms are.
TEST_F(ToolTest, AppendRefusesRawControlCharactersInStrings) {
  const QString p = path(QStringLiteral("Clienti.pro"));
  const QByteArray refused[] = {
      QByteArray("{\"Cliente\": \"A\0B\"}", 17),
      "{\"Cliente\": \"A\tB\"}",
      "{\"Cliente\": \"A\x01" "B\"}",
      "{\"Cliente\": \"A\\\\\x1F\"}",  // after an escaped backslash
      "{\"Cli\x02" "ente\": \"A\"}",   // in a name
  };
  for (const QByteArray& bad : refused) {
    SCOPED_TRACE(bad.toHex().toStdString());
    const ToolRun r = runTool({QStringLiteral("append"), p}, "{}\n" + bad + "\n");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(u"line 2"_qs)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_FALSE(QFile::exists(p));
  }
  // Escaped, and blanks or tabs between the tokens, they go in.
  const ToolRun ok = runTool({QStringLiteral("append"), p},
                          "{\"Cliente\":\t\"A\\u0000B\", \"Note\": \"x\\ty\\u001fz\"}\r\n");
  EXPECT_EQ(ok.exitCode, 0) << ok.err.toStdString();
  const ToolRun dump = runTool({QStringLiteral("dump"), p});
  EXPECT_TRUE(dump.out.contains(u"\"Note\": \"x\\ty\\u001fz\""_qs)) << dump.out.toStdString();
}

// Plain words for an archive that is no file and for a dangling link.
TEST_F(ToolTest, AnArchiveThatIsNoFileIsNamedSo) {
  const QString fifo = path(u"2024.eur"_qs);
  ASSERT_EQ(mkfifo(bytesOf(fifo).constData(), 0600), 0);
  const QString link = path(u"2023.eur"_qs);
  ASSERT_EQ(symlink(bytesOf(path(u"altrove.eur"_qs)).constData(), bytesOf(link).constData()), 0);
  const struct {
    QStringList args;
    QString words;
  } cases[] = {
      {{u"dump"_qs, fifo}, fifo + u": it is not a regular file"_qs},
      {{u"append"_qs, fifo}, fifo + u": it is not a regular file"_qs},
      {{u"append"_qs, u"--kind"_qs, u"movimenti"_qs, u"/dev/null"_qs}, u"/dev/null: it is not a regular file"_qs},
      {{u"append"_qs, link}, link + u": it is a link to a missing file"_qs},
  };
  for (const auto& c : cases) {
    const ToolRun r = runTool(c.args, "{}\n");
    EXPECT_EQ(r.exitCode, 2) << c.args.join(u' ').toStdString();
    EXPECT_TRUE(r.err.contains(c.words)) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
  }
  EXPECT_FALSE(QFile::exists(path(u"altrove.eur"_qs)));
}
