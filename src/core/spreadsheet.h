// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The spreadsheet export document: an HTML table behind the workbook settings
// a spreadsheet program reads, so that the ".xls" file opens as a one-sheet
// workbook. Both exports (movements, address book) write it.
//
// The document is Windows-1252 text on one single line, with no line break
// anywhere: prologue, header row, one row per table row, epilogue. Values are
// trimmed; "&", "<" and ">" are written as "&amp;", "&lt;" and "&gt;" so that a
// value such as "Rossi & Figli" or "</table>" shows exactly as typed; a control
// character inside a value is written as a blank (the spreadsheet would show
// one anyway) so that the file stays one line; a character the code page lacks
// is written as "?".
//
// Each data cell also says what a spreadsheet program should make of it,
// after its column's kind (CellKind), so that a postcode "00184" keeps its
// zeros, a payer named "=acconto" stays a name and never becomes a formula,
// and the amounts can be summed. The text shown in the table stays as written.
// The type is said twice, once for each family of readers: LibreOffice reads
// `sdval` (the value, in en-US notation) and `sdnum` (its language, the format's
// language, a built-in format code: LibreOffice keeps only built-in formats
// from an HTML table, so amounts show two decimals and no "+"); Excel reads
// `x:str` and `x:num` and the `mso-number-format` of the cell's class.
#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringList>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/progress.h"
#include "core/replacefile.h"

namespace fondaro {

// A table of texts held compactly as Windows-1252 bytes, as the archives store
// them: what the export grids show and what the export writes. A cell can be
// edited; the edit replaces the stored text in the table only.
class TextTable {
 public:
  explicit TextTable(int columns);

  int columnCount() const { return columns_; }
  qint64 rowCount() const { return columns_ ? qint64(ends_.size()) / columns_ : 0; }
  void reserve(qint64 rows, qint64 bytes);

  // A row of stored Windows-1252 texts, one per column; each is trimmed here.
  void appendRow(std::span<const QByteArrayView> cells);
  void appendRow(const QStringList& cells);
  void appendEmptyRows(qint64 n);

  // The cell's text, trimmed, an edit included.
  QString text(qint64 row, int column) const;
  // The cell's Windows-1252 bytes, trimmed, an edit included.
  QByteArray bytes(qint64 row, int column) const;
  void setText(qint64 row, int column, const QString& text);
  bool isEdited(qint64 row, int column) const { return edits_.contains(key(row, column)); }
  bool hasEdits() const { return !edits_.isEmpty(); }
  // The text as it was put in, trimmed, edits aside.
  QByteArrayView storedCell(qint64 row, int column) const;

  // The stored bytes of the whole table, edits aside (for sizing).
  qsizetype storedBytes() const { return data_.size(); }

 private:
  qint64 key(qint64 row, int column) const { return row * columns_ + column; }

  int columns_;
  QByteArray data_;
  std::vector<qsizetype> ends_;  // end of each cell in data_, row after row
  QHash<qint64, QString> edits_;
};

// What a column's cells hold, for the type each cell is given in the file.
// A cell that does not have its kind's form (an empty one, or an edit such as
// "=1+1" or "circa 5 euro") is written as text, like every Text cell.
enum class CellKind : unsigned char {
  Text,    // as typed: leading zeros, "=", "+", "@" stay
  Amount,  // "+120,50", "-1250,00", "0,00": a number with two decimals
  Date,    // "02/02/2024" from 01/03/1900 on: a date shown dd/mm/yyyy
  Count,   // "5", "120": a whole number of up to nine digits, no leading zero
};

// One exported column: its header text, its width in the file, and what its
// cells hold.
struct SheetColumn {
  QString title;
  int width = 0;
  CellKind kind = CellKind::Text;
};

// A column of an export: its name ("colCausale"), its header and width in the
// grid, its header and width in the file (each side keeps its own), whether
// the user may edit its cells in the grid, and what its cells hold (an edited
// cell is typed by the same rule as the others).
struct ExportColumn {
  const char* name;
  const char* gridTitle;  // UTF-8
  int gridWidth;
  const char* fileTitle;  // UTF-8
  int fileWidth;
  bool editable = false;
  CellKind kind = CellKind::Text;
};

// The file's side of the columns.
std::vector<SheetColumn> sheetColumns(std::span<const ExportColumn> columns);

// The rows a grid is designed with: an empty archive shows (and exports) these
// many empty rows.
inline constexpr int kDesignedExportRows = 10;

// The whole document for a sheet of these columns and the rows of `rows`
// (which has as many columns).
// `progress` hears of the rows written (Cancelled stops it).
QByteArray spreadsheetDocument(QStringView sheetName, std::span<const SheetColumn> columns,
                               const TextTable& rows, const ProgressFn& progress = {});

class ExportWriteError : public std::runtime_error {
 public:
  ExportWriteError(QString path, WriteFailure failure);
  const QString& path() const { return path_; }
  // In English, for fondaro-tool.
  QString reason() const { return failure_.english(); }
  const WriteFailure& failure() const { return failure_; }

 private:
  QString path_;
  WriteFailure failure_;
};

// Writes bytes to a new file beside `path` and renames it over `path`, so a
// failed write leaves the previous file whole (core/replacefile.h: what is
// never replaced, and `guard`). Throws ExportWriteError.
void writeFileReplacing(const QString& path, const QByteArray& bytes, const OutputGuard& guard = {});

}  // namespace fondaro
