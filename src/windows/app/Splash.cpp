// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Splash.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/Texts.h"
#include "app/Vendor.h"
#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/widgets.h"

namespace fondaro {

namespace texts = appTexts;

TfrmSplash::TfrmSplash(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmSplash"_qs);
  setWindowTitle(u" "_qs + gui::kProductName.toString() + vendor::kNotice.toString());

  auto* imgSplash =
      gui::makePicture(u"imgSplash"_qs, gui::art(u"splash"_qs), texts::kSplashName.toString(), this);
  imgSplash->setFixedSize(625, 380);
  imgWeb = new gui::PictureButton(u"imgWeb"_qs, gui::art(u"ico_web"_qs),
                                  texts::kSiteName.toString() + vendor::kWebSiteShown.toString(), this);
  lnkWeb = new gui::Link(u"lnkWeb"_qs, vendor::kWebSiteShown.toString(), this);
  QFont linkFont = gui::windowFont("Tahoma", 14);
  linkFont.setUnderline(true);
  lnkWeb->setFont(linkFont);
  lnkWeb->addPartner(imgWeb);
  btnChiudi = gui::layoutButton(this, "btnChiudi", texts::kChiudi, 110);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 12);
  grid->setVerticalSpacing(12);
  grid->addWidget(imgSplash, 0, 0, 1, 2);
  auto* link = new QHBoxLayout;
  link->setContentsMargins(16, 0, 0, 0);
  link->setSpacing(8);
  link->addWidget(imgWeb);
  link->addWidget(lnkWeb);
  link->addStretch();
  grid->addLayout(link, 1, 0);
  auto* right = new QHBoxLayout;
  right->setContentsMargins(0, 0, 16, 0);
  right->addStretch();
  right->addWidget(btnChiudi);
  grid->addLayout(right, 1, 1);

  setTabOrder(lnkWeb, imgWeb);
  setTabOrder(imgWeb, btnChiudi);
  connect(lnkWeb, &gui::Link::clicked, this, &TfrmSplash::lnkWebClick);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmSplash::btnChiudiClick);
}

void TfrmSplash::lnkWebClick() { gui::TMisc::Open(vendor::kWebSite.toString()); }

void TfrmSplash::btnChiudiClick() { close(); }

}  // namespace fondaro
