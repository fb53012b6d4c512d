#pragma once
// The monthly expense chart of a year.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmStatsUscite : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStatsUscite(QWidget* owner = nullptr);
};

}  // namespace fondaro
