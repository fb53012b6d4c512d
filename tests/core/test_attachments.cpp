// SPDX-License-Identifier: GPL-3.0-or-later
// The attachments folder: which names may be opened or written there, and a
// copy that never leaves a broken file in place of a good one.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <sys/stat.h>

#include "core/attachments.h"
#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/spreadsheet.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

TEST(Attachments, TheFolderIsInTheProgramFolder) {
  EXPECT_EQ(attachmentsFolder(QStringLiteral("/opt/fondaro/")), QStringLiteral("/opt/fondaro/Documenti_Allegati/"));
  EXPECT_EQ(attachmentsFolder(QStringLiteral("/opt/fondaro")), QStringLiteral("/opt/fondaro/Documenti_Allegati/"));
}

TEST(Attachments, OnlyNamesInsideTheFolderAreSafe) {
  const struct {
    const char16_t* name;
    bool safe;
  } cases[] = {
      {u"fattura.pdf", true},
      {u"scontrino caff\u00E8 \u20AC.jpg", true},
      {u"..fattura", true},  // dots inside a name are harmless
      {u".nascosto", true},
      {u"", false},
      {u".", false},
      {u"..", false},
      {u"../unins000.dll", false},
      {u"sotto/cartella.pdf", false},
      {u"..\\unins000.dll", false},
      {u"C:\\Windows\\win.ini", false},
      {u"riga\nnuova", false},
      {u"c1\u0085", false},
  };
  for (const auto& c : cases) {
    const QString name = QString::fromUtf16(c.name, c.name[0] ? -1 : 0);
    EXPECT_EQ(isSafeAttachmentName(name), c.safe) << name.toStdString();
  }
  EXPECT_FALSE(isSafeAttachmentName(QStringView(u"nul\0x", 5)));
}

TEST(Attachments, ACopyReplacesWholeOrNotAtAll) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("ricevuta.pdf"));
  writeAll(target, "vecchia");
  const QString source = dir.filePath(QStringLiteral("nuova.pdf"));
  writeAll(source, QByteArray(3 << 20, 'n'));  // more than one block
  ASSERT_TRUE(copyReplacing(source, target));
  EXPECT_EQ(readAll(target), QByteArray(3 << 20, 'n'));

  writeAll(target, "vecchia");
  EXPECT_FALSE(copyReplacing(dir.filePath(QStringLiteral("manca.pdf")), target));
  EXPECT_FALSE(copyReplacing(dir.path(), target));  // a folder is not a file to attach
  EXPECT_EQ(readAll(target), QByteArray("vecchia"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({QStringLiteral("nuova.pdf"), QStringLiteral("ricevuta.pdf")}));
}

// A program folder copied from an old stick can have a name that is not UTF-8:
// the copy and the export still reach the files under that very name.
TEST(Attachments, AFolderNamedInLatin1IsReachedByItsBytes) {
  QTemporaryDir dir;
  const QByteArray folder = QFile::encodeName(dir.path()) + "/Contabilit\xE0";
  ASSERT_EQ(::mkdir(folder.constData(), 0755), 0);
  const QString folderText = decodePath(folder);
  const QString source = dir.filePath(QStringLiteral("fattura.pdf"));
  writeAll(source, "PDF");
  const QByteArray attachments = encodePath(attachmentsFolder(folderText));
  ASSERT_TRUE(makeFolders(attachments));
  ASSERT_TRUE(copyReplacing(source, attachmentsFolder(folderText) + QStringLiteral("fattura.pdf")));
  EXPECT_TRUE(pathExists(attachments + "fattura.pdf"));
  writeFileReplacing(folderText + QStringLiteral("/Movimenti.xls"), "xls");
  EXPECT_TRUE(pathExists(folder + "/Movimenti.xls"));
  EXPECT_TRUE(sameFile(folder + "/Movimenti.xls", encodePath(folderText + QStringLiteral("/Movimenti.xls"))));
}
