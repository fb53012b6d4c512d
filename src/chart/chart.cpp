#include "chart/chart.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

namespace fondaro::chart {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Values the geometry can use: not a number and infinities count as 0, and
// magnitudes are bounded so that sums and ranges stay finite.
double finite(double v) { return std::isfinite(v) ? std::clamp(v, -1e300, 1e300) : 0.0; }

// A copy of `f` at `points` scaled, as a pixel size in the 1/96 inch space of
// the drawing, so that the painter's scale carries it to any device.
QFont sized(const QFont& f, double points, double scale) {
  QFont out = f;
  out.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0 * scale))));
  out.setStyleStrategy(QFont::PreferAntialias);
  return out;
}

QFont plain(double points, double scale, bool bold = false) {
  QFont f(QStringLiteral("Verdana"));
  f.setBold(bold);
  return sized(f, points, scale);
}

double pointSizeOf(const QFont& f) { return f.pointSizeF() > 0 ? f.pointSizeF() : 10.0; }

// A font of the text shrunk (down to 60 %) until the text fits `width`.
QFont fitting(const Text& t, double scale, double width) {
  double pt = pointSizeOf(t.font);
  QFont f = sized(t.font, pt, scale);
  for (double k = 1.0; k > 0.6 && QFontMetricsF(f).horizontalAdvance(t.text) > width; k -= 0.05)
    f = sized(t.font, pt * k, scale);
  return f;
}

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

void drawMark(QPainter& p, const QRectF& box, const QString& text, const QFont& font, double scale) {
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.8 * scale));
  p.setBrush(QColor(0xFF, 0xFF, 0xE1));
  p.drawRoundedRect(box, 3 * scale, 3 * scale);
  p.setPen(Qt::black);
  p.setFont(font);
  p.drawText(box, Qt::AlignCenter, text);
}

QRectF clampInto(QRectF r, const QRectF& bounds) {
  if (r.right() > bounds.right()) r.moveRight(bounds.right());
  if (r.left() < bounds.left()) r.moveLeft(bounds.left());
  if (r.bottom() > bounds.bottom()) r.moveBottom(bounds.bottom());
  if (r.top() < bounds.top()) r.moveTop(bounds.top());
  return r;
}

QColor outlineOf(const QColor& c) { return c.darker(170); }

}  // namespace

Chart::Chart() {
  title_.font = QFont(QStringLiteral("Verdana"), 20, QFont::Bold);
  foot_.font = QFont(QStringLiteral("Verdana"), 11, QFont::Bold);
}

void Chart::addPoint(const QString& label, double value, const QColor& colour) {
  points_.push_back({label, value, colour});
}

QString Chart::valueText(double v) {
  v = finite(v);
  if (std::fabs(v) >= 1e15) {  // the general form's exponent notation: "1,5E16"
    QString t = QString::number(v, 'g', 15).replace(u'.', u',');
    return t.replace(u"e+"_qs, u"E"_qs).replace(u"e-"_qs, u"E-"_qs);
  }
  if (v == std::floor(v)) return QString::number(v, 'f', 0);
  return QString::number(v, 'f', 2).replace(u'.', u',');
}

QImage Chart::toImage(const QSize& size) const {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
  p.end();
  return img;
}

