// SPDX-License-Identifier: GPL-3.0-or-later
// The OFX reader on both versions and their currencies, on the shapes real
// banks write and on hostile ones: the booking date as the file writes it,
// statements libofx complains about but reads whole, and damaged files
// refused at once rather than after hours.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/filepath.h"
#include "core/ofxreader.h"
#include "core/statement.h"
#include "statement_samples.h"
#include "test_support.h"

namespace fondaro {
namespace {

using namespace Qt::StringLiterals;
using testing::ofx1;
using testing::ofx2;
using testing::writeAll;

const QByteArray kSgmlHead =
    "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
    "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
    "<OFX>\r\n<SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
    "<DTSERVER>20240131120000<LANGUAGE>ITA</SONRS></SIGNONMSGSRSV1>\r\n"
    "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS>\r\n"
    "<STMTRS><CURDEF>EUR<BANKACCTFROM><BANKID>03069<ACCTID>000000123456<ACCTTYPE>CHECKING"
    "</BANKACCTFROM>\r\n";
const QByteArray kSgmlTail = "</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\r\n";
const QByteArray kSgmlBalance = "<LEDGERBAL><BALAMT>100.00<DTASOF>20240131</LEDGERBAL>";

// OFX 1: `body` is what stands between BANKACCTFROM and the end of STMTRS.
QByteArray sgml(const QByteArray& body) { return kSgmlHead + body + kSgmlTail; }
QByteArray sgmlList(const QByteArray& transactions) {
  return sgml("<BANKTRANLIST><DTSTART>20240101<DTEND>20240131\r\n" + transactions + "</BANKTRANLIST>" +
              kSgmlBalance);
}
QByteArray sgmlTrn(const QByteArray& posted, const QByteArray& id = "A1") {
  return "<STMTTRN><TRNTYPE>XFER<DTPOSTED>" + posted + "<TRNAMT>-10.00<FITID>" + id + "<NAME>Rossi</STMTTRN>\r\n";
}

// OFX 2.1.1 (XML).
QByteArray xml(const QByteArray& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
         "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" NEWFILEUID=\"NONE\"?>\n"
         "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
         "<DTSERVER>20240131</DTSERVER><LANGUAGE>ITA</LANGUAGE></SONRS></SIGNONMSGSRSV1>\n"
         "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>\n"
         "<STMTRS><CURDEF>EUR</CURDEF><BANKACCTFROM><BANKID>03069</BANKID><ACCTID>123</ACCTID>"
         "<ACCTTYPE>CHECKING</ACCTTYPE></BANKACCTFROM>\n" +
         body + "</STMTRS></STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}
const QByteArray kXmlBalance = "<LEDGERBAL><BALAMT>100</BALAMT><DTASOF>20240131</DTASOF></LEDGERBAL>";
QByteArray xmlTrn(const QByteArray& posted, const QByteArray& id = "B1") {
  return "<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>" + posted + "</DTPOSTED><TRNAMT>-80.00</TRNAMT><FITID>" + id +
         "</FITID><NAME>Enel Energia</NAME></STMTTRN>\n";
}
QByteArray xmlList(const QByteArray& transactions) {
  return "<BANKTRANLIST><DTSTART>20240101</DTSTART><DTEND>20240131</DTEND>\n" + transactions + "</BANKTRANLIST>\n";
}

class OfxFiles : public ::testing::Test {
 protected:
  QByteArray file(const QByteArray& bytes) {
    const QString p = dir.filePath(QStringLiteral("s%1.ofx").arg(++n));
    testing::writeAll(p, bytes);
    return encodePath(p);
  }
  // The kind of error reading `bytes` gives; nothing when it reads.
  std::optional<StatementError::Kind> refusal(const QByteArray& bytes) {
    try {
      readOfxFile(file(bytes));
      return std::nullopt;
    } catch (const StatementError& e) {
      return e.kind();
    }
  }
  QTemporaryDir dir;
  int n = 0;
};

// The booking date is the day written in the file, in the bank's offset: a
// time just after midnight east of Greenwich, or just before it west of it,
// stays on its day and in its year.
TEST_F(OfxFiles, BookingDateIsTheDayWritten) {
  const struct {
    QByteArray posted;
    QDate date;
  } cases[] = {
      {"20240101003000[+1:CET]", QDate(2024, 1, 1)},
      {"20240101000000.000[+2:EET]", QDate(2024, 1, 1)},
      {"20231231233000[-5:EST]", QDate(2023, 12, 31)},
      {"20240229", QDate(2024, 2, 29)},
      {"20240315120000", QDate(2024, 3, 15)},
  };
  for (const auto& c : cases) {
    for (const QByteArray& doc : {sgmlList(sgmlTrn(c.posted)), xml(xmlList(xmlTrn(c.posted)) + kXmlBalance)}) {
      const Statement st = readOfxFile(file(doc));
      ASSERT_EQ(st.entries.size(), 1u) << c.posted.constData();
      EXPECT_EQ(st.entries[0].date, c.date) << c.posted.constData();
    }
  }
}

TEST_F(OfxFiles, DatesFollowTheirTransactionsInOrder) {
  const Statement st = readOfxFile(file(sgmlList(sgmlTrn("20240131233000[-3]", "A1") +
                                                 sgmlTrn("20240201001500[+1:CET]", "A2") +
                                                 sgmlTrn("20240105", "A3"))));
  ASSERT_EQ(st.entries.size(), 3u);
  EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 31));
  EXPECT_EQ(st.entries[1].date, QDate(2024, 2, 1));
  EXPECT_EQ(st.entries[2].date, QDate(2024, 1, 5));
  EXPECT_EQ(st.entries[2].reference, u"A3");
}

// A DTPOSTED that names no day is an entry that cannot be read.
TEST_F(OfxFiles, PostingDatesThatAreNoDay) {
  for (const QByteArray& posted : QList<QByteArray>{"20240230", "20241301120000", "2024", "2024-01-05"}) {
    EXPECT_EQ(refusal(sgmlList(sgmlTrn(posted))), StatementError::Kind::BadEntry) << posted.constData();
  }
  const QByteArray undated = "<STMTTRN><TRNTYPE>XFER<TRNAMT>-10.00<FITID>A1<NAME>Rossi</STMTTRN>\r\n";
  EXPECT_EQ(refusal(sgmlList(undated)), StatementError::Kind::BadEntry);
}

// Statements whole but off libofx's document type: every transaction is read.
TEST_F(OfxFiles, CompleteStatementsOffTheDocumentTypeAreRead) {
  const struct {
    const char* what;
    QByteArray doc;
    size_t entries;
  } cases[] = {
      {"a list per transaction",
       xml(xmlList(xmlTrn("20240105", "B1")) + xmlList(xmlTrn("20240106", "B2")) + xmlList(xmlTrn("20240107", "B3")) +
           kXmlBalance),
       3},
      {"an empty list", xml(xmlList({}) + kXmlBalance), 0},
      {"an empty list before a full one", xml(xmlList({}) + xmlList(xmlTrn("20240105")) + kXmlBalance), 1},
      {"OFX 1 without a balance",
       sgml("<BANKTRANLIST><DTSTART>20240101<DTEND>20240131\r\n" + sgmlTrn("20240105") + "</BANKTRANLIST>"), 1},
  };
  for (const auto& c : cases) {
    const Statement st = readOfxFile(file(c.doc));
    EXPECT_EQ(st.entries.size(), c.entries) << c.what;
    for (const StatementEntry& e : st.entries) EXPECT_TRUE(e.importable()) << c.what;
  }
}

TEST_F(OfxFiles, DamagedFilesAreRefused) {
  const QByteArray two = sgmlList(sgmlTrn("20240105", "A1") + sgmlTrn("20240106", "A2"));
  const QByteArray twoXml = xml(xmlList(xmlTrn("20240105", "B1") + xmlTrn("20240106", "B2")) + kXmlBalance);
  const struct {
    const char* what;
    QByteArray doc;
  } cases[] = {
      {"cut in a transaction", two.left(two.indexOf("<FITID>A2"))},
      {"cut before the end of OFX", two.left(two.lastIndexOf("</OFX>"))},
      {"cut inside the last tag", two.left(two.lastIndexOf("</OFX>") + 3)},
      {"XML cut after a transaction", twoXml.left(twoXml.indexOf("<STMTTRN>", twoXml.indexOf("B1")))},
      {"a transaction left open", sgmlList("<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240105<TRNAMT>1<FITID>A1\r\n" +
                                           sgmlTrn("20240106", "A2"))},
      {"a list left open", sgml("<BANKTRANLIST><DTSTART>20240101<DTEND>20240131\r\n" + sgmlTrn("20240105") +
                                kSgmlBalance)},
      {"a list inside a list", sgmlList("<BANKTRANLIST>" + sgmlTrn("20240105") + "</BANKTRANLIST>")},
      {"a stray end of a transaction", sgmlList(sgmlTrn("20240105") + "</STMTTRN>")},
      {"not OFX", "niente di OFX\n"},
      {"a CAMT statement", "<?xml version=\"1.0\"?><Document><BkToCstmrStmt/></Document>\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(refusal(c.doc), StatementError::Kind::Malformed) << c.what;
}

// Shapes on which the parser under libofx takes a time growing with the
// square of the count or worse (8 000 nested transactions: minutes to
// hours). They are refused before it sees them; the test's time limit is the
// guard against a hang.
TEST_F(OfxFiles, HostileShapesAreRefusedPromptly) {
  constexpr int kCount = 8000;
  const QByteArray open = "<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240105<TRNAMT>1<FITID>A\r\n";
  const QByteArray one = "<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240105<TRNAMT>1<FITID>A";
  const struct {
    const char* what;
    QByteArray doc;
  } cases[] = {
      {"nested unclosed transactions", sgmlList(open.repeated(kCount))},
      {"nested bare transactions", sgmlList(QByteArray("<STMTTRN>\r\n").repeated(kCount))},
      {"nested lists", sgml(QByteArray("<BANKTRANLIST>\r\n").repeated(kCount))},
      {"nested statements and lists", sgml(QByteArray("<STMTRS><BANKTRANLIST>").repeated(kCount))},
      {"unknown empty elements", sgmlList(QByteArray("<FOO>\r\n").repeated(kCount))},
      {"unknown elements with values", sgmlList(QByteArray("<FOO>x\r\n").repeated(kCount))},
      {"a name repeated in one transaction", sgmlList(one + QByteArray("<NAME>x\r\n").repeated(kCount) + "</STMTTRN>")},
      {"unclosed payees in one transaction", sgmlList(one + QByteArray("<PAYEE>\r\n").repeated(kCount) + "</STMTTRN>")},
      {"alternating unknown elements", sgmlList(QByteArray("<A><B>").repeated(kCount))},
      {"XML nested transactions", xml(xmlList(QByteArray("<STMTTRN><TRNTYPE>DEBIT</TRNTYPE>").repeated(kCount)))},
      {"XML closed unknown elements", xml(xmlList(QByteArray("<X></X>").repeated(kCount)) + kXmlBalance)},
  };
  for (const auto& c : cases) EXPECT_EQ(refusal(c.doc), StatementError::Kind::Malformed) << c.what;
}

// Comments, declarations and a '<' in a text are no tags.
TEST_F(OfxFiles, TextThatIsNoTag) {
  const Statement st = readOfxFile(file(
      xml("<!-- estratto di gennaio <STMTTRN> -->" +
          xmlList("<STMTTRN><TRNTYPE>DEBIT</TRNTYPE><DTPOSTED>20240105</DTPOSTED><TRNAMT>-3</TRNAMT>"
                  "<FITID>B1</FITID><NAME>A &lt; B</NAME><MEMO><![CDATA[x <STMTTRN> y]]></MEMO></STMTTRN>\n") +
          kXmlBalance)));
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 5));
  EXPECT_EQ(st.entries[0].cents, -300);
}

// The reader asks the progress whether to stop while libofx runs.
TEST_F(OfxFiles, StoppedThroughTheProgress) {
  const QByteArray path = file(sgmlList(sgmlTrn("20240105")));
  int asked = 0;
  EXPECT_THROW(readOfxFile(path, [&](qint64, qint64) { return ++asked < 1; }), Cancelled);
  EXPECT_EQ(asked, 1);
  // The next read runs as usual.
  EXPECT_EQ(readOfxFile(path, [](qint64, qint64) { return true; }).entries.size(), 1u);
}

// fondaro-tool reads the same: an OFX 2.1.1 statement with a list per
// transaction, its entry of New Year's night in the year it names.
TEST_F(OfxFiles, ToolImportsWholeStatementsOnTheirDays) {
  const QString folder = dir.filePath(u"cartella"_s);
  ASSERT_TRUE(QDir().mkpath(folder));
  const QString statement = dir.filePath(u"estratto.ofx"_s);
  testing::writeAll(statement, xml(xmlList(xmlTrn("20240101003000[+1:CET]", "B1")) +
                                   xmlList(xmlTrn("20240102", "B2")) + kXmlBalance));
  const auto r = testing::runTool({u"import"_s, statement, u"--into"_s, folder, u"--dry-run"_s});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"2024.eur: 2 added, 0 already present\n"_s);
}

