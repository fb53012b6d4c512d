// SPDX-License-Identifier: GPL-3.0-or-later
// The kit's list window base: lines shown through a model in a fixed-pitch
// font and scrollable sideways, the list find, the count label, the double
// click.
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "gui/listwindow.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

class Probe : public gui::ListWindow {
 public:
  Probe() : ListWindow(nullptr, Kind::Dialog) {
    setFixedSize(600, 400);
    makeFind(this, QRect(10, 10, 300, 30), QRect(320, 10, 100, 30));
    makeList(this, QRect(10, 50, 580, 300));
    auto* count = new QLabel(this);
    count->setObjectName(u"lblTrovate"_qs);
    count->setGeometry(10, 360, 400, 24);
    setCountLabel(count, [](int n) { return QString::number(n) + u" righe"_qs; });
  }
  using ListWindow::resetFind;
  using ListWindow::showLines;
  QList<int> chosen;

 protected:
  void lineChosen(int row) override { chosen << row; }
};

}  // namespace

class TestListWindow : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<Probe> w;
  QLineEdit* key() { return child<QLineEdit>(w.get(), "txtTrova"); }
  QPushButton* trova() { return child<QPushButton>(w.get(), "btnTrova"); }
  gui::LineList* list() { return w->list(); }
  void find(const QString& k) {
    key()->setText(k);
    trova()->click();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() {
    p = std::make_unique<Program>();
    w = std::make_unique<Probe>();
    QVERIFY(showActive(w.get()));
  }
  void cleanup() {
    w.reset();
    p.reset();
  }

  void linesShowInAFixedPitchFontAndScrollSideways() {
    w->showLines({u"Luce"_qs.leftJustified(150, u'.') + u"fine"_qs, u"Gas"_qs});
    QCOMPARE(list()->objectName(), u"lstRecords"_qs);
    QCOMPARE(list()->count(), 2);
    QVERIFY(QFontInfo(list()->font()).fixedPitch());
    QCOMPARE(list()->font().pointSize(), 12);
    QVERIFY(list()->uniformItemSizes());
    QCOMPARE(list()->model()->index(0, 0).data(Qt::SizeHintRole).toSize().width(), 1600);
    QTRY_VERIFY(list()->horizontalScrollBar()->maximum() > 0);
    QCOMPARE(list()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(list()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(child<QLabel>(w.get(), "lblTrovate")->text(), u"2 righe"_qs);
    // Nothing can be edited in a list.
    QCOMPARE(list()->editTriggers(), QAbstractItemView::NoEditTriggers);
  }

  void findWalksTheLinesAndWraps() {
    w->showLines({u"Luce gennaio"_qs, u"Gas"_qs, u"LUCE febbraio"_qs});
    find(u"luce"_qs);
    QCOMPARE(list()->selectedRow(), 0);
    find(u"luce"_qs);
    QCOMPARE(list()->selectedRow(), 2);
    find(u"luce"_qs);
    QCOMPARE(list()->selectedRow(), 0);
    find(u"nulla"_qs);
    QCOMPARE(list()->selectedRow(), 0);
    QCOMPARE(list()->selectedText(), u"Luce gennaio"_qs);
    QVERIFY(p->dialogs.seen().isEmpty());
    // A new showing forgets the key: the same key starts again from line 0.
    list()->selectRow(2);
    w->resetFind();
    QVERIFY(key()->text().isEmpty());
    find(u"gas"_qs);
    QCOMPARE(list()->selectedRow(), 1);
  }

  void findOnAnEmptyListSaysSo() {
    w->showLines({});
    find(u"x"_qs);
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, gui::DialogKind::Message);
    QCOMPARE(shown.text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs);
  }

  void doubleClickAndEnterChooseALine() {
    w->showLines({u"uno"_qs, u"due"_qs, u"tre"_qs});
    QTRY_VERIFY(list()->visualRect(list()->model()->index(1, 0)).isValid());
    const QPoint at = list()->visualRect(list()->model()->index(1, 0)).center();
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(w->chosen, QList<int>{1});
    list()->selectRow(2);
    list()->setFocus();
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(w->chosen, (QList<int>{1, 2}));
    // A line the keyboard reached without selecting it counts as chosen.
    w->showLines({u"solo"_qs});
    list()->setCurrentIndex(list()->model()->index(0, 0));
    list()->clearSelection();
    QTest::keyClick(list(), Qt::Key_Return);
    QCOMPARE(w->chosen, (QList<int>{1, 2, 0}));
    QCOMPARE(list()->selectedText(), u"solo"_qs);
  }

  void aHundredThousandLinesAreHeldByTheModel() {
    QStringList many;
    many.reserve(100000);
    for (int i = 0; i < 100000; ++i) many << u"Riga %1"_qs.arg(i, 6, 10, QLatin1Char('0'));
    w->showLines(many);
    QCOMPARE(list()->count(), 100000);
    QCOMPARE(child<QLabel>(w.get(), "lblTrovate")->text(), u"100000 righe"_qs);
    find(u"099999"_qs);
    QCOMPARE(list()->selectedRow(), 99999);
  }

  // The lines keep the list's font where the longest line a list can have fits
  // its width; else they take the largest smaller size at which it fits, but
  // not below 9 points, where they scroll. The list's own font never changes.
  void linesShrinkToFitTheListDownTo9Points() {
    gui::LineList l(u"lstProva"_qs, nullptr);
    l.resize(600, 200);
    l.show();
    QVERIFY(QTest::qWaitForWindowExposed(&l));
    const QFont own = l.font();
    const auto sized = [&](qreal points) {
      QFont f = own;
      f.setPointSizeF(points);
      return f;
    };
    const auto wide = [](const QFont& f, int n) {
      return QFontMetrics(f).horizontalAdvance(QString(n, u'0'));
    };
    const int room = l.viewport()->width() - 8;  // a row's text margins
    const auto fits = [&](const QFont& f, int n) { return wide(f, n) <= room; };
    int most = 1;  // the longest line that fits in the described font
    while (fits(own, most + 1)) ++most;

    struct Case {
      const char* what;
      int longest;
      qreal lowest, highest;  // the points the lines may be drawn at
    };
    int halfway = most;  // a line that fits at 10.5 points, not at 12
    while (fits(sized(10.5), halfway + 1)) ++halfway;
    const Case cases[] = {
        {"no longest line known", 0, 12, 12},
        {"the longest line fits", most, 12, 12},
        {"one character more", most + 1, 9.5, 11.5},
        {"fits at 10.5 points", halfway, 10.5, 11.5},
        {"would need under 9 points", 3 * most, 9, 9},
    };
    for (const Case& c : cases) {
      l.setLongestLine(c.longest);
      const QFont f = l.lineFont();
      QVERIFY2(f.pointSizeF() >= c.lowest && f.pointSizeF() <= c.highest,
               qPrintable(u"%1: %2 points"_qs.arg(QLatin1String(c.what)).arg(f.pointSizeF())));
      if (f.pointSizeF() > 9) QVERIFY2(fits(f, c.longest), c.what);
      if (f.pointSizeF() < 12) QVERIFY2(!fits(sized(f.pointSizeF() + 0.5), c.longest), c.what);
      QCOMPARE(l.font(), own);
    }
    // The rows follow the lines' font.
    l.setLines({u"uno"_qs});
    QCOMPARE(l.model()->index(0, 0).data(Qt::SizeHintRole).toSize().height(),
             QFontMetrics(sized(9)).height() + 2);
    QCOMPARE(l.model()->index(0, 0).data(Qt::FontRole).value<QFont>().pointSizeF(), 9.0);
    // Wide enough again, the described font comes back.
    l.resize(2400, 200);
    QTRY_COMPARE(l.lineFont().pointSizeF(), 12.0);
    // A font a small window's scaling already took under 9 points stays.
    l.resize(600, 200);
    QTRY_COMPARE(l.lineFont().pointSizeF(), 9.0);
    l.setFont(sized(8));
    QCOMPARE(l.lineFont().pointSizeF(), 8.0);
  }
};

QTEST_MAIN(TestListWindow)
#include "test_listwindow.moc"
