#pragma once
// The printing of the movement card on screen.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmStampaMovimento : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStampaMovimento(QWidget* owner = nullptr);

 public slots:
  void btnAnnullaClick();
};

}  // namespace fondaro
