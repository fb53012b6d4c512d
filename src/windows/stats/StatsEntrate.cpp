#include "stats/StatsEntrate.h"

#include "gui/application.h"

namespace fondaro {

TfrmStatsEntrate::TfrmStatsEntrate(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmStatsEntrate"_qs);
  setWindowTitle(u" Fondaro 3.0 - Statistiche entrate mensili"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

}  // namespace fondaro
