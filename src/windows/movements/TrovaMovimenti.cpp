#include "movements/TrovaMovimenti.h"

#include "gui/application.h"

namespace fondaro {

TfrmTrovaMovimenti::TfrmTrovaMovimenti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmTrovaMovimenti"_qs);
  setWindowTitle(u" Trova movimenti in archivio"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this);
  setFixedSize(862, 560);
}

}  // namespace fondaro
