// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool invoices: the built tool on a folder of invoices, its lines,
// its exit status, and that a refused run creates nothing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/filepath.h"
#include "core/invoiceimport.h"
#include "invoice_samples.h"
#include "test_support.h"

namespace {

using fondaro::testing::kCompanyVat;
using fondaro::testing::kCustomerVat;
using fondaro::testing::namesIn;
using fondaro::testing::runTool;
using fondaro::testing::SampleBody;
using fondaro::testing::SampleInvoice;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

// The lines of stderr about files and bodies (the tool may also say that
// the readable copies could not be made).
QStringList fileLines(const QString& err) {
  QStringList out;
  for (const QString& l : err.split(u'\n', Qt::SkipEmptyParts)) {
    if (l.startsWith(u"file ")) out << l;
  }
  return out;
}

using ToolInvoices = fondaro::testing::InvoiceFolders;

TEST_F(ToolInvoices, AFolderWithAZipASignedFileAndSkips) {
  SampleInvoice a;  // received, 2024
  SampleInvoice b;  // issued, 2023, two bodies: a TD17 and an invoice of two instalments
  b.seller = fondaro::testing::company();
  b.buyer = fondaro::testing::supplier();
  b.buyer.vat = kCustomerVat;
  b.buyer.taxCode.clear();
  b.buyer.denomination = u"Cliente Spa"_s;
  SampleBody td17;
  td17.type = u"TD17"_s;
  SampleBody two;
  two.date = u"2023-11-30"_s;
  two.total = u"200.00"_s;
  two.instalments = {{u"MP05"_s, u"2023-12-31"_s, {}, {}, u"100.00"_s, {}}, {u"MP05"_s, u"2024-01-31"_s, {}, {}, u"100.00"_s, {}}};
  b.bodies = {td17, two};
  SampleInvoice c;  // not the company's
  c.buyer.vat = u"02468135799"_s;
  SampleInvoice bad = a;  // a supplier's VAT number that fails its check
  bad.bodies[0].number = u"3"_s;
  bad.seller.vat = u"01234567890"_s;
  bad.seller.taxCode.clear();
  const auto p7m = fondaro::testing::signedEnvelope(b.xml(), dir.path());
  ASSERT_TRUE(p7m);
  writeAll(in() + u"/1.xml"_s, a.xml());
  writeAll(in() + u"/2.xml.p7m"_s, p7m->toBase64());
  writeAll(in() + u"/3.zip"_s, fondaro::testing::zipOf({{u"c.xml"_s, c.xml()},
                                                        {u"d_MT_001.xml"_s, "<MetadatiInvioFile/>"},
                                                        {u"e.xml"_s, bad.xml()},
                                                        {u"f.xml"_s, "<Ricevuta/>"}}));
  const QStringList args = {u"invoices"_s, in(), u"--into"_s, folder(), u"--own"_s, u"IT"_s + kCompanyVat, u"--notice"_s, u"7"_s};

  auto r = runTool(args + QStringList{u"--dry-run"_s});
  EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
  const QString lines = u"2023.eur: 2 added, 0 already present\n2024.eur: 2 added, 0 already present\nClienti.pro: 3 added\n"_s;
  EXPECT_EQ(r.out, lines);
  const QStringList expectedErr = {u"file 2, body 1: TD17: documento che muove l'IVA, non denaro (integrazione o autofattura)"_s,
                                   u"file 3: non intestata all'azienda"_s,
                                   u"file 5, body 1: avviso: partita IVA 01234567890 di Fornitore Srl non valida"_s,
                                   u"file 6: radice Ricevuta: non è una fattura elettronica ordinaria"_s};
  EXPECT_EQ(fileLines(r.err), expectedErr);
  EXPECT_TRUE(namesIn(fondaro::encodePath(folder())).empty());

  r = runTool(args);
  EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
  EXPECT_EQ(r.out, lines);
  EXPECT_EQ(fileLines(r.err), expectedErr);
  const auto dump = runTool({u"dump"_s, folder() + u"/2023.eur"_s});
  EXPECT_TRUE(dump.out.contains(u"\"Causale\": \"Fattura n. 1 del 30/11/2023 - Cliente Spa - rata 2 di 2\""));
  EXPECT_TRUE(dump.out.contains(u"\"Preavviso\": \"7\""));
  EXPECT_TRUE(dump.out.contains(u"\"Note\": \"Importato da 2.xml.p7m\""));
  EXPECT_TRUE(dump.out.contains(u"\"File01\": \"2.xml.p7m\""));
  const auto book = runTool({u"dump"_s, folder() + u"/Clienti.pro"_s});
  EXPECT_TRUE(book.out.contains(u"\"Note\": \"Inserito da fattura elettronica 3.zip/e.xml\"")) << book.out.toStdString();

  r = runTool(args);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, u"2023.eur: 0 added, 2 already present\n2024.eur: 0 added, 2 already present\n");
}

