// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QCryptographicHash>
#include <QTemporaryDir>

#include "../common/records.h"
#include "core/archive.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

namespace {

TMovimento movement(const QString& causale, const QString& importo = QStringLiteral("10,00")) {
  return testdata::movement(causale, u"05/03/2024", importo);
}

TCliente client(const QString& name) {
  return testdata::record<TCliente>({{cli::Cliente, name}, {cli::Ricontatta, kSi}});
}

class ArchiveTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path(const QString& name) const { return dir.filePath(name); }
};

}  // namespace

TEST_F(ArchiveTest, OpenOrCreateMakesAnEmptyFileOnlyWhenNoneExists) {
  const QString p = movementArchivePath(dir.path(), QStringLiteral("2024"));
  EXPECT_EQ(QFileInfo(p).fileName(), QStringLiteral("2024.eur"));
  {
    auto a = MovementArchive::OpenOrCreate(p);
    EXPECT_EQ(a.Count(), 0);
    a.Close();
  }
  ASSERT_TRUE(QFile::exists(p));
  EXPECT_EQ(QFileInfo(p).size(), 0);
}

TEST_F(ArchiveTest, AppendReadAndWriteInPlace) {
  const QString p = clientArchivePath(dir.path() + u'/');
  EXPECT_TRUE(p.endsWith(QStringLiteral("/Clienti.pro")));
  EXPECT_FALSE(p.contains(QStringLiteral("//")));
  auto a = ClientArchive::OpenOrCreate(p);
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(a.Append(client(QStringLiteral("Cliente %1").arg(i))), i);
  EXPECT_EQ(a.Append(client(QStringLiteral("Rossi Mario"))), 8);
  EXPECT_EQ(a.Count(), 8);
  a.WriteAt(3, client(QStringLiteral("Bianchi Anna")));
  EXPECT_EQ(a.Count(), 8);
  EXPECT_EQ(a.ReadAt(3).Cliente.get(), QStringLiteral("Bianchi Anna"));
  EXPECT_EQ(a.ReadAt(8).Cliente.get(), QStringLiteral("Rossi Mario"));
  EXPECT_EQ(a.ReadAt(2).Cliente.get(), QStringLiteral("Cliente 2"));
  a.Close();
  const QByteArray bytes = readAll(p);
  ASSERT_EQ(bytes.size(), 8 * 3372);
  // Record 8 starts at 7 * 3372 with the name and, at 1863, the flag.
  EXPECT_EQ(bytes.mid(7 * 3372, 12), QByteArray("\x0bRossi Mario"));
  EXPECT_EQ(bytes.mid(7 * 3372 + 1863, 3), QByteArray::fromHex("0253EC"));
}

TEST_F(ArchiveTest, TrailingFragmentIsNeverCountedOrRead) {
  const QString p = path(QStringLiteral("Clienti.pro"));
  QByteArray bytes;
  for (int i = 0; i < 3; ++i) {
    const TCliente c = client(QStringLiteral("C%1").arg(i + 1));
    bytes.append(reinterpret_cast<const char*>(&c), sizeof c);
  }
  bytes.append(QByteArray(100, '\xff'));
  writeAll(p, bytes);
  auto a = ClientArchive::OpenOrCreate(p);
  EXPECT_EQ(a.Count(), 3);
  EXPECT_EQ(a.file().trailingBytes(), 100);
  EXPECT_THROW(a.ReadAt(4), ArchiveError);
  EXPECT_THROW(a.ReadAt(0), ArchiveError);
  EXPECT_THROW(a.WriteAt(4, client(QStringLiteral("x"))), ArchiveError);
  QStringList seen;
  a.Scan([&](qint64, ClienteView v) { seen << v.trimmed(cli::Cliente); });
  EXPECT_EQ(seen, (QStringList{QStringLiteral("C1"), QStringLiteral("C2"), QStringLiteral("C3")}));
  // An append lands at the record boundary, over the fragment.
  EXPECT_EQ(a.Append(client(QStringLiteral("C4"))), 4);
  a.Close();
  EXPECT_EQ(QFileInfo(p).size(), 4 * 3372);
}

TEST_F(ArchiveTest, AnExistingFileThatCannotBeOpenedIsAnErrorAndStaysAsItWas) {
  // A folder in place of the archive cannot be opened for writing; it must not
  // be replaced by an empty archive.
  const QString p = path(QStringLiteral("2023.eur"));
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2023.eur")));
  writeAll(p + QStringLiteral("/keep.txt"), "data");
  try {
    MovementArchive::OpenOrCreate(p);
    FAIL() << "opened a folder";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.op(), ArchiveError::Op::Open);
  }
  EXPECT_EQ(readAll(p + QStringLiteral("/keep.txt")), QByteArray("data"));
}

