// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/replacefile.h"

#include <dirent.h>
#include <sys/file.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <algorithm>
#include <cstdio>

namespace fondaro {

namespace {

// Our temporary files: ".fondaro-" + six random characters + ".tmp".
constexpr char kTempPrefix[] = ".fondaro-";
constexpr char kTempSuffix[] = ".tmp";
constexpr int kTempRandom = 6;
constexpr time_t kStaleTempSeconds = 3600;
constexpr time_t kFreshTempSeconds = 60;
constexpr char kTempFolderPrefix[] = ".fondaro-copia-";

QByteArray folderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  if (slash == 0) return QByteArrayLiteral("/");
  return path.left(slash);
}

QByteArray baseName(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

bool isTempName(const char* name) {
  const size_t n = std::strlen(name);
  const size_t pre = sizeof(kTempPrefix) - 1, suf = sizeof(kTempSuffix) - 1;
  return n == pre + kTempRandom + suf && std::strncmp(name, kTempPrefix, pre) == 0 &&
         std::strcmp(name + pre + kTempRandom, kTempSuffix) == 0;
}

// A copy being built: ".fondaro-copia-" + six random characters.
bool isTempFolderName(const char* name) {
  const size_t pre = sizeof(kTempFolderPrefix) - 1;
  return std::strlen(name) == pre + kTempRandom && std::strncmp(name, kTempFolderPrefix, pre) == 0;
}

// Whether a temporary of ours is left over: nobody holds its lock (its maker
// holds it for as long as it works on it) and it is not brand new (the maker
// takes the lock right after making it), or, where the file system has no
// such locks, it is older than an hour.
bool isStale(int dirFd, const char* name, const struct stat& st) {
  const time_t age = std::time(nullptr) - st.st_mtime;
  const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  const int locked = ::flock(fd, LOCK_EX | LOCK_NB);
  const int err = errno;
  ::close(fd);
  if (locked == 0) return age > kFreshTempSeconds;
  if (err == EWOULDBLOCK) return false;
  return age > kStaleTempSeconds;
}

bool isArchiveName(const QByteArray& name) {
  const QByteArray lower = name.toLower();
  return lower.endsWith(".eur") || lower.endsWith(".pro") || lower == "unins000.dll";
}

// Whether a file with the identity `id` is an archive or the password file of
// `folder`.
bool isArchiveOf(const QByteArray& folder, const struct stat& id) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return false;
  bool found = false;
  while (const dirent* e = ::readdir(dir)) {
    if (!isArchiveName(QByteArray(e->d_name))) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, 0) == 0 && st.st_dev == id.st_dev && st.st_ino == id.st_ino) {
      found = true;
      break;
    }
  }
  ::closedir(dir);
  return found;
}

// Where the content goes: the target, or the file a link names.
// False with `why` set when the target must not be written.
bool resolveTarget(const QByteArray& target, QByteArray* where, WriteFailure* why) {
  struct stat st {};
  *where = target;
  if (::lstat(target.constData(), &st) != 0) {
    if (errno == ENOENT) return true;
    *why = {WriteFailure::Kind::System, errno};
    return false;
  }
  if (S_ISLNK(st.st_mode)) {
    char* resolved = ::realpath(target.constData(), nullptr);
    if (!resolved) {
      *why = errno == ENOENT ? WriteFailure{WriteFailure::Kind::DanglingLink, ENOENT}
                             : WriteFailure{WriteFailure::Kind::System, errno};
      return false;
    }
    *where = QByteArray(resolved);
    std::free(resolved);
    if (::stat(where->constData(), &st) != 0) {
      *why = {WriteFailure::Kind::System, errno};
      return false;
    }
    // Whatever the output, a link never leads it into an archive or the
    // password file.
    if (isArchiveName(baseName(*where)) || isArchiveOf(folderOf(*where), st)) {
      *why = {WriteFailure::Kind::Protected, EPERM};
      return false;
    }
  }
  if (!S_ISREG(st.st_mode)) {
    *why = {WriteFailure::Kind::NotRegular, S_ISDIR(st.st_mode) ? EISDIR : EINVAL};
    return false;
  }
  // Root may write anything; the mode still says what the owner wants.
  if ((st.st_mode & 0222) == 0 || (::access(where->constData(), W_OK) != 0 && errno == EACCES)) {
    *why = {WriteFailure::Kind::ReadOnly, EACCES};
    return false;
  }
  return true;
}

bool syncRetrying(int fd) {
  for (;;) {
    if (::fsync(fd) == 0) return true;
    if (errno == EINTR) continue;
    // A file system that cannot sync (some network shares) still takes the file.
    return errno == EINVAL || errno == EROFS;
  }
}

void syncFolder(const QByteArray& folder) {
  const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  syncRetrying(fd);
  ::close(fd);
}

}  // namespace

