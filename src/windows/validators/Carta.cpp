// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/Carta.h"

namespace fondaro {

TfrmCarta::TfrmCarta(QWidget* owner) : CheckWindow(owner, checks::Kind::Carta) {}

}  // namespace fondaro
