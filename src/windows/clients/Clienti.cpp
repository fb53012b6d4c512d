#include "clients/Clienti.h"

#include "WindowSet.h"
#include "app/Avvio.h"
#include "gui/application.h"

namespace fondaro {

TfrmClienti::TfrmClienti(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmClienti"_qs);
  setWindowTitle(u" Fondaro 3.0 - Pagatori e Beneficiari"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

void TfrmClienti::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