// A pipe or a device under an archive's name is no archive: opening it is an
// error at once. A pipe opened for reading would wait for a writer forever, and
// /dev/zero would give records without end.
TEST_F(ArchiveTest, APipeOrADeviceIsNoArchive) {
  const QString pipe = path(QStringLiteral("2024.eur"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  const QString device = path(QStringLiteral("2023.eur"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), device));
  for (const QString& p : {pipe, device}) {
    SCOPED_TRACE(p.toStdString());
    for (auto access : {RecordFile::Access::ReadOnly, RecordFile::Access::ReadWrite}) {
      try {
        MovementArchive::OpenExisting(p, access);
        FAIL() << "opened";
      } catch (const ArchiveError& e) {
        EXPECT_EQ(e.op(), ArchiveError::Op::Open);
      }
    }
    try {
      MovementArchive::OpenOrCreate(p);
      FAIL() << "opened";
    } catch (const ArchiveError& e) {
      EXPECT_EQ(e.op(), ArchiveError::Op::Open);
    }
  }
  EXPECT_TRUE(QFileInfo(pipe).exists());
  EXPECT_FALSE(QFileInfo(pipe).isFile());
}

TEST_F(ArchiveTest, CreateInAMissingFolderFails) {
  try {
    MovementArchive::OpenOrCreate(path(QStringLiteral("no/such/2024.eur")));
    FAIL();
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.op(), ArchiveError::Op::Create);
  }
}

TEST_F(ArchiveTest, OpenExistingNeverCreates) {
  const QString p = path(QStringLiteral("2022.eur"));
  EXPECT_THROW(MovementArchive::OpenExisting(p, RecordFile::Access::ReadOnly), ArchiveError);
  EXPECT_FALSE(QFile::exists(p));
}

TEST_F(ArchiveTest, ScanCrossesBlocksInOrderAndStopsOnRequest) {
  const QString p = path(QStringLiteral("2024.eur"));
  auto a = MovementArchive::OpenOrCreate(p);
  for (int i = 1; i <= 10; ++i) a.Append(movement(QStringLiteral("M%1").arg(i)));
  // Blocks of three records, and one smaller than a record.
  for (qint64 block : {qint64(3 * 3414), qint64(100)}) {
    QStringList seen;
    QList<qint64> positions;
    a.Scan(
        [&](qint64 pos, MovimentoView v) {
          positions << pos;
          seen << v.text(mov::Causale);
        },
        block);
    ASSERT_EQ(seen.size(), 10);
    EXPECT_EQ(seen.front(), QStringLiteral("M1"));
    EXPECT_EQ(seen.back(), QStringLiteral("M10"));
    EXPECT_EQ(positions.back(), 10);
  }
  int visited = 0;
  a.Scan([&](qint64 pos, MovimentoView) {
    ++visited;
    return pos < 4;
  });
  EXPECT_EQ(visited, 4);
}

TEST_F(ArchiveTest, EveryFieldSurvivesTheFile) {
  const QString p = path(QStringLiteral("2024.eur"));
  TMovimento r;
  for (int f = 0; f < TMovimento::FieldCount; ++f) {
    setFieldText(r, f, QStringLiteral("%1 \u20AC\u00E8").arg(QLatin1String(TMovimento::fields()[f].name)));
  }
  auto a = MovementArchive::OpenOrCreate(p);
  a.Append(r);
  const TMovimento back = a.ReadAt(1);
  for (int f = 0; f < TMovimento::FieldCount; ++f) {
    EXPECT_EQ(fieldText(back, f), fieldText(r, f)) << TMovimento::fields()[f].name;
  }
}

// Four running copies append at the same moment: every record lands at its own
// position and none is overwritten.
TEST_F(ArchiveTest, ConcurrentAppendsFromSeveralProcessesNeverOverwrite) {
  const QString p = path(QStringLiteral("2025.eur"));
  constexpr int kProcesses = 4;
  constexpr int kEach = 250;
  int startPipe[2];
  ASSERT_EQ(pipe(startPipe), 0);
  std::vector<pid_t> children;
  for (int k = 0; k < kProcesses; ++k) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      close(startPipe[1]);
      char c;
      (void)!read(startPipe[0], &c, 1);  // all start together when the pipe closes
      int rc = 0;
      for (int i = 0; i < kEach; ++i) {
        try {
          auto a = MovementArchive::OpenOrCreate(p);  // one open per action, as the editor does
          a.Append(movement(QStringLiteral("P%1-%2").arg(k).arg(i), QStringLiteral("%1,%2").arg(k).arg(i % 100, 2, 10, QLatin1Char('0'))));
          a.Close();
        } catch (...) {
          rc = 1;
        }
      }
      _exit(rc);
    }
    children.push_back(pid);
  }
  close(startPipe[0]);
  close(startPipe[1]);
  for (pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  auto a = MovementArchive::OpenOrCreate(p);
  ASSERT_EQ(a.Count(), kProcesses * kEach);
  EXPECT_EQ(a.file().trailingBytes(), 0);
  QSet<QString> seen;
  a.Scan([&](qint64, MovimentoView v) {
    const QString c = v.text(mov::Causale);
    seen.insert(c);
    const QStringList parts = c.mid(1).split(u'-');
    ASSERT_EQ(parts.size(), 2) << c.toStdString();
    const QString expected = QStringLiteral("%1,%2").arg(parts[0]).arg(parts[1].toInt() % 100, 2, 10, QLatin1Char('0'));
    EXPECT_EQ(v.text(mov::Importo), expected);
    EXPECT_EQ(v.text(mov::Totale), u'+' + expected);
    EXPECT_EQ(v.text(mov::Entrata), kSi);
  });
  EXPECT_EQ(seen.size(), kProcesses * kEach);
}

