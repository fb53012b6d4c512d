// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export of the address book to "Anagrafica.xls": its columns, its sheet,
// and the rows read from "Clienti.pro", for the same document as the movements.
#include <span>

#include "core/archive.h"
#include "core/recordexport.h"

namespace fondaro {

inline constexpr char kClientExportFile[] = "Anagrafica.xls";
inline constexpr char kClientSheetName[] = "Archivio Anagrafico";

// The exported columns in order, from "Cognome e nome" to "Note" (the grid's
// "N." column comes before them and is not exported).
std::span<const ExportColumn> clientExportColumns();

// Fills the empty `rows` as the grid shows them; see fillMovementExport.
void fillClientExport(const ClientArchive& archive, TextTable& rows, qint64& records, const ProgressFn& progress = {});

// The rows of an address book as the grid shows them; throws ArchiveError.
TextTable readClientExport(const ClientArchive& archive);

QByteArray clientExportDocument(const TextTable& rows, const ProgressFn& progress = {});

}  // namespace fondaro
