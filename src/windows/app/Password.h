// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The login window, the program's main window: only the right password opens
// the launcher. It can also open the change-password window.
#include "gui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

class TfrmPassword : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmPassword(QWidget* owner = nullptr);

  // Shown again when the change-password window closes: empty field, focused.
  void showAgain();

 public slots:
  void cmdOKClick();
  void cmdEsciClick();
  void btnCambiaPasswordClick();
  void txtPasswordChange();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  QLineEdit* txtPassword;
  QPushButton* cmdOK;
  QPushButton* cmdEsci;
  QPushButton* btnCambiaPassword;
};

}  // namespace fondaro
