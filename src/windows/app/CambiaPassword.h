// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The change-password window: the current password, the new one twice.
#include "gui/form.h"

class QLineEdit;
class QPushButton;

namespace fondaro {

class TfrmCambiaPassword : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCambiaPassword(QWidget* owner = nullptr);

 public slots:
  void cmdOKClick();
  void cmdEsciClick();
  void txtChange();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void refuseNew(const QString& why);

  QLineEdit* txtPasswordOld;
  QLineEdit* txtPasswordNew;
  QLineEdit* txtConferma;
  QPushButton* cmdOK;
  QPushButton* cmdEsci;
};

}  // namespace fondaro
