#pragma once
// The movement search of the open year.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmTrovaMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmTrovaMovimenti(QWidget* owner = nullptr);
};

}  // namespace fondaro
