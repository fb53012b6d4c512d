#pragma once
// The monthly income chart of a year.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmStatsEntrate : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStatsEntrate(QWidget* owner = nullptr);
};

}  // namespace fondaro
