// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/passwordfile.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

TEST(IniValue, FindsTheValueOfTheFirstMatchingSectionAndKey) {
  struct Case {
    const char* content;
    std::optional<QByteArray> value;
  } cases[] = {
      {"[Accesso]\r\nValore=0A1B\r\n", "0A1B"},
      {"[Accesso]\nValore=0A1B", "0A1B"},
      {"[accesso]\r\nVALORE=0A1B\r\n", "0A1B"},              // names ignore case
      {"  [ Accesso ]  \r\n  Valore  =  0A1B  \r\n", "0A1B"},  // and blanks around them
      {"[Accesso]\r\nValore=\"0A1B\"\r\n", "0A1B"},
      {"[Accesso]\r\nValore=\r\n", ""},
      {"\xEF\xBB\xBF[Accesso]\r\nValore=0A1B\r\n", "0A1B"},
      {"[Altro]\r\nValore=FFFF\r\n[Accesso]\r\nAltro=1\r\nValore=0A1B\r\n", "0A1B"},
      {"[Accesso]\r\nValore=0A1B\r\nValore=FFFF\r\n[Accesso]\r\nValore=EEEE\r\n", "0A1B"},
      {"[Accesso]\r\nAltro=1\r\n[Altro]\r\nValore=FFFF\r\n", std::nullopt},
      {"[Altro]\r\nValore=FFFF\r\n", std::nullopt},
      {"Valore=FFFF\r\n", std::nullopt},
      {"", std::nullopt},
      {"[Accesso\r\nValore=FFFF\r\n", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(iniValue(c.content, "Accesso", "Valore"), c.value) << c.content;
  }
}

TEST(IniValue, SettingAValueKeepsEveryOtherByte) {
  struct Case {
    const char* before;
    const char* after;
  } cases[] = {
      {"", "[Accesso]\r\nValore=AB\r\n"},
      {"[Accesso]\r\nValore=0011\r\n", "[Accesso]\r\nValore=AB\r\n"},
      {"; note\n[Accesso]\n  valore = 0011  ; x\n[Altro]\nk=v\n",
       "; note\n[Accesso]\n  valore =AB\n[Altro]\nk=v\n"},
      {"[Accesso]\r\nValore=0011", "[Accesso]\r\nValore=AB"},
      {"[Accesso]\r\nAltro=1\r\n\r\n[Altro]\r\nk=v\r\n",
       "[Accesso]\r\nAltro=1\r\nValore=AB\r\n\r\n[Altro]\r\nk=v\r\n"},
      {"[Accesso]\r\nAltro=1", "[Accesso]\r\nAltro=1\r\nValore=AB\r\n"},
      {"[Altro]\nk=v\n", "[Altro]\nk=v\n[Accesso]\nValore=AB\n"},
      {"[Altro]\r\nk=v", "[Altro]\r\nk=v\r\n[Accesso]\r\nValore=AB\r\n"},
      {"[Altro]\r\nValore=00\r\n[Accesso]\r\nValore=11\r\n",
       "[Altro]\r\nValore=00\r\n[Accesso]\r\nValore=AB\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(withIniValue(c.before, "Accesso", "Valore", "AB"), QByteArray(c.after)) << c.before;
  }
}

class PasswordFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString folder() const { return dir.path() + u'/'; }
  QString path() const { return passwordFilePath(folder()); }
};

TEST_F(PasswordFile, LivesInTheProgramFolderUnderItsFixedName) {
  EXPECT_EQ(passwordFilePath(u"/opt/fondaro/"_qs), QStringLiteral("/opt/fondaro/unins000.dll"));
}

TEST_F(PasswordFile, AMissingFileReadsAsEmptyAndIsCreatedByTheFirstWrite) {
  EXPECT_EQ(readStoredPassword(folder()), QString());
  writeStoredPassword(folder(), u"EAEC");
  EXPECT_EQ(readAll(path()), QByteArray("[Accesso]\r\nValore=EAEC\r\n"));
  EXPECT_EQ(readStoredPassword(folder()), QStringLiteral("EAEC"));
}

TEST_F(PasswordFile, ARewriteKeepsTheOtherLinesAndLeavesNoTemporaryFile) {
  writeAll(path(), "; Fondaro\r\n[Generale]\r\nLingua=it\r\n\r\n[Accesso]\r\nValore=0011\r\nUtente=x\r\n");
  writeStoredPassword(folder(), u"ABCD");
  EXPECT_EQ(readAll(path()),
            QByteArray("; Fondaro\r\n[Generale]\r\nLingua=it\r\n\r\n[Accesso]\r\nValore=ABCD\r\nUtente=x\r\n"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"unins000.dll"_qs});
}

TEST_F(PasswordFile, KeepsTheFilePermissions) {
  writeAll(path(), "[Accesso]\r\nValore=0011\r\n");
  const auto perms = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
  ASSERT_TRUE(QFile::setPermissions(path(), perms));
  writeStoredPassword(folder(), u"ABCD");
  EXPECT_EQ(QFile::permissions(path()) & 0x7077, perms & 0x7077);
}

TEST_F(PasswordFile, ARefusedWriteLeavesTheFileAsItWas) {
  const QByteArray before = "[Accesso]\r\nValore=0011\r\n";
  writeAll(path(), before);
  ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
  try {
    writeStoredPassword(folder(), u"ABCD");
    ADD_FAILURE() << "a read-only password file was rewritten";
  } catch (const PasswordFileError& e) {
    EXPECT_EQ(e.reason(), PasswordFileError::Reason::ReadOnly);
  }
  EXPECT_EQ(readAll(path()), before);
}

TEST_F(PasswordFile, AFolderThatIsNoFolderFailsTheWrite) {
  const QString notAFolder = folder() + u"file"_qs;
  writeAll(notAFolder, "x");
  EXPECT_THROW(writeStoredPassword(notAFolder + u'/', u"ABCD"), PasswordFileError);
  EXPECT_EQ(readStoredPassword(notAFolder + u'/'), QString());
}
