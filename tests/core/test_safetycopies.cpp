// SPDX-License-Identifier: GPL-3.0-or-later
// Safety copies: the day copy, consistency under a concurrent append,
// retention, verification, restore, and a full disk.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>

#include "../common/records.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/writehook.h"
#include "core/replacefile.h"
#include "core/safetycopies.h"
#include "test_support.h"

using namespace fondaro;
using namespace fondaro::safety;
using fondaro::testing::namesIn;
using fondaro::testing::readAll;
using fondaro::testing::removeContents;
using fondaro::testing::runTool;
using fondaro::testing::ToolRun;
using fondaro::testing::writeAll;

namespace {

// Files by their bytes: names need not be UTF-8.
QByteArray get(const QByteArray& p) {
  std::ifstream in(p.toStdString(), std::ios::binary);
  return QByteArray::fromStdString(std::string(std::istreambuf_iterator<char>(in), {}));
}
void put(const QByteArray& p, const QByteArray& bytes) {
  std::ofstream out(p.toStdString(), std::ios::binary | std::ios::trunc);
  out.write(bytes.constData(), bytes.size());
}

qint64 fileSize(const QByteArray& p) {
  struct stat st {};
  return ::stat(p.constData(), &st) == 0 ? st.st_size : -1;
}


const QDateTime kMorning(QDate(2024, 5, 2), QTime(8, 30, 0));

class SafetyCopiesTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QByteArray folder() const { return QFile::encodeName(dir.path()); }
  QByteArray path(const char* name) const { return joinPath(folder(), name); }
  QByteArray copies() const { return copiesFolderOf(folder()); }
  void TearDown() override { removeContents(folder()); }

  void appendMovements(const QByteArray& archive, int n, const QString& prefix = u"Quota"_qs) {
    auto a = MovementArchive::OpenOrCreate(archive);
    for (int i = 0; i < n; ++i) a.Append(testdata::movement(prefix + QString::number(i)));
    a.Close();
  }
  // Every file of a folder (one level of subfolders), by relative name; the
  // copies folder left out.
  std::map<QByteArray, QByteArray> contents(const QByteArray& f) const {
    std::map<QByteArray, QByteArray> all;
    for (const QByteArray& n : namesIn(f)) {
      if (n == kCopiesFolderName) continue;
      const QByteArray p = joinPath(f, n);
      struct stat st {};
      if (::stat(p.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        for (const QByteArray& m : namesIn(p)) all[n + '/' + m] = get(joinPath(p, m));
      } else {
        all[n] = get(p);
      }
    }
    return all;
  }
  // The data of a program folder: two years, the address book, the password
  // file and attachments, one with a Latin-1 name.
  void fillProgramFolder() {
    appendMovements(path("2023.eur"), 3);
    appendMovements(path("2024.eur"), 2);
    auto c = ClientArchive::OpenOrCreate(path("Clienti.pro"));
    c.Append(testdata::record<TCliente>({{cli::Note, u"Rossi"}}));
    c.Close();
    writeAll(QFile::decodeName(path("unins000.dll")), "[Accesso]\r\nValore=ABC\r\n");
    QDir().mkpath(QFile::decodeName(path("Documenti_Allegati")));
    writeAll(QFile::decodeName(path("Documenti_Allegati/fattura.pdf")), QByteArray("%PDF\0\x01\xFF", 7));
    put(path("Documenti_Allegati/ricevuta\xE8.txt"), "ricevuta");
  }
};

}  // namespace

// ---- The day copy ------------------------------------------------------------

