#include "movements/ExpMovimenti.h"

#include <QLabel>
#include <QTableView>

#include "WindowSet.h"
#include "app/Guida.h"
#include "core/movementexport.h"
#include "gui/application.h"
#include "gui/exportgrid.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "movements/Movimenti.h"

namespace fondaro {

namespace {

const char kAskExport[] =
    "L'esportazione dei dati in Excel pu\xC3\xB2 richiedere diversi minuti a seconda del numero di schede "
    "presenti in archivio.\r\n\r\nSi vuole esportare i dati adesso?";
const char kAskOpen[] =
    "Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?";
const char kExportFailed[] =
    "Attenzione: il sistema non permette di esportare i dati.\n\r\n\r"
    "Accertarsi che il file di Excel non sia gi\xC3\xA0 aperto.";
const char kGuideTitle[] = "Esportazione archivio movimenti in Microsoft Excel.";

}  // namespace

TfrmExpMovimenti::TfrmExpMovimenti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmExpMovimenti"_qs);
  setWindowTitle(u" Esporta archivio movimenti in Microsoft Excel"_qs);
  setFixedSize(862, 560);
  setGradientBackground(true);

  model = new gui::ExportGridModel(movementExportColumns(), this);
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
  connect(cmdEsporta, &QToolButton::clicked, this, &TfrmExpMovimenti::cmdEsportaClick);
  connect(cmdGuida, &QToolButton::clicked, this, &TfrmExpMovimenti::cmdGuidaClick);
  connect(cmdEsci, &QToolButton::clicked, this, &TfrmExpMovimenti::cmdEsciClick);
}

// The grid shows the archive's records, or its designed empty rows when there
// are none. A failure while reading is not reported: the rows read stay.
void TfrmExpMovimenti::FormShow() {
  TextTable rows(int(movementExportColumns().size()));
  qint64 records = 0;
  try {
    MovementArchive archive = MovementArchive::OpenOrCreate(windowSet().frmMovimenti->archiveFile());
    records = archive.Count();
    rows.reserve(records, records * 160);
    appendMovementRows(archive, rows);
    archive.Close();
  } catch (const ArchiveError&) {
  }
  completeExportRows(rows, records);
  model->setRows(std::move(rows), records > 0);
  grdRecords->setFocus();
}

void TfrmExpMovimenti::cmdEsportaClick() {
  gui::commitGridEdit(grdRecords);
  if (!gui::question(this, QString::fromUtf8(kAskExport))) return;
  const QString path = gui::programFolder() + QLatin1String(kMovementExportFile);
  try {
    writeFileReplacing(path, movementExportDocument(model->rows()));
  } catch (const ExportWriteError&) {
    gui::message(this, QString::fromUtf8(kExportFailed));
    return;
  }
  if (gui::question(this, QString::fromUtf8(kAskOpen))) gui::TMisc::Open(u'"' + path + u'"');
}

void TfrmExpMovimenti::cmdGuidaClick() {
  TfrmGuida::Show(this, QString::fromUtf8(kGuideTitle), gui::guidePage(u"esportazione_movimenti"_qs));
}

void TfrmExpMovimenti::cmdEsciClick() { close(); }

}  // namespace fondaro
