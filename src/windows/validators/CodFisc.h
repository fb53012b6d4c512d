#pragma once
// The tax code check.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmCodFisc : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCodFisc(QWidget* owner = nullptr);
};

}  // namespace fondaro
