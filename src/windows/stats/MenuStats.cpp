#include "stats/MenuStats.h"

#include "WindowSet.h"
#include "app/Avvio.h"
#include "gui/application.h"

namespace fondaro {

TfrmMenuStats::TfrmMenuStats(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuStats"_qs);
  setWindowTitle(u" Fondaro 3.0 - Grafici Statistici"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

void TfrmMenuStats::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
