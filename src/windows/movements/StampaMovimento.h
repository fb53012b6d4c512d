// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printing of the movement card on screen: the editor's card as it is at
// that moment, saved or not, on one A4 sheet. One print per opening.
#include "core/movementcard.h"
#include "gui/form.h"

namespace fondaro {

class TfrmStampaMovimento : public gui::Form {
  Q_OBJECT

 public:
  // `card`: the editor's card as it stands when the window opens.
  explicit TfrmStampaMovimento(QWidget* owner = nullptr, const MovementCard& card = {});

 public slots:
  void btnStampaClick();
  void btnAnnullaClick();

 private:
  MovementCard card_;
};

}  // namespace fondaro
