// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/filepath.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace fondaro {
namespace {

constexpr char16_t kCarriedFirst = 0xDC80;  // carries the byte 0x80
constexpr char16_t kCarriedLast = 0xDCFF;   // carries the byte 0xFF

// The length of the well-formed UTF-8 sequence at s[i] and its code point, or
// 0 when the bytes there are not one (overlong forms and surrogates included).
int utf8Sequence(QByteArrayView s, qsizetype i, char32_t& cp) {
  const auto byte = [&](qsizetype k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char b0 = byte(i);
  int len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, min = 0x80, cp = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, min = 0x800, cp = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (int k = 1; k < len; ++k) {
    const unsigned char b = byte(i + k);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

template <class Byte>
QString decode(QByteArrayView native, Byte&& strayByte) {
  QString out;
  out.reserve(native.size());
  for (qsizetype i = 0; i < native.size();) {
    char32_t cp = 0;
    const int len = utf8Sequence(native, i, cp);
    if (len == 0) {
      out += strayByte(static_cast<unsigned char>(native[i]));
      ++i;
      continue;
    }
    if (cp < 0x10000) {
      out += QChar(char16_t(cp));
    } else {
      out += QChar(QChar::highSurrogate(cp));
      out += QChar(QChar::lowSurrogate(cp));
    }
    i += len;
  }
  return out;
}

}  // namespace

QString decodePath(QByteArrayView native) {
  return decode(native, [](unsigned char b) { return QChar(char16_t(0xDC00 + b)); });
}

QString displayPath(QByteArrayView native) {
  return decode(native, [](unsigned char b) { return QChar(char16_t(b)); });
}

QByteArray encodePath(QStringView path) {
  QByteArray out;
  out.reserve(path.size());
  qsizetype runStart = 0;
  const auto flushRun = [&](qsizetype end) {
    if (end > runStart) out += path.sliced(runStart, end - runStart).toUtf8();
  };
  for (qsizetype i = 0; i < path.size(); ++i) {
    const char16_t c = path[i].unicode();
    // A carried byte is a lone low surrogate: one after a high surrogate is half
    // of an ordinary character.
    const bool paired = i > 0 && QChar::isHighSurrogate(path[i - 1].unicode());
    if (c >= kCarriedFirst && c <= kCarriedLast && !paired) {
      flushRun(i);
      out += char(c - 0xDC00);
      runStart = i + 1;
    }
  }
  flushRun(path.size());
  return out;
}

QByteArray joinPath(QByteArrayView folder, QByteArrayView name) {
  QByteArray out = folder.toByteArray();
  if (!out.isEmpty() && !out.endsWith('/')) out += '/';
  out += name;
  return out;
}

int openRegularFile(const QByteArray& native, int flags, bool* notRegular) {
  if (notRegular) *notRegular = false;
  int fd;
  // A signal during the open of a file on a slow network share is no failure.
  do fd = ::open(native.constData(), flags | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  while (fd < 0 && errno == EINTR);
  struct stat st {};
  if (fd < 0) {
    // A socket, or a FIFO opened for writing with no reader, cannot be opened at
    // all; say what it is rather than the system's puzzling answer.
    const int err = errno;
    if (notRegular && (err == ENXIO || err == EOPNOTSUPP) && ::stat(native.constData(), &st) == 0 &&
        !S_ISREG(st.st_mode))
      *notRegular = true;
    errno = err;
    return -1;
  }
  int err = 0;
  if (fstat(fd, &st) != 0) {
    err = errno;
  } else if (!S_ISREG(st.st_mode)) {
    err = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (notRegular) *notRegular = true;
  }
  if (err != 0) {
    ::close(fd);
    errno = err;
    return -1;
  }
  const int fl = fcntl(fd, F_GETFL);
  if (fl >= 0) fcntl(fd, F_SETFL, fl & ~O_NONBLOCK);
  return fd;
}

SmallFile readSmallFile(const QByteArray& native, qint64 maxBytes) {
  using S = SmallFile::Status;
  SmallFile r;
  bool notRegular = false;
  const int fd = openRegularFile(native, O_RDONLY, &notRegular);
  if (fd < 0) {
    r.sysError = errno;
    r.status = notRegular                                   ? S::NotRegular
               : (errno == ENOENT || errno == ENOTDIR)      ? S::Missing
                                                            : S::Failed;
    return r;
  }
  struct stat st {};
  if (fstat(fd, &st) == 0 && st.st_size > maxBytes) {
    ::close(fd);
    r.status = S::TooLarge;
    return r;
  }
  // The size may change while it is read: the ceiling holds for what is read.
  QByteArray content;
  char chunk[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      r.sysError = errno;
      ::close(fd);
      r.status = S::Failed;
      return r;
    }
    if (n == 0) break;
    if (content.size() + n > maxBytes) {
      ::close(fd);
      r.status = S::TooLarge;
      return r;
    }
    content.append(chunk, n);
  }
  ::close(fd);
  r.bytes = std::move(content);
  r.status = S::Ok;
  return r;
}

}  // namespace fondaro
