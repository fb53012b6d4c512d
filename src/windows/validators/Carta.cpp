#include "validators/Carta.h"

#include "gui/application.h"

namespace fondaro {

TfrmCarta::TfrmCarta(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmCarta"_qs);
  setWindowTitle(u" Controllo carta di credito"_qs);
  gui::setFormatSettings();
  resize(520, 300);
}

}  // namespace fondaro
