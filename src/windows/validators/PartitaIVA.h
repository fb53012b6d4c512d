// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The VAT number check, which also names the office that issued the number.
#include "validators/CheckWindow.h"

namespace fondaro {

class TfrmPartitaIva : public CheckWindow {
  Q_OBJECT

 public:
  explicit TfrmPartitaIva(QWidget* owner = nullptr);
};

}  // namespace fondaro
