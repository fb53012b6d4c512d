#pragma once
// The printing of the movement card on screen: the editor's card as it is at
// that moment, saved or not, on one A4 sheet. One print per opening.
#include "gui/form.h"

namespace fondaro {

class TfrmStampaMovimento : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmStampaMovimento(QWidget* owner = nullptr);

 public slots:
  void btnStampaClick();
  void btnAnnullaClick();
};

}  // namespace fondaro
