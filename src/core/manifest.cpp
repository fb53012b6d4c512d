// SPDX-License-Identifier: GPL-3.0-or-later
// The manifest of a copy: its writing and reading, the check of a copy
// against it, and the listing of the copies of a folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/safetycopies.h"
#include "core/safetyinternals.h"

namespace fondaro::safety {

namespace {

constexpr char kManifestTitle[] = "Fondaro: copia di sicurezza";
constexpr qint64 kMaxManifestBytes = 16 << 20;

const char* kindWord(CopyKind k) {
  switch (k) {
    case CopyKind::Day: return "giornaliera";
    case CopyKind::Full: return "completa";
    case CopyKind::BeforeRestore: return "prima-del-ripristino";
  }
  return "completa";
}

QByteArray manifestText(const Manifest& m) {
  QByteArray s = QByteArray(kManifestTitle) + '\n';
  s += "creata " + m.made.toString(Qt::ISODate).toLatin1() + '\n';
  s += QByteArray("tipo ") + kindWord(m.kind) + '\n';
  for (const ManifestEntry& e : m.files)
    s += "file " + e.sha256 + ' ' + QByteArray::number(e.size) + ' ' + e.name + '\n';
  return s;
}

std::optional<Manifest> parseManifest(const QByteArray& text) {
  const QList<QByteArray> lines = text.split('\n');
  if (lines.isEmpty() || lines[0] != kManifestTitle) return std::nullopt;
  Manifest m;
  bool sawMade = false;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& l = lines[i];
    if (l.isEmpty()) continue;
    if (l.startsWith("creata ")) {
      m.made = QDateTime::fromString(QString::fromLatin1(l.mid(7)), Qt::ISODate);
      sawMade = m.made.isValid();
    } else if (l.startsWith("tipo ")) {
      const QByteArray k = l.mid(5);
      m.kind = k == kindWord(CopyKind::Day)             ? CopyKind::Day
               : k == kindWord(CopyKind::BeforeRestore) ? CopyKind::BeforeRestore
                                                        : CopyKind::Full;
    } else if (l.startsWith("file ")) {
      const qsizetype a = 5, b = l.indexOf(' ', a), c = b < 0 ? -1 : l.indexOf(' ', b + 1);
      if (c < 0) return std::nullopt;
      ManifestEntry e;
      e.sha256 = l.mid(a, b - a);
      bool ok = false;
      e.size = l.mid(b + 1, c - b - 1).toLongLong(&ok);
      e.name = l.mid(c + 1);
      if (!ok || e.size < 0 || e.sha256.size() != 64 || e.name.isEmpty() || e.name.startsWith('/') ||
          e.name.contains("..") || e.name == kManifestName)
        return std::nullopt;
      m.files << e;
    } else {
      return std::nullopt;
    }
  }
  if (!sawMade) return std::nullopt;
  return m;
}

}  // namespace

namespace detail {

void writeManifest(const QByteArray& copyFolder, const Manifest& m) {
  const QByteArray text = manifestText(m);
  WriteFailure why;
  if (!replaceFileBytes(
          joinPath(copyFolder, kManifestName), [&](int fd) { return writeAllTo(fd, text.constData(), text.size()); },
          &why))
    throw CopyError(joinPath(copyFolder, kManifestName), why);
}

Verification verifyAgainst(const QByteArray& copyFolder, const Manifest& m, const ProgressFn& progress,
                           qint64& done, qint64 total) {
  Verification v;
  for (const ManifestEntry& e : m.files) {
    const QByteArray path = joinPath(copyFolder, e.name);
    const auto damaged = [&](CopyError::Damage d) {
      v.state = Verification::State::Damaged;
      v.file = e.name;
      v.damage = d;
      return v;
    };
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return damaged(CopyError::Damage::Missing);
    if (st.st_size != e.size) return damaged(CopyError::Damage::Size);
    const int fd = openRegularFile(path, O_RDONLY);
    if (fd < 0) return damaged(CopyError::Damage::Missing);
    Sha256 hash;
    std::vector<char> buf(static_cast<size_t>(kBlock));
    qint64 size = 0;
    bool readOk = true;
    for (;;) {
      const ssize_t n = ::read(fd, buf.data(), buf.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        readOk = n == 0;
        break;
      }
      hash.add(buf.data(), n);
      size += n;
      done += n;
      try {
        reportProgress(progress, done, std::max(total, done));
      } catch (...) {
        ::close(fd);
        throw;
      }
    }
    ::close(fd);
    if (!readOk) return damaged(CopyError::Damage::Content);
    if (size != e.size) return damaged(CopyError::Damage::Size);
    if (hash.hex() != e.sha256) return damaged(CopyError::Damage::Content);
  }
  v.state = Verification::State::Verified;
  return v;
}

qint64 manifestBytes(const Manifest& m) {
  qint64 n = 0;
  for (const ManifestEntry& e : m.files) n += e.size;
  return n;
}

}  // namespace detail

