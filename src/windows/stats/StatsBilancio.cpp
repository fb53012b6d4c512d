#include "stats/StatsBilancio.h"

#include "gui/application.h"

namespace fondaro {

TfrmStatsBilancio::TfrmStatsBilancio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmStatsBilancio"_qs);
  setWindowTitle(u" Fondaro 3.0 - Statistiche bilancio annuale"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

}  // namespace fondaro
