// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool import: the built tool on small statements, its lines, its
// exit status, and that a statement it refuses leaves the folder untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>

#include "core/archive.h"
#include "core/filepath.h"
#include "test_support.h"

namespace {

using fondaro::testing::namesIn;
using fondaro::testing::readAll;
using fondaro::testing::runTool;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

QByteArray camtOf(const QByteArray& entries) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt>"
         "<GrpHdr><MsgId>M</MsgId><CreDtTm>2024-01-10T08:00:00</CreDtTm></GrpHdr><Stmt><Id>S</Id>"
         "<Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>\n" +
         entries + "</Stmt></BkToCstmrStmt></Document>\n";
}

QByteArray ntry(const char* amount, const char* ccy, const char* dir, const char* date, const char* ref,
                const char* text, const char* sts = "BOOK") {
  return QStringLiteral(
             "<Ntry><Amt Ccy=\"%1\">%2</Amt><CdtDbtInd>%3</CdtDbtInd><Sts>%4</Sts><BookgDt><Dt>%5</Dt></BookgDt>"
             "<AcctSvcrRef>%6</AcctSvcrRef><NtryDtls><TxDtls><RmtInf><Ustrd>%7</Ustrd></RmtInf></TxDtls>"
             "</NtryDtls></Ntry>\n")
      .arg(QLatin1String(ccy), QLatin1String(amount), QLatin1String(dir), QLatin1String(sts),
           QLatin1String(date), QLatin1String(ref), QString::fromUtf8(text))
      .toUtf8();
}

class ToolImport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(QDir().mkpath(folder())); }
  QString folder() const { return dir.filePath(u"cartella"_s); }
  QString statement(const QByteArray& bytes, const QString& name = u"estratto.xml"_s) {
    const QString p = dir.filePath(name);
    writeAll(p, bytes);
    return p;
  }
  qint64 count(int year) const {
    const QString p = QStringLiteral("%1/%2.eur").arg(folder()).arg(year);
    if (!QFile::exists(p)) return -1;
    return fondaro::MovementArchive::OpenExisting(p, fondaro::RecordFile::Access::ReadOnly).Count();
  }
  QTemporaryDir dir;
};

