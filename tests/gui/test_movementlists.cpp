// SPDX-License-Identifier: GPL-3.0-or-later
// The movement search and the due list, opened from the editor as a user
// opens them: filters, the sorted list, the count, the messages, and the
// double click that loads a card into the editor.
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "../common/records.h"
#include "core/archive.h"
#include "core/lists.h"
#include "core/textrules.h"
#include "gui/fields.h"
#include "gui/listwindow.h"
#include "gui/print.h"
#include "movements/Movimenti.h"
#include "movements/SospesiMov.h"
#include "movements/TrovaMovimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;

namespace {

struct Mov {
  QString causale;
  QString pagatore;
  QString note;
  QString dataSca = u"01/01/2024"_qs;
  QString preavviso = u"0"_qs;
  QString saldato = u"No"_qs;
  bool entrata = true;
};

TMovimento record(const Mov& m) {
  return testdata::record(testdata::movement(m.causale, u"05/03/2024", u"12,50", m.entrata),
                          {{mov::Pagatore, m.pagatore},
                           {mov::Beneficiario, u"Studio Bianchi"},
                           {mov::Note, m.note},
                           {mov::DataSca, m.dataSca},
                           {mov::Preavviso, m.preavviso},
                           {mov::Saldato, m.saldato}});
}

QString today(int plusDays = 0) { return formatDate(QDate::currentDate().addDays(plusDays)); }

}  // namespace

