// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The export of the address book to the spreadsheet file "Anagrafica.xls" in
// the program folder. The grid shows every card of "Clienti.pro"; nine of its
// columns can be edited there, and the export writes the grid as it is, so an
// edit reaches the file only.
#include "ExportWindow.h"

namespace fondaro {

class TfrmExpClienti : public ExportWindow {
  Q_OBJECT

 public:
  explicit TfrmExpClienti(QWidget* owner = nullptr);
};

}  // namespace fondaro
