// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/archive.h"

#include "core/notice.h"

#include <QCryptographicHash>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <cerrno>
#include <cstring>
#include <vector>

#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/writehook.h"

namespace fondaro {
namespace {

const char* opName(ArchiveError::Op op) {
  switch (op) {
    case ArchiveError::Op::Open: return "cannot open";
    case ArchiveError::Op::Create: return "cannot create";
    case ArchiveError::Op::Stat: return "cannot read the size of";
    case ArchiveError::Op::Read: return "cannot read";
    case ArchiveError::Op::Write: return "cannot write";
    case ArchiveError::Op::Sync: return "cannot flush";
    case ArchiveError::Op::Close: return "cannot close";
    case ArchiveError::Op::Position: return "no such record in";
  }
  return "cannot use";
}

QString describeError(ArchiveError::Op op, ArchiveError::Cause cause, const QByteArray& native,
                      int err) {
  const QString path = displayPath(native);
  switch (cause) {
    case ArchiveError::Cause::NotRegular:
      return QStringLiteral("cannot open %1: it is not a regular file").arg(path);
    case ArchiveError::Cause::MissingLinkTarget:
      return QStringLiteral("cannot open %1: it is a link to a missing file").arg(path);
    case ArchiveError::Cause::System: break;
  }
  QString s = QStringLiteral("%1 %2").arg(QLatin1String(opName(op)), path);
  if (err != 0) s += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
  return s;
}

}  // namespace

// An advisory write lock on the whole file, held around "count, then write at
// the end" and around a rewrite in place; a safety copy holds the shared
// (read) lock, so that it sees only whole records. Open-file-description locks
// where the kernel has them, POSIX record locks otherwise. A file system
// without locks (some network shares) still takes the write: refusing to save
// would be worse than the old behaviour.
class AppendLock {
 public:
  explicit AppendLock(int fd, bool shared = false) : fd_(fd) {
    struct flock fl {};
    fl.l_type = shared ? F_RDLCK : F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    cmd_ = F_OFD_SETLKW;
    for (;;) {
      if (fcntl(fd_, cmd_, &fl) == 0) {
        locked_ = true;
        return;
      }
      if (errno == EINTR) continue;
      if (errno == EINVAL && cmd_ == F_OFD_SETLKW) {
        cmd_ = F_SETLKW;
        continue;
      }
      return;
    }
  }
  // Leaves the lock to the open file: it is released when the file is closed.
  void keep() { locked_ = false; }
  ~AppendLock() {
    if (!locked_) return;
    struct flock fl {};
    fl.l_type = F_UNLCK;
    fl.l_whence = SEEK_SET;
    fcntl(fd_, cmd_ == F_OFD_SETLKW ? F_OFD_SETLK : F_SETLK, &fl);
  }
  AppendLock(const AppendLock&) = delete;
  AppendLock& operator=(const AppendLock&) = delete;

