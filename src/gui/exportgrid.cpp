// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/exportgrid.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QTableView>

#include "gui/application.h"

namespace fondaro::gui {

namespace {
constexpr int kNumberWidth = 60;
constexpr int kRowHeight = 21;
}  // namespace

ExportGridModel::ExportGridModel(std::span<const ExportColumn> columns, QObject* parent)
    : QAbstractTableModel(parent), columns_(columns), rows_(int(columns.size())) {}

void ExportGridModel::setRows(TextTable rows, bool numbered) {
  beginResetModel();
  rows_ = std::move(rows);
  numbered_ = numbered;
  endResetModel();
}

int ExportGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(rows_.rowCount());
}

int ExportGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : int(columns_.size()) + 1;
}

QVariant ExportGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
  if (index.column() == 0) return numbered_ ? QVariant(QString::number(index.row() + 1)) : QVariant(QString());
  return rows_.text(index.row(), index.column() - 1);
}

bool ExportGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
  rows_.setText(index.row(), index.column() - 1, value.toString());
  emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
  return true;
}

Qt::ItemFlags ExportGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() > 0 && columns_[size_t(index.column() - 1)].editable) f |= Qt::ItemIsEditable;
  return f;
}

QVariant ExportGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section == 0) return u"N."_qs;
  if (section > int(columns_.size())) return {};
  return QString::fromUtf8(columns_[size_t(section - 1)].gridTitle);
}

QTableView* makeExportGrid(QWidget* parent, ExportGridModel* model) {
  auto* grid = new QTableView(parent);
  grid->setObjectName(u"grdRecords"_qs);
  grid->setModel(model);
  grid->setAccessibleName(u"Schede in archivio"_qs);
  grid->setAlternatingRowColors(true);
  grid->setSelectionMode(QAbstractItemView::SingleSelection);
  grid->setSelectionBehavior(QAbstractItemView::SelectItems);
  grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                        QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
  grid->setWordWrap(false);
  grid->setFont(windowFont("Verdana", 9));
  grid->verticalHeader()->setVisible(false);
  // Every row the same height, never measured one by one: a grid of a hundred
  // thousand rows opens at once.
  grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  QHeaderView* columns = grid->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  columns->setHighlightSections(false);
  columns->resizeSection(0, kNumberWidth);
  const auto cols = model->columns();
  for (int c = 0; c < int(cols.size()); ++c) columns->resizeSection(c + 1, cols[size_t(c)].gridWidth);
  return grid;
}

void commitGridEdit(QTableView* grid) {
  const QModelIndex at = grid->currentIndex();
  if (QWidget* editor = grid->indexWidget(at)) grid->itemDelegateForIndex(at)->setModelData(editor, grid->model(), at);
}

}  // namespace fondaro::gui
