// SPDX-License-Identifier: GPL-3.0-or-later
// The period window's checks, the journal it opens with its lines and totals,
// and the journal's print question.
#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Avvio.h"
#include "../common/records.h"
#include "core/archive.h"
#include "gui/listwindow.h"
#include "gui/print.h"
#include "journal/Bilancio.h"
#include "journal/MenuBilancio.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;

namespace {

TMovimento movement(const QString& data, const QString& totale, const QString& causale) {
  return testdata::record<TMovimento>({{mov::Data, data},
                                       {mov::Totale, totale},
                                       {mov::Causale, causale},
                                       {mov::Pagatore, u"Mario Rossi"},
                                       {mov::Beneficiario, u"Studio Bianchi"}});
}

const QString kDateHint = u"\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare una data valida."_qs;

}  // namespace

class TestBilancio : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  TfrmMenuBilancio* period() const { return p->windows->frmMenuBilancio; }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(period(), name); }
  QComboBox* box(const char* name) const { return child<QComboBox>(period(), name); }
  QString archive(const QString& year = u"2024"_qs) const { return movementArchivePath(p->folder(), year); }

  void openPeriod() {
    gui::switchTo(nullptr, period());
    QVERIFY(QTest::qWaitForWindowActive(period()));
  }
  void choose(const QString& year, const QString& d1, const QString& m1, const QString& d2, const QString& m2,
              const QString& reason = QString()) {
    // Typed, so that the year reaches both period groups as a user's would.
    edit("txtAnno")->clear();
    edit("txtAnno")->setFocus();
    typeText(edit("txtAnno"), year);
    edit("txtTipologia")->setText(reason);
    box("txtGiornoInizio")->setEditText(d1);
    box("txtMeseInizio")->setEditText(m1);
    box("txtGiornoFine")->setEditText(d2);
    box("txtMeseFine")->setEditText(m2);
  }
  void store(const std::vector<TMovimento>& records) {
    MovementArchive a = MovementArchive::OpenOrCreate(archive());
    for (const TMovimento& r : records) a.Append(r);
    a.Close();
  }
  // Runs `act` on the journal that "Visualizza riepilogo" opens.
  bool inJournal(const std::function<void(QWidget*)>& act) {
    ModalDriver driver([&](QWidget* w) {
      w->setWindowState(Qt::WindowNoState);
      w->setGeometry(0, 0, 1260, 740);
      if (QTest::qWaitForWindowActive(w)) act(w);
      else QTest::qFail("the journal did not become active", __FILE__, __LINE__);
      if (w->isVisible()) w->close();  // also after a failed check
    });
    child<QPushButton>(period(), "btnVisualizza")->click();
    return driver.done();
  }
  static QString text(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void everyShowingStartsFromTheCurrentYearAndNoPeriod() {
    openPeriod();
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(period()->windowTitle(), u" Fondaro 3.0 - Primanota e Bilancio"_qs);
    QCOMPARE(edit("txtAnno")->text(), year);
    QCOMPARE(text(period(), "lblAnnoInizio"), year);
    QCOMPARE(text(period(), "lblAnnoFine"), year);
    QCOMPARE(QApplication::focusWidget(), edit("txtTipologia"));
    QCOMPARE(box("txtGiornoInizio")->count(), 31);
    QCOMPARE(box("txtGiornoInizio")->itemText(0), u"01"_qs);
    QCOMPARE(box("txtMeseFine")->itemText(11), u"Dicembre"_qs);
    QVERIFY(box("txtMeseInizio")->currentText().isEmpty());
    QVERIFY(!child(period(), "lblAttendere")->isVisible());
    saveShot(period(), artifacts(), u"period-window"_qs);
    // Typing a year copies it into both groups.
    edit("txtAnno")->setFocus();
    QTest::keyClick(edit("txtAnno"), Qt::Key_Backspace);
    QCOMPARE(text(period(), "lblAnnoInizio"), year.left(3));
    // Enter walks the chain to "Visualizza riepilogo".
    const char* chain[] = {"txtAnno", "txtTipologia", "txtGiornoInizio", "txtMeseInizio", "txtGiornoFine",
                           "txtMeseFine", "btnVisualizza"};
    for (int i = 0; i < 6; ++i) {
      child(period(), chain[i])->setFocus();
      QTest::keyClick(child(period(), chain[i]), Qt::Key_Return);
      QCOMPARE(QApplication::focusWidget(), child(period(), chain[i + 1]));
    }
  }

  void theListsTakeNoTypingAndDropWhatIsNotAnItem() {
    openPeriod();
    QComboBox* month = box("txtMeseInizio");
    month->setFocus();
    typeText(month, u"Marzo"_qs);
    QVERIFY(month->currentText().isEmpty());
    QTest::keyClick(month, Qt::Key_Down);
    QCOMPARE(month->currentText(), u"Gennaio"_qs);
    month->setEditText(u"Marzx"_qs);
    box("txtGiornoFine")->setFocus();
    QVERIFY(month->currentText().isEmpty());
    month->setFocus();
    month->setEditText(u" marzo "_qs);
    box("txtGiornoFine")->setEditText(u"32"_qs);
    box("txtGiornoFine")->setFocus();
    QCOMPARE(month->currentText(), u" marzo "_qs);
    edit("txtTipologia")->setFocus();
    QVERIFY(box("txtGiornoFine")->currentText().isEmpty());
  }

  // The day and month lists show their text, in the field and in the open list,
  // in Verdana 12 bold like the other fields.
  void theListsShowTheirTextInVerdana12Bold() {
    openPeriod();
    for (const char* name : {"txtGiornoInizio", "txtMeseInizio", "txtGiornoFine", "txtMeseFine"}) {
      QComboBox* list = box(name);
      list->setCurrentIndex(8);
      list->showPopup();
      QTRY_VERIFY(list->view()->isVisible());
      saveShot(list->view()->window(), artifacts(), u"period-list-"_qs + QString::fromLatin1(name));
      for (const QFont& f : {list->lineEdit()->font(), list->view()->font()}) {
        QVERIFY2(f.family() == u"Verdana"_qs && f.pointSize() == 12 && f.bold(),
                 qPrintable(QString::fromLatin1(name) + u": "_qs + f.toString()));
      }
      list->hidePopup();
    }
    saveShot(period(), artifacts(), u"period-lists-chosen"_qs);
  }

  void eachCheckSaysWhatIsWrongAndWhere_data() {
    QTest::addColumn<QStringList>("choice");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const int notice = int(DialogKind::Notice), plain = int(DialogKind::Message);
    QTest::newRow("three-digit year") << QStringList{u"202"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs}
                                      << notice << u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs
                                      << u"txtAnno"_qs;
    QTest::newRow("no start day")
        << QStringList{u"2024"_qs, u""_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs} << notice
        << u"Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata."_qs
        << u"txtGiornoInizio"_qs;
    QTest::newRow("no start month")
        << QStringList{u"2024"_qs, u"01"_qs, u" "_qs, u"31"_qs, u"Marzo"_qs} << notice
        << u"Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a cascata."_qs
        << u"txtMeseInizio"_qs;
    QTest::newRow("no end day") << QStringList{u"2024"_qs, u"01"_qs, u"Marzo"_qs, u""_qs, u"Marzo"_qs} << notice
                                << u"Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a cascata."_qs
                                << u"txtGiornoFine"_qs;
    QTest::newRow("no end month") << QStringList{u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u""_qs} << notice
                                  << u"Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a cascata."_qs
                                  << u"txtMeseFine"_qs;
    QTest::newRow("start does not exist")
        << QStringList{u"2024"_qs, u"31"_qs, u"Febbraio"_qs, u"31"_qs, u"Marzo"_qs} << plain
        << u"Attenzione: la data 31/02/2024 di inizio intervallo non esiste."_qs + kDateHint << u"txtGiornoInizio"_qs;
    QTest::newRow("29 February outside a leap year")
        << QStringList{u"2023"_qs, u"29"_qs, u"Febbraio"_qs, u"31"_qs, u"Marzo"_qs} << plain
        << u"Attenzione: la data 29/02/2023 di inizio intervallo non esiste."_qs + kDateHint << u"txtGiornoInizio"_qs;
    QTest::newRow("end does not exist")
        << QStringList{u"2024"_qs, u"01"_qs, u"Aprile"_qs, u"31"_qs, u"Aprile"_qs} << plain
        << u"Attenzione: la data 31/04/2024 di fine intervallo non esiste."_qs + kDateHint << u"txtGiornoFine"_qs;
    QTest::newRow("end before start")
        << QStringList{u"2024"_qs, u"02"_qs, u"Gennaio"_qs, u"01"_qs, u"Gennaio"_qs} << plain
        << u"Attenzione: la data di fine intervallo (01/01/2024) non può essere anteriore a quella di inizio "
           u"intervallo (02/01/2024).\n\r\n\rPer poter visualizzare il riepilogo è necessario indicare un "
           u"intervallo di tempo valido."_qs
        << u"btnVisualizza"_qs;  // the focus stays on the button clicked
  }
  void eachCheckSaysWhatIsWrongAndWhere() {
    QFETCH(QStringList, choice);
    QFETCH(int, kind);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    openPeriod();
    choose(choice[0], choice[1], choice[2], choice[3], choice[4]);
    edit("txtTipologia")->setFocus();
    QPushButton* visualizza = child<QPushButton>(period(), "btnVisualizza");
    QTest::mousePress(visualizza, Qt::LeftButton);
    QVERIFY(child(period(), "lblAttendere")->isVisible());
    QTest::mouseRelease(visualizza, Qt::LeftButton);
    const auto shown = p->dialogs.only();
    QCOMPARE(int(shown.kind), kind);
    if (shown.kind == DialogKind::Notice) QCOMPARE(shown.icon, gui::Icon::Warning);
    QCOMPARE(shown.text, message);
    QWidget* target = child(period(), focus.toLatin1().constData());
    QWidget* f = QApplication::focusWidget();
    QVERIFY2(f == target || target->isAncestorOf(f), qPrintable(f->objectName()));
    QVERIFY(!child(period(), "lblAttendere")->isVisible());
    QVERIFY(!QFile::exists(archive()));
  }

  void theJournalOfAPeriodWithItsTotals() {
    store({movement(u"05/03/2024"_qs, u"+100,00"_qs, u"Fattura"_qs),
           movement(u"31/03/2024"_qs, u"-30,00"_qs, u"Bolletta luce"_qs),
           movement(u"01/04/2024"_qs, u"+50,00"_qs, u"Fattura"_qs),
           movement(u"01/03/2024"_qs, u"+0,10"_qs, u"Resto"_qs)});
    openPeriod();
    choose(u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs);
    QVERIFY(inJournal([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), u" Fondaro 3.0 - Primanota e Bilancio"_qs);
      QCOMPARE(text(period(), "lblDataInizio"), u"01/03/2024"_qs);
      QCOMPARE(text(period(), "lblDataFine"), u"31/03/2024"_qs);
      QCOMPARE(text(period(), "lblFile"), archive());
      const QStringList lines = child<gui::LineList>(w, "lstRecords")->lines();
      QCOMPARE(lines.size(), 3);
      QVERIFY(lines[0].startsWith(u"ENTRATA  Fattura"_qs));
      QVERIFY(lines[1].startsWith(u"USCITA   Bolletta luce"_qs));
      QCOMPARE(lines[1].mid(145), u"-30,00"_qs);
      QCOMPARE(text(w, "titTipologia"), u"- - -"_qs);
      QCOMPARE(text(w, "lblConta"), u"0"_qs);
      QCOMPARE(text(w, "lblIntervallo"), u"Dal   01/03/2024   al   31/03/2024"_qs);
      QCOMPARE(text(w, "lblTotEntrate"), u"100,10 \u20AC"_qs);
      QCOMPARE(text(w, "lblTotUscite"), u"-30,00 \u20AC"_qs);
      QCOMPARE(text(w, "lblBilancio"), u"70,10 \u20AC"_qs);
      QCOMPARE(w->focusWidget(), child(w, "txtTrova"));
      QVERIFY(p->dialogs.seen().isEmpty());
      saveShot(w, artifacts(), u"journal"_qs);
      // Answering No to the print question prints nothing.
      child<QPushButton>(w, "btnStampa")->click();
      QCOMPARE(p->dialogs.only().kind, DialogKind::Question);
      QCOMPARE(p->dialogs.only().text, u"Si vuole stampare la presente primanota?"_qs);
      child<QPushButton>(w, "btnEsci")->click();
    }));
    QVERIFY(!child(period(), "lblAttendere")->isVisible());
  }

  void aReasonFiltersAndDamagedRecordsAreNamed() {
    store({movement(u"05/03/2024"_qs, u"+10,00"_qs, u"Bolletta LUCE"_qs),
           movement(u"06/03/2024"_qs, u"+abc"_qs, u"Bolletta luce bis"_qs),
           movement(u"07/03/2024"_qs, u"-4,00"_qs, u"Gas"_qs),
           movement(u"30/02/2024"_qs, u"-4,00"_qs, u"Conto luce"_qs),
           movement(u"30/02/2024"_qs, u"-4,00"_qs, u"Luce"_qs)});  // no blank before: not read
    openPeriod();
    choose(u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs, u" luce"_qs);
    QVERIFY(inJournal([&](QWidget* w) {
      QCOMPARE(child<gui::LineList>(w, "lstRecords")->count(), 1);
      QCOMPARE(text(w, "titTipologia"), u"luce"_qs);
      QCOMPARE(text(w, "lblConta"), u"1"_qs);
      QCOMPARE(text(w, "lblBilancio"), u"10,00 \u20AC"_qs);
      QTRY_COMPARE(p->dialogs.seen().size(), 1);
      const auto shown = p->dialogs.only();
      QCOMPARE(shown.kind, DialogKind::Notice);
      QVERIFY2(shown.text.contains(u"posizione 2, 4 "_qs), qPrintable(shown.text));
      QVERIFY(shown.text.contains(u"non sono conteggiati"_qs));
      w->close();
    }));
  }

  void thePrintoutHoldsTheLinesTheSeparatorAndTheSummary() {
    store({movement(u"05/03/2024"_qs, u"+0,10"_qs, u"Quota"_qs), movement(u"06/03/2024"_qs, u"+0,20"_qs, u"Quota"_qs),
           movement(u"07/03/2024"_qs, u"-0,30"_qs, u"Quota"_qs)});
    openPeriod();
    choose(u"2024"_qs, u"01"_qs, u"Marzo"_qs, u"31"_qs, u"Marzo"_qs, u"quota"_qs);
    PrintCapture printer;
    p->dialogs.answer(gui::Answer::Yes);
    QVERIFY(inJournal([&](QWidget* w) {
      QCOMPARE(text(w, "lblBilancio"), u"0,00 €"_qs);
      child<QPushButton>(w, "btnStampa")->click();
    }));
    QCOMPARE(printer.jobs().size(), 1);
    QCOMPARE(printer.jobs()[0].request.title, u"Primanota"_qs);
    // The PDF's text with each run of blanks as one, as a text extractor gives it.
    const QString printed = printer.text(0).simplified();
    const auto has = [&](const QString& line) { return printed.contains(line.simplified()); };
    QVERIFY2(has(u"PRIMANOTA E BILANCIO - Causale : quota"_qs), qPrintable(printed));
    QCOMPARE(printed.count(u"ENTRATA Quota"_qs), 2);
    QCOMPARE(printed.count(u"USCITA Quota"_qs), 1);
    QVERIFY(printed.indexOf(u"Importo: -0,30"_qs) < printed.indexOf(u"- - - - - - - - - - - - - - - -"_qs));
    QVERIFY(has(u"INTERVALLO SELEZIONATO :      Dal   01/03/2024   al   31/03/2024"_qs));
    QVERIFY(has(u"TOTALE ENTRATE :              0,30 \u20AC"_qs));
    QVERIFY(has(u"TOTALE USCITE :               -0,30 \u20AC"_qs));
    QVERIFY(has(u"BILANCIO ENTRATE E USCITE :   0,00 \u20AC"_qs));
    printer.savePages(0, artifacts(), u"journal-printout"_qs);
  }

  void anEmptyPeriodCreatesTheArchiveAndHasNothingToPrint() {
    openPeriod();
    choose(u"2024"_qs, u"15"_qs, u"marzo"_qs, u"15"_qs, u"Marzo"_qs);
    QVERIFY(inJournal([&](QWidget* w) {
      QCOMPARE(child<gui::LineList>(w, "lstRecords")->count(), 0);
      QCOMPARE(text(w, "lblIntervallo"), u"Dal   15/03/2024   al   15/03/2024"_qs);
      QCOMPARE(text(w, "lblBilancio"), u"0,00 \u20AC"_qs);
      child<QPushButton>(w, "btnStampa")->click();
      const auto shown = p->dialogs.only();
      QCOMPARE(shown.kind, DialogKind::Notice);
      QCOMPARE(shown.text, u"Operazione di stampa non applicabile: la primanota non contiene nessun movimento in "
                           u"entrata o in uscita."_qs);
      w->close();
    }));
    QVERIFY(QFile::exists(archive()));
  }
};

QTEST_MAIN(TestBilancio)
#include "test_bilancio.moc"