TEST_F(SafetyCopiesTest, FirstWriteOfTheDayCopiesEachFileOnceAndKeepsTheFirst) {
  appendMovements(path("2024.eur"), 2);
  writeAll(QFile::decodeName(path("unins000.dll")), "[Accesso]\r\nValore=X\r\n");
  const QByteArray morning = readAll(QFile::decodeName(path("2024.eur")));

  EXPECT_EQ(copyBeforeWriting(path("Clienti.pro"), kMorning).result, DayCopy::Result::NoFile);
  EXPECT_EQ(copyBeforeWriting(path("2024.eur"), kMorning).result, DayCopy::Result::Made);
  appendMovements(path("2024.eur"), 1);
  EXPECT_EQ(copyBeforeWriting(path("2024.eur"), kMorning.addSecs(3600)).result, DayCopy::Result::AlreadyMade);
  EXPECT_EQ(copyBeforeWriting(path("unins000.dll"), kMorning).result, DayCopy::Result::Made);

  const QByteArray day = joinPath(copies(), "2024-05-02");
  EXPECT_EQ(namesIn(day), (std::set<QByteArray>{"2024.eur", "unins000.dll", kManifestName}));
  EXPECT_EQ(readAll(QFile::decodeName(joinPath(day, "2024.eur"))), morning);
  const Manifest m = readManifest(day);
  EXPECT_EQ(m.kind, CopyKind::Day);
  ASSERT_EQ(m.files.size(), 2);
  EXPECT_EQ(verifyCopy(day).state, Verification::State::Verified);

  // The next day the archive as it then stands.
  EXPECT_EQ(copyBeforeWriting(path("2024.eur"), kMorning.addDays(1)).result, DayCopy::Result::Made);
  EXPECT_EQ(fileSize(joinPath(copies(), "2024-05-03/2024.eur")), 3 * qint64(sizeof(TMovimento)));
}

// The copy is part of the write: a writer that knows nothing of copies gets
// today's copy of each data file it writes, once, as it stood before its
// first write; files that are not data files get none; a copy that cannot be
// made is told once and the writes go on.
TEST_F(SafetyCopiesTest, EveryWriteOfADataFileTakesTheDayCopyWithoutAsking) {
  fillProgramFolder();
  QList<QByteArray> failed;
  installDayCopies([&](const QByteArray& file, const CopyError&) { failed << file; });
  forgetDayCopies();
  struct Uninstall {
    ~Uninstall() { setBeforeWriteHook({}); }
  } uninstall;
  std::map<QByteArray, QByteArray> before;
  for (const char* name : {"2023.eur", "2024.eur", "Clienti.pro", "unins000.dll"}) before[name] = get(path(name));

  {
    RecordFile f = RecordFile::openExisting(path("2024.eur"), int(sizeof(TMovimento)), RecordFile::Access::ReadWrite);
    const TMovimento m = testdata::movement(u"Nuova"_qs);
    f.append(&m);
    f.append(&m);
  }
  auto a = MovementArchive::OpenExisting(path("2023.eur"), RecordFile::Access::ReadWrite);
  a.WriteAt(1, testdata::movement(u"Cambiata"_qs));
  a.Close();
  const TCliente c = testdata::record<TCliente>({{cli::Note, u"Bianchi"}});
  ClientArchive::OpenOrCreate(path("Clienti.pro")).AppendAll(std::span<const TCliente>(&c, 1));
  writeStoredPassword(folder() + '/', u"nuova");  // a program folder ends with its separator
  RecordFile::openOrCreate(path("Ricorrenti.lock"), 1).appendChosen([](qint64) { return QByteArray(); });

  const QByteArray day = joinPath(copies(), QDate::currentDate().toString(u"yyyy-MM-dd"_qs).toLatin1());
  EXPECT_EQ(namesIn(day), (std::set<QByteArray>{"2023.eur", "2024.eur", "Clienti.pro", "unins000.dll", kManifestName}));
  for (const auto& [name, bytes] : before) EXPECT_EQ(get(joinPath(day, name)), bytes) << name.constData();
  EXPECT_EQ(verifyCopy(day).state, Verification::State::Verified);
  EXPECT_TRUE(failed.isEmpty());

  // A file where the copies folder goes: told once, and the write is made.
  removeContents(folder());
  appendMovements(path("2024.eur"), 1);
  put(copies(), "non una cartella");
  forgetDayCopies();
  appendMovements(path("2024.eur"), 2);
  EXPECT_EQ(failed, QList<QByteArray>{path("2024.eur")});
  EXPECT_EQ(fileSize(path("2024.eur")), 3 * qint64(sizeof(TMovimento)));
}

