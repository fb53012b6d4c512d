// SPDX-License-Identifier: GPL-3.0-or-later
// The totals by category and the rendiconto per cassa, opened from the
// journal's period window: their grids, the period widened over two years,
// the printouts and exports, the classification written to Rendiconto.json.
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "../common/records.h"
#include "core/archive.h"
#include "core/rendiconto.h"
#include "gui/print.h"
#include "journal/MenuBilancio.h"
#include "movements/Movimenti.h"
#include "stats/ChartView.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

TMovimento movement(const QString& data, const QString& totale, const QString& categoria, bool saldato = true) {
  return testdata::categorised(data, totale, categoria, saldato);
}

QStringList rowTexts(const QAbstractItemModel* m, int row) {
  QStringList out;
  for (int c = 0; c < m->columnCount(); ++c) out << m->index(row, c).data().toString().trimmed();
  return out;
}

int rowNamed(const QAbstractItemModel* m, int column, const QString& text) {
  for (int r = 0; r < m->rowCount(); ++r)
    if (m->index(r, column).data().toString().trimmed() == text) return r;
  return -1;
}

}  // namespace

class TestCategorie : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  TfrmMenuBilancio* period() const { return p->windows->frmMenuBilancio; }

  void store(const QString& year, const std::vector<TMovimento>& records) {
    testdata::appendToYear(p->folder(), year, records);
  }
  void openPeriod(const QString& year, const QString& d1, const QString& m1, const QString& d2,
                  const QString& m2) {
    gui::switchTo(nullptr, period());
    QVERIFY(QTest::qWaitForWindowActive(period()));
    child<QLineEdit>(period(), "txtAnno")->setText(year);
    child<QLineEdit>(period(), "txtAnno")->setFocus();
    typeText(child<QLineEdit>(period(), "txtAnno"), QString());
    // The year reaches both groups as when typed.
    child<QLineEdit>(period(), "txtAnno")->clear();
    typeText(child<QLineEdit>(period(), "txtAnno"), year);
    child<QComboBox>(period(), "txtGiornoInizio")->setEditText(d1);
    child<QComboBox>(period(), "txtMeseInizio")->setEditText(m1);
    child<QComboBox>(period(), "txtGiornoFine")->setEditText(d2);
    child<QComboBox>(period(), "txtMeseFine")->setEditText(m2);
  }
  bool inWindow(const char* button, const std::function<void(QWidget*)>& act) {
    ModalDriver driver(act);
    child<QPushButton>(period(), button)->click();
    return driver.done();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() {
    p = std::make_unique<Program>();
    store(u"2023"_qs, {movement(u"15/01/2023"_qs, u"+1400,00"_qs, u"Quote associative"_qs),
                       movement(u"10/12/2023"_qs, u"-380,00"_qs, u"Materiale"_qs)});
    store(u"2024"_qs, {movement(u"10/01/2024"_qs, u"+1500,00"_qs, u"quote associative"_qs),
                       movement(u"01/03/2024"_qs, u"-300,00"_qs, u"Servizi: telefono"_qs),
                       movement(u"31/03/2024"_qs, u"-60,00"_qs, u"Servizi: banca"_qs, false),
                       movement(u"03/04/2024"_qs, u"-500,00"_qs, u"Giroconto"_qs),
                       movement(u"03/04/2024"_qs, u"+500,00"_qs, u"Giroconto"_qs),
                       movement(u"05/04/2024"_qs, u"-12,00"_qs, u""_qs)});
  }
  void cleanup() { p.reset(); }

  // The period window's entries come after its described controls.
  void theEntriesStandLastInThePeriodWindow() {
    gui::switchTo(nullptr, period());
    QVERIFY(QTest::qWaitForWindowActive(period()));
    QWidget* w = child<QWidget>(period(), "imgGuida");
    QCOMPARE(w->nextInFocusChain()->objectName(), u"btnCategorie"_qs);
    QCOMPARE(child<QWidget>(period(), "btnCategorie")->nextInFocusChain()->objectName(), u"btnRendiconto"_qs);
    saveShot(period(), artifacts(), u"categorie-periodo"_qs);
  }

  void theSummaryOfThePeriodAndOfTwoYears() {
    openPeriod(u"2024"_qs, u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    gui::testing::PrintCapture capture;
    p->dialogs.defaultQuestionAnswer = gui::Answer::No;
    QStringList total2024, total, servizi, telefono, note;
    const bool shown = inWindow("btnCategorie", [&](QWidget* w) {
      auto* table = child<QTableView>(w, "tblCategorie");
      const QAbstractItemModel* m = table->model();
      total2024 = rowTexts(m, m->rowCount() - 1);
      servizi = rowTexts(m, rowNamed(m, 0, u"Servizi"_qs));
      telefono = rowTexts(m, rowNamed(m, 0, u"telefono"_qs));
      note = QStringList{child<QLabel>(w, "lblNota")->text()};
      saveShot(w, artifacts(), u"categorie"_qs);
      // Widened over two years.
      child<QLineEdit>(w, "txtDal")->setText(u"01/01/2023"_qs);
      child<QPushButton>(w, "btnAggiorna")->click();
      total = rowTexts(m, m->rowCount() - 1);
      child<QPushButton>(w, "btnPdf")->click();
      child<QPushButton>(w, "btnEsporta")->click();
      w->close();
    });
    QVERIFY(shown);
    QCOMPARE(total2024, QStringList({u"Totale"_qs, u"6"_qs, u"2.000,00"_qs, u"872,00"_qs, u"+1.128,00"_qs}));
    QCOMPARE(servizi, QStringList({u"Servizi"_qs, u"2"_qs, u"0,00"_qs, u"360,00"_qs, u"-360,00"_qs}));
    QCOMPARE(telefono, QStringList({u"telefono"_qs, u"1"_qs, u"0,00"_qs, u"300,00"_qs, u"-300,00"_qs}));
    QVERIFY(note[0].contains(u"saldati e non saldati"_qs));
    QCOMPARE(total, QStringList({u"Totale"_qs, u"8"_qs, u"3.400,00"_qs, u"1.252,00"_qs, u"+2.148,00"_qs}));
    // The PDF in the program folder, its text the printout's.
    const QString pdf = QDir(p->folder()).filePath(u"Categorie.pdf"_qs);
    QVERIFY(QFile::exists(pdf));
    const QString text = gui::testing::pdfText(pdf);
    QVERIFY(text.contains(u"Riepilogo per categoria dal 01/01/2023 al 31/12/2024"_qs));
    QVERIFY(text.contains(u"Quote associative"_qs));
    QVERIFY(QFile::exists(QDir(p->folder()).filePath(u"Categorie.xls"_qs)));
    QVERIFY(p->shell.texts().isEmpty());  // "No" to opening them
  }

  // The expenses by category as the chart engine's bars, then its pie.
  void theChartOfExpenses() {
    openPeriod(u"2024"_qs, u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    QStringList points;
    const bool shown = inWindow("btnCategorie", [&](QWidget* w) {
      ModalDriver chart([&](QWidget* c) {
        auto* view = static_cast<ChartView*>(child<QWidget>(c, "chtCategorie"));
        for (const chart::Point& pt : view->chart.points())
          points << pt.label + u' ' + chart::Chart::valueText(pt.value);
        saveShot(c, artifacts(), u"categorie-grafico"_qs);
        child<QPushButton>(c, "btnTorta")->click();
        QCOMPARE(view->chart.seriesKind(), chart::SeriesKind::Pie);
        saveShot(c, artifacts(), u"categorie-grafico-torta"_qs);
        c->close();
      });
      child<QPushButton>(w, "btnGraficoUscite")->click();
      QVERIFY(chart.done());
      w->close();
    });
    QVERIFY(shown);
    QCOMPARE(points, QStringList({u"Giroconto 500"_qs, u"Servizi 360"_qs, u"(senza categoria) 12"_qs}));
  }

  void aDoubleClickShowsTheCategorysMovements() {
    openPeriod(u"2024"_qs, u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    QStringList lines;
    const bool shown = inWindow("btnCategorie", [&](QWidget* w) {
      auto* table = child<QTableView>(w, "tblCategorie");
      ModalDriver search([&](QWidget* s) {
        QTRY_VERIFY(child<QLineEdit>(s, "txtCategoria")->text() == u"Servizi: telefono");
        auto* list = child<QAbstractItemView>(s, "lstRecords");
        for (int r = 0; r < list->model()->rowCount(); ++r) lines << list->model()->index(r, 0).data().toString();
        saveShot(s, artifacts(), u"categorie-movimenti"_qs);
        s->close();
      });
      doubleClickRow(table, rowNamed(table->model(), 0, u"telefono"_qs));
      QVERIFY(search.done());
      w->close();
    });
    QVERIFY(shown);
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines[0].contains(u"300,00"_qs));
  }

  void theRendicontoClassifiedAndPrinted() {
    openPeriod(u"2024"_qs, u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    gui::testing::PrintCapture capture;
    QStringList r4, notUsed, noteText;
    const bool shown = inWindow("btnRendiconto", [&](QWidget* w) {
      auto* table = child<QTableView>(w, "tblRendiconto");
      const QAbstractItemModel* m = table->model();
      // Nothing classified yet: every line away, the amounts not classified said.
      QVERIFY(child<QLabel>(w, "lblNote")->text().contains(u"non classificat"_qs));
      // The classification: quote into A.E.1, servizi into A.U.2, the giroconto out.
      ModalDriver classify([&](QWidget* c) {
        auto* grid = child<QTableView>(c, "tblClassifica");
        const QAbstractItemModel* cm = grid->model();
        const auto choose = [&](const QString& name, const char* combo, const QString& code) {
          grid->selectRow(rowNamed(cm, 0, name));
          auto* box = child<QComboBox>(c, combo);
          box->setCurrentIndex(box->findData(code));
          emit box->activated(box->currentIndex());
        };
        choose(u"Quote associative"_qs, "cmbEntrate", u"A.E.1"_qs);
        choose(u"Servizi"_qs, "cmbUscite", u"A.U.2"_qs);
        choose(u"Giroconto"_qs, "cmbUscite", u"X"_qs);
        choose(u"Giroconto"_qs, "cmbEntrate", u"X"_qs);
        choose(u"Materiale"_qs, "cmbUscite", u"A.U.1"_qs);
        choose(u"(senza categoria)"_qs, "cmbUscite", u"A.U.5"_qs);
        // A side without movements takes no choice.
        grid->selectRow(rowNamed(cm, 0, u"Quote associative"_qs));
        QVERIFY(!child<QComboBox>(c, "cmbUscite")->isEnabled());
        grid->selectRow(rowNamed(cm, 0, u"telefono"_qs));
        notUsed << cm->index(rowNamed(cm, 0, u"telefono"_qs), 1).data().toString();
        saveShot(c, artifacts(), u"rendiconto-classificazione"_qs);
        child<QPushButton>(c, "btnSalva")->click();
      });
      child<QPushButton>(w, "btnClassifica")->click();
      QVERIFY(classify.done());
      // The balances: 2023 and 2022 so that 2023's check holds, 2024's too.
      child<QLineEdit>(w, "txtCassa2")->setText(u"100,00"_qs);
      child<QLineEdit>(w, "txtBanca2")->setText(u"0"_qs);
      child<QLineEdit>(w, "txtCassa1")->setText(u"1.120,00"_qs);
      child<QLineEdit>(w, "txtBanca1")->setText(u""_qs);
      child<QLineEdit>(w, "txtCassa0")->setText(u"20,00"_qs);
      child<QLineEdit>(w, "txtBanca0")->setText(u"2.288,00"_qs);
      child<QPushButton>(w, "btnSalvaSaldi")->click();
      r4 = rowTexts(m, rowNamed(m, 0, u"R4"_qs));
      noteText << child<QLabel>(w, "lblNote")->text();
      saveShot(w, artifacts(), u"rendiconto"_qs);
      child<QPushButton>(w, "btnAnteprima")->click();
      w->close();
    });
    QVERIFY(shown);
    QCOMPARE(notUsed, QStringList{u"come la categoria (A.U.2 - Servizi)"_qs});
    QCOMPARE(r4, QStringList({u"R4"_qs, u"Avanzo/disavanzo complessivo (+/-)"_qs, u"1.188,00"_qs, u"1.020,00"_qs}));
    QVERIFY(noteText[0].contains(u"Esercizio 2024: 1 movimento non saldato escluso"_qs));
    QVERIFY(!noteText[0].contains(u"non è definitivo"_qs));
    QVERIFY(noteText[0].contains(u"complessivo: verificato"_qs));
    // The classification and the balances in Rendiconto.json.
    const rendiconto::Settings s = rendiconto::readSettings(gui::programFolderPath());
    QCOMPARE(s.saldi.at(2024).banca, 228800);
    QCOMPARE(s.saldi.at(2023).cassa, 112000);
    QCOMPARE(rendiconto::Classifier(s.classificazione).codeFor(u"SERVIZI: telefono", rendiconto::Side::Uscite),
             u"A.U.2"_qs);
    QCOMPARE(rendiconto::Classifier(s.classificazione).codeFor(u"", rendiconto::Side::Uscite), u"A.U.5"_qs);
    // The preview shows the form.
    QCOMPARE(capture.jobs().size(), 1);
    QCOMPARE(capture.jobs()[0].request.target, gui::PrintTarget::Preview);
    const QString text = capture.text(0);
    QVERIFY(text.contains(u"RENDICONTO PER CASSA"_qs));
    QVERIFY(text.contains(u"Es. 2024"_qs));
    capture.savePages(0, artifacts(), u"rendiconto-stampa"_qs);
  }

  // The editor's Categoria offers the names of the open year and the year
  // before, whatever the case typed; the text accepted is stored as chosen.
  void theEditorCompletesCategories() {
    TfrmMovimenti* editor = p->windows->frmMovimenti;
    editor->setArchiveFile(movementArchivePath(p->folder(), u"2024"_qs));
    gui::switchTo(nullptr, editor);
    QVERIFY(QTest::qWaitForWindowActive(editor));
    auto* field = child<QLineEdit>(editor, "txtCategoria");
    field->setFocus();
    typeText(field, u"se"_qs);
    QCompleter* c = field->completer();
    QVERIFY(c);
    QStringList offered;
    for (int i = 0; c->setCurrentRow(i); ++i) offered << c->currentCompletion();
    QCOMPARE(offered, QStringList({u"Servizi"_qs, u"Servizi: banca"_qs, u"Servizi: telefono"_qs}));
    field->clear();
    typeText(field, u"MAT"_qs);
    QCOMPARE(c->currentCompletion(), u"Materiale"_qs);  // from the year before
    // A name saved meanwhile is offered at the next key.
    store(u"2024"_qs, {movement(u"06/04/2024"_qs, u"-5,00"_qs, u"Materiale: carta"_qs)});
    field->clear();
    typeText(field, u"mat"_qs);
    offered.clear();
    for (int i = 0; c->setCurrentRow(i); ++i) offered << c->currentCompletion();
    QCOMPARE(offered, QStringList({u"Materiale"_qs, u"Materiale: carta"_qs}));
    saveShot(editor, artifacts(), u"categorie-completamento"_qs);
    QCOMPARE(field->text(), u"mat"_qs);  // what was typed stays until a name is taken
  }

  void aDamagedFileIsSaidAndKept() {
    const QString path = QDir(p->folder()).filePath(u"Rendiconto.json"_qs);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("{\"classificazione\": 3}");
    f.close();
    openPeriod(u"2024"_qs, u"01"_qs, u"Gennaio"_qs, u"31"_qs, u"Dicembre"_qs);
    const bool shown = inWindow("btnRendiconto", [&](QWidget* w) {
      child<QLineEdit>(w, "txtCassa0")->setText(u"1,00"_qs);
      child<QPushButton>(w, "btnSalvaSaldi")->click();
      w->close();
    });
    QVERIFY(shown);
    QVERIFY(p->dialogs.texts().join(u' ').contains(u"Rendiconto.json non contiene una classificazione valida"_qs));
    QFile back(path);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray("{\"classificazione\": 3}"));
  }
};

QTEST_MAIN(TestCategorie)
#include "test_categorie.moc"