TEST_F(ToolImport, TwoYearsThenTheSameStatementAgain) {
  const QString s = statement(camtOf(ntry("1250.00", "EUR", "CRDT", "2023-12-29", "R1", "Fattura 12") +
                                     ntry("12.34", "EUR", "DBIT", "2024-01-02", "R2", "Bar") +
                                     ntry("12.34", "EUR", "DBIT", "2024-01-02", "R3", "Bar")));
  auto r = runTool({u"import"_s, s, u"--into"_s, folder(), u"--dry-run"_s});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, u"2023.eur: 1 added, 0 already present\n2024.eur: 2 added, 0 already present\n");
  EXPECT_TRUE(namesIn(fondaro::encodePath(folder())).empty());

  r = runTool({u"import"_s, s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"2023.eur: 1 added, 0 already present\n2024.eur: 2 added, 0 already present\n");
  EXPECT_EQ(r.err, u"");
  const auto dump = runTool({u"dump"_s, folder() + u"/2023.eur"_s});
  EXPECT_TRUE(dump.out.contains(u"\"Totale\": \"+1250,00\""));
  EXPECT_TRUE(dump.out.contains(u"\"Note\": \"Importato da estratto.xml\""));

  r = runTool({u"import"_s, s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, u"2023.eur: 0 added, 1 already present\n2024.eur: 0 added, 2 already present\n");
  EXPECT_EQ(count(2023), 1);
  EXPECT_EQ(count(2024), 2);
}

// --match: an invoice of December entered by hand and two rents are paid by
// the statement; the settled movements are told before the archives' lines.
class ToolImportMatch : public ToolImport {
 protected:
  void SetUp() override {
    ToolImport::SetUp();
    const auto invoice = runTool({u"append"_s, folder() + u"/2023.eur"_s},
                                 R"({"Entrata":"Sì","Uscita":"No","Data":"15/12/2023","DataSca":"20/12/2023","Importo":"300,00","Totale":"+300,00","Causale":"Fattura 7","Pagatore":"Cliente Spa","Saldato":"No"})"
                                 "\n");
    ASSERT_EQ(invoice.exitCode, 0);
    const auto rents = runTool({u"append"_s, folder() + u"/2024.eur"_s},
                               R"({"Uscita":"Sì","Entrata":"No","Data":"01/02/2024","DataSca":"01/02/2024","Importo":"700,00","Totale":"-700,00","Causale":"Affitto febbraio","Saldato":"No"})"
                               "\n"
                               R"({"Uscita":"Sì","Entrata":"No","Data":"01/03/2024","DataSca":"01/03/2024","Importo":"700,00","Totale":"-700,00","Causale":"Affitto marzo","Saldato":"No"})"
                               "\n");
    ASSERT_EQ(rents.exitCode, 0);
  }
  QString csv() {
    return statement("Data contabile;Descrizione;Controparte;Riferimento;Importo\n"
                     "02/03/2024;Affitto;Immobiliare;R3;-700,00\n"
                     "10/01/2024;Bonifico;Cliente Spa;CRO1;300,00\n"
                     "01/02/2024;Affitto;Immobiliare;R2;-700,00\n"
                     "05/02/2024;Caff\xC3\xA8;Bar;R4;-1,50\n",
                     u"estratto.csv"_s);
  }
  QByteArray archives() const { return readAll(folder() + u"/2023.eur"_s) + readAll(folder() + u"/2024.eur"_s); }
};

TEST_F(ToolImportMatch, SettledMovementsArePrintedThenTheArchives) {
  const QString s = csv();
  const QString paid = u"entry 1: 2024.eur 2 paid\nentry 2: 2023.eur 1 paid\nentry 3: 2024.eur 1 paid\n"
                       u"2023.eur: 0 added, 0 already present, 1 paid\n2024.eur: 1 added, 0 already present, 2 paid\n"_s;
  const QByteArray before = archives();
  auto r = runTool({u"import"_s, s, u"--into"_s, folder(), u"--match"_s, u"--dry-run"_s});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, paid);
  EXPECT_EQ(archives(), before);

  r = runTool({u"import"_s, s, u"--match"_s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, paid);
  EXPECT_EQ(r.err, u"");
  EXPECT_EQ(count(2023), 1);
  EXPECT_EQ(count(2024), 3);
  const auto dump = runTool({u"dump"_s, folder() + u"/2023.eur"_s});
  EXPECT_TRUE(dump.out.contains(u"\"Ricevuta\": \"CRO1 del 10/01/2024\", \"Note\": \"Pagato il 10/01/2024\""))
      << dump.out.toStdString();

  // Again: every entry on its booking year's line, nothing written.
  const QByteArray after = archives();
  r = runTool({u"import"_s, s, u"--into"_s, folder(), u"--match"_s});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, u"2024.eur: 0 added, 4 already present, 0 paid\n");
  EXPECT_EQ(archives(), after);
  // Without --match the lines are those of every import.
  r = runTool({u"import"_s, s, u"--into"_s, folder(), u"--dry-run"_s});
  EXPECT_EQ(r.out, u"2024.eur: 3 added, 1 already present\n");
}

