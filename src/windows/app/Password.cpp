// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Password.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Texts.h"
#include "core/crypt.h"
#include "core/field.h"
#include "core/passwordfile.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"

namespace fondaro {

namespace {
namespace texts = appTexts;
}  // namespace

TfrmPassword::TfrmPassword(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmPassword"_qs);
  setWindowTitle(gui::windowCaption(texts::kLoginCaption));

  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, gui::art(u"logo"_qs), gui::kProductName.toString(), this);
  auto* lblRigo01 =
      gui::layoutLabel(this, "lblRigo01", texts::kWelcome, gui::windowFont("Verdana", 14, true));
  auto* lblRigo05 =
      gui::layoutLabel(this, "lblRigo05", texts::kEnterPassword, gui::windowFont("Verdana", 10));

  txtPassword = new QLineEdit(this);
  txtPassword->setObjectName(u"txtPassword"_qs);
  txtPassword->setEchoMode(QLineEdit::Password);
  txtPassword->setFont(gui::windowFont("Verdana", 14, true));
  txtPassword->setMinimumWidth(300);
  txtPassword->setAccessibleName(texts::kPasswordName.toString());
  lblRigo05->setBuddy(txtPassword);

  cmdOK = gui::layoutButton(this, "cmdOK", texts::kOK, 96);
  cmdOK->setEnabled(false);
  cmdEsci = gui::layoutButton(this, "cmdEsci", texts::kEsci, 96);
  btnCambiaPassword = gui::layoutButton(this, "btnCambiaPassword", texts::kCambiaPassword, 96);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(20, 20, 20, 16);
  grid->setHorizontalSpacing(20);
  grid->setVerticalSpacing(10);
  grid->addWidget(imgLogo, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(lblRigo01, 0, 1);
  grid->addWidget(lblRigo05, 1, 1);
  grid->addWidget(txtPassword, 2, 1);
  grid->setRowMinimumHeight(3, 12);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(btnCambiaPassword);
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdEsci);
  grid->addLayout(buttons, 4, 0, 1, 2);
  setTabOrder(txtPassword, cmdOK);
  setTabOrder(cmdOK, cmdEsci);
  setTabOrder(cmdEsci, btnCambiaPassword);

  gui::setFields(this, {{.name = "txtPassword", .frame = true}});
  gui::onEnter(txtPassword, [this] {
    if (!trimmedText(txtPassword->text()).isEmpty()) cmdOKClick();
  });
  gui::onKeyUp(txtPassword, [this](QKeyEvent*) { txtPasswordChange(); });
  connect(txtPassword, &QLineEdit::textChanged, this, &TfrmPassword::txtPasswordChange);
  gui::connectClickSlots(this);
}

void TfrmPassword::FormShow() { txtPassword->setFocus(); }

// The main window: closing it ends the program.
void TfrmPassword::FormClose() { gui::endApplication(); }

void TfrmPassword::txtPasswordChange() {
  cmdOK->setEnabled(!trimmedText(txtPassword->text()).isEmpty());
}

void TfrmPassword::cmdOKClick() {
  bool matches = false;
  try {
    // Read afresh at every attempt; nothing of the file is remembered.
    matches = passwordMatches(readStoredPassword(gui::programFolderPath()), txtPassword->text());
  } catch (const CryptError&) {
    gui::message(this, texts::kReadError.toString());
    return;
  } catch (const PasswordFileError&) {
    // A file there that cannot be read (a FIFO, a device, a huge file).
    gui::message(this, texts::kReadError.toString());
    return;
  }
  if (matches) {
    enterAfterLogin(this);
    return;
  }
  gui::message(this, texts::kWrongPassword.toString());
  txtPassword->clear();
  txtPassword->setFocus();
}

void TfrmPassword::cmdEsciClick() { close(); }

void TfrmPassword::btnCambiaPasswordClick() { gui::switchTo(this, windowSet().frmCambiaPassword); }

void TfrmPassword::showAgain() {
  txtPassword->clear();
  present();
  txtPassword->setFocus();
}

}  // namespace fondaro
