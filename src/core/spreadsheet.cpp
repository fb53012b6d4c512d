#include "core/spreadsheet.h"

#include "core/filepath.h"
#include "core/replacefile.h"

#include "core/cp1252.h"
#include "core/field.h"
#include "core/linebytes.h"

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
    "</head>"
    "<body>"
    "<table x:str>";
constexpr QByteArrayView kEpilogue("</table></body></html>");
constexpr QByteArrayView kHeaderCellStart("<td style=\"text-align: left; font-weight: bold;\" width=");
constexpr QByteArrayView kDataCellStart("<td style=\"text-align: left;\">");
constexpr QByteArrayView kCellEnd("</td>");
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
  for (const ExportColumn& c : columns) out.push_back({QString::fromUtf8(c.fileTitle), c.fileWidth});
  return out;
}

QByteArray spreadsheetDocument(QStringView sheetName, std::span<const SheetColumn> columns,
                               const TextTable& rows) {
  const qint64 cellCount = rows.rowCount() * rows.columnCount();
  QByteArray out;
  out.reserve(qsizetype(4096 + rows.rowCount() * 9 + cellCount * 35 + rows.storedBytes() * 11 / 10));

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
      out.append(kDataCellStart);
      if (c < n) {
        if (edited && rows.isEdited(r, c)) appendValue(out, trimmedBytes(rows.bytes(r, c)));
        else appendValue(out, rows.storedCell(r, c));
      }
      out.append(kCellEnd);
    }
    out.append(kRowEnd);
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