// A settlement that fails is told with what was written; the other archive
// is written all the same, and the failing entry is not added in its place.
TEST_F(ToolImportMatch, AFailedSettlementIsToldExactly) {
  const QString s = csv();
  const struct {
    const char* fault;
    const char16_t* out;
    const char16_t* err;
    const char16_t* saldato;
  } cases[] = {
      {"pwrite:1:ENOSPC:1:cartella/2023.eur",
       u"entry 1: 2024.eur 2 paid\nentry 3: 2024.eur 1 paid\n2024.eur: 1 added, 0 already present, 2 paid\n",
       u"(0 movements of 2023.eur written before the failure)", u"\"Saldato\": \"No\""},
      {"fdatasync:1:EIO:1:cartella/2023.eur",
       u"entry 1: 2024.eur 2 paid\nentry 2: 2023.eur 1 paid\nentry 3: 2024.eur 1 paid\n"
       u"2023.eur: 0 added, 0 already present, 1 paid\n2024.eur: 1 added, 0 already present, 2 paid\n",
       u"(0 movements of 2023.eur written before the failure)", u"\"Saldato\": \"Sì\""},
  };
  const QByteArray fresh2023 = readAll(folder() + u"/2023.eur"_s), fresh2024 = readAll(folder() + u"/2024.eur"_s);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    writeAll(folder() + u"/2023.eur"_s, fresh2023);
    writeAll(folder() + u"/2024.eur"_s, fresh2024);
    const auto r = fondaro::testing::runToolFailing(QString::fromLatin1(c.fault),
                                                    {u"import"_s, s, u"--into"_s, folder(), u"--match"_s});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, QStringView(c.out));
    EXPECT_TRUE(r.err.startsWith(u"fondaro-tool import: "_s)) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(QStringView(c.err))) << r.err.toStdString();
    EXPECT_EQ(count(2024), 3);
    EXPECT_TRUE(runTool({u"dump"_s, folder() + u"/2023.eur"_s}).out.contains(QStringView(c.saldato)));
  }
}

TEST_F(ToolImport, SkippedEntriesAreListedAndExitOne) {
  const QString s = statement(camtOf(ntry("5.00", "EUR", "CRDT", "2024-02-01", "A", "Pendente", "PDNG") +
                                     ntry("7.00", "EUR", "CRDT", "2024-02-01", "B", "Buono") +
                                     ntry("9.00", "CHF", "DBIT", "2024-02-01", "C", "Franchi")));
  const auto r = runTool({u"import"_s, s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, u"2024.eur: 1 added, 0 already present\n");
  EXPECT_EQ(r.err, u"entry 1: not booked (PDNG)\nentry 3: in CHF, not in euro\n");
}

TEST_F(ToolImport, StatementsThatCannotBeReadWriteNothing) {
  const QByteArray good = camtOf(ntry("1.00", "EUR", "CRDT", "2024-01-01", "R", "x"));
  struct Case {
    const char* name;
    QByteArray bytes;
    QStringList extra;
    const char16_t* errPart;
  } cases[] = {
      {"truncated XML", good.left(good.size() - 40), {}, u"damaged XML"},
      {"a bad CAMT amount", camtOf(ntry("1,00", "EUR", "CRDT", "2024-01-01", "R", "x")), {}, u"entry 1: bad amount"},
      {"a bad CSV amount after a good row", "Data;Descrizione;Importo\n01/01/2024;a;1,00\n02/01/2024;b;1.2.3\n", {},
       u"line 3: bad amount"},
      {"a bad CSV date", "Data;Descrizione;Importo\n01/01/2024;a;1,00\n30/02/2024;b;1,00\n", {}, u"line 3: bad date"},
      {"columns not recognised", "Giorno;Soldi\n01/01/2024;1,00\n", {}, u"1=\"Giorno\", 2=\"Soldi\""},
      {"a bad --columns", "Giorno;Soldi\n01/01/2024;1,00\n", {u"--columns"_s, u"giorno=1"_s}, u"unknown column name"},
      {"a CAMT read as OFX", good, {u"--format"_s, u"ofx"_s}, u"damaged or incomplete OFX"},
      {"an XML of another kind", "<?xml version=\"1.0\"?><html><body/></html>", {}, u"neither"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString s = statement(c.bytes, u"s.dat"_s);
    const auto r = runTool(QStringList{u"import"_s, s, u"--into"_s, folder()} + c.extra);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, u"");
    EXPECT_TRUE(r.err.contains(QStringView(c.errPart))) << r.err.toStdString();
    EXPECT_TRUE(namesIn(fondaro::encodePath(folder())).empty());
  }
  // A missing folder is not created.
  const auto r = runTool({u"import"_s, statement(good), u"--into"_s, dir.filePath(u"manca"_s)});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(QFile::exists(dir.filePath(u"manca"_s)));
}

TEST_F(ToolImport, CsvMappedByColumns) {
  const QString s = statement("Giorno;Testo;Uscita;Entrata;Chi\n"
                              "05/01/2024;Affitto;700,00;;Immobiliare Srl\n"
                              "06/01/2024;Fattura 3;;1.000,00;Cliente Spa\n",
                              u"banca.csv"_s);
  const auto r = runTool({u"import"_s, s, u"--into"_s, folder(), u"--columns"_s,
                          u"data=1,uscite=3,entrate=4,descrizione=2,controparte=5"_s});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"2024.eur: 2 added, 0 already present\n");
  const auto dump = runTool({u"dump"_s, folder() + u"/2024.eur"_s});
  EXPECT_TRUE(dump.out.contains(u"\"Beneficiario\": \"Immobiliare Srl\""));
  EXPECT_TRUE(dump.out.contains(u"\"Pagatore\": \"Cliente Spa\""));
}

