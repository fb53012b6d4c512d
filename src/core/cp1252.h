// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252, the code page of every text stored in the archives.
// It differs from Latin-1 only in 0x80-0x9F, so a 32-entry table is the whole codec.
#include <QByteArray>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>

namespace fondaro::cp1252 {

// Byte used for a character the code page cannot represent.
inline constexpr char kSubstitute = '?';

// Encodes text; every character outside the code page becomes one "?".
QByteArray encode(QStringView text);

// Decodes n bytes; the five bytes the code page leaves undefined map to the
// C1 control of the same value, so every byte decodes to exactly one character.
QString decode(const char* bytes, qsizetype n);

// Writes the UTF-8 of n bytes at `out`, which has room for 3 * n bytes, and
// returns the end: the same text as decode gives, with no text made.
char* appendUtf8(char* out, const char* bytes, qsizetype n);

// One character to its byte, or -1 when it has none.
int byteFor(char32_t c);

// Every byte's character, as decode gives it: for the readers that build
// their text straight from stored bytes.
extern const std::array<char16_t, 256> kCharOf;

}  // namespace fondaro::cp1252
