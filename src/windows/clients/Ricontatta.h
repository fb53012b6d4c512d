#pragma once
// The call-back list of the address book.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmRicontatta : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmRicontatta(QWidget* owner = nullptr);

 public slots:
  void btnChiudiClick();
};

}  // namespace fondaro
