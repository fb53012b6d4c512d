// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The IBAN check: the check digits of a 27-character IBAN (remainder 1 modulo 97).
#include "validators/CheckWindow.h"

namespace fondaro {

class TfrmIban : public CheckWindow {
  Q_OBJECT

 public:
  explicit TfrmIban(QWidget* owner = nullptr);
};

}  // namespace fondaro
