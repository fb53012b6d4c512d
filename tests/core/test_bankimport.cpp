// Bank statement import: the three readers on small statements written from
// the public descriptions of the formats, the shared amount and date rules,
// the movement an entry becomes, the duplicate rule and the import into the
// yearly archives.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <numeric>
#include <thread>

#include "core/bankimport.h"
#include "core/cp1252.h"
#include "core/filepath.h"
#include "core/ofxreader.h"
#include "core/textrules.h"
#include "test_support.h"

namespace fondaro {
namespace {

using testing::writeAll;
using namespace Qt::StringLiterals;

// ---- CAMT.053 ----------------------------------------------------------------

// A camt.053 document of the given version (02 to 08) around `entries`. The
// status is written as versions up to 06 write it (<Sts>BOOK</Sts>) or as 07
// and later do (<Sts><Cd>BOOK</Cd></Sts>) by the caller.
QByteArray camt(const QString& version, const QString& entries) {
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.%1\">\n"
             " <BkToCstmrStmt>\n"
             "  <GrpHdr><MsgId>MSG1</MsgId><CreDtTm>2024-02-01T08:00:00</CreDtTm></GrpHdr>\n"
             "  <Stmt>\n"
             "   <Id>STMT1</Id><CreDtTm>2024-02-01T08:00:00</CreDtTm>\n"
             "   <Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>\n"
             "   <Bal><Tp><CdOrPrtry><Cd>OPBD</Cd></CdOrPrtry></Tp><Amt Ccy=\"EUR\">100.00</Amt>"
             "<CdtDbtInd>CRDT</CdtDbtInd><Dt><Dt>2024-01-01</Dt></Dt></Bal>\n"
             "%2"
             "  </Stmt>\n"
             " </BkToCstmrStmt>\n"
             "</Document>\n")
      .arg(version, entries)
      .toUtf8();
}

QString status(const QString& version, const QString& code) {
  return version.toInt() >= 7 ? QStringLiteral("<Sts><Cd>%1</Cd></Sts>").arg(code)
                              : QStringLiteral("<Sts>%1</Sts>").arg(code);
}

// A party's name as each version writes it: <Nm> up to 07, <Pty><Nm> in 08.
QString party(const QString& version, const QString& role, const QString& name) {
  return version.toInt() >= 8 ? QStringLiteral("<%1><Pty><Nm>%2</Nm></Pty></%1>").arg(role, name)
                              : QStringLiteral("<%1><Nm>%2</Nm></%1>").arg(role, name);
}

class CamtVersions : public ::testing::TestWithParam<const char*> {};

TEST_P(CamtVersions, ReadsCreditAndDebitWithTheirDetails) {
  const QString v = QString::fromLatin1(GetParam());
  const QString entries =
      QStringLiteral(
          "<Ntry><NtryRef>N1</NtryRef><Amt Ccy=\"EUR\">1250.00</Amt><CdtDbtInd>CRDT</CdtDbtInd>%1"
          "<BookgDt><Dt>2024-01-05</Dt></BookgDt><ValDt><Dt>2024-01-04</Dt></ValDt>"
          "<AcctSvcrRef>BANKREF-1</AcctSvcrRef>"
          "<BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>RCDT</Cd><SubFmlyCd>ESCT</SubFmlyCd></Fmly></Domn></BkTxCd>"
          "<NtryDtls><TxDtls><Refs><EndToEndId>E2E-1</EndToEndId></Refs>"
          "<RltdPties>%2%3</RltdPties>"
          "<RmtInf><Ustrd>Fattura 12/2024</Ustrd><Ustrd>saldo   caffè</Ustrd></RmtInf></TxDtls></NtryDtls>"
          "</Ntry>\n"
          "<Ntry><Amt Ccy=\"EUR\">80.5</Amt><CdtDbtInd>DBIT</CdtDbtInd>%1"
          "<BookgDt><DtTm>2024-01-06T23:30:00+01:00</DtTm></BookgDt>"
          "<BkTxCd><Prtry><Cd>Addebito SDD</Cd><Issr>ABI</Issr></Prtry></BkTxCd>"
          "<NtryDtls><TxDtls><RltdPties>%4</RltdPties><AddtlTxInf>Bolletta\n  gennaio</AddtlTxInf></TxDtls>"
          "</NtryDtls><AddtlNtryInf>non usata</AddtlNtryInf></Ntry>\n")
          .arg(status(v, QStringLiteral("BOOK")), party(v, QStringLiteral("Dbtr"), QStringLiteral("Rossi Mario")),
               party(v, QStringLiteral("Cdtr"), QStringLiteral("Noi Srl")),
               party(v, QStringLiteral("Cdtr"), QStringLiteral("Enel Energia")));
  const Statement st = readCamt(camt(v, entries));
  ASSERT_EQ(st.entries.size(), 2u);
  const StatementEntry& in = st.entries[0];
  EXPECT_EQ(in.date, QDate(2024, 1, 5));
  EXPECT_EQ(in.cents, 125000);
  EXPECT_EQ(in.currency, u"EUR");
  EXPECT_EQ(in.description, u"Fattura 12/2024 saldo caffè");
  EXPECT_EQ(in.counterparty, u"Rossi Mario");
  EXPECT_EQ(in.reference, u"BANKREF-1");
  EXPECT_EQ(in.kind, u"Bonifico");
  EXPECT_TRUE(in.importable());
  const StatementEntry& out = st.entries[1];
  EXPECT_EQ(out.date, QDate(2024, 1, 6));  // the bank's own day, not UTC
  EXPECT_EQ(out.cents, -8050);
  EXPECT_EQ(out.description, u"Bolletta gennaio");
  EXPECT_EQ(out.counterparty, u"Enel Energia");
  EXPECT_EQ(out.reference, u"");
  EXPECT_EQ(out.kind, u"Addebito SDD");
}

INSTANTIATE_TEST_SUITE_P(Camt053, CamtVersions, ::testing::Values("02", "03", "04", "05", "06", "07", "08"));

TEST(CamtReader, SeveralTransactionsInOneEntryStayOneMovement) {
  const QByteArray doc = camt(QStringLiteral("02"), QStringLiteral(
      "<Ntry><Amt Ccy=\"EUR\">300.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts>BOOK</Sts>"
      "<BookgDt><Dt>2024-03-01</Dt></BookgDt>"
      "<NtryDtls><Btch><NbOfTxs>3</NbOfTxs></Btch>"
      "<TxDtls><RltdPties><Cdtr><Nm>Non io</Nm></Cdtr></RltdPties><RmtInf><Ustrd>Quota A</Ustrd></RmtInf></TxDtls>"
      "<TxDtls><RltdPties><Dbtr><Nm>Bianchi</Nm></Dbtr></RltdPties><RmtInf><Ustrd>Quota B</Ustrd>"
      "<Ustrd>e C</Ustrd></RmtInf></TxDtls>"
      "<TxDtls><RltdPties><Dbtr><Nm>Verdi</Nm></Dbtr></RltdPties><RmtInf><Ustrd>Quota D</Ustrd></RmtInf></TxDtls>"
      "</NtryDtls></Ntry>"));
  const Statement st = readCamt(doc);
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].description, u"Quota A Quota B e C Quota D");
  EXPECT_EQ(st.entries[0].counterparty, u"Bianchi");  // the first debtor named, for a credit
}

