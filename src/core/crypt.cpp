// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/crypt.h"

#include "core/textrules.h"

#include <cstdint>

#include "core/field.h"

namespace fondaro {

namespace {

constexpr uint16_t kStartKey = 43195;
constexpr uint16_t kMultiplier = 39517;
constexpr uint16_t kAddend = 50729;

// Every step wraps at 16 bits, the intermediate sum and product included.
inline uint16_t nextKey(uint16_t key, uint8_t scrambled) {
  const uint16_t sum = uint16_t(uint32_t(scrambled) + key);
  return uint16_t(uint16_t(uint32_t(sum) * kMultiplier) + kAddend);
}

int hexValue(QChar c) {
  const char16_t u = c.unicode();
  if (u >= '0' && u <= '9') return u - '0';
  if (u >= 'A' && u <= 'F') return u - 'A' + 10;
  if (u >= 'a' && u <= 'f') return u - 'a' + 10;
  return -1;
}

}  // namespace

CryptError::CryptError(qsizetype pairIndex)
    : std::runtime_error("stored password value is not hexadecimal text"), pair_(pairIndex) {}

namespace Crypt {

QString Scramble(QStringView password) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  QString out;
  out.reserve(password.size() * 2);
  uint16_t key = kStartKey;
  for (QChar c : password) {
    const uint8_t e = uint8_t((c.unicode() & 0xFF) ^ (key >> 8));
    out.append(QLatin1Char(kDigits[e >> 4]));
    out.append(QLatin1Char(kDigits[e & 0x0F]));
    key = nextKey(key, e);
  }
  return out;
}

QString Unscramble(QStringView value) {
  const qsizetype n = value.size() / 2;
  QString out;
  out.reserve(n);
  uint16_t key = kStartKey;
  for (qsizetype i = 0; i < n; ++i) {
    const int hi = hexValue(value[2 * i]);
    const int lo = hexValue(value[2 * i + 1]);
    if (hi < 0 || lo < 0) throw CryptError(i);
    const uint8_t e = uint8_t(hi * 16 + lo);
    out.append(QChar(char16_t(e ^ (key >> 8))));
    key = nextKey(key, e);
  }
  return out;
}

}  // namespace Crypt

QString typedPassword(QStringView typed) { return trimmedText(upperAscii(typed)); }

bool passwordMatches(QStringView storedValue, QStringView typed) {
  return trimmedText(Crypt::Unscramble(storedValue)) == typedPassword(typed);
}

PasswordProblem passwordProblem(QStringView password) {
  const QString p = typedPassword(password);
  if (p.size() > kMaxPasswordLength) return PasswordProblem::TooLong;
  for (QChar c : p) {
    if (c.unicode() > 0xFF) return PasswordProblem::Unstorable;
  }
  return PasswordProblem::None;
}

}  // namespace fondaro
