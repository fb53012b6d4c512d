// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The credit card check: the Luhn check digit, and the circuit of a valid number.
#include "validators/CheckWindow.h"

namespace fondaro {

class TfrmCarta : public CheckWindow {
  Q_OBJECT

 public:
  explicit TfrmCarta(QWidget* owner = nullptr);
};

}  // namespace fondaro
