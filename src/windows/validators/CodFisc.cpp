#include "validators/CodFisc.h"

#include "gui/application.h"

namespace fondaro {

TfrmCodFisc::TfrmCodFisc(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmCodFisc"_qs);
  setWindowTitle(u" Controllo codice fiscale"_qs);
  gui::setFormatSettings();
  resize(520, 300);
}

}  // namespace fondaro
