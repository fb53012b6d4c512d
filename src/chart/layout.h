// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where everything of a chart goes, computed from its figures and the area it
// is given, before anything is drawn: rectangles, polygons and placed texts in
// drawing order. The painter (paintLayout) only draws what is here, so the
// rules "labels never overlap" and "everything stays inside the area" can be
// checked on the layout itself.
#include <QColor>
#include <QFont>
#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <optional>
#include <vector>

#include "chart/chart.h"

namespace fondaro::chart {

// A text drawn in `box` with `align` (Qt::Alignment and Qt::TextFlag bits).
struct PlacedText {
  QRectF box;
  QString text;
  QFont font;
  QColor colour = Qt::black;
  int align = Qt::AlignCenter;

  // The part of the box the text's line covers (a word-wrapped text: its box).
  QRectF extent() const;
};

struct LegendLayout {
  QRectF frame;  // null when the chart has no legend
  std::optional<PlacedText> title;
  struct Entry {
    QRectF swatch;
    QColor colour;
    PlacedText label;
    PlacedText value;
  };
  std::vector<Entry> entries;
};

struct BarsLayout {
  QPolygonF backWall;
  QPolygonF sideWall;
  QPolygonF floor;
  struct Tick {
    QLineF side;
    QLineF back;
    bool zero = false;
    std::optional<PlacedText> value;  // on a low box not every line has its value
  };
  std::vector<Tick> ticks;
  struct Bar {
    QRectF face;     // drawn only when taller than half a unit
    QPolygonF side;  // side and top are empty in a flat view
    QPolygonF top;
    QColor colour;
  };
  std::vector<Bar> bars;
  std::vector<PlacedText> labels;
  std::vector<PlacedText> marks;  // each on its own small box
};

struct PieLayout {
  QPointF centre;
  double rx = 0;
  double ry = 0;
  // With nothing to share out the pie is an empty dish with a sentence.
  bool empty = false;
  QPolygonF dishRim;  // empty in a flat view
  PlacedText emptyText;
  struct Piece {
    QPolygonF polygon;
    QColor colour;
  };
  std::vector<Piece> rims;  // the visible front side of the slices
  std::vector<Piece> faces;
  struct Callout {
    QPolygonF leader;
    QPointF anchor;
    QColor colour;
    PlacedText mark;
  };
  std::vector<Callout> marks;
};

struct ChartLayout {
  QRectF area;
  double scale = 1;
  bool drawn = false;  // false: the area is too small to draw anything
  std::optional<PlacedText> title;
  std::optional<PlacedText> foot;
  LegendLayout legend;
  QRectF plot;
  // At most one of them, by the series kind, when the plot has room for it.
  std::optional<BarsLayout> bars;
  std::optional<PieLayout> pie;
};

ChartLayout layoutChart(const Chart& chart, const QRectF& area);
void paintLayout(QPainter& painter, const ChartLayout& layout);

}  // namespace fondaro::chart
