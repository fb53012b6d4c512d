#include "app/Info.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/Vendor.h"
#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/widgets.h"
#include "gui/product.h"

namespace fondaro {

TfrmInfo::TfrmInfo(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmInfo"_qs);
  setWindowTitle(u" Informazioni su "_qs + gui::kProductName.toString());

  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, gui::art(u"logo"_qs), gui::kProductName.toString(), this);
  auto* lblProdotto = new QLabel(gui::kProductName.toString(), this);
  lblProdotto->setObjectName(u"lblProdotto"_qs);
  lblProdotto->setFont(gui::windowFont("Arial", 20, true));
  lblProdotto->setStyleSheet(u"color: #12356B;"_qs);
  auto* lblDescrizione = new QLabel(
      QString::fromUtf8("Contabilit\xC3\xA0 di cassa, primanota e statistiche\n"
                        "per piccole imprese, associazioni e famiglie."),
      this);
  lblDescrizione->setObjectName(u"lblDescrizione"_qs);
  lblDescrizione->setFont(gui::windowFont("Tahoma", 11));
  auto* lblContatti = new QLabel(u"Per informazioni e assistenza scrivere a:"_qs, this);
  lblContatti->setObjectName(u"lblContatti"_qs);
  lblContatti->setFont(gui::windowFont("Tahoma", 11));

  imgEmail = new gui::PictureButton(u"imgEmail"_qs, gui::art(u"ico_email"_qs),
                                    u"Scrivi a "_qs + vendor::kEmail.toString(), this);
  lnkWeb = new gui::Link(u"lnkWeb"_qs, vendor::kEmail.toString(), this);
  QFont linkFont = gui::windowFont("Tahoma", 14);
  linkFont.setUnderline(true);
  lnkWeb->setFont(linkFont);
  lnkWeb->addPartner(imgEmail);

  btnChiudi = new QPushButton(u"Chiudi"_qs, this);
  btnChiudi->setObjectName(u"btnChiudi"_qs);
  btnChiudi->setMinimumWidth(110);

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
  grid->addWidget(btnChiudi, 5, 0, 1, 2, Qt::AlignRight);

  setTabOrder(lnkWeb, imgEmail);
  setTabOrder(imgEmail, btnChiudi);
  connect(lnkWeb, &gui::Link::clicked, this, &TfrmInfo::lnkWebClick);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmInfo::btnChiudiClick);
}

QString TfrmInfo::mailText() {
  return u"mailto:"_qs + vendor::kEmail.toString() + u"?subject="_qs + u"Software Fondaro 3.0"_qs +
         u"&body="_qs +
         u"Salve, desidererei avere le seguenti informazioni sul software in oggetto:"_qs;
}

void TfrmInfo::lnkWebClick() { gui::TMisc::Open(u"\""_qs + mailText() + u"\""_qs); }

void TfrmInfo::btnChiudiClick() { close(); }

}  // namespace fondaro