TEST_F(SafetyCopiesTest, AppendTakesOneDayCopyOfTheArchiveAsItStoodBeforeTheFirstAppend) {
  appendMovements(path("2024.eur"), 1);
  const QByteArray before = readAll(QFile::decodeName(path("2024.eur")));
  const QByteArray line = R"({"Causale":"Nuova"})" "\n";
  for (int i = 0; i < 2; ++i) {
    const ToolRun r = runTool({u"append"_qs, QFile::decodeName(path("2024.eur"))}, line);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
  }
  const QByteArray day = joinPath(copies(), QDate::currentDate().toString(u"yyyy-MM-dd"_qs).toLatin1());
  EXPECT_EQ(namesIn(day), (std::set<QByteArray>{"2024.eur", kManifestName}));
  EXPECT_EQ(readAll(QFile::decodeName(joinPath(day, "2024.eur"))), before);
}

// A copy taken while another process appends holds whole records only: a
// prefix of what the archive ends up holding.
TEST_F(SafetyCopiesTest, CopyWhileAnotherProcessAppendsIsAWholeRecordPrefix) {
  constexpr int kRecord = int(sizeof(TMovimento));
  constexpr int kRecords = 400;
  const QByteArray archive = path("2024.eur");
  appendMovements(archive, 1);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    RecordFile f = RecordFile::openOrCreate(archive, kRecord);
    QByteArray rec(kRecord, '\0');
    for (int i = 0; i < kRecords; ++i) {
      rec.fill(char('A' + i % 26));
      f.append(rec.constData());
    }
    ::_exit(0);
  }
  QList<QByteArray> taken;
  for (int i = 0; i < 60; ++i) {
    const QByteArray into = joinPath(folder(), "fuori" + QByteArray::number(i));
    ASSERT_TRUE(makeFolders(into));
    taken << readAll(QFile::decodeName(joinPath(makeFullCopy(folder(), into, CopyKind::Full).path, "2024.eur")));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  const QByteArray final = readAll(QFile::decodeName(archive));
  ASSERT_EQ(final.size(), qint64(kRecords + 1) * kRecord);
  for (const QByteArray& copy : taken) {
    EXPECT_EQ(copy.size() % kRecord, 0);
    EXPECT_EQ(copy, final.left(copy.size()));
  }
}

// ---- Retention ---------------------------------------------------------------

// Only our day copies go, and of them only what the copy made: a dated folder
// of the user's, a file the user put into one of ours, and whatever a link
// leads to stay, even where a link leads to something that looks like ours.
TEST_F(SafetyCopiesTest, RetentionRemovesOnlyWhatOurOldDayCopiesMade) {
  appendMovements(path("2024.eur"), 1);
  for (int d = 1; d <= 5; ++d) copyBeforeWriting(path("2024.eur"), QDateTime(QDate(2024, 1, d), QTime(9, 0)));
  const QString c = QFile::decodeName(copies());
  writeAll(c + u"/2024-01-02/nota.txt"_qs, "mia");
  QDir().mkpath(c + u"/2023-12-28"_qs);
  writeAll(c + u"/2023-12-28/foto.jpg"_qs, "foto");
  QDir().mkpath(c + u"/2023-12-31_10-00-00"_qs);
  QDir().mkpath(c + u"/2023-13-45"_qs);
  QDir().mkpath(c + u"/appunti"_qs);
  writeAll(c + u"/2023-12-30"_qs, "un file");
  // Elsewhere, a folder that holds a day copy's manifest and files, reached
  // through a dated link in the copies folder.
  QDir().mkpath(QFile::decodeName(path("altrove")));
  for (const char* name : {"2024.eur", kManifestName})
    put(joinPath(path("altrove"), name), get(joinPath(joinPath(copies(), "2024-01-01"), name)));
  ASSERT_EQ(::symlink(path("altrove").constData(), joinPath(copies(), "2023-12-29").constData()), 0);
  const auto elsewhere = contents(path("altrove"));

  const QList<QByteArray> removed = removeOldDayCopies(copies(), 2);
  EXPECT_EQ(removed.size(), 3);
  EXPECT_EQ(namesIn(copies()), (std::set<QByteArray>{"2024-01-02", "2024-01-04", "2024-01-05", "2023-12-28",
                                                       "2023-12-31_10-00-00", "2023-13-45", "appunti", "2023-12-30",
                                                       "2023-12-29"}));
  EXPECT_EQ(namesIn(joinPath(copies(), "2024-01-02")), std::set<QByteArray>{"nota.txt"});
  EXPECT_EQ(get(joinPath(copies(), "2023-12-28/foto.jpg")), "foto");
  EXPECT_EQ(contents(path("altrove")), elsewhere);
}

