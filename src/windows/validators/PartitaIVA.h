#pragma once
// The VAT number check, which also names the office that issued the number.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmPartitaIva : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmPartitaIva(QWidget* owner = nullptr);
};

}  // namespace fondaro
