// CAMT.053 beyond the common cases of test_bankimport.cpp: statements in
// UTF-16, statements larger than the pieces the XML reader is fed, and the
// kind of transaction when the bank's own code is not wording.
#include <gtest/gtest.h>

#include <QStringEncoder>
#include <QTemporaryDir>

#include "core/filepath.h"
#include "core/statement.h"
#include "test_support.h"

namespace fondaro {
namespace {

using testing::writeAll;
using namespace Qt::StringLiterals;

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

}  // namespace
}  // namespace fondaro
