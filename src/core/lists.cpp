// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/lists.h"

#include <algorithm>

#include "core/textrules.h"

namespace fondaro {
namespace {

inline char16_t foldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

}  // namespace

bool containsFolded(QStringView text, QStringView lowerKey) {
  return containsFoldedUnits(reinterpret_cast<const char16_t*>(text.utf16()), text.size(),
                             reinterpret_cast<const char16_t*>(lowerKey.utf16()), lowerKey.size());
}

void appendPadded(QString& line, QStringView text, int width) {
  const QStringView t = trimControl(text).left(width);
  line += t;
  for (qsizetype i = t.size(); i < width; ++i) line += u' ';
}

namespace {

// Name 26, "  Tel. ", contact 15, "  ", occupation 25, "  Prod. ", products
// 30, "  ", then `last` trimmed.
constexpr std::array<LineColumn, 4> kClientColumns = {{
    {"", cli::Cliente, 26},
    {"  Tel. ", cli::Recapito, 15},
    {"  ", cli::Occupazione, 25},
    {"  Prod. ", cli::Prodotti, 30},
}};

void clientLine(const ClienteView& v, cli::Field last, LineBytes& line) {
  line.columns(v, kClientColumns);
  line.columns(v, std::array<LineColumn, 1>{{{"  ", last, 0}}});
}

constexpr std::array<LineColumn, 5> kMovementColumns = {{
    {"", mov::Causale, 40},
    {"  Scad. ", mov::DataSca, 10},
    {"  Da: ", mov::Pagatore, 30},
    {"  A: ", mov::Beneficiario, 30},
    {"  Importo: ", mov::Totale, 0},
}};

template <class View, class Build>
QString lineText(const View& v, Build build) {
  LineBytes line;
  build(v, line);
  return line.toString();
}

inline char16_t unitOf(QChar c) { return c.unicode(); }
inline char16_t unitOf(char c) { return char16_t(static_cast<unsigned char>(c)); }

}  // namespace

void ListKind<TCliente>::build(const ClienteView& v, LineBytes& line) { clientLine(v, cli::Note, line); }

int ListKind<TCliente>::longest() {
  const auto last = [](cli::Field f) { return longestLine<TCliente>(std::array<LineColumn, 1>{{{"  ", f, 0}}}); };
  return longestLine<TCliente>(kClientColumns) + std::max(last(cli::Note), last(cli::Questioni));
}

void ListKind<TCliente>::buildCallBack(const ClienteView& v, LineBytes& line) {
  clientLine(v, cli::Questioni, line);
}

QString ListKind<TCliente>::line(const ClienteView& v) { return lineText(v, &build); }

QString ListKind<TCliente>::line(const TCliente& r) {
  return line(ClienteView(reinterpret_cast<const uint8_t*>(&r)));
}

QString ListKind<TCliente>::callBackLine(const ClienteView& v) { return lineText(v, &buildCallBack); }

void ListKind<TMovimento>::build(const MovimentoView& v, LineBytes& line) { line.columns(v, kMovementColumns); }

int ListKind<TMovimento>::longest() { return longestLine<TMovimento>(kMovementColumns); }

QString ListKind<TMovimento>::line(const MovimentoView& v) { return lineText(v, &build); }

QString ListKind<TMovimento>::line(const TMovimento& r) {
  return line(MovimentoView(reinterpret_cast<const uint8_t*>(&r)));
}

bool isActiveFilter(QStringView typed) { return !trimControl(typed).isEmpty(); }

FilterSet::FilterSet(const std::vector<FieldFilter>& filters) {
  for (const FieldFilter& f : filters) {
    if (isActiveFilter(f.typed)) keys_.push_back({f.field, foldedKeyBytes(f.typed)});
  }
}

int compareListLines(QStringView a, QStringView b) {
  const qsizetype n = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t x = foldUpper(a[i].unicode());
    const char16_t y = foldUpper(b[i].unicode());
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void sortListEntries(ListEntries& entries) {
  std::stable_sort(entries.begin(), entries.end(), [](const ListEntry& a, const ListEntry& b) {
    return compareListLines(a.line, b.line) < 0;
  });
}

namespace {
// The bytes an entry's sort key holds.
constexpr qsizetype kKeyBytes = 24;
}  // namespace

void ListCollector::reserve(qsizetype n) {
  // Most lines are well short of the longest a line can be.
  lines_.arena_.reserve(size_t(n) * 160);
  lines_.lines_.reserve(size_t(n));
  keys_.reserve(size_t(n));
}

void ListCollector::add(qint64 position) {
  const QByteArrayView b = line_.bytes();
  const std::array<uint8_t, 256>& rank = lineOrderRank();
  Key key{{0, 0, 0}, qsizetype(lines_.lines_.size())};
  for (qsizetype i = 0; i < kKeyBytes; ++i) {
    quint64& word = key.ranks[size_t(i / 8)];
    word = (word << 8) | (i < b.size() ? rank[static_cast<uint8_t>(b[i])] : 0u);
  }
  keys_.push_back(key);
  lines_.lines_.push_back({position, quint64(lines_.arena_.size()), quint64(b.size())});
  lines_.arena_.insert(lines_.arena_.end(), b.begin(), b.end());
  line_.clear();
}

ListLines ListCollector::takeSortedLines() {
  const std::array<uint8_t, 256>& rank = lineOrderRank();
  const ListLines& l = lines_;
  const auto bytesOf = [&l](qsizetype index) {
    const ListLines::Line& line = l.lines_[size_t(index)];
    return QByteArrayView(l.arena_.data() + line.offset, qsizetype(line.length));
  };
  std::sort(keys_.begin(), keys_.end(), [&](const Key& a, const Key& b) {
    for (size_t w = 0; w < a.ranks.size(); ++w)
      if (a.ranks[w] != b.ranks[w]) return a.ranks[w] < b.ranks[w];
    // Equal keys: the first 24 bytes (or all of the shorter line) rank alike.
    const QByteArrayView x = bytesOf(a.index);
    const QByteArrayView y = bytesOf(b.index);
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = std::min(kKeyBytes, n); i < n; ++i) {
      const uint8_t rx = rank[uint8_t(x[i])], ry = rank[uint8_t(y[i])];
      if (rx != ry) return rx < ry;
    }
    if (x.size() != y.size()) return x.size() < y.size();
    return a.index < b.index;
  });
  ListLines out = std::move(lines_);
  out.order_.reserve(keys_.size());
  for (const Key& k : keys_) out.order_.push_back(k.index);
  std::vector<Key>().swap(keys_);  // given back before the lines are used
  lines_ = ListLines();
  return out;
}

void ListCollector::takeSorted(ListEntries& out) {
  const ListLines lines = takeSortedLines();
  out.reserve(out.size() + size_t(lines.size()));
  for (qsizetype i = 0; i < lines.size(); ++i) out.push_back({decodeBytes(lines.bytes(i)), lines.position(i)});
}

ListEntries ListLines::entries() const {
  ListEntries out;
  out.reserve(size_t(size()));
  for (qsizetype i = 0; i < size(); ++i) out.push_back({decodeBytes(bytes(i)), position(i)});
  return out;
}

QStringList linesOf(const ListEntries& entries) {
  QStringList out;
  out.reserve(qsizetype(entries.size()));
  for (const ListEntry& e : entries) out.append(e.line);
  return out;
}

int ListFind::find(const QStringList& lines, int selected, QStringView typed) {
  const int n = int(lines.size());
  if (n == 0) return -1;
  if (selected < 0 || selected >= n) selected = 0;
  const QString key = lowerAscii(typed);
  const bool again = key == lastKey_;
  lastKey_ = key;
  if (key.isEmpty()) return selected;
  int i = again ? selected : 0;
  if (!again && containsFolded(lines[0], key)) return 0;
  const int start = i;
  do {
    i = (i + 1) % n;
    if (containsFolded(lines[i], key)) return i;
  } while (i != start);
  return selected;
}

namespace {

template <class Text>
std::optional<int> noticeDaysOf(const Text& text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (unitOf(text[i]) == u'+' || unitOf(text[i]) == u'-')) negative = unitOf(text[i++]) == u'-';
  constexpr qint64 kLimit = 1000000;  // the field holds three characters
  const std::optional<qint64> v = digitsValue(text.sliced(i), kLimit);
  if (!v || *v > kLimit) return std::nullopt;
  return int(negative ? -*v : *v);
}

}  // namespace

