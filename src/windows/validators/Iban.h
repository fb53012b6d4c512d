#pragma once
// The IBAN check.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmIban : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmIban(QWidget* owner = nullptr);
};

}  // namespace fondaro
