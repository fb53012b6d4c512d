// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Measures shared by the chart's layouts: safe values, fonts in the 1/96 inch
// space of the drawing, and the parts each layout computes for the whole.
#include <QFont>
#include <QRectF>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "chart/layout.h"

namespace fondaro::chart::detail {

constexpr double kPi = 3.14159265358979323846;

// Values the geometry can use: not a number and infinities count as 0, and
// magnitudes are bounded so that sums and ranges stay finite.
inline double finite(double v) { return std::isfinite(v) ? std::clamp(v, -1e300, 1e300) : 0.0; }

// A copy of `f` at `points` scaled, as a pixel size in the 1/96 inch space of
// the drawing, so that the painter's scale carries it to any device.
QFont sized(const QFont& f, double points, double scale);
// Verdana at `points`, scaled.
QFont plain(double points, double scale, bool bold = false);

// A value mark centred in `box`.
PlacedText markText(const QRectF& box, const QString& text, const QFont& font);

// The legend of `points` laid in `area`; its frame's height is what it needs.
LegendLayout legendLayout(const std::vector<Point>& points, const QString& title, const QRectF& area,
                          double scale);
// Nothing when the plot leaves the bars too little height.
std::optional<BarsLayout> barsLayout(const Chart& chart, const QRectF& plot, double scale);
PieLayout pieLayout(const Chart& chart, const QRectF& plot, double scale);

}  // namespace fondaro::chart::detail
