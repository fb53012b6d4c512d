// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The chart on screen: a white panel with the chart engine's drawing, shared
// by the statistics' charts and the charts of the totals by category.
#include <QPainter>
#include <QWidget>

#include "chart/chart.h"

namespace fondaro {

class ChartView : public QWidget {
 public:
  explicit ChartView(QWidget* parent, const QString& name = u"ChartStats"_qs) : QWidget(parent) {
    setObjectName(name);
  }
  chart::Chart chart;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x46, 0x82, 0xB4), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    chart.paint(p, QRectF(rect()).adjusted(4, 4, -4, -4));
  }
};

}  // namespace fondaro
