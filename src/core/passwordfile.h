// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The password file "unins000.dll" in the program folder: an INI text file with
// the scrambled password under section "Accesso", key "Valore".
//
// A missing file, section or key reads as the empty text. A file that is there
// but cannot be read as a password file fails the read: a FIFO, a device or a
// folder under its name (refused at once, never waited on), a file larger than
// kPasswordFileMaxBytes (a real one is a few dozen bytes; the ceiling keeps a
// link to /dev/zero or a huge file from eating the memory), a read error.
// Paths are the operating system's bytes (core/filepath.h).
// Writing replaces only that one value and keeps every other byte of the file;
// the new file is written beside the old one and renamed over it, so a crash or
// a full disk never leaves a truncated file that would lock the user out.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>

#include "core/usererror.h"

namespace fondaro {

inline constexpr char kPasswordFileName[] = "unins000.dll";
inline constexpr char kPasswordSection[] = "Accesso";
inline constexpr char kPasswordKey[] = "Valore";
inline constexpr qint64 kPasswordFileMaxBytes = 1 << 20;

// "<program folder>unins000.dll"; the folder ends with its separator.
QByteArray passwordFilePath(const QByteArray& programFolder);
// The same for a folder held as text (decodePath); the result is text too.
QString passwordFilePath(const QString& programFolder);

class PasswordFileError : public UserError {
 public:
  enum class Reason { ReadOnly, Unreadable, NotRegular, TooLarge, WriteFailed };
  PasswordFileError(Reason reason, const QByteArray& path, const QString& detail);
  Reason reason() const { return reason_; }
  UserError::Kind errorKind() const override;
  QString english() const override { return QString::fromUtf8(what()); }
  QString italian() const override;

 private:
  Reason reason_;
};

// INI text as bytes. Section and key names match without regard to ASCII case
// and to blanks around them; the first matching section and key count. A value
// is read trimmed of blanks, and one pair of enclosing double quotes is removed.
std::optional<QByteArray> iniValue(const QByteArray& content, QByteArrayView section,
                                   QByteArrayView key);
// The content with that one value set: the key's line is rewritten in place, a
// missing key is added at the end of its section, a missing section at the end
// of the file. Every other line keeps its bytes and its line ending.
QByteArray withIniValue(const QByteArray& content, QByteArrayView section, QByteArrayView key,
                        QByteArrayView value);

// The content of a password file, read within the ceiling: nullopt for a missing
// file; throws PasswordFileError when the file is there but cannot be read.
std::optional<QByteArray> readPasswordFileBytes(const QByteArray& path);

// File level: "" for a missing file, section or key; throws PasswordFileError
// as readPasswordFileBytes does.
QString readIniValue(const QByteArray& path, QByteArrayView section, QByteArrayView key);
// Throws PasswordFileError; on failure the file is left exactly as it was. A
// file without write permission is refused, as the user asked it be kept. The
// new content is written to a file beside it and renamed over it, keeping the
// file's permissions.
void writeIniValue(const QByteArray& path, QByteArrayView section, QByteArrayView key,
                   QStringView value);

// The stored (scrambled) password value of the program folder's password file.
QString readStoredPassword(const QByteArray& programFolder);
void writeStoredPassword(const QByteArray& programFolder, QStringView value);
QString readStoredPassword(const QString& programFolder);
void writeStoredPassword(const QString& programFolder, QStringView value);

}  // namespace fondaro
