// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/CategorieOutput.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "chart/chart.h"
#include "core/spreadsheet.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/form.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "journal/TextsCategorie.h"
#include "report/report.h"
#include "stats/ChartPrint.h"
#include "stats/ChartView.h"

namespace fondaro {
namespace {

namespace t = categoryTexts;

// The chart's colours, one per slice, "Altre" grey.
constexpr QRgb kColours[] = {0xFF4682B4, 0xFFD04498, 0xFF008000, 0xFFFFA500, 0xFF800000,
                             0xFF87CEEB, 0xFF9370DB, 0xFFDAA520, 0xFF808080};

class TfrmGraficoCategorie : public gui::Form {
 public:
  TfrmGraficoCategorie(QWidget* owner, const QString& title, const QString& foot,
                       const std::vector<categories::ChartSlice>& slices)
      : Form(owner, Kind::Dialog, Placement::Owner) {
    setObjectName(u"frmGraficoCategorie"_qs);
    setWindowTitle(gui::windowCaption(title));
    setFixedSize(980, 640);
    auto* v = new QVBoxLayout(this);
    area_ = new ChartView(this, u"chtCategorie"_qs);
    chart::Chart& c = area_->chart;
    c.setTitle({title, gui::windowFont("Verdana", 18, true), QColor::fromRgba(0xFFD04498)});
    c.setFoot({foot, gui::windowFont("Verdana", 10, true), QColor::fromRgba(0xFF7294F9)});
    c.setLegendTitle(t::kChartLegend.toString());
    for (size_t i = 0; i < slices.size(); ++i)
      c.addPoint(slices[i].label, double(slices[i].cents) / 100.0,
                 QColor::fromRgba(slices[i].label == u"Altre" ? kColours[8] : kColours[i % 8]));
    v->addWidget(area_, 1);
    auto* h = new QHBoxLayout;
    QPushButton* barre = gui::layoutButton(this, "btnBarre", t::kBarre, 110);
    QPushButton* torta = gui::layoutButton(this, "btnTorta", t::kTorta, 110);
    QPushButton* stampa = gui::layoutButton(this, "btnStampa", t::kStampa, 110);
    QPushButton* esci = gui::layoutButton(this, "btnEsci", t::kEsci, 110);
    for (QPushButton* b : {barre, torta, stampa}) h->addWidget(b);
    h->addStretch();
    h->addWidget(esci);
    v->addLayout(h);
    connect(barre, &QPushButton::clicked, this, [this] { setKind(chart::SeriesKind::Bars); });
    connect(torta, &QPushButton::clicked, this, [this] { setKind(chart::SeriesKind::Pie); });
    connect(stampa, &QPushButton::clicked, this, [this] { printChart(this, area_->chart, 1); });
    connect(esci, &QPushButton::clicked, this, &QWidget::close);
  }

 private:
  void setKind(chart::SeriesKind k) {
    area_->chart.setSeriesKind(k);
    area_->update();
  }
  ChartView* area_;
};

}  // namespace

bool outputReport(QWidget* owner, report::Report& r, gui::PrintTarget target, const QString& pdfFile) {
  if (target != gui::PrintTarget::Pdf) return gui::print(owner, r, target);
  const QString path = gui::programFolder() + pdfFile;
  if (!gui::print(owner, r, gui::PrintTarget::Pdf, 1, path)) return false;
  if (gui::question(owner, t::kAskOpenPdf.toString())) gui::TMisc::Open(u'"' + path + u'"');
  return true;
}

void exportSheet(QWidget* owner, const QByteArray& document, const QString& fileName) {
  const QString path = gui::programFolder() + fileName;
  try {
    writeFileReplacing(path, document);
  } catch (const ExportWriteError& e) {
    gui::message(owner, t::kExportFailed.toString() + u"\n\n"_qs + e.failure().italian());
    return;
  }
  if (gui::question(owner, t::kAskOpenSheet.toString())) gui::TMisc::Open(u'"' + path + u'"');
}

void showCategoryChart(QWidget* owner, const QString& title, const QString& foot,
                       const std::vector<categories::ChartSlice>& slices) {
  if (slices.empty()) {
    gui::notice(owner, gui::Icon::Information, t::kNothingToChart.toString());
    return;
  }
  TfrmGraficoCategorie w(owner, title, foot, slices);
  w.showModal();
}

}  // namespace fondaro
