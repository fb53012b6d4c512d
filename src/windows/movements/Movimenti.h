#pragma once
// The movement editor, a navigation window; closing it brings the launcher back.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMovimenti(QWidget* owner = nullptr);

 protected:
  void FormClose() override;
};

}  // namespace fondaro
