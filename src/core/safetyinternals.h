// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the safety copies' parts share (daycopy.cpp, fullcopy.cpp,
// manifest.cpp, restore.cpp): the names of copies, listing a folder, copying
// one file with its check, the folder lock, the manifest's writing and
// checking, and the locks a restore holds. Not for callers outside them: the
// public side is core/safetycopies.h.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <sys/stat.h>

#include <functional>
#include <map>
#include <optional>
#include <utility>

#include "core/archive.h"
#include "core/safetycopies.h"

struct evp_md_ctx_st;  // libcrypto's EVP_MD_CTX

namespace fondaro::safety::detail {

inline constexpr qint64 kBlock = 1 << 20;

// ---- Names of copies ----------------------------------------------------------

// "2024-05-01": a day copy's folder.
QString dayName(const QDate& d);
// "2024-05-01_10-15-30": a full copy's folder, before any suffix.
QString stampName(const QDateTime& t);
// The kind and moment a copy's folder name tells, or nothing for any other name.
std::optional<std::pair<CopyKind, QDateTime>> parseCopyName(const QByteArray& name);

// ---- Files and folders --------------------------------------------------------

bool isDir(const QByteArray& path, bool followLinks = true);
bool isRegular(const QByteArray& path);
QByteArray baseName(const QByteArray& path);
// The names in a folder, sorted, without "." and ".."; none when it cannot be read.
QList<QByteArray> folderEntries(const QByteArray& folder);
void syncFolder(const QByteArray& folder);
bool isArchiveName(const QByteArray& name);
// A name a manifest line can hold.
bool manifestSafe(const QByteArray& name);
// Throws CopyError.
void makeFoldersOrThrow(const QByteArray& folder);

// An exclusive lock on a folder, so that two running copies of the program
// adding to today's copy do not both copy a file or lose a manifest line.
class FolderLock {
 public:
  explicit FolderLock(const QByteArray& folder);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

// ---- Copying one file -----------------------------------------------------------

struct Hashed {
  qint64 size = 0;
  QByteArray sha256;
};

// SHA-256 of bytes given in pieces, by libcrypto (about nine times the speed
// of Qt's own on these machines: a year's archive of 341 MB in a quarter of a
// second); the manifest holds it as 64 lower-case hex digits.
class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void add(const char* bytes, qint64 n);
  QByteArray hex();

 private:
  evp_md_ctx_st* ctx_;
};

// Writes `target` whole from `source` through a temporary file that is synced,
// read back, compared with the source and hashed (and checked against
// `expected` when given) before it takes the target's name. The source stays
// open, and locked where it is an archive, from the copy to the comparison. Returns the size and hash. Throws
// CopyError; Cancelled from `advance`. No temporary file is left behind.
// A file this program holds the write lock of is read through its descriptor
// (heldFd), an archive under its shared lock, any other file plainly.
Hashed copyFile(const QByteArray& source, const QByteArray& target, bool archive,
                const std::function<void(qint64)>& advance, const ManifestEntry* expected = nullptr,
                int heldFd = -1);

// ---- The manifest ----------------------------------------------------------------

// Throws CopyError.
void writeManifest(const QByteArray& copyFolder, const Manifest& m);
qint64 manifestBytes(const Manifest& m);
// Reads every file of the copy against `m`, adding to `done` for the progress.
Verification verifyAgainst(const QByteArray& copyFolder, const Manifest& m, const ProgressFn& progress,
                           qint64& done, qint64 total);

// ---- Full copies and restores ------------------------------------------------------

// The write locks a restore holds on the files of its folder (FileHold).
struct Holds {
  std::optional<FileHold> schedules;
  std::map<QByteArray, FileHold> files;  // by name, as dataFilesOf gives it

  int fdOf(const QByteArray& name) const {
    const auto it = files.find(name);
    return it == files.end() ? -1 : it->second.fd();
  }
  // An empty file made only to hold the name until the restore puts its own there.
  bool isPlaceholder(const QByteArray& name) const {
    const auto it = files.find(name);
    struct stat st {};
    return it != files.end() && it->second.created() && ::fstat(it->second.fd(), &st) == 0 && st.st_size == 0;
  }
};

// Copies `names` of `dataFolder` into a new folder of `parentFolder`; the
// files in `holds` are read through their held descriptors.
FullCopy copyFiles(const QByteArray& dataFolder, const QList<QByteArray>& names, const QByteArray& parentFolder,
                   CopyKind kind, const ProgressFn& progress, const QDateTime& now, const Holds* holds);

}  // namespace fondaro::safety::detail
