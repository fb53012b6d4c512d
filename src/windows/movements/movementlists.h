#pragma once
// What the movement list windows (the search and the due list) share: the
// instruction lines of their result panel and the loading of a chosen line
// into the editor.
#include <QString>

class QPushButton;
class QWidget;

namespace fondaro::movementlists {

// lblRigo01 to lblRigo03 on a result panel of 862 x 560.
void resultHints(QWidget* panel);

// "Stampa" and "Chiudi" along the bottom of a result panel of 862 x 560.
struct ListButtons {
  QPushButton* btnStampa;
  QPushButton* btnChiudi;
};
ListButtons listButtons(QWidget* panel);

// Loads into the movement editor the record whose list line, trimmed, equals
// `line` trimmed: of several, the one nearest to the end of the archive. A
// line that matches no record, or an archive that cannot be read, changes
// nothing and shows nothing.
void loadChosenLine(const QString& line);

}  // namespace fondaro::movementlists