TEST_F(SafetyCopiesTest, TheDayCopyKeepsTheDaysOfTheSetting) {
  appendMovements(path("2024.eur"), 1);
  EXPECT_EQ(keepDays(copies()), kDefaultKeepDays);
  setKeepDays(copies(), 3);
  EXPECT_EQ(keepDays(copies()), 3);
  for (int d = 0; d < 5; ++d) copyBeforeWriting(path("2024.eur"), kMorning.addDays(d));
  std::set<QByteArray> days = namesIn(copies());
  days.erase(kSettingsName);
  EXPECT_EQ(days, (std::set<QByteArray>{"2024-05-04", "2024-05-05", "2024-05-06"}));
}

// ---- Full copies --------------------------------------------------------------

TEST_F(SafetyCopiesTest, FullCopyHoldsEveryDataFileAndNamesCopiesOfOneSecondApart) {
  fillProgramFolder();
  const FullCopy a = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  const FullCopy b = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  EXPECT_EQ(a.path, joinPath(copies(), "2024-05-02_08-30-00"));
  EXPECT_EQ(b.path, joinPath(copies(), "2024-05-02_08-30-00-2"));
  EXPECT_EQ(a.files, 6);
  auto held = contents(a.path);
  held.erase(kManifestName);
  EXPECT_EQ(held, contents(folder()));
  const QList<CopyInfo> listed = listCopies(copies());
  ASSERT_EQ(listed.size(), 2);
  EXPECT_EQ(listed[0].path, b.path);  // newest first; in the same second, the later name first
  for (const CopyInfo& c : listed) EXPECT_EQ(c.verification.state, Verification::State::Verified);
}

// The kernel copies within a file system; onto another (a USB stick, here a
// memory file system) the bytes go through the program: both give whole
// files whose manifest lines hold their SHA-256 as 64 lower-case hex digits.
TEST_F(SafetyCopiesTest, ACopyOntoAnotherFileSystemIsWholeAndItsManifestHoldsEachHash) {
  fillProgramFolder();
  appendMovements(path("2024.eur"), 400, u"Lunga"_qs);  // more than one block
  struct stat here {}, there {};
  if (::stat("/dev/shm", &there) != 0 || ::stat(folder().constData(), &here) != 0 || here.st_dev == there.st_dev)
    GTEST_SKIP() << "no second file system at /dev/shm";
  QTemporaryDir stick(u"/dev/shm/fondaro-test-XXXXXX"_qs);
  ASSERT_TRUE(stick.isValid());
  for (const QByteArray& into : {copies(), QFile::encodeName(stick.path())}) {
    ASSERT_TRUE(makeFolders(into));
    const FullCopy c = makeFullCopy(folder(), into, CopyKind::Full, {}, kMorning);
    auto held = contents(c.path);
    const QByteArray manifest = held[kManifestName];
    held.erase(kManifestName);
    EXPECT_EQ(held, contents(folder())) << into.constData();
    for (const auto& [name, bytes] : held) {
      const QByteArray line = "file " + QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex() + ' ' +
                              QByteArray::number(bytes.size()) + ' ' + name + '\n';
      EXPECT_TRUE(manifest.contains(line)) << line.constData();
    }
    EXPECT_EQ(verifyCopy(c.path).state, Verification::State::Verified);
  }
}

TEST_F(SafetyCopiesTest, ACancelledCopyLeavesNothingBehind) {
  fillProgramFolder();
  const QByteArray into = path("chiavetta");
  ASSERT_TRUE(makeFolders(into));
  int calls = 0;
  EXPECT_THROW(makeFullCopy(folder(), into, CopyKind::Full, [&](qint64, qint64) { return ++calls < 3; }),
               Cancelled);
  EXPECT_TRUE(namesIn(into).empty());
  EXPECT_THROW(makeFullCopy(folder(), path("manca"), CopyKind::Full), CopyError);
}

// ---- Verification and restore -----------------------------------------------------