TEST_F(ToolImport, ImportsAtTheSameMomentAddTheStatementOnce) {
  QByteArray entries;
  for (int i = 1; i <= 300; ++i) {
    entries += ntry("3.00", "EUR", "DBIT", "2024-03-01", QByteArray::number(i).constData(), "Voce");
  }
  const QString s = statement(camtOf(entries));
  std::vector<std::unique_ptr<QProcess>> runs;
  for (int i = 0; i < 4; ++i) {
    runs.push_back(std::make_unique<QProcess>());
    runs.back()->start(QStringLiteral(FONDARO_TOOL_PATH), {u"import"_s, s, u"--into"_s, folder()});
  }
  qint64 added = 0;
  for (auto& p : runs) {
    ASSERT_TRUE(p->waitForFinished(30000));
    EXPECT_EQ(p->exitCode(), 0);
    const QString line = QString::fromUtf8(p->readAllStandardOutput());
    added += line.section(u": "_s, 1).section(u' ', 0, 0).toLongLong();
  }
  EXPECT_EQ(added, 300);
  EXPECT_EQ(count(2024), 300);
}

// The statement's path is named once, whoever found the fault.
TEST_F(ToolImport, AnErrorNamesTheStatementOnce) {
  const struct {
    const char* name;
    QByteArray bytes;
    QStringList extra;
  } cases[] = {
      {"a damaged OFX file", "OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><BANKMSGSRSV1>", {}},
      {"a CAMT read as OFX", camtOf(ntry("1.00", "EUR", "CRDT", "2024-01-01", "R", "x")), {u"--format"_s, u"ofx"_s}},
      {"damaged XML", camtOf("").left(120), {}},
      {"a bad CSV row", "Data;Importo\n01/01/2024;x\n", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString s = statement(c.bytes, u"s.ofx"_s);
    const auto r = runTool(QStringList{u"import"_s, s, u"--into"_s, folder()} + c.extra);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.count(s), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(u"fondaro-tool import: "_s + s + u": "_s)) << r.err.toStdString();
  }
  const QString missing = dir.filePath(u"manca.xml"_s);
  const auto r = runTool({u"import"_s, missing, u"--into"_s, folder()});
  EXPECT_EQ(r.err, u"fondaro-tool import: "_s + missing + u": no such file\n"_s);
}

