// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/StatsBilancio.h"

#include "stats/Texts.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {StatsWindow::Figures::Annual, "frmStatsBilancio", statsTexts::kBalance,
                                   "stats_bilancio"};
}  // namespace

TfrmStatsBilancio::TfrmStatsBilancio(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
