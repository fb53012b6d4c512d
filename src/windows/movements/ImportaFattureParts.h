// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of "Importa fatture elettroniche" that are data or plain text
// work: the list's rows and columns (every instalment, every file or body
// skipped), the company's identifiers as typed, and the summaries.
#include <QSet>
#include <QString>
#include <QStringList>
#include <vector>

#include "core/invoiceimport.h"
#include "gui/gridwindow.h"

namespace fondaro::invoiceParts {

// One line of the list: an instalment (new or already present), or a body or
// a whole file skipped with its reason.
struct InvoiceRow {
  int file = -1;         // index into InvoicePlan::files
  int body = -1;         // index into the file's bodies; -1 for a whole file
  int instalment = 0;    // PlannedInstalment::id; 0 when none
  bool isNew = false;    // an instalment to add: it carries a tick
  QString fileName, kind, number, date, counterparty, direction, amount, due, state;
};

// The plan and its rows (metadata files are not listed).
struct InvoiceList {
  InvoicePlan plan;
  std::vector<InvoiceRow> rows;
};
InvoiceList listOf(InvoicePlan plan);

using ListModel = gui::GridModelOf<InvoiceList, InvoiceRow>;
ListModel* makeListModel(QObject* parent);
gui::GridLook listLook();
// The ids of the new instalments not ticked.
QSet<int> leftOut(const ListModel& list);
qint64 toImport(const ListModel& list);
QString countsText(const ListModel& list);

// The identifiers typed in the company's field: split at blanks, commas and
// semicolons, normalised (core's normalisedOwnId), each once.
QStringList ownIdsOf(const QString& typed);
// The field's text for the settings' identifiers.
QString ownIdsText(const QStringList& ids);
// The warnings of the program's checks on the identifiers, one a line; empty
// when all pass.
QString ownIdsWarnings(const QStringList& ids);

// The summary of a finished import; `lastYearAdded` gets the last year with
// a movement added, or 0.
QString doneText(const InvoiceImportResult& result, qint64 skipped, qint64 leftOut, int& lastYearAdded);
// The notice after a write that failed: why, and what was written before.
QString writeFailureText(const InvoiceWriteError& e);

}  // namespace fondaro::invoiceParts