 private:
  int fd_;
  int cmd_ = 0;
  bool locked_ = false;
};

struct RecordFile::WriteLock {
  std::optional<AppendLock> lock;
};

struct WriteLockHolder {
  RecordFile::WriteLock lock;
};

ArchiveError::ArchiveError(Op op, QByteArray path, int sysError, Cause cause)
    : UserError(describeError(op, cause, path, sysError).toStdString()),
      op_(op),
      cause_(cause),
      path_(std::move(path)),
      err_(sysError) {}

QString ArchiveError::path() const { return decodePath(path_); }

QString ArchiveError::describe() const { return describeError(op_, cause_, path_, err_); }

UserError::Kind ArchiveError::errorKind() const {
  if (op_ == Op::Position) return Kind::Input;
  return cause_ == Cause::System ? Kind::System : Kind::Refused;
}

QString ArchiveError::italian() const { return archiveAccessMessage(); }

QString archiveAccessMessage() {
  return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.") + kParagraphBreak +
         QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

QString unconfirmedWriteMessage(qint64 p) {
  return QStringLiteral("Attenzione: la scheda è stata scritta nell'archivio in posizione %1, ma il disco "
                        "non ha confermato la scrittura.")
             .arg(p) +
         kParagraphBreak +
         QStringLiteral("Accertarsi che il disco funzioni, poi salvare di nuovo la scheda: verrà riscritta "
                        "nella stessa posizione, senza duplicarla.");
}

RecordFile::RecordFile(int fd, QByteArray path, int recordSize)
    : fd_(fd), path_(std::move(path)), recordSize_(recordSize) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), recordSize_(other.recordSize_), held_(other.held_) {
  other.fd_ = -1;
  other.held_ = false;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    recordSize_ = other.recordSize_;
    held_ = other.held_;
    other.fd_ = -1;
    other.held_ = false;
  }
  return *this;
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

namespace {

// Why an open failed: a file that is not a regular file is named as such.
[[noreturn]] void failOpen(const QByteArray& path, int err, bool notRegular) {
  throw ArchiveError(ArchiveError::Op::Open, path, err,
                     notRegular && err != EISDIR ? ArchiveError::Cause::NotRegular
                                                 : ArchiveError::Cause::System);
}

bool isDanglingLink(const QByteArray& path) {
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode) &&
         ::stat(path.constData(), &st) != 0 && errno == ENOENT;
}

}  // namespace

