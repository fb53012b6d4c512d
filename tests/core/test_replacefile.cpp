// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file writes: what they never replace, where a link leads them, the
// mode of the new file, and the temporary files they leave nowhere.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <cerrno>

#include "core/filepath.h"
#include "core/replacefile.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::namesIn;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

namespace {

class ReplaceFile : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QByteArray path(const char* name) const { return QFile::encodeName(dir.path()) + '/' + name; }
  static bool write(const QByteArray& target, const QByteArray& bytes, WriteFailure* why = nullptr,
                    const OutputGuard& guard = {}) {
    return replaceFileBytes(
        target, [&](int fd) { return writeAllTo(fd, bytes.constData(), bytes.size()); }, why, guard);
  }
  std::set<QByteArray> temps() const {
    std::set<QByteArray> out;
    for (const QByteArray& n : namesIn(QFile::encodeName(dir.path())))
      if (n.startsWith(".fondaro-")) out.insert(n);
    return out;
  }
  static mode_t modeOf(const QByteArray& p) {
    struct stat st {};
    return ::lstat(p.constData(), &st) == 0 ? st.st_mode : 0;
  }
};

}  // namespace

// Something that is not a regular file keeps what it is; a read-only file and
// a link to nothing are not replaced either.
TEST_F(ReplaceFile, RefusesWhatIsNoOrdinaryWritableFile) {
  ASSERT_EQ(::mkdir(path("cartella").constData(), 0755), 0);
  ASSERT_EQ(::mkfifo(path("pipe").constData(), 0644), 0);
  writeAll(QFile::decodeName(path("sola-lettura.pdf")), "vecchio");
  ASSERT_EQ(::chmod(path("sola-lettura.pdf").constData(), 0444), 0);
  ASSERT_EQ(::symlink("manca.pdf", path("rotto.pdf").constData()), 0);
  const struct {
    QByteArray target;
    WriteFailure::Kind kind;
    mode_t type;
  } cases[] = {
      {path("cartella"), WriteFailure::Kind::NotRegular, S_IFDIR},
      {path("pipe"), WriteFailure::Kind::NotRegular, S_IFIFO},
      {"/dev/null", WriteFailure::Kind::NotRegular, S_IFCHR},
      {path("sola-lettura.pdf"), WriteFailure::Kind::ReadOnly, S_IFREG},
      {path("rotto.pdf"), WriteFailure::Kind::DanglingLink, S_IFLNK},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.target.toStdString());
    WriteFailure why;
    EXPECT_FALSE(write(c.target, "nuovo", &why));
    EXPECT_EQ(why.kind, c.kind);
    EXPECT_EQ(refusedTarget(c.target).value_or(WriteFailure{}).kind, c.kind);
    EXPECT_EQ(modeOf(c.target) & S_IFMT, c.type);
    EXPECT_FALSE(why.italian().isEmpty());
  }
  EXPECT_EQ(readAll(QFile::decodeName(path("sola-lettura.pdf"))), QByteArray("vecchio"));
  EXPECT_FALSE(pathExists(path("manca.pdf")));
  EXPECT_TRUE(temps().empty());
}

// A link is written through: the file it names gets the content, the link stays.
TEST_F(ReplaceFile, ALinkIsWrittenThrough) {
  ASSERT_EQ(::mkdir(path("altrove").constData(), 0755), 0);
  writeAll(QFile::decodeName(path("altrove/vero.pdf")), "vecchio");
  ASSERT_EQ(::symlink("altrove/vero.pdf", path("Cliente.pdf").constData()), 0);
  ASSERT_TRUE(write(path("Cliente.pdf"), "nuovo"));
  EXPECT_TRUE(S_ISLNK(modeOf(path("Cliente.pdf"))));
  EXPECT_EQ(readAll(QFile::decodeName(path("altrove/vero.pdf"))), QByteArray("nuovo"));

  // Even with no guard, a link never leads into an archive or the password file.
  for (const char* name : {"2024.eur", "Clienti.pro", "unins000.dll"}) {
    SCOPED_TRACE(name);
    writeAll(QFile::decodeName(path(name)), name);
    ASSERT_EQ(::unlink(path("Cliente.pdf").constData()), 0);
    ASSERT_EQ(::symlink(name, path("Cliente.pdf").constData()), 0);
    WriteFailure why;
    EXPECT_FALSE(write(path("Cliente.pdf"), "PDF", &why));
    EXPECT_EQ(why.kind, WriteFailure::Kind::Protected);
    EXPECT_EQ(readAll(QFile::decodeName(path(name))), QByteArray(name));
  }
}

// The new file has the mode of any new file, not the old one's.
TEST_F(ReplaceFile, TheNewFileGetsTheOrdinaryMode) {
  const mode_t mask = ::umask(022);
  for (const mode_t old : {mode_t(0600), mode_t(0755), mode_t(0666)}) {
    writeAll(QFile::decodeName(path("Movimenti.xls")), "vecchio");
    ASSERT_EQ(::chmod(path("Movimenti.xls").constData(), old), 0);
    ASSERT_TRUE(write(path("Movimenti.xls"), "nuovo"));
    EXPECT_EQ(modeOf(path("Movimenti.xls")) & 07777, mode_t(0644)) << std::oct << old;
  }
  ::umask(mask);
}

