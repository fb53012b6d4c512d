#pragma once
// The payer and beneficiary editor, a navigation window; closing it brings the launcher back.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmClienti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmClienti(QWidget* owner = nullptr);

 protected:
  void FormClose() override;
};

}  // namespace fondaro