TEST(CamtReader, ReferenceAndDescriptionFallBackInOrder) {
  struct Case {
    const char* inner;
    const char* reference;
    const char* description;
  } cases[] = {
      {"<NtryRef>NR</NtryRef><AcctSvcrRef>AR</AcctSvcrRef>", "AR", ""},
      {"<NtryRef>NR</NtryRef><NtryDtls><TxDtls><Refs><AcctSvcrRef>TR</AcctSvcrRef></Refs></TxDtls></NtryDtls>", "NR",
       ""},
      {"<NtryDtls><TxDtls><Refs><AcctSvcrRef>TR</AcctSvcrRef><EndToEndId>E</EndToEndId></Refs></TxDtls></NtryDtls>",
       "TR", ""},
      {"<NtryDtls><TxDtls><Refs><EndToEndId>NOTPROVIDED</EndToEndId></Refs></TxDtls>"
       "<TxDtls><Refs><EndToEndId>E2</EndToEndId></Refs></TxDtls></NtryDtls>",
       "E2", ""},
      {"<NtryDtls><TxDtls><Refs><EndToEndId>NOTPROVIDED</EndToEndId></Refs></TxDtls></NtryDtls>"
       "<AddtlNtryInf>Solo testo</AddtlNtryInf>",
       "", "Solo testo"},
      {"<NtryDtls><TxDtls><AddtlTxInf>Tx info</AddtlTxInf></TxDtls></NtryDtls><AddtlNtryInf>Entry info</AddtlNtryInf>",
       "", "Tx info"},
  };
  for (const Case& c : cases) {
    const QByteArray doc = camt(QStringLiteral("04"),
                                QStringLiteral("<Ntry><Amt Ccy=\"EUR\">1</Amt><CdtDbtInd>DBIT</CdtDbtInd>"
                                               "<Sts>BOOK</Sts><BookgDt><Dt>2024-03-01</Dt></BookgDt>%1</Ntry>")
                                    .arg(QLatin1String(c.inner)));
    const Statement st = readCamt(doc);
    ASSERT_EQ(st.entries.size(), 1u) << c.inner;
    EXPECT_EQ(st.entries[0].reference, QLatin1String(c.reference)) << c.inner;
    EXPECT_EQ(st.entries[0].description, QLatin1String(c.description)) << c.inner;
  }
}

