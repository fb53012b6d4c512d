// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File names as the operating system has them: bytes. A folder copied from an
// old USB stick or a FAT volume mounted with a Latin-1 charset has names that
// are not UTF-8; a name decoded to text and encoded back would then name
// another file. The program folder and every path built in it are kept as
// bytes (QByteArray) down to the open.
//
// Where a path has to travel as text (a window's invisible label holds the open
// archive's path), decodePath gives a text from which encodePath restores the
// very bytes: the bytes that are not UTF-8 are carried as the code points
// U+DC80..U+DCFF, which no valid UTF-8 name can hold. displayPath is for
// messages only.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace fondaro {

// Bytes to text, losslessly; UTF-8 names give their ordinary text.
QString decodePath(QByteArrayView native);
// Text to bytes: UTF-8, with the carried bytes of decodePath restored.
QByteArray encodePath(QStringView path);
// Text for messages: the bytes that are not UTF-8 are shown as Latin-1
// characters, the charset such names most often come from.
QString displayPath(QByteArrayView native);

// folder + name, with one '/' between them.
QByteArray joinPath(QByteArrayView folder, QByteArrayView name);

// Opens a file that must be a regular file, and never waits: a FIFO opened for
// reading would otherwise wait for a writer for ever, and a device such as
// /dev/zero never ends. On success returns the descriptor (blocking mode, close
// on exec). On failure returns -1 with errno set; `notRegular` (when given) is
// set for a file that exists but is not a regular file (errno EISDIR for a
// folder, EINVAL for anything else).
int openRegularFile(const QByteArray& native, int flags, bool* notRegular = nullptr);

// A small file read whole, with a ceiling on its size.
struct SmallFile {
  enum class Status {
    Ok,
    Missing,     // no such file (or a folder on the way is missing)
    NotRegular,  // a folder, a FIFO, a device, a socket
    TooLarge,    // more than the ceiling
    Failed,      // any other failure; sysError tells
  };
  Status status = Status::Missing;
  QByteArray bytes;  // the content when Ok
  int sysError = 0;
};
SmallFile readSmallFile(const QByteArray& native, qint64 maxBytes);

}  // namespace fondaro
