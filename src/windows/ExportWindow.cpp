#include "ExportWindow.h"

#include <QLabel>
#include <QTableView>

#include "app/Guida.h"
#include "core/archive.h"
#include "core/notice.h"
#include "core/recordexport.h"
#include "gui/application.h"
#include "gui/exportgrid.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"

namespace fondaro {

namespace {

constexpr QStringView kAskExport =
    u"L'esportazione dei dati in Excel pu\u00F2 richiedere diversi minuti a seconda del numero di schede "
    u"presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?";
constexpr QStringView kAskOpen =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?";
// The line breaks are written line feed first, as the program always wrote them.
constexpr QStringView kExportFailed =
    u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
    u"Accertarsi che il file di Excel non sia gi\u00E0 aperto.";

}  // namespace

ExportWindow::ExportWindow(QWidget* owner, ExportSetup setup) : Form(owner, Kind::Dialog), setup_(std::move(setup)) {
  setFixedSize(862, 560);
  setGradientBackground(true);

  model = new gui::ExportGridModel(setup_.columns, this);
  grdRecords = gui::makeExportGrid(this, model);
  grdRecords->setGeometry(12, 12, 838, 446);

  const QPixmap sheet =
      gui::art(u"tb_esporta"_qs).scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  cmdEsporta = new gui::PictureButton(u"cmdEsporta"_qs, sheet, u"Esporta in Microsoft Excel"_qs, this);
  cmdEsporta->setGeometry(12, 466, 52, 52);
  auto* lblEsporta = new QLabel(u"Esporta archivio"_qs, this);
  lblEsporta->setObjectName(u"lblEsporta"_qs);
  lblEsporta->setFont(gui::windowFont("Verdana", 10, true));
  lblEsporta->setGeometry(70, 466, 200, 52);
  cmdGuida = new gui::PictureButton(u"cmdGuida"_qs, gui::art(u"ico_guida"_qs), u"Guida"_qs, this);
  cmdGuida->setGeometry(740, 466, 52, 52);
  cmdEsci = new gui::PictureButton(u"cmdEsci"_qs, gui::art(u"ico_esci"_qs), u"Esci"_qs, this);
  cmdEsci->setGeometry(798, 466, 52, 52);

  panInfo = gui::makeInfoBar(this, u"Esportazione archivio in Microsoft Excel."_qs);
  panInfo->parentWidget()->setGeometry(0, 528, 862, 32);
  gui::setHoverSentences(panInfo, this,
                         {{"cmdEsporta", "Esporta l'archivio in formato Microsoft Excel."},
                          {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
                          {"cmdEsci", "Esci da questo ambiente di lavoro."}});
  gui::setHoverBackgrounds(panInfo, {this, grdRecords, grdRecords->viewport(), panInfo->parentWidget()});

  setTabOrder(grdRecords, cmdEsporta);
  setTabOrder(cmdEsporta, cmdGuida);
  setTabOrder(cmdGuida, cmdEsci);
  connect(cmdEsporta, &QToolButton::clicked, this, &ExportWindow::cmdEsportaClick);
  connect(cmdGuida, &QToolButton::clicked, this, &ExportWindow::cmdGuidaClick);
  connect(cmdEsci, &QToolButton::clicked, this, &ExportWindow::cmdEsciClick);
}

ExportWindow::~ExportWindow() = default;

// The grid shows the archive's records, or its designed empty rows when there
// are none. A failure while reading is not reported: the rows read stay.
void ExportWindow::FormShow() {
  TextTable rows(int(setup_.columns.size()));
  qint64 records = 0;
  try {
    setup_.readRows(rows, records);
  } catch (const ArchiveError&) {
    completeExportRows(rows, records);  // an archive that did not even open
  }
  model->setRows(std::move(rows), records > 0);
  grdRecords->setFocus();
}

void ExportWindow::cmdEsportaClick() {
  gui::commitGridEdit(grdRecords);
  if (!gui::question(this, kAskExport.toString())) return;
  const QString path = gui::programFolder() + setup_.fileName;
  try {
    writeFileReplacing(path, setup_.document(model->rows()));
  } catch (const ExportWriteError& e) {
    gui::message(this, kExportFailed.toString() + kParagraphBreak + e.failure().italian());
    return;
  }
  if (gui::question(this, kAskOpen.toString())) gui::TMisc::Open(u'"' + path + u'"');
}

void ExportWindow::cmdGuidaClick() { TfrmGuida::Show(this, setup_.guideTitle, gui::guidePage(setup_.guidePage)); }

void ExportWindow::cmdEsciClick() { close(); }

}  // namespace fondaro