// The temporary name is short, so that a target named with the longest name
// the system allows can be written.
TEST_F(ReplaceFile, ATargetOfTheLongestNameIsWritten) {
  const QByteArray longest = path(QByteArray(251, 'a').append(".pdf").constData());
  ASSERT_TRUE(write(longest, "contenuto"));
  EXPECT_EQ(readAll(QFile::decodeName(longest)), QByteArray("contenuto"));
}

// A program killed while writing leaves its temporary file; the next write in
// that folder removes ours of more than an hour ago, and nothing else.
TEST_F(ReplaceFile, StaleTemporaryFilesAreRemoved) {
  const QByteArray stale = path(".fondaro-Ab12Cd.tmp"), fresh = path(".fondaro-Zz99Yy.tmp"),
                   other = path(".fondaro-note.txt");
  for (const QByteArray& p : {stale, fresh, other}) writeAll(QFile::decodeName(p), "x");
  const struct timeval twoHoursAgo[2] = {{::time(nullptr) - 7200, 0}, {::time(nullptr) - 7200, 0}};
  ASSERT_EQ(::utimes(stale.constData(), twoHoursAgo), 0);
  ASSERT_EQ(::utimes(other.constData(), twoHoursAgo), 0);
  ASSERT_TRUE(write(path("Anagrafica.xls"), "nuovo"));
  EXPECT_FALSE(pathExists(stale));
  EXPECT_TRUE(pathExists(fresh));
  EXPECT_TRUE(pathExists(other));
}

// With a guard, the input, the archives and the password file are never the
// target, whether named directly or reached by a link or another name.
TEST_F(ReplaceFile, AGuardProtectsTheArchivesAndTheInput) {
  for (const char* name : {"2024.eur", "Clienti.pro", "unins000.dll"}) writeAll(QFile::decodeName(path(name)), name);
  writeAll(QFile::decodeName(path("t.dat")), "input");
  ASSERT_EQ(::link(path("2024.eur").constData(), path("stesso.pdf").constData()), 0);
  ASSERT_EQ(::symlink("Clienti.pro", path("collegamento.pdf").constData()), 0);
  const OutputGuard guard{path("t.dat"), true};
  for (const char* name : {"t.dat", "2024.eur", "Clienti.pro", "unins000.dll", "UNINS000.DLL", "nuovo.EUR",
                           "stesso.pdf", "collegamento.pdf"}) {
    SCOPED_TRACE(name);
    WriteFailure why;
    EXPECT_FALSE(write(path(name), "PDF", &why, guard));
    EXPECT_EQ(why.kind, WriteFailure::Kind::Protected);
  }
  for (const char* name : {"2024.eur", "Clienti.pro", "unins000.dll"})
    EXPECT_EQ(readAll(QFile::decodeName(path(name))), QByteArray(name));
  EXPECT_EQ(readAll(QFile::decodeName(path("t.dat"))), QByteArray("input"));
  EXPECT_TRUE(write(path("lista.pdf"), "PDF", nullptr, guard));
  EXPECT_TRUE(temps().empty());
}

// The user reads what failed: the program's advice for a missing permission,
// the system's reason for anything else.
TEST(WriteFailureText, SaysWhatFailed) {
  const struct {
    int err;
    const char* italian;
  } cases[] = {
      {EACCES, "Accertarsi di possedere i privilegi di scrittura nella cartella di destinazione."},
      {ENOSPC, "Spazio esaurito sul disco."},
      {EIO, "Errore di lettura o scrittura sul disco (errore di ingresso/uscita)."},
      {EROFS, "Il disco è protetto in scrittura (sola lettura)."},
  };
  for (const auto& c : cases) {
    const WriteFailure f{WriteFailure::Kind::System, c.err};
    EXPECT_EQ(f.italian(), QString::fromUtf8(c.italian));
    EXPECT_EQ(f.english(), QString::fromLocal8Bit(std::strerror(c.err)));
  }
}

namespace {

// Many new files at once: each stored whole, a name already taken left to
// its file, no temporary left behind.
TEST(StoreNewFiles, StoresNewNamesAndNeverReplaces) {
  QTemporaryDir dir;
  const QByteArray folder = QFile::encodeName(dir.path());
  writeAll(dir.filePath(QStringLiteral("b.pdf")), "already here");
  std::vector<NewFile> files;
  for (int i = 0; i < 300; ++i) files.push_back({"f" + QByteArray::number(i) + ".xml", QByteArray(i, 'x')});
  files.push_back({"b.pdf", "new bytes"});
  std::vector<NewFileState> states;
  ASSERT_TRUE(storeNewFiles(folder, files, &states));
  ASSERT_EQ(states.size(), files.size());
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(states[size_t(i)], NewFileState::Stored);
    EXPECT_EQ(readAll(dir.filePath(QStringLiteral("f%1.xml").arg(i))), QByteArray(i, 'x'));
  }
  EXPECT_EQ(states.back(), NewFileState::NameTaken);
  EXPECT_EQ(readAll(dir.filePath(QStringLiteral("b.pdf"))), "already here");
  EXPECT_EQ(namesIn(folder).size(), 301u);

  // A folder that cannot take the files: a failure, nothing stored.
  const std::vector<NewFile> one = {{"x", "y"}};
  WriteFailure why;
  EXPECT_FALSE(storeNewFiles(folder + "/missing", one, &states, &why));
  EXPECT_EQ(states[0], NewFileState::NotWritten);
  EXPECT_EQ(why.err, ENOENT);
}

}  // namespace