std::optional<int> parseNoticeDays(QStringView text) { return noticeDaysOf(text); }
std::optional<int> parseNoticeDaysBytes(QByteArrayView stored) { return noticeDaysOf(stored); }

DueList dueList(const MovementArchive& archive, const QDate& today) {
  DueLines due = dueLines(archive, today);
  return {due.lines.entries(), std::move(due.skipped)};
}

DueLines dueLines(const MovementArchive& archive, const QDate& today) {
  DueLines out;
  ListCollector lines;
  out.skipped = scanSkipping(archive, [&](qint64 pos, MovimentoView v) -> std::optional<QString> {
    const QByteArrayView dataSca = storedBytes(v, mov::DataSca);
    const QDate due = parseDateBytes(dataSca);
    if (!due.isValid()) return unreadableReason(u"due date", dataSca, u"is not a date");
    const QByteArrayView preavviso = storedBytes(v, mov::Preavviso);
    const std::optional<int> days = parseNoticeDaysBytes(preavviso);
    if (!days) return unreadableReason(u"notice", preavviso, u"is not a whole number");
    if (due.addDays(-*days) > today || trimmedBytes(storedBytes(v, mov::Saldato)) != QByteArrayView("No"))
      return std::nullopt;
    ListKind<TMovimento>::build(v, lines.line());
    lines.add(pos);
    return std::nullopt;
  });
  out.lines = lines.takeSortedLines();
  return out;
}

// ---- call-back list ---------------------------------------------------------

void callBackList(const ClientArchive& archive, ListEntries& out) {
  // Lines already in `out` are sorted with the new ones, as if appended first.
  const bool merge = !out.empty();
  ListCollector lines;
  const auto finish = [&] {
    lines.takeSorted(out);
    if (merge) sortListEntries(out);
  };
  try {
    archive.Scan([&](qint64 pos, ClienteView v) {
      if (trimmedBytes(storedBytes(v, cli::Ricontatta)) != QByteArrayView("S\xEC")) return;
      ListKind<TCliente>::buildCallBack(v, lines.line());
      lines.add(pos);
    });
  } catch (const ArchiveError&) {
    finish();
    throw;
  }
  finish();
}

std::optional<ListEntry> lastRecordWithCallBackLine(const ClientArchive& archive, QStringView line) {
  return lastRecordWithLine(archive, line, &ListKind<TCliente>::buildCallBack);
}

}  // namespace fondaro
