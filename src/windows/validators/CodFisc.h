// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tax code check: is the 16th character the check character of the first 15?
#include "validators/CheckWindow.h"

namespace fondaro {

class TfrmCodFisc : public CheckWindow {
  Q_OBJECT

 public:
  explicit TfrmCodFisc(QWidget* owner = nullptr);
};

}  // namespace fondaro
