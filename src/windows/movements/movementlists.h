#pragma once
// What the movement list windows (the search and the due list) share: the
// loading of a chosen line into the editor.
#include <QString>

namespace fondaro::movementlists {

// Loads into the movement editor the record whose list line, trimmed, equals
// `line` trimmed: of several, the one nearest to the end of the archive. A
// line that matches no record, or an archive that cannot be read, changes
// nothing and shows nothing.
void loadChosenLine(const QString& line);

}  // namespace fondaro::movementlists
