// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid of an export window ("grdRecords"): a table view over the rows of an
// export, with the column "N." first and then the export's columns. Only the
// columns the export marks editable take typing; an edit changes the rows the
// export writes, never the archive they were read from.
#include <QAbstractTableModel>
#include <span>

#include "core/spreadsheet.h"

class QTableView;
class QWidget;

namespace fondaro::gui {

class ExportGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit ExportGridModel(std::span<const ExportColumn> columns, QObject* parent = nullptr);

  // Replaces the rows. `numbered`: "N." shows each row's position from 1 (the
  // rows are an archive's records); otherwise it stays empty (designed rows).
  void setRows(TextTable rows, bool numbered);
  const TextTable& rows() const { return rows_; }
  std::span<const ExportColumn> columns() const { return columns_; }

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 private:
  std::span<const ExportColumn> columns_;
  TextTable rows_;
  bool numbered_ = false;
};

// The grid "grdRecords" over `model`: the grid widths of its columns, rows 21
// pixels high with alternating backgrounds, no row header.
QTableView* makeExportGrid(QWidget* parent, ExportGridModel* model);

// Ends a cell edit in progress, keeping what was typed, so that what the user
// sees is what gets exported.
void commitGridEdit(QTableView* grid);

}  // namespace fondaro::gui