void Chart::paint(QPainter& p, const QRectF& area) const {
  if (area.width() < 40 || area.height() < 40) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  const double scale = std::clamp(std::min(area.width() / 1000.0, area.height() / 560.0), 0.55, 1.4);
  const double pad = 10 * scale;
  const double innerW = area.width() - 2 * pad;
  double top = area.top() + pad;
  double bottom = area.bottom() - pad;

  if (!title_.text.isEmpty()) {
    const QFont f = fitting(title_, scale, innerW);
    const double h = QFontMetricsF(f).height();
    p.setFont(f);
    p.setPen(title_.colour);
    p.drawText(QRectF(area.left() + pad, top, innerW, h), Qt::AlignCenter, title_.text);
    top += h + 6 * scale;
  }
  if (!foot_.text.isEmpty()) {
    const QFont f = fitting(foot_, scale, innerW);
    const double h = QFontMetricsF(f).height();
    p.setFont(f);
    p.setPen(foot_.colour);
    p.drawText(QRectF(area.left() + pad, bottom - h, innerW, h), Qt::AlignCenter, foot_.text);
    bottom -= h + 6 * scale;
  }
  const QRectF legendArea(area.left() + pad, top, innerW, bottom - top);
  const double legendH = paintLegend(p, legendArea, scale, true);
  if (legendH > 0 && legendH < bottom - top) {
    paintLegend(p, QRectF(legendArea.left(), bottom - legendH, innerW, legendH), scale, false);
    bottom -= legendH + 8 * scale;
  }
  const QRectF plot(area.left() + pad, top, innerW, bottom - top);
  if (plot.height() > 30 * scale && plot.width() > 60 * scale) {
    if (kind_ == SeriesKind::Pie) paintPie(p, plot, scale);
    else paintBars(p, plot, scale);
  }
  p.restore();
}

// Title on the left, then the entries (colour, label, value) in as many
// columns as fit, row by row; the block is centred. Returns its height.
double Chart::paintLegend(QPainter& p, const QRectF& area, double scale, bool measureOnly) const {
  const QFont titleFont = plain(9, scale, true);
  const QFont entryFont = plain(9, scale);
  const QFontMetricsF tm(titleFont);
  const QFontMetricsF em(entryFont);
  const double pad = 6 * scale;
  const double swatch = 11 * scale;
  const double gap = 14 * scale;
  const double lineH = std::max(em.height(), swatch) + 4 * scale;
  const double titleW = legendTitle_.isEmpty() ? 0 : tm.horizontalAdvance(legendTitle_) + 12 * scale;
  double labelW = 0;
  double valueW = 0;
  for (const Point& pt : points_) {
    labelW = std::max(labelW, em.horizontalAdvance(pt.label));
    valueW = std::max(valueW, em.horizontalAdvance(valueText(pt.value)));
  }
  const double avail = area.width() - 2 * pad - titleW;
  double entryW = swatch + 5 * scale + labelW + 8 * scale + valueW;
  const int n = int(points_.size());
  int cols = n == 0 ? 0 : std::clamp(int((avail + gap) / (entryW + gap)), 1, n);
  if (cols > 1) {
    // Balance the rows: twelve entries in 6 + 6 rather than 7 + 5.
    const int rows = (n + cols - 1) / cols;
    cols = (n + rows - 1) / rows;
  }
  if (cols == 1 && entryW > avail) {  // too narrow: labels are cut
    labelW = std::max(0.0, avail - (entryW - labelW));
    entryW = avail;
  }
  const int rows = cols == 0 ? 1 : (n + cols - 1) / cols;
  const double height = rows * lineH + 2 * pad;
  if (legendTitle_.isEmpty() && n == 0) return 0;
  if (measureOnly) return height;

  const double blockW = titleW + (cols > 0 ? cols * entryW + (cols - 1) * gap : 0);
  const double boxW = std::min(area.width(), blockW + 2 * pad);
  const QRectF box(area.center().x() - boxW / 2, area.top(), boxW, height);
  p.setPen(QPen(QColor(0xA0, 0xA8, 0xB8), 1 * scale));
  p.setBrush(QColor(0xFF, 0xFF, 0xFF, 0xE8));
  p.drawRoundedRect(box, 4 * scale, 4 * scale);
  double x = box.left() + pad;
  const double y = box.top() + pad;
  if (!legendTitle_.isEmpty()) {
    p.setFont(titleFont);
    p.setPen(Qt::black);
    p.drawText(QRectF(x, y, titleW, lineH), Qt::AlignLeft | Qt::AlignVCenter, legendTitle_);
    x += titleW;
  }
  p.setFont(entryFont);
  for (int i = 0; i < n; ++i) {
    const Point& pt = points_[size_t(i)];
    const double ex = x + (i % std::max(cols, 1)) * (entryW + gap);
    const double ey = y + (i / std::max(cols, 1)) * lineH;
    const QRectF sw(ex, ey + (lineH - swatch) / 2, swatch, swatch);
    p.setPen(QPen(outlineOf(pt.colour), 0.8 * scale));
    p.setBrush(pt.colour);
    p.drawRect(sw);
    p.setPen(Qt::black);
    const QRectF labelBox(sw.right() + 5 * scale, ey, labelW, lineH);
    p.drawText(labelBox, Qt::AlignLeft | Qt::AlignVCenter, em.elidedText(pt.label, Qt::ElideRight, labelW));
    p.setPen(QColor(0x40, 0x40, 0x40));
    p.drawText(QRectF(labelBox.right() + 8 * scale, ey, valueW, lineH), Qt::AlignRight | Qt::AlignVCenter,
               valueText(pt.value));
  }
  return height;
}

