// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the four check windows share: a title, one field, "Controlla" and
// "Chiudi". Each window is one kind of check: its caption, title, field name
// and typing rules are a line of this module's table; the check and the
// notice it shows come from the core, which the command-line tool shares.
#include "core/checks.h"
#include "gui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

class CheckWindow : public gui::Form {
  Q_OBJECT

 public:
  CheckWindow(QWidget* owner, checks::Kind kind);

  checks::Kind checkKind() const { return kind_; }
  // The text to check, put in by the window that opens this one; the typing
  // limit does not cut it.
  void setInput(const QString& text);

 public slots:
  void btnControllaClick();
  void btnChiudiClick();

 protected:
  void FormShow() override;

 private:
  checks::Kind kind_;
  QLabel* lblTitolo;
  QLineEdit* txtField;  // txtCodFisc, txtPartitaIva, txtNumero or txtIban
  QPushButton* btnControlla;
  QPushButton* btnChiudi;
};

}  // namespace fondaro
