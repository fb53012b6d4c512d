// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export of a year's movements to "Movimenti.xls": its columns, its sheet,
// and the rows read from the year archive. The export window shows these rows
// in its grid and writes them; fondaro-tool writes them as they are.
#include <span>

#include "core/archive.h"
#include "core/recordexport.h"

namespace fondaro {

inline constexpr char kMovementExportFile[] = "Movimenti.xls";
inline constexpr char kMovementSheetName[] = "Riepilogo annuale movimenti";

// The exported columns in order, from "Tipo movimento" to "Saldato" (the grid's
// "N." column comes before them and is not exported).
std::span<const ExportColumn> movementExportColumns();

// Fills the empty `rows` (of movementExportColumns()) as the grid shows them:
// one row per record in file order, or the designed empty rows when there is
// none; `records` is set to the record count. A read failure throws
// ArchiveError with the rows read so far kept (see fillExportRows).
void fillMovementExport(const MovementArchive& archive, TextTable& rows, qint64& records, const ProgressFn& progress = {});

// The rows of an archive as the grid shows them; an archive that cannot be
// read throws ArchiveError.
TextTable readMovementExport(const MovementArchive& archive);

// The document of these rows (as many columns as movementExportColumns()).
QByteArray movementExportDocument(const TextTable& rows, const ProgressFn& progress = {});

}  // namespace fondaro
