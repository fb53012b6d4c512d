// SPDX-License-Identifier: GPL-3.0-or-later
/* A preloaded library that records every file-system operation a run makes
 * in one folder, for the crash tests (tests/crash/crashcheck.py rebuilds the
 * folder as a power cut at any point of the run could leave it).
 *
 *   FONDARO_CRASH_ROOT   the folder watched (an absolute path without links)
 *   FONDARO_CRASH_LOG    the log, appended to
 *
 * Only what happens under the root is recorded, one entry per call that
 * succeeded, in the order the calls returned. An entry is one line of fields
 * separated by tabs; paths are relative to the root ("." for the root itself),
 * files are named by their inode number, so that a write reaches the file it
 * reached whatever its name became:
 *
 *   C path ino        a file created (open with O_CREAT of a missing name, mkstemp)
 *   M path            a folder created (mkdir, mkdtemp)
 *   W ino offset n    n bytes written at offset; the n bytes follow the newline
 *   T ino size        the file cut or extended to size (ftruncate, O_TRUNC)
 *   S ino             fsync or fdatasync of a file
 *   D path            fsync of a folder
 *   R from to         rename (X from to: the two names exchanged)
 *   U path            unlink;  RD path: rmdir
 *   L from to         a second name for a file (link)
 *   K ino what        a lock taken or released (fcntl or flock); changes nothing
 *
 * The library calls the real functions through dlsym(RTLD_NEXT); calls glibc
 * makes inside itself (the open within mkstemp) are not seen, which is why
 * the functions that create files under a chosen name are wrapped too. */
#include <dlfcn.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <pthread.h>
#include <stdarg.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

pthread_mutex_t logMutex = PTHREAD_MUTEX_INITIALIZER;
int logFd = -2;  // -2: not opened yet; -1: recording off
std::string root;

#define NEXT(name) (reinterpret_cast<decltype(&::name)>(dlsym(RTLD_NEXT, #name)))

void writeRaw(const char* p, size_t n) {
  static auto realWrite = NEXT(write);
  while (n > 0) {
    const ssize_t w = realWrite(logFd, p, n);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return;
    p += w;
    n -= size_t(w);
  }
}

bool recording() {
  if (logFd != -2) return logFd >= 0;
  const char* r = getenv("FONDARO_CRASH_ROOT");
  const char* l = getenv("FONDARO_CRASH_LOG");
  if (!r || !*r || !l || !*l) return (logFd = -1), false;
  root = r;
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  static auto realOpen = NEXT(open);
  logFd = realOpen(l, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  return logFd >= 0;
}

// Collapses "//" and "/./" and drops a trailing "/".
std::string normalised(const std::string& p) {
  std::string out;
  size_t i = 0;
  while (i < p.size()) {
    size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    const std::string part = p.substr(i, j - i);
    if (!part.empty() && part != ".") out += "/" + part;
    i = j + 1;
  }
  return out.empty() ? "/" : out;
}

std::string fdPath(int fd) {
  char link[64], buf[4096];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t n = readlink(link, buf, sizeof buf - 1);
  if (n < 0) return {};
  return std::string(buf, size_t(n));
}

std::string absolute(int dirFd, const char* path) {
  if (!path) return {};
  if (path[0] == '/') return normalised(path);
  std::string base;
  if (dirFd == AT_FDCWD) {
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd)) return {};
    base = cwd;
  } else {
    base = fdPath(dirFd);
  }
  return normalised(base + "/" + path);
}

// The path relative to the root, or "" when it is outside.
std::string underRoot(const std::string& abs) {
  if (abs.empty()) return {};
  if (abs == root) return ".";
  if (abs.size() > root.size() && abs.compare(0, root.size(), root) == 0 && abs[root.size()] == '/')
    return abs.substr(root.size() + 1);
  return {};
}

void entry(const std::string& line, const void* data = nullptr, size_t n = 0) {
  writeRaw(line.data(), line.size());
  writeRaw("\n", 1);
  if (n) writeRaw(static_cast<const char*>(data), n);
}

