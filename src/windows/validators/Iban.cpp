// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/Iban.h"

namespace fondaro {

TfrmIban::TfrmIban(QWidget* owner) : CheckWindow(owner, checks::Kind::Iban) {}

}  // namespace fondaro
