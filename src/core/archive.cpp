#include "core/archive.h"

#include "core/notice.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

QString describeError(ArchiveError::Op op, const QString& path, int err) {
  QString s = QStringLiteral("%1 %2").arg(QLatin1String(opName(op)), path);
  if (err != 0) s += QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
  return s;
}

QByteArray nativePath(const QString& path) { return path.toLocal8Bit(); }

// Opens a file that must be a plain file: a folder, a pipe or a device of that
// name is no archive (opening a pipe for reading waits for a writer forever, and
// a device such as /dev/zero never ends a scan). The open does not wait; -1 with
// errno set when the file cannot be opened or is not a plain file.
int openPlainFile(const QByteArray& native, int flags) {
  const int fd = ::open(native.constData(), flags | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  int err = 0;
  if (fstat(fd, &st) != 0) err = errno;
  else if (!S_ISREG(st.st_mode)) err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
  if (err != 0) {
    ::close(fd);
    errno = err;
    return -1;
  }
  const int fl = fcntl(fd, F_GETFL);
  if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return fd;
}

// An advisory write lock on the whole file, held around "count, then write at
// the end". Open-file-description locks where the kernel has them, POSIX record
// locks otherwise. A file system without locks (some network shares) still
// takes the write: refusing to save would be worse than the old behaviour.
class AppendLock {
 public:
  explicit AppendLock(int fd) : fd_(fd) {
    struct flock fl {};
    fl.l_type = F_WRLCK;
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

}  // namespace

ArchiveError::ArchiveError(Op op, QString path, int sysError)
    : std::runtime_error(describeError(op, path, sysError).toStdString()),
      op_(op),
      path_(std::move(path)),
      err_(sysError) {}

QString ArchiveError::describe() const { return describeError(op_, path_, err_); }

QString archiveAccessMessage() {
  return QStringLiteral("Attenzione: il sistema non permette di accedere all'archivio.") + kParagraphBreak +
         QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma.");
}

RecordFile::RecordFile(int fd, QString path, int recordSize)
    : fd_(fd), path_(std::move(path)), recordSize_(recordSize) {}

RecordFile::RecordFile(RecordFile&& other) noexcept
    : fd_(other.fd_), path_(std::move(other.path_)), recordSize_(other.recordSize_) {
  other.fd_ = -1;
}

RecordFile& RecordFile::operator=(RecordFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    recordSize_ = other.recordSize_;
    other.fd_ = -1;
  }
  return *this;
}

RecordFile::~RecordFile() {
  if (fd_ >= 0) ::close(fd_);
}

RecordFile RecordFile::openOrCreate(const QString& path, int recordSize) {
  const QByteArray native = nativePath(path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    int fd = openPlainFile(native, O_RDWR);
    if (fd >= 0) return RecordFile(fd, path, recordSize);
    if (errno != ENOENT) throw ArchiveError(ArchiveError::Op::Open, path, errno);
    // No file of that name: create it, but never over one that appeared meanwhile.
    fd = ::open(native.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return RecordFile(fd, path, recordSize);
    if (errno != EEXIST) throw ArchiveError(ArchiveError::Op::Create, path, errno);
  }
  throw ArchiveError(ArchiveError::Op::Open, path, EEXIST);
}

RecordFile RecordFile::openExisting(const QString& path, int recordSize, Access access) {
  const int fd = openPlainFile(nativePath(path), access == Access::ReadOnly ? O_RDONLY : O_RDWR);
  if (fd < 0) throw ArchiveError(ArchiveError::Op::Open, path, errno);
  return RecordFile(fd, path, recordSize);
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

void RecordFile::writeFully(qint64 offset, const void* buf, qint64 n) {
  if (fd_ < 0) fail(ArchiveError::Op::Write, EBADF);
  const auto* p = static_cast<const char*>(buf);
  qint64 done = 0;
  while (done < n) {
    const ssize_t w = ::pwrite(fd_, p + done, size_t(n - done), off_t(offset + done));
    if (w < 0) {
      if (errno == EINTR) continue;
      fail(ArchiveError::Op::Write, errno);
    }
    if (w == 0) fail(ArchiveError::Op::Write, ENOSPC);
    done += w;
  }
  // The archives are the user's only copy and often sit on a removable drive.
  if (::fdatasync(fd_) != 0 && errno != EINVAL) fail(ArchiveError::Op::Sync, errno);
}

void RecordFile::readAt(qint64 p, void* record) const {
  if (p < 1 || p > count()) fail(ArchiveError::Op::Position, 0);
  const qint64 got = readSome((p - 1) * recordSize_, record, recordSize_);
  if (got != recordSize_) fail(ArchiveError::Op::Read, EIO);
}

void RecordFile::writeAt(qint64 p, const void* record) {
  if (p < 1 || p > count()) fail(ArchiveError::Op::Position, 0);
  writeFully((p - 1) * recordSize_, record, recordSize_);
}

qint64 RecordFile::append(const void* record) {
  AppendLock lock(fd_);
  const qint64 n = count();
  writeFully(n * recordSize_, record, recordSize_);
  return n + 1;
}

void RecordFile::close() {
  if (fd_ < 0) return;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && errno != EINTR) fail(ArchiveError::Op::Close, errno);
}

static QString joinFolder(const QString& folder, const QString& name) {
  if (folder.isEmpty() || folder.endsWith(QLatin1Char('/'))) return folder + name;
  return folder + QLatin1Char('/') + name;
}

QString movementArchivePath(const QString& programFolder, const QString& yearText) {
  return joinFolder(programFolder, yearText + QStringLiteral(".eur"));
}

QString clientArchivePath(const QString& programFolder) {
  return joinFolder(programFolder, QStringLiteral("Clienti.pro"));
}

}  // namespace fondaro
