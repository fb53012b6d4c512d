#pragma once
// The movement search of the open year: ten filters, then the sorted list of
// the matching movements; a double click loads one into the editor.
#include "gui/listwindow.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

class TfrmTrovaMovimenti : public gui::ListWindow {
  Q_OBJECT

 public:
  explicit TfrmTrovaMovimenti(QWidget* owner = nullptr);

 public slots:
  void btnCercaClick();
  void btnStampaClick();
  void btnChiudiClick();
  void btnAnnullaClick();
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;

 private:
  void buildFilters();
  void buildResults();

  QWidget* panAvvio;
  QWidget* panContainer;
  QLineEdit* txtData;
  QLabel* lblConta;
  QLabel* lblAttendere;
  QLabel* lblTrovate;
  QPushButton* btnCerca;
};

}  // namespace fondaro