QString systemErrorItalian(int err) {
  switch (err) {
    case EACCES:
    case EPERM: return QStringLiteral("Permesso negato.");
    case EROFS: return QStringLiteral("Il disco è protetto in scrittura (sola lettura).");
    case ENOSPC: return QStringLiteral("Spazio esaurito sul disco.");
    case EDQUOT: return QStringLiteral("Spazio a disposizione dell'utente esaurito sul disco.");
    case EIO: return QStringLiteral("Errore di lettura o scrittura sul disco (errore di ingresso/uscita).");
    case ENAMETOOLONG: return QStringLiteral("Il nome del file è troppo lungo.");
    case ENOENT: return QStringLiteral("Il file o la cartella non esiste.");
    case ENOTDIR: return QStringLiteral("Una parte del percorso non è una cartella.");
    case EISDIR: return QStringLiteral("Al posto del file c'è una cartella.");
    case EFBIG: return QStringLiteral("Il file è troppo grande per questo disco.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Troppi file aperti.");
    case ENOMEM: return QStringLiteral("Memoria insufficiente.");
    case ELOOP: return QStringLiteral("Il percorso contiene troppi collegamenti simbolici.");
    case ETXTBSY:
    case EBUSY: return QStringLiteral("Il file è in uso.");
    default:
      return QStringLiteral("Errore del sistema n. %1 (%2).").arg(err).arg(QString::fromLocal8Bit(std::strerror(err)));
  }
}

QString WriteFailure::italian() const {
  switch (kind) {
    case Kind::NotRegular:
      return QStringLiteral("La destinazione non è un file ordinario (è una cartella, un dispositivo o una "
                            "pipe) e non viene sostituita.");
    case Kind::ReadOnly:
      return QStringLiteral("Il file di destinazione è di sola lettura e non viene sostituito.");
    case Kind::DanglingLink:
      return QStringLiteral("La destinazione è un collegamento a un file che non esiste.");
    case Kind::Protected:
      return QStringLiteral("La destinazione è un archivio del programma o il file delle password e non "
                            "viene sostituita.");
    case Kind::System: break;
  }
  if (err == EACCES || err == EPERM)
    return QStringLiteral("Accertarsi di possedere i privilegi di scrittura nella cartella di destinazione.");
  return systemErrorItalian(err);
}

QString WriteFailure::english() const {
  switch (kind) {
    case Kind::NotRegular: return QStringLiteral("it exists and is not a regular file; it is not replaced");
    case Kind::ReadOnly: return QStringLiteral("it is a read-only file; it is not replaced");
    case Kind::DanglingLink: return QStringLiteral("it is a link to a missing file");
    case Kind::Protected:
      return QStringLiteral("it is the input, an archive (*.eur, *.pro) or the password file; it is never "
                            "written by an output");
    case Kind::System: break;
  }
  return QString::fromLocal8Bit(std::strerror(err));
}

bool isProtectedOutput(const QByteArray& target, const OutputGuard& guard) {
  if (!guard.input.isEmpty() && (target == guard.input || sameFile(target, guard.input))) return true;
  if (!guard.archives) return false;
  QByteArray where = target;
  if (char* resolved = ::realpath(target.constData(), nullptr)) {
    where = QByteArray(resolved);
    std::free(resolved);
  }
  if (isArchiveName(baseName(target)) || isArchiveName(baseName(where))) return true;
  struct stat id {};
  if (::stat(where.constData(), &id) != 0) return false;  // a new file is nobody's archive
  return isArchiveOf(folderOf(where), id) || isArchiveOf(folderOf(target), id) ||
         (!guard.input.isEmpty() && isArchiveOf(folderOf(guard.input), id));
}

std::optional<WriteFailure> refusedTarget(const QByteArray& target, const OutputGuard& guard) {
  if (isProtectedOutput(target, guard)) return WriteFailure{WriteFailure::Kind::Protected, EPERM};
  QByteArray where;
  WriteFailure failure;
  if (!resolveTarget(target, &where, &failure)) return failure;
  return std::nullopt;
}

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

bool replaceFileBytes(const QByteArray& target, const std::function<bool(int fd)>& fill, WriteFailure* why,
                      const OutputGuard& guard) {
  WriteFailure failure;
  const auto failed = [&](WriteFailure f) {
    if (why) *why = f;
    return false;
  };
  if (isProtectedOutput(target, guard)) return failed({WriteFailure::Kind::Protected, EPERM});
  QByteArray where;
  if (!resolveTarget(target, &where, &failure)) return failed(failure);

  const QByteArray folder = folderOf(where);
  removeStaleTemporaries(folder);
  QByteArray temp = folder + '/' + kTempPrefix + QByteArray(kTempRandom, 'X') + kTempSuffix;
  const int fd = ::mkostemps(temp.data(), int(sizeof(kTempSuffix) - 1), O_CLOEXEC);
  if (fd < 0) return failed({WriteFailure::Kind::System, errno});
  ::flock(fd, LOCK_EX | LOCK_NB);  // ours while we write it (see isStale)
  const mode_t mask = ::umask(0);
  ::umask(mask);
  int err = 0;
  errno = 0;
  if (::fchmod(fd, 0644 & ~mask) != 0 || !fill(fd)) err = errno ? errno : EIO;
  if (!err && !syncRetrying(fd)) err = errno;
  if (::close(fd) != 0 && !err && errno != EINTR) err = errno;
  if (!err && ::rename(temp.constData(), where.constData()) != 0) err = errno;
  if (err) {
    ::unlink(temp.constData());
    return failed({WriteFailure::Kind::System, err});
  }
  syncFolder(folder);
  return true;
}

