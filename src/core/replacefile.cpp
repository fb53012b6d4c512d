#include "core/replacefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace fondaro {

bool writeAllTo(int fd, const char* data, qint64 n) {
  qint64 done = 0;
  while (done < n) {
    const ssize_t w = ::write(fd, data + done, size_t(n - done));
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (w == 0) {
      errno = ENOSPC;
      return false;
    }
    done += w;
  }
  return true;
}

bool replaceFileBytes(const QByteArray& target, const std::function<bool(int fd)>& fill, QString* why) {
  const auto failed = [&](int err) {
    if (why) *why = QString::fromLocal8Bit(std::strerror(err));
    return false;
  };
  QByteArray temp = target + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return failed(errno);
  // A new file gets the permissions an ordinary new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat old {};
  const mode_t mode = ::stat(target.constData(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~mask);
  int err = 0;
  if (::fchmod(fd, mode) != 0 || !fill(fd)) err = errno ? errno : EIO;
  if (::close(fd) != 0 && !err) err = errno;
  if (!err && ::rename(temp.constData(), target.constData()) != 0) err = errno;
  if (err) {
    ::unlink(temp.constData());
    return failed(err);
  }
  return true;
}

bool makeFolders(const QByteArray& folder) {
  struct stat st {};
  for (qsizetype i = 1; i <= folder.size(); ++i) {
    if (i < folder.size() && folder[i] != '/') continue;
    const QByteArray part = folder.left(i);
    if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) return false;
  }
  return ::stat(folder.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool pathExists(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0;
}

bool sameFile(const QByteArray& a, const QByteArray& b) {
  struct stat sa {}, sb {};
  return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace fondaro