namespace {

bool sameIdentity(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether `path` names the file open as `fd`. A name that cannot be looked up
// for another reason than its absence tells nothing: the open file is used.
bool namesFile(const QByteArray& path, int fd) {
  struct stat open {}, named {};
  if (::fstat(fd, &open) != 0) return true;
  if (::stat(path.constData(), &named) != 0) return errno != ENOENT && errno != ENOTDIR;
  return sameIdentity(open, named);
}

// Makes a new folder entry durable: a power cut after the first write to a new
// archive must not lose the file's name.
void syncFolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  const QByteArray folder = slash < 0 ? QByteArrayLiteral(".") : slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  while (::fsync(fd) != 0 && errno == EINTR) {
  }
  ::close(fd);
}

// A rewrite in place spans several disk sectors, and a power cut while they
// are written can leave a record that is half the old one and half the new.
// So the old and the new record first go, whole and synced, into a journal
// beside the archive (".<name>.riscrittura": magic, position, old record, new
// record, a SHA-256 of them), the new one is then written in place, and the
// journal is removed. A journal still there (the power went meanwhile) is
// finished by whoever opens or holds the archive next: when every disk sector
// of the record holds the old or the new bytes, the new record is written
// again, whole. A journal that is not whole, or whose record the file does not
// have (another file under the name, or a copy of the folder), is removed unused.
constexpr char kRewriteMagic[8] = {'F', 'N', 'D', 'R', 'I', 'S', 'C', '1'};
constexpr qsizetype kRewriteHeader = 8 + 8;
constexpr qsizetype kRewriteHash = 32;
constexpr qint64 kSectorBytes = 512;
constexpr qint64 kRewriteMaxRecord = 1 << 16;

QByteArray rewriteJournalPath(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return path.left(slash + 1) + '.' + path.mid(slash + 1) + ".riscrittura";
}

QByteArray rewriteJournal(qint64 position, const QByteArray& old, const void* record, int recordSize) {
  QByteArray j(kRewriteMagic, sizeof kRewriteMagic);
  const quint64 p = quint64(position);
  j.append(reinterpret_cast<const char*>(&p), sizeof p);
  j.append(old);
  j.append(static_cast<const char*>(record), recordSize);
  return j + QCryptographicHash::hash(j, QCryptographicHash::Sha256);
}

// Whether each sector of `now` (at file offset `at`) holds the old or the new bytes.
bool oldOrNewBySector(const char* now, const char* old, const char* neu, qint64 at, qint64 n) {
  for (qint64 i = 0; i < n;) {
    const qint64 next = std::min(n, (at + i) / kSectorBytes * kSectorBytes + kSectorBytes - at);
    const size_t len = size_t(next - i);
    if (std::memcmp(now + i, old + i, len) != 0 && std::memcmp(now + i, neu + i, len) != 0) return false;
    i = next;
  }
  return true;
}

// Writes the new record of a journal into the archive open as fd when the
// journal is whole and the file holds its record, old or new or a mix by
// sectors. False when the journal must stay (it could not be read or written).
bool applyRewriteJournal(int fd, const QByteArray& journal) {
  const SmallFile f = readSmallFile(journal, kRewriteHeader + 2 * kRewriteMaxRecord + kRewriteHash);
  if (f.status == SmallFile::Status::Failed) return false;
  const QByteArray& j = f.bytes;
  const qint64 rs = (j.size() - kRewriteHeader - kRewriteHash) / 2;
  if (rs <= 0 || j.size() != kRewriteHeader + 2 * rs + kRewriteHash ||
      !j.startsWith(QByteArrayView(kRewriteMagic, sizeof kRewriteMagic)) ||
      QCryptographicHash::hash(j.left(j.size() - kRewriteHash), QCryptographicHash::Sha256) != j.right(kRewriteHash))
    return true;
  quint64 p = 0;
  std::memcpy(&p, j.constData() + sizeof kRewriteMagic, sizeof p);
  const char* old = j.constData() + kRewriteHeader;
  const char* neu = old + rs;
  const qint64 at = (qint64(p) - 1) * rs;
  QByteArray now(rs, Qt::Uninitialized);
  if (p < 1 || ::pread(fd, now.data(), size_t(rs), off_t(at)) != rs ||
      !oldOrNewBySector(now.constData(), old, neu, at, rs))
    return true;
  return ::pwrite(fd, neu, size_t(rs), off_t(at)) == rs && ::fdatasync(fd) == 0;
}

// Finishes the rewrite a journal of `path` records, when there is one; under
// the archive's write lock, so that it never meets the rewrite in progress.
void finishInterruptedRewrite(const QByteArray& path) {
  const QByteArray journal = rewriteJournalPath(path);
  struct stat st {};
  if (::lstat(journal.constData(), &st) != 0) return;  // the usual case: one look-up
  const int fd = openRegularFile(path, O_RDWR);
  if (fd < 0) return;  // read-only: the reader sees the file as the disk has it
  {
    AppendLock lock(fd);
    if (applyRewriteJournal(fd, journal)) ::unlink(journal.constData());
  }
  ::close(fd);
}

}  // namespace

RecordFile RecordFile::openOrCreate(const QByteArray& path, int recordSize) {
  finishInterruptedRewrite(path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    bool notRegular = false;
    int fd = openRegularFile(path, O_RDWR, &notRegular);
    if (fd >= 0) return RecordFile(fd, path, recordSize);
    if (errno != ENOENT) failOpen(path, errno, notRegular);
    // No file of that name: create it, but never over one that appeared
    // meanwhile, nor through a link whose target is missing.
    do fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    while (fd < 0 && errno == EINTR);
    if (fd >= 0) {
      syncFolderOf(path);
      return RecordFile(fd, path, recordSize);
    }
    if (errno != EEXIST) throw ArchiveError(ArchiveError::Op::Create, path, errno);
    if (isDanglingLink(path))
      throw ArchiveError(ArchiveError::Op::Open, path, ENOENT, ArchiveError::Cause::MissingLinkTarget);
  }
  throw ArchiveError(ArchiveError::Op::Open, path, EEXIST);
}

RecordFile RecordFile::openOrCreate(const QString& path, int recordSize) {
  return openOrCreate(encodePath(path), recordSize);
}

