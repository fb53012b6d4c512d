// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The annual balance chart: total income against total expense of an archive.
#include "stats/StatsWindow.h"

namespace fondaro {

class TfrmStatsBilancio : public StatsWindow {
  Q_OBJECT

 public:
  explicit TfrmStatsBilancio(QWidget* owner = nullptr);
};

}  // namespace fondaro
