// SPDX-License-Identifier: GPL-3.0-or-later
// The address-book search and the call-back list, opened as a user opens them:
// from the card editor (search, call-back list) and from the movement editor's
// import buttons (search). The filters, the sorted lines and their count, the
// pick in each of its three modes touching only what it should, the later of
// identical lines, the printouts and the messages.
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../common/records.h"
#include "clients/Clienti.h"
#include "core/archive.h"
#include "core/card.h"
#include "core/lists.h"
#include "gui/controls.h"
#include "gui/listwindow.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;

namespace {

const QString kAccess =
    u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kEmptyList = u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs;

using Filters = QList<QPair<QString, QString>>;

// A card with a name, a town of residence, the call-back flag, pending
// questions and notes; the contacts the import copies are always filled.
TCliente card(const QString& name, const QString& town, const QString& callBack = kNo,
              const QString& questions = {}, const QString& note = {}) {
  return testdata::record<TCliente>({{cli::Cliente, name},
                                     {cli::ComuneRes, town},
                                     {cli::Recapito, u"045 8001234"},
                                     {cli::Occupazione, u"Commerciante"},
                                     {cli::Prodotti, u"Consulenza"},
                                     {cli::CodFisc, u"RSSMRA80A01L781X"},
                                     {cli::PartitaIva, u"01234567890"},
                                     {cli::Email, u"cliente@example.it"},
                                     {cli::Note, note},
                                     {cli::Questioni, questions},
                                     {cli::Ricontatta, callBack}});
}

QStringList namesOf(const QStringList& lines) {
  QStringList names;
  for (const QString& l : lines) names << l.left(26).trimmed();
  return names;
}

}  // namespace