TEST(CamtReader, EntriesNotBookedOrNotInEuroAreKeptAsSkipped) {
  const QByteArray doc = camt(QStringLiteral("08"), QStringLiteral(
      "<Ntry><Amt Ccy=\"EUR\">10.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>PDNG</Cd></Sts>"
      "<ValDt><Dt>2024-03-02</Dt></ValDt></Ntry>"
      "<Ntry><Amt Ccy=\"USD\">10.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
      "<BookgDt><Dt>2024-03-02</Dt></BookgDt></Ntry>"
      "<Ntry><Amt Ccy=\"EUR\">0.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
      "<BookgDt><Dt>2024-03-02</Dt></BookgDt></Ntry>"
      "<Ntry><Amt Ccy=\"EUR\">1.005</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
      "<BookgDt><Dt>2024-03-02</Dt></BookgDt></Ntry>"
      "<Ntry><Amt Ccy=\"EUR\">1.50000</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
      "<BookgDt><Dt>2024-03-02</Dt></BookgDt></Ntry>"));
  const Statement st = readCamt(doc);
  ASSERT_EQ(st.entries.size(), 5u);
  EXPECT_EQ(st.entries[0].skip, SkipReason::NotBooked);
  EXPECT_EQ(skipReasonText(st.entries[0]), u"non contabilizzato (PDNG)");
  EXPECT_EQ(st.entries[1].skip, SkipReason::OtherCurrency);
  EXPECT_EQ(skipReasonEnglish(st.entries[1]), u"in USD, not in euro");
  EXPECT_EQ(st.entries[2].skip, SkipReason::ZeroAmount);
  EXPECT_EQ(st.entries[3].skip, SkipReason::SubCent);
  EXPECT_TRUE(st.entries[4].importable());
  EXPECT_EQ(st.entries[4].cents, 150);
}

TEST(CamtReader, DamagedStatementsAreErrors) {
  const QString good = QStringLiteral(
      "<Ntry><Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>%2</CdtDbtInd><Sts>BOOK</Sts>"
      "<BookgDt><Dt>%3</Dt></BookgDt></Ntry>");
  struct Case {
    QByteArray doc;
    StatementError::Kind kind;
  } cases[] = {
      {camt(QStringLiteral("02"), good.arg(u"1.00", u"CRDT", u"2024-01-01")).left(400),
       StatementError::Kind::Malformed},
      {camt(QStringLiteral("02"), good.arg(u"1,00", u"CRDT", u"2024-01-01")), StatementError::Kind::BadEntry},
      {camt(QStringLiteral("02"), good.arg(u"-1.00", u"CRDT", u"2024-01-01")), StatementError::Kind::BadEntry},
      {camt(QStringLiteral("02"), good.arg(u"1.00", u"CRDT", u"2024-02-30")), StatementError::Kind::BadEntry},
      {camt(QStringLiteral("02"), good.arg(u"1.00", u"XXXX", u"2024-01-01")), StatementError::Kind::BadEntry},
      {QByteArray("<Document><CstmrCdtTrfInitn/></Document>"), StatementError::Kind::UnknownFormat},
      {QByteArray(), StatementError::Kind::Malformed},
  };
  for (const Case& c : cases) {
    try {
      readCamt(c.doc);
      ADD_FAILURE() << c.doc.toStdString();
    } catch (const StatementError& e) {
      EXPECT_EQ(e.kind(), c.kind) << e.describe().toStdString();
      EXPECT_FALSE(e.message().isEmpty());
    }
  }
}

// ---- OFX ---------------------------------------------------------------------

QByteArray ofx1(const QByteArray& transactions) {
  return QByteArray(
             "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\n"
             "CHARSET:1252\r\nCOMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
             "<OFX>\r\n<SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS>"
             "<DTSERVER>20240131120000<LANGUAGE>ITA</SONRS></SIGNONMSGSRSV1>\r\n"
             "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS>\r\n"
             "<STMTRS><CURDEF>EUR<BANKACCTFROM><BANKID>03069<ACCTID>000000123456<ACCTTYPE>CHECKING"
             "</BANKACCTFROM>\r\n<BANKTRANLIST><DTSTART>20240101<DTEND>20240131\r\n") +
         transactions +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>100.00<DTASOF>20240131</LEDGERBAL></STMTRS></STMTTRNRS>"
         "</BANKMSGSRSV1></OFX>\r\n";
}

