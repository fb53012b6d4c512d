// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/SospesiMov.h"

#include <QDate>
#include <QLineEdit>
#include <QTimer>

#include "core/archive.h"
#include "core/lists.h"
#include "core/skippedwarning.h"
#include "gui/application.h"
#include "gui/messages.h"

namespace fondaro {

TfrmSospesiMov::TfrmSospesiMov(QWidget* owner, const QString& archivePath)
    : ListWindow(owner, Kind::Dialog), archivePath_(archivePath) {
  setObjectName(u"frmSospesiMov"_qs);
  setWindowTitle(u" Riepilogo pagamenti in scadenza o scaduti"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);

  setPrintTitle(u"Riepilogo pagamenti in scadenza o scaduti e non saldati"_qs);
  makeResultPanel(QRect(16, 112, 830, 370));
  setLongestLine(ListKind<TMovimento>::longest());
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
    auto archive = MovementArchive::OpenOrCreate(archivePath_);
    due = dueList(archive, QDate::currentDate());
    archive.Close();
    if (!due.skipped.empty()) warning = skippedRecordsWarning(SkippingList::DueList, due.skipped);
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
  picked_ = gui::chosenRecord<TMovimento>(archivePath_, lstRecords->selectedText());
  close();
}

void TfrmSospesiMov::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void TfrmSospesiMov::FormClose() { lstRecords->clear(); }

}  // namespace fondaro
