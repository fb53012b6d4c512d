// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/spreadsheet.h"

#include <algorithm>

#include "core/filepath.h"
#include "core/replacefile.h"

#include "core/cp1252.h"
#include "core/field.h"
#include "core/linebytes.h"
#include "core/textrules.h"

namespace fondaro {

namespace {

constexpr char kPrologueStart[] =
    "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
    "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
    "xmlns=\"http://www.w3.org/TR/REC-html40\">"
    "<head>"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">"
    "<!--[if gte mso 9]><xml>"
    "<x:ExcelWorkbook>"
    "<x:ExcelWorksheets>"
    "<x:ExcelWorksheet>"
    "<x:Name>";
constexpr char kPrologueEnd[] =
    "</x:Name>"
    "<x:WorksheetOptions>"
    "<x:Selected/>"
    "<x:Panes>"
    "<x:Pane>"
    "<x:Number>1</x:Number>"
    "<x:ActiveRow>3</x:ActiveRow>"
    "</x:Pane>"
    "</x:Panes>"
    "<x:ProtectContents>False</x:ProtectContents>"
    "<x:ProtectObjects>False</x:ProtectObjects>"
    "<x:ProtectScenarios>False</x:ProtectScenarios>"
    "</x:WorksheetOptions>"
    "</x:ExcelWorksheet>"
    "</x:ExcelWorksheets>"
    "</x:ExcelWorkbook>"
    "</xml><![endif]-->"
    // The data cells' classes (see the cells below): Excel's number format
    // of each, and the alignment every data cell has always had, said once
    // here rather than in every cell.
    "<style>"
    ".t{mso-number-format:\"\\@\";text-align:left;}"
    ".a{mso-number-format:\"0\\.00\";text-align:left;}"
    ".d{mso-number-format:\"dd\\/mm\\/yyyy\";text-align:left;}"
    ".n{mso-number-format:\"0\";text-align:left;}"
    "</style>"
    "</head>"
    "<body>"
    "<table x:str>";
constexpr QByteArrayView kEpilogue("</table></body></html>");
constexpr QByteArrayView kHeaderCellStart("<td style=\"text-align: left; font-weight: bold;\" width=");
constexpr QByteArrayView kCellEnd("</td>");

// The cells, by the type a spreadsheet program gives them. The sdnum of each
// reads: the language of sdval (en-US, "." decimals), the language of the
// format (Italian, "," decimals), a format LibreOffice has built in.
constexpr QByteArrayView kTextCellStart("<td class=t x:str sdnum=\"1033;1040;@\">");
// A number cell: open, the value, kValueAgain, the value, close, the text.
constexpr QByteArrayView kValueAgain("\" sdval=\"");
struct NumberCell {
  QByteArrayView open;
  QByteArrayView close;
};
constexpr NumberCell kAmountCell{"<td class=a x:num=\"", "\" sdnum=\"1033;1040;0,00\">"};
constexpr NumberCell kDateCell{"<td class=d x:num=\"", "\" sdnum=\"1033;1040;GG/MM/AAAA\">"};
constexpr NumberCell kCountCell{"<td class=n x:num=\"", "\" sdnum=\"1033;1040;0\">"};
// Room for the longest value a number cell is given.
constexpr int kValueCapacity = 20;

constexpr QByteArrayView kRowStart("<tr>");
constexpr QByteArrayView kRowEnd("</tr>");

// A trimmed value with the three markup characters escaped and any control
// character turned into a blank.
void appendValue(QByteArray& out, QByteArrayView value) {
  qsizetype plain = 0;  // start of the run not yet copied
  for (qsizetype i = 0; i < value.size(); ++i) {
    const uchar c = uchar(value[i]);
    if (c > '>') continue;
    const char* replacement = nullptr;
    if (c == '&') replacement = "&amp;";
    else if (c == '<') replacement = "&lt;";
    else if (c == '>') replacement = "&gt;";
    else if (c < 0x20) replacement = " ";
    if (!replacement) continue;
    out.append(value.sliced(plain, i - plain));
    out.append(replacement);
    plain = i + 1;
  }
  out.append(value.sliced(plain));
}

// The value of an amount text, "+120,50" as "120.50" and "-5,00" as "-5.00",
// written to `value`; its length, or 0 when the text is no amount. Thirteen
// digits before the comma at most, so that a double holds it exactly.
int amountValue(QByteArrayView text, char* value) {
  int n = 0;
  qsizetype i = 0;
  if (!text.isEmpty() && (text[0] == '+' || text[0] == '-')) {
    if (text[0] == '-') value[n++] = '-';
    i = 1;
  }
  const qsizetype comma = text.size() - 3;
  if (comma - i < 1 || comma - i > 13 || text[comma] != ',') return 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (i == comma) value[n++] = '.';
    else if (c >= '0' && c <= '9') value[n++] = c;
    else return 0;
  }
  return n;
}

// The decimal digits of `v` written to `out`; their count.
qsizetype writeDecimal(unsigned v, char* out) {
  char reversed[12];
  int n = 0;
  do {
    reversed[n++] = char('0' + v % 10);
    v /= 10;
  } while (v);
  for (int i = 0; i < n; ++i) out[i] = reversed[n - 1 - i];
  return n;
}

// A date text "dd/mm/yyyy" as the day number both programs count dates by
// (1 March 1900 is 61); 0 for any other text and for earlier dates, where the
// two programs count differently (Excel knows a 29 February 1900).
int dateValue(QByteArrayView text, char* value) {
  constexpr qint64 kJulianDayZero = 2415019;  // 30 December 1899
  constexpr qint64 kFirstDay = 61;
  if (text.size() != 10) return 0;  // "2/2/2024" would be shown as "02/02/2024"
  const QDate d = parseDateBytes(text);
  if (!d.isValid() || d.toJulianDay() - kJulianDayZero < kFirstDay) return 0;
  return int(writeDecimal(unsigned(d.toJulianDay() - kJulianDayZero), value));
}

// A whole number "0" or "120", up to nine digits, as itself; 0 for any other
// text ("05" would be shown as "5").
int countValue(QByteArrayView text, char* value) {
  if (text.isEmpty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
  }
  std::copy(text.begin(), text.end(), value);
  return int(text.size());
}

// One data cell of a column of `kind`: a number cell when the trimmed `text`
// has the kind's form (its text is then only digits, signs, "," and "/", with
// nothing to escape), else a text cell.
void appendCell(QByteArray& out, CellKind kind, QByteArrayView text) {
  char value[kValueCapacity];
  int n = 0;
  const NumberCell* cell = nullptr;
  switch (kind) {
    case CellKind::Text: break;
    case CellKind::Amount:
      n = amountValue(text, value);
      cell = &kAmountCell;
      break;
    case CellKind::Date:
      n = dateValue(text, value);
      cell = &kDateCell;
      break;
    case CellKind::Count:
      n = countValue(text, value);
      cell = &kCountCell;
      break;
  }
  if (n > 0) {
    const QByteArrayView v(value, n);
    out.append(cell->open).append(v).append(kValueAgain).append(v).append(cell->close).append(text);
  } else {
    out.append(kTextCellStart);
    appendValue(out, text);
  }
  out.append(kCellEnd);
}

}  // namespace

