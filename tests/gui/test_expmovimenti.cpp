// The movement export window: the grid over the year archive, its editable
// cells, the export with its two questions, the written file as a spreadsheet
// program reads it, and the failure message.
#include <QAbstractItemModel>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QToolButton>

#include "core/archive.h"
#include "core/movementexport.h"
#include "gui/guide.h"
#include "movements/ExpMovimenti.h"
#include "movements/Movimenti.h"
#include "sheets.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;

namespace {

const QString kAskExport =
    u"L'esportazione dei dati in Excel può richiedere diversi minuti a seconda del numero di schede presenti "
    "in archivio.\r\n\r\nSi vuole esportare i dati adesso?"_qs;
const QString kAskOpen =
    u"Le schede in archivio sono state esportate con successo.\r\n\r\nSi vuole aprire il file di Excel?"_qs;
const QString kFailed =
    u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di Excel non sia "
    "già aperto."_qs;
// A failed export also says what failed: here a folder stands where the file goes.
const QString kFailedOnFolder =
    kFailed + u"\n\r\n\rLa destinazione non è un file ordinario (è una cartella, un dispositivo o una pipe) e "
              "non viene sostituita."_qs;

TMovimento movement(bool in, const QString& causale, const QString& totale) {
  TMovimento r;
  r.Entrata.set(in ? kSi : kNo);
  r.Uscita.set(in ? kNo : kSi);
  r.Data.set(u"02/02/2024");
  r.Causale.set(causale);
  r.DataSca.set(u"28/02/2024");
  r.Preavviso.set(u"3");
  r.Importo.set(totale.mid(1));
  r.Totale.set(totale);
  r.Saldato.set(kNo);
  return r;
}

}  // namespace

