// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/StatsWindow.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "WindowSet.h"
#include "chart/chart.h"
#include "core/archive.h"
#include "core/field.h"
#include "core/monthlytotals.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "stats/ChartPrint.h"
#include "stats/ChartView.h"
#include "stats/Texts.h"

namespace fondaro {

namespace {

constexpr int kWidth = 1220;
constexpr int kHeight = 712;
constexpr int kMaxCopies = 999;

struct MonthPoint {
  const char* label;
  const char* memName;
  QRgb colour;
};
const MonthPoint kMonths[12] = {
    {"Gennaio", "memGennaio", 0xFFFF0000},     {"Febbraio", "memFebbraio", 0xFF0000FF},
    {"Marzo", "memMarzo", 0xFFFFE4C4},         {"Aprile", "memAprile", 0xFFFF00FF},
    {"Maggio", "memMaggio", 0xFFC0DCC0},       {"Giugno", "memGiugno", 0xFFFFFF00},
    {"Luglio", "memLuglio", 0xFF00FF00},       {"Agosto", "memAgosto", 0xFFC0C0C0},
    {"Settembre", "memSettembre", 0xFFF0FBFF}, {"Ottobre", "memOttobre", 0xFF87CEEB},
    {"Novembre", "memNovembre", 0xFF800000},   {"Dicembre", "memDicembre", 0xFF008000},
};
const MonthPoint kAnnual[2] = {
    {"Entrate", "memGuadagni", 0xFF008000},
    {"Uscite", "memSpese", 0xFFFF0000},
};

QString text(const char16_t* t) { return QString::fromUtf16(t); }

QString badAmountMessage(const ChartFigures& f) {
  return text(statsTexts::kBadAmount).arg(f.badAmountPosition).arg(trimmedText(f.badAmountText));
}

}  // namespace

void showStatsGuide(QWidget* owner) {
  showGuide(owner, text(statsTexts::kGuideTitle), gui::guidePage(u"grafici"_qs));
}

StatsWindow::StatsWindow(QWidget* owner, const Sheet& sheet) : Form(owner, Kind::Work), sheet_(sheet) {
  setObjectName(QString::fromLatin1(sheet.objectName));
  setWindowTitle(gui::windowCaption(text(sheet.texts.caption)));
  gui::setFormatSettings();
  setGradientBackground(true);
  QWidget* c = makeContainer(kWidth, kHeight);
  placeControls(c);

  chart::Chart& ch = ChartStats->chart;
  ch.setTitle(
      {text(sheet.texts.chartTitle), gui::windowFont("Verdana", 20, true), QColor::fromRgba(0xFFD04498)});
  ch.setFoot({text(statsTexts::kFoot), gui::windowFont("Verdana", 11, true), QColor::fromRgba(0xFF7294F9)});
  ch.setLegendTitle(text(sheet.texts.legendTitle));
  ch.setSeriesKind(chart::SeriesKind::Bars);
  ch.setMarksVisible(true);
  ch.setView3D(true);
  ch.setOrthogonal(true);

  gui::setHoverSentences(panInfo, this,
                         {{"btnBarre", sheet.texts.hoverBarre},
                          {"btnTorta", sheet.texts.hoverTorta},
                          {"btnStampa", statsTexts::kHoverStampa},
                          {"btnEsci", statsTexts::kHoverEsci},
                          {"cmdGuida", statsTexts::kHoverGuida}});
  gui::setHoverBackgrounds(panInfo, {this, c, ChartStats, imgFattura});

  setTabOrder(btnBarre, btnTorta);
  setTabOrder(btnTorta, btnStampa);
  setTabOrder(btnStampa, btnEsci);
  setTabOrder(btnEsci, cmdGuida);
  gui::connectClickSlots(this);
}

void StatsWindow::placeControls(QWidget* c) {
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c, 200, 18);
  const QPixmap art = gui::art(QString::fromLatin1(sheet_.artwork), 72);
  imgFattura = gui::makePicture(u"imgFattura"_qs, art, text(statsTexts::kChartPicture), c);
  imgFattura->setGeometry(QRect(QPoint(20, 14), gui::shownSize(art)));
  const int textLeft = 40 + gui::shownSize(art).width();
  const int textW = kWidth - textLeft - 80;

  lblTitolo = gui::placedLabel(c, "lblTitolo", u"", gui::windowFont("Verdana", 20, true),
                               QRect(textLeft, 10, textW, 38));
  gui::placedLabel(c, "lblRigo04", sheet_.texts.rigo04, gui::windowFont("Verdana", 10),
                   QRect(textLeft, 50, textW, 20));
  gui::placedLabel(c, "lblRigo05", statsTexts::kRigo05, gui::windowFont("Verdana", 10),
                   QRect(textLeft, 70, textW, 20));
  lblFile = gui::placedLabel(c, "lblFile", u"", font(), QRect(0, 0, 10, 10));
  lblFile->hide();
  const MonthPoint* mems = sheet_.figures == Figures::Annual ? kAnnual : kMonths;
  const int memCount = sheet_.figures == Figures::Annual ? 2 : 12;
  for (int i = 0; i < memCount; ++i) {
    QLabel* m = gui::placedLabel(c, mems[i].memName, u"0", font(), QRect(0, 0, 10, 10));
    m->hide();
    memLabels.append(m);
  }

