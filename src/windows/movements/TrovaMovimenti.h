#pragma once
// The movement search of the open year.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmTrovaMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmTrovaMovimenti(QWidget* owner = nullptr);

 public slots:
  void btnAnnullaClick();
};

}  // namespace fondaro
