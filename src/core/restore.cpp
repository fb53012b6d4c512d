// SPDX-License-Identifier: GPL-3.0-or-later
// The restore of a copy: checked first, what is there copied aside, then
// every file put back, all under the locks of the files it replaces.
#include <sys/stat.h>

#include <QSet>
#include <algorithm>
#include <cerrno>
#include <optional>

#include "core/archive.h"
#include "core/filepath.h"
#include "core/recurring.h"
#include "core/safetycopies.h"
#include "core/safetyinternals.h"

namespace fondaro::safety {

using namespace detail;

namespace {

// The locks of every file a restore replaces or copies, taken in one order for
// every restore: the schedules' lock, then the data files by name. An archive
// the copy puts back but the folder lacks is created empty to hold its name,
// so that no writer can create it meanwhile and write into a file about to be
// replaced. A file that cannot be opened for writing is not held (its restore
// is then refused with the reason).
Holds holdDataFiles(const QByteArray& folder, const Manifest& m) {
  QSet<QByteArray> fromCopy;
  for (const ManifestEntry& e : m.files)
    if (!e.name.contains('/')) fromCopy.insert(e.name);
  QList<QByteArray> names = fromCopy.values();
  for (const QByteArray& name : dataFilesOf(folder))
    if (!name.contains('/') && !fromCopy.contains(name)) names << name;
  std::sort(names.begin(), names.end());
  Holds holds;
  if (names.contains("Ricorrenti.json")) {
    try {
      holds.schedules.emplace(FileHold::take(recurringLockPath(folder), true));
    } catch (const ArchiveError& e) {
      throw CopyError(CopyError::Reason::System, e.nativePath(), e.sysError() ? e.sysError() : EIO);
    }
  }
  for (const QByteArray& name : names) {
    try {
      FileHold h = FileHold::take(joinPath(folder, name), fromCopy.contains(name) && isArchiveName(name));
      if (h.held()) holds.files.emplace(name, std::move(h));
    } catch (const ArchiveError&) {
    }
  }
  return holds;
}

}  // namespace

Restored restoreCopy(const QByteArray& copyFolder, const QByteArray& intoFolder, const ProgressFn& progress,
                     const QDateTime& now) {
  if (!isDir(copyFolder)) throw CopyError(CopyError::Reason::NotFolder, copyFolder);
  if (!isDir(intoFolder)) throw CopyError(CopyError::Reason::NotFolder, intoFolder);
  removeLeftovers(intoFolder);
  const Manifest m = readManifest(copyFolder);
  const qint64 copyBytes = manifestBytes(m);
  qint64 currentBytes = 0;
  for (const QByteArray& name : dataFilesOf(intoFolder)) {
    struct stat st {};
    if (::stat(joinPath(intoFolder, name).constData(), &st) == 0) currentBytes += st.st_size;
  }
  // Three passes over the bytes: the check, the copy of what is there, the restore.
  const qint64 total = copyBytes * 2 + currentBytes;
  qint64 done = 0;
  const Verification v = verifyAgainst(copyFolder, m, progress, done, total);
  if (v.state != Verification::State::Verified)
    throw CopyError(CopyError::Reason::Damaged, joinPath(copyFolder, v.file), 0, v.damage);

  // From here to the end every writer of the folder waits: the copy of what is
  // there and the files put back are what they find afterwards.
  Holds holds = holdDataFiles(intoFolder, m);
  QList<QByteArray> current = dataFilesOf(intoFolder);
  current.removeIf([&](const QByteArray& name) { return holds.isPlaceholder(name); });
  Restored r;
  if (!current.isEmpty()) {
    const qint64 base = done;
    r.before = copyFiles(intoFolder, current, copiesFolderOf(intoFolder), CopyKind::BeforeRestore,
                         [&](qint64 d, qint64) {
                           done = base + d;
                           return !progress || progress(done, std::max(total, done));
                         },
                         now, &holds)
                   .path;
  }
  for (const ManifestEntry& e : m.files) {
    const qsizetype slash = e.name.indexOf('/');
    const QByteArray target = joinPath(intoFolder, e.name);
    try {
      if (slash > 0) makeFoldersOrThrow(joinPath(intoFolder, e.name.left(slash)));
      // Once files are being replaced the work is not stopped half way.
      copyFile(joinPath(copyFolder, e.name), target, false,
               [&](qint64 n) {
                 done += n;
                 if (progress) progress(done, std::max(total, done));
               },
               &e);
      r.restored << e.name;
    } catch (const CopyError& err) {
      if (const auto it = holds.files.find(e.name); it != holds.files.end()) it->second.removeIfCreatedEmpty();
      r.failed << Restored::Failure{e.name, err.italian(), err.english()};
    }
  }
  // A day copy holds only the files written that day: the others are not
  // "added since" and are simply not touched.
  if (m.kind != CopyKind::Day) {
    QSet<QByteArray> held;
    for (const ManifestEntry& e : m.files) held.insert(e.name);
    for (const QByteArray& name : dataFilesOf(intoFolder))
      if (!held.contains(name)) r.kept << name;
  }
  syncFolder(intoFolder);
  return r;
}

}  // namespace fondaro::safety
