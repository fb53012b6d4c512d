// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A file written whole or not at all: the content goes to a new file in the
// same folder, reaches the disk, and only then takes the target's name (and the
// folder is synced), so a failure or a power cut at any point leaves the
// previous file (or no file) where it was. Paths are the operating system's
// bytes (core/filepath.h).
//
// What is never replaced: a target that exists and is not a regular file (a
// device such as /dev/null, a FIFO, a socket, a folder), a read-only file, and
// whatever the caller's OutputGuard protects. A symbolic link is written
// through: the file it names gets the new content and the link stays; a link
// to nothing, or to an archive or the password file, is refused. The new file gets the ordinary mode of a new file
// (0644 less the umask), whatever the old one had.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

#include "core/usererror.h"

namespace fondaro {

// Why a whole-file write did not take place.
struct WriteFailure : UserError {
  enum class Kind {
    System,        // err tells
    NotRegular,    // a device, FIFO, socket or folder under the target's name
    ReadOnly,      // the target is a read-only file
    DanglingLink,  // a symbolic link to a missing file
    Protected,     // an archive, the password file, or the input itself
  };
  WriteFailure(Kind k = Kind::System, int e = 0) : UserError("write failure"), kind(k), err(e) {}
  Kind kind = Kind::System;
  int err = 0;

  UserError::Kind errorKind() const override {
    return kind == Kind::System ? UserError::Kind::System : UserError::Kind::Refused;
  }

  // For the windows: what failed, in Italian. A missing permission gives the
  // program's usual advice about write privileges; any other system error its
  // own meaning (disk full, input/output error, ...).
  QString italian() const override;
  // For fondaro-tool: the same in English.
  QString english() const override;
};

// The system error's meaning in Italian ("Spazio esaurito sul disco.").
QString systemErrorItalian(int err);

// Outputs that must never be replaced by what the tool writes.
struct OutputGuard {
  // The file the output is made from (compared by name, device and inode).
  QByteArray input;
  // Also refuse any archive ("*.eur", "*.pro") and the password file
  // ("unins000.dll"), by name and by identity, in the target's folder and in
  // the input's.
  bool archives = false;
};

// Whether `target` is something the guard protects.
bool isProtectedOutput(const QByteArray& target, const OutputGuard& guard);

// Why replaceFileBytes would refuse `target` before writing anything (the
// guard, not a regular file, read-only, a link to nothing), or nothing.
std::optional<WriteFailure> refusedTarget(const QByteArray& target, const OutputGuard& guard = {});

// Writes n bytes to fd, retrying short writes; false on failure (errno set).
bool writeAllTo(int fd, const char* data, qint64 n);

// Creates a new file beside `target` (a short hidden name, whatever the length
// of the target's), lets `fill(fd)` write it, syncs it, then renames it over
// `target` and syncs the folder. False when any step fails; `why` then tells,
// and no new file is left behind. Temporary files of this naming left by a
// killed program more than an hour ago are removed on the way.
bool replaceFileBytes(const QByteArray& target, const std::function<bool(int fd)>& fill,
                      WriteFailure* why = nullptr, const OutputGuard& guard = {});

// Several new files in one folder at once, none replacing anything: each
// content goes to a new file of ours in `folder` (named as replaceFileBytes
// names them), the writeback of a group is started together and each file is
// synced, then each takes its name only when no file has that name, and the
// folder is synced once. For many small files far faster than one
// replaceFileBytes each: the disk's flushes are shared.
struct NewFile {
  QByteArray name;  // a plain name inside the folder
  QByteArray bytes;
};
enum class NewFileState {
  NotWritten,  // a failure came first
  Stored,
  NameTaken,   // another file has the name: nothing stored (the caller chooses another)
};
// `states` gets one state per file. False when a step fails, with `why`
// telling: the files stored before it are whole and stay, no temporary is
// left behind.
bool storeNewFiles(const QByteArray& folder, const std::vector<NewFile>& files, std::vector<NewFileState>* states,
                   WriteFailure* why = nullptr);

// Creates a folder and its missing parents (each new one synced into its
// parent); true when it exists afterwards, else false with errno telling why.
bool makeFolders(const QByteArray& folder);

// The temporaries of ours left in `folder` by a program that was killed: the
// files ".fondaro-XXXXXX.tmp" of a whole-file write and the folders
// ".fondaro-copia-XXXXXX" of a safety copy being built. One is left over when
// no running program holds its lock (every maker holds one on it while it
// works) and it is more than a minute old, or, on a file system without such
// locks, more than an hour old. Nothing else is touched, no link is followed.
void removeStaleTemporaries(const QByteArray& folder);
// Removes a folder of ours: its files and links (never what a link names),
// its subfolders `depth` levels down, then itself when empty.
void removeOwnFolder(const QByteArray& folder, int depth);
// The name of a safety copy's folder while it is being built, for mkdtemp.
inline constexpr char kCopyTempFolderTemplate[] = ".fondaro-copia-XXXXXX";

// Whether a path names something (a link to nothing does not).
bool pathExists(const QByteArray& path);
// Whether a path names a folder (or a link to one).
bool isFolder(const QByteArray& path);
// Whether two paths name the same file.
bool sameFile(const QByteArray& a, const QByteArray& b);

}  // namespace fondaro
