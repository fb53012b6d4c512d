#pragma once
// The call-back list of the address book: every card whose "Da ricontattare"
// box is ticked, one line each with its pending questions last, built each
// time the window is shown. A double click opens the card in the editor.
#include "gui/listwindow.h"

namespace fondaro {

class TfrmRicontatta : public gui::ListWindow {
  Q_OBJECT

 public:
  explicit TfrmRicontatta(QWidget* owner = nullptr);

 public slots:
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;
};

}  // namespace fondaro
