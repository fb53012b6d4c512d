#pragma once
// What the two exports (a year's movements, the address book) share: a field's
// stored bytes as a cell, one row per record of an archive, the rows a grid
// shows once filled, and the document of a sheet.
#include <QByteArrayView>
#include <QStringView>
#include <span>
#include <vector>

#include "core/archive.h"
#include "core/linebytes.h"
#include "core/spreadsheet.h"

namespace fondaro {

// Appends one row per whole record of the archive, in file order, read in large
// blocks; `fill(view, cells)` sets the row's cells, as many as the table has
// columns. A read failure throws ArchiveError with the rows read so far kept.
// Returns the number of rows appended.
template <class Rec, class Fill>
qint64 appendRecordRows(const Archive<Rec>& archive, TextTable& rows, Fill&& fill) {
  std::vector<QByteArrayView> cells(size_t(rows.columnCount()));
  qint64 added = 0;
  archive.Scan([&](qint64, RecordView<Rec> v) {
    fill(v, std::span<QByteArrayView>(cells));
    rows.appendRow(cells);
    ++added;
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
                    Fill&& fill) {
  records = archive.Count();
  rows.reserve(records, records * bytesPerRecord);
  try {
    appendRecordRows(archive, rows, fill);
  } catch (const ArchiveError&) {
    completeExportRows(rows, records);
    throw;
  }
  completeExportRows(rows, records);
}

// The document of one sheet: the file's side of the columns, then the rows.
QByteArray exportDocument(QStringView sheetName, std::span<const ExportColumn> columns, const TextTable& rows);

}  // namespace fondaro
