// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The information window: the product, and a link that writes to the vendor.
#include "gui/form.h"

class QPushButton;

namespace fondaro {

namespace gui {
class Link;
class PictureButton;
}  // namespace gui

class TfrmInfo : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmInfo(QWidget* owner = nullptr);

  // "mailto:" + the vendor address + subject and body, unencoded.
  static QString mailText();

 public slots:
  void lnkWebClick();
  void btnChiudiClick();

 private:
  gui::Link* lnkWeb;
  gui::PictureButton* imgEmail;
  QPushButton* btnChiudi;
};

}  // namespace fondaro