QByteArray ofx2(const QByteArray& transactions) {
  return QByteArray(
             "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
             "<?OFX OFXHEADER=\"200\" VERSION=\"211\" SECURITY=\"NONE\" OLDFILEUID=\"NONE\" NEWFILEUID=\"NONE\"?>\n"
             "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>"
             "<DTSERVER>20240131</DTSERVER><LANGUAGE>ITA</LANGUAGE></SONRS></SIGNONMSGSRSV1>\n"
             "<BANKMSGSRSV1><STMTTRNRS><TRNUID>1</TRNUID><STATUS><CODE>0</CODE><SEVERITY>INFO</SEVERITY></STATUS>\n"
             "<STMTRS><CURDEF>EUR</CURDEF><BANKACCTFROM><BANKID>03069</BANKID><ACCTID>123</ACCTID>"
             "<ACCTTYPE>CHECKING</ACCTTYPE></BANKACCTFROM>\n"
             "<BANKTRANLIST><DTSTART>20240101</DTSTART><DTEND>20240131</DTEND>\n") +
         transactions +
         "</BANKTRANLIST><LEDGERBAL><BALAMT>100</BALAMT><DTASOF>20240131</DTASOF></LEDGERBAL></STMTRS>"
         "</STMTTRNRS></BANKMSGSRSV1></OFX>\n";
}

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

// ---- CSV ---------------------------------------------------------------------

Statement csv(const QByteArray& bytes) {
  const CsvTable t = parseCsv(bytes);
  const auto cols = recogniseCsvColumns(t);
  if (!cols) throw std::runtime_error("columns not recognised");
  return readCsv(t, *cols);
}

TEST(CsvStatement, ShapesOfItalianBanks) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"semicolons, comma decimals, a title before the header, a total after",
       "Estratto conto corrente n. 123;;;\r\n\r\n"
       "Data contabile;Data valuta;Descrizione;Importo\r\n"
       "05/01/2024;04/01/2024;Bonifico da Rossi Mario;1.250,00\r\n"
       "06/01/24;06/01/2024;Pagamento POS Bar Sport;-12,34\r\n"
       "Saldo finale;;;1.337,66\r\n"},
      {"Dare and Avere columns, signs ignored",
       "Data;Dare;Avere;Descrizione operazione\n"
       "05/01/2024;;1.250,00;Bonifico da Rossi Mario\n"
       "06/01/2024;-12,34;;Pagamento POS Bar Sport\n"
       ";;;\n"
       "Totale;12,34;1.250,00;\n"},
      {"a byte-order mark, tabs, ISO dates and points for decimals",
       "\xEF\xBB\xBF"
       "DATA OPERAZIONE\tDESCRIZIONE\tIMPORTO (EUR)\n"
       "2024-01-05\tBonifico da Rossi Mario\t1250.00\n"
       "2024-01-06\tPagamento POS Bar Sport\t-12.34\n"},
      {"commas with quoted amounts, Uscite and Entrate",
       "Data,Descrizione,Uscite,Entrate\n"
       "05/01/2024,Bonifico da Rossi Mario,,\"1.250,00\"\n"
       "06/01/2024,\"Pagamento POS Bar Sport\",\"12,34\",\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Statement st = csv(c.bytes);
    ASSERT_EQ(st.entries.size(), 2u);
    EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 5));
    EXPECT_EQ(st.entries[0].cents, 125000);
    EXPECT_EQ(st.entries[0].description, u"Bonifico da Rossi Mario");
    EXPECT_EQ(st.entries[1].date, QDate(2024, 1, 6));
    EXPECT_EQ(st.entries[1].cents, -1234);
    EXPECT_EQ(st.entries[1].description, u"Pagamento POS Bar Sport");
  }
}

TEST(CsvStatement, QuotedCellsAndWindows1252) {
  const QByteArray bytes = cp1252::encode(
      u"Data;Causale;Descrizione;Importo;Riferimento;Divisa\r\n"
      u"05/01/2024;Bonifico;\"Fattura 3; acconto \"\"caffè\"\"\r\nsecondo rigo\";100,00;RIF-1;EUR\r\n"
      u"06/01/2024;Giroconto;Verso conto dollari;-5,00;;USD\r\n");
  const Statement st = csv(bytes);
  ASSERT_EQ(st.entries.size(), 2u);
  EXPECT_EQ(st.entries[0].description, u"Fattura 3; acconto \"caffè\" secondo rigo");
  EXPECT_EQ(st.entries[0].kind, u"Bonifico");  // Causale beside Descrizione: the kind
  EXPECT_EQ(st.entries[0].reference, u"RIF-1");
  EXPECT_EQ(st.entries[1].skip, SkipReason::OtherCurrency);
}

