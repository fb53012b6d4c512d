// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/MenuMovimenti.h"

#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <utility>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/field.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/guide.h"
#include "gui/messages.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "gui/product.h"
#include "movements/ImportaEstratto.h"
#include "movements/ImportaFatture.h"
#include "movements/TextsFatture.h"
#include "movements/TextsImporta.h"

namespace fondaro {

void showRegisterGuide(QWidget* owner) {
  showGuide(owner, u"Applicazione Registro Movimenti."_qs, gui::guidePage(u"movimenti"_qs));
}

TfrmMenuMovimenti::TfrmMenuMovimenti(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuMovimenti"_qs);
  setWindowTitle(gui::windowCaption(u"Registro Movimenti"));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(760, 560);
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c);

  const QPixmap tile = gui::art(u"tile_movimenti"_qs);
  QLabel* imgTitolo = gui::makePicture(u"imgTitolo"_qs, tile, u"Registro movimenti"_qs, c);
  const QSize t = gui::shownSize(tile);
  imgTitolo->setGeometry((760 - t.width()) / 2, 34, t.width(), t.height());

  QLabel* lblInfo = gui::placedLabel(
      c, "lblInfo", u"In questo ambiente è possibile registrare i movimenti di denaro in entrata e in uscita.",
      gui::windowFont("Verdana", 10), QRect(60, 222, 640, 40), Qt::AlignCenter);
  lblInfo->setWordWrap(true);
  gui::placedLabel(c, "intAnnoPreventivi", u"Registrazione entrate e uscite:", gui::windowFont("Verdana", 12, true),
                   QRect(60, 290, 640, 28), Qt::AlignCenter);

  QLabel* titAnno = gui::placedLabel(c, "titAnnoPreventivi", u"Anno:", gui::windowFont("Verdana", 20, true),
                                     QRect(190, 340, 120, 48), Qt::AlignRight | Qt::AlignVCenter);
  txtAnnoPreventivi = new QLineEdit(c);
  txtAnnoPreventivi->setObjectName(u"txtAnnoPreventivi"_qs);
  txtAnnoPreventivi->setFont(gui::windowFont("Verdana", 14, true));
  txtAnnoPreventivi->setAlignment(Qt::AlignCenter);
  txtAnnoPreventivi->setGeometry(326, 344, 110, 40);
  titAnno->setBuddy(txtAnnoPreventivi);

  btnApriPreventivi = new QPushButton(u"Apri"_qs, c);
  btnApriPreventivi->setObjectName(u"btnApriPreventivi"_qs);
  btnApriPreventivi->setFont(gui::windowFont("Verdana", 12, true));
  btnApriPreventivi->setGeometry(452, 344, 110, 40);

  // A bank statement into the archives: beside the year, below "Apri".
  btnImportaEstratto = new QPushButton(importTexts::kYearWindowButton.toString(), c);
  btnImportaEstratto->setObjectName(u"btnImportaEstratto"_qs);
  btnImportaEstratto->setFont(gui::windowFont("Verdana", 10));
  btnImportaEstratto->setGeometry(260, 406, 240, 34);

  // Electronic invoices, under the bank statement.
  btnImportaFatture = new QPushButton(invoiceTexts::kYearWindowButton.toString(), c);
  btnImportaFatture->setObjectName(u"btnImportaFatture"_qs);
  btnImportaFatture->setFont(gui::windowFont("Verdana", 10));
  btnImportaFatture->setGeometry(260, 448, 240, 34);

  imgGuida = new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs),
                                    u"Guida: applicazione Registro Movimenti"_qs, c);
  imgGuida->setGeometry(694, 14, 52, 52);
  imgEsci = new gui::PictureButton(u"imgEsci"_qs, gui::art(u"ico_esci"_qs),
                                   u"Chiudi il Registro Movimenti"_qs, c);
  imgEsci->setGeometry(694, 494, 52, 52);

  // The year: four digits at most; Enter only reaches "Apri".
  gui::setFields(this, {{.name = "txtAnnoPreventivi", .enterTo = "btnApriPreventivi",
                         .keys = gui::Keys::Digits, .maxLength = 4}});
  setTabOrder(txtAnnoPreventivi, btnApriPreventivi);
  setTabOrder(btnApriPreventivi, btnImportaEstratto);
  setTabOrder(btnImportaEstratto, btnImportaFatture);
  setTabOrder(btnImportaFatture, imgGuida);
  setTabOrder(imgGuida, imgEsci);

  gui::connectClickSlots(this);
}

// Every showing starts from the current year, with no year to open.
void TfrmMenuMovimenti::FormShow() {
  txtAnnoPreventivi->setText(QString::number(QDate::currentDate().year()).rightJustified(4, u'0'));
  yearToOpen_.clear();
  dueListToOpen_ = false;
  txtAnnoPreventivi->setFocus();
}

void TfrmMenuMovimenti::btnApriPreventiviClick() {
  if (!isYearText(txtAnnoPreventivi->text())) {
    gui::show(this, yearTextNeeded());
    txtAnnoPreventivi->setFocus();
    return;
  }
  yearToOpen_ = trimmedText(txtAnnoPreventivi->text());
  close();
}

// After an import the user may ask for the movements of a year: they open as "Apri" opens them.
void TfrmMenuMovimenti::btnImportaEstrattoClick() {
  const QString year = importBankStatement(this);
  if (year.isEmpty()) return;
  txtAnnoPreventivi->setText(year);
  btnApriPreventiviClick();
}

// After an invoice import the user may ask for the movements of a year, and
// its due list: the register opens as "Apri" opens it, the due list over it.
void TfrmMenuMovimenti::btnImportaFattureClick() {
  const TfrmImportaFatture::Outcome asked = importElectronicInvoices(this);
  if (asked.year.isEmpty()) return;
  txtAnnoPreventivi->setText(asked.year);
  dueListToOpen_ = asked.dueList;
  btnApriPreventiviClick();
}

void TfrmMenuMovimenti::imgGuidaClick() { showRegisterGuide(this); }

void TfrmMenuMovimenti::imgEsciClick() { close(); }

// "Apri" leaves the year to open and closes the window: the register comes
// next. Any other way of closing returns to the launcher.
void TfrmMenuMovimenti::FormClose() {
  if (yearToOpen_.isEmpty()) return openLauncher(this);
  QWidget* editor = openRegister(this, yearToOpen_);
  // Once the register is on screen, the recurring movements whose time has come.
  const bool dueList = std::exchange(dueListToOpen_, false);
  QTimer::singleShot(0, editor, [editor, dueList] {
    runRecurringMovements(editor);
    if (dueList) QMetaObject::invokeMethod(editor, "cmdScadenzeClick");
  });
}

}  // namespace fondaro