RecordFile RecordFile::openExisting(const QByteArray& path, int recordSize, Access access) {
  finishInterruptedRewrite(path);
  bool notRegular = false;
  const int fd = openRegularFile(path, access == Access::ReadOnly ? O_RDONLY : O_RDWR, &notRegular);
  if (fd < 0) failOpen(path, errno, notRegular);
  return RecordFile(fd, path, recordSize);
}

RecordFile RecordFile::openExisting(const QString& path, int recordSize, Access access) {
  return openExisting(encodePath(path), recordSize, access);
}

void RecordFile::fail(ArchiveError::Op op, int err) const { throw ArchiveError(op, path_, err); }

qint64 RecordFile::fileSize() const {
  if (fd_ < 0) fail(ArchiveError::Op::Stat, EBADF);
  struct stat st {};
  if (fstat(fd_, &st) != 0) fail(ArchiveError::Op::Stat, errno);
  return qint64(st.st_size);
}

qint64 RecordFile::count() const { return fileSize() / recordSize_; }

qint64 RecordFile::trailingBytes() const { return fileSize() % recordSize_; }

qint64 RecordFile::readSome(qint64 offset, void* buf, qint64 n) const {
  if (fd_ < 0) fail(ArchiveError::Op::Read, EBADF);
  auto* p = static_cast<char*>(buf);
  qint64 done = 0;
  while (done < n) {
    const ssize_t r = ::pread(fd_, p + done, size_t(n - done), off_t(offset + done));
    if (r < 0) {
      if (errno == EINTR) continue;
      fail(ArchiveError::Op::Read, errno);
    }
    if (r == 0) break;
    done += r;
  }
  return done;
}

qint64 RecordFile::writeSome(qint64 offset, const void* buf, qint64 n, int* error) {
  *error = 0;
  if (fd_ < 0) {
    *error = EBADF;
    return 0;
  }
  const auto* p = static_cast<const char*>(buf);
  qint64 done = 0;
  while (done < n) {
    const ssize_t w = ::pwrite(fd_, p + done, size_t(n - done), off_t(offset + done));
    if (w < 0) {
      if (errno == EINTR) continue;
      *error = errno;
      return done;
    }
    if (w == 0) {
      *error = ENOSPC;
      return done;
    }
    done += w;
  }
  return done;
}

// The archives are the user's only copy and often sit on a removable drive.
// When the disk does not confirm the bytes they are in the file all the same:
// the error says up to where, so that no record is ever written twice.
void RecordFile::sync(qint64 firstPosition, qint64 lastPosition) {
  for (;;) {
    if (::fdatasync(fd_) == 0 || errno == EINVAL) return;
    if (errno == EINTR) continue;
    ArchiveError e(ArchiveError::Op::Sync, path_, errno);
    e.setWritten(firstPosition, lastPosition);
    throw e;
  }
}

void RecordFile::writeFully(qint64 offset, const void* buf, qint64 n) {
  int error = 0;
  writeSome(offset, buf, n, &error);
  if (error != 0) fail(ArchiveError::Op::Write, error);
  sync(offset / recordSize_ + 1, offset / recordSize_ + 1);
}

void RecordFile::readAt(qint64 p, void* record) const {
  if (p < 1 || p > count()) fail(ArchiveError::Op::Position, 0);
  const qint64 got = readSome((p - 1) * recordSize_, record, recordSize_);
  if (got != recordSize_) fail(ArchiveError::Op::Read, EIO);
}

bool RecordFile::namesOpenFile() const { return namesFile(path_, fd_); }

void RecordFile::lockCurrent(WriteLock& held) {
  for (int attempt = 0;; ++attempt) {
    held.lock.emplace(fd_);
    // A file renamed over ours while we waited: write into the new one. The
    // attempts are bounded only against a name that changes for ever.
    if (attempt == 100 || namesOpenFile()) return;
    held.lock.reset();
    *this = openOrCreate(path_, recordSize_);
  }
}

void RecordFile::prepareWrite(WriteLock& lock) {
  if (held_) return;  // the holder passed the hook and holds the lock
  beforeWrite(path_);
  lockCurrent(lock);
}

