// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The monthly expense chart of a year: twelve points, one a month.
#include "stats/StatsWindow.h"

namespace fondaro {

class TfrmStatsUscite : public StatsWindow {
  Q_OBJECT

 public:
  explicit TfrmStatsUscite(QWidget* owner = nullptr);
};

}  // namespace fondaro
