// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing a chart: the print dialog with the copies preset, then the chart
// alone on a landscape page, once per copy.
class QWidget;

namespace fondaro {

namespace chart {
class Chart;
}

// False when nothing was printed (cancelled, or the printer failed and said so).
bool printChart(QWidget* parent, const chart::Chart& chart, int copies);

}  // namespace fondaro
