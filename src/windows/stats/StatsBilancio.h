#pragma once
// The annual balance chart of a year.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmStatsBilancio : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStatsBilancio(QWidget* owner = nullptr);
};

}  // namespace fondaro
