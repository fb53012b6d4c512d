// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the import windows (a bank statement, electronic invoices) share
// beyond the grid: the head (title and hint over the window's width), the row
// of buttons at the foot (the action on the left, "Guida" and "Chiudi" on the
// right) and the reading of a grid's ticks (how many rows are ticked, the
// keys of the rows left out).
#include <QSet>
#include <QStringView>

#include "gui/gridwindow.h"

class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;

namespace fondaro::gui {

// The window's vertical layout with the title "lblTitolo" and the wrapped
// hint "lblInfo" at its top.
struct ImportHead {
  QVBoxLayout* layout;
  QLabel* title;
  QLabel* hint;
};
ImportHead buildImportHead(QWidget* window, QStringView title, QStringView hint);

// The foot: the button `actionName` with `action`, then "btnGuida" and
// "btnChiudi" with their texts.
struct ImportFoot {
  QHBoxLayout* layout;
  QPushButton* action;
  QPushButton* guide;
  QPushButton* close;
};
ImportFoot buildImportFoot(QWidget* window, const char* actionName, QStringView action, QStringView guide,
                           QStringView close);

// How many rows carry a tick that is ticked.
qint64 tickedCount(const GridModel& model);

// The keys of the rows that carry a tick not ticked (the entries the user
// left out).
template <class Value, class Row, class Key>
QSet<Key> leftOutKeys(const GridModelOf<Value, Row>& model, Key (*key)(const Row& row)) {
  QSet<Key> out;
  for (int r = 0; r < model.rowCount(); ++r)
    if (model.hasTick(r) && !model.ticked(r)) out.insert(key(model.row(r)));
  return out;
}

}  // namespace fondaro::gui
