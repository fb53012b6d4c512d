#include "movements/movementlists.h"

#include "WindowSet.h"
#include "core/archive.h"
#include "core/lists.h"
#include "gui/application.h"
#include "movements/Movimenti.h"

namespace fondaro::movementlists {

void loadChosenLine(const QString& line) {
  if (trimControl(line).isEmpty()) return;
  TfrmMovimenti* editor = windowSet().frmMovimenti;
  try {
    auto archive = MovementArchive::OpenOrCreate(trimmedText(editor->archiveFile()));
    const std::optional<ListEntry> hit = lastRecordWithLine(archive, line);
    if (!hit) return;
    const TMovimento record = archive.ReadAt(hit->position);
    archive.Close();
    editor->showStoredRecord(record, hit->position);
  } catch (const ArchiveError&) {
  }
}

}  // namespace fondaro::movementlists
