// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The monthly income chart of a year: twelve points, one a month.
#include "stats/StatsWindow.h"

namespace fondaro {

class TfrmStatsEntrate : public StatsWindow {
  Q_OBJECT

 public:
  explicit TfrmStatsEntrate(QWidget* owner = nullptr);
};

}  // namespace fondaro
