// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart engine: one chart with a title, a foot text and a legend, holding
// one series of points drawn as three-dimensional bars or as a
// three-dimensional pie. The same drawing serves the screen, the printer and
// pictures: paint() draws into any rectangle of any painter, in units of
// 1/96 inch, and ChartPage lays the chart on a landscape page.
//
// Drawing is defensive: no points, all values zero, negative values and very
// different values all give sensible geometry (no division by zero, no NaN).
// Labels never overlap: they shrink to a floor and then take two rows; pie
// marks of thin slices are pushed apart along the sides of the pie.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;
class QPaintDevice;

namespace fondaro::chart {

struct Point {
  QString label;
  double value = 0;
  QColor colour;
};

// A text of the chart with its font (point size) and colour.
struct Text {
  QString text;
  QFont font;
  QColor colour = Qt::black;
};

enum class SeriesKind { Bars, Pie };

class Chart {
 public:
  Chart();

  void setTitle(const Text& t) { title_ = t; }
  void setFoot(const Text& t) { foot_ = t; }
  void setLegendTitle(const QString& t) { legendTitle_ = t; }
  const Text& title() const { return title_; }
  const Text& foot() const { return foot_; }
  const QString& legendTitle() const { return legendTitle_; }

  // The series changes its form and keeps its points.
  void setSeriesKind(SeriesKind k) { kind_ = k; }
  SeriesKind seriesKind() const { return kind_; }
  void setMarksVisible(bool on) { marks_ = on; }
  bool marksVisible() const { return marks_; }
  // A three-dimensional view; orthogonal projection draws depth as a slanted
  // offset without perspective.
  void setView3D(bool on) { view3D_ = on; }
  bool view3D() const { return view3D_; }
  void setOrthogonal(bool on) { orthogonal_ = on; }
  bool orthogonal() const { return orthogonal_; }

  void addPoint(const QString& label, double value, const QColor& colour);
  void clear() { points_.clear(); }
  const std::vector<Point>& points() const { return points_; }

  // Draws the whole chart inside `area` (units of 1/96 inch in the painter's
  // current coordinates), as layoutChart (chart/layout.h) places it.
  void paint(QPainter& painter, const QRectF& area) const;
  // The chart as a picture of `size` pixels on white.
  QImage toImage(const QSize& size) const;

  // How a value is written in marks, axis and legend: whole numbers without
  // decimals, others with two; "," as decimal separator, no thousands separator.
  static QString valueText(double v);

 private:
  Text title_;
  Text foot_;
  QString legendTitle_;
  SeriesKind kind_ = SeriesKind::Bars;
  bool marks_ = true;
  bool view3D_ = true;
  bool orthogonal_ = true;
  std::vector<Point> points_;
};

// A chart printed alone on a landscape page.
class ChartPage {
 public:
  explicit ChartPage(const Chart& chart) : chart_(chart) {}
  // A4 landscape with margins of 10 mm.
  static QPageLayout pageLayout();
  // Draws the chart on the painter's device, filling its paintable area.
  void paint(QPainter& painter) const;

 private:
  const Chart& chart_;
};

}  // namespace fondaro::chart
