#pragma once
// The password file "unins000.dll" in the program folder: an INI text file with
// the scrambled password under section "Accesso", key "Valore".
//
// Reading never fails: a missing file, section or key reads as the empty text.
// Writing replaces only that one value and keeps every other byte of the file;
// the new file is written beside the old one and renamed over it, so a crash or
// a full disk never leaves a truncated file that would lock the user out.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <stdexcept>

namespace fondaro {

inline constexpr char kPasswordFileName[] = "unins000.dll";
inline constexpr char kPasswordSection[] = "Accesso";
inline constexpr char kPasswordKey[] = "Valore";

// "<program folder>unins000.dll"; the folder ends with its separator.
QString passwordFilePath(const QString& programFolder);

class PasswordFileError : public std::runtime_error {
 public:
  enum class Reason { ReadOnly, Unreadable, WriteFailed };
  PasswordFileError(Reason reason, const QString& path, const QString& detail);
  Reason reason() const { return reason_; }

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

// File level: reading yields "" for a missing or unreadable file.
QString readIniValue(const QString& path, QByteArrayView section, QByteArrayView key);
// Throws PasswordFileError; on failure the file is left exactly as it was. A
// file without write permission is refused, as the user asked it be kept.
void writeIniValue(const QString& path, QByteArrayView section, QByteArrayView key,
                   QStringView value);

// The stored (scrambled) password value of the program folder's password file.
QString readStoredPassword(const QString& programFolder);
void writeStoredPassword(const QString& programFolder, QStringView value);

}  // namespace fondaro
