// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The length-prefixed text field of the archives: one length byte, then a fixed
// capacity of Windows-1252 bytes of which the first <length> hold the text.
#include <QString>
#include <QStringView>
#include <cstdint>
#include <cstring>

namespace fondaro {

// Removes characters of code 32 or less at both ends, the trim every archive text gets.
QStringView trimControl(QStringView text);
QString trimmedText(QStringView text);

// Writes text into a slot of 1 + capacity bytes: trimmed, encoded, cut silently at
// the capacity; the bytes after the text are zero.
void encodeField(uint8_t* slot, int capacity, QStringView text);

// Reads a slot; a length byte above the capacity is clamped to the capacity, so a
// damaged field never reads outside its slot. The text is not trimmed.
QString decodeField(const uint8_t* slot, int capacity);

// The stored length, clamped as decodeField clamps it.
inline int storedLength(const uint8_t* slot, int capacity) {
  return slot[0] > capacity ? capacity : slot[0];
}

template <int Cap>
struct LpString {
  static_assert(Cap > 0 && Cap < 256);
  static constexpr int capacity = Cap;
  uint8_t len = 0;
  uint8_t data[Cap] = {};

  void set(QStringView text) { encodeField(&len, Cap, text); }
  QString get() const { return decodeField(&len, Cap); }
  QString trimmed() const { return trimmedText(get()); }
};

// Where a field sits in its record.
struct FieldInfo {
  const char* name;
  int offset;
  int capacity;
};

// The two flag texts.
inline const QString kSi = QStringLiteral("Sì");
inline const QString kNo = QStringLiteral("No");

}  // namespace fondaro
