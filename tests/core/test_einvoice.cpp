// SPDX-License-Identifier: GPL-3.0-or-later
// The electronic-invoice reader, the signed envelopes and the input files
// (folders, zips), on invoices written from the public schema.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/einvoice.h"
#include "core/invoiceenvelope.h"
#include "core/invoicefiles.h"
#include "invoice_samples.h"
#include "test_support.h"

namespace {

using namespace fondaro;
using fondaro::testing::SampleInvoice;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

InvoiceFileRead readBytes(const QByteArray& bytes, const QString& name = u"IT01234567897_00001.xml"_s) {
  InvoiceFileRead f;
  f.name = name;
  f.bytes = bytes;
  readInvoiceBytes(f);
  return f;
}

TEST(InvoiceReader, PrefixesVersionsEncodings) {
  struct Case {
    const char* what;
    QString prefix;
    QString version;
    QString encoding;
    bool bom;
  };
  const Case cases[] = {
      {"prefix p", u"p"_s, u"FPR12"_s, u"UTF-8"_s, false},
      {"prefix ns2", u"ns2"_s, u"FPR12"_s, u"UTF-8"_s, false},
      {"no prefix (default namespace)", u""_s, u"FPA12"_s, u"UTF-8"_s, false},
      {"byte-order mark", u"ns3"_s, u"FPR12"_s, u"UTF-8"_s, true},
      {"windows-1252", u"p"_s, u"FPR12"_s, u"windows-1252"_s, false},
      {"ISO-8859-1", u"p"_s, u"FPR12"_s, u"ISO-8859-1"_s, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SampleInvoice s;
    s.prefix = c.prefix;
    s.version = c.version;
    s.encoding = c.encoding;
    s.bom = c.bom;
    s.seller.denomination = u"Caffè Società «Ùnica»"_s;
    s.bodies[0].lines = {u"Caffè  in\tgrani"_s, u"Tazzine"_s};
    QByteArray xml = s.xml();
    if (c.encoding == u"ISO-8859-1") xml = QString::fromUtf8(s.xml()).toLatin1();
    const InvoiceDocument doc = readInvoiceXml(xml);
    EXPECT_EQ(doc.version, c.version);
    EXPECT_EQ(doc.seller.name(), u"Caffè Società «Ùnica»");
    EXPECT_EQ(doc.seller.italianVat(), fondaro::testing::kSupplierVat);
    EXPECT_EQ(doc.buyer.vatCode, fondaro::testing::kCompanyVat);
    ASSERT_EQ(doc.bodies.size(), 1u);
    const InvoiceBody& b = doc.bodies[0];
    EXPECT_EQ(b.type, u"TD01");
    EXPECT_EQ(b.date, QDate(2024, 3, 15));
    EXPECT_EQ(b.totalCents, 12200);
    ASSERT_EQ(b.lines.size(), 2u);
    EXPECT_EQ(b.lines[0].description, u"Caffè in grani");
    ASSERT_EQ(b.instalments.size(), 1u);
    EXPECT_EQ(b.instalments[0].cents, 12200);
    EXPECT_EQ(b.instalments[0].due(b.date), QDate(2024, 4, 15));
    EXPECT_TRUE(b.problem.isEmpty()) << b.problem.toStdString();
  }
}

TEST(InvoiceReader, FilesThatAreNotInvoices) {
  SampleInvoice good;
  const QByteArray xml = good.xml();
  QByteArray entity = xml;
  entity.replace("<Descrizione>Consulenza", "<Descrizione>&xxe;Consulenza");
  SampleInvoice withDtd;
  withDtd.extraBeforeRoot = u"<!DOCTYPE p:FatturaElettronica [<!ENTITY xxe SYSTEM \"file:///etc/hostname\">]>\n"_s;
  QByteArray dtd = withDtd.xml();
  dtd.replace("<Descrizione>Consulenza", "<Descrizione>&xxe;Consulenza");
  QByteArray otherNamespace = xml;
  otherNamespace.replace("docs/xsd/fatture/v1.2", "docs/xsd/fatture/v1.0");
  SampleInvoice fsm;
  fsm.version = u"FSM10"_s;
  struct Case {
    const char* what;
    QByteArray bytes;
    InvoiceReadError::Kind kind;
    const char* reason;  // a part of it
  };
  const Case cases[] = {
      {"truncated", xml.left(xml.size() / 2), InvoiceReadError::Kind::Malformed, "troncato"},
      {"external entity", dtd, InvoiceReadError::Kind::Malformed, "DTD"},
      {"undeclared entity", entity, InvoiceReadError::Kind::Malformed, ""},
      {"receipt", "<?xml version=\"1.0\"?><ns2:RicevutaConsegna xmlns:ns2=\"http://ivaservizi.agenziaentrate.gov.it/"
                  "docs/xsd/fatture/v1.0\"/>",
       InvoiceReadError::Kind::NotInvoice, "radice RicevutaConsegna"},
      {"simplified invoice", "<p:FatturaElettronicaSemplificata xmlns:p=\"x\" versione=\"FSM10\"/>",
       InvoiceReadError::Kind::NotInvoice, "semplificata"},
      {"another version", fsm.xml(), InvoiceReadError::Kind::NotInvoice, "FSM10"},
      {"another namespace", otherNamespace, InvoiceReadError::Kind::NotInvoice, "radice"},
      {"metadata", "<?xml version=\"1.0\"?><MetadatiInvioFile xmlns=\"http://ivaservizi.agenziaentrate.gov.it/docs/"
                   "xsd/fatture/v1.0\"><IdentificativoSdI>1</IdentificativoSdI></MetadatiInvioFile>",
       InvoiceReadError::Kind::Metadata, ""},
      {"unknown encoding", "<?xml version=\"1.0\" encoding=\"EBCDIC\"?><a/>", InvoiceReadError::Kind::Malformed, "EBCDIC"},
      {"no body", "<p:FatturaElettronica xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\" "
                  "versione=\"FPR12\"><FatturaElettronicaHeader/></p:FatturaElettronica>",
       InvoiceReadError::Kind::Malformed, "corpo"},
      {"garbage p7m", QByteArray(300, '\x30') + "garbage", InvoiceReadError::Kind::Envelope, "p7m"},
      {"Base64 of nothing", "QUJD\n", InvoiceReadError::Kind::Envelope, "p7m"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const InvoiceFileRead f = readBytes(c.bytes);
    EXPECT_FALSE(f.document);
    ASSERT_TRUE(f.failure);
    EXPECT_EQ(*f.failure, c.kind) << f.reason.toStdString();
    EXPECT_TRUE(f.reason.contains(QLatin1String(c.reason))) << f.reason.toStdString();
  }
}

TEST(InvoiceReader, ABodyThatCannotBeReadKeepsItsProblem) {
  SampleInvoice s;
  s.bodies.push_back(s.bodies[0]);
  s.bodies[0].instalments[0].amount = u"12,20"_s;
  s.bodies[1].date = u"15/03/2024"_s;
  const InvoiceDocument doc = readInvoiceXml(s.xml());
  ASSERT_EQ(doc.bodies.size(), 2u);
  EXPECT_TRUE(doc.bodies[0].problem.contains(u"importo della rata")) << doc.bodies[0].problem.toStdString();
  EXPECT_TRUE(doc.bodies[1].problem.contains(u"data del documento")) << doc.bodies[1].problem.toStdString();
}

TEST(InvoiceReader, AmountsToExactCents) {
  const std::pair<const char*, std::optional<qint64>> cases[] = {
      {"122.00", 12200}, {"-5.5", -550},       {"+7", 700},        {"0.10", 10},     {"1.00000000", 100},
      {"1.005", {}},     {"12,50", {}},        {"", {}},           {"1e3", {}},      {"1.", {}},
      {".5", {}},        {"12345678901234", {}}, {"1234567890123.45", 123456789012345}, {" 3.30 ", 330},
  };
  for (const auto& [text, cents] : cases) {
    EXPECT_EQ(parseInvoiceAmount(QString::fromLatin1(text)), cents) << text;
  }
  EXPECT_EQ(invoiceAmountText(123456789), u"1.234.567,89");
  EXPECT_EQ(invoiceAmountText(-5), u"-0,05");
  EXPECT_EQ(invoiceDecimalText(u"1234.50000000", 2), u"1.234,50");
  EXPECT_EQ(invoiceDecimalText(u"3.00000000", 0), u"3");
  EXPECT_EQ(invoiceDecimalText(u"abc", 2), u"abc");
}

class InvoiceEnvelope : public ::testing::Test {
 protected:
  QTemporaryDir scratch;
};

TEST_F(InvoiceEnvelope, SignedInDerChunkedAndBase64) {
  SampleInvoice s;
  // Long enough for the streamed envelope to cut the content into chunks.
  for (int i = 0; i < 300; ++i) s.bodies[0].lines << QStringLiteral("Riga di dettaglio numero %1").arg(i);
  const QByteArray xml = s.xml();
  const auto der = fondaro::testing::signedEnvelope(xml, scratch.path());
  const auto streamed = fondaro::testing::signedEnvelope(xml, scratch.path(), true);
  ASSERT_TRUE(der && streamed) << "openssl cms -sign failed";
  ASSERT_FALSE(streamed->contains(xml));  // the content really is in chunks
  const QByteArray b64 = der->toBase64();
  QByteArray wrapped;
  for (qsizetype i = 0; i < b64.size(); i += 64) wrapped += b64.mid(i, 64) + "\r\n";
  const std::pair<const char*, QByteArray> cases[] = {
      {"DER", *der},
      {"streamed (BER, chunks)", *streamed},
      {"Base64 on one line", b64},
      {"Base64 in lines", wrapped},
      {"PEM armour", "-----BEGIN PKCS7-----\n" + wrapped + "-----END PKCS7-----\n"},
      {"Base64 of Base64", wrapped.toBase64()},
  };
  for (const auto& [what, bytes] : cases) {
    SCOPED_TRACE(what);
    const InvoiceFileRead f = readBytes(bytes, u"IT01234567897_00001.xml.p7m"_s);
    ASSERT_TRUE(f.document) << f.reason.toStdString();
    EXPECT_TRUE(f.signedEnvelope);
    EXPECT_EQ(f.document->bodies[0].lines.size(), 301u);
    EXPECT_EQ(envelopeContent(bytes), xml);
  }
}

TEST(InvoiceFiles, FoldersAndZipsInNameOrder) {
  QTemporaryDir dir;
  const QString in = dir.filePath(u"in"_s);
  ASSERT_TRUE(QDir().mkpath(in + u"/sotto"_s));
  SampleInvoice a, b;
  b.bodies[0].number = u"2"_s;
  writeAll(in + u"/b.XML"_s, b.xml());
  writeAll(in + u"/a.xml"_s, a.xml());
  writeAll(in + u"/note.txt"_s, "not an invoice");
  writeAll(in + u"/sotto/c.xml"_s, a.xml());  // not recursive
  writeAll(in + u"/m.zip"_s, fondaro::testing::zipOf({{u"z2.xml"_s, b.xml()},
                                                      {u"cartella/z1.P7M"_s, "garbage"},
                                                      {u"leggimi.txt"_s, "x"},
                                                      {u"z0_MT_001.xml"_s, "<MetadatiInvioFile/>"}}));
  writeAll(in + u"/rotto.zip"_s, "PK not really");
  const auto files = readInvoiceInputs({in, dir.filePath(u"manca.xml"_s)});
  QStringList shown;
  for (const auto& f : files) shown << QStringLiteral("%1 %2 %3").arg(f.number).arg(f.shownName).arg(f.document ? u"ok"_s : f.reason);
  EXPECT_EQ(shown, (QStringList{u"1 a.xml ok"_s, u"2 b.XML ok"_s,
                                u"3 m.zip/cartella/z1.P7M busta firmata (p7m) illeggibile, né XML né CMS"_s,
                                u"4 m.zip/z0_MT_001.xml file di metadati"_s, u"5 m.zip/z2.xml ok"_s,
                                u"6 rotto.zip file zip illeggibile"_s, u"7 manca.xml file non trovato"_s}));
  EXPECT_EQ(files[2].name, u"z1.P7M");
  EXPECT_TRUE(files[3].silent());
  EXPECT_EQ(files[4].bytes, b.xml());
}

}  // namespace

namespace {

// Every cut of an invoice and of its envelope is either read or refused with
// a reason, never a crash or a document without a body.
TEST(InvoiceReader, EveryTruncationIsReadOrRefused) {
  QTemporaryDir scratch;
  SampleInvoice s;
  s.bodies[0].attachments = {{u"a.pdf"_s, u"PDF"_s, "%PDF-1.4 allegato"}};
  const QByteArray xml = s.xml();
  const auto der = fondaro::testing::signedEnvelope(xml, scratch.path(), true);
  ASSERT_TRUE(der);
  for (const QByteArray& whole : {xml, *der}) {
    for (qsizetype n = 0; n < whole.size(); ++n) {
      const InvoiceFileRead f = readBytes(whole.left(n));
      if (f.document) {
        EXPECT_FALSE(f.document->bodies.empty()) << n;
      } else {
        EXPECT_FALSE(f.reason.isEmpty()) << n;
      }
    }
  }
}

}  // namespace

namespace {

QStringList warnings;
void keepWarning(QtMsgType, const QMessageLogContext&, const QString& text) { warnings << text; }

// A zip whose directory points past its end (found by the fuzzer): each
// entry refused with its reason and nothing else said, so the tool's output
// carries only its own lines.
TEST(InvoiceFiles, ADamagedZipIsRefusedQuietly) {
  QTemporaryDir dir;
  const QByteArray zip = QByteArray::fromHex(
      "504b4eb3091761d5e8b256393f00adf9005d330f986c7e0100007b03000005002bcd2738597655fc3f7d83f240c27fe8f346cf3b17e2"
      "f53b3332334730afeea7ff16e4a1c8947343bd4c815d695170059aca97edacfbfcd1c33dd7273cf817504b010214031400000000000000"
      "005d310f986c7e0100007b030000050000000000000000000000a48100000000612e786d6c504b0102140314000000080056628b5d79b1"
      "677bc8040000774c0000090000000000000000000000a481a1010000622e786d6c2e70376d504b050600000000020002006a000000");
  writeAll(dir.filePath(u"m.zip"_s), zip);
  warnings.clear();
  const QtMessageHandler previous = qInstallMessageHandler(keepWarning);
  const auto files = readInvoiceInputs({dir.filePath(u"m.zip"_s)});
  qInstallMessageHandler(previous);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].reason, u"voce del file zip illeggibile");
  EXPECT_EQ(files[1].shownName, u"m.zip/b.xml.p7m");
  EXPECT_EQ(files[1].reason, u"voce del file zip illeggibile");
  EXPECT_EQ(warnings, QStringList());
}

}  // namespace
