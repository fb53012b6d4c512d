// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/ChartPrint.h"

#include "chart/chart.h"
#include "gui/print.h"

namespace fondaro {
namespace {

// The chart alone on one landscape page, drawn as it is shown.
class ChartDocument : public gui::PrintDocument {
 public:
  explicit ChartDocument(const chart::Chart& chart) : chart_(chart) {}
  QString title() const override { return chart_.title().text; }
  QPageLayout pageLayout() const override { return chart::ChartPage::pageLayout(); }
  int paginate(QPaintDevice&) override { return 1; }
  void paintPage(QPainter& painter, int) override { chart::ChartPage(chart_).paint(painter); }

 private:
  const chart::Chart& chart_;
};

}  // namespace

bool printChart(QWidget* parent, const chart::Chart& chart, int copies) {
  ChartDocument doc(chart);
  return gui::print(parent, doc, gui::PrintTarget::PrintDialog, copies);
}

}  // namespace fondaro
