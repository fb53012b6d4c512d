// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list windows' lines and rules: one text line per record, built once
// here and shown, found, printed and compared by the windows and the tool.
//
// - A list kind per record kind (ListKind<TMovimento>, later ListKind<TCliente>)
//   says which fields a line is built from and how.
// - Filters: a key as typed (blanks kept) that must occur in a field's text as
//   decoded (not trimmed); only the letters A-Z are lower-cased, in both.
// - The sorted lists order lines by their whole text with a-z compared as A-Z,
//   otherwise by character code, a shorter line before a longer one it starts.
// - The list find ("Trova") walks the lines from the selection with wrap-around.
// - The due rule picks the unpaid movements whose notice period has begun.
//
// The lines are built and sorted on the stored bytes (core/linebytes.h), with
// no text decoded per field; each line is decoded once, whole.
#include <QDate>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/archive.h"
#include "core/linebytes.h"
#include "core/recordscan.h"
#include "core/records.h"

namespace fondaro {

// True when `lowerKey` (already lower-cased with lowerAscii) occurs in `text`
// lower-cased the same way. An empty key matches nothing.
bool containsFolded(QStringView text, QStringView lowerKey);

// `text` trimmed, followed by blanks up to `width`, cut to exactly `width`.
void appendPadded(QString& line, QStringView text, int width);

// ---- list kinds ------------------------------------------------------------

template <class Rec>
struct ListKind;

template <>
struct ListKind<TMovimento> {
  // Reason 40, "  Scad. ", due date 10, "  Da: ", payer 30, "  A: ",
  // beneficiary 30, "  Importo: ", then the signed amount from column 141.
  static QString line(const MovimentoView& v);
  // The most characters a line can have.
  static int longest();
  static QString line(const TMovimento& r);
  static void build(const MovimentoView& v, LineBytes& line);
};

template <>
struct ListKind<TCliente> {
  // Name 26, "  Tel. ", contact 15, "  ", occupation 25, "  Prod. ",
  // products 30, "  ", then the notes from column 116.
  static QString line(const ClienteView& v);
  // The most characters a line or a call-back line can have.
  static int longest();
  static QString line(const TCliente& r);
  static void build(const ClienteView& v, LineBytes& line);
  // The call-back list's line: the same with the pending questions last.
  static QString callBackLine(const ClienteView& v);
  static void buildCallBack(const ClienteView& v, LineBytes& line);
};

// ---- filters ---------------------------------------------------------------

// One search filter on one record field.
struct FieldFilter {
  int field = 0;
  QString typed;  // as typed, blanks kept
};

// A filter is active when its text, trimmed, is not empty.
bool isActiveFilter(QStringView typed);

// The active filters of a set, ready to match: keys lower-cased.
class FilterSet {
 public:
  FilterSet() = default;
  explicit FilterSet(const std::vector<FieldFilter>& filters);
  int activeCount() const { return int(keys_.size()); }
  // Every active filter's key occurs in its field; true with no active filter.
  template <class Rec>
  bool matches(const RecordView<Rec>& v) const {
    for (const Key& k : keys_) {
      if (!k.bytes || !containsFoldedBytes(storedBytes(v, typename Rec::Field(k.field)), *k.bytes)) return false;
    }
    return true;
  }

 private:
  struct Key {
    int field = 0;
    std::optional<QByteArray> bytes;  // lower-cased; none when no stored text can hold it
  };
  std::vector<Key> keys_;
};

// ---- lines with their records ---------------------------------------------

struct ListEntry {
  QString line;
  qint64 position = 0;  // of the record in the archive, from 1
};
using ListEntries = std::vector<ListEntry>;

// The order of the sorted lists: a-z compared as A-Z, otherwise by character
// code; on equal leading characters the shorter line first.
int compareListLines(QStringView a, QStringView b);
// Sorts into that order; entries with equal lines keep their archive order.
void sortListEntries(ListEntries& entries);
QStringList linesOf(const ListEntries& entries);

// The lines of a list as stored bytes, all in one block of memory, in the list
// order: what the tool prints (as UTF-8, straight from the bytes) and what the
// windows decode into their lines.
class ListLines {
 public:
  qsizetype size() const { return qsizetype(order_.size()); }
  bool empty() const { return order_.empty(); }
  QByteArrayView bytes(qsizetype i) const {
    const Line& l = lines_[size_t(order_[size_t(i)])];
    return QByteArrayView(arena_.data() + l.offset, qsizetype(l.length));
  }
  qint64 position(qsizetype i) const { return lines_[size_t(order_[size_t(i)])].position; }
  // The lines decoded, with their records.
  ListEntries entries() const;

