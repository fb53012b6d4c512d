// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The password scrambling of the password file and the password text rules the
// login and change-password windows share.
#include <QString>
#include <QStringView>
#include <stdexcept>

namespace fondaro {

// A stored value holding a pair of digits that is not a hexadecimal number.
class CryptError : public std::runtime_error {
 public:
  explicit CryptError(qsizetype pairIndex);
  qsizetype pairIndex() const { return pair_; }

 private:
  qsizetype pair_;
};

namespace Crypt {

// Two upper-case hexadecimal digits per character of the password; only the low
// 8 bits of each character take part.
QString Scramble(QStringView password);

// The password a stored value holds. A last odd digit is ignored; upper- and
// lower-case digits are both read. Throws CryptError on a pair that is not hex.
QString Unscramble(QStringView value);

}  // namespace Crypt

// What a typed password is compared as: a-z upper-cased, then trimmed of the
// characters of code 32 or less at both ends.
QString typedPassword(QStringView typed);

// Whether the password typed matches the scrambled value read from the password
// file: its unscrambled, trimmed form against typedPassword(typed), exactly.
// Throws CryptError when the stored value is damaged.
bool passwordMatches(QStringView storedValue, QStringView typed);

// Why a new password cannot be stored so that it matches again, if it cannot.
enum class PasswordProblem { None, TooLong, Unstorable };
inline constexpr int kMaxPasswordLength = 255;
// Checks the password as it will be stored (typedPassword of the typed text).
PasswordProblem passwordProblem(QStringView password);

}  // namespace fondaro
