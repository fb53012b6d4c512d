// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program prints: the system's default printer, the print
// dialog, the preview window, or a PDF file written with no dialog. Documents
// are report::PrintDocument (QtGui only, see report/printdocument.h), so the
// same pages go to each target; tests capture the requests through a hook.
#include <QPageLayout>
#include <QString>
#include <functional>
#include <optional>

#include "report/printdocument.h"

class QWidget;

namespace fondaro::gui {

using PrintDocument = report::PrintDocument;

enum class PrintTarget { Printer, PrintDialog, Preview, Pdf };

struct PrintRequest {
  PrintTarget target;
  QString title;
  int pageCount;
  int copies;
  QString pdfPath;
  QPageLayout layout;
};

// Printer: the system's default printer, `copies` copies, no dialog.
// PrintDialog: the print dialog first, its copies field preset to `copies`.
// Preview: the preview window "frmAnteprima" (pages, print, zoom, full screen,
// close; see preview.h).
// Pdf: writes `pdfPath` with no dialog (a temporary file, renamed when complete).
// Returns true when done. On failure (no printer, an unwritable PDF, a printer
// that refuses the job) the Italian notice has been shown and false is
// returned; a dialog the user cancels returns false with no notice.
bool print(QWidget* parent, PrintDocument& doc, PrintTarget target, int copies = 1,
           const QString& pdfPath = {});

// The notice shown when the system has no default printer.
QString noPrinterText();

// Tests: while a hook is set, a request for the printer, the print dialog or
// the preview goes to the hook instead, and its answer is returned. A PDF is
// still written to its file, then handed to the hook as well.
using PrintHook = std::function<bool(const PrintRequest&, PrintDocument&)>;
void setPrintHook(PrintHook hook);
// Tests: whether the system is taken to have a default printer; nullopt asks
// the system.
void setPrinterPresent(std::optional<bool> present);

}  // namespace fondaro::gui
