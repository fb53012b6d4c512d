// SPDX-License-Identifier: GPL-3.0-or-later
// The address-book export window: the grid of the cards with its 26 columns and
// nine editable ones, places of birth and residence joined, the export written
// from the grid (an edit reaches the file, never the archive), the file as a
// spreadsheet program reads it, and the failure message.
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QToolButton>

#include "../common/records.h"
#include "clients/Clienti.h"
#include "clients/ExpClienti.h"
#include "core/archive.h"
#include "core/clientexport.h"
#include "sheets.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;

namespace {

const QString kFailed =
    u"Attenzione: il sistema non permette di esportare i dati.\n\r\n\rAccertarsi che il file di Excel non sia "
    "già aperto."_qs;
// A failed export also says what failed: here a folder stands where the file goes.
const QString kFailedOnFolder =
    kFailed + u"\n\r\n\rLa destinazione non è un file ordinario (è una cartella, un dispositivo o una pipe) e "
              "non viene sostituita."_qs;

}  // namespace

class TestExpClienti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<TfrmExpClienti> w;

  QString archive() const { return clientArchivePath(p->folder()); }
  QString exported() const { return p->folder() + u"Anagrafica.xls"_qs; }
  QTableView* grid() const { return child<QTableView>(w.get(), "grdRecords"); }
  QAbstractItemModel* model() const { return grid()->model(); }
  QString cell(int row, int column) const { return model()->index(row, column).data().toString(); }
  void click(const char* name) { child<QToolButton>(w.get(), name)->click(); }

  void store(const std::vector<TCliente>& records) {
    ClientArchive a = ClientArchive::OpenOrCreate(archive());
    for (const TCliente& r : records) a.Append(r);
    a.Close();
  }
  void threeCards() {
    store({testdata::record<TCliente>({{cli::Cliente, u"Rossi & Figli"},
                                       {cli::DataNasc, u"01/02/1970"},
                                       {cli::ComuneNasc, u"Verona"},
                                       {cli::ProvNasc, u"VR"},
                                       {cli::ComuneRes, u"Cant\u00F9"},
                                       {cli::ProvRes, u"CO"},
                                       {cli::Sesso, u"M"},
                                       {cli::CapRes, u"22063"},
                                       {cli::Note, u"Prezzo 10 \u20AC"},
                                       {cli::Ricontatta, kSi}}),
           testdata::record<TCliente>({{cli::Cliente, u"Bianchi Anna"}, {cli::ComuneNasc, u"Verona"}}),
           testdata::record<TCliente>({{cli::Cliente, u"Neri Carla"}, {cli::Iban, u"IT60X0542811101000000123456"}})});
  }
  // The window as the editor's "Esporta" button opens it, shown without its
  // modal loop so the test can drive it.
  void openWindow() {
    w.reset(new TfrmExpClienti(p->windows->frmClienti));
    QVERIFY(showActive(w.get()));
  }
  void typeInto(int row, int column, const QString& text) { typeIntoCell(grid(), row, column, text); }
  void exportAnswering(bool openIt) {
    p->dialogs.answer(Answer::Yes);
    p->dialogs.answer(openIt ? Answer::Yes : Answer::No);
    click("cmdEsporta");
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    w.reset();
    p.reset();
  }

  // A light grey window with the logo and a hand beside the export icon; no
  // picture covers a control, and moving over one empties the info bar.
  void theWindowIsLightGreyWithTheLogoAndTheHand() {
    openWindow();
    QCOMPARE(w->palette().color(QPalette::Window), QColor(0xE4, 0xE4, 0xE4));
    QVERIFY(w->autoFillBackground());
    auto* hand = child<QLabel>(w.get(), "imgMano");
    auto* logo = child<QLabel>(w.get(), "imgLogo");
    QVERIFY(!hand->pixmap().isNull());
    QVERIFY(!logo->pixmap().isNull());
    const QRect icon = child<QWidget>(w.get(), "cmdEsporta")->geometry();
    QVERIFY(hand->x() > icon.right() && hand->x() - icon.right() <= 12);
    QVERIFY(hand->geometry().center().y() > icon.top() && hand->geometry().center().y() < icon.bottom());
    const QWidget* placed[] = {grid(), child<QWidget>(w.get(), "cmdEsporta"), hand,
                               child<QWidget>(w.get(), "lblEsporta"), logo, child<QWidget>(w.get(), "cmdGuida"),
                               child<QWidget>(w.get(), "cmdEsci"), child<QLabel>(w.get(), "panInfo")->parentWidget()};
    for (const QWidget* a : placed) {
      QVERIFY(w->rect().contains(a->geometry()));
      for (const QWidget* b : placed)
        QVERIFY2(a == b || !a->geometry().intersects(b->geometry()), qPrintable(a->objectName() + b->objectName()));
    }
    auto* info = child<QLabel>(w.get(), "panInfo");
    for (QWidget* picture : {hand, logo}) {
      QTest::mouseMove(child<QWidget>(w.get(), "cmdEsporta"));
      QVERIFY(!info->text().isEmpty());
      QTest::mouseMove(picture);
      QCOMPARE(info->text(), QString());
    }
  }

  void theGridShowsEveryCardInItsColumns() {
    threeCards();
    openWindow();
    QCOMPARE(w->windowTitle(), u" Esporta archivio pagatori e beneficiari in Microsoft Excel"_qs);
    QCOMPARE(model()->rowCount(), 3);
    QCOMPARE(model()->columnCount(), 26);
    const struct {
      const char* title;
      int width;
      bool editable;
    } columns[] = {{"N.", 60, false},
                   {"Cognome e nome", 250, false},
                   {"Data di nascita", 120, false},
                   {"Comune / Stato estero di nascita", 250, false},
                   {"Recapito preferenziale", 200, false},
                   {"Indirizzo di residenza", 250, false},
                   {"Comune di residenza", 250, true},
                   {"Modalità di pagamento", 250, false},
                   {"Tel. casa", 200, false},
                   {"Tel. ufficio", 200, false},
                   {"Tel. cellulare", 200, false},
                   {"Fax", 200, false},
                   {"E-mail", 250, false},
                   {"Codice fiscale", 150, false},
                   {"Partita IVA", 150, true},
                   {"Carta di credito n.", 250, false},
                   {"Scadenza", 160, true},
                   {"IBAN", 250, true},
                   {"Estremi documento", 280, true},
                   {"Occupazione", 250, true},
                   {"Stato civile", 250, false},
                   {"Titoli e qualifiche", 280, true},
                   {"Prodotti e servizi di interesse", 300, false},
                   {"Zona di appartenenza", 250, false},
                   {"Questioni in sospeso", 300, true},
                   {"Note", 350, true}};
    for (int c = 0; c < 26; ++c) {
      QCOMPARE(model()->headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(columns[c].title));
      QCOMPARE(grid()->horizontalHeader()->sectionSize(c), columns[c].width);
      QCOMPARE(bool(model()->flags(model()->index(0, c)) & Qt::ItemIsEditable), columns[c].editable);
    }
    QCOMPARE(cell(0, 0), u"1"_qs);
    QCOMPARE(cell(0, 1), u"Rossi & Figli"_qs);
    QCOMPARE(cell(0, 2), u"01/02/1970"_qs);
    QCOMPARE(cell(0, 3), u"Verona VR"_qs);
    QCOMPARE(cell(0, 6), u"Cant\u00F9 CO"_qs);
    QCOMPARE(cell(0, 25), u"Prezzo 10 \u20AC"_qs);
    QCOMPARE(cell(1, 3), u"Verona"_qs);  // no province: the town alone
    QCOMPARE(cell(2, 0), u"3"_qs);
    QCOMPARE(cell(2, 17), u"IT60X0542811101000000123456"_qs);
    saveShot(w.get(), artifacts(), u"expclienti"_qs);
  }

  void anEmptyAddressBookExportsTenEmptyRows() {
    openWindow();
    QCOMPARE(model()->rowCount(), 10);
    for (int r = 0; r < 10; ++r) QCOMPARE(cell(r, 0), QString());
    exportAnswering(false);
    const QByteArray doc = fileBytes(exported());
    QCOMPARE(doc, clientExportDocument(readClientExport(ClientArchive::OpenOrCreate(archive()))));
    QCOMPARE(doc.count("<tr"), 11);  // the header and ten rows
    QVERIFY(QFileInfo(archive()).isFile());
  }

  // What is typed into an editable cell is exported; the archive keeps its card.
  void anEditReachesTheFileButNeverTheArchive() {
    threeCards();
    const QByteArray before = fileBytes(archive());
    openWindow();
    typeInto(1, 25, u"Richiamare a maggio"_qs);
    exportAnswering(true);
    QCOMPARE(p->shell.texts(), QStringList{u'"' + exported() + u'"'});
    const QByteArray doc = fileBytes(exported());
    QVERIFY(doc.contains("Richiamare a maggio"));
    QVERIFY(doc.contains("Rossi &amp; Figli"));
    QCOMPARE(fileBytes(archive()), before);
  }

  void aFailedExportSaysSo() {
    threeCards();
    openWindow();
    QVERIFY(QDir().mkdir(exported()));
    p->dialogs.answer(Answer::Yes);
    click("cmdEsporta");
    QCOMPARE(p->dialogs.texts().last(), kFailedOnFolder);
    QCOMPARE(p->dialogs.texts().size(), 2);
    QVERIFY(p->shell.texts().isEmpty());
  }

  void theFileOpensInASpreadsheetWithEveryValueInItsCell() {
    threeCards();
    openWindow();
    exportAnswering(false);
    const QList<QStringList> rows = spreadsheetRows(exported());
    QCOMPARE(rows.size(), 4);
    const QStringList& header = rows[0];
    QCOMPARE(header.size(), 25);
    QCOMPARE(header[0], u"Cognome e nome"_qs);
    QCOMPARE(header[2], u"Comune di nascita"_qs);
    QCOMPARE(header[24], u"Note"_qs);
    const QStringList& first = rows[1];
    QCOMPARE(first.size(), 25);
    QCOMPARE(first[0], u"Rossi & Figli"_qs);
    QCOMPARE(first[1], u"01/02/1970"_qs);
    QCOMPARE(first[2], u"Verona VR"_qs);
    QCOMPARE(first[5], u"Cant\u00F9 CO"_qs);
    QCOMPARE(first[24], u"Prezzo 10 \u20AC"_qs);
    QCOMPARE(rows[2][2], u"Verona"_qs);  // the blank before an empty province is trimmed
    QCOMPARE(rows[3][16], u"IT60X0542811101000000123456"_qs);
  }

  void theGuidePage() {
    openWindow();
    QString title, text;
    ModalDriver driver([&](QWidget* g) {
      title = child<QLabel>(g, "lblTitolo")->text();
      text = child<QPlainTextEdit>(g, "txtGuida")->toPlainText();
      g->close();
    });
    click("cmdGuida");
    QVERIFY(driver.done());
    QCOMPARE(title, u"Esportazione archivio pagatori e beneficiari in Microsoft Excel."_qs);
    QCOMPARE(text.split(u"\n\n"_qs).size(), 3);
    QVERIFY(text.contains(u"Libre Office"_qs));
  }
};

QTEST_MAIN(TestExpClienti)
#include "test_expclienti.moc"
