#include "stats/StatsBilancio.h"

#include "stats/Texts.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {StatsWindow::Figures::Annual, "frmStatsBilancio", statsTexts::kBalance,
                                   "tile_stats"};
}  // namespace

TfrmStatsBilancio::TfrmStatsBilancio(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