void RecordFile::cutFragment(qint64 wholeRecords) {
  while (::ftruncate(fd_, off_t(wholeRecords * recordSize_)) != 0 && errno == EINTR) {
  }
}

void RecordFile::writeAt(qint64 p, const void* record) {
  WriteLock lock;
  prepareWrite(lock);
  if (p < 1 || p > count()) fail(ArchiveError::Op::Position, 0);
  // Without the journal (a full disk) the rewrite goes on as it always did.
  QByteArray old(recordSize_, Qt::Uninitialized);
  const QByteArray journal = rewriteJournalPath(path_);
  const bool journaled =
      readSome((p - 1) * recordSize_, old.data(), recordSize_) == recordSize_ &&
      replaceFileBytes(journal, [&](int fd) {
        const QByteArray j = rewriteJournal(p, old, record, recordSize_);
        return writeAllTo(fd, j.constData(), j.size());
      });
  try {
    writeFully((p - 1) * recordSize_, record, recordSize_);
  } catch (const ArchiveError& e) {
    // A write refused is reported as not done, and stays so; a write the disk
    // did not confirm counts as stored, and the next open writes it again.
    if (journaled && e.op() == ArchiveError::Op::Write) ::unlink(journal.constData());
    throw;
  }
  if (journaled) ::unlink(journal.constData());
}

void RecordFile::readLocked(const std::function<void(int fd)>& work) const {
  AppendLock lock(fd_, /*shared=*/true);
  work(fd_);
}

qint64 RecordFile::append(const void* record) {
  WriteLock lock;
  prepareWrite(lock);
  const qint64 n = count();
  int error = 0;
  writeSome(n * recordSize_, record, recordSize_, &error);
  if (error != 0) {
    cutFragment(n);
    fail(ArchiveError::Op::Write, error);
  }
  sync(n + 1, n + 1);
  return n + 1;
}

RecordFile::Appended RecordFile::appendChosen(const std::function<QByteArray(qint64)>& choose) {
  QByteArray bytes;
  return appendBlocks([&](qint64 count) {
    bytes = choose(count);
    return std::vector<QByteArrayView>{bytes};
  });
}

RecordFile::Appended RecordFile::appendBlocks(const std::function<std::vector<QByteArrayView>(qint64)>& choose) {
  WriteLock lock;
  prepareWrite(lock);
  const qint64 n = count();
  const std::vector<QByteArrayView> pieces = choose(n);
  size_t next = 0;
  return writeBatch(n, [&] {
    while (next < pieces.size() && pieces[next].isEmpty()) ++next;
    return next < pieces.size() ? pieces[next++] : QByteArrayView();
  });
}

RecordFile::Appended RecordFile::appendMade(const std::function<QByteArrayView()>& next) {
  WriteLock lock;
  prepareWrite(lock);
  return writeBatch(count(), [&] {
    QByteArrayView piece;
    while (piece.isEmpty() && !(piece = next()).isNull()) {
    }
    return piece;
  });
}

RecordFile::Appended RecordFile::writeBatch(qint64 n, const std::function<QByteArrayView()>& next) {
  // Blocks of whole records: a failure leaves whole records and at most one
  // fragment after them, which is cut before the error is reported.
  const qint64 perBlock = std::max<qint64>(1, kScanBlockBytes / recordSize_);
  qint64 done = 0;
  for (QByteArrayView piece; !(piece = next()).isNull();) {
    const qint64 records = piece.size() / recordSize_;
    for (qint64 i = 0; i < records; i += perBlock) {
      const qint64 k = std::min(perBlock, records - i);
      // Each block is on disk before the next is written: the disk may write
      // unsynced blocks in any order, and a power cut must never leave a
      // later block's records after a hole where an earlier one's were.
      if (done > 0) sync(n + 1, n + done);
      int error = 0;
      const qint64 wrote =
          writeSome((n + done) * recordSize_, piece.data() + i * recordSize_, k * recordSize_, &error);
      if (error != 0) {
        const qint64 whole = done + wrote / recordSize_;
        cutFragment(n + whole);
        if (whole > 0) ::fdatasync(fd_);
        ArchiveError e(ArchiveError::Op::Write, path_, error);
        if (whole > 0) e.setWritten(n + 1, n + whole);
        throw e;
      }
      done += k;
    }
  }
  if (done == 0) return {n + 1, 0};
  sync(n + 1, n + done);
  return {n + 1, done};
}