void Chart::paintBars(QPainter& p, const QRectF& plot, double scale) const {
  const int n = int(points_.size());
  const Axis axis = valueAxis(points_);
  const QFont axisFont = plain(8, scale);
  const QFontMetricsF am(axisFont);

  const int ticks = std::clamp(int(std::lround((axis.max - axis.min) / axis.step)), 1, 50);
  auto tick = [&](int k) { return axis.min + (axis.max - axis.min) * k / ticks; };
  double axisW = 0;
  for (int k = 0; k <= ticks; ++k) axisW = std::max(axisW, am.horizontalAdvance(valueText(tick(k))));
  const double depth = view3D_ ? std::clamp(plot.width() * 0.03, 8 * scale, 26 * scale) : 0;
  // Orthogonal projection: depth goes up and to the right at 45 degrees.
  const double dx = depth * (orthogonal_ ? 0.7071 : 0.8);
  const double dy = depth * (orthogonal_ ? 0.7071 : 0.5);
  const double left = plot.left() + axisW + 8 * scale;
  const double right = plot.right() - dx - 4 * scale;
  const double width = std::max(1.0, right - left);
  const double slot = width / std::max(n, 1);

  // Labels: shrink to a floor, then two rows, then cut; never overlapping.
  double labelPt = 9;
  QFont labelFont = plain(labelPt, scale);
  auto widestLabel = [&](const QFont& f) {
    double w = 0;
    for (const Point& pt : points_) w = std::max(w, QFontMetricsF(f).horizontalAdvance(pt.label));
    return w;
  };
  while (widestLabel(labelFont) > slot * 0.94 && labelPt > 6.5) labelFont = plain(labelPt -= 0.5, scale);
  const bool labelRows2 = widestLabel(labelFont) > slot * 0.94;
  const double labelMax = slot * (labelRows2 ? 1.9 : 0.94);
  const QFontMetricsF lm(labelFont);

  double markPt = 8.5;
  QFont markFont = plain(markPt, scale, true);
  auto markBoxW = [&](const QFont& f) {
    double w = 0;
    for (const Point& pt : points_) w = std::max(w, QFontMetricsF(f).horizontalAdvance(valueText(pt.value)));
    return w + 8 * scale;
  };
  while (markBoxW(markFont) > slot * 0.98 && markPt > 6.5) markFont = plain(markPt -= 0.5, scale, true);
  const bool marksRows2 = markBoxW(markFont) > slot * 0.98;
  const double markW = std::min(markBoxW(markFont), slot * 1.96);
  const double markH = QFontMetricsF(markFont).height() + 4 * scale;

  const double labelsH = lm.height() * (labelRows2 ? 2 : 1) + 6 * scale;
  const double marksH = marks_ && n > 0 ? markH * (marksRows2 ? 2 : 1) + 6 * scale : 0;
  const double top = plot.top() + marksH + dy;
  const double bottom = plot.bottom() - labelsH;
  if (bottom - top < 20 * scale) return;
  const QRectF front(left, top, width, bottom - top);
  const double span = axis.max - axis.min;
  auto ymap = [&](double v) { return front.bottom() - (finite(v) - axis.min) / span * front.height(); };
  const QPointF back(dx, -dy);

  // Walls and floor.
  p.setPen(QPen(QColor(0x9A, 0xA4, 0xB4), 1 * scale));
  p.setBrush(QColor(0xEE, 0xF2, 0xF8));
  p.drawPolygon(QPolygonF({front.topLeft() + back, front.topRight() + back, front.bottomRight() + back,
                           front.bottomLeft() + back}));
  p.setBrush(QColor(0xE0, 0xE6, 0xF0));
  p.drawPolygon(QPolygonF({front.topLeft(), front.topLeft() + back, front.bottomLeft() + back, front.bottomLeft()}));
  p.setBrush(QColor(0xD2, 0xDA, 0xE6));
  p.drawPolygon(
      QPolygonF({front.bottomLeft(), front.bottomRight(), front.bottomRight() + back, front.bottomLeft() + back}));

  // Grid lines on the walls, values on the axis.
  p.setFont(axisFont);
  for (int k = 0; k <= ticks; ++k) {
    const double t = tick(k);
    const double y = ymap(t);
    p.setPen(QPen(t == 0 ? QColor(0x70, 0x78, 0x88) : QColor(0xC4, 0xCC, 0xD8), 1 * scale));
    p.drawLine(QPointF(front.left(), y), QPointF(front.left(), y) + back);
    p.drawLine(QPointF(front.left(), y) + back, QPointF(front.right(), y) + back);
    p.setPen(QColor(0x30, 0x30, 0x30));
    p.drawText(QRectF(plot.left(), y - am.height() / 2, axisW, am.height()), Qt::AlignRight | Qt::AlignVCenter,
               valueText(t));
  }

  const double barW = std::min(slot * 0.62, 150 * scale);
  const QPointF barBack = back * 0.76;
  const QPointF barShift = back * 0.12;
  const double yZero = ymap(std::clamp(0.0, axis.min, axis.max));
  for (int i = 0; i < n; ++i) {
    const Point& pt = points_[size_t(i)];
    const double x0 = front.left() + i * slot + (slot - barW) / 2;
    const double yv = ymap(pt.value);
    const double yTop = std::min(yv, yZero);
    const double yBottom = std::max(yv, yZero);
    const QRectF face(QPointF(x0, yTop) + barShift, QPointF(x0 + barW, yBottom) + barShift);
    p.setPen(QPen(outlineOf(pt.colour), 0.8 * scale));
    if (view3D_) {
      p.setBrush(pt.colour.darker(130));
      p.drawPolygon(QPolygonF({face.topRight(), face.topRight() + barBack, face.bottomRight() + barBack,
                               face.bottomRight()}));
      p.setBrush(pt.colour.lighter(112));
      p.drawPolygon(
          QPolygonF({face.topLeft(), face.topRight(), face.topRight() + barBack, face.topLeft() + barBack}));
    }
    if (face.height() > 0.5) {
      p.setBrush(pt.colour);
      p.drawRect(face);
    }
  }

  p.setFont(labelFont);
  p.setPen(Qt::black);
  for (int i = 0; i < n; ++i) {
    const double cx = front.left() + (i + 0.5) * slot;
    const double row = labelRows2 ? i % 2 : 0;
    const QRectF box(cx - labelMax / 2, front.bottom() + 4 * scale + row * lm.height(), labelMax, lm.height());
    p.drawText(box, Qt::AlignHCenter | Qt::AlignTop,
               lm.elidedText(points_[size_t(i)].label, Qt::ElideRight, labelMax));
  }

  if (!marks_) return;
  const QRectF bounds(plot.left(), plot.top(), plot.width(), front.bottom() + barShift.y() - plot.top());
  for (int i = 0; i < n; ++i) {
    const Point& pt = points_[size_t(i)];
    const double cx = front.left() + (i + 0.5) * slot + barShift.x() + barBack.x() / 2;
    const double row = marksRows2 ? i % 2 : 0;
    const double yv = ymap(pt.value);
    QRectF box;
    if (finite(pt.value) >= 0) {
      const double anchor = std::min(yv, yZero) + barShift.y() + barBack.y();
      box = QRectF(cx - markW / 2, anchor - 3 * scale - markH * (row + 1), markW, markH);
    } else {
      box = QRectF(cx - markW / 2, yv + barShift.y() + 3 * scale + markH * row, markW, markH);
    }
    drawMark(p, clampInto(box, bounds), QFontMetricsF(markFont).elidedText(valueText(pt.value), Qt::ElideRight, markW),
             markFont, scale);
  }
}

