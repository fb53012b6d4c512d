#pragma once
// The list of due and overdue payments of the open year.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmSospesiMov : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmSospesiMov(QWidget* owner = nullptr);

 public slots:
  void btnChiudiClick();
};

}  // namespace fondaro