TextTable::TextTable(int columns) : columns_(columns > 0 ? columns : 0) {}

void TextTable::reserve(qint64 rows, qint64 bytes) {
  ends_.reserve(size_t(rows * columns_));
  data_.reserve(qsizetype(bytes));
}

void TextTable::appendRow(std::span<const QByteArrayView> cells) {
  for (int c = 0; c < columns_; ++c) {
    if (c < int(cells.size())) data_.append(trimmedBytes(cells[c]));
    ends_.push_back(data_.size());
  }
}

void TextTable::appendRow(const QStringList& cells) {
  std::vector<QByteArray> encoded;
  encoded.reserve(size_t(columns_));
  for (int c = 0; c < columns_ && c < cells.size(); ++c) encoded.push_back(cp1252::encode(cells[c]));
  std::vector<QByteArrayView> views(encoded.begin(), encoded.end());
  appendRow(views);
}

void TextTable::appendEmptyRows(qint64 n) { ends_.insert(ends_.end(), size_t(n * columns_), data_.size()); }

QByteArrayView TextTable::storedCell(qint64 row, int column) const {
  const qint64 i = key(row, column);
  const qsizetype start = i == 0 ? 0 : ends_[size_t(i - 1)];
  return QByteArrayView(data_).sliced(start, ends_[size_t(i)] - start);
}

