// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/gridwindow.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

#include "gui/application.h"

namespace fondaro::gui {

GridModel::GridModel(std::vector<GridColumnLook> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(std::move(columns)) {}

void GridModel::rebuild() {
  const int rows = rowsHeld();
  cells_.assign(size_t(rows) * columns_.size(), QString());
  ticks_.assign(size_t(rows), -1);
  for (int r = 0; r < rows; ++r) {
    if (tickable(r)) ticks_[size_t(r)] = 1;
    fillRow(r);
  }
}

void GridModel::fillRow(int row) {
  for (int c = 0; c < int(columns_.size()); ++c) cells_[size_t(row) * columns_.size() + size_t(c)] = field(row, c);
}

bool GridModel::setTicked(int row, bool on) {
  if (!hasTick(row)) return false;
  if (ticked(row) == on) return true;
  ticks_[size_t(row)] = on ? 1 : 0;
  // A row's texts may tell whether it is ticked.
  fillRow(row);
  emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  emit ticksChanged();
  return true;
}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(ticks_.size()); }

int GridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant GridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int row = index.row();
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole: return cells_[size_t(row) * columns_.size() + size_t(column)];
    case Qt::TextAlignmentRole: return QVariant::fromValue(columns_[size_t(column)].alignment);
    case Qt::ToolTipRole: {
      const QString t = tip(row, column);
      return t.isEmpty() ? QVariant() : QVariant(t);
    }
    case Qt::ForegroundRole: {
      const QColor c = ink(row, column);
      return c.isValid() ? QVariant(c) : QVariant();
    }
    case Qt::CheckStateRole:
      if (columns_[size_t(column)].kind != GridCell::Tick || !hasTick(row)) return {};
      return ticked(row) ? Qt::Checked : Qt::Unchecked;
  }
  return {};
}

bool GridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable)) return false;
  return setTicked(index.row(), value.toInt() == Qt::Checked);
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (columns_[size_t(index.column())].kind == GridCell::Tick && hasTick(index.row())) f |= Qt::ItemIsUserCheckable;
  return f;
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= int(columns_.size()))
    return {};
  return columns_[size_t(section)].caption.toString();
}

void styleGrid(QTableView* view, const GridLook& look) {
  view->setFont(windowFont(look.family, look.points));
  view->verticalHeader()->setVisible(false);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setAlternatingRowColors(true);
  view->setShowGrid(look.lines);
  view->setWordWrap(look.wrap);
  view->horizontalHeader()->setDefaultAlignment(look.captions);
  view->horizontalHeader()->setHighlightSections(look.boldSelected);
  // One stop of the Tab chain; the arrows move along the rows.
  view->setTabKeyNavigation(false);
}

GridView::GridView(QWidget* parent, const QString& name, GridModel* model, const GridLook& look)
    : QTableView(parent), model_(model), look_(look) {
  setObjectName(name);
  setModel(model);
  styleGrid(this, look);
  QHeaderView* header = horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Interactive);
  const auto& columns = model->columns();
  for (int c = 0; c < int(columns.size()); ++c) {
    const int width = columns[size_t(c)].width;
    if (width == kGridStretch) header->setSectionResizeMode(c, QHeaderView::Stretch);
    else if (width == kGridFitText) header->setSectionResizeMode(c, QHeaderView::ResizeToContents);
    else header->resizeSection(c, width);
  }
  connect(model, &QAbstractItemModel::modelReset, this, &GridView::fit);
}

// The columns with a share take the room their longest text needs, each within
// its share of the table so that a stretching column keeps the rest; a text
// longer still wraps onto more lines of its row.
void GridView::fit() {
  const int room = viewport()->width();
  const auto& columns = model_->columns();
  for (int c = 0; c < int(columns.size()); ++c) {
    const GridColumnLook& look = columns[size_t(c)];
    if (look.share <= 0) continue;
    resizeColumnToContents(c);
    const int most = std::max(look.width, int(room * look.share));
    setColumnWidth(c, std::clamp(columnWidth(c), look.width, most));
  }
  fitRows();
}

// Rows with air around their text: all of one height, or as many lines as
// their wrapped texts need, with a little more air when more than one.
void GridView::fitRows() {
  if (look_.air < 0) return;
  const int oneLine = fontMetrics().height() + look_.air;
  QHeaderView* rows = verticalHeader();
  rows->setMinimumSectionSize(oneLine);
  if (!look_.wrap) {
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(oneLine);
    return;
  }
  resizeRowsToContents();
  for (int row = 0; row < model_->rowCount(); ++row)
    if (const int h = rowHeight(row); h > oneLine) setRowHeight(row, h + look_.air / 2);
}

// Space turns the tick of the current row, wherever the cursor is in it.
void GridView::keyPressEvent(QKeyEvent* e) {
  const auto& columns = model_->columns();
  const bool ticks = std::any_of(columns.begin(), columns.end(), [](const GridColumnLook& c) {
    return c.kind == GridCell::Tick;
  });
  if (e->key() != Qt::Key_Space || !ticks) {
    QTableView::keyPressEvent(e);
    return;
  }
  const int row = currentIndex().row();
  model_->setTicked(row, !model_->ticked(row));
  e->accept();
}

}  // namespace fondaro::gui
