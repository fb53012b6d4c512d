// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Guida.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/Texts.h"
#include "gui/application.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"

namespace fondaro {

namespace texts = appTexts;

TfrmGuida::TfrmGuida(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmGuida"_qs);
  setWindowTitle(texts::kGuideCaption.toString());
  setFixedSize(670, 572);

  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, gui::art(u"logo_small"_qs), gui::kProductName.toString(), this);
  imgLogo->setGeometry(16, 14, 64, 64);

  lblTitolo = gui::placedLabel(this, "lblTitolo", texts::kGuideTopic, gui::windowFont("Arial", 16, true),
                               QRect(96, 14, 558, 64));
  gui::setTextColour(lblTitolo, u"#12356B");
  lblTitolo->setWordWrap(true);

  txtGuida = new QPlainTextEdit(this);
  txtGuida->setObjectName(u"txtGuida"_qs);
  txtGuida->setReadOnly(true);
  txtGuida->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtGuida->setFont(gui::windowFont("Verdana", 12, true));
  txtGuida->setAccessibleName(texts::kGuideTextName.toString());
  txtGuida->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
  txtGuida->setGeometry(16, 90, 638, 410);

  imgPDF = new gui::PictureButton(u"imgPDF"_qs, gui::art(u"ico_pdf"_qs), texts::kGuidePdf.toString(), this);
  imgPDF->setGeometry(16, 516, 40, 40);
  lnkWeb = new gui::Link(u"lnkWeb"_qs, texts::kGuidePdf.toString(), this);
  QFont linkFont = gui::windowFont("Tahoma", 14);
  linkFont.setUnderline(true);
  lnkWeb->setFont(linkFont);
  lnkWeb->setGeometry(62, 518, 380, 36);
  lnkWeb->addPartner(imgPDF);

  btnChiudi = new QPushButton(texts::kChiudi.toString(), this);
  btnChiudi->setObjectName(u"btnChiudi"_qs);
  btnChiudi->setGeometry(534, 520, 120, 32);

  setTabOrder(txtGuida, lnkWeb);
  setTabOrder(lnkWeb, imgPDF);
  setTabOrder(imgPDF, btnChiudi);
  connect(lnkWeb, &gui::Link::clicked, this, &TfrmGuida::lnkWebClick);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmGuida::btnChiudiClick);
}

void TfrmGuida::Show(QWidget* owner, const QString& title, const QString& text) {
  gui::openPerUse<TfrmGuida>(owner, [&](TfrmGuida& g) { g.setPage(title, text); });
}

void TfrmGuida::setPage(const QString& title, const QString& text) {
  lblTitolo->setText(title);
  QString shown = text;
  shown.replace(u"\r\n"_qs, u"\n"_qs);
  txtGuida->setPlainText(shown);
  txtGuida->moveCursor(QTextCursor::Start);
}

void TfrmGuida::lnkWebClick() {
  gui::TMisc::Open(u"\""_qs + gui::programFolder() + u"Guida.pdf\""_qs);
}

void TfrmGuida::btnChiudiClick() { close(); }

}  // namespace fondaro
