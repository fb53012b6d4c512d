#include "validators/Iban.h"

#include "gui/application.h"

namespace fondaro {

TfrmIban::TfrmIban(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmIban"_qs);
  setWindowTitle(u" Controllo IBAN"_qs);
  gui::setFormatSettings();
  resize(560, 300);
}

}  // namespace fondaro
