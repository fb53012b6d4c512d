// SPDX-License-Identifier: GPL-3.0-or-later
// The readable copy that fondaro-tool invoices stores beside the movements
// (File02), made by its PDF module: the invoice read back from the stored PDF,
// and the same bytes when another process makes it again, so that importing
// into a second folder or again shares the file.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include "core/attachments.h"
#include "invoice_samples.h"
#include "test_support.h"

namespace {

using fondaro::testing::kCompanyVat;
using fondaro::testing::readAll;
using fondaro::testing::runTool;
using fondaro::testing::SampleInvoice;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

QString pdfText(const QString& path) {
  QProcess p;
  p.start(u"pdftotext"_s, {path, u"-"_s});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

TEST(ToolInvoiceCopy, TheToolStoresTheReadableCopyMadeByItsModule) {
  QTemporaryDir dir;
  SampleInvoice invoice;
  invoice.bodies[0].number = u"77/B"_s;
  const QString file = dir.filePath(u"IT01234567897_00077.xml"_s);
  writeAll(file, invoice.xml());
  QByteArray copies[2];
  for (int run = 0; run < 2; ++run) {
    const QString folder = dir.filePath(u"programma%1"_s.arg(run));
    ASSERT_TRUE(QDir().mkpath(folder));
    const auto r = runTool({u"invoices"_s, file, u"--into"_s, folder, u"--own"_s, kCompanyVat});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains(u"readable copies"_s)) << r.err.toStdString();
    const auto dump = runTool({u"dump"_s, folder + u"/2024.eur"_s});
    EXPECT_TRUE(dump.out.contains(u"\"File02\": \"IT01234567897_00077.pdf\""_s)) << dump.out.toStdString();
    const QString pdf = fondaro::attachmentsFolder(folder) + u"IT01234567897_00077.pdf"_s;
    copies[run] = readAll(pdf);
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(u"Fattura n. 77/B del 15/03/2024"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Fornitore Srl"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"Azienda Mia Srl"_s)) << text.toStdString();
    EXPECT_TRUE(text.contains(u"EUR 122,00"_s)) << text.toStdString();
  }
  ASSERT_TRUE(copies[0].startsWith("%PDF"));
  EXPECT_EQ(copies[0], copies[1]);
}

}  // namespace
