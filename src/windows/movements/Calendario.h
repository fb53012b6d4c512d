#pragma once
// The calendar from which a date is taken into the movement editor.
// For now the window exists with its kind and caption; its controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmCalendario : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCalendario(QWidget* owner = nullptr);
};

}  // namespace fondaro
