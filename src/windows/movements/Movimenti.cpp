#include "movements/Movimenti.h"

#include "WindowSet.h"
#include "app/Avvio.h"
#include "gui/application.h"

namespace fondaro {

TfrmMovimenti::TfrmMovimenti(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMovimenti"_qs);
  setWindowTitle(u" Fondaro 3.0 - Registro movimenti"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

void TfrmMovimenti::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
