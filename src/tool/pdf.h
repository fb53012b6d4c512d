// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list windows' printouts written as PDF files, without a display.
#include <QString>
#include <QStringList>
#include <functional>

#include "core/replacefile.h"

namespace fondaro {
struct InvoiceFileRead;
}

namespace fondaro::tool {

// Categorie and Rendiconto take the rows of categories::summaryPrintRows and
// rendiconto::formPrintRows as their lines.
enum class Printout { Riepilogo, Primanota, Categorie, Rendiconto };

// The lines of a printout, each made when the page that shows it is drawn.
struct PrintoutLines {
  int count = 0;
  std::function<QString(int i)> line;
};

// Writes the list printout ("Riepilogo dati", or the journal's "Primanota")
// with its title and lines to `path` (a temporary file, then renamed). On
// failure returns false with the reason in `error`.
bool writeListPdf(const QString& path, Printout kind, const QString& title, const PrintoutLines& lines,
                  const OutputGuard& guard, QString* error);

// The writer inside the PDF module "fondaro-tool-pdf.so", which sits beside
// the tool (a build or portable folder) or in ../lib/fondaro/ (installed).
using ListPdfWriter = bool (*)(const QString& path, Printout kind, const QString& title, const PrintoutLines& lines,
                               const OutputGuard& guard, QString* error);
inline constexpr char kPdfModuleName[] = "fondaro-tool-pdf.so";

// The readable copy of an invoice file (File02 of the movements an invoice
// import adds) as PDF bytes, made by the same module: the module exports
//   extern "C" InvoiceCopyMaker fondaro_invoice_copy_maker();
// whose function gives the bytes, or empty bytes with the reason in `error`.
// Empty too, with the reason, when the module or that entry is missing.
using InvoiceCopyMaker = QByteArray (*)(const InvoiceFileRead& file, QString* error);
QByteArray invoiceCopyPdf(const InvoiceFileRead& file, QString* error);

}  // namespace fondaro::tool
