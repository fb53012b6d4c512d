// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The readable copy of an electronic invoice: what a person looks for on a
// paper invoice, drawn by the report engine from the template
// ":/reports/fatturaelettronica.json". Each body of the file (a batch holds
// several) is one invoice on pages of its own: kind, number and date; both
// parties with VAT number, tax code and address; the reasons; the lines; the
// VAT summary; the payment terms; the totals; the embedded attachments' names.
// The window shows it before an import, the import stores it beside the
// movements (File02), and the tool makes it through its PDF module.
#include <QByteArray>
#include <QString>

#include "report/sequence.h"

namespace fondaro {
struct InvoiceFileRead;
}

namespace fondaro::report {

// The copy of `file`'s invoice; no parts when the file holds none.
ReportSequence invoiceCopy(const InvoiceFileRead& file);

// The copy as PDF bytes, the same bytes for the same file (see pdfBytes).
// Empty, with the reason in `error` (Italian), when the file holds no invoice
// or the pages cannot be drawn.
QByteArray invoiceCopyPdf(const InvoiceFileRead& file, QString* error = nullptr);

}  // namespace fondaro::report