TEST_F(SafetyCopiesTest, ADamagedCopyIsFoundAndRefusedAtRestore) {
  struct Case {
    const char* what;
    std::function<void(const QByteArray& copy)> damage;
    CopyError::Damage expected;
  };
  const Case cases[] = {
      {"one byte changed",
       [](const QByteArray& copy) {
         QFile f(QFile::decodeName(joinPath(copy, "2024.eur")));
         ASSERT_TRUE(f.open(QIODevice::ReadWrite));
         f.seek(100);
         const char b = f.read(1)[0];
         f.seek(100);
         f.write(QByteArray(1, char(b ^ 1)));
       },
       CopyError::Damage::Content},
      {"cut short", [](const QByteArray& copy) { ::truncate(joinPath(copy, "Clienti.pro").constData(), 10); },
       CopyError::Damage::Size},
      {"attachment removed",
       [](const QByteArray& copy) { ::unlink(joinPath(copy, "Documenti_Allegati/fattura.pdf").constData()); },
       CopyError::Damage::Missing},
      {"manifest edited",
       [](const QByteArray& copy) {
         QFile f(QFile::decodeName(joinPath(copy, kManifestName)));
         ASSERT_TRUE(f.open(QIODevice::Append));
         f.write("riga estranea\n");
       },
       CopyError::Damage::Manifest},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    removeContents(folder());
    fillProgramFolder();
    const FullCopy copy = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
    appendMovements(path("2024.eur"), 1, u"Dopo"_qs);
    c.damage(copy.path);
    EXPECT_EQ(verifyCopy(copy.path).state, Verification::State::Damaged);
    EXPECT_EQ(verifyCopy(copy.path).damage, c.expected);
    auto before = contents(folder());
    try {
      restoreCopy(copy.path, folder());
      ADD_FAILURE() << "a damaged copy was restored";
    } catch (const CopyError& e) {
      EXPECT_EQ(e.reason(), CopyError::Reason::Damaged);
      EXPECT_FALSE(e.italian().isEmpty());
    }
    EXPECT_EQ(contents(folder()), before);  // nothing replaced, no copy of the current files made
  }
}

TEST_F(SafetyCopiesTest, RestoreRoundTripIsByteForByteAndKeepsWhatItReplaced) {
  fillProgramFolder();
  const FullCopy copy = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  auto saved = contents(copy.path);
  saved.erase(kManifestName);

  // A day of work after the copy.
  appendMovements(path("2024.eur"), 2, u"Dopo"_qs);
  writeAll(QFile::decodeName(path("unins000.dll")), "[Accesso]\r\nValore=NUOVA\r\n");
  writeAll(QFile::decodeName(path("Documenti_Allegati/fattura.pdf")), "cambiata");
  ::unlink(path("Documenti_Allegati/ricevuta\xE8.txt").constData());
  writeAll(QFile::decodeName(path("Documenti_Allegati/nuovo.txt")), "nuovo");
  appendMovements(path("2025.eur"), 1);
  const auto worked = contents(folder());

  const Restored r = restoreCopy(copy.path, folder(), {}, kMorning.addSecs(7200));
  EXPECT_TRUE(r.failed.isEmpty());
  EXPECT_EQ(r.restored.size(), 6);
  EXPECT_EQ(r.kept, (QList<QByteArray>{"2025.eur", "Documenti_Allegati/nuovo.txt"}));
  auto now = contents(folder());
  for (const auto& [name, bytes] : saved) EXPECT_EQ(now[name], bytes) << name.constData();
  EXPECT_EQ(now["Documenti_Allegati/nuovo.txt"], "nuovo");
  EXPECT_EQ(now["2025.eur"], worked.at("2025.eur"));

  // The copy made before the restore holds the day's work.
  EXPECT_EQ(r.before, joinPath(copies(), "2024-05-02_10-30-00_prima-del-ripristino"));
  EXPECT_EQ(verifyCopy(r.before).state, Verification::State::Verified);
  auto before = contents(r.before);
  before.erase(kManifestName);
  EXPECT_EQ(before, worked);
  EXPECT_EQ(listCopies(copies())[0].kind, CopyKind::BeforeRestore);
}

// ---- A full disk ----------------------------------------------------------------