namespace {

// Gives `temp` the name `target` unless a file has it: EEXIST then.
int renameNoReplace(const QByteArray& temp, const QByteArray& target) {
  if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  // A file system without it: a second name, then the temporary one removed.
  if (::link(temp.constData(), target.constData()) != 0) return errno;
  ::unlink(temp.constData());
  return 0;
}

}  // namespace

bool storeNewFiles(const QByteArray& folder, const std::vector<NewFile>& files, std::vector<NewFileState>* states,
                   WriteFailure* why) {
  states->assign(files.size(), NewFileState::NotWritten);
  if (files.empty()) return true;
  removeStaleTemporaries(folder);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  // In groups, so that the open files stay well below the process's limit.
  constexpr size_t kGroup = 128;
  bool renamed = false;
  int err = 0;
  for (size_t first = 0; first < files.size() && !err; first += kGroup) {
    const size_t last = std::min(files.size(), first + kGroup);
    std::vector<std::pair<int, QByteArray>> temps;
    for (size_t i = first; i < last && !err; ++i) {
      QByteArray temp = folder + '/' + kTempPrefix + QByteArray(kTempRandom, 'X') + kTempSuffix;
      const int fd = ::mkostemps(temp.data(), int(sizeof(kTempSuffix) - 1), O_CLOEXEC);
      if (fd < 0) {
        err = errno;
        break;
      }
      ::flock(fd, LOCK_EX | LOCK_NB);  // ours while we write it (see isStale)
      temps.emplace_back(fd, temp);
      errno = 0;
      if (::fchmod(fd, 0644 & ~mask) != 0 || !writeAllTo(fd, files[i].bytes.constData(), files[i].bytes.size())) {
        err = errno ? errno : EIO;
        break;
      }
      ::sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);  // the writeback starts now, for all of them together
    }
    for (auto& [fd, temp] : temps) {
      if (!err && !syncRetrying(fd)) err = errno;
      if (::close(fd) != 0 && !err && errno != EINTR) err = errno;
    }
    for (size_t k = 0; k < temps.size(); ++k) {
      const QByteArray& temp = temps[k].second;
      const size_t i = first + k;
      if (err) {
        ::unlink(temp.constData());
        continue;
      }
      const int e = renameNoReplace(temp, folder + '/' + files[i].name);
      if (e == 0) {
        (*states)[i] = NewFileState::Stored;
        renamed = true;
        continue;
      }
      ::unlink(temp.constData());
      if (e == EEXIST) {
        (*states)[i] = NewFileState::NameTaken;
      } else {
        err = e;
      }
    }
  }
  if (renamed) syncFolder(folder);
  if (err && why) *why = WriteFailure(WriteFailure::Kind::System, err);
  return err == 0;
}

void removeStaleTemporaries(const QByteArray& folder) {
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return;
  while (const dirent* e = ::readdir(dir)) {
    const bool file = isTempName(e->d_name), copy = !file && isTempFolderName(e->d_name);
    if (!file && !copy) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (file && S_ISREG(st.st_mode) && isStale(::dirfd(dir), e->d_name, st))
      ::unlinkat(::dirfd(dir), e->d_name, 0);
    else if (copy && S_ISDIR(st.st_mode) && isStale(::dirfd(dir), e->d_name, st))
      removeOwnFolder(folder + '/' + e->d_name, 1);
  }
  ::closedir(dir);
}

void removeOwnFolder(const QByteArray& folder, int depth) {
  DIR* dir = ::opendir(folder.constData());
  if (dir) {
    while (const dirent* e = ::readdir(dir)) {
      if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
      struct stat st {};
      if (::fstatat(::dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      if (!S_ISDIR(st.st_mode)) ::unlinkat(::dirfd(dir), e->d_name, 0);
      else if (depth > 0) removeOwnFolder(folder + '/' + e->d_name, depth - 1);
    }
    ::closedir(dir);
  }
  ::rmdir(folder.constData());
}

bool makeFolders(const QByteArray& folder) {
  struct stat st {};
  for (qsizetype i = 1; i <= folder.size(); ++i) {
    if (i < folder.size() && folder[i] != '/') continue;
    const QByteArray part = folder.left(i);
    if (::mkdir(part.constData(), 0777) == 0) {
      syncFolder(folderOf(part));  // the new folder's name reaches the disk
      continue;
    }
    if (errno != EEXIST) return false;
  }
  if (::stat(folder.constData(), &st) != 0) return false;
  if (S_ISDIR(st.st_mode)) return true;
  errno = ENOTDIR;  // a file stands where the folder goes
  return false;
}

bool pathExists(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0;
}

bool isFolder(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool sameFile(const QByteArray& a, const QByteArray& b) {
  struct stat sa {}, sb {};
  return ::stat(a.constData(), &sa) == 0 && ::stat(b.constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace fondaro
