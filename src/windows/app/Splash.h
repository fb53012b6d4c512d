// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The credits window: the vendor's picture and a link to the vendor web site.
#include "gui/form.h"

class QPushButton;

namespace fondaro {

namespace gui {
class Link;
class PictureButton;
}  // namespace gui

class TfrmSplash : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmSplash(QWidget* owner = nullptr);

 public slots:
  void lnkWebClick();
  void btnChiudiClick();

 private:
  gui::Link* lnkWeb;
  gui::PictureButton* imgWeb;
  QPushButton* btnChiudi;
};

}  // namespace fondaro
