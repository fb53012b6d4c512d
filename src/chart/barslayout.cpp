// SPDX-License-Identifier: GPL-3.0-or-later
// The bar form: a box of three walls with the value axis on the left, one
// bar a point, its label below the floor and its value mark above the bar
// (below it for a negative value).
#include <QFontMetricsF>

#include "chart/measure.h"

namespace fondaro::chart::detail {
namespace {

// A step of 1, 2, 2.5 or 5 times a power of ten giving about `ticks` ticks.
double niceStep(double range, int ticks) {
  const double raw = range / std::max(1, ticks);
  if (!(raw > 0) || !std::isfinite(raw)) return 1;
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double m = raw / mag;
  double step = m <= 1 ? mag : m <= 2 ? 2 * mag : m <= 2.5 ? 2.5 * mag : m <= 5 ? 5 * mag : 10 * mag;
  return std::max(step, 1.0);  // the charts show whole euros
}

// The value axis: zero always in range, a few round ticks.
struct Axis {
  double min = 0;
  double max = 5;
  double step = 1;
};

Axis valueAxis(const std::vector<Point>& pts) {
  double lo = 0;
  double hi = 0;
  for (const Point& p : pts) {
    lo = std::min(lo, finite(p.value));
    hi = std::max(hi, finite(p.value));
  }
  Axis a;
  if (hi - lo <= 0) return a;  // nothing or all zero: 0 to 5
  a.step = niceStep(hi - lo, 5);
  a.min = std::floor(lo / a.step) * a.step;
  a.max = std::ceil(hi / a.step) * a.step;
  if (a.max - a.min < a.step) a.max = a.min + a.step;
  return a;
}

QRectF clampInto(QRectF r, const QRectF& bounds) {
  if (r.right() > bounds.right()) r.moveRight(bounds.right());
  if (r.left() < bounds.left()) r.moveLeft(bounds.left());
  if (r.bottom() > bounds.bottom()) r.moveBottom(bounds.bottom());
  if (r.top() < bounds.top()) r.moveTop(bounds.top());
  return r;
}

// A font for texts that share a slot each: it shrinks by half points from
// `points` to a floor while the widest text is wider than `room`; `rows2`
// tells whether the texts still need two rows.
struct SlotFont {
  QFont font;
  bool rows2 = false;
};
template <class Width>
SlotFont slotFont(double points, double floor, double room, double scale, bool bold, Width widest) {
  SlotFont out{plain(points, scale, bold)};
  while (widest(out.font) > room && points > floor) out.font = plain(points -= 0.5, scale, bold);
  out.rows2 = widest(out.font) > room;
  return out;
}

// Everything the bars, labels and marks are placed by.
struct Frame {
  Axis axis;
  int ticks = 1;
  QRectF front;  // the front face of the box
  QPointF back;  // from the front face to the back wall
  double slot = 1;
  double axisW = 0;
  double span() const { return axis.max - axis.min; }
  double tick(int k) const { return axis.min + span() * k / ticks; }
  double y(double v) const { return front.bottom() - (finite(v) - axis.min) / span() * front.height(); }
};

void addWallsAndTicks(BarsLayout& out, const Frame& f, const QRectF& plot, double scale) {
  const QRectF& front = f.front;
  const QPointF& back = f.back;
  out.backWall = QPolygonF({front.topLeft() + back, front.topRight() + back, front.bottomRight() + back,
                            front.bottomLeft() + back});
  out.sideWall =
      QPolygonF({front.topLeft(), front.topLeft() + back, front.bottomLeft() + back, front.bottomLeft()});
  out.floor = QPolygonF(
      {front.bottomLeft(), front.bottomRight(), front.bottomRight() + back, front.bottomLeft() + back});
  const QFont axisFont = plain(8, scale);
  const double h = QFontMetricsF(axisFont).height();
  // On a low box the values stand on every second (third...) line only,
  // counted from the line nearest zero, so that they do not run into each other.
  const double spacing = front.height() / f.ticks;
  const int stride = spacing >= h ? 1 : int(std::ceil(h / spacing));
  int nearZero = 0;
  for (int k = 1; k <= f.ticks; ++k)
    if (std::fabs(f.tick(k)) < std::fabs(f.tick(nearZero))) nearZero = k;
  for (int k = 0; k <= f.ticks; ++k) {
    const double t = f.tick(k);
    const double y = f.y(t);
    BarsLayout::Tick tick{QLineF(QPointF(front.left(), y), QPointF(front.left(), y) + back),
                          QLineF(QPointF(front.left(), y) + back, QPointF(front.right(), y) + back),
                          t == 0,
                          {}};
    if ((k - nearZero) % stride == 0)
      tick.value = PlacedText{QRectF(plot.left(), y - h / 2, f.axisW, h), Chart::valueText(t), axisFont,
                              QColor(0x30, 0x30, 0x30), Qt::AlignRight | Qt::AlignVCenter};
    out.ticks.push_back(tick);
  }
}

struct BarShape {
  double barW;
  QPointF barBack;
  QPointF barShift;
  double yZero;
};

void addBars(BarsLayout& out, const Frame& f, const BarShape& s, const std::vector<Point>& points,
             bool view3D) {
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& pt = points[i];
    const double x0 = f.front.left() + double(i) * f.slot + (f.slot - s.barW) / 2;
    const double yv = f.y(pt.value);
    BarsLayout::Bar bar;
    bar.face = QRectF(QPointF(x0, std::min(yv, s.yZero)) + s.barShift,
                      QPointF(x0 + s.barW, std::max(yv, s.yZero)) + s.barShift);
    bar.colour = pt.colour;
    const QRectF& face = bar.face;
    if (view3D) {
      bar.side = QPolygonF(
          {face.topRight(), face.topRight() + s.barBack, face.bottomRight() + s.barBack, face.bottomRight()});
      bar.top = QPolygonF(
          {face.topLeft(), face.topRight(), face.topRight() + s.barBack, face.topLeft() + s.barBack});
    }
    out.bars.push_back(bar);
  }
}

// Labels shrink to a floor, then take two rows, then are cut; never overlapping.
SlotFont labelFont(const std::vector<Point>& points, double slot, double scale) {
  return slotFont(9, 6.5, slot * 0.94, scale, false, [&](const QFont& font) {
    double w = 0;
    for (const Point& pt : points) w = std::max(w, QFontMetricsF(font).horizontalAdvance(pt.label));
    return w;
  });
}

// A label stays under its bar, between the axis values and the plot's right
// side: near either end it is cut rather than moved.
void addLabels(BarsLayout& out, const Frame& f, const SlotFont& sf, const std::vector<Point>& points,
               const QRectF& plot, double scale) {
  const double labelMax = f.slot * (sf.rows2 ? 1.9 : 0.94);
  const QFontMetricsF lm(sf.font);
  const double lo = plot.left() + f.axisW;
  for (size_t i = 0; i < points.size(); ++i) {
    const double cx = f.front.left() + (double(i) + 0.5) * f.slot;
    const double row = sf.rows2 ? double(i % 2) : 0;
    const double room = 2 * std::min(cx - lo, plot.right() - cx);
    double w = labelMax;
    QString text = lm.elidedText(points[i].label, Qt::ElideRight, w);
    if (lm.horizontalAdvance(text) > room) text = lm.elidedText(points[i].label, Qt::ElideRight, w = room);
    out.labels.push_back(
        {QRectF(cx - w / 2, f.front.bottom() + 4 * scale + row * lm.height(), w, lm.height()), text, sf.font,
         Qt::black, Qt::AlignHCenter | Qt::AlignTop});
  }
}

struct MarkFont {
  SlotFont sf;
  double w = 0;
  double h = 0;
};

MarkFont markFont(const std::vector<Point>& points, double slot, double maxW, double scale) {
  auto boxW = [&](const QFont& font) {
    double w = 0;
    for (const Point& pt : points)
      w = std::max(w, QFontMetricsF(font).horizontalAdvance(Chart::valueText(pt.value)));
    return w + 8 * scale;
  };
  MarkFont m{slotFont(8.5, 6.5, slot * 0.98, scale, true, boxW)};
  m.w = std::min({boxW(m.sf.font), slot * 1.96, maxW});
  m.h = QFontMetricsF(m.sf.font).height() + 4 * scale;
  return m;
}

bool overlaps(const QRectF& a, const QRectF& b) {
  const QRectF i = a.intersected(b);
  return i.width() > 1e-6 && i.height() > 1e-6;
}

// The nearest place to `box`, up or down, that overlaps no mark placed before
// and stays inside `bounds`: where it stands, or just above or just below a
// mark in its way. Nothing when there is none.
std::optional<QRectF> freePlace(const QRectF& box, const std::vector<PlacedText>& placed,
                                const QRectF& bounds) {
  std::vector<double> tops{box.top()};
  for (const PlacedText& p : placed) {
    if (p.box.left() >= box.right() || box.left() >= p.box.right()) continue;
    tops.push_back(p.box.top() - box.height());
    tops.push_back(p.box.bottom());
  }
  std::stable_sort(tops.begin(), tops.end(),
                   [&](double a, double b) { return std::fabs(a - box.top()) < std::fabs(b - box.top()); });
  for (double top : tops) {
    QRectF r = box;
    r.moveTop(top);
    if (r.top() < bounds.top() - 1e-6 || r.bottom() > bounds.bottom() + 1e-6) continue;
    if (std::none_of(placed.begin(), placed.end(), [&](const PlacedText& p) { return overlaps(p.box, r); }))
      return r;
  }
  return std::nullopt;
}

// Above a bar, below a negative one, alternating rows when they need two;
// never outside the box above its floor nor over the axis values. Marks of
// bars of very different heights may still meet: the later one then moves
// above or below the other, or is left out (the legend has every value).
void addMarks(BarsLayout& out, const Frame& f, const BarShape& s, const MarkFont& m,
              const std::vector<Point>& points, const QRectF& plot, double scale) {
  const double left = plot.left() + f.axisW;
  const QRectF bounds(left, plot.top(), plot.right() - left, f.front.bottom() + s.barShift.y() - plot.top());
  const QFontMetricsF mm(m.sf.font);
  for (size_t i = 0; i < points.size(); ++i) {
    const Point& pt = points[i];
    const double cx = f.front.left() + (double(i) + 0.5) * f.slot + s.barShift.x() + s.barBack.x() / 2;
    const double row = m.sf.rows2 ? double(i % 2) : 0;
    const double yv = f.y(pt.value);
    QRectF box;
    if (finite(pt.value) >= 0) {
      const double anchor = std::min(yv, s.yZero) + s.barShift.y() + s.barBack.y();
      box = QRectF(cx - m.w / 2, anchor - 3 * scale - m.h * (row + 1), m.w, m.h);
    } else {
      box = QRectF(cx - m.w / 2, yv + s.barShift.y() + 3 * scale + m.h * row, m.w, m.h);
    }
    const std::optional<QRectF> place = freePlace(clampInto(box, bounds), out.marks, bounds);
    if (place)
      out.marks.push_back(
          markText(*place, mm.elidedText(Chart::valueText(pt.value), Qt::ElideRight, m.w), m.sf.font));
  }
}

}  // namespace