class TestClientLists : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  TfrmClienti* clients() const { return p->windows->frmClienti; }
  TfrmMovimenti* movements() const { return p->windows->frmMovimenti; }
  QString archive() const { return clientArchivePath(p->folder()); }

  void store(const std::vector<TCliente>& records) {
    ClientArchive a = ClientArchive::OpenOrCreate(archive());
    for (const TCliente& r : records) a.Append(r);
    a.Close();
  }
  void showEditor(gui::Form* editor) {
    gui::switchTo(nullptr, editor);
    editor->setWindowState(Qt::WindowNoState);
    editor->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor));
  }
  static gui::LineList* list(QWidget* w) { return child<gui::LineList>(w, "lstRecords"); }
  static void doubleClick(QWidget* w, int row) { doubleClickRow(list(w), row); }
  static void search(QWidget* w, const Filters& filters) {
    QTRY_COMPARE(QApplication::focusWidget(), child(w, "txtCliente"));
    for (const auto& [name, text] : filters) child<QLineEdit>(w, name.toLatin1().constData())->setText(text);
    child<QPushButton>(w, "btnCerca")->click();
  }
  // Runs `act` on the modal window `open` shows; a failed check inside `act`
  // still closes the window.
  static bool inWindow(const std::function<void()>& open, const std::function<void(QWidget*)>& act) {
    ModalDriver driver([act](QWidget* w) {
      if (QTest::qWaitForWindowActive(w)) act(w);
      else QTest::qFail("the window did not become active", __FILE__, __LINE__);
      if (w->isVisible()) w->close();
    });
    open();
    return driver.done();
  }
  bool inSearch(const std::function<void(QWidget*)>& act) {
    return inWindow([this] { clients()->cmdTrovaClick(); }, act);
  }
  bool inCallBacks(const std::function<void(QWidget*)>& act) {
    return inWindow([this] { clients()->cmdRicontattaClick(); }, act);
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  // ---- search -----------------------------------------------------------

  void theFiltersNarrowTheSortedList_data() {
    QTest::addColumn<Filters>("filters");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("active");
    const QStringList all = {u"Bianchi Anna"_qs, u"Mario Rossi"_qs, u"ROSSETTI SRL"_qs, u"Rossi Mario"_qs};
    QTest::newRow("no filter: every card") << Filters{} << all << u"0"_qs;
    QTest::newRow("blanks only are no filter") << Filters{{u"txtZona"_qs, u"   "_qs}} << all << u"0"_qs;
    QTest::newRow("ross, any case") << Filters{{u"txtCliente"_qs, u"ross"_qs}}
                                    << QStringList{u"Mario Rossi"_qs, u"ROSSETTI SRL"_qs, u"Rossi Mario"_qs}
                                    << u"1"_qs;
    QTest::newRow("two filters, both must match")
        << Filters{{u"txtCliente"_qs, u"ross"_qs}, {u"txtComuneRes"_qs, u"verona"_qs}}
        << QStringList{u"Mario Rossi"_qs, u"Rossi Mario"_qs} << u"2"_qs;
    QTest::newRow("a trailing blank is part of the key")
        << Filters{{u"txtCliente"_qs, u"rossi "_qs}} << QStringList{u"Rossi Mario"_qs} << u"1"_qs;
    QTest::newRow("accented capitals are not folded")
        << Filters{{u"txtNote"_qs, u"\u00E8"_qs}} << QStringList{u"Bianchi Anna"_qs} << u"1"_qs;
  }
  void theFiltersNarrowTheSortedList() {
    QFETCH(Filters, filters);
    QFETCH(QStringList, names);
    QFETCH(QString, active);
    store({card(u"Rossi Mario"_qs, u"Verona"_qs), card(u"ROSSETTI SRL"_qs, u"Milano"_qs),
           card(u"Bianchi Anna"_qs, u"Verona"_qs, kNo, {}, u"\u00E8 cliente"_qs),
           card(u"Mario Rossi"_qs, u"Verona"_qs, kNo, {}, u"\u00C8 CLIENTE"_qs)});
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, filters);
      QVERIFY(child(w, "panContainer")->isVisible());
      QVERIFY(!child(w, "panAvvio")->isVisible());
      QCOMPARE(namesOf(list(w)->lines()), names);
      QCOMPARE(child<QLabel>(w, "lblConta")->text(), active);
      QCOMPARE(child<QLabel>(w, "lblTrovate")->text(),
               u"Il presente riepilogo contiene "_qs + QString::number(names.size()) + u" schede."_qs);
      QCOMPARE(QApplication::focusWidget(), child(w, "txtTrova"));
    }));
  }

  void theWindowOpensOnTheFiltersWithTheirEnterChain() {
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), u" Trova pagatori e beneficiari in archivio"_qs);
      const char* chain[] = {"txtCliente",   "txtComuneRes",   "txtPartitaIva", "txtCodFisc",
                             "txtDocumento", "txtOccupazione", "txtProdotti",   "txtZona",
                             "txtQuestioni", "txtNote",        "txtCliente"};
      QTRY_COMPARE(QApplication::focusWidget(), child(w, chain[0]));
      for (int i = 1; i < 11; ++i) {
        pressKey(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(chain[i]));
      }
      QCOMPARE(child<QLabel>(w, "lblCliente")->text(), u"Cognome e nome:"_qs);
      QCOMPARE(child<QLabel>(w, "lblProdotti")->text(), u"Prodotti e servizi di interesse:"_qs);
      saveShot(w, artifacts(), u"trovaclienti-filters"_qs);
    }));
  }

  void aMissingAddressBookIsCreatedEmptyAndListsNothing() {
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      QCOMPARE(list(w)->count(), 0);
      QCOMPARE(child<QLabel>(w, "lblTrovate")->text(), u"Il presente riepilogo contiene 0 schede."_qs);
      child<QPushButton>(w, "btnTrova")->click();
    }));
    QCOMPARE(p->dialogs.texts(), QStringList{kEmptyList});
    QVERIFY(QFileInfo(archive()).isFile());
    QCOMPARE(QFileInfo(archive()).size(), 0);
  }

  void anAddressBookThatCannotBeOpenedSaysSoOnTheFilters() {
    QVERIFY(QDir().mkdir(archive()));
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{u"txtCliente"_qs, u"rossi"_qs}});
      QVERIFY(child(w, "panAvvio")->isVisible());
      QVERIFY(!child(w, "lblAttendere")->isVisible());
    }));
    QCOMPARE(p->dialogs.texts(), QStringList{kAccess});
    QCOMPARE(p->dialogs.seen().front().kind, DialogKind::Message);
  }

  // Two names alike in their first 26 characters give equal lines: the pick
  // takes the later card, whose position a following "Salva" rewrites.
  void pickingInTheEditorLoadsTheLaterOfEqualLines() {
    const QString stem = u"Cooperativa Sociale Verona"_qs;  // 26 characters
    store({card(u"Bianchi Anna"_qs, u"Verona"_qs), card(stem + u" Nord"_qs, u"Verona"_qs),
           card(stem + u" Sud"_qs, u"Legnago"_qs)});
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {{u"txtCliente"_qs, u"cooperativa"_qs}});
      QCOMPARE(list(w)->count(), 2);
      QCOMPARE(list(w)->lines()[0], list(w)->lines()[1]);
      doubleClick(w, 0);
      QVERIFY(!w->isVisible());
    }));
    QCOMPARE(child<QLineEdit>(clients(), "txtCliente")->text(), stem + u" Sud"_qs);
    QCOMPARE(child<QLineEdit>(clients(), "txtComuneRes")->text(), u"Legnago"_qs);
    QCOMPARE(child<QLabel>(clients(), "lblPosizione")->text(), u"3"_qs);
    child<QLineEdit>(clients(), "txtZona")->setText(u"Bassa veronese"_qs);
    clients()->cmdSalvaClick();
    ClientArchive a = ClientArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly);
    QCOMPARE(a.Count(), 3);
    QCOMPARE(trimmedText(fieldText(a.ReadAt(3), cli::Zona)), u"Bassa veronese"_qs);
    QCOMPARE(trimmedText(fieldText(a.ReadAt(2), cli::Zona)), QString());
  }

  // The import buttons of the movement editor write their listed fields and
  // leave every other control of the movement card as it was; nothing is saved.
  void importingIntoAMovementTouchesOnlyItsFields_data() {
    QTest::addColumn<bool>("payer");
    QTest::addColumn<QStringList>("changed");
    QTest::newRow("payer") << true
                           << QStringList{u"txtPagatore"_qs, u"txtRecapitoPag"_qs, u"txtCodFisc"_qs,
                                          u"txtEmail"_qs, u"txtPartitaIva"_qs};
    QTest::newRow("beneficiary") << false << QStringList{u"txtBeneficiario"_qs, u"txtRecapitoBen"_qs};
  }
  void importingIntoAMovementTouchesOnlyItsFields() {
    QFETCH(bool, payer);
    QFETCH(QStringList, changed);
    store({card(u"Rossi Mario"_qs, u"Verona"_qs), card(u"Bianchi Anna"_qs, u"Verona"_qs)});
    const QString movementArchive = movementArchivePath(p->folder(), u"2024"_qs);
    movements()->setArchiveFile(movementArchive);
    showEditor(movements());
    CardTexts<TMovimento> before;
    for (const Binding& b : movementBindings()) {
      before[b.field] = u"prima"_qs;
      gui::setControlText(movements(), b.control, before[b.field]);
    }
    QVERIFY(inWindow([&] { payer ? movements()->impPagatoreClick() : movements()->impBeneficiarioClick(); },
                     [&](QWidget* w) {
                       search(w, {{u"txtCliente"_qs, u"rossi"_qs}});
                       doubleClick(w, 0);
                       QVERIFY(!w->isVisible());
                     }));
    const CardTexts<TMovimento> after = gui::readCard<TMovimento>(movements());
    const QHash<QString, QString> expected = {
        {u"txtPagatore"_qs, u"Rossi Mario"_qs},    {u"txtBeneficiario"_qs, u"Rossi Mario"_qs},
        {u"txtRecapitoPag"_qs, u"045 8001234"_qs}, {u"txtRecapitoBen"_qs, u"045 8001234"_qs},
        {u"txtCodFisc"_qs, u"RSSMRA80A01L781X"_qs}, {u"txtEmail"_qs, u"cliente@example.it"_qs},
        {u"txtPartitaIva"_qs, u"01234567890"_qs}};
    for (const Binding& b : movementBindings()) {
      const QString name = b.control.toString();
      QCOMPARE(after[b.field], changed.contains(name) ? expected.value(name) : before[b.field]);
    }
    QVERIFY(!QFileInfo::exists(movementArchive));  // the movement card is not saved
  }

  void closingWithoutAPickTouchesNoEditor() {
    store({card(u"Rossi Mario"_qs, u"Verona"_qs)});
    showEditor(clients());
    child<QLineEdit>(clients(), "txtCliente")->setText(u"scheda in corso"_qs);
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      list(w)->selectRow(0);
      child<QPushButton>(w, "btnChiudi")->click();
      QVERIFY(!w->isVisible());
    }));
    QCOMPARE(child<QLineEdit>(clients(), "txtCliente")->text(), u"scheda in corso"_qs);
  }

  void theSearchListPrintsWithItsTitle() {
    PrintCapture printed;
    store({card(u"Rossi Mario"_qs, u"Verona"_qs, kNo, {}, u"nota finale"_qs)});
    showEditor(clients());
    QVERIFY(inSearch([&](QWidget* w) {
      search(w, {});
      child<QPushButton>(w, "btnStampa")->click();
    }));
    QCOMPARE(printed.jobs().size(), 1);
    QCOMPARE(printed.jobs()[0].request.target, gui::PrintTarget::Printer);
    const QString text = printed.text();
    QVERIFY2(text.contains(u"Riepilogo pagatori e beneficiari"_qs), qPrintable(text));
    QVERIFY(text.contains(u"Rossi Mario"_qs));
    QVERIFY(text.contains(u"Tel. 045 8001234"_qs));
    QVERIFY(text.contains(u"nota finale"_qs));
  }

  // ---- call-back list -----------------------------------------------------

  void onlyCardsTickedExactlySiAreListedWithTheirQuestions() {
    store({card(u"Verdi Luca"_qs, u"Verona"_qs, kSi, u"Richiamare per il preventivo"_qs, u"nota"_qs),
           card(u"Neri Carla"_qs, u"Verona"_qs, u"s\u00EC"_qs, u"minuscolo"_qs),
           card(u"Bianchi Anna"_qs, u"Verona"_qs, kNo, u"non spuntata"_qs),
           card(u"Alberti Ugo"_qs, u"Verona"_qs, kSi, QString()),
           card(u"Gialli Pia"_qs, u"Verona"_qs, QString(), u"vuoto"_qs)});
    showEditor(clients());
    QVERIFY(inCallBacks([&](QWidget* w) {
      QCOMPARE(w->windowTitle(), u" Riepilogo persone da ricontattare"_qs);
      QVERIFY(child(w, "panContainer")->isVisible());
      QCOMPARE(QApplication::focusWidget(), child(w, "txtTrova"));
      const QStringList lines = list(w)->lines();
      QCOMPARE(namesOf(lines), (QStringList{u"Alberti Ugo"_qs, u"Verdi Luca"_qs}));
      // The questions take the notes' place, from column 116.
      QCOMPARE(lines[1].mid(115), u"Richiamare per il preventivo"_qs);
      QCOMPARE(lines[0].size(), 115);
      QVERIFY(lines[0].endsWith(u"Consulenza                      "_qs));
      saveShot(w, artifacts(), u"ricontatta"_qs);
    }));
  }

  void findOnAnEmptyCallBackListSaysSo() {
    store({card(u"Bianchi Anna"_qs, u"Verona"_qs)});
    showEditor(clients());
    QVERIFY(inCallBacks([&](QWidget* w) {
      QCOMPARE(list(w)->count(), 0);
      child<QLineEdit>(w, "txtTrova")->setText(u"bianchi"_qs);
      child<QPushButton>(w, "btnTrova")->click();
    }));
    QCOMPARE(p->dialogs.texts(), QStringList{kEmptyList});
  }

  // The later of two equal lines opens in the editor as a stored card; unticked
  // and saved there, it leaves the list.
  void aPickedCardUntickedAndSavedLeavesTheList() {
    store({card(u"Verdi Luca"_qs, u"Verona"_qs, kSi, u"Preventivo"_qs),
           card(u"Verdi Luca"_qs, u"Legnago"_qs, kSi, u"Preventivo"_qs)});
    showEditor(clients());
    QVERIFY(inCallBacks([&](QWidget* w) {
      QCOMPARE(list(w)->count(), 2);
      doubleClick(w, 0);
      QVERIFY(!w->isVisible());
    }));
    QCOMPARE(child<QLabel>(clients(), "lblPosizione")->text(), u"2"_qs);
    QCOMPARE(child<QLineEdit>(clients(), "txtComuneRes")->text(), u"Legnago"_qs);
    QCheckBox* tick = child<QCheckBox>(clients(), "chkRicontatta");
    QVERIFY(tick->isChecked());
    tick->setChecked(false);
    clients()->cmdSalvaClick();
    QVERIFY(inCallBacks([&](QWidget* w) {
      QCOMPARE(list(w)->count(), 1);
      QVERIFY(list(w)->lines()[0].contains(u"Preventivo"_qs));
    }));
    ClientArchive a = ClientArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly);
    QCOMPARE(a.Count(), 2);
    QCOMPARE(trimmedText(fieldText(a.ReadAt(2), cli::Ricontatta)), kNo);
    QCOMPARE(trimmedText(fieldText(a.ReadAt(1), cli::Ricontatta)), kSi);
  }

  void theCallBackListPrintsWithItsTitle() {
    PrintCapture printed;
    store({card(u"Verdi Luca"_qs, u"Verona"_qs, kSi, u"Preventivo in sospeso"_qs)});
    showEditor(clients());
    QVERIFY(inCallBacks([&](QWidget* w) { child<QPushButton>(w, "btnStampa")->click(); }));
    QCOMPARE(printed.jobs().size(), 1);
    const QString text = printed.text();
    QVERIFY2(text.contains(u"Riepilogo persone da ricontattare"_qs), qPrintable(text));
    QVERIFY(text.contains(u"Preventivo in sospeso"_qs));
  }
};

QTEST_MAIN(TestClientLists)
#include "test_clientlists.moc"
