#include "journal/Bilancio.h"

#include "gui/application.h"

namespace fondaro {

TfrmBilancio::TfrmBilancio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmBilancio"_qs);
  setWindowTitle(u" Fondaro 3.0 - Primanota e Bilancio"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

}  // namespace fondaro
