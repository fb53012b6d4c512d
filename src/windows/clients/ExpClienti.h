#pragma once
// The address-book export to a spreadsheet file.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmExpClienti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmExpClienti(QWidget* owner = nullptr);

 public slots:
  void cmdEsciClick();
};

}  // namespace fondaro
