// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool reads OFX through libofx, which it loads only when a statement
// needs it (src/tool/ofxlazy.cpp): both shapes of OFX arrive whole, and the
// library's own messages stay off the tool's output.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/archive.h"
#include "statement_samples.h"
#include "test_support.h"

namespace {

using fondaro::testing::runTool;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

TEST(ToolOfx, BothShapesAreReadThroughTheLibraryLoadedForThem) {
  const QByteArray sgml = fondaro::testing::ofx1(
      "<STMTTRN><TRNTYPE>CREDIT<DTPOSTED>20240115<TRNAMT>50.00<FITID>A1<NAME>Rossi<MEMO>Quota soci</STMTTRN>\r\n"
      "<STMTTRN><TRNTYPE>DEBIT<DTPOSTED>20240116<TRNAMT>-12.30<FITID>A2<NAME>Bar<MEMO>Caffe</STMTTRN>\r\n");
  const QByteArray xml = fondaro::testing::ofx2(
      "<STMTTRN><TRNTYPE>CREDIT</TRNTYPE><DTPOSTED>20240117</DTPOSTED><TRNAMT>7.00</TRNAMT><FITID>B1</FITID>"
      "<NAME>Bianchi</NAME></STMTTRN>\n");
  for (const auto& [bytes, added] : {std::pair{sgml, 2}, std::pair{xml, 1}}) {
    QTemporaryDir dir;
    const QString folder = dir.filePath(u"cartella"_s);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString statement = dir.filePath(u"estratto.ofx"_s);
    writeAll(statement, bytes);
    const auto r = runTool({u"import"_s, statement, u"--into"_s, folder});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, u"2024.eur: %1 added, 0 already present\n"_s.arg(added));
    EXPECT_EQ(r.err, QString());
    EXPECT_EQ(fondaro::MovementArchive::OpenExisting(folder + u"/2024.eur"_s, fondaro::RecordFile::Access::ReadOnly)
                  .Count(),
              added);
  }
}

}  // namespace
