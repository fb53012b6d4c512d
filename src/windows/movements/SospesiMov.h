#pragma once
// The due and overdue payments of the open year: the unpaid movements whose
// notice period has begun, listed when the window is shown; a double click
// loads one into the editor.
#include "gui/listwindow.h"

namespace fondaro {

class TfrmSospesiMov : public gui::ListWindow {
  Q_OBJECT

 public:
  explicit TfrmSospesiMov(QWidget* owner = nullptr);

 public slots:
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;

 private:
  void buildList();
};

}  // namespace fondaro
