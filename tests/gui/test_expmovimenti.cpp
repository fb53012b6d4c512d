// SPDX-License-Identifier: GPL-3.0-or-later
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
    w.reset(new TfrmExpMovimenti(p->windows->frmMovimenti, p->windows->frmMovimenti->archiveFile()));
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
    const QByteArray textCell = "<td class=t x:str sdnum=\"1033;1040;@\">";
    QVERIFY(doc.contains(textCell + "Pagato &amp; chiuso</td>"));
    QVERIFY(doc.contains("-1250,00"));
    QCOMPARE(doc.count(textCell + "S\xEC</td></tr>"), 2);
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
    // Dates are shown as written ("02/02/2024"), amounts as numbers with two
    // decimals ("37,01", "-1250,00").
    const QStringList& first = rows[1];
    QCOMPARE(first.size(), 20);
    const QStringList expected = {u"Entrata"_qs, u"02/02/2024"_qs, u"Quota associativa \u00E0 saldo"_qs,
                                  QString(), u"28/02/2024"_qs, u"3"_qs, u"37,01"_qs, u"Rossi & Figli"_qs};
    for (int c = 0; c < expected.size(); ++c) QCOMPARE(first[c], expected[c]);
    QCOMPARE(first[17], u"</table> 10 \u20AC"_qs);
    QCOMPARE(first[19], u"S\u00EC"_qs);
    const QStringList& second = rows[2];
    QCOMPARE(second.size(), 20);
    QCOMPARE(second[0], u"Uscita"_qs);
    QCOMPARE(second[2], u"Affitto <ufficio>"_qs);
    QCOMPARE(second[6], u"-1250,00"_qs);
    QCOMPARE(rows[3][6], u"0,50"_qs);
  }

  // Each cell reaches the spreadsheet with its type: texts as typed (never a
  // number, a date or a formula), amounts, dates and days of notice as values.
  // A grid edit is typed by its column's rule.
  void theSpreadsheetReadsEachCellWithItsType() {
    const QString longNote = u"Nota lunga, caff\u00E8 a 3 \u20AC \u2014 pi\u00F9 volte; "_qs.repeated(8).left(249) + u'!';
    TMovimento in = movement(true, u"=1+1"_qs, u"+120,50"_qs);
    in.Promemoria.set(u"riga\tdue");
    in.Pagatore.set(u"=acconto");
    in.RecapitoPag.set(u"+39 06 1234567");
    in.CodFisc.set(u"-");
    in.PartitaIva.set(u"01234567897");
    in.Categoria.set(u"@x");
    in.Beneficiario.set(u"Societ\u00E0 Nicol\u00F2");
    in.Ricevuta.set(u"00184");
    in.Note.set(longNote);
    in.Tariffa.set(u"+120,50");
    TMovimento out = movement(false, u"Affitto"_qs, u"-1250,00"_qs);
    out.Data.set(u"28/02/1900");  // before the day spreadsheets agree on
    out.Preavviso.set(u"05");
    store({in, out});
    openWindow();
    typeInto(1, 18, u"=SOMMA(1;2)"_qs);
    pressKey(QApplication::focusWidget(), Qt::Key_Return);
    typeInto(1, 20, u"0,50"_qs);
    pressKey(QApplication::focusWidget(), Qt::Key_Return);
    p->dialogs.answer(Answer::Yes);
    p->dialogs.answer(Answer::No);
    click("cmdEsporta");

    const QList<QList<SheetCell>> rows = spreadsheetCells(exported());
    QCOMPARE(rows.size(), 3);
    const QString text = u"string"_qs;
    const struct {
      int row, column;
      QString type, value, shown;
    } cells[] = {
        {1, 0, text, {}, u"Entrata"_qs},
        {1, 1, u"date"_qs, u"2024-02-02"_qs, u"02/02/2024"_qs},
        {1, 2, text, {}, u"=1+1"_qs},
        {1, 3, text, {}, u"riga due"_qs},
        {1, 4, u"date"_qs, u"2024-02-28"_qs, u"28/02/2024"_qs},
        {1, 5, u"float"_qs, u"3"_qs, u"3"_qs},
        {1, 6, u"float"_qs, u"120.5"_qs, u"120,50"_qs},
        {1, 7, text, {}, u"=acconto"_qs},
        {1, 8, text, {}, u"+39 06 1234567"_qs},
        {1, 9, text, {}, u"-"_qs},
        {1, 10, text, {}, u"01234567897"_qs},
        {1, 11, text, {}, u"@x"_qs},
        {1, 12, {}, {}, {}},  // empty
        {1, 14, text, {}, u"Societ\u00E0 Nicol\u00F2"_qs},
        {1, 16, text, {}, u"00184"_qs},
        {1, 17, text, {}, longNote},
        {1, 18, text, {}, u"+120,50"_qs},
        {1, 19, text, {}, u"No"_qs},
        {2, 1, text, {}, u"28/02/1900"_qs},
        {2, 3, {}, {}, {}},
        {2, 5, text, {}, u"05"_qs},
        {2, 6, u"float"_qs, u"-1250"_qs, u"-1250,00"_qs},
        {2, 17, text, {}, u"=SOMMA(1;2)"_qs},
        {2, 19, text, {}, u"0,50"_qs},
    };
    for (const auto& c : cells) {
      const QList<SheetCell>& row = rows[c.row];
      const SheetCell cell = c.column < row.size() ? row[c.column] : SheetCell{};
      const QByteArray where = QByteArray::number(c.row) + ", " + QByteArray::number(c.column);
      QVERIFY2(cell.type == c.type, (where + ": " + cell.type.toUtf8()).constData());
      QVERIFY2(cell.value == c.value, (where + ": " + cell.value.toUtf8()).constData());
      QVERIFY2(cell.shown == c.shown, (where + ": " + cell.shown.toUtf8()).constData());
    }
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
