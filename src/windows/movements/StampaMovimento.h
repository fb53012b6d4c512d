#pragma once
// The printing of the movement card on screen.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmStampaMovimento : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStampaMovimento(QWidget* owner = nullptr);
};

}  // namespace fondaro
