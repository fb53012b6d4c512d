// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/linebytes.h"

#include <algorithm>
#include <cstring>

#include "core/cp1252.h"

namespace fondaro {
namespace {

inline uint8_t foldLowerByte(uint8_t b) { return b >= 'A' && b <= 'Z' ? uint8_t(b + 32) : b; }

std::array<uint8_t, 256> makeRank() {
  std::array<char16_t, 256> folded{};
  for (int b = 0; b < 256; ++b) {
    const char16_t c = cp1252::kCharOf[size_t(b)];
    folded[size_t(b)] = c >= u'a' && c <= u'z' ? char16_t(c - 32) : c;
  }
  std::array<char16_t, 256> order = folded;
  std::sort(order.begin(), order.end());
  const auto distinctEnd = std::unique(order.begin(), order.end());
  std::array<uint8_t, 256> rank{};
  for (int b = 0; b < 256; ++b)
    rank[size_t(b)] = uint8_t(std::lower_bound(order.begin(), distinctEnd, folded[size_t(b)]) - order.begin());
  return rank;
}

// Each byte as a line shows it: a byte that decodes to a control character
// becomes a blank.
const std::array<char, 256>& shownBytes() {
  static const std::array<char, 256> shown = [] {
    std::array<char, 256> table{};
    for (int b = 0; b < 256; ++b) {
      const char16_t c = cp1252::kCharOf[size_t(b)];
      table[size_t(b)] = c < 0x20 || (c >= 0x7F && c < 0xA0) ? ' ' : char(b);
    }
    return table;
  }();
  return shown;
}


}  // namespace

QString controlsAsBlanks(QString text) {
  for (QChar& c : text) {
    const char16_t u = c.unicode();
    if (u < 0x20 || (u >= 0x7F && u < 0xA0)) c = u' ';
  }
  return text;
}

QByteArrayView trimmedBytes(QByteArrayView bytes) {
  const auto* p = reinterpret_cast<const uint8_t*>(bytes.data());
  qsizetype b = 0;
  qsizetype e = bytes.size();
  while (b < e && p[b] <= 32) ++b;
  while (e > b && p[e - 1] <= 32) --e;
  return bytes.sliced(b, e - b);
}

void LineBytes::append(const char* p, qsizetype n) {
  n = std::min(n, kCapacity - n_);
  std::memcpy(buf_ + n_, p, size_t(n));
  n_ += n;
}

// A field as a line shows it: each byte that decodes to a control character
// becomes a blank, then the blanks at both ends go.
QByteArrayView LineBytes::shownField(QByteArrayView stored) {
  const auto& shown = shownBytes();
  const auto* p = reinterpret_cast<const uint8_t*>(stored.data());
  qsizetype b = 0;
  qsizetype e = stored.size();
  while (b < e && shown[p[b]] == ' ') ++b;
  while (e > b && shown[p[e - 1]] == ' ') --e;
  return stored.sliced(b, e - b);
}

void LineBytes::appendField(QByteArrayView field) {
  const auto& shown = shownBytes();
  const qsizetype start = n_;
  append(field.data(), field.size());
  for (qsizetype i = start; i < n_; ++i) buf_[i] = shown[uint8_t(buf_[i])];
}

void LineBytes::padded(QByteArrayView stored, int width) {
  QByteArrayView t = shownField(stored);
  t = t.first(std::min<qsizetype>(t.size(), width));
  appendField(t);
  const qsizetype blanks = std::min<qsizetype>(width - t.size(), kCapacity - n_);
  std::memset(buf_ + n_, ' ', size_t(blanks));
  n_ += blanks;
}

void LineBytes::trimmed(QByteArrayView stored) { appendField(shownField(stored)); }

QString LineBytes::toString() const { return decodeBytes(bytes()); }

QString decodeBytes(QByteArrayView bytes) { return cp1252::decode(bytes.data(), bytes.size()); }

const std::array<uint8_t, 256>& lineOrderRank() {
  static const std::array<uint8_t, 256> rank = makeRank();
  return rank;
}

std::optional<QByteArray> storedBytesOf(QStringView text) {
  QByteArray bytes;
  bytes.reserve(text.size());
  for (QChar c : text) {
    // A surrogate half has no byte; neither has any character above U+FFFF.
    const int b = cp1252::byteFor(c.unicode());
    if (b < 0) return std::nullopt;
    bytes.append(char(b));
  }
  return bytes;
}

std::optional<QByteArray> foldedKeyBytes(QStringView typed) {
  std::optional<QByteArray> key = storedBytesOf(typed);
  if (key) {
    for (char& b : *key) b = char(foldLowerByte(uint8_t(b)));
  }
  return key;
}

bool containsFoldedBytes(QByteArrayView stored, QByteArrayView foldedKey) {
  return containsFoldedUnits(reinterpret_cast<const uint8_t*>(stored.data()), stored.size(),
                             reinterpret_cast<const uint8_t*>(foldedKey.data()), foldedKey.size());
}

}  // namespace fondaro
