// SPDX-License-Identifier: GPL-3.0-or-later
// The grid base of the list windows: columns declared as a table, ticks held
// in the model, Space and the arrows, and the fitting of columns and rows.
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <vector>

#include "gui/application.h"
#include "gui/gridwindow.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;

namespace {

struct Entry {
  int number;
  QString who;
  bool fresh;  // carries a tick
};

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

const GridColumn<Entry> kColumns[] = {
    {u"", 28, nullptr, kLeft, GridCell::Tick},
    {u"N.", 48, [](const Entry& e, bool) { return QString::number(e.number); }, kRight},
    {u"Chi", 80, [](const Entry& e, bool) { return e.who; }, kLeft, GridCell::Text,
     [](const Entry& e, bool) { return e.who; }, 0.5},
    {u"Stato", kGridStretch,
     [](const Entry& e, bool ticked) { return e.fresh ? (ticked ? u"Nuovo"_qs : u"Escluso"_qs) : u"Presente"_qs; }},
};

using Model = GridModelOf<std::vector<Entry>>;

Model* makeModel(QObject* parent) {
  return new Model({.columns = kColumns,
                    .rows = listRows<std::vector<Entry>>,
                    .tickable = [](const Entry& e) { return e.fresh; },
                    .ink = [](const Entry& e, int) { return e.fresh ? QColor() : QColor(Qt::gray); }},
                   parent);
}

const std::vector<Entry> kRows = {{1, u"Rossi"_qs, true}, {2, u"Bianchi"_qs, false}, {3, u"Verdi"_qs, true}};

}  // namespace

class TestGridWindow : public QObject {
  Q_OBJECT

  std::unique_ptr<QWidget> window;
  Model* model = nullptr;
  GridView* view = nullptr;
  QLineEdit* after = nullptr;

  QString text(int row, int column) const { return model->index(row, column).data().toString(); }
  QVariant tick(int row) const { return model->index(row, 0).data(Qt::CheckStateRole); }

 private slots:
  void initTestCase() { testsupport::prepareTestApplication(); }

  void init() {
    window = std::make_unique<QWidget>();
    window->resize(600, 300);
    auto* v = new QVBoxLayout(window.get());
    model = makeModel(window.get());
    view = new GridView(window.get(), u"tblProva"_qs, model, {.wrap = true, .air = 12});
    after = new QLineEdit(window.get());
    v->addWidget(view);
    v->addWidget(after);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    model->setValue(kRows);
  }
  void cleanup() { window.reset(); }

  void columnsComeFromTheTable() {
    QCOMPARE(view->objectName(), u"tblProva"_qs);
    QCOMPARE(model->columnCount(), 4);
    QCOMPARE(view->font().family(), windowFont("Verdana", 9).family());
    for (int c = 0; c < 4; ++c)
      QCOMPARE(model->headerData(c, Qt::Horizontal).toString(), kColumns[c].caption.toString());
    QCOMPARE(view->columnWidth(0), 28);
    QCOMPARE(view->columnWidth(1), 48);
    QCOMPARE(view->horizontalHeader()->sectionResizeMode(3), QHeaderView::Stretch);
    QCOMPARE(text(1, 1), u"2"_qs);
    QCOMPARE(model->index(1, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(), kRight);
    QCOMPARE(text(2, 2), u"Verdi"_qs);
    QCOMPARE(model->index(2, 2).data(Qt::ToolTipRole).toString(), u"Verdi"_qs);
    QVERIFY(!model->index(2, 1).data(Qt::ToolTipRole).isValid());
    QCOMPARE(model->index(1, 3).data(Qt::ForegroundRole).value<QColor>(), QColor(Qt::gray));
    QVERIFY(!model->index(0, 3).data(Qt::ForegroundRole).isValid());
  }

  // Only the rows that carry a tick have one, ticked at first; turning it
  // changes the row's texts that depend on it, and is told once.
  void ticksAreTheModelsData() {
    QCOMPARE(tick(0).toInt(), int(Qt::Checked));
    QVERIFY(!tick(1).isValid());
    QVERIFY(!(model->flags(model->index(1, 0)) & Qt::ItemIsUserCheckable));
    QVERIFY(model->flags(model->index(0, 0)) & Qt::ItemIsUserCheckable);
    QVERIFY(!(model->flags(model->index(0, 1)) & Qt::ItemIsUserCheckable));
    QSignalSpy told(model, &GridModel::ticksChanged);
    QVERIFY(model->setData(model->index(0, 0), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(tick(0).toInt(), int(Qt::Unchecked));
    QCOMPARE(text(0, 3), u"Escluso"_qs);
    QCOMPARE(told.size(), 1);
    QVERIFY(!model->setData(model->index(1, 0), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!model->setTicked(1, true));
    QVERIFY(!model->setData(model->index(2, 1), Qt::Unchecked, Qt::CheckStateRole));
    QCOMPARE(told.size(), 1);
    // A new value ticks every row that carries a tick again.
    model->setValue(kRows);
    QCOMPARE(tick(0).toInt(), int(Qt::Checked));
  }

  void aClickOnTheBoxTurnsIt() {
    const QRect box = view->visualRect(model->index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, box.center());
    QVERIFY(!model->ticked(2));
  }

  // The grid is one stop of the Tab chain: the arrows move along the rows,
  // Space turns the tick of the current row wherever the cursor is in it.
  void keyboard() {
    view->setFocus();
    view->setCurrentIndex(model->index(0, 2));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->currentIndex().row(), 1);
    QTest::keyClick(view, Qt::Key_Space);  // a row without a tick
    QVERIFY(!model->hasTick(1));
    QTest::keyClick(view, Qt::Key_Down);
    QCOMPARE(view->currentIndex().row(), 2);
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(!model->ticked(2));
    QCOMPARE(text(2, 3), u"Escluso"_qs);
    QTest::keyClick(view, Qt::Key_Space);
    QVERIFY(model->ticked(2));
    QTest::keyClick(view, Qt::Key_Up);
    QCOMPARE(view->currentIndex().row(), 1);
    QTest::keyClick(view, Qt::Key_Tab);
    QVERIFY(after->hasFocus());
  }

  // A column with a share takes the room its text needs, up to its share; a
  // text longer still wraps onto more lines of a taller row.
  void columnsAndRowsFitTheirTexts() {
    QCOMPARE(view->columnWidth(2), 80);
    const QString longer = u"Società Cooperativa Agricola Produttori Riuniti della Val di Non e di Sole"_qs;
    model->setValue({{1, u"Rossi Mario Costruzioni Edili"_qs, true}, {2, longer, true}});
    const int most = int(view->viewport()->width() * 0.5);
    QCOMPARE(view->columnWidth(2), most);
    const int oneLine = view->fontMetrics().height() + 12;
    QCOMPARE(view->rowHeight(0), oneLine);
    QVERIFY(view->rowHeight(1) > oneLine);
    QVERIFY(view->rowHeight(1) >= 2 * view->fontMetrics().height());
  }
};

QTEST_MAIN(TestGridWindow)
#include "test_gridwindow.moc"
