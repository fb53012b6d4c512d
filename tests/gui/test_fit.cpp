// SPDX-License-Identifier: GPL-3.0-or-later
// Fitting a designed panel to less room: scaling from the designed values
// (never drifting), the legibility floor, and scrolling with the focus below it.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "gui/fit.h"
#include "support.h"

using namespace fondaro;

namespace {

// A panel of 1000 x 800 designed as the windows are: placed controls, a
// laid-out box, fonts in points, the smallest 9 points (12 pixels).
struct Panel {
  QWidget* panel = new QWidget;
  QLabel* caption = new QLabel(u"Causale:"_qs, panel);
  QLineEdit* last = new QLineEdit(panel);
  QWidget* box = new QWidget(panel);
  QPushButton* inBox = new QPushButton(u"Salva"_qs, box);

  Panel() {
    panel->setFixedSize(1000, 800);
    caption->setFont(QFont(u"DejaVu Sans"_qs, 9));
    caption->setGeometry(10, 10, 200, 20);
    last->setFont(QFont(u"DejaVu Sans"_qs, 12));
    last->setGeometry(880, 760, 110, 30);
    box->setGeometry(300, 300, 200, 100);
    auto* v = new QVBoxLayout(box);
    v->setContentsMargins(20, 20, 20, 20);
    v->addWidget(inBox);
  }
};

}  // namespace

class FitTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { testsupport::prepareTestApplication(); }

  void scalingAlwaysStartsFromTheDesign() {
    Panel p;
    const QFont designed = p.last->font();
    for (const qreal f : {0.9, 0.77, 0.9, 1.0}) gui::scaleContent(p.panel, f);
    QCOMPARE(p.caption->geometry(), QRect(10, 10, 200, 20));
    QCOMPARE(p.last->geometry(), QRect(880, 760, 110, 30));
    QCOMPARE(p.last->font(), designed);
    QCOMPARE(p.box->layout()->contentsMargins(), QMargins(20, 20, 20, 20));

    gui::scaleContent(p.panel, 0.5);
    QCOMPARE(p.last->geometry(), QRect(440, 380, 55, 15));
    QCOMPARE(p.last->font().pointSizeF(), 6.0);
    QCOMPARE(p.box->layout()->contentsMargins(), QMargins(10, 10, 10, 10));
    QCOMPARE(gui::contentScale(p.panel), 0.5);
  }

  void theSmallestFontKeepsNinePixels() {
    Panel p;
    // 9 points are 12 pixels at 96 dots an inch: 9 pixels at three quarters.
    QCOMPARE(gui::legibleScale(p.panel), 0.75);
    QCOMPARE(gui::fittingScale({1000, 800}, {800, 800}, 0.75), 0.8);
    QCOMPARE(gui::fittingScale({1000, 800}, {500, 800}, 0.75), 0.75);
    QCOMPARE(gui::fittingScale({1000, 800}, {1200, 900}, 0.75), 1.0);
  }

  void belowTheFloorTheFocusScrollsIntoView() {
    Panel p;
    QWidget window;
    auto* area = new gui::FitArea(p.panel, &window);
    auto* other = new QLineEdit(&window);  // where the focus starts
    other->setGeometry(0, 0, 10, 10);
    area->setGeometry(10, 10, 400, 300);
    window.resize(420, 320);
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(gui::contentScale(p.panel), 0.75);
    QCOMPARE(p.panel->size(), QSize(750, 600));

    p.last->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const QRect shown(p.last->mapTo(area->viewport(), QPoint(0, 0)), p.last->size());
    QVERIFY2(area->viewport()->rect().contains(shown), "the focused field stays out of view");
  }
};

QTEST_MAIN(FitTest)
#include "test_fit.moc"