struct Guard {
  int savedErrno = errno;
  Guard() { pthread_mutex_lock(&logMutex); }
  ~Guard() {
    pthread_mutex_unlock(&logMutex);
    errno = savedErrno;
  }
};

// The inode of a regular file open as fd under the root, or 0.
unsigned long long watchedInode(int fd) {
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return 0;
  std::string p = fdPath(fd);
  const std::string deleted = " (deleted)";
  if (p.size() > deleted.size() && p.compare(p.size() - deleted.size(), deleted.size(), deleted) == 0)
    p.resize(p.size() - deleted.size());
  if (underRoot(p).empty()) return 0;
  return (unsigned long long)st.st_ino;
}

// Before an open: whether the name is missing (so that O_CREAT creates it)
// and whether it holds bytes (so that O_TRUNC cuts them).
struct BeforeOpen {
  std::string rel;
  bool missing = false;
  bool hadBytes = false;
};

BeforeOpen beforeOpen(int dirFd, const char* path, int flags) {
  BeforeOpen b;
  if (!recording() || !(flags & (O_CREAT | O_TRUNC))) return b;
  b.rel = underRoot(absolute(dirFd, path));
  if (b.rel.empty()) return b;
  struct stat st {};
  const int r = fstatat(dirFd, path, &st, 0);
  b.missing = r != 0;
  b.hadBytes = r == 0 && st.st_size > 0;
  return b;
}

void afterOpen(const BeforeOpen& b, int fd, int flags) {
  if (fd < 0 || b.rel.empty()) return;
  Guard g;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return;
  if ((flags & O_CREAT) && b.missing) entry("C\t" + b.rel + "\t" + std::to_string(st.st_ino));
  else if ((flags & O_TRUNC) && b.hadBytes) entry("T\t" + std::to_string(st.st_ino) + "\t0");
}

void recordWrite(int fd, const void* buf, ssize_t n, long long offset) {
  if (n <= 0 || !recording()) return;
  Guard g;
  const unsigned long long ino = watchedInode(fd);
  if (!ino) return;
  entry("W\t" + std::to_string(ino) + "\t" + std::to_string(offset) + "\t" + std::to_string(n), buf, size_t(n));
}

void recordCreated(int fd, const char* path) {
  if (fd < 0 || !recording()) return;
  Guard g;
  const std::string rel = underRoot(absolute(AT_FDCWD, path));
  struct stat st {};
  if (rel.empty() || fstat(fd, &st) != 0) return;
  entry("C\t" + rel + "\t" + std::to_string(st.st_ino));
}

void recordPath(const char* tag, int dirFd, const char* path) {
  if (!recording()) return;
  Guard g;
  const std::string rel = underRoot(absolute(dirFd, path));
  if (!rel.empty()) entry(std::string(tag) + "\t" + rel);
}

void recordTwo(const char* tag, int fromDir, const char* from, int toDir, const char* to) {
  if (!recording()) return;
  Guard g;
  const std::string a = underRoot(absolute(fromDir, from)), b = underRoot(absolute(toDir, to));
  if (a.empty() && b.empty()) return;
  // A name coming from outside the root appears as a creation of unknown
  // bytes, which no writer of ours does; it is logged so the checker fails.
  entry(std::string(tag) + "\t" + (a.empty() ? "?" : a) + "\t" + (b.empty() ? "?" : b));
}

void recordSync(int fd) {
  if (!recording()) return;
  Guard g;
  struct stat st {};
  if (fstat(fd, &st) != 0) return;
  if (S_ISDIR(st.st_mode)) {
    const std::string rel = underRoot(fdPath(fd));
    if (!rel.empty()) entry("D\t" + rel);
    return;
  }
  if (const unsigned long long ino = watchedInode(fd)) entry("S\t" + std::to_string(ino));
}

void recordLock(int fd, const char* what) {
  if (!recording()) return;
  Guard g;
  if (const unsigned long long ino = watchedInode(fd)) entry("K\t" + std::to_string(ino) + "\t" + what);
}

