#pragma once
// A file written whole or not at all: the content goes to a new file in the
// same folder, which takes the target's name only once complete, so a failure
// at any point leaves the previous file (or no file) where it was. Paths are
// the operating system's bytes (core/filepath.h).
#include <QByteArray>
#include <QString>
#include <functional>

namespace fondaro {

// Writes n bytes to fd, retrying short writes; false on failure (errno set).
bool writeAllTo(int fd, const char* data, qint64 n);

// Creates a new file beside `target`, lets `fill(fd)` write it, then renames it
// over `target`. False when any step fails; `why` then tells, and no new file
// is left behind.
bool replaceFileBytes(const QByteArray& target, const std::function<bool(int fd)>& fill, QString* why = nullptr);

// Creates a folder and its missing parents; true when it exists afterwards.
bool makeFolders(const QByteArray& folder);

// Whether a path names something (a link to nothing does not).
bool pathExists(const QByteArray& path);
// Whether two paths name the same file.
bool sameFile(const QByteArray& a, const QByteArray& b);

}  // namespace fondaro
