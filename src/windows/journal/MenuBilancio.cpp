#include "journal/MenuBilancio.h"

#include "WindowSet.h"
#include "app/Avvio.h"
#include "gui/application.h"

namespace fondaro {

TfrmMenuBilancio::TfrmMenuBilancio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuBilancio"_qs);
  setWindowTitle(u" Fondaro 3.0 - Primanota e Bilancio"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

void TfrmMenuBilancio::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
