// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/StatsEntrate.h"

#include "stats/Texts.h"

namespace fondaro {

namespace {
const StatsWindow::Sheet kSheet = {StatsWindow::Figures::MonthlyIncome, "frmStatsEntrate",
                                   statsTexts::kIncome, "stats_entrate"};
}  // namespace

TfrmStatsEntrate::TfrmStatsEntrate(QWidget* owner) : StatsWindow(owner, kSheet) {}

}  // namespace fondaro