 private:
  friend class ListCollector;
  struct Line {
    qint64 position;
    quint64 offset : 48;  // in arena_
    quint64 length : 16;  // at most LineBytes::kCapacity
  };
  std::vector<char> arena_;
  std::vector<Line> lines_;      // in the order they were added
  std::vector<qsizetype> order_;  // indexes in lines_, in the list order
};

// The lines of a list as a scan builds them, each kept as its bytes with a
// short sort key, then sorted in the list order at once: on the keys, equal
// keys on the bytes' ranks (lineOrderRank), equal lines in the order they
// were added.
class ListCollector {
 public:
  // The line being built for the next record.
  LineBytes& line() { return line_; }
  // Room for n lines, so that the lines are never moved while a scan adds them.
  void reserve(qsizetype n);
  // Keeps line() as the line of the record at `position` and empties it.
  void add(qint64 position);
  qsizetype size() const { return qsizetype(lines_.lines_.size()); }
  // The lines in the list order. The collector is left empty.
  ListLines takeSortedLines();
  // Appends the lines, decoded, to `out` in the list order. The collector is
  // left empty.
  void takeSorted(ListEntries& out);
  ListEntries takeSorted() {
    ListEntries out;
    takeSorted(out);
    return out;
  }

 private:
  struct Key {
    std::array<quint64, 3> ranks;  // of the first 24 bytes, 0 after the end
    qsizetype index;               // in lines_, the order of adding
  };
  LineBytes line_;
  ListLines lines_;
  std::vector<Key> keys_;
};

// The search: the lines of every record the filters match, sorted.
template <class Rec>
ListLines searchLines(const Archive<Rec>& archive, const FilterSet& filters) {
  ListCollector lines;
  if (filters.activeCount() == 0) lines.reserve(archive.Count());
  archive.Scan([&](qint64 pos, RecordView<Rec> v) {
    if (!filters.matches(v)) return;
    ListKind<Rec>::build(v, lines.line());
    lines.add(pos);
  });
  return lines.takeSortedLines();
}
template <class Rec>
ListEntries searchList(const Archive<Rec>& archive, const FilterSet& filters) {
  return searchLines(archive, filters).entries();
}

// The record behind a chosen line: of the records whose line, trimmed, equals
// `line` trimmed, the one nearest to the end of the archive. `build(view,
// LineBytes&)` builds a record's line (the list's own line unless said otherwise).
template <class Rec, class Build>
std::optional<ListEntry> lastRecordWithLine(const Archive<Rec>& archive, QStringView line, Build build) {
  // A line holding a character that no stored byte decodes to is no record's.
  const std::optional<QByteArray> want = storedBytesOf(trimControl(line));
  if (!want) return std::nullopt;
  std::optional<qint64> found;
  QByteArray foundLine;
  LineBytes l;
  archive.Scan([&](qint64 pos, RecordView<Rec> v) {
    l.clear();
    build(v, l);
    if (trimmedBytes(l.bytes()) != QByteArrayView(*want)) return;
    found = pos;
    foundLine = l.bytes().toByteArray();
  });
  if (!found) return std::nullopt;
  return ListEntry{decodeBytes(foundLine), *found};
}
template <class Rec>
std::optional<ListEntry> lastRecordWithLine(const Archive<Rec>& archive, QStringView line) {
  return lastRecordWithLine(archive, line, &ListKind<Rec>::build);
}

// The call-back list: the call-back lines of the cards whose call-back flag,
// trimmed, is exactly "Sì" (a lower-case "sì" is not), appended to
// `out` in file order and then sorted. When reading fails part way, `out`
// keeps the lines read so far, sorted, and the ArchiveError is thrown.
void callBackList(const ClientArchive& archive, ListEntries& out);
// The card behind a chosen call-back line, whatever its flag; see lastRecordWithLine.
std::optional<ListEntry> lastRecordWithCallBackLine(const ClientArchive& archive, QStringView line);

// ---- list find -------------------------------------------------------------

// "Trova": each window keeps one, emptied each time the window is shown.
class ListFind {
 public:
  void reset() { lastKey_.clear(); }
  // The line to select after a find with the typed key, given the selected
  // line (-1 for none): the matching line, or the selection as it stands (line
  // 0 when none was selected). A new key starts from line 0 and tests it
  // first; the key of the previous find goes on after the selected line,
  // wrapping from the last line to line 0. -1 only for an empty list.
  int find(const QStringList& lines, int selected, QStringView typed);
  const QString& lastKey() const { return lastKey_; }

 private:
  QString lastKey_;
};

// ---- due list --------------------------------------------------------------

// "Preavviso" as a whole number of days: an optional sign and digits, nothing
// else; nullopt otherwise.
std::optional<int> parseNoticeDays(QStringView text);
std::optional<int> parseNoticeDaysBytes(QByteArrayView stored);

struct DueList {
  ListEntries entries;  // sorted
  std::vector<SkippedRecord> skipped;
};
struct DueLines {
  ListLines lines;  // sorted
  std::vector<SkippedRecord> skipped;
};

// The unpaid movements ("Saldato" trimmed exactly "No") whose due date minus
// the notice days is not later than `today`. A record whose due date (as
// stored) is not a valid date or whose notice is not a whole number is skipped
// whatever its "Saldato", and reported.
DueLines dueLines(const MovementArchive& archive, const QDate& today);
DueList dueList(const MovementArchive& archive, const QDate& today);

}  // namespace fondaro
