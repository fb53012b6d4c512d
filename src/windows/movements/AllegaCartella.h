#pragma once
// The attachments of the card on screen in one of the two editors.
// For now the window exists with its kind, caption and the button that
// closes it; its other controls come later.
#include "gui/form.h"

namespace fondaro {

class TfrmAllegaCartella : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmAllegaCartella(QWidget* owner = nullptr);

 public slots:
  void btnAnnullaClick();
};

}  // namespace fondaro
