// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/CodFisc.h"

namespace fondaro {

TfrmCodFisc::TfrmCodFisc(QWidget* owner) : CheckWindow(owner, checks::Kind::CodFisc) {}

}  // namespace fondaro