mode_t modeArg(int flags, va_list ap) {
  return (flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE ? mode_t(va_arg(ap, int)) : 0;
}

// The mode an open's variable arguments carry, as `mode`.
#define MODE_ARG(flags)                \
  va_list ap;                          \
  va_start(ap, flags);                 \
  const mode_t mode = modeArg(flags, ap); \
  va_end(ap)

template <class Call>
int recordedOpen(int dirFd, const char* path, int flags, Call call) {
  const BeforeOpen b = beforeOpen(dirFd, path, flags);
  const int fd = call();
  afterOpen(b, fd, flags);
  return fd;
}

}  // namespace

extern "C" {

int open(const char* path, int flags, ...) {
  MODE_ARG(flags);
  return recordedOpen(AT_FDCWD, path, flags, [&] { return NEXT(open)(path, flags, mode); });
}

int open64(const char* path, int flags, ...) {
  MODE_ARG(flags);
  return recordedOpen(AT_FDCWD, path, flags, [&] { return NEXT(open64)(path, flags, mode); });
}

int openat(int dirFd, const char* path, int flags, ...) {
  MODE_ARG(flags);
  return recordedOpen(dirFd, path, flags, [&] { return NEXT(openat)(dirFd, path, flags, mode); });
}

int openat64(int dirFd, const char* path, int flags, ...) {
  MODE_ARG(flags);
  return recordedOpen(dirFd, path, flags, [&] { return NEXT(openat64)(dirFd, path, flags, mode); });
}

int creat(const char* path, mode_t mode) { return open(path, O_WRONLY | O_CREAT | O_TRUNC, mode); }

int mkstemp(char* tmpl) {
  const int fd = NEXT(mkstemp)(tmpl);
  recordCreated(fd, tmpl);
  return fd;
}

int mkostemp(char* tmpl, int flags) {
  const int fd = NEXT(mkostemp)(tmpl, flags);
  recordCreated(fd, tmpl);
  return fd;
}

int mkstemps(char* tmpl, int suffixLen) {
  const int fd = NEXT(mkstemps)(tmpl, suffixLen);
  recordCreated(fd, tmpl);
  return fd;
}

int mkostemps(char* tmpl, int suffixLen, int flags) {
  const int fd = NEXT(mkostemps)(tmpl, suffixLen, flags);
  recordCreated(fd, tmpl);
  return fd;
}

char* mkdtemp(char* tmpl) {
  char* r = NEXT(mkdtemp)(tmpl);
  if (r) recordPath("M", AT_FDCWD, r);
  return r;
}

ssize_t write(int fd, const void* buf, size_t n) {
  const ssize_t w = NEXT(write)(fd, buf, n);
  if (w > 0) {
    const int e = errno;
    const off_t end = lseek(fd, 0, SEEK_CUR);
    errno = e;
    if (end >= 0) recordWrite(fd, buf, w, (long long)end - w);
  }
  return w;
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
  const ssize_t w = NEXT(pwrite)(fd, buf, n, offset);
  recordWrite(fd, buf, w, offset);
  return w;
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off64_t offset) {
  const ssize_t w = NEXT(pwrite64)(fd, buf, n, offset);
  recordWrite(fd, buf, w, offset);
  return w;
}

// The kernel's copy (the day copy): logged as the write of the bytes it put
// in the target, read back from the source where they came from.
ssize_t copy_file_range(int fdIn, off64_t* offIn, int fdOut, off64_t* offOut, size_t len, unsigned int flags) {
  const int e0 = errno;
  const long long from = offIn ? (long long)*offIn : (long long)lseek(fdIn, 0, SEEK_CUR);
  const long long at = offOut ? (long long)*offOut : (long long)lseek(fdOut, 0, SEEK_CUR);
  errno = e0;
  const ssize_t n = NEXT(copy_file_range)(fdIn, offIn, fdOut, offOut, len, flags);
  if (n > 0 && from >= 0 && at >= 0 && recording()) {
    const int e = errno;
    std::string bytes(size_t(n), '\0');
    if (::pread(fdIn, bytes.data(), size_t(n), off_t(from)) == n) recordWrite(fdOut, bytes.data(), n, at);
    errno = e;
  }
  return n;
}

int ftruncate(int fd, off_t size) {
  const int r = NEXT(ftruncate)(fd, size);
  if (r == 0 && recording()) {
    Guard g;
    if (const unsigned long long ino = watchedInode(fd))
      entry("T\t" + std::to_string(ino) + "\t" + std::to_string((long long)size));
  }
  return r;
}

int ftruncate64(int fd, off64_t size) { return ftruncate(fd, off_t(size)); }

int fsync(int fd) {
  const int r = NEXT(fsync)(fd);
  if (r == 0) recordSync(fd);
  return r;
}

int fdatasync(int fd) {
  const int r = NEXT(fdatasync)(fd);
  if (r == 0) recordSync(fd);
  return r;
}

int rename(const char* from, const char* to) {
  const int r = NEXT(rename)(from, to);
  if (r == 0) recordTwo("R", AT_FDCWD, from, AT_FDCWD, to);
  return r;
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
  const int r = NEXT(renameat)(fromDir, from, toDir, to);
  if (r == 0) recordTwo("R", fromDir, from, toDir, to);
  return r;
}

int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags) {
  const int r = NEXT(renameat2)(fromDir, from, toDir, to, flags);
  if (r == 0) recordTwo(flags & RENAME_EXCHANGE ? "X" : "R", fromDir, from, toDir, to);
  return r;
}

