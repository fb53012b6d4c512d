#include "movements/Calendario.h"

#include "gui/application.h"

namespace fondaro {

TfrmCalendario::TfrmCalendario(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmCalendario"_qs);
  setWindowTitle(u" Importazione data"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this);
  resize(253, 294);
}

}  // namespace fondaro
