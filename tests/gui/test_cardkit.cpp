// SPDX-License-Identifier: GPL-3.0-or-later
// The kit's card pieces: tables of control names that must name controls,
// the binding of card controls to record fields, click handlers wired by
// name, and the sections an editor's card is built from.
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <stdexcept>

#include "core/card.h"
#include "gui/cardform.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/infobar.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;
using namespace fondaro::testsupport;

namespace {

// A window with every control the movement binding table names, built from
// the kit's pieces as an editor builds its card.
class BoundWindow : public QWidget {
  Q_OBJECT
 public:
  BoundWindow() {
    setObjectName(u"frmProva"_qs);
    card::Section s(this, "shpSezione1", u"Prova");
    for (const Binding& b : movementBindings()) {
      const QString name = b.control.toString();
      if (name.startsWith(u"lbl")) card::hiddenLabel(this, name);
      else s.row(name, card::edit(s.frame(), name.toLatin1().constData(), name));
    }
    section = s.frame();
    rows = s.rows();
    auto* ok = new QPushButton(this);
    ok->setObjectName(u"cmdOk"_qs);
  }
  QWidget* section;
  int rows;
  int clicks = 0;
 public slots:
  void cmdOkClick() { ++clicks; }
};

class MisspelledSlotWindow : public QWidget {
  Q_OBJECT
 public slots:
  void cmdMancaClick() {}
};

}  // namespace

class TestCardKit : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { prepareTestApplication(); }

  void aTableNamingNoControlFailsLoudly() {
    BoundWindow w;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, setFields(&w, {{.name = "txtCasuale"}}));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, setFields(&w, {{.name = "txtCausale", .enterTo = "txtNota"}}));
    QLabel bar;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, setHoverSentences(&bar, &w, {{"cmdSlava", u"Salva."}}));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, setTabChain(&w, {u"txtCausale", u"txtImport"}));
    QVERIFY_THROWS_EXCEPTION(std::logic_error, requireControl<QPushButton>(&w, u"txtCausale"));
    MisspelledSlotWindow m;
    QVERIFY_THROWS_EXCEPTION(std::logic_error, connectClickSlots(&m));
  }

  void clickHandlersAreWiredByTheirNames() {
    BoundWindow w;
    connectClickSlots(&w);
    requireControl<QPushButton>(&w, u"cmdOk")->click();
    QCOMPARE(w.clicks, 1);
  }

  void cardTextsGoToTheBoundControlsAndBack() {
    BoundWindow w;
    CardTexts<TMovimento> t;
    for (const Binding& b : movementBindings()) t[b.field] = QString::number(b.field) + u" caff\u00E8"_qs;
    writeCard(&w, t);
    QCOMPARE(requireControl<QLineEdit>(&w, u"txtCausale")->text(), t[mov::Causale]);
    QCOMPARE(requireControl<QLabel>(&w, u"lblDesc02")->text(), t[mov::Desc02]);
    const CardTexts<TMovimento> back = readCard<TMovimento>(&w);
    for (const Binding& b : movementBindings()) QCOMPARE(back[b.field], t[b.field]);
  }

  void typingLimitsComeFromTheBindings() {
    BoundWindow w;
    applyTypingLimits<TMovimento>(&w);
    for (const auto& [name, limit] : {std::pair{"txtPagamento", 150}, {"txtCausale", 250}, {"txtData", 10}}) {
      auto* e = requireControl<QLineEdit>(&w, QString::fromLatin1(name));
      e->clear();
      e->setFocus();
      QTest::keyClicks(e, QString(limit + 5, u'x'));
      QCOMPARE(e->text().size(), limit);
      // A text put in by the program is kept whole.
      e->setText(QString(limit + 5, u'y'));
      QCOMPARE(e->text().size(), limit + 5);
    }
  }

  void aSectionRowIsACaptionWithItsField() {
    BoundWindow w;
    QCOMPARE(w.rows, 18);  // the eighteen text fields; the labels are hidden
    auto* grid = static_cast<QGridLayout*>(w.section->layout()->itemAt(1)->layout());
    auto* caption = qobject_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget());
    QVERIFY(caption);
    QCOMPARE(caption->text(), u"txtCausale"_qs);
    QCOMPARE(caption->buddy(), requireControl(&w, u"txtCausale"));
  }

  void everyWindowOfTheProgramBuildsWithItsTables() {
    // Building the window set walks every window's field, hover, binding and
    // tab tables; a wrong name would throw here.
    Program p;
    QVERIFY(p.windows->frmMovimenti && p.windows->frmStatsBilancio);
  }
};

QTEST_MAIN(TestCardKit)
#include "test_cardkit.moc"
