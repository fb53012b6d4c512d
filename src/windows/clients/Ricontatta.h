// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The call-back list of the address book: every card whose "Da ricontattare"
// box is ticked, one line each with its pending questions last, built each
// time the window is shown. A double click picks the card for the editor and
// closes the window.
#include "core/records.h"
#include "gui/listwindow.h"
#include "gui/storedrecord.h"

namespace fondaro {

class TfrmRicontatta : public gui::ListWindow {
  Q_OBJECT

 public:
  explicit TfrmRicontatta(QWidget* owner = nullptr);

  // The card picked, whatever its flag now; nothing when the window was
  // closed without a pick.
  const std::optional<gui::StoredRecord<TCliente>>& picked() const { return picked_; }

 public slots:
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;

 private:
  std::optional<gui::StoredRecord<TCliente>> picked_;
};

}  // namespace fondaro
