#include "validators/PartitaIVA.h"

namespace fondaro {

TfrmPartitaIva::TfrmPartitaIva(QWidget* owner) : CheckWindow(owner, checks::Kind::PartitaIva) {}

}  // namespace fondaro
