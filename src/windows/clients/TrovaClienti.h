// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address-book search: ten filters, then the sorted list of the matching
// cards. A double click picks a card and closes the window; the window that
// opened it takes the card: the card editor shows it, the movement editor's
// import buttons copy the person's name and contacts into the payer or the
// beneficiary of the movement card.
#include "core/records.h"
#include "gui/searchwindow.h"
#include "gui/storedrecord.h"

namespace fondaro {

class TfrmTrovaClienti : public gui::SearchWindow {
  Q_OBJECT

 public:
  explicit TfrmTrovaClienti(QWidget* owner = nullptr);

  // The card picked; nothing when the window was closed without a pick.
  const std::optional<gui::StoredRecord<TCliente>>& picked() const { return picked_; }

 protected:
  ListEntries search(const FilterSet& filters) override;
  void pick(const QString& line) override;

 private:
  std::optional<gui::StoredRecord<TCliente>> picked_;
};

}  // namespace fondaro
