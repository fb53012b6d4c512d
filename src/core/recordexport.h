// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the two exports (a year's movements, the address book) share: an export
// as one table of columns with the record field behind each, the cells of a
// record made by that table, one row per record of an archive, the rows a grid
// shows once filled, and the document of a sheet.
#include <QByteArray>
#include <QByteArrayView>
#include <QStringView>
#include <array>
#include <span>
#include <vector>

#include "core/archive.h"
#include "core/linebytes.h"
#include "core/progress.h"
#include "core/spreadsheet.h"

namespace fondaro {

// Appends one row per whole record of the archive, in file order, read in large
// blocks; `fill(view, cells)` sets the row's cells, as many as the table has
// columns. A read failure throws ArchiveError with the rows read so far kept.
// `progress` hears of the records read (Cancelled stops the reading).
// Returns the number of rows appended.
template <class Rec, class Fill>
qint64 appendRecordRows(const Archive<Rec>& archive, TextTable& rows, Fill&& fill, const ProgressFn& progress = {}) {
  std::vector<QByteArrayView> cells(size_t(rows.columnCount()));
  qint64 added = 0;
  const qint64 total = progress ? archive.Count() : 0;
  archive.Scan([&](qint64, RecordView<Rec> v) {
    fill(v, std::span<QByteArrayView>(cells));
    rows.appendRow(cells);
    if (++added % 2048 == 0) reportProgress(progress, added, total);
  });
  return added;
}

// The rows as the grid holds them once filled: `records` rows (those not read
// left empty), or the designed empty rows when the archive holds none.
void completeExportRows(TextTable& rows, qint64 records);

// Fills the empty `rows` as the grid shows them: one row a record filled by
// `fill` (see appendRecordRows), with room made for about `bytesPerRecord`
// stored bytes a row, then completed. `records` is set to the archive's record
// count as soon as it is known. A read failure completes the rows read so far
// to that count (the rest left empty) and throws ArchiveError.
template <class Rec, class Fill>
void fillExportRows(const Archive<Rec>& archive, TextTable& rows, qint64& records, qint64 bytesPerRecord,
                    Fill&& fill, const ProgressFn& progress = {}) {
  records = archive.Count();
  rows.reserve(records, records * bytesPerRecord);
  try {
    appendRecordRows(archive, rows, fill, progress);
  } catch (const ArchiveError&) {
    completeExportRows(rows, records);
    throw;
  }
  completeExportRows(rows, records);
}

// The document of one sheet: the file's side of the columns, then the rows.
// `progress` hears of the rows written (Cancelled stops it).
QByteArray exportDocument(QStringView sheetName, std::span<const ExportColumn> columns, const TextTable& rows,
                          const ProgressFn& progress = {});

// How an exported cell is made from its record.
enum class CellSource : unsigned char {
  Stored,  // the field's stored bytes
  Joined,  // the field and `next`, each trimmed, with one blank between ("Verona VR")
  Flag,    // a "Sì" / "No" flag as the words `yes` / `no`; any other content gives an empty cell
};

// One column of an export with the record field behind it. An export is one
// table of these, so a column never lacks its field.
template <class Rec>
struct ExportField {
  ExportColumn column;
  typename Rec::Field field;
  CellSource source = CellSource::Stored;
  typename Rec::Field next{};  // Joined
  const char* yes = "";        // Flag, ASCII
  const char* no = "";
};

// The cells of one record, one a field of the table, for fillExportRows. A
// joined cell is held here while the table takes the row.
template <class Rec>
class RecordCells {
 public:
  explicit RecordCells(std::span<const ExportField<Rec>> fields) : fields_(fields), joined_(fields.size()) {}

  void operator()(const RecordView<Rec>& v, std::span<QByteArrayView> cells) {
    for (size_t c = 0; c < fields_.size(); ++c) cells[c] = cell(v, fields_[c], joined_[c]);
  }

 private:
  static QByteArrayView cell(const RecordView<Rec>& v, const ExportField<Rec>& f, QByteArray& joined) {
    switch (f.source) {
      case CellSource::Stored:
        return storedBytes(v, f.field);
      case CellSource::Joined:
        joined.clear();
        joined.append(trimmedBytes(storedBytes(v, f.field)));
        joined.append(' ');
        joined.append(trimmedBytes(storedBytes(v, f.next)));
        return joined;
      case CellSource::Flag: {
        const QByteArrayView flag = trimmedBytes(storedBytes(v, f.field));
        if (flag == QByteArrayView("S\xEC")) return QByteArrayView(f.yes);  // "Sì" as the archives store it
        return flag == QByteArrayView("No") ? QByteArrayView(f.no) : QByteArrayView();
      }
    }
    return {};
  }

  std::span<const ExportField<Rec>> fields_;
  std::vector<QByteArray> joined_;
};

// An export of one record kind: the sheet, the table of fields and the
// columns it gives, and about how many stored bytes a row takes, to make room
// at once.
template <class Rec, size_t N>
struct RecordExport {
  constexpr RecordExport(const char* sheet, const ExportField<Rec> (&table)[N], qint64 bytesPerRow)
      : sheetName(sheet), fields(table), bytesPerRecord(bytesPerRow) {
    for (size_t i = 0; i < N; ++i) columns[i] = table[i].column;
  }

  // See fillExportRows.
  void fill(const Archive<Rec>& archive, TextTable& rows, qint64& records, const ProgressFn& progress = {}) const {
    fillExportRows(archive, rows, records, bytesPerRecord, RecordCells<Rec>(fields), progress);
  }
  TextTable read(const Archive<Rec>& archive) const {
    TextTable rows(static_cast<int>(N));
    qint64 records = 0;
    fill(archive, rows, records);
    return rows;
  }
  QByteArray document(const TextTable& rows, const ProgressFn& progress = {}) const {
    return exportDocument(QString::fromUtf8(sheetName), columns, rows, progress);
  }

  const char* sheetName;  // UTF-8
  std::span<const ExportField<Rec>, N> fields;
  std::array<ExportColumn, N> columns{};
  qint64 bytesPerRecord;
};

}  // namespace fondaro
