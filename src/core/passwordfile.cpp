// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/passwordfile.h"

#include "core/archive.h"
#include "core/writehook.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/filepath.h"
#include "core/replacefile.h"

namespace fondaro {

namespace {

struct Line {
  qsizetype begin;  // first byte of the line
  qsizetype end;    // first byte of its line ending (or of the next line)
  qsizetype next;   // first byte of the next line
};

std::vector<Line> splitLines(const QByteArray& s) {
  std::vector<Line> lines;
  qsizetype i = 0;
  const qsizetype n = s.size();
  while (i < n) {
    qsizetype j = i;
    while (j < n && s[j] != '\n' && s[j] != '\r') ++j;
    qsizetype k = j;
    if (k < n && s[k] == '\r') ++k;
    if (k < n && s[k] == '\n') ++k;
    lines.push_back({i, j, k});
    i = k;
  }
  return lines;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

QByteArrayView trimBlanks(QByteArrayView v) {
  qsizetype b = 0;
  qsizetype e = v.size();
  while (b < e && isBlank(v[b])) ++b;
  while (e > b && isBlank(v[e - 1])) --e;
  return v.sliced(b, e - b);
}

bool sameName(QByteArrayView a, QByteArrayView b) {
  return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nullopt for any other line.
std::optional<QByteArrayView> sectionName(QByteArrayView line) {
  const QByteArrayView t = trimBlanks(line);
  if (t.isEmpty() || t[0] != '[') return std::nullopt;
  const qsizetype close = t.indexOf(']');
  if (close < 0) return std::nullopt;
  return trimBlanks(t.sliced(1, close - 1));
}

struct KeyLine {
  QByteArrayView key;
  qsizetype valueOffset;  // within the line, just after "="
};

std::optional<KeyLine> keyOf(QByteArrayView line) {
  const qsizetype eq = line.indexOf('=');
  if (eq < 0) return std::nullopt;
  return KeyLine{trimBlanks(line.first(eq)), eq + 1};
}

// A UTF-8 byte order mark would otherwise hide the first section.
qsizetype bomLength(const QByteArray& s) { return s.startsWith("\xEF\xBB\xBF") ? 3 : 0; }

// Where a key is, or where its section ends, in the content.
struct Location {
  bool sectionFound = false;
  std::optional<Line> keyLine;
  qsizetype keyValueOffset = 0;
  qsizetype sectionEnd = 0;  // just after the last non-blank line of the section
};

Location locate(const QByteArray& content, QByteArrayView section, QByteArrayView key) {
  Location loc;
  bool inSection = false;
  const qsizetype bom = bomLength(content);
  for (const Line& l : splitLines(content)) {
    const qsizetype b = l.begin == 0 ? bom : l.begin;
    const QByteArrayView text(content.constData() + b, l.end - b);
    if (auto name = sectionName(text)) {
      if (inSection) break;  // the first matching section ends here
      inSection = sameName(*name, section);
      if (inSection) {
        loc.sectionFound = true;
        loc.sectionEnd = l.next;
      }
      continue;
    }
    if (!inSection) continue;
    if (!trimBlanks(text).isEmpty()) loc.sectionEnd = l.next;
    if (auto k = keyOf(text); k && sameName(k->key, key)) {
      loc.keyLine = Line{b, l.end, l.next};
      loc.keyValueOffset = k->valueOffset;
      return loc;
    }
  }
  return loc;
}

QByteArray lineEndingOf(const QByteArray& content) {
  const qsizetype lf = content.indexOf('\n');
  if (lf > 0 && content[lf - 1] == '\r') return "\r\n";
  if (lf >= 0) return "\n";
  return "\r\n";  // a new file gets the line ending INI files traditionally have
}

}  // namespace

QByteArray passwordFilePath(const QByteArray& programFolder) {
  return programFolder + kPasswordFileName;
}

QString passwordFilePath(const QString& programFolder) {
  return decodePath(passwordFilePath(encodePath(programFolder)));
}

PasswordFileError::PasswordFileError(Reason reason, const QByteArray& path, const QString& detail)
    : UserError((displayPath(path) + QStringLiteral(": ") + detail).toStdString()), reason_(reason) {}

UserError::Kind PasswordFileError::errorKind() const {
  switch (reason_) {
    case Reason::ReadOnly:
    case Reason::NotRegular:
    case Reason::TooLarge: return Kind::Refused;
    case Reason::Unreadable:
    case Reason::WriteFailed: break;
  }
  return Kind::System;
}

QString PasswordFileError::italian() const {
  return reason_ == Reason::ReadOnly || reason_ == Reason::WriteFailed
             ? QStringLiteral("Non è stato possibile scrivere il file delle password.")
             : QStringLiteral("Non è stato possibile leggere il file delle password.");
}

std::optional<QByteArray> iniValue(const QByteArray& content, QByteArrayView section,
                                   QByteArrayView key) {
  const Location loc = locate(content, section, key);
  if (!loc.keyLine) return std::nullopt;
  const Line& l = *loc.keyLine;
  QByteArrayView v = trimBlanks(QByteArrayView(content.constData() + l.begin + loc.keyValueOffset,
                                               l.end - l.begin - loc.keyValueOffset));
  if (v.size() >= 2 && v.front() == '"' && v.back() == '"') v = v.sliced(1, v.size() - 2);
  return v.toByteArray();
}

QByteArray withIniValue(const QByteArray& content, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value) {
  const Location loc = locate(content, section, key);
  const QByteArray eol = lineEndingOf(content);
  QByteArray out;
  if (loc.keyLine) {
    const Line& l = *loc.keyLine;
    out.reserve(content.size() + value.size());
    out.append(content.constData(), l.begin + loc.keyValueOffset);
    out.append(value);
    out.append(content.constData() + l.end, content.size() - l.end);
    return out;
  }
  const QByteArray keyLine = key.toByteArray() + '=' + value.toByteArray();
  if (loc.sectionFound) {
    // The section's last line may be the file's last line without an ending.
    QByteArray before = content.left(loc.sectionEnd);
    if (!before.endsWith('\n') && !before.endsWith('\r')) before.append(eol);
    return before + keyLine + eol + content.mid(loc.sectionEnd);
  }
  out = content;
  if (!out.isEmpty() && !out.endsWith('\n') && !out.endsWith('\r')) out.append(eol);
  out.append('[' + section.toByteArray() + ']' + eol);
  out.append(keyLine + eol);
  return out;
}

namespace {

QString systemText(int err) { return QString::fromLocal8Bit(std::strerror(err)); }

mode_t currentUmask() {
  const mode_t m = ::umask(0);
  ::umask(m);
  return m;
}

// A password file that is a link is rewritten where the link points, so that
// the link stays.
QByteArray linkTarget(const QByteArray& path) {
  struct stat st {};
  if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char* resolved = ::realpath(path.constData(), nullptr);
  if (!resolved) return path;
  QByteArray target(resolved);
  std::free(resolved);
  return target;
}

// The new content goes to a fresh file in the same folder, reaches the disk,
// and only then takes the old one's name, and the folder is synced: a crash or
// a full disk leaves either the old file or the new one, never a cut one, and
// a change reported done stays done (the one write path, core/replacefile.h;
// its temporary file is one the next write or start removes when left over).
void replaceFile(const QByteArray& path, const QByteArray& content, mode_t mode) {
  WriteFailure why;
  const bool written = replaceFileBytes(
      path, [&](int fd) { return ::fchmod(fd, mode) == 0 && writeAllTo(fd, content.constData(), content.size()); },
      &why);
  if (!written) throw PasswordFileError(PasswordFileError::Reason::WriteFailed, path, systemText(why.err));
}

}  // namespace

std::optional<QByteArray> readPasswordFileBytes(const QByteArray& path) {
  using R = PasswordFileError::Reason;
  using S = SmallFile::Status;
  SmallFile f = readSmallFile(path, kPasswordFileMaxBytes);
  switch (f.status) {
    case S::Ok: return std::move(f.bytes);
    case S::Missing: return std::nullopt;
    case S::NotRegular:
      throw PasswordFileError(R::NotRegular, path, QStringLiteral("not a regular file"));
    case S::TooLarge:
      throw PasswordFileError(R::TooLarge, path, QStringLiteral("larger than a password file can be"));
    case S::Failed: break;
  }
  throw PasswordFileError(R::Unreadable, path, systemText(f.sysError));
}

QString readIniValue(const QByteArray& path, QByteArrayView section, QByteArrayView key) {
  const auto content = readPasswordFileBytes(path);
  if (!content) return {};
  const auto v = iniValue(*content, section, key);
  return v ? QString::fromLatin1(*v) : QString();
}

void writeIniValue(const QByteArray& named, QByteArrayView section, QByteArrayView key,
                   QStringView value) {
  using R = PasswordFileError::Reason;
  const QByteArray path = linkTarget(named);
  beforeWrite(named);
  // Under the file's lock: a restore replacing it at the same moment is either
  // done before this reads it or waits until this has written it.
  std::optional<FileHold> hold;
  try {
    hold.emplace(FileHold::take(path, false));
  } catch (const ArchiveError&) {
    // Not writable: refused below with the reason.
  }
  QByteArray content;
  mode_t mode = 0666 & ~currentUmask();
  struct stat st {};
  if (::stat(path.constData(), &st) == 0) {
    // The read-only attribute is honoured even for a user (root) whom the
    // system would let write: the file was marked so on purpose.
    if (S_ISREG(st.st_mode) && (!(st.st_mode & S_IWUSR) || ::access(path.constData(), W_OK) != 0))
      throw PasswordFileError(R::ReadOnly, path, QStringLiteral("the file is read-only"));
    mode = st.st_mode & 07777;
  }
  if (auto existing = readPasswordFileBytes(path)) content = std::move(*existing);
  const QByteArray updated = withIniValue(content, section, key, value.toLatin1());
  replaceFile(path, updated, mode);
}

QString readStoredPassword(const QByteArray& programFolder) {
  return readIniValue(passwordFilePath(programFolder), kPasswordSection, kPasswordKey);
}

void writeStoredPassword(const QByteArray& programFolder, QStringView value) {
  writeIniValue(passwordFilePath(programFolder), kPasswordSection, kPasswordKey, value);
}

QString readStoredPassword(const QString& programFolder) {
  return readStoredPassword(encodePath(programFolder));
}

void writeStoredPassword(const QString& programFolder, QStringView value) {
  writeStoredPassword(encodePath(programFolder), value);
}

}  // namespace fondaro
