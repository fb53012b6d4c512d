#pragma once
// The credit card check.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmCarta : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCarta(QWidget* owner = nullptr);
};

}  // namespace fondaro
