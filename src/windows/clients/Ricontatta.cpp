// SPDX-License-Identifier: GPL-3.0-or-later
#include "clients/Ricontatta.h"

#include <QLineEdit>

#include "core/archive.h"
#include "core/lists.h"
#include "gui/application.h"
#include "gui/programfolder.h"

namespace fondaro {

TfrmRicontatta::TfrmRicontatta(QWidget* owner) : ListWindow(owner, Kind::Dialog) {
  setObjectName(u"frmRicontatta"_qs);
  setWindowTitle(u" Riepilogo persone da ricontattare"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);
  setPrintTitle(u"Riepilogo persone da ricontattare"_qs);
  makeResultPanel(QRect(16, 112, 830, 370));
  setLongestLine(ListKind<TCliente>::longest());
}

// A failure while reading is not reported: the lines read so far stay.
void TfrmRicontatta::FormShow() {
  resetFind();
  ListEntries entries;
  try {
    auto archive = ClientArchive::OpenOrCreate(clientArchivePath(gui::programFolder()));
    callBackList(archive, entries);
    archive.Close();
  } catch (const ArchiveError&) {
  }
  showLines(linesOf(entries));
  txtTrova->setFocus();
}

void TfrmRicontatta::lstRecordsDblClick() {
  picked_ = gui::chosenRecord<TCliente>(clientArchivePath(gui::programFolder()), lstRecords->selectedText(),
                                        [](const ClientArchive& a, QStringView l) {
                                          return lastRecordWithCallBackLine(a, l);
                                        });
  close();
}

void TfrmRicontatta::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void TfrmRicontatta::FormClose() { lstRecords->clear(); }

}  // namespace fondaro
