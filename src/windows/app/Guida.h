// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide window: every help button fills its title and text and shows it.
// It also links to the manual "Guida.pdf" in the program folder.
#include "gui/form.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace fondaro {

namespace gui {
class Link;
class PictureButton;
}  // namespace gui

class TfrmGuida : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmGuida(QWidget* owner = nullptr);

  // What a help button does: a fresh guide window owned by `owner` with this
  // title and text, shown modally, then disposed of.
  static void Show(QWidget* owner, const QString& title, const QString& text);

  // The page: paragraphs separated by an empty line (CR LF CR LF).
  void setPage(const QString& title, const QString& text);

 public slots:
  void lnkWebClick();
  void btnChiudiClick();

 private:
  QLabel* lblTitolo;
  QPlainTextEdit* txtGuida;
  gui::Link* lnkWeb;
  gui::PictureButton* imgPDF;
  QPushButton* btnChiudi;
};

}  // namespace fondaro
