// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a document as a PDF file, with no printer and no dialog.
#include <QString>
#include <functional>

#include "core/progress.h"
#include "core/replacefile.h"
#include "report/printdocument.h"

class QPagedPaintDevice;

namespace fondaro::report {

// Writes `doc` to `path`. The pages go to a temporary file in the same folder,
// which replaces `path` only once complete: a failed write leaves an older file
// of that name as it was. On failure returns false and, if `error` is given,
// sets it to the reason (in Italian, for the user), and `failure` to what
// failed. What is never replaced: core/replacefile.h, and `guard`.
// `progress` hears of each page drawn; when it says stop, Cancelled is thrown
// and nothing is written.
bool writePdf(PrintDocument& doc, const QString& path, QString* error = nullptr, const OutputGuard& guard = {},
              WriteFailure* failure = nullptr, const ProgressFn& progress = {});

// The PDF of `doc` as bytes, drawn whole in memory; empty, with `error` set
// (in Italian), when a page cannot be drawn. The same document gives the same
// bytes: no date of creation and no random identifier go into the file, so a
// copy made again of the same data is recognised as the same file.
QByteArray pdfBytes(PrintDocument& doc, QString* error = nullptr, const ProgressFn& progress = {});

// Lays out and draws every page of `doc` on `device`, page by page; false when
// the device cannot be painted on (a printer that refuses the job). When a
// page fails after the first, `abandon` is called before the painting ends,
// so that a printer's job can be cancelled instead of printing half of it.
// `progress` hears of each page drawn; when it says stop, `abandon` is called,
// the painting ends and Cancelled is thrown.
bool paintDocument(PrintDocument& doc, QPagedPaintDevice& device, const std::function<void()>& abandon = {},
                   const ProgressFn& progress = {});

// The number of pages `doc` takes on a PDF page of its own layout, without
// drawing anything.
int countPages(PrintDocument& doc);

}  // namespace fondaro::report