  cmdGuida =
      new gui::PictureButton(u"cmdGuida"_qs, gui::art(u"ico_guida"_qs), text(statsTexts::kChartGuide), c);
  cmdGuida->setGeometry(kWidth - 66, 14, 52, 52);

  ChartStats = new ChartView(c);
  ChartStats->setGeometry(20, 100, kWidth - 40, 530);

  const int bw = 260;
  const int gap = 16;
  const int x0 = (kWidth - 4 * bw - 3 * gap) / 2;
  const QFont buttonFont = gui::windowFont("Verdana", 10, true);
  btnBarre = gui::placedButton(c, "btnBarre", statsTexts::kBarre, buttonFont, QRect(x0, 640, bw, 34));
  btnTorta =
      gui::placedButton(c, "btnTorta", statsTexts::kTorta, buttonFont, QRect(x0 + (bw + gap), 640, bw, 34));
  btnStampa = gui::placedButton(c, "btnStampa", statsTexts::kStampa, buttonFont,
                                QRect(x0 + 2 * (bw + gap), 640, bw, 34));
  btnEsci =
      gui::placedButton(c, "btnEsci", statsTexts::kEsci, buttonFont, QRect(x0 + 3 * (bw + gap), 640, bw, 34));

  panInfo = gui::makeInfoBar(c, text(sheet_.texts.openingInfo));
  panInfo->parentWidget()->setGeometry(0, kHeight - 30, kWidth, 30);
}

StatsWindow::~StatsWindow() = default;

const chart::Chart& StatsWindow::chart() const { return ChartStats->chart; }

void StatsWindow::setTitle(const QString& title) { lblTitolo->setText(title); }

void StatsWindow::FormShow() {
  // The caller's title is long: the font gives way rather than the text.
  QFont f = gui::windowFont("Verdana", 20, true);
  for (int pt = 20; pt > 12 && QFontMetrics(f).horizontalAdvance(lblTitolo->text()) > lblTitolo->width(); --pt)
    f.setPointSize(pt - 1);
  lblTitolo->setFont(f);
  computeChart();
  btnBarre->setFocus();
}

// Each showing reads the archive afresh. The archive is created when missing,
// as every reader of a year does. An amount that is not a number leaves the
// chart without points and says which card holds it, so that an empty chart
// is never mistaken for a year without movements.
void StatsWindow::computeChart() {
  const QString path = trimmedText(archiveFile_);
  lblFile->setText(path);
  chart::Chart& ch = ChartStats->chart;
  ch.clear();
  for (QLabel* m : memLabels) m->setText(u"0"_qs);

  ChartFigures figures;
  QString failure;
  gui::Icon icon = gui::Icon::Warning;
  try {
    auto archive = MovementArchive::OpenOrCreate(path);
    if (sheet_.figures == Figures::Annual) {
      figures = annualTotals(archive);
    } else {
      figures =
          monthlyTotals(archive, sheet_.figures == Figures::MonthlyIncome ? Flow::Entrate : Flow::Uscite,
                        trimmedText(year_));
    }
    archive.Close();
  } catch (const ArchiveError&) {
    failure = archiveAccessMessage();
    icon = gui::Icon::Error;
  }
  if (figures.stopped()) failure = badAmountMessage(figures);

  const MonthPoint* points = sheet_.figures == Figures::Annual ? kAnnual : kMonths;
  if (failure.isEmpty()) {
    for (size_t i = 0; i < figures.values.size() && i < size_t(memLabels.size()); ++i) {
      memLabels[int(i)]->setText(formatGeneral(figures.values[i]));
      ch.addPoint(QString::fromUtf8(points[i].label), figures.values[i], QColor::fromRgba(points[i].colour));
    }
  }
  ChartStats->show();
  ChartStats->update();
  if (!failure.isEmpty()) {
    // Once the window is up, so that the message stands over the empty chart.
    QTimer::singleShot(0, this, [this, failure, icon] { gui::notice(this, icon, failure); });
  }
}

void StatsWindow::btnBarreClick() {
  ChartStats->chart.setSeriesKind(chart::SeriesKind::Bars);
  ChartStats->chart.setView3D(true);
  ChartStats->chart.setOrthogonal(true);
  ChartStats->update();
}

void StatsWindow::btnTortaClick() {
  ChartStats->chart.setSeriesKind(chart::SeriesKind::Pie);
  ChartStats->chart.setView3D(true);
  ChartStats->chart.setOrthogonal(true);
  ChartStats->update();
}

void StatsWindow::btnStampaClick() {
  if (!gui::question(this, text(statsTexts::kAskPrint))) return;
  const auto answer =
      gui::inputText(this, text(statsTexts::kCopiesTitle), text(statsTexts::kCopiesLabel), u"1"_qs);
  if (!answer) return;
  const std::optional<int> copies = copiesFromAnswer(*answer, kMaxCopies);
  if (!copies) {
    gui::notice(this, gui::Icon::Warning, text(statsTexts::kTooManyCopies).arg(kMaxCopies));
    return;
  }
  if (*copies == 0) return;
  printChart(this, ChartStats->chart, *copies);
}

void StatsWindow::btnEsciClick() { close(); }

void StatsWindow::cmdGuidaClick() { showStatsGuide(this); }

}  // namespace fondaro
