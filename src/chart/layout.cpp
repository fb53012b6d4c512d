// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/layout.h"

#include <QFontMetricsF>

#include "chart/measure.h"

namespace fondaro::chart {
namespace detail {

QFont sized(const QFont& f, double points, double scale) {
  QFont out = f;
  out.setPixelSize(std::max(1, int(std::lround(points * 96.0 / 72.0 * scale))));
  out.setStyleStrategy(QFont::PreferAntialias);
  return out;
}

QFont plain(double points, double scale, bool bold) {
  QFont f(QStringLiteral("Verdana"));
  f.setBold(bold);
  return sized(f, points, scale);
}

PlacedText markText(const QRectF& box, const QString& text, const QFont& font) {
  return {box, text, font, Qt::black, Qt::AlignCenter};
}

namespace {

// How many legend entries stand side by side: as many as fit, the rows then
// balanced (twelve entries in 6 + 6 rather than 7 + 5).
int legendColumns(int n, double avail, double entryW, double gap) {
  int cols = n == 0 ? 0 : std::clamp(int((avail + gap) / (entryW + gap)), 1, n);
  if (cols > 1) {
    const int rows = (n + cols - 1) / cols;
    cols = (n + rows - 1) / rows;
  }
  return cols;
}

}  // namespace

// Title on the left, then the entries (colour, label, value) in as many
// columns as fit, row by row; the block is centred.
LegendLayout legendLayout(const std::vector<Point>& points, const QString& title, const QRectF& area,
                          double scale) {
  LegendLayout out;
  const int n = int(points.size());
  if (title.isEmpty() && n == 0) return out;
  const QFont titleFont = plain(9, scale, true);
  const QFont entryFont = plain(9, scale);
  const QFontMetricsF em(entryFont);
  const double pad = 6 * scale;
  const double swatch = 11 * scale;
  const double gap = 14 * scale;
  const double lineH = std::max(em.height(), swatch) + 4 * scale;
  const double titleW = title.isEmpty() ? 0 : QFontMetricsF(titleFont).horizontalAdvance(title) + 12 * scale;
  double labelW = 0;
  double valueW = 0;
  for (const Point& pt : points) {
    labelW = std::max(labelW, em.horizontalAdvance(pt.label));
    valueW = std::max(valueW, em.horizontalAdvance(Chart::valueText(pt.value)));
  }
  const double avail = area.width() - 2 * pad - titleW;
  double entryW = swatch + 5 * scale + labelW + 8 * scale + valueW;
  const int cols = legendColumns(n, avail, entryW, gap);
  if (cols == 1 && entryW > avail) {  // too narrow: labels are cut
    labelW = std::max(0.0, avail - (entryW - labelW));
    entryW = avail;
  }
  const int rows = cols == 0 ? 1 : (n + cols - 1) / cols;
  const double blockW = titleW + (cols > 0 ? cols * entryW + (cols - 1) * gap : 0);
  const double boxW = std::min(area.width(), blockW + 2 * pad);
  out.frame = QRectF(area.center().x() - boxW / 2, area.top(), boxW, rows * lineH + 2 * pad);

  double x = out.frame.left() + pad;
  const double y = out.frame.top() + pad;
  if (!title.isEmpty()) {
    out.title = PlacedText{QRectF(x, y, titleW, lineH), title, titleFont, Qt::black,
                           Qt::AlignLeft | Qt::AlignVCenter};
    x += titleW;
  }
  for (int i = 0; i < n; ++i) {
    const Point& pt = points[size_t(i)];
    const double ex = x + (i % std::max(cols, 1)) * (entryW + gap);
    const double ey = y + (i / std::max(cols, 1)) * lineH;
    LegendLayout::Entry e;
    e.swatch = QRectF(ex, ey + (lineH - swatch) / 2, swatch, swatch);
    e.colour = pt.colour;
    const QRectF labelBox(e.swatch.right() + 5 * scale, ey, labelW, lineH);
    e.label = {labelBox, em.elidedText(pt.label, Qt::ElideRight, labelW), entryFont, Qt::black,
               Qt::AlignLeft | Qt::AlignVCenter};
    e.value = {QRectF(labelBox.right() + 8 * scale, ey, valueW, lineH), Chart::valueText(pt.value), entryFont,
               QColor(0x40, 0x40, 0x40), Qt::AlignRight | Qt::AlignVCenter};
    out.entries.push_back(e);
  }
  return out;
}

}  // namespace detail

using namespace detail;

namespace {

// A font of the text shrunk (down to 60 %) until the text fits `width`.
QFont fitting(const Text& t, double scale, double width) {
  const double pt = t.font.pointSizeF() > 0 ? t.font.pointSizeF() : 10.0;
  QFont f = sized(t.font, pt, scale);
  for (double k = 1.0; k > 0.6 && QFontMetricsF(f).horizontalAdvance(t.text) > width; k -= 0.05)
    f = sized(t.font, pt * k, scale);
  return f;
}

// A line of text across `width` at `y`, its font fitted.
PlacedText line(const Text& t, double scale, double left, double y, double width, bool fromBottom) {
  const QFont f = fitting(t, scale, width);
  const double h = QFontMetricsF(f).height();
  return {QRectF(left, fromBottom ? y - h : y, width, h), t.text, f, t.colour, Qt::AlignCenter};
}

}  // namespace

QRectF PlacedText::extent() const {
  if (align & Qt::TextWordWrap) return box;
  const QFontMetricsF m(font);
  const double w = std::min(box.width(), m.horizontalAdvance(text));
  const double h = std::min(box.height(), m.height());
  const double x = align & Qt::AlignRight     ? box.right() - w
                   : align & Qt::AlignHCenter ? box.center().x() - w / 2
                                              : box.left();
  const double y = align & Qt::AlignBottom    ? box.bottom() - h
                   : align & Qt::AlignVCenter ? box.center().y() - h / 2
                                              : box.top();
  return QRectF(x, y, w, h);
}

ChartLayout layoutChart(const Chart& chart, const QRectF& area) {
  ChartLayout out;
  out.area = area;
  if (area.width() < 40 || area.height() < 40) return out;
  out.drawn = true;
  const double scale = std::clamp(std::min(area.width() / 1000.0, area.height() / 560.0), 0.55, 1.4);
  out.scale = scale;
  const double pad = 10 * scale;
  const double innerW = area.width() - 2 * pad;
  double top = area.top() + pad;
  double bottom = area.bottom() - pad;

  if (!chart.title().text.isEmpty()) {
    out.title = line(chart.title(), scale, area.left() + pad, top, innerW, false);
    top += out.title->box.height() + 6 * scale;
  }
  if (!chart.foot().text.isEmpty()) {
    out.foot = line(chart.foot(), scale, area.left() + pad, bottom, innerW, true);
    bottom -= out.foot->box.height() + 6 * scale;
  }
  const QRectF legendArea(area.left() + pad, top, innerW, bottom - top);
  const double legendH = legendLayout(chart.points(), chart.legendTitle(), legendArea, scale).frame.height();
  if (legendH > 0 && legendH < bottom - top) {
    out.legend = legendLayout(chart.points(), chart.legendTitle(),
                              QRectF(legendArea.left(), bottom - legendH, innerW, legendH), scale);
    bottom -= legendH + 8 * scale;
  }
  out.plot = QRectF(area.left() + pad, top, innerW, bottom - top);
  if (out.plot.height() > 30 * scale && out.plot.width() > 60 * scale) {
    if (chart.seriesKind() == SeriesKind::Pie)
      out.pie = pieLayout(chart, out.plot, scale);
    else
      out.bars = barsLayout(chart, out.plot, scale);
  }
  return out;
}

}  // namespace fondaro::chart
