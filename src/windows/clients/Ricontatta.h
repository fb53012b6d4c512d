#pragma once
// The call-back list of the address book.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmRicontatta : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmRicontatta(QWidget* owner = nullptr);
};

}  // namespace fondaro
