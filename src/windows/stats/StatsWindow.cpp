#include "stats/StatsWindow.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "WindowSet.h"
#include "app/Guida.h"
#include "chart/chart.h"
#include "core/archive.h"
#include "core/field.h"
#include "core/monthlytotals.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "stats/ChartPrint.h"
#include "stats/MenuStats.h"
#include "gui/product.h"
#include "gui/widgets.h"

namespace fondaro {

// The chart on screen: a white panel with the engine's drawing.
class ChartView : public QWidget {
 public:
  explicit ChartView(QWidget* parent) : QWidget(parent) { setObjectName(u"ChartStats"_qs); }
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

namespace {

const char kRigo05[] = "Servirsi dei pulsanti in calce per visualizzare il tipo di grafico desiderato e per mandarlo in stampa.";
const char kFoot[] = "Tutti gli importi sono arrotondati all'euro";
const char kAskPrint[] = "Si vuole stampare il presente grafico statistico?";
const char kCopiesTitle[] = "Numero copie da stampare";
const char kCopiesLabel[] = "Copie:";
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

QLabel* label(QWidget* parent, const char* name, const QString& text, const QFont& font, const QRect& at) {
  return gui::placedLabel(parent, name, text, font, at);
}

QPushButton* button(QWidget* parent, const char* name, const char* text, const QRect& at) {
  auto* b = new QPushButton(QString::fromUtf8(text), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setFont(gui::windowFont("Verdana", 10, true));
  b->setGeometry(at);
  return b;
}

QString badAmountMessage(const ChartFigures& f) {
  return QStringLiteral(
             "Attenzione: l'importo della scheda n. %1 (\"%2\") non \u00E8 un numero valido, "
             "perci\u00F2 il grafico non pu\u00F2 essere calcolato.\r\n\r\n"
             "Correggere l'importo della scheda nel Registro Movimenti.")
      .arg(f.badAmountPosition)
      .arg(trimmedText(f.badAmountText));
}

}  // namespace

void showStatsGuide(QWidget* owner) {
  TfrmGuida::Show(owner, u"Applicazione Grafici Statistici."_qs, gui::guidePage(u"grafici"_qs));
}

std::optional<int> copiesFromAnswer(const QString& answer, int max) {
  const QString t = trimmedText(answer);
  if (t.isEmpty()) return 1;
  for (QChar c : t)
    if (c < u'0' || c > u'9') return 1;
  // Any number of digits: leading zeros say nothing, and a number too large
  // for an integer is simply above the limit.
  qint64 n = 0;
  for (QChar c : t) {
    n = n * 10 + (c.unicode() - u'0');
    if (n > max) return std::nullopt;
  }
  return int(n);
}

StatsWindow::StatsWindow(QWidget* owner, const Sheet& sheet) : Form(owner, Kind::Work), sheet_(sheet) {
  setObjectName(QString::fromLatin1(sheet.objectName));
  setWindowTitle(gui::windowCaption(QString::fromUtf8(sheet.caption)));
  gui::setFormatSettings();
  setGradientBackground(true);

  constexpr int W = 1220;
  constexpr int H = 712;
  QWidget* c = makeContainer(W, H);
  c->setAttribute(Qt::WA_StyledBackground);
  c->setStyleSheet(u"#panContainer { background: rgba(255,255,255,200); border-radius: 18px; }"_qs);

  const QPixmap art = gui::art(QString::fromLatin1(sheet.artwork)).scaledToHeight(72, Qt::SmoothTransformation);
  QLabel* imgFattura = gui::makePicture(u"imgFattura"_qs, art, u"Grafici statistici"_qs, c);
  imgFattura->setGeometry(20, 14, art.width(), art.height());
  const int textLeft = 40 + art.width();
  const int textW = W - textLeft - 80;

  lblTitolo = label(c, "lblTitolo", QString(), gui::windowFont("Verdana", 20, true), QRect(textLeft, 10, textW, 38));
  label(c, "lblRigo04", QString::fromUtf8(sheet.rigo04), gui::windowFont("Verdana", 10), QRect(textLeft, 50, textW, 20));
  label(c, "lblRigo05", QString::fromUtf8(kRigo05), gui::windowFont("Verdana", 10), QRect(textLeft, 70, textW, 20));
  lblFile = label(c, "lblFile", QString(), font(), QRect(0, 0, 10, 10));
  lblFile->hide();
  const MonthPoint* mems = sheet.figures == Figures::Annual ? kAnnual : kMonths;
  const int memCount = sheet.figures == Figures::Annual ? 2 : 12;
  for (int i = 0; i < memCount; ++i) {
    QLabel* m = label(c, mems[i].memName, u"0"_qs, font(), QRect(0, 0, 10, 10));
    m->hide();
    memLabels.append(m);
  }

  cmdGuida = new gui::PictureButton(u"cmdGuida"_qs, gui::art(u"ico_guida"_qs),
                                    u"Guida: applicazione Grafici Statistici"_qs, c);
  cmdGuida->setGeometry(W - 66, 14, 52, 52);

  ChartStats = new ChartView(c);
  ChartStats->setGeometry(20, 100, W - 40, 530);

  const int bw = 260;
  const int gap = 16;
  const int x0 = (W - 4 * bw - 3 * gap) / 2;
  btnBarre = button(c, "btnBarre", "Visualizza grafico a barre", QRect(x0, 640, bw, 34));
  btnTorta = button(c, "btnTorta", "Visualizza grafico a torta", QRect(x0 + (bw + gap), 640, bw, 34));
  btnStampa = button(c, "btnStampa", "Stampa grafico", QRect(x0 + 2 * (bw + gap), 640, bw, 34));
  btnEsci = button(c, "btnEsci", "Esci", QRect(x0 + 3 * (bw + gap), 640, bw, 34));

  panInfo = gui::makeInfoBar(c, QString::fromUtf8(sheet.openingInfo));
  panInfo->parentWidget()->setGeometry(0, H - 30, W, 30);

  chart::Chart& ch = ChartStats->chart;
  ch.setTitle({QString::fromUtf8(sheet.chartTitle), gui::windowFont("Verdana", 20, true), QColor::fromRgba(0xFFD04498)});
  ch.setFoot({QString::fromUtf8(kFoot), gui::windowFont("Verdana", 11, true), QColor::fromRgba(0xFF7294F9)});
  ch.setLegendTitle(QString::fromUtf8(sheet.legendTitle));
  ch.setSeriesKind(chart::SeriesKind::Bars);
  ch.setMarksVisible(true);
  ch.setView3D(true);
  ch.setOrthogonal(true);

  gui::setHoverSentences(panInfo, this,
                         {{"btnBarre", sheet.hoverBarre},
                          {"btnTorta", sheet.hoverTorta},
                          {"btnStampa", "Stampa il grafico corrente."},
                          {"btnEsci", "Esci da questo ambiente di lavoro."},
                          {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."}});
  gui::setHoverBackgrounds(panInfo, {this, c, ChartStats, imgFattura});

  setTabOrder(btnBarre, btnTorta);
  setTabOrder(btnTorta, btnStampa);
  setTabOrder(btnStampa, btnEsci);
  setTabOrder(btnEsci, cmdGuida);

  connect(btnBarre, &QPushButton::clicked, this, &StatsWindow::btnBarreClick);
  connect(btnTorta, &QPushButton::clicked, this, &StatsWindow::btnTortaClick);
  connect(btnStampa, &QPushButton::clicked, this, &StatsWindow::btnStampaClick);
  connect(btnEsci, &QPushButton::clicked, this, &StatsWindow::btnEsciClick);
  connect(cmdGuida, &QToolButton::clicked, this, &StatsWindow::cmdGuidaClick);
}

StatsWindow::~StatsWindow() = default;

const chart::Chart& StatsWindow::chart() const { return ChartStats->chart; }

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
  TfrmMenuStats* menu = windowSet().frmMenuStats;
  const QString path = trimmedText(menu->findChild<QLabel*>(u"lblFile"_qs)->text());
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
      const QString year = menu->findChild<QWidget*>(QString::fromLatin1(sheet_.yearField))->property("text").toString();
      figures = monthlyTotals(archive, sheet_.figures == Figures::MonthlyIncome ? Flow::Entrate : Flow::Uscite,
                              trimmedText(year));
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
  if (!gui::question(this, QString::fromUtf8(kAskPrint))) return;
  const auto answer = gui::inputText(this, QString::fromUtf8(kCopiesTitle), QString::fromUtf8(kCopiesLabel), u"1"_qs);
  if (!answer) return;
  const std::optional<int> copies = copiesFromAnswer(*answer, kMaxCopies);
  if (!copies) {
    gui::notice(this, gui::Icon::Warning,
                QStringLiteral("Attenzione: indicare un numero di copie non superiore a %1.").arg(kMaxCopies));
    return;
  }
  if (*copies == 0) return;
  printChart(this, ChartStats->chart, *copies);
}

void StatsWindow::btnEsciClick() { close(); }

void StatsWindow::cmdGuidaClick() { showStatsGuide(this); }

}  // namespace fondaro
