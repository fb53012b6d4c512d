#include "clients/Ricontatta.h"

#include <QLineEdit>

#include "WindowSet.h"
#include "clients/Clienti.h"
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

// The card behind the line, whatever its flag now, shown in the editor as a
// stored card: "Salva" there rewrites it in place.
void TfrmRicontatta::lstRecordsDblClick() {
  const QString line = lstRecords->selectedText();
  if (!trimControl(line).isEmpty()) {
    try {
      auto archive = ClientArchive::OpenOrCreate(clientArchivePath(gui::programFolder()));
      if (const std::optional<ListEntry> hit = lastRecordWithCallBackLine(archive, line)) {
        const TCliente record = archive.ReadAt(hit->position);
        archive.Close();
        windowSet().frmClienti->showStoredRecord(record, hit->position);
      }
    } catch (const ArchiveError&) {
    }
  }
  close();
}

void TfrmRicontatta::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void TfrmRicontatta::FormClose() { lstRecords->clear(); }

}  // namespace fondaro
