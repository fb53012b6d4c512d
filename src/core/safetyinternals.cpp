// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/safetyinternals.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/evp.h>

#include <QRegularExpression>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <new>
#include <optional>
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

Sha256::Sha256() : ctx_(EVP_MD_CTX_new()) {
  if (!ctx_ || EVP_DigestInit_ex(ctx_, EVP_sha256(), nullptr) != 1) throw std::bad_alloc();
}

Sha256::~Sha256() { EVP_MD_CTX_free(ctx_); }

void Sha256::add(const char* bytes, qint64 n) { EVP_DigestUpdate(ctx_, bytes, size_t(n)); }

QByteArray Sha256::hex() {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int n = 0;
  EVP_DigestFinal_ex(ctx_, digest, &n);
  return QByteArray(reinterpret_cast<const char*>(digest), int(n)).toHex();
}

namespace {

// Runs work(fd) on `source` open for reading, kept as it is meanwhile: a file
// this program holds the write lock of (FileHold) through its descriptor, since
// a second lock of ours on it would wait for the first; an archive under its
// shared lock; any other file plainly (the program replaces those whole, by a
// rename, so an open one never changes). Throws CopyError.
void withSource(const QByteArray& source, bool archive, int heldFd, const std::function<void(int fd)>& work) {
  if (heldFd >= 0) return work(heldFd);
  if (archive) {
    std::optional<RecordFile> f;
    try {
      f.emplace(RecordFile::openExisting(source, 1, RecordFile::Access::ReadOnly));
    } catch (const ArchiveError& e) {
      throw CopyError(CopyError::Reason::System, source, e.sysError() ? e.sysError() : EIO);
    }
    f->readLocked(work);
    return;
  }
  const int fd = openRegularFile(source, O_RDONLY);
  if (fd < 0) throw CopyError(CopyError::Reason::System, source, errno);
  try {
    work(fd);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

// Up to n bytes at `offset`, fewer only at the end of the file; -1 on failure.
ssize_t readFully(int fd, char* buf, size_t n, off_t offset) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::pread(fd, buf + got, n - got, offset + off_t(got));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += size_t(r);
  }
  return ssize_t(got);
}

bool writeFullyAt(int fd, const char* buf, size_t n, off_t offset) {
  while (n > 0) {
    const ssize_t w = ::pwrite(fd, buf, n, offset);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    buf += w;
    n -= size_t(w);
    offset += w;
  }
  return true;
}

// Copies `from` whole into the empty `to`. The kernel copies where it can
// (copy_file_range: no bytes through this process, a shared extent on file
// systems that have them); where it cannot (another file system, an old
// kernel, a file system that copies nothing), the rest goes through a buffer.
void copyContent(int from, int to, const QByteArray& source, const QByteArray& target,
                 const std::function<void(qint64)>& advance) {
  struct stat st {};
  const qint64 expectedSize = ::fstat(from, &st) == 0 ? qint64(st.st_size) : -1;
  bool kernel = true;
  std::vector<char> buf;
  off_t offset = 0;
  for (;;) {
    ssize_t n;
    if (kernel) {
      off_t in = offset, out = offset;
      n = ::copy_file_range(from, &in, to, &out, size_t(kBlock), 0);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP ||
                    errno == EBADF)) {
        kernel = false;
        continue;
      }
      if (n < 0) throw CopyError(CopyError::Reason::System, target, errno);
      if (n == 0 && offset < expectedSize) {
        kernel = false;
        continue;
      }
    } else {
      if (buf.empty()) buf.resize(size_t(kBlock));
      n = readFully(from, buf.data(), buf.size(), offset);
      if (n < 0) throw CopyError(CopyError::Reason::System, source, errno);
      if (n > 0 && !writeFullyAt(to, buf.data(), size_t(n), offset))
        throw CopyError(CopyError::Reason::System, target, errno ? errno : EIO);
    }
    if (n == 0) return;
    offset += n;
    if (advance) advance(n);
  }
}

// Reads the copy back beside its source and hashes it: its size and hash, or
// a CopyError when a byte differs from the source's.
Hashed readBack(int copy, int from, const QByteArray& source, const QByteArray& target) {
  std::vector<char> mine(static_cast<size_t>(kBlock)), theirs(static_cast<size_t>(kBlock));
  Sha256 hash;
  Hashed h;
  for (;;) {
    const ssize_t n = readFully(copy, mine.data(), mine.size(), off_t(h.size));
    if (n < 0) throw CopyError(CopyError::Reason::System, target, errno);
    const ssize_t m = readFully(from, theirs.data(), theirs.size(), off_t(h.size));
    if (m < 0) throw CopyError(CopyError::Reason::System, source, errno);
    if (n != m || std::memcmp(mine.data(), theirs.data(), size_t(n)) != 0)
      throw CopyError(CopyError::Reason::System, target, EIO);
    if (n == 0) break;
    hash.add(mine.data(), n);
    h.size += n;
  }
  h.sha256 = hash.hex();
  return h;
}

}  // namespace

Hashed copyFile(const QByteArray& source, const QByteArray& target, bool archive,
                const std::function<void(qint64)>& advance, const ManifestEntry* expected, int heldFd) {
  Hashed copied;
  std::exception_ptr thrown;
  WriteFailure why;
  const bool ok = replaceFileBytes(
      target,
      [&](int fd) {
        try {
          withSource(source, archive, heldFd, [&](int from) {
            copyContent(from, fd, source, target, advance);
            int synced;
            while ((synced = ::fdatasync(fd)) != 0 && errno == EINTR) {
            }
            if (synced != 0 && errno != EINVAL && errno != EROFS)
              throw CopyError(CopyError::Reason::System, target, errno);
            copied = readBack(fd, from, source, target);
          });
          if (expected && (copied.size != expected->size || copied.sha256 != expected->sha256))
            throw CopyError(CopyError::Reason::Damaged, source, 0,
                            copied.size != expected->size ? CopyError::Damage::Size : CopyError::Damage::Content);
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
  return copied;
}

}  // namespace fondaro::safety::detail
