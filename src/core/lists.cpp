#include "core/lists.h"

#include <algorithm>

#include "core/textrules.h"

namespace fondaro {
namespace {

inline char16_t foldLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }
inline char16_t foldUpper(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 32) : c; }

}  // namespace

bool containsFolded(QStringView text, QStringView lowerKey) {
  const qsizetype m = lowerKey.size();
  if (m == 0 || m > text.size()) return false;
  const char16_t* t = reinterpret_cast<const char16_t*>(text.utf16());
  const char16_t* k = reinterpret_cast<const char16_t*>(lowerKey.utf16());
  const qsizetype last = text.size() - m;
  for (qsizetype i = 0; i <= last; ++i) {
    if (foldLower(t[i]) != k[0]) continue;
    qsizetype j = 1;
    while (j < m && foldLower(t[i + j]) == k[j]) ++j;
    if (j == m) return true;
  }
  return false;
}

void appendPadded(QString& line, QStringView text, int width) {
  const QStringView t = trimControl(text).left(width);
  line += t;
  for (qsizetype i = t.size(); i < width; ++i) line += u' ';
}

namespace {

QString movementLine(QStringView causale, QStringView dataSca, QStringView pagatore,
                     QStringView beneficiario, QStringView totale) {
  QString line;
  line.reserve(160);
  appendPadded(line, causale, 40);
  line += u"  Scad. ";
  appendPadded(line, dataSca, 10);
  line += u"  Da: ";
  appendPadded(line, pagatore, 30);
  line += u"  A: ";
  appendPadded(line, beneficiario, 30);
  line += u"  Importo: ";
  line += trimControl(totale);
  return line;
}

QString clientLine(const ClienteView& v, cli::Field last) {
  QString line;
  line.reserve(160);
  appendPadded(line, v.text(cli::Cliente), 26);
  line += u"  Tel. ";
  appendPadded(line, v.text(cli::Recapito), 15);
  line += u"  ";
  appendPadded(line, v.text(cli::Occupazione), 25);
  line += u"  Prod. ";
  appendPadded(line, v.text(cli::Prodotti), 30);
  line += u"  ";
  line += trimControl(v.text(last));
  return line;
}

}  // namespace

QString ListKind<TCliente>::line(const ClienteView& v) { return clientLine(v, cli::Note); }

QString ListKind<TCliente>::line(const TCliente& r) {
  return line(ClienteView(reinterpret_cast<const uint8_t*>(&r)));
}

QString ListKind<TCliente>::callBackLine(const ClienteView& v) { return clientLine(v, cli::Questioni); }

QString ListKind<TMovimento>::line(const MovimentoView& v) {
  return movementLine(v.text(mov::Causale), v.text(mov::DataSca), v.text(mov::Pagatore),
                      v.text(mov::Beneficiario), v.text(mov::Totale));
}

QString ListKind<TMovimento>::line(const TMovimento& r) {
  return line(MovimentoView(reinterpret_cast<const uint8_t*>(&r)));
}

bool isActiveFilter(QStringView typed) { return !trimControl(typed).isEmpty(); }

FilterSet::FilterSet(const std::vector<FieldFilter>& filters) {
  for (const FieldFilter& f : filters) {
    if (isActiveFilter(f.typed)) keys_.push_back({f.field, lowerAscii(f.typed)});
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

QString skippedPositionsText(const std::vector<SkippedRecord>& skipped) {
  QStringList parts;
  for (size_t i = 0; i < skipped.size() && i < 10; ++i) parts << QString::number(skipped[i].position);
  QString text = parts.join(QStringLiteral(", "));
  if (skipped.size() > 10) text += QStringLiteral(", ...");
  return text;
}

std::optional<int> parseNoticeDays(QStringView text) {
  qsizetype i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  if (i == text.size()) return std::nullopt;
  qint64 v = 0;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < u'0' || c > u'9') return std::nullopt;
    v = v * 10 + (c - u'0');
    if (v > 1000000) return std::nullopt;  // the field holds three characters
  }
  return int(negative ? -v : v);
}

DueList dueList(const MovementArchive& archive, const QDate& today) {
  DueList out;
  archive.Scan([&](qint64 pos, MovimentoView v) {
    const QString dataSca = v.text(mov::DataSca);
    const QDate due = parseDate(dataSca);
    if (!due.isValid()) {
      out.skipped.push_back({pos, QStringLiteral("due date \"%1\" is not a date").arg(dataSca)});
      return;
    }
    const QString preavviso = v.text(mov::Preavviso);
    const std::optional<int> days = parseNoticeDays(preavviso);
    if (!days) {
      out.skipped.push_back({pos, QStringLiteral("notice \"%1\" is not a whole number").arg(preavviso)});
      return;
    }
    if (due.addDays(-*days) > today || v.trimmed(mov::Saldato) != kNo) return;
    out.entries.push_back({ListKind<TMovimento>::line(v), pos});
  });
  sortListEntries(out.entries);
  return out;
}

// ---- call-back list ---------------------------------------------------------

void callBackList(const ClientArchive& archive, ListEntries& out) {
  try {
    archive.Scan([&](qint64 pos, ClienteView v) {
      if (v.trimmed(cli::Ricontatta) == kSi) out.push_back({ListKind<TCliente>::callBackLine(v), pos});
    });
  } catch (const ArchiveError&) {
    sortListEntries(out);
    throw;
  }
  sortListEntries(out);
}

std::optional<ListEntry> lastRecordWithCallBackLine(const ClientArchive& archive, QStringView line) {
  return lastRecordWithLine(archive, line, [](const ClienteView& v) { return ListKind<TCliente>::callBackLine(v); });
}

}  // namespace fondaro