class TestExpMovimenti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<TfrmExpMovimenti> w;

  QString archive() const { return movementArchivePath(p->folder(), u"2024"_qs); }
  QString exported() const { return p->folder() + u"Movimenti.xls"_qs; }
  QTableView* grid() const { return child<QTableView>(w.get(), "grdRecords"); }
  QAbstractItemModel* model() const { return grid()->model(); }
  QString cell(int row, int column) const { return model()->index(row, column).data().toString(); }
  void click(const char* name) { child<QToolButton>(w.get(), name)->click(); }

  void store(const std::vector<TMovimento>& records) {
    MovementArchive a = MovementArchive::OpenOrCreate(archive());
    for (const TMovimento& r : records) a.Append(r);
    a.Close();
  }
  // The window as the editor's "Esporta" button opens it, shown without its
  // modal loop so the test can drive it.
  void openWindow() {
    p->windows->frmMovimenti->setArchiveFile(archive());
    w.reset(new TfrmExpMovimenti(p->windows->frmMovimenti));
    QVERIFY(showActive(w.get()));
  }
  void threeMovements() {
    TMovimento first = movement(true, u"Quota associativa \u00E0 saldo"_qs, u"+37,01"_qs);
    first.Pagatore.set(u"Rossi & Figli");
    first.Note.set(u"</table> 10 \u20AC");
    first.Saldato.set(kSi);
    store({first, movement(false, u"Affitto <ufficio>"_qs, u"-1250,00"_qs),
           movement(true, u"Rimborso"_qs, u"+0,50"_qs)});
  }
  void typeInto(int row, int column, const QString& text) { typeIntoCell(grid(), row, column, text); }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    w.reset();
    p.reset();
  }

  void theGridShowsEveryRecordWithItsColumns() {
    threeMovements();
    openWindow();
    QCOMPARE(model()->rowCount(), 3);
    QCOMPARE(model()->columnCount(), 21);
    const struct {
      const char* title;
      int width;
    } columns[] = {{"N.", 60},
                   {"Tipo movimento", 150},
                   {"Data operazione", 150},
                   {"Causale", 300},
                   {"Promemoria", 300},
                   {"Data scadenza", 150},
                   {"Giorni preavviso", 120},
                   {"Importo in euro", 150},
                   {"Pagatore", 250},
                   {"Recapito", 250},
                   {"Codice fiscale", 200},
                   {"Partita IVA", 180},
                   {"Categoria", 250},
                   {"E-mail", 200},
                   {"Modalità pagamento", 250},
                   {"Beneficiario", 250},
                   {"Recapito", 250},
                   {"CRO o Ricevuta n.", 250},
                   {"Note", 300},
                   {"Tariffa applicata", 250},
                   {"Saldato", 100}};
    for (int c = 0; c < 21; ++c) {
      QCOMPARE(model()->headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(columns[c].title));
      QCOMPARE(grid()->horizontalHeader()->sectionSize(c), columns[c].width);
    }
    QCOMPARE(grid()->verticalHeader()->defaultSectionSize(), 21);
    QVERIFY(grid()->alternatingRowColors());
    const QStringList first = {u"1"_qs,  u"Entrata"_qs,    u"02/02/2024"_qs,
                               u"Quota associativa \u00E0 saldo"_qs, QString(), u"28/02/2024"_qs,
                               u"3"_qs,  u"+37,01"_qs,     u"Rossi & Figli"_qs};
    for (int c = 0; c < first.size(); ++c) QCOMPARE(cell(0, c), first[c]);
    QCOMPARE(cell(0, 18), u"</table> 10 \u20AC"_qs);
    QCOMPARE(cell(0, 20), u"S\u00EC"_qs);
    QCOMPARE(cell(1, 0), u"2"_qs);
    QCOMPARE(cell(1, 1), u"Uscita"_qs);
    QCOMPARE(cell(1, 7), u"-1250,00"_qs);
    QCOMPARE(cell(2, 0), u"3"_qs);
    saveShot(w.get(), artifacts(), u"expmovimenti"_qs);
  }

  void anEmptyOrMissingArchiveShowsTenEmptyRows_data() {
    QTest::addColumn<bool>("exists");
    QTest::newRow("empty") << true;
    QTest::newRow("missing, created empty") << false;
  }
  void anEmptyOrMissingArchiveShowsTenEmptyRows() {
    QFETCH(bool, exists);
    if (exists) store({});
    openWindow();
    QCOMPARE(model()->rowCount(), 10);
    for (int r = 0; r < 10; ++r)
      for (int c = 0; c < 21; ++c) QCOMPARE(cell(r, c), QString());
    QVERIFY(QFile::exists(archive()));
    QCOMPARE(QFileInfo(archive()).size(), 0);
  }

  void onlyNoteAndSaldatoAreEditable() {
    threeMovements();
    openWindow();
    for (int c = 0; c < 21; ++c) {
      const bool editable = model()->flags(model()->index(0, c)) & Qt::ItemIsEditable;
      QCOMPARE(editable, c == 18 || c == 20);
    }
    // Typing into a read-only cell changes nothing.
    grid()->setFocus();
    grid()->setCurrentIndex(model()->index(0, 3));
    typeText(grid(), u"x"_qs);
    QCOMPARE(cell(0, 3), u"Quota associativa \u00E0 saldo"_qs);
  }

  void theQuestionsDecideWhatIsWrittenAndOpened_data() {
    QTest::addColumn<QList<int>>("answers");  // Yes = 1
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("opened");
    QTest::newRow("no export") << QList<int>{0} << false << false;
    QTest::newRow("export, do not open") << QList<int>{1, 0} << true << false;
    QTest::newRow("export and open") << QList<int>{1, 1} << true << true;
  }
  void theQuestionsDecideWhatIsWrittenAndOpened() {
    QFETCH(QList<int>, answers);
    QFETCH(bool, written);
    QFETCH(bool, opened);
    threeMovements();
    openWindow();
    for (int a : answers) p->dialogs.answer(a ? Answer::Yes : Answer::No);
    click("cmdEsporta");
    QStringList asked = {kAskExport};
    if (written) asked << kAskOpen;
    QCOMPARE(p->dialogs.texts(), asked);
    for (const auto& d : p->dialogs.seen()) QCOMPARE(d.kind, DialogKind::Question);
    QCOMPARE(QFile::exists(exported()), written);
    if (written) {
      MovementArchive a = MovementArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly);
      QCOMPARE(fileBytes(exported()), movementExportDocument(readMovementExport(a)));
    }
    QCOMPARE(p->shell.texts(), opened ? QStringList{u'"' + exported() + u'"'} : QStringList());
    QCOMPARE(QDir(p->folder()).entryList({u"*.xls*"_qs}, QDir::AllEntries | QDir::Hidden),
             written ? QStringList{u"Movimenti.xls"_qs} : QStringList());
  }

  void gridEditsReachTheFileButNeverTheArchive() {
    threeMovements();
    const QByteArray before = fileBytes(archive());
    openWindow();
    typeInto(1, 18, u"Pagato & chiuso"_qs);
    pressKey(QApplication::focusWidget(), Qt::Key_Return);
    // An edit still open when the export starts is exported as shown.
    typeInto(2, 20, u"S\u00EC"_qs);
    p->dialogs.answer(Answer::Yes);
    p->dialogs.answer(Answer::No);
    click("cmdEsporta");
    const QByteArray doc = fileBytes(exported());
    QVERIFY(doc.contains("<td style=\"text-align: left;\">Pagato &amp; chiuso</td>"));
    QVERIFY(doc.contains("-1250,00"));
    QCOMPARE(doc.count("<td style=\"text-align: left;\">S\xEC</td></tr>"), 2);
    QCOMPARE(fileBytes(archive()), before);
    QCOMPARE(cell(1, 18), u"Pagato & chiuso"_qs);
  }

  void aFailedExportSaysSoAndLeavesNoFile() {
    threeMovements();
    openWindow();
    QVERIFY(QDir().mkdir(exported()));  // something that cannot be replaced by a file
    p->dialogs.answer(Answer::Yes);
    click("cmdEsporta");
    QCOMPARE(p->dialogs.texts(), (QStringList{kAskExport, kFailedOnFolder}));
    QCOMPARE(p->dialogs.seen().last().kind, DialogKind::Message);
    QVERIFY(p->shell.texts().isEmpty());
    QVERIFY(QFileInfo(exported()).isDir());
    QCOMPARE(QDir(p->folder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"2024.eur"_qs});
  }

  void theFileOpensInASpreadsheetWithEveryValueInItsCell() {
    threeMovements();
    openWindow();
    p->dialogs.answer(Answer::Yes);
    p->dialogs.answer(Answer::No);
    click("cmdEsporta");
    const QList<QStringList> rows = spreadsheetRows(exported());
    QCOMPARE(rows.size(), 4);
    const QStringList& header = rows[0];
    QCOMPARE(header.size(), 20);
    QCOMPARE(header[0], u"Tipo movimento"_qs);
    QCOMPARE(header[13], u"Modalità pagamento"_qs);
    QCOMPARE(header[19], u"Saldato"_qs);
    // Dates and signed amounts are shown as the text written ("02/02/2024", "+37,01").
    const QStringList& first = rows[1];
    QCOMPARE(first.size(), 20);
    const QStringList expected = {u"Entrata"_qs, u"02/02/2024"_qs, u"Quota associativa \u00E0 saldo"_qs,
                                  QString(), u"28/02/2024"_qs, u"3"_qs, u"+37,01"_qs, u"Rossi & Figli"_qs};
    for (int c = 0; c < expected.size(); ++c) QCOMPARE(first[c], expected[c]);
    QCOMPARE(first[17], u"</table> 10 \u20AC"_qs);
    QCOMPARE(first[19], u"S\u00EC"_qs);
    const QStringList& second = rows[2];
    QCOMPARE(second.size(), 20);
    QCOMPARE(second[0], u"Uscita"_qs);
    QCOMPARE(second[2], u"Affitto <ufficio>"_qs);
    QCOMPARE(second[6], u"-1250,00"_qs);
    QCOMPARE(rows[3][6], u"+0,50"_qs);
  }

  void theInfoBarAndTheGuide() {
    openWindow();
    auto* info = child<QLabel>(w.get(), "panInfo");
    QCOMPARE(info->text(), u"Esportazione archivio in Microsoft Excel."_qs);
    const struct {
      const char* control;
      const char* text;
    } hovers[] = {{"cmdEsporta", "Esporta l'archivio in formato Microsoft Excel."},
                  {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
                  {"cmdEsci", "Esci da questo ambiente di lavoro."}};
    for (const auto& h : hovers) {
      QTest::mouseMove(child<QWidget>(w.get(), h.control));
      QCOMPARE(info->text(), QString::fromUtf8(h.text));
      QTest::mouseMove(w.get(), QPoint(400, 462));  // the background between grid and buttons
      QCOMPARE(info->text(), QString());
    }
    QString title, text;
    ModalDriver driver([&](QWidget* g) {
      title = child<QLabel>(g, "lblTitolo")->text();
      text = child<QPlainTextEdit>(g, "txtGuida")->toPlainText();
      g->close();
    });
    click("cmdGuida");
    QVERIFY(driver.done());
    QCOMPARE(title, u"Esportazione archivio movimenti in Microsoft Excel."_qs);
    QCOMPARE(text.split(u"\n\n"_qs).size(), 3);
    QVERIFY(text.contains(u"XLS"_qs));
    click("cmdEsci");
    QVERIFY(!w->isVisible());
  }
};

QTEST_MAIN(TestExpMovimenti)
#include "test_expmovimenti.moc"
