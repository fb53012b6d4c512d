// SPDX-License-Identifier: GPL-3.0-or-later
// Full copies: every data file of a folder into a new folder, built in a
// temporary folder and renamed when whole; also the copy a restore makes of
// what it replaces.
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "core/attachments.h"
#include "core/filepath.h"
#include "core/replacefile.h"
#include "core/safetycopies.h"
#include "core/safetyinternals.h"

namespace fondaro::safety {

using namespace detail;

namespace {

constexpr char kBeforeRestoreSuffix[] = "_prima-del-ripristino";

// Renames `temp` to the first free name among base, base-2, base-3, ...;
// never over an existing folder.
QByteArray renameToFreeName(const QByteArray& temp, const QByteArray& parent, const QByteArray& base) {
  for (int n = 1; n < 1000; ++n) {
    const QByteArray target = joinPath(parent, n == 1 ? base : base + '-' + QByteArray::number(n));
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return target;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) throw CopyError(CopyError::Reason::System, target, errno);
    // A file system without the no-replace rename: look first.
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0) continue;
    if (::rename(temp.constData(), target.constData()) == 0) return target;
    throw CopyError(CopyError::Reason::System, target, errno);
  }
  throw CopyError(CopyError::Reason::System, joinPath(parent, base), EEXIST);
}

}  // namespace

QList<QByteArray> dataFilesOf(const QByteArray& dataFolder) {
  QList<QByteArray> files;
  for (const QByteArray& name : folderEntries(dataFolder))
    if (isDataFileName(name) && isRegular(joinPath(dataFolder, name)))
      files << name;
  const QByteArray attachments = joinPath(dataFolder, kAttachmentsFolderName);
  for (const QByteArray& name : folderEntries(attachments))
    if (isRegular(joinPath(attachments, name)))
      files << QByteArray(kAttachmentsFolderName) + '/' + name;
  return files;
}

namespace detail {

FullCopy copyFiles(const QByteArray& dataFolder, const QList<QByteArray>& names, const QByteArray& parentFolder,
                   CopyKind kind, const ProgressFn& progress, const QDateTime& now, const Holds* holds) {
  FullCopy r;
  QList<QByteArray> files;
  qint64 total = 0;
  for (const QByteArray& name : names) {
    if (!manifestSafe(name)) {
      r.skipped << name;
      continue;
    }
    struct stat st {};
    if (::stat(joinPath(dataFolder, name).constData(), &st) == 0) total += st.st_size;
    files << name;
  }
  if (files.isEmpty()) throw CopyError(CopyError::Reason::Empty, dataFolder);
  if (parentFolder == copiesFolderOf(dataFolder)) makeFoldersOrThrow(parentFolder);
  if (!isDir(parentFolder)) throw CopyError(CopyError::Reason::NotFolder, parentFolder);

  QByteArray temp = joinPath(parentFolder, kCopyTempFolderTemplate);
  if (!::mkdtemp(temp.data())) throw CopyError(CopyError::Reason::System, parentFolder, errno);
  const FolderLock busy(temp);  // tells removeStaleTemporaries that it is being built
  try {
    Manifest m{now, kind, {}};
    qint64 done = 0;
    reportProgress(progress, 0, total);
    for (const QByteArray& name : files) {
      const qsizetype slash = name.indexOf('/');
      if (slash > 0) makeFoldersOrThrow(joinPath(temp, name.left(slash)));
      const Hashed h = copyFile(
          joinPath(dataFolder, name), joinPath(temp, name), isArchiveName(name),
          [&](qint64 n) {
            done += n;
            reportProgress(progress, done, std::max(total, done));
          },
          nullptr, holds ? holds->fdOf(name) : -1);
      m.files << ManifestEntry{name, h.size, h.sha256};
      r.bytes += h.size;
    }
    writeManifest(temp, m);
    if (isDir(joinPath(temp, kAttachmentsFolderName))) syncFolder(joinPath(temp, kAttachmentsFolderName));
    syncFolder(temp);
    reportProgress(progress, total, total);
    QByteArray base = stampName(now).toLatin1();
    if (kind == CopyKind::BeforeRestore) base += kBeforeRestoreSuffix;
    r.path = renameToFreeName(temp, parentFolder, base);
    syncFolder(parentFolder);
  } catch (...) {
    removeOwnFolder(temp, 1);
    throw;
  }
  r.files = files.size();
  return r;
}

}  // namespace detail

void removeLeftovers(const QByteArray& dataFolder) {
  removeStaleTemporaries(dataFolder);
  removeStaleTemporaries(copiesFolderOf(dataFolder));
}

FullCopy makeFullCopy(const QByteArray& dataFolder, const QByteArray& parentFolder, CopyKind kind,
                      const ProgressFn& progress, const QDateTime& now) {
  if (!isDir(dataFolder)) throw CopyError(CopyError::Reason::NotFolder, dataFolder);
  removeLeftovers(dataFolder);
  if (parentFolder != copiesFolderOf(dataFolder)) removeStaleTemporaries(parentFolder);
  return copyFiles(dataFolder, dataFilesOf(dataFolder), parentFolder, kind, progress, now, nullptr);
}

}  // namespace fondaro::safety
