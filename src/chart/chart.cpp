// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/chart.h"

#include "chart/measure.h"

namespace fondaro::chart {

Chart::Chart() {
  title_.font = QFont(QStringLiteral("Verdana"), 20, QFont::Bold);
  foot_.font = QFont(QStringLiteral("Verdana"), 11, QFont::Bold);
}

void Chart::addPoint(const QString& label, double value, const QColor& colour) {
  points_.push_back({label, value, colour});
}

QString Chart::valueText(double v) {
  v = detail::finite(v);
  if (std::fabs(v) >= 1e15) {  // the general form's exponent notation: "1,5E16"
    QString t = QString::number(v, 'g', 15).replace(u'.', u',');
    return t.replace(u"e+"_qs, u"E"_qs).replace(u"e-"_qs, u"E-"_qs);
  }
  if (v == std::floor(v)) return QString::number(v, 'f', 0);
  return QString::number(v, 'f', 2).replace(u'.', u',');
}

}  // namespace fondaro::chart
