// SPDX-License-Identifier: GPL-3.0-or-later
// File names kept as bytes, the bounded read of small files, and archives and
// the password file in a folder whose name is not UTF-8.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <set>
#include <string>

#include "core/archive.h"
#include "core/filepath.h"
#include "core/passwordfile.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::FifoGuard;
using fondaro::testing::namesIn;
using fondaro::testing::removeContents;

namespace {

void writeBytes(const QByteArray& path, const QByteArray& bytes) {
  const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path.toStdString();
  ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), bytes.size());
  ::close(fd);
}

class FilePathTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  QByteArray dir() const { return QFile::encodeName(tmp.path()) + '/'; }
  void TearDown() override { removeContents(QFile::encodeName(tmp.path())); }
};

}  // namespace

TEST(FilePath, BytesSurviveTheTextFormAndShowAsLatin1) {
  struct Case {
    QByteArray bytes;
    QString display;
  } cases[] = {
      {"/srv/conti/2024.eur", u"/srv/conti/2024.eur"_qs},
      {"/media/caff\xC3\xA8/2024.eur", u"/media/caff\u00E8/2024.eur"_qs},  // UTF-8
      {"/media/caf\xE9/2024.eur", u"/media/caf\u00E9/2024.eur"_qs},        // Latin-1
      {"\xFF\xFE", u"\u00FF\u00FE"_qs},
      {"a\xC0\xAF", u"a\u00C0\u00AF"_qs},          // an overlong '/' is no '/'
      {"\xED\xB2\x80", u"\u00ED\u00B2\u0080"_qs},  // an encoded surrogate is not UTF-8
      {"\xE2\x82", u"\u00E2\u0082"_qs},            // a cut sequence
      {"\xF0\x9F\x93\x81.pro", u"\U0001F4C1.pro"_qs},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes.toHex().toStdString());
    EXPECT_EQ(encodePath(decodePath(c.bytes)), c.bytes);
    EXPECT_EQ(displayPath(c.bytes), c.display);
    // A UTF-8 name reads as its ordinary text, and ordinary text encodes as UTF-8.
    if (QString::fromUtf8(c.bytes).toUtf8() == c.bytes) {
      EXPECT_EQ(decodePath(c.bytes), QString::fromUtf8(c.bytes));
      EXPECT_EQ(encodePath(QString::fromUtf8(c.bytes)), c.bytes);
    }
  }
}

