// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Stored Windows-1252 bytes read where they lie in a scan buffer, with no
// text decoded per field: a field's bytes and their trim (the exports' cells
// too), and the list and journal lines, their order and their search keys.
// Every byte decodes to exactly one character and the line texts between the
// fields are ASCII, so a line is a run of bytes until it is shown; it is
// decoded once, whole (cp1252::kCharOf).
//
// The byte rules give what the rules on decoded text give (lists.h):
// - trimming removes bytes 0-32, the bytes that decode to characters 0-32;
// - a width counts bytes, one a character;
// - a byte's rank in the list order is its character's with a-z folded to
//   A-Z, so ranks compare as compareListLines compares characters;
// - a key with a character no byte decodes to occurs in no stored text.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

#include "core/records.h"

namespace fondaro {

// The stored bytes of a field, untrimmed, the length clamped as decodeField
// clamps it.
template <class Rec>
QByteArrayView storedBytes(const RecordView<Rec>& v, typename Rec::Field f) {
  const uint8_t* slot = v.slot(f);
  return QByteArrayView(slot + 1, storedLength(slot, Rec::fields()[f].capacity));
}

// Bytes 0-32 (blanks and controls) removed at both ends, as trimControl
// removes characters 0-32.
QByteArrayView trimmedBytes(QByteArrayView bytes);

// One column of a line layout: the layout's text before it, then a field
// trimmed and padded to `width`; width 0 for the last column, trimmed only.
struct LineColumn {
  QByteArrayView before;  // ASCII
  int field;
  int width;
};

// The most characters a line of `layout` can have: a column of no width holds
// its field whole.
template <class Rec, size_t N>
int longestLine(const std::array<LineColumn, N>& layout) {
  int n = 0;
  for (const LineColumn& c : layout)
    n += int(c.before.size()) + (c.width > 0 ? c.width : Rec::fields()[c.field].capacity);
  return n;
}

// One line being built, in a buffer of its own that never grows. What would
// pass the capacity is cut (no line layout comes near it). A control byte
// inside a stored field (a tab, a line break: a damaged archive, or a record
// appended with one) is shown as a blank, so that a line stays one line with
// its columns where they belong.
class LineBytes {
 public:
  static constexpr int kCapacity = 512;

  void clear() { n_ = 0; }
  // The stored text trimmed, followed by blanks up to `width`, cut to exactly `width`.
  // (Trimmed: as shown, control characters as blanks, without blanks at either end.)
  void padded(QByteArrayView stored, int width);
  // The stored text trimmed.
  void trimmed(QByteArrayView stored);
  // Text of the line layout: ASCII.
  void literal(QByteArrayView ascii) { append(ascii.data(), ascii.size()); }
  // The columns of a layout, in order, from a record.
  template <class Rec, size_t N>
  void columns(const RecordView<Rec>& v, const std::array<LineColumn, N>& layout) {
    for (const LineColumn& c : layout) {
      literal(c.before);
      const QByteArrayView stored = storedBytes(v, typename Rec::Field(c.field));
      if (c.width > 0) padded(stored, c.width);
      else trimmed(stored);
    }
  }

  QByteArrayView bytes() const { return QByteArrayView(buf_, n_); }
  QString toString() const;

 private:
  void append(const char* p, qsizetype n);
  static QByteArrayView shownField(QByteArrayView stored);
  void appendField(QByteArrayView field);
  char buf_[kCapacity];
  qsizetype n_ = 0;
};

// The text with every control character (C0, DEL, C1) shown as a blank: for
// outputs of one line a record whose fields hold any.
QString controlsAsBlanks(QString text);

// Bytes to text, each byte its character.
QString decodeBytes(QByteArrayView bytes);

// Each byte's rank in the list order (compareListLines): bytes compare as
// their characters do there, and a byte shares its rank with its A-Z fold.
const std::array<uint8_t, 256>& lineOrderRank();

// A text as the bytes it is stored as; nullopt when it holds a character that
// no byte decodes to (then it is no stored text, nor part of one).
std::optional<QByteArray> storedBytesOf(QStringView text);

// A search key as bytes with A-Z lower-cased, ready for containsFoldedBytes;
// nullopt when the key holds a character that no stored byte decodes to, so
// that it can occur in no stored text.
std::optional<QByteArray> foldedKeyBytes(QStringView typed);
// True when the folded key occurs in `stored` with A-Z lower-cased. An empty
// key matches nothing.
bool containsFoldedBytes(QByteArrayView stored, QByteArrayView foldedKey);

// The search both the bytes and the decoded text use: `key` (A-Z already
// lower-cased) occurs in `text` with A-Z lower-cased. Unit is uint8_t or char16_t.
template <class Unit>
bool containsFoldedUnits(const Unit* text, qsizetype n, const Unit* key, qsizetype m) {
  const auto fold = [](Unit c) { return c >= Unit('A') && c <= Unit('Z') ? Unit(c + 32) : c; };
  if (m == 0 || m > n) return false;
  for (qsizetype i = 0; i + m <= n; ++i) {
    if (fold(text[i]) != key[0]) continue;
    qsizetype j = 1;
    while (j < m && fold(text[i + j]) == key[j]) ++j;
    if (j == m) return true;
  }
  return false;
}

}  // namespace fondaro
