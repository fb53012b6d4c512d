// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The due and overdue payments of one year's archive: the unpaid movements
// whose notice period has begun, listed when the window is shown; a double
// click picks one for the editor and closes the window.
#include "core/records.h"
#include "gui/listwindow.h"
#include "gui/storedrecord.h"

namespace fondaro {

class TfrmSospesiMov : public gui::ListWindow {
  Q_OBJECT

 public:
  // `archivePath`: the archive listed.
  explicit TfrmSospesiMov(QWidget* owner = nullptr, const QString& archivePath = QString());

  // The movement picked; nothing when the window was closed without a pick.
  const std::optional<gui::StoredRecord<TMovimento>>& picked() const { return picked_; }

 public slots:
  void lstRecordsDblClick();

 protected:
  void FormShow() override;
  void FormClose() override;
  void lineChosen(int row) override;

 private:
  void buildList();

  QString archivePath_;
  std::optional<gui::StoredRecord<TMovimento>> picked_;
};

}  // namespace fondaro
