// SPDX-License-Identifier: GPL-3.0-or-later
// The CAMT.053 reader: every version of the message with the details of an
// entry, damaged statements, statements in UTF-16, statements larger than the
// pieces the XML reader is fed, and the kind of transaction when the bank's
// own code is not wording.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

#include "core/camtreader.h"
#include "core/filepath.h"
#include "core/statement.h"
#include "statement_samples.h"
#include "test_support.h"

namespace fondaro {
namespace {

using testing::writeAll;
using namespace Qt::StringLiterals;
using testing::camt;

QString camtText(const QString& entries) {
  return u"<?xml version=\"1.0\" encoding=\"%1\"?>\n"
         u"<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\"><BkToCstmrStmt>"
         u"<GrpHdr><MsgId>M</MsgId></GrpHdr><Stmt><Id>S</Id>\n"_s +
         entries + u"</Stmt></BkToCstmrStmt></Document>\n"_s;
}

QString ntry(int i, const QString& bankCode = {}) {
  return QStringLiteral(
             "<Ntry><Amt Ccy=\"EUR\">%1.50</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
             "<BookgDt><Dt>2024-03-04</Dt></BookgDt><AcctSvcrRef>R%1</AcctSvcrRef>%2"
             "<NtryDtls><TxDtls><RmtInf><Ustrd>Fattura n° %1 città</Ustrd></RmtInf></TxDtls></NtryDtls></Ntry>\n")
      .arg(i)
      .arg(bankCode);
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, const char* name) {
  QString withName = text;
  withName.replace(u"encoding=\"%1\""_s, QStringLiteral("encoding=\"%1\"").arg(QLatin1String(name)));
  QStringEncoder encode(encoding, QStringConverter::Flag::WriteBom);
  return encode(withName);
}

TEST(CamtDetection, TheFormatIsToldOnTheDecodedText) {
  const QString ofx = u"<?xml version=\"1.0\"?>\n<?OFX OFXHEADER=\"200\" VERSION=\"220\"?>\n<OFX></OFX>\n"_s;
  const QString csv = u"Data;Descrizione;Importo\n01/02/2024;<b>;1,00\n"_s;
  const struct {
    const char* name;
    QByteArray bytes;
    std::optional<StatementFormat> format;
  } cases[] = {
      {"CAMT in UTF-8 with a mark", encoded(camtText(ntry(1)), QStringConverter::Utf8, "UTF-8"), StatementFormat::Camt},
      {"CAMT in UTF-16 LE", encoded(camtText(ntry(1)), QStringConverter::Utf16LE, "UTF-16"), StatementFormat::Camt},
      {"CAMT in UTF-16 BE", encoded(camtText(ntry(1)), QStringConverter::Utf16BE, "UTF-16"), StatementFormat::Camt},
      {"OFX 2 in UTF-16 LE", encoded(ofx, QStringConverter::Utf16LE, "UTF-16"), StatementFormat::Ofx},
      {"CSV in UTF-16 BE", encoded(csv, QStringConverter::Utf16BE, ""), StatementFormat::Csv},
      {"another XML in UTF-16 LE", encoded(u"<?xml version=\"1.0\"?><html/>"_s, QStringConverter::Utf16LE, ""),
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(detectStatementFormat(c.bytes), c.format);
  }
}

// Read from the file as the tool and the window read it, across the 1 MiB
// pieces the XML reader is fed: every entry, its accented text whole.
TEST(CamtReading, Utf16AndLargeStatementsReadWhole) {
  QTemporaryDir dir;
  QString many;
  for (int i = 1; i <= 6000; ++i) many += ntry(i);
  const struct {
    const char* name;
    QStringConverter::Encoding encoding;
    const char* encodingName;
    QString entries;
    size_t count;
  } cases[] = {
      {"UTF-16 LE", QStringConverter::Utf16LE, "UTF-16", ntry(1) + ntry(2), 2},
      {"UTF-16 BE", QStringConverter::Utf16BE, "UTF-16", ntry(1) + ntry(2), 2},
      {"UTF-8, several pieces", QStringConverter::Utf8, "UTF-8", many, 6000},
      {"UTF-16 LE, several pieces", QStringConverter::Utf16LE, "UTF-16", many, 6000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = dir.filePath(u"estratto.xml"_s);
    writeAll(path, encoded(camtText(c.entries), c.encoding, c.encodingName));
    const Statement st = readStatementFile(encodePath(path));
    EXPECT_EQ(st.format, StatementFormat::Camt);
    ASSERT_EQ(st.entries.size(), c.count);
    EXPECT_EQ(st.entries.back().description, QStringLiteral("Fattura n° %1 città").arg(c.count));
    EXPECT_EQ(st.entries.back().cents, qint64(c.count) * 100 + 50);
    EXPECT_EQ(st.entries.back().reference, QStringLiteral("R%1").arg(c.count));
  }
}

// A proprietary code is the kind only when it is wording; a bare code gives
// way to the ISO code's Italian word, or to no kind.
TEST(CamtReading, KindFromTheBankCode) {
  const QString iso = u"<Domn><Cd>PMNT</Cd><Fmly><Cd>RCDT</Cd><SubFmlyCd>ESCT</SubFmlyCd></Fmly></Domn>"_s;
  const auto prtry = [](const char* code) {
    return QStringLiteral("<Prtry><Cd>%1</Cd><Issr>ABI</Issr></Prtry>").arg(QLatin1String(code));
  };
  const struct {
    QString bankCode;
    const char16_t* kind;
  } cases[] = {
      {u"<BkTxCd>"_s + iso + prtry("EI") + u"</BkTxCd>"_s, u"Bonifico"},
      {u"<BkTxCd>"_s + iso + prtry("EIST") + u"</BkTxCd>"_s, u"Bonifico"},
      {u"<BkTxCd>"_s + iso + prtry("ET") + u"</BkTxCd>"_s, u"Bonifico"},
      {u"<BkTxCd>"_s + iso + prtry("48") + u"</BkTxCd>"_s, u"Bonifico"},
      {u"<BkTxCd>"_s + prtry("EIST") + u"</BkTxCd>"_s, u""},
      {u"<BkTxCd>"_s + iso + prtry("Addebito SDD") + u"</BkTxCd>"_s, u"Addebito SDD"},
      {u"<BkTxCd>"_s + iso + prtry("BONIFICO SEPA") + u"</BkTxCd>"_s, u"BONIFICO SEPA"},
      {u"<BkTxCd>"_s + iso + u"</BkTxCd>"_s, u"Bonifico"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bankCode.toStdString());
    QString text = camtText(ntry(1, c.bankCode));
    text.replace(u"encoding=\"%1\""_s, u"encoding=\"UTF-8\""_s);
    const Statement st = readCamt(text.toUtf8());
    ASSERT_EQ(st.entries.size(), 1u);
    EXPECT_EQ(st.entries[0].kind, QStringView(c.kind));
  }
}

// ---- Every version, the details of an entry, damaged statements -------------

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

}  // namespace
}  // namespace fondaro
