// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The year selection of the movements register, a navigation window: the user
// types a calendar year and "Apri" opens the register of that year.
// Closing the window any other way returns to the launcher.
#include "gui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

namespace gui {
class PictureButton;
}

class TfrmMenuMovimenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmMenuMovimenti(QWidget* owner = nullptr);

 public slots:
  void btnApriPreventiviClick();
  void btnImportaEstrattoClick();
  void btnImportaFattureClick();
  void imgGuidaClick();
  void imgEsciClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  QLineEdit* txtAnnoPreventivi;
  QPushButton* btnApriPreventivi;
  QPushButton* btnImportaEstratto;
  QPushButton* btnImportaFatture;
  gui::PictureButton* imgGuida;
  gui::PictureButton* imgEsci;
  // The year "Apri" accepted; empty when the window closes another way.
  QString yearToOpen_;
  // With the year, its due list (after an invoice import).
  bool dueListToOpen_ = false;
};

// The register guide page, shared by the year window and the editor.
void showRegisterGuide(QWidget* owner);

}  // namespace fondaro