// ---- Both versions, currencies, damaged files --------------------------------

class OfxReader : public ::testing::Test {
 protected:
  QByteArray file(const QByteArray& bytes) {
    const QString p = dir.filePath(QStringLiteral("s%1.ofx").arg(++n));
    writeAll(p, bytes);
    return encodePath(p);
  }
  QTemporaryDir dir;
  int n = 0;
};

TEST_F(OfxReader, Version1Sgml) {
  const Statement st = readOfxFile(file(ofx1(
      "<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240105<TRNAMT>1250.00<FITID>A1<NAME>Rossi Mario"
      "<MEMO>Fattura 12 caff\xe8</STMTTRN>\r\n"
      "<STMTTRN><TRNTYPE>POS<DTPOSTED>20240106120000[+1:CET]<TRNAMT>-12,34<FITID>A2<NAME>Bar Sport"
      "<MEMO>Bar Sport</STMTTRN>\r\n"
      "<STMTTRN><TRNTYPE>FEE<DTPOSTED>20240107<TRNAMT>-0.1<FITID>A3<MEMO>Canone</STMTTRN>\r\n"
      "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20240108<TRNAMT>1.005<FITID>A4<NAME>X</STMTTRN>\r\n")));
  ASSERT_EQ(st.entries.size(), 4u);
  const auto& a = st.entries[0];
  EXPECT_EQ(a.date, QDate(2024, 1, 5));
  EXPECT_EQ(a.cents, 125000);
  EXPECT_EQ(a.description, u"Rossi Mario - Fattura 12 caffè");
  EXPECT_EQ(a.counterparty, u"Rossi Mario");
  EXPECT_EQ(a.reference, u"A1");
  EXPECT_EQ(a.kind, u"Bonifico");
  EXPECT_EQ(a.currency, u"EUR");
  EXPECT_TRUE(a.importable());
  EXPECT_EQ(st.entries[1].cents, -1234);
  EXPECT_EQ(st.entries[1].date, QDate(2024, 1, 6));
  EXPECT_EQ(st.entries[1].description, u"Bar Sport");  // NAME equal to MEMO: once
  EXPECT_EQ(st.entries[1].kind, u"Pagamento con carta");
  EXPECT_EQ(st.entries[2].cents, -10);
  EXPECT_EQ(st.entries[2].description, u"Canone");
  EXPECT_EQ(st.entries[2].counterparty, u"");
  EXPECT_EQ(st.entries[2].kind, u"Commissioni");
  EXPECT_EQ(st.entries[3].skip, SkipReason::SubCent);
}