RecordFile::Appended RecordFile::appendAll(const void* records, qint64 n) {
  const QByteArrayView bytes(static_cast<const char*>(records), n * recordSize_);
  return appendBlocks([&](qint64) { return std::vector<QByteArrayView>{bytes}; });
}

RecordFile::Hold::Hold(RecordFile* file) : file_(file), lock_(std::make_unique<WriteLockHolder>()) {}

RecordFile::Hold::Hold(Hold&& other) noexcept : file_(other.file_), lock_(std::move(other.lock_)) {
  other.file_ = nullptr;
}

RecordFile::Hold::~Hold() {
  if (!lock_) return;
  lock_.reset();
  if (file_) file_->held_ = false;
}

RecordFile::Hold RecordFile::hold() {
  beforeWrite(path_);
  Hold h(this);
  lockCurrent(h.lock_->lock);
  held_ = true;
  return h;
}

void RecordFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) fail(ArchiveError::Op::Close, errno);
}

FileHold FileHold::take(const QByteArray& path, bool create) {
  // What replaces the file (a restore) replaces it whole, the rewrite finished.
  finishInterruptedRewrite(path);
  for (int attempt = 0;; ++attempt) {
    bool created = false;
    int fd = openRegularFile(path, O_RDWR);
    if (fd < 0 && errno == ENOENT && create) {
      do fd = ::open(path.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      while (fd < 0 && errno == EINTR);
      if (fd < 0 && errno == EEXIST) continue;  // made by another copy meanwhile: take that one
      if (fd < 0) throw ArchiveError(ArchiveError::Op::Create, path, errno);
      created = true;
      syncFolderOf(path);
    } else if (fd < 0 && errno == ENOENT) {
      return FileHold(-1, path, false);
    } else if (fd < 0) {
      throw ArchiveError(ArchiveError::Op::Open, path, errno);
    }
    FileHold hold(fd, path, created);
    // The lock is kept by the open file itself: it goes when the hold closes it.
    AppendLock lock(fd);
    if (attempt == 100 || namesFile(path, fd)) {
      lock.keep();
      return hold;
    }
  }
}

FileHold::FileHold(FileHold&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)), created_(other.created_) {
  other.fd_ = -1;
}

FileHold& FileHold::operator=(FileHold&& other) noexcept {
  if (this != &other) {
    release();
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    created_ = other.created_;
    other.fd_ = -1;
  }
  return *this;
}

FileHold::~FileHold() { release(); }

void FileHold::release() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

void FileHold::removeIfCreatedEmpty() {
  struct stat st {};
  if (fd_ < 0 || !created_ || ::fstat(fd_, &st) != 0 || st.st_size != 0) return;
  if (namesFile(path_, fd_)) ::unlink(path_.constData());
}

QByteArray movementArchivePath(const QByteArray& programFolder, const QString& yearText) {
  return joinPath(programFolder, encodePath(yearText + QStringLiteral(".eur")));
}

QByteArray clientArchivePath(const QByteArray& programFolder) {
  return joinPath(programFolder, "Clienti.pro");
}

QString movementArchivePath(const QString& programFolder, const QString& yearText) {
  return decodePath(movementArchivePath(encodePath(programFolder), yearText));
}

QString clientArchivePath(const QString& programFolder) {
  return decodePath(clientArchivePath(encodePath(programFolder)));
}

}  // namespace fondaro
