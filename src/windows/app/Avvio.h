// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The launcher, home of the program after login: four tiles open the four work
// areas; small icons open the general guide, the information and credits
// windows and the vendor web site; one icon ends the program. A small icon
// beside the credits, beyond the described ones, opens the safety copies.
#include "gui/form.h"

namespace fondaro {

class TfrmAvvio : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmAvvio(QWidget* owner = nullptr);

 public slots:
  void imgApp01Click();  // payers and beneficiaries
  void imgApp02Click();  // movements register
  void imgApp03Click();  // journal and balance
  void imgApp04Click();  // statistics
  void imgGuidaClick();
  void imgInfoClick();
  void imgCopyrightClick();
  void imgCopieClick();
  void icoSitoClick();
  void imgEsciClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  QWidget* imgApp01 = nullptr;
};

}  // namespace fondaro
