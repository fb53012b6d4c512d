#pragma once
// The year selection of the statistics, a navigation window; closing it brings the launcher back.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmMenuStats : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuStats(QWidget* owner = nullptr);

 protected:
  void FormClose() override;
};

}  // namespace fondaro