using namespace detail;

Manifest readManifest(const QByteArray& copyFolder) {
  const QByteArray path = joinPath(copyFolder, kManifestName);
  const SmallFile f = readSmallFile(path, kMaxManifestBytes);
  if (f.status == SmallFile::Status::Missing || f.status == SmallFile::Status::NotRegular)
    throw CopyError(CopyError::Reason::NoManifest, copyFolder);
  if (f.status != SmallFile::Status::Ok)
    throw CopyError(CopyError::Reason::System, path, f.sysError ? f.sysError : EFBIG);
  const auto m = parseManifest(f.bytes);
  if (!m) throw CopyError(CopyError::Reason::Damaged, path, 0, CopyError::Damage::Manifest);
  return *m;
}

Verification verifyCopy(const QByteArray& copyFolder, const ProgressFn& progress) {
  Manifest m;
  try {
    m = readManifest(copyFolder);
  } catch (const CopyError& e) {
    Verification v;
    if (e.reason() == CopyError::Reason::Damaged) {
      v.state = Verification::State::Damaged;
      v.file = kManifestName;
      v.damage = CopyError::Damage::Manifest;
    }
    return v;
  }
  qint64 done = 0;
  return verifyAgainst(copyFolder, m, progress, done, manifestBytes(m));
}

QList<CopyInfo> listCopies(const QByteArray& copiesFolder, bool verify, const ProgressFn& progress) {
  removeStaleTemporaries(copiesFolder);
  QList<CopyInfo> copies;
  QList<std::optional<Manifest>> manifests;
  qint64 total = 0;
  for (const QByteArray& name : folderEntries(copiesFolder)) {
    const auto parsed = parseCopyName(name);
    const QByteArray path = joinPath(copiesFolder, name);
    if (!parsed || !isDir(path, false)) continue;
    CopyInfo c;
    c.path = path;
    c.name = name;
    c.kind = parsed->first;
    c.made = parsed->second;
    std::optional<Manifest> m;
    try {
      m = readManifest(path);
      if (m->made.isValid()) c.made = m->made;
      c.files = m->files.size();
      c.bytes = manifestBytes(*m);
      total += c.bytes;
    } catch (const CopyError& e) {
      if (e.reason() == CopyError::Reason::Damaged) {
        c.verification.state = Verification::State::Damaged;
        c.verification.file = kManifestName;
        c.verification.damage = CopyError::Damage::Manifest;
      }
    }
    copies << c;
    manifests << m;
  }
  if (verify) {
    qint64 done = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
      copies[i].verified = true;
      if (manifests[i]) copies[i].verification = verifyAgainst(copies[i].path, *manifests[i], progress, done, total);
    }
  }
  std::stable_sort(copies.begin(), copies.end(), [](const CopyInfo& a, const CopyInfo& b) {
    if (a.made != b.made) return a.made > b.made;
    return a.name > b.name;
  });
  return copies;
}

}  // namespace fondaro::safety