QString TextTable::text(qint64 row, int column) const {
  if (!edits_.isEmpty()) {
    const auto it = edits_.constFind(key(row, column));
    if (it != edits_.constEnd()) return *it;
  }
  const QByteArrayView b = storedCell(row, column);
  return cp1252::decode(b.data(), b.size());
}

QByteArray TextTable::bytes(qint64 row, int column) const {
  if (!edits_.isEmpty()) {
    const auto it = edits_.constFind(key(row, column));
    if (it != edits_.constEnd()) return cp1252::encode(*it);
  }
  return storedCell(row, column).toByteArray();
}

void TextTable::setText(qint64 row, int column, const QString& text) {
  edits_.insert(key(row, column), trimmedText(text));
}

std::vector<SheetColumn> sheetColumns(std::span<const ExportColumn> columns) {
  std::vector<SheetColumn> out;
  out.reserve(columns.size());
  for (const ExportColumn& c : columns) out.push_back({QString::fromUtf8(c.fileTitle), c.fileWidth, c.kind});
  return out;
}

QByteArray spreadsheetDocument(QStringView sheetName, std::span<const SheetColumn> columns,
                               const TextTable& rows, const ProgressFn& progress) {
  const qint64 cellCount = rows.rowCount() * rows.columnCount();
  QByteArray out;
  out.reserve(qsizetype(4096 + rows.rowCount() * 9 + cellCount * 52 + rows.storedBytes() * 11 / 10));

  out.append(kPrologueStart);
  appendValue(out, trimmedBytes(cp1252::encode(sheetName)));
  out.append(kPrologueEnd);

  out.append("<tr>");
  for (const SheetColumn& c : columns) {
    out.append(kHeaderCellStart);
    out.append(QByteArray::number(c.width));
    out.append('>');
    appendValue(out, trimmedBytes(cp1252::encode(c.title)));
    out.append(kCellEnd);
  }
  out.append("</tr>");

  const bool edited = rows.hasEdits();
  const int n = int(columns.size()) < rows.columnCount() ? int(columns.size()) : rows.columnCount();
  for (qint64 r = 0; r < rows.rowCount(); ++r) {
    out.append(kRowStart);
    for (int c = 0; c < int(columns.size()); ++c) {
      const CellKind kind = columns[size_t(c)].kind;
      if (c >= n) appendCell(out, kind, {});
      else if (edited && rows.isEdited(r, c)) appendCell(out, kind, trimmedBytes(rows.bytes(r, c)));
      else appendCell(out, kind, rows.storedCell(r, c));
    }
    out.append(kRowEnd);
    if ((r + 1) % 2048 == 0) reportProgress(progress, r + 1, rows.rowCount());
  }
  out.append(kEpilogue);
  return out;
}

ExportWriteError::ExportWriteError(QString path, WriteFailure failure)
    : std::runtime_error((path + QStringLiteral(": ") + failure.english()).toStdString()),
      path_(std::move(path)),
      failure_(failure) {}

void writeFileReplacing(const QString& path, const QByteArray& bytes, const OutputGuard& guard) {
  WriteFailure why;
  if (!replaceFileBytes(encodePath(path), [&](int fd) { return writeAllTo(fd, bytes.constData(), bytes.size()); },
                        &why, guard))
    throw ExportWriteError(path, why);
}

}  // namespace fondaro