int unlink(const char* path) {
  const int r = NEXT(unlink)(path);
  if (r == 0) recordPath("U", AT_FDCWD, path);
  return r;
}

int unlinkat(int dirFd, const char* path, int flags) {
  const int r = NEXT(unlinkat)(dirFd, path, flags);
  if (r == 0) recordPath(flags & AT_REMOVEDIR ? "RD" : "U", dirFd, path);
  return r;
}

int rmdir(const char* path) {
  const int r = NEXT(rmdir)(path);
  if (r == 0) recordPath("RD", AT_FDCWD, path);
  return r;
}

int mkdir(const char* path, mode_t mode) {
  const int r = NEXT(mkdir)(path, mode);
  if (r == 0) recordPath("M", AT_FDCWD, path);
  return r;
}

int mkdirat(int dirFd, const char* path, mode_t mode) {
  const int r = NEXT(mkdirat)(dirFd, path, mode);
  if (r == 0) recordPath("M", dirFd, path);
  return r;
}

int link(const char* from, const char* to) {
  const int r = NEXT(link)(from, to);
  if (r == 0) recordTwo("L", AT_FDCWD, from, AT_FDCWD, to);
  return r;
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
  const int r = NEXT(linkat)(fromDir, from, toDir, to, flags);
  if (r == 0) recordTwo("L", fromDir, from, toDir, to);
  return r;
}

int flock(int fd, int op) {
  const int r = NEXT(flock)(fd, op);
  if (r == 0) recordLock(fd, (op & LOCK_UN) ? "flock-un" : (op & LOCK_SH) ? "flock-sh" : "flock-ex");
  return r;
}

int fcntl(int fd, int cmd, ...) {
  va_list ap;
  va_start(ap, cmd);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  const int r = NEXT(fcntl)(fd, cmd, arg);
  const bool lockCmd = cmd == F_SETLK || cmd == F_SETLKW || cmd == F_OFD_SETLK || cmd == F_OFD_SETLKW;
  if (r == 0 && lockCmd && arg) {
    const short type = static_cast<struct flock*>(arg)->l_type;
    recordLock(fd, type == F_UNLCK ? "unlock" : type == F_RDLCK ? "read" : "write");
  }
  return r;
}

int fcntl64(int fd, int cmd, ...) {
  va_list ap;
  va_start(ap, cmd);
  void* arg = va_arg(ap, void*);
  va_end(ap);
  return fcntl(fd, cmd, arg);
}

}  // extern "C"
