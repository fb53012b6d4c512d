#pragma once
// The period selection of the journal, a navigation window; closing it brings the launcher back.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmMenuBilancio : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuBilancio(QWidget* owner = nullptr);

 protected:
  void FormClose() override;
};

}  // namespace fondaro
