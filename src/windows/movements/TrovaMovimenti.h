// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The movement search of one year's archive: ten filters, then the sorted list
// of the matching movements; a double click picks one for the editor and
// closes the window.
#include "core/records.h"
#include "gui/searchwindow.h"
#include "gui/storedrecord.h"

namespace fondaro {

class TfrmTrovaMovimenti : public gui::SearchWindow {
  Q_OBJECT

 public:
  // `archivePath`: the archive searched.
  explicit TfrmTrovaMovimenti(QWidget* owner = nullptr, const QString& archivePath = QString());

  // The movement picked; nothing when the window was closed without a pick.
  const std::optional<gui::StoredRecord<TMovimento>>& picked() const { return picked_; }

 protected:
  ListEntries search(const FilterSet& filters) override;
  void pick(const QString& line) override;

 private:
  QString archivePath_;
  std::optional<gui::StoredRecord<TMovimento>> picked_;
};

}  // namespace fondaro
