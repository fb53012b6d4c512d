// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CambiaPassword.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "app/Password.h"
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

QLineEdit* passwordField(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setEchoMode(QLineEdit::Password);
  e->setFont(gui::windowFont("Verdana", 12, true));
  e->setMinimumWidth(260);
  return e;
}

}  // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmCambiaPassword"_qs);
  setWindowTitle(texts::kChangeCaption.toString());

  auto* imgLogo =
      gui::makePicture(u"imgLogo"_qs, gui::art(u"logo_small"_qs), gui::kProductName.toString(), this);
  const QFont text10 = gui::windowFont("Verdana", 10);
  auto* lblRigo01 = gui::layoutLabel(this, "lblRigo01", texts::kChangeIntro, text10);
  auto* lblRigo05 = gui::layoutLabel(this, "lblRigo05", texts::kOldPassword, text10);
  auto* lblRigo06 = gui::layoutLabel(this, "lblRigo06", texts::kNewPassword, text10);
  auto* lblRigo07 = gui::layoutLabel(this, "lblRigo07", texts::kConfirmPassword, text10);
  txtPasswordOld = passwordField("txtPasswordOld", this);
  txtPasswordNew = passwordField("txtPasswordNew", this);
  txtConferma = passwordField("txtConferma", this);
  lblRigo05->setBuddy(txtPasswordOld);
  lblRigo06->setBuddy(txtPasswordNew);
  lblRigo07->setBuddy(txtConferma);

  cmdOK = gui::layoutButton(this, "cmdOK", texts::kOK, 96);
  cmdOK->setEnabled(false);
  cmdEsci = gui::layoutButton(this, "cmdEsci", texts::kChiudi, 96);

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(20, 20, 20, 16);
  grid->setHorizontalSpacing(16);
  grid->setVerticalSpacing(12);
  grid->addWidget(imgLogo, 0, 0, 4, 1, Qt::AlignTop);
  grid->addWidget(lblRigo01, 0, 1, 1, 2);
  grid->addWidget(lblRigo05, 1, 1);
  grid->addWidget(txtPasswordOld, 1, 2);
  grid->addWidget(lblRigo06, 2, 1);
  grid->addWidget(txtPasswordNew, 2, 2);
  grid->addWidget(lblRigo07, 3, 1);
  grid->addWidget(txtConferma, 3, 2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdEsci);
  grid->addLayout(buttons, 4, 0, 1, 3);
  setTabOrder(txtPasswordOld, txtPasswordNew);
  setTabOrder(txtPasswordNew, txtConferma);
  setTabOrder(txtConferma, cmdOK);
  setTabOrder(cmdOK, cmdEsci);

  // Enter moves round the three fields; it never presses OK here.
  gui::setFields(this, {
                           {.name = "txtPasswordOld", .enterTo = "txtPasswordNew", .frame = true},
                           {.name = "txtPasswordNew", .enterTo = "txtConferma", .frame = true},
                           {.name = "txtConferma", .enterTo = "txtPasswordOld", .frame = true},
                       });
  for (QLineEdit* e : {txtPasswordOld, txtPasswordNew, txtConferma}) {
    connect(e, &QLineEdit::textChanged, this, &TfrmCambiaPassword::txtChange);
    gui::onKeyUp(e, [this](QKeyEvent*) { txtChange(); });
  }
  gui::connectClickSlots(this);
}

void TfrmCambiaPassword::FormShow() {
  txtPasswordOld->clear();
  txtPasswordNew->clear();
  txtConferma->clear();
  txtPasswordOld->setFocus();
}

void TfrmCambiaPassword::txtChange() {
  cmdOK->setEnabled(!trimmedText(txtPasswordOld->text()).isEmpty() &&
                    !trimmedText(txtPasswordNew->text()).isEmpty() &&
                    !trimmedText(txtConferma->text()).isEmpty());
}

void TfrmCambiaPassword::refuseNew(const QString& why) {
  gui::message(this, why);
  txtPasswordNew->clear();
  txtConferma->clear();
  txtPasswordNew->setFocus();
}

void TfrmCambiaPassword::cmdOKClick() {
  const QByteArray folder = gui::programFolderPath();
  try {
    if (!passwordMatches(readStoredPassword(folder), txtPasswordOld->text())) {
      gui::message(this, texts::kOldWrong.toString());
      txtPasswordOld->clear();
      txtPasswordOld->setFocus();
      return;
    }
  } catch (const CryptError&) {
    gui::message(this, texts::kChangeError.toString());
    return;
  } catch (const PasswordFileError&) {
    gui::message(this, texts::kChangeError.toString());
    return;
  }
  // Compared as typed, with case: only the stored form is upper-cased.
  if (trimmedText(txtPasswordNew->text()) != trimmedText(txtConferma->text())) {
    refuseNew(texts::kNotConfirmed.toString());
    return;
  }
  // A password that could never match again is not written.
  switch (passwordProblem(txtPasswordNew->text())) {
    case PasswordProblem::TooLong:
      return refuseNew(texts::kTooLong.toString());
    case PasswordProblem::Unstorable:
      return refuseNew(texts::kUnstorable.toString());
    case PasswordProblem::None: break;
  }
  try {
    writeStoredPassword(folder, trimmedText(Crypt::Scramble(typedPassword(txtPasswordNew->text()))));
  } catch (const PasswordFileError&) {
    gui::message(this, texts::kChangeError.toString());
    return;
  }
  gui::message(this, texts::kChangeDone.toString());
  close();
}

void TfrmCambiaPassword::cmdEsciClick() { close(); }

// However the window closes, the login window comes back, its field empty.
void TfrmCambiaPassword::FormClose() { windowSet().frmPassword->showAgain(); }

}  // namespace fondaro