// The program folder on a small RAM disk, nearly full: the day copy cannot be
// made, the append goes on, the archive keeps every record, the tool says so
// once, and no half copy is left.
TEST_F(SafetyCopiesTest, AFullDiskLeavesTheArchiveAndTheSaveAndWarnsOnce) {
  const QByteArray disk = path("disco");
  ASSERT_TRUE(makeFolders(disk));
  if (::mount("tmpfs", disk.constData(), "tmpfs", 0, "size=96k") != 0)
    GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << std::strerror(errno);
  struct Unmount {
    QByteArray at;
    ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
  } unmount{disk};
  const QByteArray archive = joinPath(disk, "2024.eur");
  appendMovements(archive, 16);  // 54 KiB of 96: no room for a copy beside it
  const QByteArray before = readAll(QFile::decodeName(archive));

  const ToolRun r = runTool({u"append"_qs, QFile::decodeName(archive)}, R"({"Causale":"Dopo"})" "\n");
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, u"17\n"_qs);
  EXPECT_EQ(r.err.count(u"warning"_qs), 1) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(u"No space left on device"_qs)) << r.err.toStdString();
  const QByteArray after = readAll(QFile::decodeName(archive));
  EXPECT_EQ(after.left(before.size()), before);
  EXPECT_EQ(after.size(), before.size() + qint64(sizeof(TMovimento)));
  // Nothing half made: no copy, no temporary file.
  const QByteArray day = joinPath(copiesFolderOf(disk), QDate::currentDate().toString(u"yyyy-MM-dd"_qs).toLatin1());
  EXPECT_FALSE(pathExists(day)) << "an empty day folder is left";
  EXPECT_FALSE(pathExists(copiesFolderOf(disk))) << "an empty copies folder is left";
}

// ---- Leftovers and refusals --------------------------------------------------------

