#include "movements/SospesiMov.h"

#include <QDate>
#include <QLineEdit>
#include <QTimer>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/lists.h"
#include "gui/application.h"
#include "gui/messages.h"
#include "movements/Movimenti.h"
#include "movements/movementlists.h"

namespace fondaro {

namespace {

// Records the list could not read are named, not silently left out.
QString skippedWarning(const std::vector<SkippedRecord>& skipped) {
  return u"Attenzione: le schede in posizione "_qs + skippedPositionsText(skipped) +
         u" non sono state esaminate perch\u00E9 la data di scadenza o i giorni di preavviso non sono "
         u"leggibili."_qs +
         kParagraphBreak + u"Le altre schede dell'archivio sono state esaminate e l'elenco le comprende."_qs;
}

}  // namespace

TfrmSospesiMov::TfrmSospesiMov(QWidget* owner) : ListWindow(owner, Kind::Dialog) {
  setObjectName(u"frmSospesiMov"_qs);
  setWindowTitle(u" Riepilogo pagamenti in scadenza o scaduti"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);

  setPrintTitle(u"Riepilogo pagamenti in scadenza o scaduti e non saldati"_qs);
  makeResultPanel(QRect(16, 112, 830, 370));
}

void TfrmSospesiMov::FormShow() {
  buildList();
  txtTrova->setFocus();
}

void TfrmSospesiMov::buildList() {
  resetFind();
  DueList due;
  QString warning;
  try {
    auto archive = MovementArchive::OpenOrCreate(trimmedText(windowSet().frmMovimenti->archiveFile()));
    due = dueList(archive, QDate::currentDate());
    archive.Close();
    if (!due.skipped.empty()) warning = skippedWarning(due.skipped);
  } catch (const ArchiveError&) {
    // An archive that cannot be read is said so, not shown as nothing due.
    due = {};
    warning = archiveAccessMessage();
  }
  showLines(linesOf(due.entries));
  if (warning.isEmpty()) return;
  // After the window is on screen, so the warning stands over the list it speaks of.
  QTimer::singleShot(0, this, [this, warning] {
    gui::notice(this, gui::Icon::Warning, warning);
    txtTrova->setFocus();
  });
}

void TfrmSospesiMov::lstRecordsDblClick() {
  movementlists::loadChosenLine(lstRecords->selectedText());
  close();
}

void TfrmSospesiMov::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void TfrmSospesiMov::FormClose() { lstRecords->clear(); }

}  // namespace fondaro
