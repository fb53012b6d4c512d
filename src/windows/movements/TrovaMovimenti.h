#pragma once
// The movement search of the open year: ten filters, then the sorted list of
// the matching movements; a double click loads one into the editor.
#include "gui/searchwindow.h"

namespace fondaro {

class TfrmTrovaMovimenti : public gui::SearchWindow {
  Q_OBJECT

 public:
  explicit TfrmTrovaMovimenti(QWidget* owner = nullptr);

 protected:
  ListEntries search(const FilterSet& filters) override;
  void pick(const QString& line) override;
};

}  // namespace fondaro
