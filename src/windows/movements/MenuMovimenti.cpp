#include "movements/MenuMovimenti.h"

#include "WindowSet.h"
#include "app/Avvio.h"
#include "gui/application.h"
#include "movements/Movimenti.h"

namespace fondaro {

TfrmMenuMovimenti::TfrmMenuMovimenti(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuMovimenti"_qs);
  setWindowTitle(u" Fondaro 3.0 - Registro Movimenti"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this, u"avvio"_qs);
  setGradientBackground(true);
}

void TfrmMenuMovimenti::FormShow() { gui::setMemoryMode(this, gui::mode::Avvio); }

// "Apri" leaves "movimenti" in lblMemory and closes the window: the editor comes
// next. Any other way of closing returns to the launcher.
void TfrmMenuMovimenti::FormClose() {
  const QString mode = gui::memoryMode(this);
  if (mode == gui::mode::Movimenti) windowSet().frmMovimenti->present();
  else if (mode == gui::mode::Avvio) windowSet().frmAvvio->present();
}

}  // namespace fondaro