TEST_F(ToolInvoices, TheCompanyFromTheSettingsOrNoneAtAll) {
  SampleInvoice a;
  writeAll(in() + u"/a.xml"_s, a.xml());
  auto r = runTool({u"invoices"_s, in() + u"/a.xml"_s, u"--into"_s, folder()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.contains(u"no company identifier")) << r.err.toStdString();
  EXPECT_TRUE(namesIn(fondaro::encodePath(folder())).empty());

  ASSERT_TRUE(fondaro::writeInvoiceSettings(fondaro::encodePath(folder()), {{kCompanyVat}, 5}));
  r = runTool({u"invoices"_s, in() + u"/a.xml"_s, u"--into"_s, folder(), u"--dry-run"_s});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"2024.eur: 1 added, 0 already present\nClienti.pro: 1 added\n");
}

TEST_F(ToolInvoices, UsageErrors) {
  const std::pair<QStringList, const char*> cases[] = {
      {{u"invoices"_s, u"--into"_s, u"X"_s}, "no invoice file"},
      {{u"invoices"_s, u"a.xml"_s}, "no folder given"},
      {{u"invoices"_s, u"a.xml"_s, u"--into"_s, u"X"_s, u"--notice"_s, u"-1"_s}, "--notice needs"},
      {{u"invoices"_s, u"a.xml"_s, u"--into"_s, u"X"_s, u"--own"_s, u""_s}, "--own needs"},
      {{u"invoices"_s, u"a.xml"_s, u"--into"_s, u"/nonexistent/x"_s, u"--own"_s, kCompanyVat}, "is not a folder"},
  };
  for (const auto& [args, why] : cases) {
    const auto r = runTool(args);
    EXPECT_EQ(r.exitCode, 2) << why;
    EXPECT_TRUE(r.err.contains(QLatin1String(why))) << r.err.toStdString();
  }
}

}  // namespace

namespace {

// A write that fails at each stage: what was written before it is told and
// stays, nothing after it is written.
TEST_F(ToolInvoices, AFailedWriteIsToldWithWhatWasWritten) {
  SampleInvoice a;
  writeAll(in() + u"/a.xml"_s, a.xml());
  struct Case {
    const char* what;
    const char* fault;
    const char* out;
    const char* err;
    bool cards, movements;
  };
  const Case cases[] = {
      {"an attachment", "write:1:ENOSPC:1:.fondaro-", "", "cannot write the attachment a.xml", false, false},
      {"the address book", "pwrite:1:ENOSPC:1:Clienti.pro", "", "attachments stored, 0 cards added before the failure)",
       false, false},
      {"the year", "pwrite:1:ENOSPC:1:2024.eur", "Clienti.pro: 1 added\n",
       "(0 movements of 2024.eur written before the failure)", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(folder()).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(folder()));
    const auto r = fondaro::testing::runToolFailing(
        QString::fromLatin1(c.fault), {u"invoices"_s, in(), u"--into"_s, folder(), u"--own"_s, kCompanyVat});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(*c.out ? r.out.endsWith(QLatin1String(c.out)) : r.out.isEmpty()) << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(QLatin1String(c.err))) << r.err.toStdString();
    EXPECT_EQ(QFileInfo(folder() + u"/Clienti.pro"_s).size() > 0, c.cards);
    EXPECT_EQ(QFileInfo(folder() + u"/2024.eur"_s).size() > 0, c.movements);
  }
}

}  // namespace