TEST(CsvStatement, ColumnChoices) {
  // Causale alone is the description; Data contabile wins over Data and Data valuta.
  const Statement st = csv(
      "Data valuta;Data;Data contabile;Causale;Importo\n"
      "01/01/2024;02/01/2024;03/01/2024;Canone mensile;-3,00\n");
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 3));
  EXPECT_EQ(st.entries[0].description, u"Canone mensile");
  EXPECT_EQ(st.entries[0].kind, u"");
  // Data valuta only when nothing else names a date.
  const Statement v = csv("Data valuta;Descrizione;Importo\n09/02/2024;x;1\n");
  EXPECT_EQ(v.entries.at(0).date, QDate(2024, 2, 9));
}

TEST(CsvStatement, UnknownColumnsAreMappedByOption) {
  const QByteArray bytes = "Giorno;Testo;Movimento;Chi\n05/01/2024;Affitto;-700,00;Immobiliare Srl\n";
  const CsvTable t = parseCsv(bytes);
  EXPECT_FALSE(recogniseCsvColumns(t));
  const auto cols = parseColumnsOption(u"data=1,importo=3,descrizione=2,controparte=4");
  ASSERT_TRUE(cols);
  const Statement st = readCsv(t, *cols);
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].cents, -70000);
  EXPECT_EQ(st.entries[0].counterparty, u"Immobiliare Srl");

  QString why;
  for (const char16_t* bad : {u"importo=3", u"data=1", u"data=1,importo=2,uscite=3,entrate=4", u"data=1,uscite=2",
                              u"data=0,importo=1", u"data=1,importo=x", u"data=1,data=2,importo=3", u"dati=1"}) {
    EXPECT_FALSE(parseColumnsOption(bad, &why)) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(why.isEmpty());
  }
  EXPECT_TRUE(parseColumnsOption(u"data=1,uscite=2,entrate=3"));
}

TEST(CsvStatement, UnreadableRowsStopTheStatement) {
  for (const char* bytes : {"Data;Importo\n05/01/2024;12,3,4\n", "Data;Importo\n31/02/2024;1,00\n",
                            "Data;Importo\n05/01/2024;\n", "Data;Dare;Avere\n05/01/2024;1,00;2,00\n",
                            "Data;Descrizione;Importo\n05/01/2024;\"non chiusa;1,00\n"}) {
    EXPECT_THROW(csv(bytes), StatementError) << bytes;
  }
}

// ---- Shared rules --------------------------------------------------------------

TEST(BankRules, Amounts) {
  const struct {
    const char16_t* text;
    std::optional<qint64> cents;
  } cases[] = {
      {u"1.234,56", 123456}, {u"-1.234,56", -123456}, {u"1234.56", 123456},  {u"1234,5", 123450},
      {u"+12", 1200},        {u"1.234", 123400},      {u"1.234.567", 123456700}, {u"1,234.56", 123456},
      {u"€ 1.234,56", 123456}, {u"12,00 EUR", 1200},  {u"12,30-", -1230},     {u"0,10", 10},
      {u"12,300", 1230},     {u"999999999999,99", 99999999999999},
      {u"", std::nullopt},   {u"abc", std::nullopt},  {u"1.23.4", std::nullopt}, {u"1,234,5", std::nullopt},
      {u",50", std::nullopt}, {u"1,2,3", std::nullopt}, {u"1234567890123", std::nullopt}, {u"12,345", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseBankAmount(c.text), c.cents) << QString::fromUtf16(c.text).toStdString();
  }
  bool fraction = false;
  EXPECT_EQ(parseBankAmount(u"12,345", &fraction), 1234);
  EXPECT_TRUE(fraction);
  EXPECT_EQ(centsText(-123456), u"1234,56");
  EXPECT_EQ(centsText(5), u"0,05");
}

