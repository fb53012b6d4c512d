// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/PartitaIVA.h"

namespace fondaro {

TfrmPartitaIva::TfrmPartitaIva(QWidget* owner) : CheckWindow(owner, checks::Kind::PartitaIva) {}

}  // namespace fondaro
