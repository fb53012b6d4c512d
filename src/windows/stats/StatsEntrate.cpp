#include "stats/StatsEntrate.h"

#include "stats/Texts.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {StatsWindow::Figures::MonthlyIncome, "frmStatsEntrate",
                                   statsTexts::kIncome, "tile_stats"};
}  // namespace

TfrmStatsEntrate::TfrmStatsEntrate(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
