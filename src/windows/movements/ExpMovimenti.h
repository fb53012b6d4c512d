#pragma once
// The export of a year's movements to a spreadsheet file.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmExpMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmExpMovimenti(QWidget* owner = nullptr);

 public slots:
  void cmdEsciClick();
};

}  // namespace fondaro