TEST_F(FilePathTest, ASmallFileIsReadWithinItsCeilingAndNeverWaitedOn) {
  using S = SmallFile::Status;
  writeBytes(dir() + "ok", QByteArray(100, 'x'));
  writeBytes(dir() + "full", QByteArray(100, 'x'));
  writeBytes(dir() + "over", QByteArray(101, 'x'));
  ASSERT_EQ(::mkfifo((dir() + "fifo").constData(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/zero", (dir() + "zero").constData()), 0);
  ASSERT_EQ(::mkdir((dir() + "folder").constData(), 0700), 0);
  const struct {
    const char* name;
    S status;
    qsizetype size;
  } cases[] = {
      {"ok", S::Ok, 100},          {"full", S::Ok, 100},           {"over", S::TooLarge, 0},
      {"fifo", S::NotRegular, 0},  {"zero", S::NotRegular, 0},     {"folder", S::NotRegular, 0},
      {"missing", S::Missing, 0},  {"ok/below", S::Missing, 0},
  };
  FifoGuard guard(dir() + "fifo");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const SmallFile f = readSmallFile(dir() + c.name, 100);
    EXPECT_EQ(f.status, c.status);
    EXPECT_EQ(f.bytes.size(), c.size);
  }
  EXPECT_FALSE(guard.released()) << "the FIFO was waited on";
}

// A folder named in Latin-1 bytes, as an old USB stick has them: the archive
// and the password file in it are the very files named, and no other file
// appears beside them.
TEST_F(FilePathTest, ALatin1FolderHoldsItsOwnArchivesAndPasswordFile) {
  const QByteArray folder = dir() + "caf\xE9/";
  ASSERT_EQ(::mkdir(folder.constData(), 0700), 0);

  const QByteArray archive = movementArchivePath(folder, u"2024"_qs);
  EXPECT_EQ(archive, folder + "2024.eur");
  {
    auto a = MovementArchive::OpenOrCreate(archive);
    EXPECT_EQ(a.Append(TMovimento()), 1);
    a.Close();
  }
  // The text form that travels through a window label reaches the same file.
  {
    auto a = MovementArchive::OpenOrCreate(movementArchivePath(decodePath(folder), u"2024"_qs));
    EXPECT_EQ(a.Append(TMovimento()), 2);
    a.Close();
  }
  writeStoredPassword(folder, u"EAEC");
  EXPECT_EQ(readStoredPassword(folder), u"EAEC"_qs);
  EXPECT_EQ(readStoredPassword(decodePath(folder)), u"EAEC"_qs);
  EXPECT_EQ(namesIn(folder), (std::set<QByteArray>{"2024.eur", "unins000.dll"}));
  EXPECT_EQ(namesIn(dir()), std::set<QByteArray>{"caf\xE9"});
}

TEST_F(FilePathTest, AnArchiveThatIsNoFileSaysWhatItIs) {
  ASSERT_EQ(::mkfifo((dir() + "2024.eur").constData(), 0600), 0);
  ASSERT_EQ(::symlink("/dev/null", (dir() + "2023.eur").constData()), 0);
  ASSERT_EQ(::symlink((dir() + "altrove/2022.eur").constData(), (dir() + "2022.eur").constData()), 0);
  struct Case {
    const char* name;
    ArchiveError::Cause cause;
    const char* words;
  } cases[] = {
      {"2024.eur", ArchiveError::Cause::NotRegular, "is not a regular file"},
      {"2023.eur", ArchiveError::Cause::NotRegular, "is not a regular file"},
      {"2022.eur", ArchiveError::Cause::MissingLinkTarget, "is a link to a missing file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      MovementArchive::OpenOrCreate(dir() + c.name);
      ADD_FAILURE() << "opened";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.op(), ArchiveError::Op::Open);
      EXPECT_EQ(e.cause(), c.cause);
      EXPECT_TRUE(e.describe().contains(QLatin1String(c.words))) << e.describe().toStdString();
      EXPECT_TRUE(e.describe().contains(QFile::decodeName(dir() + c.name)));
    }
  }
  // The link's target is not created through it.
  EXPECT_FALSE(QFile::exists(QFile::decodeName(dir() + "altrove")));
}

TEST_F(FilePathTest, APasswordFileThatCannotBeOneFailsAtOnce) {
  using R = PasswordFileError::Reason;
  const QByteArray path = passwordFilePath(dir());
  struct Case {
    const char* what;
    R reason;
  } cases[] = {
      {"fifo", R::NotRegular},
      {"zero", R::NotRegular},
      {"huge", R::TooLarge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ::unlink(path.constData());
    const std::string what = c.what;
    if (what == "fifo") ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
    if (what == "zero") ASSERT_EQ(::symlink("/dev/zero", path.constData()), 0);
    if (what == "huge")
      writeBytes(path, "[Accesso]\r\nValore=EAEC\r\n" + QByteArray(kPasswordFileMaxBytes, ';'));
    FifoGuard guard(path);
    for (int write = 0; write < 2; ++write) {
      try {
        if (write) writeStoredPassword(dir(), u"ABCD");
        else readStoredPassword(dir());
        ADD_FAILURE() << "read as a password file";
      } catch (const PasswordFileError& e) {
        EXPECT_EQ(e.reason(), c.reason);
      }
    }
    EXPECT_FALSE(guard.released()) << "the FIFO was waited on";
  }
  // Still a FIFO: the refused write replaced nothing.
  struct stat st {};
  ::unlink(path.constData());
  ASSERT_EQ(::mkfifo(path.constData(), 0600), 0);
  EXPECT_THROW(writeStoredPassword(dir(), u"ABCD"), PasswordFileError);
  ASSERT_EQ(::lstat(path.constData(), &st), 0);
  EXPECT_TRUE(S_ISFIFO(st.st_mode));
  // A file within the ceiling, however padded, is read.
  ::unlink(path.constData());
  writeBytes(path, "[Accesso]\r\nValore=EAEC\r\n" + QByteArray(kPasswordFileMaxBytes - 24, ';'));
  EXPECT_EQ(readStoredPassword(dir()), u"EAEC"_qs);
}
