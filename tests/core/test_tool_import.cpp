// fondaro-tool import: the built tool on small statements, its lines, its
// exit status, and that a statement it refuses leaves the folder untouched.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

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

}  // namespace
