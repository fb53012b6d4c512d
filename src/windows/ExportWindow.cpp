// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExportWindow.h"

#include <QLabel>
#include <QTableView>

#include "ExportTexts.h"
#include "WindowSet.h"
#include "core/archive.h"
#include "core/notice.h"
#include "core/recordexport.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/exportgrid.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"

namespace fondaro {

using namespace exportTexts;

ExportWindow::ExportWindow(QWidget* owner, ExportSetup setup) : Form(owner, Kind::Dialog), setup_(std::move(setup)) {
  setFixedSize(862, 560);
  setGradientBackground(setup_.look == ExportSetup::Look::Gradient);

  model = new gui::ExportGridModel(setup_.columns, this);
  grdRecords = gui::makeExportGrid(this, model);
  grdRecords->setGeometry(12, 12, 838, 446);

  const QPixmap sheet = gui::art(u"tb_esporta"_qs, 48);
  cmdEsporta = new gui::PictureButton(u"cmdEsporta"_qs, sheet, kExportName.toString(), this);
  cmdEsporta->setGeometry(12, 466, 52, 52);
  QLabel* lblEsporta = gui::placedLabel(this, "lblEsporta", kExportLabel,
                                        gui::windowFont("Verdana", 10, true), QRect(70, 466, 200, 52));
  cmdGuida = new gui::PictureButton(u"cmdGuida"_qs, gui::art(u"ico_guida"_qs), kGuideName.toString(), this);
  cmdGuida->setGeometry(740, 466, 52, 52);
  cmdEsci = new gui::PictureButton(u"cmdEsci"_qs, gui::art(u"ico_esci"_qs), kExitName.toString(), this);
  cmdEsci->setGeometry(798, 466, 52, 52);

  panInfo = gui::makeInfoBar(this, kReady.toString());
  panInfo->parentWidget()->setGeometry(0, 528, 862, 32);
  gui::setHoverSentences(panInfo, this,
                         {{"cmdEsporta", kExportHover}, {"cmdGuida", kGuideHover}, {"cmdEsci", kExitHover}});
  gui::setHoverBackgrounds(panInfo, {this, grdRecords, grdRecords->viewport(), panInfo->parentWidget()});
  if (setup_.look == ExportSetup::Look::LightGrey) addPictures(lblEsporta);

  setTabOrder(grdRecords, cmdEsporta);
  setTabOrder(cmdEsporta, cmdGuida);
  setTabOrder(cmdGuida, cmdEsci);
  gui::connectClickSlots(this);
}

ExportWindow::~ExportWindow() = default;

// The light grey look: the hand beside the export icon points at it, and the
// logo stands before the guide and exit buttons; both are background to the
// info bar.
void ExportWindow::addPictures(QLabel* lblEsporta) {
  QPalette grey = palette();
  grey.setColor(QPalette::Window, QColor(0xE4, 0xE4, 0xE4));
  setPalette(grey);
  setAutoFillBackground(true);

  auto* imgMano = gui::makePicture(u"imgMano"_qs, gui::art(u"mano"_qs), QString(), this);
  imgMano->setGeometry(QRect(QPoint(70, 468), gui::shownSize(imgMano->pixmap())));
  lblEsporta->move(imgMano->geometry().right() + 8, 466);
  const QPixmap logo = gui::art(u"logo_small"_qs, 48);
  auto* imgLogo = gui::makePicture(u"imgLogo"_qs, logo, gui::kProductName.toString(), this);
  imgLogo->setGeometry(QRect(QPoint(724 - gui::shownSize(logo).width(), 468), gui::shownSize(logo)));
  gui::setHoverBackgrounds(panInfo, {imgMano, imgLogo});
}

// The grid shows the archive's records, or its designed empty rows when there
// are none. A failure while reading is not reported: the rows read stay.
void ExportWindow::FormShow() {
  TextTable rows(int(setup_.columns.size()));
  qint64 records = 0;
  gui::ProgressDialog progress(this, kReadingArchive.toString());
  try {
    setup_.readRows(rows, records, progress.callback());
  } catch (const ArchiveError&) {
    completeExportRows(rows, records);  // an archive that did not even open
  } catch (const Cancelled&) {
    // The user would rather not wait for a big archive: back where they came from.
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    return;
  }
  model->setRows(std::move(rows), records > 0);
  grdRecords->setFocus();
}

void ExportWindow::cmdEsportaClick() {
  gui::commitGridEdit(grdRecords);
  if (!gui::question(this, kAskExport.toString())) return;
  const QString path = gui::programFolder() + setup_.fileName;
  try {
    QByteArray document;
    {
      gui::ProgressDialog progress(this, kExporting.toString());
      document = setup_.document(model->rows(), progress.callback());
    }
    writeFileReplacing(path, document);
  } catch (const ExportWriteError& e) {
    gui::message(this, kExportFailed.toString() + kParagraphBreak + e.failure().italian());
    return;
  } catch (const Cancelled&) {
    return;  // the file of the last export stays as it was
  }
  if (gui::question(this, kAskOpen.toString())) gui::TMisc::Open(u'"' + path + u'"');
}

void ExportWindow::cmdGuidaClick() { showGuide(this, setup_.guideTitle, gui::guidePage(setup_.guidePage)); }

void ExportWindow::cmdEsciClick() { close(); }

}  // namespace fondaro