// A read that fails in the middle of a scan is reported, not taken for the end
// of the file. /proc/self/mem answers reads at address 0 with an I/O error.
TEST(ArchiveScan, ReadFailureIsReported) {
  auto a = MovementArchive::OpenExisting(QStringLiteral("/proc/self/mem"), RecordFile::Access::ReadOnly);
  int visited = 0;
  try {
    a.Scan([&](qint64, MovimentoView) { ++visited; });
    FAIL() << "the scan ended as if the file were whole";
  } catch (const ArchiveError& e) {
    EXPECT_EQ(e.op(), ArchiveError::Op::Read);
  }
  EXPECT_EQ(visited, 0);
}

// A rewrite in place cut by a power cut: the journal beside the archive (magic,
// position, old record, new record, SHA-256 of them) as the rewrite writes it,
// with the archive as the disk may hold it.
TEST_F(ArchiveTest, AnInterruptedRewriteIsFinishedByTheNextOpenOnlyForItsOwnRecord) {
  const TMovimento old = movement(u"Affitto"_qs), neu = movement(u"Affitto di marzo"_qs, u"510,00"_qs);
  const TMovimento other = movement(u"Un'altra scheda"_qs, u"1,00"_qs);
  const QByteArray oldBytes(reinterpret_cast<const char*>(&old), sizeof old);
  const QByteArray newBytes(reinterpret_cast<const char*>(&neu), sizeof neu);
  const auto journal = [&](bool whole) {
    QByteArray j("FNDRISC1");
    const quint64 position = 2;
    j.append(reinterpret_cast<const char*>(&position), sizeof position);
    j += oldBytes + newBytes;
    QByteArray hash = QCryptographicHash::hash(j, QCryptographicHash::Sha256);
    if (!whole) hash[0] = char(hash[0] ^ 1);
    return j + hash;
  };
  // Record 2 starts at byte 3414: its first sectors end at 3584 and 4096.
  QByteArray torn = oldBytes;
  torn.replace(0, 4096 - 3414, newBytes.left(4096 - 3414));
  const QByteArray otherBytes(reinterpret_cast<const char*>(&other), sizeof other);
  struct Case {
    const char* name;
    QByteArray onDisk;      // record 2 as the power cut left it
    bool wholeJournal;
    QByteArray afterOpen;   // record 2 once the archive was opened
  } cases[] = {
      {"cut after its first sectors", torn, true, newBytes},
      {"not yet written", oldBytes, true, newBytes},
      {"another file under the name", otherBytes, true, otherBytes},
      {"a journal cut short", torn, false, torn},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const QString p = path(u"2024.eur"_qs), j = path(u".2024.eur.riscrittura"_qs);
    writeAll(p, QByteArray(reinterpret_cast<const char*>(&other), sizeof other) + c.onDisk + oldBytes);
    writeAll(j, journal(c.wholeJournal));
    auto a = MovementArchive::OpenExisting(p, RecordFile::Access::ReadOnly);
    const TMovimento r = a.ReadAt(2);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&r), sizeof r), c.afterOpen);
    EXPECT_EQ(a.ReadAt(1).Causale.get(), u"Un'altra scheda"_qs);
    EXPECT_EQ(a.ReadAt(3).Causale.get(), u"Affitto"_qs);
    EXPECT_FALSE(QFile::exists(j));
  }
  // A rewrite that ends leaves no journal.
  auto a = MovementArchive::OpenExisting(path(u"2024.eur"_qs), RecordFile::Access::ReadWrite);
  a.WriteAt(3, neu);
  EXPECT_EQ(a.ReadAt(3).Causale.get(), u"Affitto di marzo"_qs);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"2024.eur"_qs});
}
