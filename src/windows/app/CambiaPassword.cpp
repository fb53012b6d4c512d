#include "app/CambiaPassword.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "app/Password.h"
#include "core/crypt.h"
#include "core/field.h"
#include "core/passwordfile.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "gui/product.h"

namespace fondaro {

namespace {
const char kOldWrong[] = "Attenzione: vecchia password errata.";
const char kNotConfirmed[] =
    "Attenzione: la nuova password non \xC3\xA8 stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori.";
const char kTooLong[] =
    "Attenzione: la nuova password non pu\xC3\xB2 superare i 255 caratteri. "
    "E' necessario reinserire entrambi i valori.";
const char kUnstorable[] =
    "Attenzione: la nuova password contiene caratteri che non possono essere memorizzati, "
    "come il simbolo dell'euro. Sono ammessi lettere (anche accentate), cifre, spazi e i "
    "simboli pi\xC3\xB9 comuni. E' necessario reinserire entrambi i valori.";
const char kDone[] = "Modifica della password completata con successo.";
const char kChangeError[] =
    "Attenzione: si \xC3\xA8 verificato un errore durante la procedura di modifica della "
    "password. Si consiglia di reinstallare il software.";

QLineEdit* passwordField(const char* name, QWidget* parent) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setEchoMode(QLineEdit::Password);
  e->setFont(gui::windowFont("Verdana", 12, true));
  e->setMinimumWidth(260);
  return e;
}

QLabel* label(const char* name, const char* text, QWidget* parent) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFont(gui::windowFont("Verdana", 10));
  return l;
}
}  // namespace

TfrmCambiaPassword::TfrmCambiaPassword(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmCambiaPassword"_qs);
  setWindowTitle(u" Cambia password"_qs);
  gui::makeMemoryLabel(this);

  auto* imgLogo =
      gui::makePicture(u"imgLogo"_qs, gui::art(u"logo_small"_qs), gui::kProductName.toString(), this);
  auto* lblRigo01 = label("lblRigo01", "Per cambiare la password indicare quella attuale e la nuova, due volte.", this);
  auto* lblRigo05 = label("lblRigo05", "Vecchia password:", this);
  auto* lblRigo06 = label("lblRigo06", "Nuova password:", this);
  auto* lblRigo07 = label("lblRigo07", "Conferma nuova password:", this);
  txtPasswordOld = passwordField("txtPasswordOld", this);
  txtPasswordNew = passwordField("txtPasswordNew", this);
  txtConferma = passwordField("txtConferma", this);
  lblRigo05->setBuddy(txtPasswordOld);
  lblRigo06->setBuddy(txtPasswordNew);
  lblRigo07->setBuddy(txtConferma);

  cmdOK = new QPushButton(u"OK"_qs, this);
  cmdOK->setObjectName(u"cmdOK"_qs);
  cmdOK->setEnabled(false);
  cmdEsci = new QPushButton(u"Chiudi"_qs, this);
  cmdEsci->setObjectName(u"cmdEsci"_qs);
  for (QPushButton* b : {cmdOK, cmdEsci}) b->setMinimumWidth(96);

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
  connect(cmdOK, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdOKClick);
  connect(cmdEsci, &QPushButton::clicked, this, &TfrmCambiaPassword::cmdEsciClick);
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
      gui::message(this, QString::fromUtf8(kOldWrong));
      txtPasswordOld->clear();
      txtPasswordOld->setFocus();
      return;
    }
  } catch (const CryptError&) {
    gui::message(this, QString::fromUtf8(kChangeError));
    return;
  } catch (const PasswordFileError&) {
    gui::message(this, QString::fromUtf8(kChangeError));
    return;
  }
  // Compared as typed, with case: only the stored form is upper-cased.
  if (trimmedText(txtPasswordNew->text()) != trimmedText(txtConferma->text())) {
    refuseNew(QString::fromUtf8(kNotConfirmed));
    return;
  }
  // A password that could never match again is not written.
  switch (passwordProblem(txtPasswordNew->text())) {
    case PasswordProblem::TooLong: return refuseNew(QString::fromUtf8(kTooLong));
    case PasswordProblem::Unstorable: return refuseNew(QString::fromUtf8(kUnstorable));
    case PasswordProblem::None: break;
  }
  try {
    writeStoredPassword(folder, trimmedText(Crypt::Scramble(typedPassword(txtPasswordNew->text()))));
  } catch (const PasswordFileError&) {
    gui::message(this, QString::fromUtf8(kChangeError));
    return;
  }
  gui::message(this, QString::fromUtf8(kDone));
  close();
}

void TfrmCambiaPassword::cmdEsciClick() { close(); }

// However the window closes, the login window comes back, its field empty.
void TfrmCambiaPassword::FormClose() { windowSet().frmPassword->showAgain(); }

}  // namespace fondaro
