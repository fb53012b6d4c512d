#include "validators/PartitaIVA.h"

#include "gui/application.h"

namespace fondaro {

TfrmPartitaIva::TfrmPartitaIva(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmPartitaIva"_qs);
  setWindowTitle(u" Controllo partita IVA"_qs);
  gui::setFormatSettings();
  resize(520, 300);
}

}  // namespace fondaro
