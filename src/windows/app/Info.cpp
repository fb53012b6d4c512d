// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Info.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/Texts.h"
#include "app/Vendor.h"
#include "core/filepath.h"
#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"

namespace fondaro {

namespace texts = appTexts;

TfrmInfo::TfrmInfo(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmInfo"_qs);
  setWindowTitle(texts::kInfoCaption.toString() + gui::kProductName.toString());

  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, gui::art(u"logo"_qs), gui::kProductName.toString(), this);
  auto* lblProdotto =
      gui::layoutLabel(this, "lblProdotto", gui::kProductName, gui::windowFont("Arial", 20, true));
  gui::setTextColour(lblProdotto, u"#12356B");
  auto* lblDescrizione =
      gui::layoutLabel(this, "lblDescrizione", texts::kDescription, gui::windowFont("Tahoma", 11));
  auto* lblContatti = gui::layoutLabel(this, "lblContatti", texts::kContacts, gui::windowFont("Tahoma", 11));
  auto* lblLicenza = gui::layoutLabel(this, "lblLicenza", texts::kLicence, gui::windowFont("Tahoma", 9));

  imgEmail = new gui::PictureButton(u"imgEmail"_qs, gui::art(u"ico_email"_qs),
                                    texts::kWriteTo.toString() + vendor::kEmail.toString(), this);
  lnkWeb = new gui::Link(u"lnkWeb"_qs, vendor::kEmail.toString(), this);
  QFont linkFont = gui::windowFont("Tahoma", 14);
  linkFont.setUnderline(true);
  lnkWeb->setFont(linkFont);
  lnkWeb->addPartner(imgEmail);

  auto* lblCartella = gui::layoutLabel(this, "lblCartella",
                                       texts::kDataFolder.toString() + displayPath(gui::programFolderPath()),
                                       gui::windowFont("Tahoma", 9));
  lblCartella->setWordWrap(true);
  lblCartella->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblCartella->setAccessibleName(texts::kDataFolder.trimmed().chopped(1).toString());

  btnChiudi = gui::layoutButton(this, "btnChiudi", texts::kChiudi, 110);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(24, 24, 24, 18);
  grid->setHorizontalSpacing(24);
  grid->setVerticalSpacing(8);
  grid->addWidget(imgLogo, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(lblProdotto, 0, 1);
  grid->addWidget(lblDescrizione, 1, 1);
  grid->addWidget(lblContatti, 2, 1, Qt::AlignBottom);
  auto* link = new QHBoxLayout;
  link->setSpacing(8);
  link->addWidget(imgEmail);
  link->addWidget(lnkWeb);
  link->addStretch();
  grid->addLayout(link, 3, 1);
  grid->setRowMinimumHeight(4, 10);
  grid->addWidget(lblLicenza, 5, 0, 1, 2);
  grid->addWidget(lblCartella, 6, 0, 1, 2);
  grid->addWidget(btnChiudi, 7, 0, 1, 2, Qt::AlignRight);

  setTabOrder(lnkWeb, imgEmail);
  setTabOrder(imgEmail, btnChiudi);
  connect(lnkWeb, &gui::Link::clicked, this, &TfrmInfo::lnkWebClick);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
}

QString TfrmInfo::mailText() {
  return u"mailto:"_qs + vendor::kEmail.toString() + u"?subject="_qs + texts::kMailSubject.toString() +
         u"&body="_qs + texts::kMailBody.toString();
}

void TfrmInfo::lnkWebClick() { gui::TMisc::Open(u"\""_qs + mailText() + u"\""_qs); }

void TfrmInfo::btnChiudiClick() { close(); }

}  // namespace fondaro
