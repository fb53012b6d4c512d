// SPDX-License-Identifier: GPL-3.0-or-later
// The day copy: today's copy of a data file before its first write of the
// day, taken by the hook of every write, and the retention of day copies.
#include <sys/stat.h>
#include <unistd.h>

#include <QSet>
#include <algorithm>
#include <optional>

#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/safetycopies.h"
#include "core/safetyinternals.h"
#include "core/writehook.h"

namespace fondaro::safety {

using namespace detail;

namespace {

// Today's copy of `name` into the day folder, under the folder's lock.
DayCopy addToDayCopy(const QByteArray& file, const QByteArray& name, const QByteArray& day, const QDateTime& now) {
  DayCopy r;
  r.copy = joinPath(day, name);
  FolderLock lock(day);
  Manifest m;
  try {
    m = readManifest(day);
  } catch (const CopyError&) {
    m = Manifest{now, CopyKind::Day, {}};
  }
  const bool listed = std::any_of(m.files.begin(), m.files.end(), [&](const auto& e) { return e.name == name; });
  if (listed && isRegular(r.copy)) {
    r.result = DayCopy::Result::AlreadyMade;
    return r;
  }
  const Hashed h = copyFile(file, r.copy, isArchiveName(name), {});
  m.files.removeIf([&](const ManifestEntry& e) { return e.name == name; });
  m.files << ManifestEntry{name, h.size, h.sha256};
  writeManifest(day, m);
  r.result = DayCopy::Result::Made;
  return r;
}

// A day folder of ours: named for a day, a folder itself (not a link), with
// a day copy's manifest. Its manifest, or nothing.
std::optional<Manifest> dayCopyManifest(const QByteArray& copiesFolder, const QByteArray& name) {
  const auto parsed = parseCopyName(name);
  const QByteArray path = joinPath(copiesFolder, name);
  if (!parsed || parsed->first != CopyKind::Day || !isDir(path, false)) return std::nullopt;
  try {
    Manifest m = readManifest(path);
    if (m.kind == CopyKind::Day) return m;
  } catch (const CopyError&) {
  }
  return std::nullopt;
}

}  // namespace

DayCopy copyBeforeWriting(const QByteArray& file, const QDateTime& now) {
  struct stat st {};
  // A first write creates it, or it has nothing yet: nothing to keep.
  if (::stat(file.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return {};
  const QByteArray copies = copiesFolderOf(folderOfFile(file));
  const QByteArray day = joinPath(copies, dayName(now.date()).toLatin1());
  const bool copiesExisted = isDir(copies), dayExisted = isDir(day);
  makeFoldersOrThrow(day);
  DayCopy r;
  try {
    r = addToDayCopy(file, baseName(file), day, now);
  } catch (...) {
    // A copy that failed leaves no empty folder of its own making behind.
    if (!dayExisted) ::rmdir(day.constData());
    if (!copiesExisted) ::rmdir(copies.constData());
    throw;
  }
  // Also after a copy already made: a removal a power cut broke off is finished.
  removeOldDayCopies(copies, keepDays(copies));
  return r;
}

namespace {

// The files this process took (or tried) today's copy of.
struct DayMemo {
  QDate day;
  QSet<QByteArray> tried;
};
DayMemo& dayMemo() {
  static DayMemo memo;
  return memo;
}

}  // namespace

bool isDataFileName(const QByteArray& name) {
  return name.endsWith(".eur") || name == "Clienti.pro" || name == kPasswordFileName || name == "Ricorrenti.json";
}

void installDayCopies(std::function<void(const QByteArray& file, const CopyError& why)> failed) {
  setBeforeWriteHook([failed = std::move(failed)](const QByteArray& file) {
    if (!isDataFileName(baseName(file))) return;
    const QDateTime now = QDateTime::currentDateTime();
    DayMemo& memo = dayMemo();
    if (memo.day != now.date()) memo = DayMemo{now.date(), {}};
    if (memo.tried.contains(file)) return;
    memo.tried.insert(file);
    try {
      copyBeforeWriting(file, now);
    } catch (const CopyError& e) {
      if (failed) failed(file, e);
    }
  });
}

void forgetDayCopies() { dayMemo() = DayMemo{}; }

QList<QByteArray> removeOldDayCopies(const QByteArray& copiesFolder, int keep) {
  QList<std::pair<QByteArray, Manifest>> days;
  for (const QByteArray& name : folderEntries(copiesFolder))
    if (auto m = dayCopyManifest(copiesFolder, name)) days << std::pair{name, std::move(*m)};
  std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QList<QByteArray> removed;
  for (qsizetype i = std::max(keep, 1); i < days.size(); ++i) {
    const QByteArray path = joinPath(copiesFolder, days[i].first);
    // Only what the copy made: the files its manifest names (plain names; a
    // name with a folder in it is none of ours), the manifest, then the
    // folder when nothing else is in it. unlink never follows a link.
    for (const ManifestEntry& e : days[i].second.files)
      if (!e.name.contains('/')) ::unlink(joinPath(path, e.name).constData());
    // The manifest goes last, once the files' removal is on disk: a power cut
    // in between leaves a copy still known as ours, whose removal the next
    // write finishes, never copied files that nobody will remove.
    syncFolder(path);
    ::unlink(joinPath(path, kManifestName).constData());
    ::rmdir(path.constData());
    removed << path;
  }
  // A day folder older than every copy kept that holds nothing (a power cut
  // came between its manifest's removal and its own) goes too; rmdir never
  // removes a folder with anything in it.
  if (days.size() >= std::max(keep, 1)) {
    const QByteArray& oldestKept = days[std::max(keep, 1) - 1].first;
    for (const QByteArray& name : folderEntries(copiesFolder)) {
      const auto parsed = parseCopyName(name);
      if (parsed && parsed->first == CopyKind::Day && name < oldestKept && isDir(joinPath(copiesFolder, name), false))
        ::rmdir(joinPath(copiesFolder, name).constData());
    }
  }
  return removed;
}

}  // namespace fondaro::safety
