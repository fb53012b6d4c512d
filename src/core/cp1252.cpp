// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/cp1252.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace fondaro::cp1252 {
namespace {

// 0x80-0x9F. The undefined bytes (81, 8D, 8F, 90, 9D) map to the C1 control of
// the same value, as most decoders do, so that any byte reads back as one character.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> makeCharOf() {
  std::array<char16_t, 256> t{};
  for (int b = 0; b < 256; ++b) t[size_t(b)] = (b >= 0x80 && b < 0xA0) ? kHigh[size_t(b - 0x80)] : char16_t(b);
  return t;
}

}  // namespace

const std::array<char16_t, 256> kCharOf = makeCharOf();

int byteFor(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return int(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return 0x80 + i;
  }
  return -1;
}

QByteArray encode(QStringView text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t c = text[i].unicode();
    if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      c = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    const int b = byteFor(c);
    out.append(b < 0 ? kSubstitute : char(b));
  }
  return out;
}

QString decode(const char* bytes, qsizetype n) {
  QString out(n, Qt::Uninitialized);
  QChar* d = out.data();
  for (qsizetype i = 0; i < n; ++i) d[i] = QChar(kCharOf[static_cast<unsigned char>(bytes[i])]);
  return out;
}

char* appendUtf8(char* out, const char* bytes, qsizetype n) {
  for (qsizetype i = 0; i < n; ++i) {
    // Runs of ASCII, most of every line, go over eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, bytes + i, 8);
      if (word & 0x8080808080808080ull) break;
      std::memcpy(out, &word, 8);
      out += 8;
      i += 8;
    }
    if (i == n) break;
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      *out++ = char(b);
      continue;
    }
    const char16_t c = kCharOf[b];  // every character of the code page is below U+FFFF
    if (c < 0x800) {
      *out++ = char(0xC0 | (c >> 6));
    } else {
      *out++ = char(0xE0 | (c >> 12));
      *out++ = char(0x80 | ((c >> 6) & 0x3F));
    }
    *out++ = char(0x80 | (c & 0x3F));
  }
  return out;
}

}  // namespace fondaro::cp1252
