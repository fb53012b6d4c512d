#pragma once
// The year selection of the movements register, a navigation window.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmMenuMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuMovimenti(QWidget* owner = nullptr);

 protected:
  void FormShow() override;
  void FormClose() override;
};

}  // namespace fondaro
