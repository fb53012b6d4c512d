// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/field.h"

#include "core/cp1252.h"

namespace fondaro {

QStringView trimControl(QStringView text) {
  qsizetype b = 0;
  qsizetype e = text.size();
  while (b < e && text[b].unicode() <= 32) ++b;
  while (e > b && text[e - 1].unicode() <= 32) --e;
  return text.mid(b, e - b);
}

QString trimmedText(QStringView text) { return trimControl(text).toString(); }

void encodeField(uint8_t* slot, int capacity, QStringView text) {
  const QByteArray bytes = cp1252::encode(trimControl(text));
  const int n = bytes.size() > capacity ? capacity : int(bytes.size());
  slot[0] = uint8_t(n);
  std::memcpy(slot + 1, bytes.constData(), size_t(n));
  std::memset(slot + 1 + n, 0, size_t(capacity - n));
}

QString decodeField(const uint8_t* slot, int capacity) {
  return cp1252::decode(reinterpret_cast<const char*>(slot + 1), storedLength(slot, capacity));
}

}  // namespace fondaro
