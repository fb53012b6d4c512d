// SPDX-License-Identifier: GPL-3.0-or-later
// Recurring movements in the windows: "Ripeti..." on the card shown, the
// message after the generation and the due list it leads to, the list of
// schedules with its change and stop, and the generation when the register
// opens and at login.
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>

#include "../common/records.h"
#include "app/Avvio.h"
#include "app/Password.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "core/recurring.h"
#include "core/textrules.h"
#include "gui/form.h"
#include "gui/listwindow.h"
#include "gui/programfolder.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;

namespace {

QString thisYear() { return QString::number(QDate::currentDate().year()); }

}  // namespace

class TestRicorrenti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  TfrmMovimenti* editor() const { return p->windows->frmMovimenti; }
  QString archive(const QString& year = thisYear()) const { return movementArchivePath(p->folder(), year); }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(editor(), name); }
  std::vector<TMovimento> readBack(const QString& year = thisYear()) const {
    std::vector<TMovimento> out;
    if (!QFile::exists(archive(year))) return out;
    MovementArchive a = MovementArchive::OpenExisting(archive(year), RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    return out;
  }
  void openEditor() {
    editor()->setArchiveFile(archive());
    gui::switchTo(nullptr, editor());
    editor()->setWindowState(Qt::WindowNoState);
    editor()->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }
  void fillCard(const QString& causale, const QString& importo) {
    edit("txtCausale")->setText(causale);
    edit("txtImporto")->setText(importo);
    child<QRadioButton>(editor(), "optUscita")->click();
    edit("txtNote")->setText(u"Contratto"_qs);
    edit("txtPagatore")->setText(u"Studio Bianchi"_qs);
    edit("txtBeneficiario")->setText(u"Immobiliare Rossi"_qs);
  }
  // "Movimenti ricorrenti..." in the window of "Ripeti...", on an empty card.
  // `act` runs on the list; true when it did.
  bool openList(const std::function<void(QWidget*)>& act) {
    std::unique_ptr<ModalDriver> list;
    ModalDriver ripeti([&](QWidget* w) {
      list = std::make_unique<ModalDriver>(act);
      child<QPushButton>(w, "btnElenco")->click();
      w->close();
    });
    child<QAbstractButton>(editor(), "cmdRipeti")->click();
    return ripeti.done() && list && list->done();
  }
  int addStored(const char* every, const QDate& first, ScheduleEnd end = {}) {
    Schedule s;
    s.repetition = *Repetition::parse(QString::fromLatin1(every));
    s.first = first;
    s.end = end;
    s.movement = testdata::movement(u"Canone", formatDate(first), u"25,00", false);
    return addSchedule(gui::programFolderPath(), s);
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theToolsStandAfterTheDescribedOnesOfTheirGroup() {
    openEditor();
    QWidget* group = child(editor(), "shpGruppo5");
    QVERIFY(group);
    const auto tools = group->findChildren<QAbstractButton*>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (QAbstractButton* b : tools) names << b->objectName();
    QCOMPARE(names, QStringList({u"cmdEsporta"_qs, u"cmdScadenze"_qs, u"cmdRipeti"_qs}));
    // In the Tab order it comes after "Esci", the described order before it unchanged.
    QCOMPARE(child(editor(), "cmdEsci")->nextInFocusChain(), child(editor(), "cmdRipeti"));
    QCOMPARE(child(editor(), "cmdScadenze")->nextInFocusChain(), child(editor(), "cmdGuida"));
    saveShot(editor(), artifacts(), u"ricorrenti-editor"_qs);
  }

  // From "Ripeti..." on a new card to the due list: the schedule is saved,
  // today's occurrence is generated at once, the message offers the due list
  // and the due list shows it.
  void ripetiLeadsToTheDueList() {
    openEditor();
    fillCard(u"Affitto"_qs, u"650"_qs);
    QStringList dueLines;
    QString ripetiTitle;
    std::unique_ptr<ModalDriver> dueDriver;
    p->dialogs.answer(Answer::Ok);   // the schedule is saved
    p->dialogs.answer(Answer::Yes);  // see it in the due list
    ModalDriver driver([&](QWidget* w) {
      ripetiTitle = w->windowTitle();
      QCOMPARE(child<QComboBox>(w, "cboRipeti")->currentText(), u"ogni mese"_qs);
      QCOMPARE(child<QDateEdit>(w, "dtPrima")->date(), QDate::currentDate());
      QVERIFY(child<QLabel>(w, "lblMovimento")->text().contains(u"Affitto"));
      QVERIFY(!child(w, "spnSettimane")->isEnabled());
      child<QRadioButton>(w, "optVolte")->click();
      QVERIFY(child(w, "spnVolte")->isEnabled());
      child<QSpinBox>(w, "spnVolte")->setValue(3);
      saveShot(w, artifacts(), u"ricorrenti-ripeti"_qs);
      // No empty band between the note and the buttons.
      const int band = child(w, "btnConferma")->y() - child(w, "lblNota")->geometry().bottom();
      QVERIFY2(band <= 32, qPrintable(QString::number(band)));
      dueDriver = std::make_unique<ModalDriver>([&](QWidget* due) {
        dueLines = child<gui::LineList>(due, "lstRecords")->lines();
        saveShot(due, artifacts(), u"ricorrenti-scadenze"_qs);
        due->close();
      });
      child<QPushButton>(w, "btnConferma")->click();
    });
    child<QAbstractButton>(editor(), "cmdRipeti")->click();
    QVERIFY(driver.done());
    QVERIFY(dueDriver && dueDriver->done());
    QCOMPARE(ripetiTitle, u" Ripeti il movimento"_qs);

    const QStringList texts = p->dialogs.texts();
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], u"Il movimento ricorrente n. 1 è stato registrato: ogni mese, dal "_qs +
                           formatDate(QDate::currentDate()) + u"."_qs);
    QCOMPARE(p->dialogs.seen()[1].kind, DialogKind::Question);
    QVERIFY(texts[1].startsWith(u"È stato inserito 1 movimento ricorrente."));

    const auto recs = readBack();
    QCOMPARE(recs.size(), size_t(1));
    QCOMPARE(recs[0].Causale.trimmed(), u"Affitto"_qs);
    QCOMPARE(recs[0].Totale.trimmed(), u"-650,00"_qs);
    QCOMPARE(recs[0].Note.trimmed(), u"Ricorrente n. 1 - Contratto"_qs);
    QCOMPARE(recs[0].Saldato.trimmed(), kNo);
    QCOMPARE(dueLines.size(), 1);
    QVERIFY(dueLines[0].startsWith(u"Affitto"));

    // The schedule kept its own copy: the card changes, the schedule does not.
    edit("txtImporto")->setText(u"900,00"_qs);
    const auto list = readSchedules(gui::programFolderPath());
    QCOMPARE(list.size(), size_t(1));
    QCOMPARE(list[0].movement.Importo.trimmed(), u"650,00"_qs);
    QCOMPARE(list[0].end.times, 3);
    QCOMPARE(list[0].next(), QDate::currentDate().addMonths(1));
  }

  void ripetiRefusesACardThatCouldNotBeSaved() {
    openEditor();
    ModalDriver driver([&](QWidget* w) { child<QPushButton>(w, "btnConferma")->click(); });
    child<QAbstractButton>(editor(), "cmdRipeti")->click();  // no reason on the card
    QVERIFY(driver.done());
    QCOMPARE(p->dialogs.seen().size(), 1);
    QVERIFY(p->dialogs.texts()[0].contains(u"causale"));
    QCOMPARE(editor()->focusWidget(), edit("txtCausale"));
    QVERIFY(!QFile::exists(p->folder() + u"Ricorrenti.json"_qs));
  }

  void theListShowsChangesAndStopsSchedules() {
    const QDate next = QDate::currentDate().addDays(40);
    addStored("1m", next, {ScheduleEnd::Kind::Times, {}, 6});
    addStored("2w", next);
    openEditor();
    p->dialogs.answer(Answer::Yes);  // stop schedule 2
    QStringList firstRow, stoppedRow;
    const bool shown = openList([&](QWidget* w) {
      auto* table = child<QTableView>(w, "tblRicorrenti");
      const QAbstractItemModel* m = table->model();
      QCOMPARE(m->rowCount(), 2);
      for (int c = 0; c < m->columnCount(); ++c) firstRow << m->index(0, c).data().toString();
      saveShot(w, artifacts(), u"ricorrenti-elenco"_qs);
      table->selectRow(1);
      child<QPushButton>(w, "btnSospendi")->click();
      for (int c = 0; c < m->columnCount(); ++c) stoppedRow << m->index(1, c).data().toString();
      w->close();
    });
    QVERIFY(shown);
    QCOMPARE(firstRow, QStringList({u"1"_qs, u"Canone"_qs, u"25,00"_qs, u"Uscita"_qs, u"ogni mese"_qs,
                                    formatDate(next), u"6 volte"_qs, u"attivo"_qs}));
    QCOMPARE(stoppedRow.last(), u"sospeso"_qs);
    QCOMPARE(stoppedRow[5], u"-"_qs);
    QVERIFY(p->dialogs.texts()[0].startsWith(u"Sospendere il movimento ricorrente n. 2 (Canone)?"));
    QVERIFY(readSchedules(gui::programFolderPath())[1].stopped);
  }

  void aChangeFromTheListIsSaved() {
    const QDate next = QDate::currentDate().addDays(40);
    addStored("1m", next);
    openEditor();
    p->dialogs.answer(Answer::Ok);  // changes saved
    std::unique_ptr<ModalDriver> changeDriver;
    const bool shown = openList([&](QWidget* list) {
      changeDriver = std::make_unique<ModalDriver>([&](QWidget* w) {
        QCOMPARE(w->windowTitle(), u" Modifica il movimento ricorrente"_qs);
        QCOMPARE(child<QDateEdit>(w, "dtPrima")->date(), next);
        QCOMPARE(child<QLineEdit>(w, "txtImporto")->text(), u"25,00"_qs);
        child<QComboBox>(w, "cboRipeti")->setCurrentIndex(5);  // every N weeks
        child<QSpinBox>(w, "spnSettimane")->setValue(3);
        child<QLineEdit>(w, "txtImporto")->setText(u"30"_qs);
        child<QRadioButton>(w, "optFineData")->click();
        child<QDateEdit>(w, "dtFine")->setDate(next.addDays(60));
        child<QPushButton>(w, "btnConferma")->click();
      });
      child<QTableView>(list, "tblRicorrenti")->selectRow(0);
      child<QPushButton>(list, "btnModifica")->click();
      QCOMPARE(child<QTableView>(list, "tblRicorrenti")->model()->index(0, 4).data().toString(),
               u"ogni 3 settimane"_qs);
      list->close();
    });
    QVERIFY(shown);
    QVERIFY(changeDriver && changeDriver->done());
    const Schedule s = readSchedules(gui::programFolderPath())[0];
    QCOMPARE(s.repetition.code(), u"3w"_qs);
    QCOMPARE(s.movement.Totale.trimmed(), u"-30,00"_qs);
    QCOMPARE(s.end.until, next.addDays(60));
    QCOMPARE(p->dialogs.texts(), QStringList({u"Le modifiche al movimento ricorrente n. 1 sono state salvate."_qs}));
  }

  // Opening the register generates what has come, missed months included;
  // declining the due list leaves the editor as it was.
  void openingTheRegisterGenerates() {
    const QDate today = QDate::currentDate();
    addStored("1w", today.addDays(-14));
    p->dialogs.answer(Answer::No);
    gui::switchTo(nullptr, p->windows->frmMenuMovimenti);
    QVERIFY(QTest::qWaitForWindowExposed(p->windows->frmMenuMovimenti));
    child<QLineEdit>(p->windows->frmMenuMovimenti, "txtAnnoPreventivi")->setText(thisYear());
    child<QPushButton>(p->windows->frmMenuMovimenti, "btnApriPreventivi")->click();
    QTRY_COMPARE(p->dialogs.seen().size(), 1);
    QVERIFY(p->dialogs.texts()[0].startsWith(u"Sono stati inseriti 3 movimenti ricorrenti."));
    QVERIFY(editor()->isVisible());
    size_t total = readBack().size();
    if (today.addDays(-14).year() != today.year()) total += readBack(QString::number(today.year() - 1)).size();
    QCOMPARE(total, size_t(3));
  }

  // At login the due list of the year of the movements added comes with the register.
  void loginGeneratesAndShowsTheDueList() {
    p->setPassword(u"segreto"_qs);
    addStored("1m", QDate::currentDate());
    p->dialogs.answer(Answer::Yes);
    gui::switchTo(nullptr, p->windows->frmPassword);
    QVERIFY(QTest::qWaitForWindowExposed(p->windows->frmPassword));
    child<QLineEdit>(p->windows->frmPassword, "txtPassword")->setText(u"segreto"_qs);
    QStringList dueLines;
    ModalDriver driver([&](QWidget* due) {
      dueLines = child<gui::LineList>(due, "lstRecords")->lines();
      due->close();
    });
    child<QPushButton>(p->windows->frmPassword, "cmdOK")->click();
    QVERIFY(driver.done());
    QCOMPARE(dueLines.size(), 1);
    QVERIFY(dueLines[0].startsWith(u"Canone"));
    QVERIFY(editor()->isVisible());
    QCOMPARE(editor()->archiveFile(), archive());
  }

  void aDamagedScheduleFileIsReportedAtLogin() {
    p->setPassword(u"segreto"_qs);
    QFile f(p->folder() + u"Ricorrenti.json"_qs);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("{ rotto");
    f.close();
    gui::switchTo(nullptr, p->windows->frmPassword);
    child<QLineEdit>(p->windows->frmPassword, "txtPassword")->setText(u"segreto"_qs);
    child<QPushButton>(p->windows->frmPassword, "cmdOK")->click();
    QCOMPARE(p->dialogs.seen().size(), 1);
    QVERIFY(p->dialogs.texts()[0].contains(u"danneggiato"));
    QVERIFY(p->windows->frmAvvio->isVisible());
    QFile back(p->folder() + u"Ricorrenti.json"_qs);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray("{ rotto"));
  }
};

QTEST_MAIN(TestRicorrenti)
#include "test_ricorrenti.moc"
