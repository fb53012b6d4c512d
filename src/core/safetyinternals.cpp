#include "core/safetyinternals.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <vector>

#include "core/archive.h"
#include "core/filepath.h"
#include "core/replacefile.h"

namespace fondaro::safety::detail {

// ---- Names of copies ------------------------------------------------------------

QString dayName(const QDate& d) { return d.toString(u"yyyy-MM-dd"_qs); }
QString stampName(const QDateTime& t) { return t.toString(u"yyyy-MM-dd_HH-mm-ss"_qs); }

namespace {

const QRegularExpression& dayPattern() {
  static const QRegularExpression re(u"^(\\d{4}-\\d{2}-\\d{2})$"_qs);
  return re;
}
const QRegularExpression& stampPattern() {
  static const QRegularExpression re(u"^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(_prima-del-ripristino)?(-\\d+)?$"_qs);
  return re;
}

}  // namespace

std::optional<std::pair<CopyKind, QDateTime>> parseCopyName(const QByteArray& name) {
  const QString n = QString::fromLatin1(name);
  if (const auto m = dayPattern().match(n); m.hasMatch()) {
    const QDate d = QDate::fromString(m.captured(1), u"yyyy-MM-dd"_qs);
    if (d.isValid()) return std::pair{CopyKind::Day, QDateTime(d, QTime(0, 0))};
  }
  if (const auto m = stampPattern().match(n); m.hasMatch()) {
    const QDateTime t = QDateTime::fromString(m.captured(1), u"yyyy-MM-dd_HH-mm-ss"_qs);
    if (t.isValid()) return std::pair{m.captured(2).isEmpty() ? CopyKind::Full : CopyKind::BeforeRestore, t};
  }
  return std::nullopt;
}

// ---- Files and folders ------------------------------------------------------------

bool isDir(const QByteArray& path, bool followLinks) {
  struct stat st {};
  return (followLinks ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st)) == 0 &&
         S_ISDIR(st.st_mode);
}

bool isRegular(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QByteArray baseName(const QByteArray& path) {
  QByteArray p = path;
  while (p.size() > 1 && p.endsWith('/')) p.chop(1);
  return p.mid(p.lastIndexOf('/') + 1);
}

QList<QByteArray> folderEntries(const QByteArray& folder) {
  QList<QByteArray> names;
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return names;
  while (const dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names << QByteArray(e->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

namespace {

bool syncPath(const QByteArray& path, int flags) {
  const int fd = ::open(path.constData(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  ::close(fd);
  return ok;
}

}  // namespace

void syncFolder(const QByteArray& folder) { syncPath(folder, O_RDONLY | O_DIRECTORY); }

bool isArchiveName(const QByteArray& name) {
  return name.endsWith(".eur") || name == "Clienti.pro";
}

bool manifestSafe(const QByteArray& name) { return !name.contains('\n') && !name.contains('\r'); }

// ---- The folder lock ------------------------------------------------------------

FolderLock::FolderLock(const QByteArray& folder) {
  fd_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0)
    while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

void makeFoldersOrThrow(const QByteArray& folder) {
  if (!makeFolders(folder)) throw CopyError(CopyError::Reason::System, folder, errno ? errno : EIO);
}

// ---- Copying one file -------------------------------------------------------

namespace {

// Reads a file that this program holds the write lock of (FileHold): from its
// descriptor, since a second lock of ours on it would wait for the first.
void readHeld(const QByteArray& source, int fd, const std::function<void(const char*, qint64)>& visit) {
  std::vector<char> buf(static_cast<size_t>(kBlock));
  for (qint64 off = 0;;) {
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), off_t(off));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw CopyError(CopyError::Reason::System, source, errno);
    if (n == 0) return;
    visit(buf.data(), n);
    off += n;
  }
}

// Reads `source` whole, in blocks: a file held by this program through its
// descriptor (heldFd), an archive under its shared lock, any other file
// plainly. Throws CopyError.
void readSource(const QByteArray& source, bool archive, const std::function<void(const char*, qint64)>& visit,
                int heldFd = -1) {
  if (heldFd >= 0) return readHeld(source, heldFd, visit);
  if (archive) {
    try {
      const RecordFile f = RecordFile::openExisting(source, 1, RecordFile::Access::ReadOnly);
      f.readAllLocked(visit);
      return;
    } catch (const ArchiveError& e) {
      throw CopyError(CopyError::Reason::System, source, e.sysError() ? e.sysError() : EIO);
    }
  }
  const int fd = openRegularFile(source, O_RDONLY);
  if (fd < 0) throw CopyError(CopyError::Reason::System, source, errno);
  std::vector<char> buf(static_cast<size_t>(kBlock));
  for (;;) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throw CopyError(CopyError::Reason::System, source, err);
    }
    if (n == 0) break;
    try {
      visit(buf.data(), n);
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  ::close(fd);
}

// The size and hash of what is in fd, read from its start.
bool hashFd(int fd, Hashed* h) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  std::vector<char> buf(static_cast<size_t>(kBlock));
  qint64 off = 0;
  for (;;) {
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), off_t(off));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    hash.addData(QByteArrayView(buf.data(), n));
    off += n;
  }
  h->size = off;
  h->sha256 = hash.result().toHex();
  return true;
}

}  // namespace

Hashed copyFile(const QByteArray& source, const QByteArray& target, bool archive,
                const std::function<void(qint64)>& advance, const ManifestEntry* expected, int heldFd) {
  Hashed read;
  std::exception_ptr thrown;
  WriteFailure why;
  const bool ok = replaceFileBytes(
      target,
      [&](int fd) {
        try {
          QCryptographicHash hash(QCryptographicHash::Sha256);
          readSource(source, archive, [&](const char* bytes, qint64 n) {
            if (!writeAllTo(fd, bytes, n)) throw CopyError(CopyError::Reason::System, target, errno);
            hash.addData(QByteArrayView(bytes, n));
            read.size += n;
            if (advance) advance(n);
          }, heldFd);
          read.sha256 = hash.result().toHex();
          Hashed written;
          int synced;
          while ((synced = ::fdatasync(fd)) != 0 && errno == EINTR) {
          }
          if (synced != 0 && errno != EINVAL && errno != EROFS)
            throw CopyError(CopyError::Reason::System, target, errno);
          if (!hashFd(fd, &written)) throw CopyError(CopyError::Reason::System, target, errno);
          if (written.size != read.size || written.sha256 != read.sha256)
            throw CopyError(CopyError::Reason::System, target, EIO);
          if (expected && (read.size != expected->size || read.sha256 != expected->sha256))
            throw CopyError(CopyError::Reason::Damaged, source, 0,
                            read.size != expected->size ? CopyError::Damage::Size : CopyError::Damage::Content);
          return true;
        } catch (...) {
          thrown = std::current_exception();
          errno = EIO;
          return false;
        }
      },
      &why);
  if (thrown) std::rethrow_exception(thrown);
  if (!ok) throw CopyError(target, why);
  return read;
}

}  // namespace fondaro::safety::detail
