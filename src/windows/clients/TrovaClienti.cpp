#include "clients/TrovaClienti.h"

#include "gui/application.h"

namespace fondaro {

TfrmTrovaClienti::TfrmTrovaClienti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmTrovaClienti"_qs);
  setWindowTitle(u" Trova pagatori e beneficiari in archivio"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this);
  setFixedSize(862, 560);
}

}  // namespace fondaro
