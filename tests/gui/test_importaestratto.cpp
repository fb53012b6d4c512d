// SPDX-License-Identifier: GPL-3.0-or-later
// The window "Importa estratto conto": from the file to the summary, the
// entries' states and ticks, the mapping of a CSV file whose columns are not
// recognised (remembered for the next file with the same header), a damaged
// statement, and the way in from the year window.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

#include "core/archive.h"
#include "core/bankimport.h"
#include "core/cp1252.h"
#include "app/Avvio.h"
#include "app/Password.h"
#include "gui/product.h"
#include "gui/progress.h"
#include "movements/ImportaEstratto.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "movements/SospesiMov.h"
#include "../core/test_support.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;

namespace {

// Four entries: one already in 2024.eur, two new, one in dollars.
const QByteArray kStatement = cp1252::encode(
    u"Data contabile;Descrizione;Importo;Divisa\r\n"
    u"05/01/2024;Affitto gennaio;-700,00;EUR\r\n"
    u"06/01/2024;Fattura 12 caffè;1.250,00;EUR\r\n"
    u"07/01/2024;Canone;-3,50;EUR\r\n"
    u"08/01/2024;Giroconto;-10,00;USD\r\n"
    u"Saldo finale;;546,50;\r\n");

}  // namespace

class TestImportaEstratto : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<TfrmImportaEstratto> w;

  QString archive(int year) const { return movementArchivePath(p->folder(), QString::number(year)); }
  std::vector<TMovimento> records(int year) const {
    std::vector<TMovimento> out;
    if (!QFile::exists(archive(year))) return out;
    const auto a = MovementArchive::OpenExisting(archive(year), RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    return out;
  }
  QString statementFile(const QByteArray& bytes, const QString& name = u"estratto.csv"_qs) {
    const QString path = p->dir.filePath(name);
    fondaro::testing::writeAll(path, bytes);
    return path;
  }
  QTableView* table() const { return child<QTableView>(w.get(), "tblMovimenti"); }
  QModelIndex at(int row, int column) const { return table()->model()->index(row, column); }
  QString cell(int row, int column) const { return at(row, column).data().toString(); }
  QString counts() const { return child<QLabel>(w.get(), "lblConteggio")->text(); }
  void openWindow() {
    w.reset(new TfrmImportaEstratto(p->windows->frmMenuMovimenti));
    QVERIFY(showActive(w.get()));
  }
  // Closes the due list open over the window, keeping its lines.
  void closeDueList(QStringList& lines) {
    auto* list = qobject_cast<TfrmSospesiMov*>(QApplication::activeModalWidget());
    if (!list) {
      QTimer::singleShot(20, this, [this, &lines] { closeDueList(lines); });
      return;
    }
    lines = list->list()->lines();
    list->close();
  }
  void choose(const QString& path) {
    p->dialogs.answer(Answer::Ok, path);
    child<QPushButton>(w.get(), "btnSfoglia")->click();
  }

 private slots:
  void initTestCase() {
    prepareTestApplication();
    fondaro::gui::testing::setProgressDelay(0);
  }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    w.reset();
    p.reset();
  }

  void fromTheFileToTheSummary() {
    StatementEntry stored;
    stored.date = QDate(2024, 1, 5);
    stored.cents = -70000;
    stored.currency = u"EUR"_qs;
    stored.description = u"Affitto gennaio"_qs;
    {
      auto a = MovementArchive::OpenOrCreate(archive(2024));
      a.Append(movementFromEntry(stored, u"vecchio.csv"_qs));
      a.Close();
    }
    openWindow();
    QVERIFY(!child<QPushButton>(w.get(), "btnImporta")->isEnabled());
    choose(statementFile(kStatement));
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(p->dialogs.seen().front().kind, DialogKind::OpenFile);

    QCOMPARE(table()->model()->rowCount(), 4);
    QCOMPARE(cell(0, 8), u"Già presente"_qs);
    QCOMPARE(cell(1, 8), u"Nuovo"_qs);
    QCOMPARE(cell(1, 2), u"06/01/2024"_qs);
    QCOMPARE(cell(1, 3), u"Entrata"_qs);
    QCOMPARE(cell(1, 4), u"1250,00"_qs);
    QCOMPARE(cell(1, 5), u"Fattura 12 caffè"_qs);
    QCOMPARE(cell(2, 3), u"Uscita"_qs);
    QCOMPARE(cell(3, 8), u"Scartato: in USD, non in euro"_qs);
    QVERIFY(!(table()->model()->flags(at(0, 0)) & Qt::ItemIsUserCheckable));
    QCOMPARE(at(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(counts(), u"Da importare: 2   Esclusi: 0   Già presenti: 1   Scartati: 1"_qs);

    // Space on the third row leaves the fee out.
    table()->setFocus();
    table()->setCurrentIndex(at(2, 5));
    QTest::keyClick(table(), Qt::Key_Space);
    QCOMPARE(at(2, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(cell(2, 8), u"Nuovo, escluso"_qs);
    QCOMPARE(counts(), u"Da importare: 1   Esclusi: 1   Già presenti: 1   Scartati: 1"_qs);
    saveShot(w.get(), artifacts(), u"import-statement"_qs);

    p->dialogs.clear();
    p->dialogs.answer(Answer::Yes);
    child<QPushButton>(w.get(), "btnImporta")->click();
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(p->dialogs.seen().front().kind, DialogKind::Question);
    QCOMPARE(p->dialogs.seen().front().text,
             u"Importazione dell'estratto conto estratto.csv completata.\n\r\n\r"
             "Anno 2024: 1 movimento aggiunto, 1 già presente.\nMovimenti scartati: 1.\nMovimenti esclusi: 1."
             "\n\r\n\rAprire i movimenti dell'anno 2024?"_qs);
    QCOMPARE(w->yearToOpen(), u"2024"_qs);
    QVERIFY(!w->isVisible());
    const auto now = records(2024);
    QCOMPARE(now.size(), size_t(2));
    QCOMPARE(now[1].Causale.get(), u"Fattura 12 caffè"_qs);
    QCOMPARE(now[1].Note.get(), u"Importato da estratto.csv"_qs);
    QCOMPARE(now[1].Saldato.get(), kSi);
  }

  // Two unpaid bills of one amount; the payment settles the nearer one. The
  // user chooses the other from the short list, refuses, chooses again, and
  // imports: the chosen bill is settled in place, the due list is offered and
  // lists the one still to pay.
  void aPaymentSettlesTheBillItPays() {
    const auto bill = [](const char16_t* causale, const char16_t* due) {
      TMovimento r;
      r.Entrata.set(kNo);
      r.Uscita.set(kSi);
      r.Data.set(u"10/01/2024");
      r.DataSca.set(QStringView(due));
      r.Preavviso.set(u"0");
      r.Importo.set(u"250,00");
      r.Totale.set(u"-250,00");
      r.Causale.set(QStringView(causale));
      r.Beneficiario.set(u"Enel Energia");
      r.Saldato.set(kNo);
      return r;
    };
    {
      auto a = MovementArchive::OpenOrCreate(archive(2024));
      a.Append(bill(u"Bolletta gennaio", u"31/01/2024"));
      a.Append(bill(u"Bolletta febbraio", u"15/02/2024"));
      a.Close();
    }
    openWindow();
    choose(statementFile(cp1252::encode(u"Data contabile;Descrizione;Controparte;Riferimento;Importo\r\n"
                                        u"05/02/2024;Addebito SDD;ENEL ENERGIA SPA;0304198765432;-250,00\r\n"
                                        u"06/02/2024;Canone;Banca;R9;-3,50\r\n")));
    QCOMPARE(cell(0, 8), u"Salda: Bolletta gennaio (anno 2024, n. 1, scadenza 31/01/2024)"_qs);
    QCOMPARE(cell(1, 8), u"Nuovo"_qs);
    QCOMPARE(counts(), u"Da importare: 1   Esclusi: 0   Già presenti: 0   Scartati: 0   Da saldare: 1"_qs);
    auto* combo = child<QComboBox>(w.get(), "cboAbbinamento");
    QVERIFY(combo->isEnabled());
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->itemText(1), u"Bolletta febbraio - anno 2024, n. 2, scadenza 15/02/2024 (Enel Energia)"_qs);
    QCOMPARE(combo->itemText(2), u"Nessuno: aggiungere come movimento nuovo"_qs);

    const auto pick = [&](int index) {
      combo->setCurrentIndex(index);
      emit combo->activated(index);
    };
    pick(2);
    QCOMPARE(cell(0, 8), u"Nuovo (abbinamento rifiutato)"_qs);
    QCOMPARE(counts(), u"Da importare: 2   Esclusi: 0   Già presenti: 0   Scartati: 0   Da saldare: 0"_qs);
    pick(1);
    QCOMPARE(cell(0, 8), u"Salda: Bolletta febbraio (anno 2024, n. 2, scadenza 15/02/2024)"_qs);
    QCOMPARE(combo->currentIndex(), 1);
    // The fee has nothing to settle.
    table()->setCurrentIndex(at(1, 5));
    QVERIFY(!combo->isEnabled());
    table()->setCurrentIndex(at(0, 5));
    saveShot(w.get(), artifacts(), u"import-statement-match"_qs);

    // The due list opens over the window; it lists the bill still to pay.
    QStringList dueLines;
    QTimer::singleShot(0, this, [&] { closeDueList(dueLines); });
    p->dialogs.clear();
    p->dialogs.answer(Answer::Yes);
    child<QPushButton>(w.get(), "btnImporta")->click();
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(p->dialogs.seen().front().text,
             u"Importazione dell'estratto conto estratto.csv completata.\n\r\n\r"
             "Anno 2024: 1 movimento aggiunto, 0 già presenti, 1 movimento saldato."
             "\n\r\n\rAprire l'elenco dei pagamenti in scadenza o scaduti dell'anno 2024?"_qs);
    QCOMPARE(dueLines.size(), 1);
    QVERIFY2(dueLines.front().startsWith(u"Bolletta gennaio"_qs), qPrintable(dueLines.front()));
    const auto now = records(2024);
    QCOMPARE(now.size(), size_t(3));
    QCOMPARE(now[0].Saldato.get(), kNo);
    QCOMPARE(now[1].Saldato.get(), kSi);
    QCOMPARE(now[1].Ricevuta.get(), u"0304198765432 del 05/02/2024"_qs);
    QCOMPARE(now[1].Note.get(), u"Pagato il 05/02/2024"_qs);
    QCOMPARE(now[2].Causale.get(), u"Canone"_qs);
    // The list now shows what is stored: both entries already present.
    QCOMPARE(cell(0, 8), u"Già presente"_qs);
    QCOMPARE(cell(1, 8), u"Già presente"_qs);
  }

  // One year's archive cannot be written: the other year is written all the
  // same, and the message tells each year as its archive now stands.
  void aYearThatCannotBeWrittenDoesNotStopTheOther() {
    openWindow();
    choose(statementFile(cp1252::encode(u"Data contabile;Descrizione;Importo\r\n"
                                        u"30/12/2023;Canone dicembre;-3,50\r\n"
                                        u"05/01/2024;Affitto gennaio;-700,00\r\n")));
    QCOMPARE(table()->model()->rowCount(), 2);
    QVERIFY(QDir().mkpath(archive(2023)));  // a folder where the archive goes
    p->dialogs.clear();
    child<QPushButton>(w.get(), "btnImporta")->click();
    QCOMPARE(p->dialogs.seen().size(), 1);
    const QString text = p->dialogs.seen().front().text;
    QVERIFY2(text.startsWith(u"Non è stato possibile scrivere tutto nell'archivio dell'anno 2023: 0 movimenti"_qs),
             qPrintable(text));
    QVERIFY2(text.contains(u"Ora negli archivi:\nAnno 2024: 1 movimento aggiunto, 0 già presenti."_qs), qPrintable(text));
    QCOMPARE(records(2024).size(), size_t(1));
  }

  // The bank's long texts (a counterparty, the state of an entry not booked)
  // show whole in their cells: their columns take the room, or they wrap.
  void longTextsShowWholeInTheirCells() {
    const QByteArray camt = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
        "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.04\"><BkToCstmrStmt><Stmt><Id>S</Id>"
        "<Ntry><Amt Ccy=\"EUR\">1250.00</Amt><CdtDbtInd>CRDT</CdtDbtInd><Sts>BOOK</Sts>"
        "<BookgDt><Dt>2024-02-05</Dt></BookgDt><AcctSvcrRef>SEPA2024020512345</AcctSvcrRef>"
        "<NtryDtls><TxDtls><RltdPties><Dbtr><Nm>Società Cooperativa Agricola Produttori Riuniti della Val "
        "di Non</Nm></Dbtr></RltdPties><RmtInf><Ustrd>Fattura 12 caffè</Ustrd></RmtInf></TxDtls></NtryDtls>"
        "</Ntry><Ntry><Amt Ccy=\"EUR\">5.00</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>PDNG</Sts>"
        "<ValDt><Dt>2024-02-07</Dt></ValDt></Ntry></Stmt></BkToCstmrStmt></Document>").toUtf8();
    openWindow();
    choose(statementFile(camt, u"estratto.xml"_qs));
    QCOMPARE(table()->model()->rowCount(), 2);
    QCOMPARE(cell(1, 8), u"Scartato: non contabilizzato (PDNG)"_qs);
    saveShot(w.get(), artifacts(), u"import-statement-long"_qs);
    const QFontMetrics m(table()->font());
    // A cell draws its text this far in from either edge (as the style's views do).
    const int margin = table()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table()) + 1;
    for (int row = 0; row < 2; ++row)
      for (int column : {5, 6, 7, 8}) {
        const QRect room = table()->visualRect(at(row, column)).adjusted(margin, 0, -margin, 0);
        const QRect needed =
            m.boundingRect(QRect(QPoint(0, 0), room.size()), Qt::TextWordWrap, cell(row, column));
        QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
                 qPrintable(u"row %1, column %2: \"%3\" needs %4 x %5, the cell has %6 x %7"_qs.arg(row)
                                .arg(column)
                                .arg(cell(row, column))
                                .arg(needed.width())
                                .arg(needed.height())
                                .arg(room.width())
                                .arg(room.height())));
      }
  }

  void afterAnImportWithoutOpeningTheListShowsWhatIsStored() {
    openWindow();
    choose(statementFile(kStatement));
    p->dialogs.clear();
    p->dialogs.answer(Answer::No);
    child<QPushButton>(w.get(), "btnImporta")->click();
    QVERIFY(w->isVisible());
    QVERIFY(w->yearToOpen().isEmpty());
    QCOMPARE(records(2024).size(), size_t(3));
    QCOMPARE(cell(0, 8), u"Già presente"_qs);
    QCOMPARE(cell(2, 8), u"Già presente"_qs);
    QCOMPARE(counts(), u"Da importare: 0   Esclusi: 0   Già presenti: 3   Scartati: 1"_qs);
    p->dialogs.clear();
    child<QPushButton>(w.get(), "btnImporta")->click();
    QCOMPARE(p->dialogs.only().text, u"Non ci sono movimenti nuovi da importare."_qs);
    QCOMPARE(records(2024).size(), size_t(3));
  }

  void unknownColumnsAreMappedAndRemembered() {
    const QByteArray bytes = "Giorno;Testo;Uscita;Entrata;Chi\n"
                             "05/01/2024;Affitto;700,00;;Immobiliare Srl\n"
                             "06/01/2024;Fattura 3;;1.000,00;Cliente Spa\n";
    openWindow();
    choose(statementFile(bytes, u"banca.csv"_qs));
    auto* pages = child<QStackedWidget>(w.get(), "stkPagine");
    QCOMPARE(pages->currentWidget()->objectName(), u"panColonne"_qs);
    auto* preview = child<QTableWidget>(w.get(), "tblAnteprima");
    QCOMPARE(preview->rowCount(), 3);
    QCOMPARE(preview->item(0, 4)->text(), u"Chi"_qs);
    const auto pick = [&](const char* combo, int column) {
      auto* c = child<QComboBox>(w.get(), combo);
      c->setCurrentIndex(c->findData(column));
    };
    // Without an amount the mapping is refused.
    pick("cboData", 0);
    p->dialogs.clear();
    child<QPushButton>(w.get(), "btnApplica")->click();
    QCOMPARE(p->dialogs.only().text,
             u"Indicare la colonna dell'importo, oppure le due colonne delle uscite e delle entrate."_qs);
    pick("cboUscite", 2);
    pick("cboEntrate", 3);
    pick("cboDescrizione", 1);
    pick("cboControparte", 4);
    saveShot(w.get(), artifacts(), u"import-statement-columns"_qs);
    child<QPushButton>(w.get(), "btnApplica")->click();
    QCOMPARE(pages->currentWidget(), table());
    QCOMPARE(table()->model()->rowCount(), 2);
    QCOMPARE(cell(0, 6), u"Immobiliare Srl"_qs);
    QCOMPARE(cell(1, 4), u"1000,00"_qs);

    // Another file with the same header goes straight to the list.
    w.reset();
    openWindow();
    choose(statementFile(bytes + "07/01/2024;Luce;80,00;;Enel\n", u"banca2.csv"_qs));
    pages = child<QStackedWidget>(w.get(), "stkPagine");
    QCOMPARE(pages->currentWidget(), table());
    QCOMPARE(table()->model()->rowCount(), 3);
    QCOMPARE(cell(2, 5), u"Luce"_qs);
  }

  void aDamagedStatementIsReportedAndNothingIsWritten() {
    openWindow();
    const QByteArray camt =
        "<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\">"
        "<BkToCstmrStmt><Stmt><Ntry><Amt Ccy=\"EUR\">1.00</Amt><CdtDbtInd>CRDT</CdtDbtInd>";
    choose(statementFile(camt, u"rotto.xml"_qs));
    const auto& shown = p->dialogs.seen().back();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QVERIFY2(shown.text.startsWith(u"Impossibile importare l'estratto conto rotto.xml."_qs), qPrintable(shown.text));
    QVERIFY2(shown.text.contains(u"incompleto"_qs), qPrintable(shown.text));
    QCOMPARE(table()->model()->rowCount(), 0);
    QVERIFY(!child<QPushButton>(w.get(), "btnImporta")->isEnabled());
    QVERIFY(!QFile::exists(archive(2024)));
  }

  void cancellingWhileReadingLeavesEverythingAsItWas() {
    openWindow();
    {
      ProgressCanceller cancel;
      choose(statementFile("<?xml version=\"1.0\"?><Document><BkToCstmrStmt><Stmt><Ntry><Amt Ccy=\"EUR\">1.00</Amt>"
                           "<CdtDbtInd>CRDT</CdtDbtInd><BookgDt><Dt>2024-01-05</Dt></BookgDt></Ntry></Stmt>"
                           "</BkToCstmrStmt></Document>",
                           u"estratto.xml"_qs));
      QVERIFY(!cancel.sentences().isEmpty());
    }
    QCOMPARE(table()->model()->rowCount(), 0);
    QVERIFY(!child<QPushButton>(w.get(), "btnImporta")->isEnabled());
    QVERIFY(!QFile::exists(archive(2024)));
  }

  // The way in: a button of the register's year window; the movements of the
  // year open afterwards as "Apri" opens them.
  void theYearWindowOpensItAndThenTheRegister() {
    WindowSet& ws = *p->windows;
    ws.frmPassword->present();
    gui::switchTo(ws.frmPassword, ws.frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(ws.frmAvvio));
    ws.frmAvvio->imgApp02Click();
    QVERIFY(QTest::qWaitForWindowActive(ws.frmMenuMovimenti));
    auto* button = child<QPushButton>(ws.frmMenuMovimenti, "btnImportaEstratto");
    QCOMPARE(button->text(), u"Importa estratto conto..."_qs);
    saveShot(ws.frmMenuMovimenti, artifacts(), u"year-window-import"_qs);
    const QString path = statementFile(kStatement);
    p->dialogs.answer(Answer::Yes);
    ModalDriver driver([&](QWidget* modal) {
      auto* window = qobject_cast<TfrmImportaEstratto*>(modal);
      QVERIFY(window);
      window->openFile(path);
      child<QPushButton>(window, "btnImporta")->click();
    });
    button->click();
    QVERIFY(driver.done());
    QCOMPARE(records(2024).size(), size_t(3));
    QVERIFY(QTest::qWaitFor([&] { return ws.frmMovimenti->isVisible(); }));
    QVERIFY(!ws.frmMenuMovimenti->isVisible());
    QCOMPARE(child<QLabel>(ws.frmMovimenti, "lblFile")->text(), archive(2024));
    QCOMPARE(ws.frmMovimenti->windowTitle(), gui::windowCaption(u"Registro movimenti anno 2024"));
  }
};

QTEST_MAIN(TestImportaEstratto)
#include "test_importaestratto.moc"
