#pragma once
// The journal of a period with its totals.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmBilancio : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmBilancio(QWidget* owner = nullptr);
};

}  // namespace fondaro
