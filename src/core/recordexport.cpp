// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recordexport.h"

namespace fondaro {

void completeExportRows(TextTable& rows, qint64 records) {
  if (records <= 0) {
    if (rows.rowCount() == 0) rows.appendEmptyRows(kDesignedExportRows);
    return;
  }
  if (rows.rowCount() < records) rows.appendEmptyRows(records - rows.rowCount());
}

QByteArray exportDocument(QStringView sheetName, std::span<const ExportColumn> columns, const TextTable& rows,
                          const ProgressFn& progress) {
  const std::vector<SheetColumn> sheet = sheetColumns(columns);
  return spreadsheetDocument(sheetName, sheet, rows, progress);
}

}  // namespace fondaro