TEST(BankRules, Dates) {
  using S = BankDate::Status;
  const struct {
    const char16_t* text;
    S status;
    QDate date;
  } cases[] = {
      {u"05/01/2024", S::Ok, {2024, 1, 5}},  {u"5/1/24", S::Ok, {2024, 1, 5}},
      {u"2024-01-05", S::Ok, {2024, 1, 5}},  {u"05.01.2024", S::Ok, {2024, 1, 5}},
      {u"05/01/2024 10:30", S::Ok, {2024, 1, 5}}, {u"2024-01-05T10:30:00+01:00", S::Ok, {2024, 1, 5}},
      {u"31/02/2024", S::Bad, {}},           {u"00/01/2024", S::Bad, {}},
      {u"Saldo finale", S::NotADate, {}},    {u"", S::NotADate, {}},
      {u"01/2024", S::NotADate, {}},         {u"05/01/202", S::NotADate, {}},
  };
  for (const auto& c : cases) {
    const BankDate d = parseBankDate(c.text);
    EXPECT_EQ(d.status, c.status) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(d.date, c.date) << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(BankRules, FormatDetection) {
  EXPECT_EQ(detectStatementFormat(camt(QStringLiteral("02"), {})), StatementFormat::Camt);
  EXPECT_EQ(detectStatementFormat(ofx1({})), StatementFormat::Ofx);
  EXPECT_EQ(detectStatementFormat(ofx2({})), StatementFormat::Ofx);
  EXPECT_EQ(detectStatementFormat("\xEF\xBB\xBF" "Data;Importo\n"), StatementFormat::Csv);
  EXPECT_EQ(detectStatementFormat("<?xml version=\"1.0\"?><html/>"), std::nullopt);
}

// ---- Into the archives ---------------------------------------------------------

StatementEntry entry(QDate date, qint64 cents, QString description, QString reference = {},
                     QString counterparty = {}) {
  StatementEntry e;
  e.date = date;
  e.cents = cents;
  e.currency = QStringLiteral("EUR");
  e.description = std::move(description);
  e.reference = std::move(reference);
  e.counterparty = std::move(counterparty);
  return e;
}

TEST(BankImport, MovementOfAnEntry) {
  StatementEntry in = entry({2024, 1, 5}, 125000, QStringLiteral("Fattura\t12 \n saldo"), QStringLiteral("R1"),
                            QStringLiteral("Rossi  Mario"));
  in.kind = QStringLiteral("Bonifico");
  const TMovimento r = movementFromEntry(in, QStringLiteral("gennaio.xml"));
  EXPECT_EQ(r.Entrata.get(), kSi);
  EXPECT_EQ(r.Uscita.get(), kNo);
  EXPECT_EQ(r.Data.get(), u"05/01/2024");
  EXPECT_EQ(r.DataSca.get(), u"05/01/2024");
  EXPECT_EQ(r.Preavviso.get(), u"0");
  EXPECT_EQ(r.Importo.get(), u"1250,00");
  EXPECT_EQ(r.Totale.get(), u"+1250,00");
  EXPECT_EQ(r.Causale.get(), u"Fattura 12 saldo");
  EXPECT_EQ(r.Pagatore.get(), u"Rossi Mario");
  EXPECT_EQ(r.Beneficiario.get(), u"");
  EXPECT_EQ(r.Ricevuta.get(), u"R1");
  EXPECT_EQ(r.Saldato.get(), kSi);
  EXPECT_EQ(r.Pagamento.get(), u"Bonifico");
  EXPECT_EQ(r.Note.get(), u"Importato da gennaio.xml");

  const TMovimento out = movementFromEntry(entry({2024, 1, 6}, -1234, {}, {}, QStringLiteral("Bar")), u"x.csv"_s);
  EXPECT_EQ(out.Entrata.get(), kNo);
  EXPECT_EQ(out.Uscita.get(), kSi);
  EXPECT_EQ(out.Totale.get(), u"-12,34");
  EXPECT_EQ(out.Beneficiario.get(), u"Bar");
  EXPECT_EQ(out.Causale.get(), u"Bar");  // no description: the counterparty
  // A long description is cut at the field's capacity, a character outside the code page becomes "?".
  const TMovimento longOne = movementFromEntry(entry({2024, 1, 6}, 1, QString(300, u'x') + u"€☃"_s), u"x"_s);
  EXPECT_EQ(longOne.Causale.get(), QString(250, u'x'));
  EXPECT_EQ(movementFromEntry(entry({2024, 1, 6}, 1, u"a € ☃"_s), u"x"_s).Causale.get(), u"a € ?");
}

class BankImportFolder : public ::testing::Test {
 protected:
  QByteArray folder() const { return encodePath(dir.path()); }
  QString archive(int year) const { return dir.filePath(QStringLiteral("%1.eur").arg(year)); }
  std::vector<TMovimento> records(int year) const {
    std::vector<TMovimento> out;
    if (!QFile::exists(archive(year))) return out;
    const auto a = MovementArchive::OpenExisting(archive(year), RecordFile::Access::ReadOnly);
    for (qint64 p = 1; p <= a.Count(); ++p) out.push_back(a.ReadAt(p));
    return out;
  }
  void store(int year, const std::vector<TMovimento>& recs) {
    auto a = MovementArchive::OpenOrCreate(archive(year));
    a.AppendAll(recs);
    a.Close();
  }
  QTemporaryDir dir;
};

Statement statementOf(std::vector<StatementEntry> entries) {
  Statement st;
  st.entries = std::move(entries);
  return st;
}

TEST_F(BankImportFolder, DuplicateRuleAsATable) {
  const QDate day(2024, 3, 1);
  const auto e = [&](qint64 cents, const char* descr, const char* ref = "") {
    return entry(day, cents, QString::fromUtf8(descr), QString::fromUtf8(ref));
  };
  struct Case {
    const char* name;
    std::vector<StatementEntry> stored;
    std::vector<StatementEntry> statement;
    std::vector<bool> present;
  } cases[] = {
      {"two equal payments on one day both arrive", {}, {e(-500, "Caffè"), e(-500, "Caffè")}, {false, false}},
      {"one of two already stored: the second is new", {e(-500, "Caffè")}, {e(-500, "Caffè"), e(-500, "Caffè")},
       {true, false}},
      {"the same statement again adds nothing", {e(-500, "Caffè"), e(-500, "Caffè")},
       {e(-500, "Caffè"), e(-500, "Caffè")}, {true, true}},
      {"three stored, two in the statement", {e(-500, "Caffè"), e(-500, "Caffè"), e(-500, "Caffè")},
       {e(-500, "Caffè"), e(-500, "Caffè")}, {true, true}},
      {"another amount or sign is another movement", {e(-500, "Caffè")}, {e(-501, "Caffè"), e(500, "Caffè")},
       {false, false}},
      {"with a reference the reference decides, not the text", {e(-500, "Vecchio testo", "R1")},
       {e(-500, "Nuovo testo", "R1"), e(-500, "Vecchio testo", "R2")}, {true, false}},
      {"without a reference the text decides", {e(-500, "Affitto", "R9")}, {e(-500, "Affitto")}, {true}},
      {"texts compared trimmed and as stored", {e(-500, "  Affitto   marzo ")}, {e(-500, "Affitto marzo")}, {true}},
      {"overlapping statements", {e(100, "A", "1"), e(200, "B", "2")},
       {e(200, "B", "2"), e(300, "C", "3"), e(300, "C", "3")}, {true, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(archive(2024));
    std::vector<TMovimento> stored;
    for (const auto& s : c.stored) stored.push_back(movementFromEntry(s, u"vecchio.csv"_s));
    // A movement of another day in between changes nothing.
    stored.insert(stored.begin(), movementFromEntry(entry({2024, 3, 2}, -500, u"Caffè"_s), u"x"_s));
    store(2024, stored);
    const Statement st = statementOf(c.statement);
    const ImportPlan plan = planImport(st, folder(), u"nuovo.csv"_s);
    std::vector<bool> planned;
    for (const auto& p : plan.entries) planned.push_back(p.state == EntryState::Present);
    EXPECT_EQ(planned, c.present);
    const ImportResult r = importStatement(st, folder(), u"nuovo.csv"_s);
    const qint64 added = std::count(c.present.begin(), c.present.end(), false);
    ASSERT_EQ(r.years.size(), 1u);
    EXPECT_EQ(r.years[0].added, added);
    EXPECT_EQ(r.years[0].present, qint64(c.present.size()) - added);
    EXPECT_EQ(records(2024).size(), stored.size() + size_t(added));
    // Imported twice, it adds nothing more.
    EXPECT_EQ(importStatement(st, folder(), u"nuovo.csv"_s).added(), 0);
  }
}

TEST_F(BankImportFolder, SpansTwoYearsSkipsAndLeavesOut) {
  StatementEntry usd = entry({2024, 1, 2}, 100, u"Dollari"_s);
  usd.currency = QStringLiteral("USD");
  usd.skip = SkipReason::OtherCurrency;
  const Statement st = statementOf({entry({2023, 12, 30}, 100, u"A"_s), usd, entry({2024, 1, 2}, -200, u"B"_s),
                                    entry({2024, 1, 3}, 300, u"C"_s), entry({2023, 12, 31}, 400, u"D"_s)});
  const ImportPlan plan = planImport(st, folder(), u"s.xml"_s);
  EXPECT_FALSE(QFile::exists(archive(2023)));  // a plan creates nothing
  ASSERT_EQ(plan.years.size(), 2u);
  EXPECT_EQ(plan.years[0].year, 2023);
  EXPECT_EQ(plan.years[0].added, 2);
  EXPECT_EQ(plan.years[1].added, 2);
  EXPECT_EQ(plan.entries[1].state, EntryState::Skipped);
  EXPECT_EQ(plan.skipped(), 1);

  const ImportResult r = importStatement(st, folder(), u"s.xml"_s, {4});
  ASSERT_EQ(r.years.size(), 2u);
  EXPECT_EQ(r.years[0].added, 2);
  EXPECT_EQ(r.years[1].added, 1);
  const auto y2023 = records(2023);
  ASSERT_EQ(y2023.size(), 2u);
  EXPECT_EQ(y2023[0].Causale.get(), u"A");  // statement order within the year
  EXPECT_EQ(y2023[1].Causale.get(), u"D");
  const auto y2024 = records(2024);
  ASSERT_EQ(y2024.size(), 1u);
  EXPECT_EQ(y2024[0].Causale.get(), u"B");
}

TEST_F(BankImportFolder, TwoImportsAtOnceAddTheStatementOnce) {
  std::vector<StatementEntry> entries;
  for (int i = 0; i < 200; ++i) entries.push_back(entry({2024, 5, 1 + i % 28}, 100 + i, u"Voce"_s));
  const Statement st = statementOf(entries);
  std::vector<qint64> added(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] { added[size_t(t)] = importStatement(st, folder(), u"s.csv"_s).added(); });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::accumulate(added.begin(), added.end(), qint64(0)), 200);
  EXPECT_EQ(records(2024).size(), 200u);
}

TEST_F(BankImportFolder, AFailedWriteTellsWhatWasWritten) {
  const Statement st = statementOf({entry({2023, 1, 1}, 100, u"A"_s), entry({2024, 1, 1}, 100, u"B"_s)});
  // A folder where 2024's archive should be: 2023 is written, 2024 cannot be.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2024.eur")));
  try {
    importStatement(st, folder(), u"s.csv"_s);
    ADD_FAILURE();
  } catch (const ImportWriteError& e) {
    EXPECT_EQ(e.year(), 2024);
    EXPECT_EQ(e.writtenInYear(), 0);
    ASSERT_EQ(e.done().years.size(), 1u);
    EXPECT_EQ(e.done().years[0].added, 1);
  }
  EXPECT_EQ(records(2023).size(), 1u);
}

// More entries than one batch of the writer (4096): running copies of one
// statement interleave their batches and still add it once, the entries
// repeated by the statement counted by occurrence across batches.
TEST_F(BankImportFolder, LargeImportsAtOnceAddTheStatementOnce) {
  std::vector<StatementEntry> entries;
  for (int i = 0; i < 9000; ++i) {
    // Every tenth entry has a twin at the other end of the statement.
    const int n = i % 10 == 0 && i >= 4500 ? i - 4500 : i;
    entries.push_back(entry({2024, 1 + n % 12, 1 + n % 28}, 100 + n, QStringLiteral("Voce %1").arg(n)));
  }
  const Statement st = statementOf(entries);
  std::vector<qint64> added(3);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] { added[size_t(t)] = importStatement(st, folder(), u"s.csv"_s).added(); });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::accumulate(added.begin(), added.end(), qint64(0)), 9000);
  const auto stored = records(2024);
  ASSERT_EQ(stored.size(), 9000u);
  QHash<QString, int> byCausale;
  for (const auto& r : stored) ++byCausale[r.Causale.get()];
  EXPECT_EQ(byCausale.value(u"Voce 0"_s), 2);
  EXPECT_EQ(byCausale.value(u"Voce 1"_s), 1);
  const ImportPlan again = planImport(st, folder(), u"s.csv"_s);
  ASSERT_EQ(again.years.size(), 1u);
  EXPECT_EQ(again.years[0].present, 9000);
}

// A year whose archive cannot be written does not stop the years after it;
// the error tells every year, the failing one with what is in its archive.
TEST_F(BankImportFolder, AFailingYearDoesNotStopTheNext) {
  const Statement st = statementOf({entry({2023, 1, 1}, 100, u"A"_s), entry({2024, 1, 1}, 100, u"B"_s),
                                    entry({2025, 1, 1}, 100, u"C"_s)});
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2024.eur")));
  try {
    importStatement(st, folder(), u"s.csv"_s);
    ADD_FAILURE();
  } catch (const ImportWriteError& e) {
    ASSERT_EQ(e.failures().size(), 1u);
    EXPECT_EQ(e.failures()[0].year, 2024);
    EXPECT_FALSE(e.failures()[0].checked);
    ASSERT_EQ(e.result().years.size(), 3u);
    EXPECT_EQ(e.result().years[2].added, 1);
    EXPECT_EQ(e.done().years.size(), 1u);  // the years before the failure
  }
  EXPECT_EQ(records(2023).size(), 1u);
  EXPECT_EQ(records(2025).size(), 1u);
}

}  // namespace
}  // namespace fondaro
