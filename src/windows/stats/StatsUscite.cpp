// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/StatsUscite.h"

#include "stats/Texts.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {StatsWindow::Figures::MonthlyExpense, "frmStatsUscite",
                                   statsTexts::kExpense, "stats_uscite"};
}  // namespace

TfrmStatsUscite::TfrmStatsUscite(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
