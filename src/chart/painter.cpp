// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a chart's layout: pens, brushes and the order of the strokes, no
// measuring.
#include <QPageSize>
#include <QPainter>

#include "chart/layout.h"

namespace fondaro::chart {
namespace {

QColor outlineOf(const QColor& c) { return c.darker(170); }

void drawText(QPainter& p, const PlacedText& t) {
  p.setFont(t.font);
  p.setPen(t.colour);
  p.drawText(t.box, t.align, t.text);
}

void drawMark(QPainter& p, const PlacedText& mark, double scale) {
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 0.8 * scale));
  p.setBrush(QColor(0xFF, 0xFF, 0xE1));
  p.drawRoundedRect(mark.box, 3 * scale, 3 * scale);
  drawText(p, mark);
}

void drawLegend(QPainter& p, const LegendLayout& l, double scale) {
  p.setPen(QPen(QColor(0xA0, 0xA8, 0xB8), 1 * scale));
  p.setBrush(QColor(0xFF, 0xFF, 0xFF, 0xE8));
  p.drawRoundedRect(l.frame, 4 * scale, 4 * scale);
  if (l.title) drawText(p, *l.title);
  for (const LegendLayout::Entry& e : l.entries) {
    p.setPen(QPen(outlineOf(e.colour), 0.8 * scale));
    p.setBrush(e.colour);
    p.drawRect(e.swatch);
    drawText(p, e.label);
    drawText(p, e.value);
  }
}

void drawBars(QPainter& p, const BarsLayout& b, double scale) {
  p.setPen(QPen(QColor(0x9A, 0xA4, 0xB4), 1 * scale));
  p.setBrush(QColor(0xEE, 0xF2, 0xF8));
  p.drawPolygon(b.backWall);
  p.setBrush(QColor(0xE0, 0xE6, 0xF0));
  p.drawPolygon(b.sideWall);
  p.setBrush(QColor(0xD2, 0xDA, 0xE6));
  p.drawPolygon(b.floor);
  for (const BarsLayout::Tick& t : b.ticks) {
    p.setPen(QPen(t.zero ? QColor(0x70, 0x78, 0x88) : QColor(0xC4, 0xCC, 0xD8), 1 * scale));
    p.drawLine(t.side);
    p.drawLine(t.back);
    if (t.value) drawText(p, *t.value);
  }
  for (const BarsLayout::Bar& bar : b.bars) {
    p.setPen(QPen(outlineOf(bar.colour), 0.8 * scale));
    if (!bar.side.isEmpty()) {
      p.setBrush(bar.colour.darker(130));
      p.drawPolygon(bar.side);
      p.setBrush(bar.colour.lighter(112));
      p.drawPolygon(bar.top);
    }
    if (bar.face.height() > 0.5) {
      p.setBrush(bar.colour);
      p.drawRect(bar.face);
    }
  }
  for (const PlacedText& label : b.labels) drawText(p, label);
  for (const PlacedText& mark : b.marks) drawMark(p, mark, scale);
}

void drawPie(QPainter& p, const PieLayout& pie, double scale) {
  if (pie.empty) {
    const QColor grey(0xE4, 0xE8, 0xEE);
    p.setPen(QPen(QColor(0xA0, 0xA8, 0xB4), 1 * scale));
    if (!pie.dishRim.isEmpty()) {
      p.setBrush(grey.darker(120));
      p.drawPolygon(pie.dishRim);
    }
    p.setBrush(grey);
    p.drawEllipse(pie.centre, pie.rx, pie.ry);
    drawText(p, pie.emptyText);
    return;
  }
  for (const PieLayout::Piece& rim : pie.rims) {
    p.setPen(QPen(outlineOf(rim.colour), 0.8 * scale));
    p.setBrush(rim.colour.darker(135));
    p.drawPolygon(rim.polygon);
  }
  for (const PieLayout::Piece& face : pie.faces) {
    p.setPen(QPen(outlineOf(face.colour), 0.8 * scale));
    p.setBrush(face.colour);
    p.drawPolygon(face.polygon);
  }
  for (const PieLayout::Callout& m : pie.marks) {
    p.setPen(QPen(outlineOf(m.colour), 1 * scale));
    p.drawPolyline(m.leader);
    p.setBrush(m.colour);
    p.drawEllipse(m.anchor, 1.8 * scale, 1.8 * scale);
    drawMark(p, m.mark, scale);
  }
}

}  // namespace

void paintLayout(QPainter& p, const ChartLayout& layout) {
  if (!layout.drawn) return;
  p.save();
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  if (layout.title) drawText(p, *layout.title);
  if (layout.foot) drawText(p, *layout.foot);
  if (!layout.legend.frame.isNull()) drawLegend(p, layout.legend, layout.scale);
  if (layout.bars) drawBars(p, *layout.bars, layout.scale);
  if (layout.pie) drawPie(p, *layout.pie, layout.scale);
  p.restore();
}

void Chart::paint(QPainter& painter, const QRectF& area) const {
  paintLayout(painter, layoutChart(*this, area));
}

QImage Chart::toImage(const QSize& size) const {
  QImage img(size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::white);
  QPainter p(&img);
  paint(p, QRectF(QPointF(0, 0), QSizeF(size)));
  p.end();
  return img;
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