// What a killed backup, restore or write left behind goes at the next backup,
// restore or listing: a temporary copy folder or file that nobody works on and
// that is not brand new. One a running program holds stays, however old;
// names that are not of our making stay.
TEST_F(SafetyCopiesTest, LeftoversOfKilledCopiesGoAndWorkInProgressStays) {
  fillProgramFolder();
  ASSERT_TRUE(makeFolders(copies()));
  const auto age = [](const QByteArray& p, int seconds) {
    const struct timespec t[2] = {{std::time(nullptr) - seconds, 0}, {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, p.constData(), t, AT_SYMLINK_NOFOLLOW), 0);
  };
  const QByteArray killedCopy = joinPath(copies(), ".fondaro-copia-abc123");
  ASSERT_TRUE(makeFolders(joinPath(killedCopy, "Documenti_Allegati")));
  put(joinPath(killedCopy, "2024.eur"), "mezzo");
  put(joinPath(killedCopy, "Documenti_Allegati/x.pdf"), "mezzo");
  age(killedCopy, 120);
  const QByteArray killedWrite = path(".fondaro-q1w2e3.tmp");
  put(killedWrite, "mezzo");
  age(killedWrite, 120);
  const QByteArray fresh = joinPath(copies(), ".fondaro-copia-zzz999");
  ASSERT_TRUE(makeFolders(fresh));
  const QByteArray working = joinPath(copies(), ".fondaro-copia-wrk000");
  ASSERT_TRUE(makeFolders(working));
  age(working, 7200);
  const int held = ::open(working.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  const QByteArray userFile = path(".fondaro-mio.txt");
  put(userFile, "mio");
  age(userFile, 7200);

  listCopies(copies(), false);
  EXPECT_FALSE(pathExists(killedCopy));
  EXPECT_TRUE(pathExists(killedWrite));  // the listing looks at the copies folder only
  makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  EXPECT_FALSE(pathExists(killedWrite));
  EXPECT_TRUE(pathExists(fresh));
  EXPECT_TRUE(pathExists(working));
  EXPECT_EQ(get(userFile), "mio");
  ::close(held);
}

// A file the restore may not replace is named with its reason, and the others
// are put back.
TEST_F(SafetyCopiesTest, ARestoreRefusedForOneFileSaysWhyAndRestoresTheOthers) {
  fillProgramFolder();
  const FullCopy copy = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  appendMovements(path("2024.eur"), 1, u"Dopo"_qs);
  appendMovements(path("2023.eur"), 1, u"Dopo"_qs);
  ASSERT_EQ(::chmod(path("2024.eur").constData(), 0444), 0);
  const Restored r = restoreCopy(copy.path, folder(), {}, kMorning.addSecs(60));
  ::chmod(path("2024.eur").constData(), 0644);
  ASSERT_EQ(r.failed.size(), 1);
  EXPECT_EQ(r.failed[0].name, "2024.eur");
  EXPECT_TRUE(r.failed[0].english.contains(u"read-only"_qs)) << r.failed[0].english.toStdString();
  EXPECT_TRUE(r.failed[0].italian.contains(u"sola lettura"_qs)) << r.failed[0].italian.toStdString();
  EXPECT_EQ(r.restored.size(), 5);
  EXPECT_EQ(get(path("2023.eur")), get(joinPath(copy.path, "2023.eur")));
}

// ---- A restore while others write ---------------------------------------------------

namespace {

// A record that names its writer and its number, in the archive's record size.
QByteArray markedRecord(int size, int writer, int number) {
  QByteArray r(size, '\0');
  const QByteArray mark = "writer " + QByteArray::number(writer) + " record " + QByteArray::number(number);
  std::memcpy(r.data(), mark.constData(), size_t(mark.size()));
  return r;
}

// Appends marked records through one long-open file until `stop` exists, and
// notes the number of each record it was told is stored.
[[noreturn]] void keepAppending(const QByteArray& archive, int size, int writer, const QByteArray& report,
                                const QByteArray& stop) {
  const int out = ::open(report.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  RecordFile f = RecordFile::openOrCreate(archive, size);
  for (int i = 0; i < 100000 && !pathExists(stop); ++i) {
    try {
      f.append(markedRecord(size, writer, i).constData());
    } catch (const ArchiveError&) {
      continue;
    }
    const QByteArray line = QByteArray::number(i) + '\n';
    if (::write(out, line.constData(), size_t(line.size())) != line.size()) ::_exit(3);
  }
  ::_exit(0);
}

}  // namespace

// Three writers keep one file each open and append while the folder is
// restored again and again: every record a writer was told is stored is in
// the folder afterwards or in one of the copies the restores made of what they
// replaced. Writers that had the replaced file open write into the restored one.
TEST_F(SafetyCopiesTest, ARestoreRacingWritersLosesNoRecordTheyWereToldIsStored) {
  fillProgramFolder();
  const FullCopy copy = makeFullCopy(folder(), copies(), CopyKind::Full, {}, kMorning);
  struct Writer {
    const char* archive;
    int size;
  };
  const Writer writers[] = {{"2024.eur", int(sizeof(TMovimento))},
                            {"2024.eur", int(sizeof(TMovimento))},
                            {"Clienti.pro", int(sizeof(TCliente))}};
  const QByteArray stop = path("basta");
  std::vector<pid_t> children;
  for (int w = 0; w < 3; ++w) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
      keepAppending(path(writers[w].archive), writers[w].size, w, path("scritti" + QByteArray::number(w)), stop);
    children.push_back(child);
  }
  QList<QByteArray> befores;
  for (int round = 0; round < 12; ++round) {
    ::usleep(20000);
    const Restored r = restoreCopy(copy.path, folder(), {}, kMorning.addSecs(3600 + round));
    EXPECT_TRUE(r.failed.isEmpty());
    befores << r.before;
  }
  put(stop, "");
  for (const pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  QSet<QByteArray> stored;
  for (const QByteArray& place : QList<QByteArray>{folder()} + befores) {
    for (const Writer& w : writers) {
      const QByteArray bytes = get(joinPath(place, w.archive));
      for (qsizetype at = 0; at + w.size <= bytes.size(); at += w.size) stored.insert(bytes.mid(at, w.size));
    }
  }
  int reported = 0, lost = 0;
  for (int w = 0; w < 3; ++w) {
    for (const QByteArray& line : get(path("scritti" + QByteArray::number(w))).split('\n')) {
      if (line.isEmpty()) continue;
      ++reported;
      if (!stored.contains(markedRecord(writers[w].size, w, line.toInt()))) ++lost;
    }
  }
  EXPECT_GT(reported, 0);
  EXPECT_EQ(lost, 0) << lost << " of " << reported << " records reported as stored are nowhere";
}

