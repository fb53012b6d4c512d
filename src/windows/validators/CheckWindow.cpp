// SPDX-License-Identifier: GPL-3.0-or-later
#include "validators/CheckWindow.h"

#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "validators/Texts.h"

namespace fondaro {

namespace {

namespace texts = validatorTexts;

// A decorative rounded panel: a fill and a one-unit border.
class Shape : public QFrame {
 public:
  Shape(const QString& name, QColor fill, QColor border, int radius, QWidget* parent)
      : QFrame(parent), fill_(fill), border_(border), radius_(radius) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(border_, 1));
    p.setBrush(fill_);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), radius_, radius_);
  }

 private:
  QColor fill_;
  QColor border_;
  int radius_;
};

// What a check window shows and how its one field behaves while typing.
struct WindowForm {
  const char* className;  // "TfrmCodFisc"
  QStringView caption;    // window caption
  QStringView title;      // text of lblTitolo
  const char* fieldName;  // objectName of the field
  int maxLength;          // typing limit; a text put in by the caller is not cut
  bool digitsOnly;        // keys other than digits, Backspace, Delete, Left, Right swallowed
  bool upperTrimmed;      // after each keystroke the field text is trimmed, a-z made A-Z
};

const WindowForm& windowForm(checks::Kind kind) {
  static const WindowForm forms[] = {
      {"TfrmCodFisc", texts::kCodFiscCaption, texts::kCodFiscTitle, "txtCodFisc", checks::kCodFiscLength,
       false, true},
      {"TfrmPartitaIva", texts::kPartitaIvaCaption, texts::kPartitaIvaTitle, "txtPartitaIva",
       checks::kPartitaIvaLength, true, false},
      {"TfrmCarta", texts::kCartaCaption, texts::kCartaTitle, "txtNumero", 30, true, true},
      {"TfrmIban", texts::kIbanCaption, texts::kIbanTitle, "txtIban", checks::kIbanLength, false, true},
  };
  return forms[static_cast<int>(kind)];
}

}  // namespace

CheckWindow::CheckWindow(QWidget* owner, checks::Kind kind) : Form(owner, Kind::Dialog), kind_(kind) {
  const WindowForm& form = windowForm(kind);
  setObjectName(QString::fromLatin1(form.className).mid(1));  // "TfrmCodFisc" -> "frmCodFisc"
  setWindowTitle(form.caption.toString());
  gui::setFormatSettings();
  setGradientBackground(true);

  auto* shpContainer = new Shape(u"shpContainer"_qs, QColor(0xFF, 0xFF, 0xFF, 0xE6),
                                 QColor(0x46, 0x82, 0xB4), 10, this);
  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, gui::art(u"logo_small"_qs),
                                   gui::kProductName.toString(), shpContainer);
  lblTitolo = gui::layoutLabel(shpContainer, "lblTitolo", form.title, gui::windowFont("Arial", 12));

  auto* shpCodFisc = new Shape(u"shpCodFisc"_qs, QColor(0xE8, 0xF0, 0xFA),
                               QColor(0x46, 0x82, 0xB4), 6, shpContainer);
  txtField = new QLineEdit(shpCodFisc);
  txtField->setObjectName(QString::fromLatin1(form.fieldName));
  txtField->setFont(gui::windowFont("Courier New", 20, true));
  // Wide enough to show as many characters as can be typed.
  const QFontMetrics fm(txtField->font());
  txtField->setMinimumWidth(fm.horizontalAdvance(QString(form.maxLength + 1, u'W')) + 16);
  lblTitolo->setBuddy(txtField);

  btnControlla = gui::layoutButton(this, "btnControlla", texts::kControlla, 110);
  btnChiudi = gui::layoutButton(this, "btnChiudi", texts::kChiudi, 110);

  auto* around = new QHBoxLayout(shpCodFisc);
  around->setContentsMargins(10, 10, 10, 10);
  around->addWidget(txtField);

  auto* grid = new QGridLayout(shpContainer);
  grid->setContentsMargins(18, 18, 18, 18);
  grid->setHorizontalSpacing(18);
  grid->setVerticalSpacing(12);
  grid->addWidget(imgLogo, 0, 0, 2, 1, Qt::AlignTop);
  grid->addWidget(lblTitolo, 0, 1);
  grid->addWidget(shpCodFisc, 1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(btnControlla);
  buttons->addWidget(btnChiudi);

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(16, 16, 16, 14);
  page->setSpacing(14);
  page->addWidget(shpContainer);
  page->addLayout(buttons);

  setTabOrder(txtField, btnControlla);
  setTabOrder(btnControlla, btnChiudi);

  gui::setFields(this, {{.name = form.fieldName,
                         .enterTo = "btnControlla",
                         .keys = form.digitsOnly ? gui::Keys::Digits : gui::Keys::Free,
                         .typing = form.upperTrimmed ? gui::Typing::UpperTrim : gui::Typing::AsIs,
                         .maxLength = form.maxLength}});

  gui::connectClickSlots(this);
}

void CheckWindow::setInput(const QString& text) { txtField->setText(text); }

void CheckWindow::FormShow() { txtField->setFocus(); }

void CheckWindow::btnControllaClick() {
  const checks::CheckResult r = checks::check(kind_, txtField->text());
  gui::show(this, {r.kind, r.message});
  if (r.closesWindow) {
    close();
    return;
  }
  txtField->setFocus();
}

void CheckWindow::btnChiudiClick() { close(); }

}  // namespace fondaro
