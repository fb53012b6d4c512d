// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the windows of the totals by category and of the rendiconto share:
// their printouts to the printer, the preview or a PDF in the program folder,
// their spreadsheet export into the program folder, and the chart window of
// the totals.
#include <QByteArray>
#include <QString>
#include <vector>

#include "core/categories.h"
#include "gui/print.h"

class QWidget;

namespace fondaro {

namespace report {
class Report;
}

// Prints, previews or writes `pdfFile` in the program folder (then offers to
// open it). False when nothing was done.
bool outputReport(QWidget* owner, report::Report& r, gui::PrintTarget target, const QString& pdfFile = {});

// Writes the document to `fileName` in the program folder (replacing the last
// export whole) and offers to open it.
void exportSheet(QWidget* owner, const QByteArray& document, const QString& fileName);

// The chart window: the slices as 3D bars or a 3D pie, printable.
void showCategoryChart(QWidget* owner, const QString& title, const QString& foot,
                       const std::vector<categories::ChartSlice>& slices);

}  // namespace fondaro
