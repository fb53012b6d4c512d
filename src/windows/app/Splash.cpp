#include "app/Splash.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "app/Vendor.h"
#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/widgets.h"

namespace fondaro {

TfrmSplash::TfrmSplash(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmSplash"_qs);
  setWindowTitle(u" "_qs + gui::kProductName.toString() + vendor::kNotice.toString());

  auto* imgSplash = gui::makePicture(u"imgSplash"_qs, gui::art(u"splash"_qs),
                                     u"Fondaro 3.0, Fondaro Software"_qs, this);
  imgSplash->setFixedSize(625, 380);
  imgWeb = new gui::PictureButton(u"imgWeb"_qs, gui::art(u"ico_web"_qs),
                                  u"Sito web "_qs + vendor::kWebSiteShown.toString(), this);
  lnkWeb = new gui::Link(u"lnkWeb"_qs, vendor::kWebSiteShown.toString(), this);
  QFont linkFont = gui::windowFont("Tahoma", 14);
  linkFont.setUnderline(true);
  lnkWeb->setFont(linkFont);
  lnkWeb->addPartner(imgWeb);
  btnChiudi = new QPushButton(u"Chiudi"_qs, this);
  btnChiudi->setObjectName(u"btnChiudi"_qs);
  btnChiudi->setMinimumWidth(110);

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
