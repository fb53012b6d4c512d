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
};

QTEST_MAIN(TestListWindow)
#include "test_listwindow.moc"