// A year whose archive fails does not stop the others; each archive's line
// tells what is whole in it, and each failure how many of its movements were
// written before it. 2024 holds A already; the statement brings A, B and C of
// 2024 and D of 2025.
TEST_F(ToolImport, AFailingYearIsToldExactlyAndTheOthersAreWritten) {
  const QByteArray entries = ntry("1.00", "EUR", "CRDT", "2024-02-01", "A", "a") +
                             ntry("2.00", "EUR", "CRDT", "2024-02-02", "B", "b") +
                             ntry("3.00", "EUR", "DBIT", "2024-02-03", "C", "c") +
                             ntry("4.00", "EUR", "CRDT", "2025-01-04", "D", "d");
  const QString first = statement(camtOf(entries.left(entries.indexOf("<Ntry>", 10))), u"a.xml"_s);
  const QString s = statement(camtOf(entries));
  const struct {
    const char* fault;
    const char16_t* out;
    const char16_t* err;
    qint64 in2024;
  } cases[] = {
      // The batch is written; the disk does not confirm it or the file does
      // not close: its records count as stored.
      {"fdatasync:1:EIO:1:cartella/2024.eur", u"2024.eur: 2 added, 1 already present\n2025.eur: 1 added, 0 already present\n",
       u"(2 movements of 2024.eur written before the failure)", 3},
      {"close:2:EIO:1:cartella/2024.eur", u"2024.eur: 2 added, 1 already present\n2025.eur: 1 added, 0 already present\n",
       u"(2 movements of 2024.eur written before the failure)", 3},
      // Nothing of the batch reached the file.
      {"pwrite:1:ENOSPC:1:cartella/2024.eur", u"2024.eur: 0 added, 1 already present\n2025.eur: 1 added, 0 already present\n",
       u"(0 movements of 2024.eur written before the failure)", 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.fault);
    QDir(folder()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder()));
    ASSERT_EQ(runTool({u"import"_s, first, u"--into"_s, folder()}).exitCode, 0);
    const auto r = fondaro::testing::runToolFailing(QString::fromLatin1(c.fault), {u"import"_s, s, u"--into"_s, folder()});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.out, QStringView(c.out));
    EXPECT_TRUE(r.err.contains(QStringView(c.err))) << r.err.toStdString();
    EXPECT_EQ(count(2024), c.in2024);
    EXPECT_EQ(count(2025), 1);
  }
  // An archive that cannot be opened has no line of its own.
  QDir(folder()).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(folder() + u"/2024.eur"_s));
  const auto r = runTool({u"import"_s, s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.out, u"2025.eur: 1 added, 0 already present\n");
  EXPECT_TRUE(r.err.contains(u"(0 movements of 2024.eur written before the failure)")) << r.err.toStdString();
}

// A statement of 100 000 entries is read, planned and written in far less
// than the 300 MiB of address space the run is given (it took 4 KiB to 8 KiB
// an entry when whole movements were made for every entry at once).
TEST_F(ToolImport, ALargeStatementFitsInLittleMemory) {
  QByteArray csv = "Data contabile;Descrizione;Controparte;Riferimento;Importo\n";
  for (int i = 0; i < 100000; ++i) {
    csv += QStringLiteral("%1/%2/2024;Pagamento fattura %3;Fornitore %4 Srl;RIF%3;-%5,%6\n")
               .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
               .arg(1 + i / 28 % 12, 2, 10, QLatin1Char('0'))
               .arg(i)
               .arg(i % 977)
               .arg(1 + i % 5000)
               .arg(i % 100, 2, 10, QLatin1Char('0'))
               .toUtf8();
  }
  const QString s = statement(csv, u"grande.csv"_s);
  for (const QStringList& extra : {QStringList{u"--dry-run"_s}, QStringList{}, QStringList{}}) {
    QProcess p;
    p.setChildProcessModifier([] {
      const rlimit limit{rlim_t(300) << 20, rlim_t(300) << 20};
      ::setrlimit(RLIMIT_AS, &limit);
    });
    p.start(QStringLiteral(FONDARO_TOOL_PATH), QStringList{u"import"_s, s, u"--into"_s, folder()} + extra);
    ASSERT_TRUE(p.waitForFinished(300000));  // a guard against a hang only
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  }
  EXPECT_EQ(count(2024), 100000);
}

}  // namespace
