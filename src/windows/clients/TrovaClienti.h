#pragma once
// The address-book search, also used to import a person into a movement.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmTrovaClienti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmTrovaClienti(QWidget* owner = nullptr);

 public slots:
  void btnAnnullaClick();
};

}  // namespace fondaro
