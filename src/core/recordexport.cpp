#include "core/recordexport.h"

namespace fondaro {

QByteArrayView trimmedBytes(QByteArrayView b) {
  while (!b.isEmpty() && uchar(b.front()) <= 0x20) b = b.sliced(1);
  while (!b.isEmpty() && uchar(b.back()) <= 0x20) b.chop(1);
  return b;
}

void completeExportRows(TextTable& rows, qint64 records) {
  if (records <= 0) {
    if (rows.rowCount() == 0) rows.appendEmptyRows(kDesignedExportRows);
    return;
  }
  if (rows.rowCount() < records) rows.appendEmptyRows(records - rows.rowCount());
}

QByteArray exportDocument(QStringView sheetName, std::span<const ExportColumn> columns, const TextTable& rows) {
  const std::vector<SheetColumn> sheet = sheetColumns(columns);
  return spreadsheetDocument(sheetName, sheet, rows);
}

}  // namespace fondaro
