#pragma once
// The address-book search: ten filters, then the sorted list of the matching
// cards. A double click picks a card, and what the pick does depends on who
// opened the window (lblMemory): the card editor shows the card; the movement
// editor's import buttons copy the person's name and contacts into the payer
// or the beneficiary of the movement card.
#include "gui/searchwindow.h"

namespace fondaro {

class TfrmTrovaClienti : public gui::SearchWindow {
  Q_OBJECT

 public:
  explicit TfrmTrovaClienti(QWidget* owner = nullptr);

 protected:
  ListEntries search(const FilterSet& filters) override;
  void pick(const QString& line) override;
};

}  // namespace fondaro
