// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The grid of a window whose centre is a list of rows (an import's entries,
// the schedules, the safety copies): a table model over a core value, its
// columns declared as one table of data, and a view with the kit's fonts and
// keyboard.
//
// - The columns: caption, width, the field that gives a row's text, alignment,
//   kind (text or tick), the tip and, for the texts of an outside source, the
//   share of the table a column may grow to.
// - The ticks (a check box per row, "include this entry") are the model's
//   data: rows that carry one are declared, all ticked at first; a click, or
//   Space anywhere on the row, turns it; the window reads them from the model.
// - The view is one stop of the Tab chain: the arrows move along the rows.
//   Rows have a fixed height (the style's, or the font's and some air), or
//   grow to their wrapped texts.
#include <QAbstractTableModel>
#include <QColor>
#include <QStringView>
#include <QTableView>
#include <span>
#include <vector>

namespace fondaro::gui {

enum class GridCell { Text, Tick };

// Widths a column may have besides its designed pixels.
inline constexpr int kGridStretch = 0;   // takes the room the other columns leave
inline constexpr int kGridFitText = -1;  // as wide as its caption and texts, always

// A column of a grid over rows of type Row. `field` and `tip` hear whether the
// row is ticked (a row's state may say so).
template <class Row>
struct GridColumn {
  QStringView caption;
  int width;  // designed pixels, or kGridStretch / kGridFitText
  QString (*field)(const Row& row, bool ticked) = nullptr;
  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  GridCell kind = GridCell::Text;
  QString (*tip)(const Row& row, bool ticked) = nullptr;
  // Above 0: the column takes the room its texts need, from `width` up to this
  // share of the table's width; a text longer still wraps (with a wrapping look).
  qreal share = 0;
};

// What the view needs of a column, whatever its rows.
struct GridColumnLook {
  QStringView caption;
  int width;
  Qt::Alignment alignment;
  GridCell kind;
  qreal share;
};

// The model's side that does not depend on the rows: the texts of the cells,
// worked out once per row (a field may read a file) and again when its tick
// turns, and the ticks.
class GridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  const std::vector<GridColumnLook>& columns() const { return columns_; }

  bool hasTick(int row) const { return row >= 0 && row < int(ticks_.size()) && ticks_[size_t(row)] >= 0; }
  bool ticked(int row) const { return hasTick(row) && ticks_[size_t(row)] > 0; }
  // Sets the tick of a row that carries one; false for a row without.
  bool setTicked(int row, bool on);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

 signals:
  // A tick was turned (by the user or by setTicked).
  void ticksChanged();

 protected:
  explicit GridModel(std::vector<GridColumnLook> columns, QObject* parent);
  // Works out every cell again, and each row's tick as `tickable` says.
  void rebuild();

  virtual int rowsHeld() const = 0;
  virtual bool tickable(int row) const = 0;
  virtual QString field(int row, int column) const = 0;
  virtual QString tip(int row, int column) const = 0;
  virtual QColor ink(int row, int column) const = 0;

 private:
  void fillRow(int row);

  std::vector<GridColumnLook> columns_;
  std::vector<QString> cells_;  // row by row
  std::vector<qint8> ticks_;    // -1: no tick, 0: not ticked, 1: ticked
};

// How a grid declares its rows: the columns, the rows of its value that carry a
// tick, and a text colour per cell (an invalid colour: the view's).
template <class Value, class Row>
struct GridDesign {
  std::span<const GridColumn<Row>> columns;
  std::span<const Row> (*rows)(const Value& value);
  bool (*tickable)(const Row& row) = nullptr;
  QColor (*ink)(const Row& row, int column) = nullptr;
};

// The rows of a list held as a contiguous container (a std::vector, a QList).
template <class List>
std::span<const typename List::value_type> listRows(const List& list) {
  return {list.data(), size_t(list.size())};
}

// A grid model over a core value (a plan, a list of schedules or copies).
template <class Value, class Row = typename Value::value_type>
class GridModelOf : public GridModel {
 public:
  explicit GridModelOf(GridDesign<Value, Row> design, QObject* parent = nullptr)
      : GridModel(looks(design.columns), parent), design_(design) {}

  void setValue(Value value) {
    beginResetModel();
    value_ = std::move(value);
    rebuild();
    endResetModel();
  }
  const Value& value() const { return value_; }
  std::span<const Row> rows() const { return design_.rows(value_); }
  const Row& row(int r) const { return rows()[size_t(r)]; }

 protected:
  int rowsHeld() const override { return int(rows().size()); }
  bool tickable(int r) const override { return design_.tickable && design_.tickable(row(r)); }
  QString field(int r, int c) const override {
    const auto& column = design_.columns[size_t(c)];
    return column.field ? column.field(row(r), ticked(r)) : QString();
  }
  QString tip(int r, int c) const override {
    const auto& column = design_.columns[size_t(c)];
    return column.tip ? column.tip(row(r), ticked(r)) : QString();
  }
  QColor ink(int r, int c) const override { return design_.ink ? design_.ink(row(r), c) : QColor(); }

 private:
  static std::vector<GridColumnLook> looks(std::span<const GridColumn<Row>> columns) {
    std::vector<GridColumnLook> out;
    for (const auto& c : columns) out.push_back({c.caption, c.width, c.alignment, c.kind, c.share});
    return out;
  }

  GridDesign<Value, Row> design_;
  Value value_{};
};

// How a grid looks: its font, lines between the cells, wrapping, and the air
// above and below a row's text (-1: rows of the style's height).
struct GridLook {
  const char* family = "Verdana";
  int points = 9;
  bool lines = true;
  bool wrap = false;
  int air = -1;
  Qt::Alignment captions = Qt::AlignCenter;
  // The captions of the columns holding the selection show in bold.
  bool boldSelected = true;
};

// Sets the kit's look and keyboard on a table view: font, whole-row single
// selection, no typing into cells, alternating rows, no row header, one stop
// of the Tab chain.
void styleGrid(QTableView* view, const GridLook& look);

class GridView : public QTableView {
  Q_OBJECT

 public:
  // A grid named `name` over `model`, which it does not own.
  GridView(QWidget* parent, const QString& name, GridModel* model, const GridLook& look);

  GridModel* gridModel() const { return model_; }
  // The columns' widths and the rows' heights for the rows shown: done after
  // each reset of the model.
  void fit();

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void fitRows();

  GridModel* model_;
  GridLook look_;
};

}  // namespace fondaro::gui
