// SPDX-License-Identifier: GPL-3.0-or-later
// The chart engine on its own: the series keeps its points across forms, the
// drawing stays inside its area whatever the values, and the printed page
// carries the texts. Pictures of each case go to the artifacts for a look.
#include <QPainter>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QProcess>
#include <QTemporaryDir>

#include "chart/chart.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::chart;
using namespace fondaro::testsupport;

namespace {

const char* kMonths[] = {"Gennaio", "Febbraio", "Marzo",     "Aprile",  "Maggio",   "Giugno",
                         "Luglio",  "Agosto",   "Settembre", "Ottobre", "Novembre", "Dicembre"};
const QRgb kColours[] = {0xFFFF0000, 0xFF0000FF, 0xFFFFE4C4, 0xFFFF00FF, 0xFFC0DCC0, 0xFFFFFF00,
                         0xFF00FF00, 0xFFC0C0C0, 0xFFF0FBFF, 0xFF87CEEB, 0xFF800000, 0xFF008000};

Chart monthly(const std::vector<double>& values) {
  Chart c;
  QFont title(u"Verdana"_qs, 20, QFont::Bold);
  QFont foot(u"Verdana"_qs, 11, QFont::Bold);
  c.setTitle({u"Statistiche entrate mensili"_qs, title, QColor::fromRgba(0xFFD04498)});
  c.setFoot({u"Tutti gli importi sono arrotondati all'euro"_qs, foot, QColor::fromRgba(0xFF7294F9)});
  c.setLegendTitle(u"Entrate mensili:"_qs);
  for (size_t i = 0; i < values.size() && i < 12; ++i)
    c.addPoint(QString::fromLatin1(kMonths[i]), values[i], QColor::fromRgba(kColours[i]));
  return c;
}

// True when every pixel outside `inner` is still white.
bool onlyInside(const QImage& img, const QRect& inner) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if (!inner.contains(x, y) && img.pixel(x, y) != qRgb(255, 255, 255)) return false;
  return true;
}

int inkPixels(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) != qRgb(255, 255, 255);
  return n;
}

}  // namespace

class TestChart : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void theSeriesKeepsItsPointsAcrossForms() {
    Chart c = monthly({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const std::vector<Point> before = c.points();
    c.setSeriesKind(SeriesKind::Pie);
    c.setSeriesKind(SeriesKind::Bars);
    QCOMPARE(c.points().size(), size_t(12));
    for (size_t i = 0; i < 12; ++i) {
      QCOMPARE(c.points()[i].label, before[i].label);
      QCOMPARE(c.points()[i].value, before[i].value);
      QCOMPARE(c.points()[i].colour, before[i].colour);
    }
    c.clear();
    QVERIFY(c.points().empty());
  }

  // Drawn into the middle of a larger white picture: nothing (marks, labels,
  // depth, legend) may fall outside the area it was given.
  void everythingStaysInsideTheArea_data() {
    QTest::addColumn<std::vector<double>>("values");
    QTest::addColumn<QSize>("size");
    QTest::newRow("ordinary") << std::vector<double>{120, 340, 95, 1200, 880, 430, 610, 75, 990, 1500, 300, 2200}
                              << QSize(1100, 560);
    QTest::newRow("very different") << std::vector<double>{1, 9999999, 0, 350, 1234567, 2, 80000, 0, 45, 999999,
                                                           7, 3000000}
                                    << QSize(1100, 560);
    QTest::newRow("all zero") << std::vector<double>(12, 0) << QSize(1100, 560);
    QTest::newRow("no points") << std::vector<double>{} << QSize(1100, 560);
    QTest::newRow("negative") << std::vector<double>{-500, 200, -3, 0, 1000, -1200, 5, 5, 5, 5, 5, 5}
                              << QSize(1100, 560);
    QTest::newRow("one month only") << std::vector<double>{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4321}
                                    << QSize(1100, 560);
    QTest::newRow("narrow") << std::vector<double>{1999999, 1999999, 1999999, 1999999, 1999999, 1999999,
                                                   1999999, 1999999, 1999999, 1999999, 1999999, 1999999}
                            << QSize(520, 360);
    QTest::newRow("not finite") << std::vector<double>{qQNaN(), qInf(), -qInf(), 5, 0, 0, 0, 0, 0, 0, 0, 1e300}
                                << QSize(1100, 560);
    QTest::newRow("two points") << std::vector<double>{1001, 999} << QSize(1100, 560);
  }
  void everythingStaysInsideTheArea() {
    QFETCH(std::vector<double>, values);
    QFETCH(QSize, size);
    const QString name = QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-');
    for (SeriesKind kind : {SeriesKind::Bars, SeriesKind::Pie}) {
      Chart c = monthly(values);
      c.setSeriesKind(kind);
      QImage img(size + QSize(80, 80), QImage::Format_RGB32);
      img.fill(Qt::white);
      QPainter p(&img);
      c.paint(p, QRectF(40, 40, size.width(), size.height()));
      p.end();
      QVERIFY2(onlyInside(img, QRect(QPoint(40, 40), size)), qPrintable(name));
      QVERIFY(inkPixels(img) > 1000);
      const QString file = u"chart-%1-%2.png"_qs.arg(name, kind == SeriesKind::Pie ? u"pie"_qs : u"bars"_qs);
      QDir().mkpath(artifacts());
      c.toImage(size).save(QDir(artifacts()).filePath(file));
    }
  }

  // The page: landscape A4, the chart's texts as text, the same in both forms.
  void thePrintedPageCarriesTheTexts() {
    if (QStandardPaths::findExecutable(u"pdftotext"_qs).isEmpty()) QSKIP("pdftotext missing");
    QTemporaryDir dir;
    for (SeriesKind kind : {SeriesKind::Bars, SeriesKind::Pie}) {
      Chart c = monthly({0, 12, 1234567, 40, 0, 9, 800, 7, 66, 0, 1999999, 3});
      c.setSeriesKind(kind);
      const QString pdf = dir.filePath(u"chart.pdf"_qs);
      {
        QPdfWriter w(pdf);
        w.setPageLayout(ChartPage::pageLayout());
        QPainter p(&w);
        ChartPage(c).paint(p);
      }
      QProcess t;
      t.start(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs});
      QVERIFY(t.waitForFinished(20000));
      const QString text = QString::fromUtf8(t.readAllStandardOutput());
      for (const QString& s : {u"Statistiche entrate mensili"_qs, u"Tutti gli importi sono arrotondati"_qs,
                               u"Entrate mensili:"_qs, u"Settembre"_qs, u"Dicembre"_qs, u"1234567"_qs,
                               u"1999999"_qs})
        QVERIFY2(text.contains(s), qPrintable(s + u" missing in\n"_qs + text));
      if (kind == SeriesKind::Pie) {
        QProcess r;
        r.start(u"pdftoppm"_qs, {u"-png"_qs, u"-r"_qs, u"60"_qs, u"-singlefile"_qs, pdf,
                                 QDir(artifacts()).filePath(u"chart-page-pie"_qs)});
        r.waitForFinished(20000);
      }
    }
    QCOMPARE(ChartPage::pageLayout().orientation(), QPageLayout::Landscape);
  }
};

QTEST_MAIN(TestChart)
#include "test_chart.moc"