TEST_F(OfxReader, Version2XmlAndCurrencies) {
  const Statement st = readOfxFile(file(ofx2(
      "<STMTTRN><TRNTYPE>DIRECTDEBIT</TRNTYPE><DTPOSTED>20240106000000[+1:CET]</DTPOSTED><TRNAMT>-80.00</TRNAMT>"
      "<FITID>B1</FITID><NAME>Enel Energia</NAME><MEMO>Bolletta gennaio più IVA</MEMO></STMTTRN>\n"
      "<STMTTRN><TRNTYPE>ATM</TRNTYPE><DTPOSTED>20240107</DTPOSTED><TRNAMT>-50</TRNAMT><FITID>B2</FITID>"
      "<NAME>Bancomat</NAME><CURRENCY><CURRATE>1.1</CURRATE><CURSYM>USD</CURSYM></CURRENCY></STMTTRN>\n"
      "<STMTTRN><TRNTYPE>INT</TRNTYPE><DTPOSTED>20241231</DTPOSTED><TRNAMT>2.5</TRNAMT><FITID>B3</FITID>"
      "<NAME>Interessi</NAME><ORIGCURRENCY><CURRATE>1.1</CURRATE><CURSYM>CHF</CURSYM></ORIGCURRENCY>"
      "</STMTTRN>\n")));
  ASSERT_EQ(st.entries.size(), 3u);
  EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 6));
  EXPECT_EQ(st.entries[0].description, u"Enel Energia - Bolletta gennaio più IVA");
  EXPECT_EQ(st.entries[0].kind, u"Addebito diretto");
  EXPECT_TRUE(st.entries[0].importable());
  // Amounts in a currency of their own are not taken for euro...
  EXPECT_EQ(st.entries[1].skip, SkipReason::OtherCurrency);
  // ...amounts converted to the statement's currency are.
  EXPECT_TRUE(st.entries[2].importable());
  EXPECT_EQ(st.entries[2].kind, u"Interessi");
  EXPECT_EQ(st.entries[2].cents, 250);
}

TEST_F(OfxReader, StatementInAnotherCurrencyIsSkippedWhole) {
  QByteArray doc = ofx1("<STMTTRN><TRNTYPE>DEP<DTPOSTED>20240105<TRNAMT>10<FITID>A1<NAME>x</STMTTRN>\r\n");
  doc.replace("<CURDEF>EUR", "<CURDEF>USD");
  const Statement st = readOfxFile(file(doc));
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].skip, SkipReason::OtherCurrency);
  EXPECT_EQ(st.entries[0].skipDetail, u"USD");
}

TEST_F(OfxReader, DamagedFilesAreErrors) {
  const QByteArray whole = ofx1("<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240105<TRNAMT>1250.00<FITID>A1<NAME>R</STMTTRN>"
                                "<STMTTRN><TRNTYPE>XFER<DTPOSTED>20240106<TRNAMT>7<FITID>A2<NAME>S</STMTTRN>");
  for (const QByteArray& bad : {whole.left(whole.indexOf("<FITID>A2")), QByteArray("niente di OFX\n")}) {
    EXPECT_THROW(readOfxFile(file(bad)), StatementError);
  }
}

}  // namespace
}  // namespace fondaro
