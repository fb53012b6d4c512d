// SPDX-License-Identifier: GPL-3.0-or-later
// The pie form: a tilted disc with a visible front side, one slice a point in
// proportion to its magnitude, and the value marks in two columns beside the
// pie, each joined to its slice by a leader line.
#include <QFontMetricsF>

#include "chart/measure.h"

namespace fondaro::chart::detail {
namespace {

// The pie's ellipse: a point at an angle (degrees, counter-clockwise from the
// right) on its top face, or `drop` lower on its side.
struct Disc {
  QPointF c;
  double rx = 0;
  double ry = 0;
  double h = 0;  // the depth of the side

  QPointF at(double deg, double drop = 0) const {
    const double r = deg * kPi / 180;
    return QPointF(c.x() + rx * std::cos(r), c.y() - ry * std::sin(r) + drop);
  }
  void arc(QPolygonF& poly, double from, double to, double drop) const {
    const int steps = std::max(2, int(std::ceil(std::fabs(to - from) / 2)));
    for (int k = 0; k <= steps; ++k) poly << at(from + (to - from) * k / steps, drop);
  }
};

struct Slice {
  double a0, a1;
  const Point* pt;
};

double totalOf(const std::vector<Point>& points) {
  double total = 0;
  for (const Point& pt : points) total += std::fabs(finite(pt.value));
  return total;
}

// The marks' font shrinks until the fuller of the two columns fits the height.
QFont markFont(const Chart& chart, double total, const QRectF& plot, double scale) {
  double markPt = 8.5;
  QFont font = plain(markPt, scale, true);
  int perSide[2] = {0, 0};
  double cum = 0;
  for (const Point& pt : chart.points()) {
    const double v = std::fabs(finite(pt.value));
    if (v == 0 || total <= 0) continue;
    const double mid = 90 - (cum + v / 2) / total * 360;
    ++perSide[std::cos(mid * kPi / 180) >= 0 ? 0 : 1];
    cum += v;
  }
  const int fullest = std::max(perSide[0], perSide[1]);
  auto markH = [&] { return QFontMetricsF(font).height() + 4 * scale; };
  while (chart.marksVisible() && fullest * (markH() + 2 * scale) > plot.height() && markPt > 6)
    font = plain(markPt -= 0.5, scale, true);
  return font;
}

void emptyDish(PieLayout& out, const Disc& d, double scale) {
  out.empty = true;
  if (d.h > 0) {
    d.arc(out.dishRim, 180, 360, 0);
    d.arc(out.dishRim, 360, 180, d.h);
  }
  out.emptyText = {QRectF(d.c.x() - d.rx, d.c.y() - d.ry, 2 * d.rx, 2 * d.ry),
                   QStringLiteral("Nessun importo da rappresentare"), plain(10, scale, true),
                   QColor(0x60, 0x68, 0x78), Qt::AlignCenter | Qt::TextWordWrap};
}

// The visible rim is the front half (180 to 360 degrees); each slice shows
// the part of it that it covers. The top faces come after and cover the rest.
void addSlices(PieLayout& out, const Disc& d, const std::vector<Slice>& slices) {
  for (const Slice& s : slices) {
    for (int k = -2; k <= 1 && d.h > 0; ++k) {
      const double lo = std::max(s.a0, 180.0 + 360 * k);
      const double hi = std::min(s.a1, 360.0 + 360 * k);
      if (hi - lo <= 1e-9) continue;
      PieLayout::Piece rim{{}, s.pt->colour};
      d.arc(rim.polygon, lo, hi, 0);
      d.arc(rim.polygon, hi, lo, d.h);
      out.rims.push_back(rim);
    }
  }
  for (const Slice& s : slices) {
    if (s.a1 - s.a0 <= 1e-9) continue;
    PieLayout::Piece face{{}, s.pt->colour};
    if (s.a1 - s.a0 < 359.999) face.polygon << d.c;
    d.arc(face.polygon, s.a1, s.a0, 0);
    out.faces.push_back(face);
  }
}

struct MarkSize {
  QFont font;
  double w;
  double h;
  double leader;
};

// Each column keeps the marks of its largest slices that fit the plot's
// height (the legend has every value), sorted by height, then pushed apart
// from the top and from the bottom so that neighbours keep a small gap.
void addMarks(PieLayout& out, const Disc& d, const std::vector<Slice>& slices, const MarkSize& m,
              const QRectF& plot, double scale) {
  struct Mark {
    QPointF anchor;
    double y;
    const Point* pt;
  };
  std::vector<Mark> columns[2];
  for (const Slice& s : slices) {
    if (s.a1 - s.a0 <= 1e-9) continue;  // a zero slice has no place on the pie; the legend shows it
    const double mid = (s.a0 + s.a1) / 2;
    const double r = mid * kPi / 180;
    const double drop = std::sin(r) < 0 ? d.h : 0;
    const double wantY = d.c.y() - d.ry * 1.25 * std::sin(r) + drop;
    columns[std::cos(r) >= 0 ? 0 : 1].push_back({d.at(mid, drop / 2), wantY, s.pt});
  }
  const double minY = plot.top() + m.h / 2;
  const double maxY = plot.bottom() - m.h / 2;
  const double stepY = m.h + 2 * scale;
  const size_t room = maxY < minY ? 0 : size_t(1 + std::floor((maxY - minY) / stepY));
  for (int sideIdx = 0; sideIdx < 2; ++sideIdx) {
    auto& col = columns[sideIdx];
    if (col.size() > room) {
      std::stable_sort(col.begin(), col.end(), [](const Mark& a, const Mark& b) {
        return std::fabs(finite(a.pt->value)) > std::fabs(finite(b.pt->value));
      });
      col.resize(room);
    }
    std::sort(col.begin(), col.end(), [](const Mark& a, const Mark& b) { return a.y < b.y; });
    for (size_t i = 0; i < col.size(); ++i)
      col[i].y = std::max(col[i].y, i == 0 ? minY : col[i - 1].y + stepY);
    for (size_t i = col.size(); i-- > 0;)
      col[i].y = std::min(col[i].y, i + 1 == col.size() ? maxY : col[i + 1].y - stepY);
    for (Mark& mk : col) mk.y = std::clamp(mk.y, minY, maxY);
    const bool right = sideIdx == 0;
    const double boxX = right ? d.c.x() + d.rx + m.leader : d.c.x() - d.rx - m.leader - m.w;
    for (const Mark& mk : col) {
      const QRectF box(boxX, mk.y - m.h / 2, m.w, m.h);
      const QPointF elbow(right ? box.left() - m.leader / 3 : box.right() + m.leader / 3, mk.y);
      out.marks.push_back({QPolygonF({mk.anchor, elbow, QPointF(right ? box.left() : box.right(), mk.y)}),
                           mk.anchor, mk.pt->colour, markText(box, Chart::valueText(mk.pt->value), m.font)});
    }
  }
}

}  // namespace

PieLayout pieLayout(const Chart& chart, const QRectF& plot, double scale) {
  const double total = totalOf(chart.points());
  MarkSize m{markFont(chart, total, plot, scale), 0, 0, 22 * scale};
  for (const Point& pt : chart.points())
    m.w = std::max(m.w, QFontMetricsF(m.font).horizontalAdvance(Chart::valueText(pt.value)) + 10 * scale);
  m.h = QFontMetricsF(m.font).height() + 4 * scale;
  // The marks stand beside the pie only when it keeps its least size there.
  const bool marks = chart.marksVisible() && plot.width() - 2 * (m.w + m.leader + 6 * scale) >= 20 * scale;
  const double side = marks ? m.w + m.leader + 6 * scale : 0;

  const double tilt = chart.view3D() ? 0.55 : 1.0;
  const double depthK = chart.view3D() ? 0.16 : 0.0;
  Disc d;
  // Some air above and below: the pie should not crowd the title and the legend.
  d.rx = std::max(std::min((plot.width() - 2 * side) / 2, (plot.height() * 0.84) / (2 * tilt + depthK)),
                  10 * scale);
  d.ry = d.rx * tilt;
  d.h = d.rx * depthK;
  d.c = QPointF(plot.center().x(), plot.top() + (plot.height() - d.h) / 2);

  PieLayout out;
  out.centre = d.c;
  out.rx = d.rx;
  out.ry = d.ry;
  if (total <= 0) {  // nothing to share out: an empty dish
    emptyDish(out, d, scale);
    return out;
  }
  std::vector<Slice> slices;
  double cum = 0;
  for (const Point& pt : chart.points()) {
    const double a1 = 90 - cum / total * 360;
    cum += std::fabs(finite(pt.value));
    slices.push_back({90 - cum / total * 360, a1, &pt});
  }
  addSlices(out, d, slices);
  if (marks) addMarks(out, d, slices, m, plot, scale);
  return out;
}

}  // namespace fondaro::chart::detail
