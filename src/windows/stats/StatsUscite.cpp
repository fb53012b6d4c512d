#include "stats/StatsUscite.h"

#include "gui/application.h"

namespace fondaro {

TfrmStatsUscite::TfrmStatsUscite(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmStatsUscite"_qs);
  setWindowTitle(u" Fondaro 3.0 - Statistiche uscite mensili"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
}

}  // namespace fondaro
