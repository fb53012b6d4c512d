#include "movements/movementlists.h"

#include <QLabel>
#include <QPushButton>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/lists.h"
#include "gui/application.h"
#include "gui/listwindow.h"
#include "movements/Movimenti.h"

namespace fondaro::movementlists {

void resultHints(QWidget* panel) {
  gui::makeListLabel(panel, "lblRigo01", gui::kFindHint1, QRect(16, 10, 830, 22));
  gui::makeListLabel(panel, "lblRigo02", gui::kFindHint2, QRect(16, 34, 830, 22));
  QLabel* l = gui::makeListLabel(panel, "lblRigo03", gui::kChooseHint, QRect(16, 494, 590, 22), 10, true);
  l->setStyleSheet(u"color: #DC143C;"_qs);
}

ListButtons listButtons(QWidget* panel) {
  const auto button = [panel](const QString& name, const QString& text, int x) {
    auto* b = new QPushButton(text, panel);
    b->setObjectName(name);
    b->setFont(gui::windowFont("Verdana", 10, true));
    b->setGeometry(x, 508, 110, 34);
    return b;
  };
  return {button(u"btnStampa"_qs, u"Stampa"_qs, 620), button(u"btnChiudi"_qs, u"Chiudi"_qs, 736)};
}

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
