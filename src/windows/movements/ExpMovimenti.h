// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export of a year's movements to the spreadsheet file "Movimenti.xls" in
// the program folder. The grid shows every movement of the archive the
// movement editor has open; the cells of "Note" and "Saldato" can be edited there, and
// the export writes the grid as it is, so an edit reaches the file only.
#include "ExportWindow.h"

namespace fondaro {

class TfrmExpMovimenti : public ExportWindow {
  Q_OBJECT

 public:
  // `archivePath`: the archive exported.
  explicit TfrmExpMovimenti(QWidget* owner = nullptr, const QString& archivePath = QString());
};

}  // namespace fondaro