class TestMovementLists : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  TfrmMovimenti* editor() const { return p->windows->frmMovimenti; }
  QString archive() const { return movementArchivePath(p->folder(), u"2024"_qs); }
  QString editorText(const char* name) const { return child<QLineEdit>(editor(), name)->text(); }
  QString position() const { return child<QLabel>(editor(), "lblPosizione")->text(); }

  void openEditor(const QString& path = QString()) {
    editor()->setArchiveFile(path.isEmpty() ? archive() : path);
    gui::switchTo(nullptr, editor());
    editor()->setWindowState(Qt::WindowNoState);
    editor()->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }
  void store(const std::vector<TMovimento>& records) {
    MovementArchive a = MovementArchive::OpenOrCreate(archive());
    for (const TMovimento& r : records) a.Append(r);
    a.Close();
  }
  static gui::LineList* list(QWidget* w) { return child<gui::LineList>(w, "lstRecords"); }
  static void doubleClick(QWidget* w, int row) { doubleClickRow(list(w), row); }
  // Runs `act` on the search window opened by the editor's "Trova".
  // A failed check inside `act` still closes the window.
  static std::function<void(QWidget*)> closing(const std::function<void(QWidget*)>& act) {
    return [act](QWidget* w) {
      if (QTest::qWaitForWindowActive(w)) act(w);
      else QTest::qFail("the window did not become active", __FILE__, __LINE__);
      if (w->isVisible()) w->close();
    };
  }
  bool inSearch(const std::function<void(QWidget*)>& act) {
    ModalDriver driver(closing(act));
    editor()->cmdTrovaClick();
    return driver.done();
  }
  bool inDueList(const std::function<void(QWidget*)>& act) {
    ModalDriver driver(closing(act));
    editor()->cmdScadenzeClick();
    return driver.done();
  }
  static void search(QWidget* w, std::initializer_list<std::pair<const char*, QString>> filters) {
    for (const auto& [name, text] : filters) child<QLineEdit>(w, name)->setText(text);
    child<QPushButton>(w, "btnCerca")->click();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void searchOpensOnTheFilters() {
    openEditor();
    QVERIFY(inSearch([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), u" Trova movimenti in archivio"_qs);
      // Its designed height; wider than designed on this full-HD screen, the filters centred.
      QCOMPARE(w->height(), 560);
      QVERIFY(w->width() > 862);
      QVERIFY(qAbs(child(w, "panAvvio")->geometry().center().x() - w->width() / 2) <= 1);
      QVERIFY(child(w, "panAvvio")->isVisible());
      QVERIFY(!child(w, "panContainer")->isVisible());
      QTRY_COMPARE(QApplication::focusWidget(), child(w, "txtData"));
      QCOMPARE(child<QLabel>(w, "lblConta")->text(), u"0"_qs);
      QVERIFY(!child(w, "lblAttendere")->isVisible());
      // The wait text goes up with the button, before the search runs.
      QTest::mousePress(child(w, "btnCerca"), Qt::LeftButton);
      QVERIFY(child(w, "lblAttendere")->isVisible());
      saveShot(w, artifacts(), u"search-filters"_qs);
      QTest::mouseRelease(child(w, "btnCerca"), Qt::LeftButton);
      saveShot(w, artifacts(), u"search-results-empty"_qs);
      w->close();
    }));
  }

  void enterWalksTheFiltersRoundAndTheFindKeyToItsButton() {
    openEditor();
    QVERIFY(inSearch([&](QWidget* w) {
      const char* chain[] = {"txtData",     "txtDataSca",      "txtCausale",  "txtPromemoria",
                             "txtPagatore", "txtCategoria",    "txtBeneficiario", "txtRicevuta",
                             "txtTariffa",  "txtNote",         "txtData"};
      for (int i = 0; i < 10; ++i) {
        QWidget* f = child(w, chain[i]);
        f->setFocus();
        QVERIFY(child(w, gui::frameName(QString::fromLatin1(chain[i])).toLatin1().constData())->isVisible());
        QTest::keyClick(f, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), child(w, chain[i + 1]));
      }
      search(w, {});
      QCOMPARE(QApplication::focusWidget(), child(w, "txtTrova"));
      QTest::keyClick(child(w, "txtTrova"), Qt::Key_Return);
      QCOMPARE(QApplication::focusWidget(), child(w, "btnTrova"));
      w->close();
    }));
  }

  void filtersSelectAndTheListIsSorted() {
    store({record({.causale = u"Luce"_qs, .pagatore = u"Mario Rossi"_qs, .dataSca = u"15/01/2024"_qs}),
           record({.causale = u"Gas"_qs, .pagatore = u"ROSSINI SRL"_qs}),
           record({.causale = u"Luce"_qs, .pagatore = u"Anna Rossi"_qs, .dataSca = u"02/11/2024"_qs}),
           record({.causale = u"Acqua"_qs, .pagatore = u"Verdi"_qs})});
    openEditor();
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{"txtPagatore", u"rossi"_qs}, {"txtNote", u"   "_qs}});
      QCOMPARE(child<QLabel>(w, "lblConta")->text(), u"1"_qs);
      QVERIFY(!child(w, "panAvvio")->isVisible());
      QVERIFY(child(w, "panContainer")->isVisible());
      QCOMPARE(child<QLabel>(w, "lblTrovate")->text(), u"Il presente riepilogo contiene 3 schede."_qs);
      const QStringList lines = list(w)->lines();
      QCOMPARE(lines.size(), 3);
      QVERIFY(lines[0].startsWith(u"Gas"_qs));
      QVERIFY(lines[1].contains(u"02/11/2024"_qs));  // the day comes first in the text
      QVERIFY(lines[2].contains(u"15/01/2024"_qs));
      QCOMPARE(lines[0].mid(140), u"+12,50"_qs);
      saveShot(w, artifacts(), u"search-results"_qs);
      // The list find.
      child<QLineEdit>(w, "txtTrova")->setText(u"luce"_qs);
      child<QPushButton>(w, "btnTrova")->click();
      QCOMPARE(list(w)->selectedRow(), 1);
      child<QPushButton>(w, "btnTrova")->click();
      QCOMPARE(list(w)->selectedRow(), 2);
      child<QPushButton>(w, "btnTrova")->click();
      QCOMPARE(list(w)->selectedRow(), 1);
      w->close();
    }));
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{"txtPagatore", u"rossi "_qs}});  // a trailing blank is part of the key
      QCOMPARE(list(w)->count(), 0);
      w->close();
    }));
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{"txtPagatore", u"rossi"_qs}, {"txtCausale", u"LUCE"_qs}});
      QCOMPARE(child<QLabel>(w, "lblConta")->text(), u"2"_qs);
      QCOMPARE(list(w)->count(), 2);
      w->close();
    }));
  }

  void doubleClickLoadsTheLaterOfIdenticalLines() {
    store({record({.causale = u"Luce"_qs, .note = u"prima"_qs, .entrata = false}),
           record({.causale = u"Gas"_qs, .note = u"gas"_qs}),
           record({.causale = u"Luce"_qs, .note = u"seconda"_qs, .entrata = false})});
    openEditor();
    bool closed = false;
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{"txtCausale", u"luce"_qs}});
      QCOMPARE(list(w)->count(), 2);
      connect(static_cast<gui::Form*>(w), &gui::Form::hidden, [&] { closed = true; });
      doubleClick(w, 0);
    }));
    QVERIFY(closed);
    QCOMPARE(editorText("txtNote"), u"seconda"_qs);
    QCOMPARE(position(), u"3"_qs);
    QCOMPARE(editorText("txtCausale"), u"Luce"_qs);
    QVERIFY(!child<QRadioButton>(editor(), "optEntrata")->isChecked());
    QCOMPARE(child<QLabel>(editor(), "lblImporto")->text(), u"Importo in uscita: \u20AC"_qs);
  }

  void closingLeavesTheEditorAlone() {
    store({record({.causale = u"Luce"_qs})});
    openEditor();
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      list(w)->selectRow(0);
      child<QPushButton>(w, "btnChiudi")->click();
    }));
    QVERIFY(position().isEmpty());
    QVERIFY(editorText("txtCausale").isEmpty());
  }

  void aMissingArchiveIsCreatedEmpty() {
    openEditor();
    QVERIFY(!QFile::exists(archive()));
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      QCOMPARE(list(w)->count(), 0);
      QCOMPARE(child<QLabel>(w, "lblTrovate")->text(), u"Il presente riepilogo contiene 0 schede."_qs);
      child<QPushButton>(w, "btnTrova")->click();
      QCOMPARE(p->dialogs.only().text, u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs);
      w->close();
    }));
    QVERIFY(QFile::exists(archive()));
    QCOMPARE(QFileInfo(archive()).size(), 0);
  }

  void anArchiveThatCannotBeOpenedIsSaidAndTheFiltersStay() {
    openEditor(p->folder() + u"missing-folder/2024.eur"_qs);
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      const auto shown = p->dialogs.only();
      QCOMPARE(shown.kind, DialogKind::Message);
      QCOMPARE(shown.text, archiveAccessMessage());
      QVERIFY(child(w, "panAvvio")->isVisible());
      QVERIFY(!child(w, "lblAttendere")->isVisible());
      w->close();
    }));
  }

  void dueListShowsWhatIsDueSortedAndWarnsOfDamagedRecords() {
    TMovimento damaged = record({.causale = u"Danneggiata"_qs, .dataSca = u"31/02/2024"_qs});
    store({record({.causale = u"Zeta"_qs, .dataSca = today(), .preavviso = u"0"_qs}),
           record({.causale = u"Domani"_qs, .dataSca = today(1), .preavviso = u"0"_qs}),
           damaged,
           record({.causale = u"Pagata"_qs, .dataSca = today(-3), .saldato = kSi}),
           record({.causale = u"Avviso"_qs, .note = u"avviso"_qs, .dataSca = today(5), .preavviso = u"5"_qs}),
           record({.causale = u"Scaduta"_qs, .dataSca = today(-40)})});
    openEditor();
    QVERIFY(inDueList([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), u" Riepilogo pagamenti in scadenza o scaduti"_qs);
      const QStringList lines = list(w)->lines();
      QCOMPARE(lines.size(), 3);
      QVERIFY(lines[0].startsWith(u"Avviso "_qs));
      QVERIFY(lines[1].startsWith(u"Scaduta "_qs));
      QVERIFY(lines[2].startsWith(u"Zeta "_qs));
      QTRY_COMPARE(p->dialogs.seen().size(), 1);
      const auto shown = p->dialogs.only();
      QCOMPARE(shown.kind, DialogKind::Notice);
      QVERIFY(shown.text.contains(u"posizione 3 "_qs));
      QCOMPARE(w->focusWidget(), child(w, "txtTrova"));
      QVERIFY(!child(w, "lblTrovate"));
      saveShot(w, artifacts(), u"due-list"_qs);
      doubleClick(w, 0);
    }));
    QCOMPARE(editorText("txtNote"), u"avviso"_qs);
    QCOMPARE(position(), u"5"_qs);
  }

  void eachListPrintsItsLinesUnderItsTitle() {
    store({record({.causale = u"Luce"_qs, .pagatore = u"Mario Rossi"_qs}),
           record({.causale = u"Gas"_qs, .pagatore = u"Enel"_qs, .dataSca = today(30)})});
    openEditor();
    PrintCapture printer;
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      child<QPushButton>(w, "btnStampa")->click();
    }));
    QVERIFY(inDueList([&](QWidget* w) { child<QPushButton>(w, "btnStampa")->click(); }));
    QCOMPARE(printer.jobs().size(), 2);
    QCOMPARE(printer.jobs()[0].request.target, gui::PrintTarget::Printer);
    QCOMPARE(printer.jobs()[0].request.layout.orientation(), QPageLayout::Landscape);
    // The PDF's text with each run of blanks as one, as a text extractor gives it.
    const QString searchText = printer.text(0).simplified();
    QVERIFY2(searchText.contains(u"Riepilogo movimenti in archivio"_qs), qPrintable(searchText));
    QVERIFY(searchText.indexOf(u"Gas"_qs) < searchText.indexOf(u"Luce"_qs));
    QVERIFY(searchText.contains(u"Da: Mario Rossi"_qs));
    QVERIFY(searchText.contains(u"Importo: +12,50"_qs));
    QVERIFY(searchText.contains(u"Stampa eseguita in data "_qs + today()));
    const QString dueText = printer.text(1).simplified();
    QVERIFY(dueText.contains(u"Riepilogo pagamenti in scadenza o scaduti e non saldati"_qs));
    QVERIFY(dueText.contains(u"Luce"_qs));
    QVERIFY(!dueText.contains(u"Gas"_qs));
    printer.savePages(0, artifacts(), u"search-printout"_qs);
  }

  void dueListOfAMissingArchiveIsEmpty() {
    openEditor();
    QVERIFY(inDueList([&](QWidget* w) {
      QCOMPARE(list(w)->count(), 0);
      child<QPushButton>(w, "btnChiudi")->click();
    }));
    QVERIFY(QFile::exists(archive()));
    QVERIFY(p->dialogs.seen().isEmpty());
  }
};

QTEST_MAIN(TestMovementLists)
#include "test_movementlists.moc"
