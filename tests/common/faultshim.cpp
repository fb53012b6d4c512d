// SPDX-License-Identifier: GPL-3.0-or-later
/* A preloaded library that makes one system call fail, for the tests of what
 * the program does when the disk gives up half way.
 *
 *   FONDARO_FAULT="CALL:N:ERRNO[:COUNT][:MATCH]"
 *
 * CALL is write, pwrite, fsync, fdatasync, close or rename; the Nth call of it
 * (from 1, counting only calls on a file whose path contains MATCH when MATCH
 * is given) and the COUNT-1 after it (default 1) fail with ERRNO (EIO, ENOSPC,
 * EINTR, EACCES), or for pwrite SHORT: the Nth call writes half its bytes, as
 * a disk that fills up does, and the ones after it in the count fail with
 * ENOSPC. The variable is read at every call, so a test may arm and
 * disarm it while running; the count starts again whenever its text changes.
 * A failing write or close does nothing; a failing close still closes. */
#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static char armed[512];
static long seen;

enum { kShort = -1 };

static int errno_of(const char* name) {
  if (strcmp(name, "SHORT") == 0) return kShort;
  if (strcmp(name, "ENOSPC") == 0) return ENOSPC;
  if (strcmp(name, "EINTR") == 0) return EINTR;
  if (strcmp(name, "EACCES") == 0) return EACCES;
  return EIO;
}

static int path_matches(int fd, const char* path, const char* match) {
  if (!match || !*match) return 1;
  char buf[4096];
  if (!path) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t n = readlink(link, buf, sizeof buf - 1);
    if (n < 0) return 0;
    buf[n] = 0;
    path = buf;
  }
  return strstr(path, match) != NULL;
}

/* 0 when the call goes through, else the errno it fails with. */
static int should_fail(const char* call, int fd, const char* path) {
  const char* armedText = getenv("FONDARO_FAULT");
  if (!armedText || !*armedText) return 0;
  if (strncmp(armedText, armed, sizeof armed) != 0) {
    strncpy(armed, armedText, sizeof armed - 1);
    seen = 0;
  }
  char copy[512];
  strncpy(copy, armedText, sizeof copy - 1);
  copy[sizeof copy - 1] = 0;
  char* fields[5] = {0};
  int n = 0;
  for (char* p = strtok(copy, ":"); p && n < 5; p = strtok(NULL, ":")) fields[n++] = p;
  if (n < 3 || strcmp(fields[0], call) != 0) return 0;
  const long nth = atol(fields[1]);
  const long count = n > 3 ? atol(fields[3]) : 1;
  if (!path_matches(fd, path, n > 4 ? fields[4] : NULL)) return 0;
  ++seen;
  if (seen < nth || seen >= nth + count) return 0;
  const int e = errno_of(fields[2]);
  return e == kShort && seen > nth ? ENOSPC : e;
}

#define NEXT(name) (reinterpret_cast<decltype(&::name)>(dlsym(RTLD_NEXT, #name)))

extern "C" {

ssize_t write(int fd, const void* buf, size_t n) {
  const int e = should_fail("write", fd, NULL);
  if (e) return errno = e, -1;
  return NEXT(write)(fd, buf, n);
}

ssize_t pwrite64(int fd, const void* buf, size_t n, off_t offset) {
  const int e = should_fail("pwrite", fd, NULL);
  if (e == kShort) return NEXT(pwrite64)(fd, buf, n / 2 > 0 ? n / 2 : n, offset);
  if (e) return errno = e, -1;
  return NEXT(pwrite64)(fd, buf, n, offset);
}

ssize_t pwrite(int fd, const void* buf, size_t n, off_t offset) {
  const int e = should_fail("pwrite", fd, NULL);
  if (e == kShort) return NEXT(pwrite)(fd, buf, n / 2 > 0 ? n / 2 : n, offset);
  if (e) return errno = e, -1;
  return NEXT(pwrite)(fd, buf, n, offset);
}

int fsync(int fd) {
  const int e = should_fail("fsync", fd, NULL);
  if (e) return errno = e, -1;
  return NEXT(fsync)(fd);
}

int fdatasync(int fd) {
  const int e = should_fail("fdatasync", fd, NULL);
  if (e) return errno = e, -1;
  return NEXT(fdatasync)(fd);
}

int close(int fd) {
  const int e = should_fail("close", fd, NULL);
  const int r = NEXT(close)(fd);
  if (e) return errno = e, -1;
  return r;
}

int rename(const char* from, const char* to) {
  const int e = should_fail("rename", -1, to);
  if (e) return errno = e, -1;
  return NEXT(rename)(from, to);
}

}  // extern "C"