std::optional<BarsLayout> barsLayout(const Chart& chart, const QRectF& plot, double scale) {
  const std::vector<Point>& points = chart.points();
  const int n = int(points.size());
  Frame f;
  f.axis = valueAxis(points);
  f.ticks = std::clamp(int(std::lround((f.axis.max - f.axis.min) / f.axis.step)), 1, 50);
  const QFontMetricsF am(plain(8, scale));
  for (int k = 0; k <= f.ticks; ++k)
    f.axisW = std::max(f.axisW, am.horizontalAdvance(Chart::valueText(f.tick(k))));
  const double depth = chart.view3D() ? std::clamp(plot.width() * 0.03, 8 * scale, 26 * scale) : 0;
  // Orthogonal projection: depth goes up and to the right at 45 degrees.
  const double dx = depth * (chart.orthogonal() ? 0.7071 : 0.8);
  const double dy = depth * (chart.orthogonal() ? 0.7071 : 0.5);
  const double left = plot.left() + f.axisW + 8 * scale;
  const double right = plot.right() - dx - 4 * scale;
  const double width = std::max(1.0, right - left);
  f.slot = width / std::max(n, 1);

  const SlotFont labels = labelFont(points, f.slot, scale);
  const MarkFont marks = markFont(points, f.slot, plot.width() - f.axisW, scale);
  const double labelsH = QFontMetricsF(labels.font).height() * (labels.rows2 ? 2 : 1) + 6 * scale;
  const double marksH = chart.marksVisible() && n > 0 ? marks.h * (marks.sf.rows2 ? 2 : 1) + 6 * scale : 0;
  const double top = plot.top() + marksH + dy;
  const double bottom = plot.bottom() - labelsH;
  if (bottom - top < 20 * scale) return std::nullopt;
  f.front = QRectF(left, top, width, bottom - top);
  f.back = QPointF(dx, -dy);

  BarsLayout out;
  addWallsAndTicks(out, f, plot, scale);
  const BarShape shape{std::min(f.slot * 0.62, 150 * scale), f.back * 0.76, f.back * 0.12,
                       f.y(std::clamp(0.0, f.axis.min, f.axis.max))};
  addBars(out, f, shape, points, chart.view3D());
  addLabels(out, f, labels, points, plot, scale);
  if (chart.marksVisible()) addMarks(out, f, shape, marks, points, plot, scale);
  return out;
}

}  // namespace fondaro::chart::detail