void Chart::paintPie(QPainter& p, const QRectF& plot, double scale) const {
  double total = 0;
  for (const Point& pt : points_) total += std::fabs(finite(pt.value));

  // Marks stand in two columns beside the pie; their font shrinks until the
  // fullest column fits the height.
  double markPt = 8.5;
  QFont markFont = plain(markPt, scale, true);
  int perSide[2] = {0, 0};
  {
    double cum = 0;
    for (const Point& pt : points_) {
      const double v = std::fabs(finite(pt.value));
      if (v == 0 || total <= 0) continue;
      const double mid = 90 - (cum + v / 2) / total * 360;
      ++perSide[std::cos(mid * kPi / 180) >= 0 ? 0 : 1];
      cum += v;
    }
  }
  const int fullest = std::max(perSide[0], perSide[1]);
  auto markH = [&] { return QFontMetricsF(markFont).height() + 4 * scale; };
  while (marks_ && fullest * (markH() + 2 * scale) > plot.height() && markPt > 6)
    markFont = plain(markPt -= 0.5, scale, true);
  double markW = 0;
  for (const Point& pt : points_)
    markW = std::max(markW, QFontMetricsF(markFont).horizontalAdvance(valueText(pt.value)) + 10 * scale);
  const double mh = markH();
  const double leader = 22 * scale;
  const double side = marks_ ? markW + leader + 6 * scale : 0;

  const double tilt = view3D_ ? 0.55 : 1.0;
  const double depthK = view3D_ ? 0.16 : 0.0;
  // Some air above and below: the pie should not crowd the title and the legend.
  double rx = std::min((plot.width() - 2 * side) / 2, (plot.height() * 0.84) / (2 * tilt + depthK));
  rx = std::max(rx, 10 * scale);
  const double ry = rx * tilt;
  const double h = rx * depthK;
  const QPointF c(plot.center().x(), plot.top() + (plot.height() - h) / 2);
  auto at = [&](double deg, double drop = 0) {
    const double r = deg * kPi / 180;
    return QPointF(c.x() + rx * std::cos(r), c.y() - ry * std::sin(r) + drop);
  };
  auto arc = [&](QPolygonF& poly, double from, double to, double drop) {
    const int steps = std::max(2, int(std::ceil(std::fabs(to - from) / 2)));
    for (int k = 0; k <= steps; ++k) poly << at(from + (to - from) * k / steps, drop);
  };

  if (total <= 0) {  // nothing to share out: an empty dish
    const QColor grey(0xE4, 0xE8, 0xEE);
    p.setPen(QPen(QColor(0xA0, 0xA8, 0xB4), 1 * scale));
    if (h > 0) {
      QPolygonF rim;
      arc(rim, 180, 360, 0);
      arc(rim, 360, 180, h);
      p.setBrush(grey.darker(120));
      p.drawPolygon(rim);
    }
    p.setBrush(grey);
    p.drawEllipse(c, rx, ry);
    p.setPen(QColor(0x60, 0x68, 0x78));
    p.setFont(plain(10, scale, true));
    p.drawText(QRectF(c.x() - rx, c.y() - ry, 2 * rx, 2 * ry), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("Nessun importo da rappresentare"));
    return;
  }

  struct Slice {
    double a0, a1;
    const Point* pt;
  };
  std::vector<Slice> slices;
  double cum = 0;
  for (const Point& pt : points_) {
    const double v = std::fabs(finite(pt.value));
    const double a1 = 90 - cum / total * 360;
    cum += v;
    const double a0 = 90 - cum / total * 360;
    slices.push_back({a0, a1, &pt});
  }

  // The visible rim is the front half (180 to 360 degrees); each slice shows
  // the part of it that it covers. The top faces come last and cover the rest.
  for (const Slice& s : slices) {
    for (int k = -2; k <= 1 && h > 0; ++k) {
      const double lo = std::max(s.a0, 180.0 + 360 * k);
      const double hi = std::min(s.a1, 360.0 + 360 * k);
      if (hi - lo <= 1e-9) continue;
      QPolygonF rim;
      arc(rim, lo, hi, 0);
      arc(rim, hi, lo, h);
      p.setPen(QPen(outlineOf(s.pt->colour), 0.8 * scale));
      p.setBrush(s.pt->colour.darker(135));
      p.drawPolygon(rim);
    }
  }
  for (const Slice& s : slices) {
    if (s.a1 - s.a0 <= 1e-9) continue;
    QPolygonF face;
    if (s.a1 - s.a0 < 359.999) face << c;
    arc(face, s.a1, s.a0, 0);
    p.setPen(QPen(outlineOf(s.pt->colour), 0.8 * scale));
    p.setBrush(s.pt->colour);
    p.drawPolygon(face);
  }

  if (!marks_) return;
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
    const double drop = std::sin(r) < 0 ? h : 0;
    const QPointF anchor = at(mid, drop / 2);
    const double wantY = c.y() - ry * 1.25 * std::sin(r) + drop;
    columns[std::cos(r) >= 0 ? 0 : 1].push_back({anchor, wantY, s.pt});
  }
  for (int sideIdx = 0; sideIdx < 2; ++sideIdx) {
    auto& col = columns[sideIdx];
    std::sort(col.begin(), col.end(), [](const Mark& a, const Mark& b) { return a.y < b.y; });
    const double minY = plot.top() + mh / 2;
    const double maxY = plot.bottom() - mh / 2;
    const double stepY = mh + 2 * scale;
    for (size_t i = 0; i < col.size(); ++i) {
      col[i].y = std::max(col[i].y, i == 0 ? minY : col[i - 1].y + stepY);
    }
    for (size_t i = col.size(); i-- > 0;) {
      col[i].y = std::min(col[i].y, i + 1 == col.size() ? maxY : col[i + 1].y - stepY);
    }
    for (Mark& m : col) m.y = std::clamp(m.y, minY, maxY);
    const bool right = sideIdx == 0;
    const double boxX = right ? c.x() + rx + leader : c.x() - rx - leader - markW;
    for (const Mark& m : col) {
      const QRectF box(boxX, m.y - mh / 2, markW, mh);
      const QPointF elbow(right ? box.left() - leader / 3 : box.right() + leader / 3, m.y);
      p.setPen(QPen(outlineOf(m.pt->colour), 1 * scale));
      p.drawPolyline(QPolygonF({m.anchor, elbow, QPointF(right ? box.left() : box.right(), m.y)}));
      p.setBrush(m.pt->colour);
      p.drawEllipse(m.anchor, 1.8 * scale, 1.8 * scale);
      drawMark(p, box, valueText(m.pt->value), markFont, scale);
    }
  }
}

QPageLayout ChartPage::pageLayout() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

void ChartPage::paint(QPainter& painter) const {
  QPaintDevice* d = painter.device();
  if (!d) return;
  const double s = std::max(1, d->logicalDpiX()) / 96.0;
  painter.save();
  painter.scale(s, s);
  chart_.paint(painter, QRectF(0, 0, d->width() / s, d->height() / s));
  painter.restore();
}

}  // namespace fondaro::chart
