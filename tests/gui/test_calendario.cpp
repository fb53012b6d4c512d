// SPDX-License-Identifier: GPL-3.0-or-later
// The calendar: opened from the editor's date fields, it starts on today and
// writes the chosen date into the field its mode names, and only there.
#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "core/textrules.h"
#include "gui/form.h"
#include "movements/Calendario.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

class TestCalendario : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  TfrmMovimenti* editor() { return p->windows->frmMovimenti; }
  QLineEdit* edit(const char* name) { return child<QLineEdit>(editor(), name); }

  void openEditor() {
    editor()->setArchiveFile(p->folder() + u"2024.eur"_qs);
    gui::switchTo(nullptr, editor());
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }
  // Presses a key in a date field of the editor and lets `act` work the
  // calendar that opens.
  bool keyInField(const char* field, const std::function<void(QWidget*)>& act) {
    ModalDriver driver(act);
    edit(field)->setFocus();
    pressKey(edit(field), Qt::Key_Space, u" "_qs);
    return driver.done();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theCalendarIsItalianAndStartsOnToday() {
    openEditor();
    edit("txtDataSca")->setText(u"15/08/2019"_qs);  // a date in the field changes nothing
    QString caption, prompt, month;
    QDate start;
    QLocale locale;
    QSize size;
    QWidget* owner = nullptr;
    QVERIFY(keyInField("txtDataSca", [&](QWidget* w) {
      caption = w->windowTitle();
      size = w->size();
      owner = w->parentWidget();
      prompt = child<QLabel>(w, "lblCampo001")->text();
      auto* cal = child<QCalendarWidget>(w, "calAppuntamenti");
      start = cal->selectedDate();
      locale = cal->locale();
      month = child<QToolButton>(cal, "qt_calendar_monthbutton")->text();
      QCOMPARE(child<QPushButton>(w, "btnImportaData")->text(), u"Importa"_qs);
      QCOMPARE(child<QPushButton>(w, "btnAnnulla")->text(), u"Annulla"_qs);
      saveShot(w, artifacts(), u"calendar"_qs);
      child<QPushButton>(w, "btnAnnulla")->click();
    }));
    QCOMPARE(caption, u" Importazione data"_qs);
    QCOMPARE(size, QSize(253, 294));
    QCOMPARE(owner, static_cast<QWidget*>(editor()));
    QCOMPARE(prompt, u"Importare una data:"_qs);
    QCOMPARE(start, QDate::currentDate());
    QCOMPARE(locale.language(), QLocale::Italian);
    QCOMPARE(month.toLower(), QLocale(QLocale::Italian).standaloneMonthName(start.month()).toLower());
  }

  void importWritesOnlyTheFieldTheModeNames_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("other");
    QTest::newRow("operation date") << u"txtData"_qs << u"txtDataSca"_qs;
    QTest::newRow("due date") << u"txtDataSca"_qs << u"txtData"_qs;
  }
  void importWritesOnlyTheFieldTheModeNames() {
    QFETCH(QString, field);
    QFETCH(QString, other);
    openEditor();
    edit(qPrintable(field))->setText(u"01/01/2020"_qs);
    edit(qPrintable(other))->setText(u"02/02/2020"_qs);
    bool closed = false;
    QVERIFY(keyInField(qPrintable(field), [&](QWidget* w) {
      // Another month of another year: the last day of February of a leap year.
      child<QCalendarWidget>(w, "calAppuntamenti")->setSelectedDate(QDate(2028, 2, 29));
      child<QPushButton>(w, "btnImportaData")->click();
      closed = !w->isVisible();
    }));
    QVERIFY(closed);
    QCOMPARE(edit(qPrintable(field))->text(), u"29/02/2028"_qs);
    QCOMPARE(edit(qPrintable(other))->text(), u"02/02/2020"_qs);
    QVERIFY(!QFile::exists(p->folder() + u"2024.eur"_qs));  // the archive is not touched
  }

  void annullaLeavesTheFieldAsItWas_data() {
    QTest::addColumn<QString>("before");
    QTest::newRow("empty") << QString();
    QTest::newRow("a date") << u"10/10/2024"_qs;
  }
  void annullaLeavesTheFieldAsItWas() {
    QFETCH(QString, before);
    openEditor();
    edit("txtData")->setText(before);
    QVERIFY(keyInField("txtData", [&](QWidget* w) {
      child<QCalendarWidget>(w, "calAppuntamenti")->setSelectedDate(QDate(2024, 3, 3));
      child<QPushButton>(w, "btnAnnulla")->click();
    }));
    QCOMPARE(edit("txtData")->text(), before);
  }
};

QTEST_MAIN(TestCalendario)
#include "test_calendario.moc"
