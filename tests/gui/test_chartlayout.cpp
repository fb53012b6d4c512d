// SPDX-License-Identifier: GPL-3.0-or-later
// The chart's layout, checked as rectangles: whatever the figures and however
// small the chart, no text overlaps another and every text stays inside the
// chart's area; the pie's slices share out the whole disc.
#include <QFontMetricsF>

#include "chart/layout.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::chart;
using namespace fondaro::testsupport;

namespace {

struct Figures {
  std::vector<double> values;
  bool longLabels = false;
};

Chart chartOf(const Figures& f, SeriesKind kind) {
  Chart c;
  c.setTitle({u"Statistiche entrate mensili"_qs, QFont(u"Verdana"_qs, 20, QFont::Bold), Qt::magenta});
  c.setFoot(
      {u"Tutti gli importi sono arrotondati all'euro"_qs, QFont(u"Verdana"_qs, 11, QFont::Bold), Qt::blue});
  c.setLegendTitle(u"Entrate mensili:"_qs);
  for (size_t i = 0; i < f.values.size(); ++i) {
    const QString label = f.longLabels ? u"Movimenti straordinari del mese numero %1"_qs.arg(i + 1)
                                       : QLocale(QLocale::Italian).monthName(int(i % 12) + 1);
    c.addPoint(label, f.values[i], QColor::fromHsv(int(i * 37 % 360), 200, 220));
  }
  c.setSeriesKind(kind);
  return c;
}

struct Placed {
  QString what;
  QRectF at;
};

// Every text of the layout, by where its line really stands.
std::vector<Placed> textsOf(const ChartLayout& l) {
  std::vector<Placed> out;
  auto add = [&](const QString& what, const PlacedText& t) {
    if (!t.text.isEmpty()) out.push_back({what + u" \""_qs + t.text + u'"', t.extent()});
  };
  if (l.title) add(u"title"_qs, *l.title);
  if (l.foot) add(u"foot"_qs, *l.foot);
  if (l.legend.title) add(u"legend title"_qs, *l.legend.title);
  for (const auto& e : l.legend.entries) {
    add(u"legend label"_qs, e.label);
    add(u"legend value"_qs, e.value);
  }
  if (l.bars) {
    for (const auto& t : l.bars->ticks)
      if (t.value) add(u"axis"_qs, *t.value);
    for (const auto& t : l.bars->labels) add(u"label"_qs, t);
    for (const auto& t : l.bars->marks) out.push_back({u"mark \""_qs + t.text + u'"', t.box});
  }
  if (l.pie) {
    if (l.pie->empty) add(u"empty pie"_qs, l.pie->emptyText);
    for (const auto& m : l.pie->marks) out.push_back({u"mark \""_qs + m.mark.text + u'"', m.mark.box});
  }
  return out;
}

// Rectangles that share more than a hair of area.
bool overlap(const QRectF& a, const QRectF& b) {
  const QRectF i = a.intersected(b);
  return i.width() > 0.01 && i.height() > 0.01;
}

bool inside(const QRectF& r, const QRectF& area) {
  return area.adjusted(-0.01, -0.01, 0.01, 0.01).contains(r);
}

QString describe(const QRectF& r) {
  return u"(%1,%2 %3x%4)"_qs.arg(r.x(), 0, 'f', 1)
      .arg(r.y(), 0, 'f', 1)
      .arg(r.width(), 0, 'f', 1)
      .arg(r.height(), 0, 'f', 1);
}

}  // namespace

Q_DECLARE_METATYPE(Figures)

class TestChartLayout : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void labelsNeverOverlapAndStayInside_data() {
    QTest::addColumn<Figures>("figures");
    QTest::addColumn<QSize>("size");
    const std::vector<double> ordinary{120, 340, 95, 1200, 880, 430, 610, 75, 990, 1500, 300, 2200};
    std::vector<double> tiny(40, 1);
    tiny[0] = 1e6;
    const std::vector<std::pair<const char*, Figures>> figures = {
        {"ordinary", {ordinary}},
        {"one slice is all", {{0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4321}}},
        {"many tiny slices", {tiny}},
        {"all zero", {std::vector<double>(12, 0)}},
        {"no points", {{}}},
        {"negative", {{-500, 200, -3, 0, 1000, -1200, 5, 5, 5, 5, 5, 5}}},
        {"all negative", {{-5, -10, -300}}},
        {"huge", {{1e18, 2e17, 5, 1e16, 3, 9999999999, 3, 3, 3, 3, 3, 3}}},
        {"very different", {{1, 9999999, 0, 350, 1234567, 2, 80000, 0, 45, 999999, 7, 3000000}}},
        {"not finite", {{qQNaN(), qInf(), -qInf(), 5, 0, 0, 0, 0, 0, 0, 0, 1e300}}},
        {"long labels", {ordinary, true}},
        {"two points", {{1001, 999}}},
    };
    const QSize sizes[] = {{1100, 560}, {520, 360}, {300, 200}, {120, 90}};
    for (const auto& [name, f] : figures)
      for (QSize s : sizes) QTest::addRow("%s %dx%d", name, s.width(), s.height()) << f << s;
  }
  void labelsNeverOverlapAndStayInside() {
    QFETCH(Figures, figures);
    QFETCH(QSize, size);
    const QRectF area(QPointF(30, 20), QSizeF(size));
    for (SeriesKind kind : {SeriesKind::Bars, SeriesKind::Pie}) {
      const ChartLayout l = layoutChart(chartOf(figures, kind), area);
      const std::vector<Placed> texts = textsOf(l);
      const QString form = kind == SeriesKind::Pie ? u"pie: "_qs : u"bars: "_qs;
      for (const Placed& t : texts)
        QVERIFY2(inside(t.at, area), qPrintable(form + t.what + describe(t.at) + u" leaves the area"_qs));
      for (size_t i = 0; i < texts.size(); ++i)
        for (size_t j = i + 1; j < texts.size(); ++j)
          QVERIFY2(!overlap(texts[i].at, texts[j].at),
                   qPrintable(form + texts[i].what + describe(texts[i].at) + u" overlaps "_qs +
                              texts[j].what + describe(texts[j].at)));
    }
  }
};

QTEST_MAIN(TestChartLayout)
#include "test_chartlayout.moc"
