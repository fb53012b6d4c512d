// SPDX-License-Identifier: GPL-3.0-or-later
// The address-book editor: the new card, browsing "Clienti.pro", the keys of
// the card fields and the province boxes, saving and duplicating as the core
// reads the archive back, the e-mail and check buttons, the windows the editor
// opens, and the printed card (printer, preview, "Cliente.pdf").
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <sys/stat.h>

#include "../common/records.h"
#include "app/Avvio.h"
#include "clients/Clienti.h"
#include "core/archive.h"
#include "core/card.h"
#include "core/records.h"
#include "core/textrules.h"
#include "gui/controls.h"
#include "gui/form.h"
#include "gui/guide.h"
#include "../core/test_support.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;
using fondaro::gui::PrintTarget;

namespace {

const QString kAccess =
    u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kSavedNew = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSavedChanges = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kPdfDone = u"L'esportazione della scheda in PDF è terminata con successo.\r\n\r\nSi vuole aprire il file?"_qs;

int fieldOf(const char* name) { return *fieldIndex<TCliente>(QString::fromLatin1(name)); }
QString stored(const TCliente& r, const char* name) { return trimmedText(fieldText(r, fieldOf(name))); }

// A card numbered n with every field filled.
TCliente fullRecord(int n, const QString& callBack = kNo) {
  TCliente r;
  const QString k = QString::number(n);
  for (const Binding& b : clientBindings()) {
    const int cap = TCliente::fields()[b.field].capacity;
    setFieldText(r, b.field, (b.control.toString().mid(3) + k).left(cap));
  }
  return testdata::record(r, {{cli::ProvNasc, u"M"_qs + k},
                              {cli::ProvRes, u"R"_qs + k},
                              {cli::Sesso, n % 2 ? u"M" : u"F"},
                              {cli::Ricontatta, callBack}});
}

}  // namespace

class TestClienti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  TfrmClienti* editor() const { return p->windows->frmClienti; }
  QString archive() const { return clientArchivePath(p->folder()); }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(editor(), name); }
  QComboBox* box(const char* name) const { return child<QComboBox>(editor(), name); }
  QAbstractButton* button(const char* name) const { return child<QAbstractButton>(editor(), name); }
  QLabel* label(const char* name) const { return child<QLabel>(editor(), name); }
  QCheckBox* tick() const { return child<QCheckBox>(editor(), "chkRicontatta"); }
  QString position() const { return label("lblPosizione")->text(); }
  QWidget* focused() const { return QApplication::focusWidget(); }
  QString text(QStringView control) const {
    return gui::controlText(gui::requireControl(editor(), control));
  }

  void openEditor() {
    gui::switchTo(nullptr, editor());
    editor()->setWindowState(Qt::WindowNoState);
    editor()->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }
  void store(const std::vector<TCliente>& records) {
    ClientArchive a = ClientArchive::OpenOrCreate(archive());
    for (const TCliente& r : records) a.Append(r);
    a.Close();
  }
  std::vector<TCliente> readBack() const {
    std::vector<TCliente> out;
    ClientArchive a = ClientArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    a.Close();
    return out;
  }
  void verifyShows(const TCliente& r) {
    for (const Binding& b : clientBindings())
      QCOMPARE(text(b.control), trimmedText(fieldText(r, b.field)));
  }
  void verifyNewCard() {
    for (const Binding& b : clientBindings()) QVERIFY2(text(b.control).isEmpty(), qPrintable(b.control.toString()));
    QVERIFY(!tick()->isChecked());
    QCOMPARE(box("txtProvNasc")->currentIndex(), -1);
    QCOMPARE(box("txtProvRes")->currentIndex(), -1);
    QVERIFY(position().isEmpty());
  }
  void type(QWidget* field, const QString& s) {
    field->setFocus();
    typeText(field, s);
  }
  QString readOnlyFolder() {
    const QString ro = p->dir.path() + u"/sola-lettura"_qs;
    QDir().mkpath(ro);
    ::chmod(QFile::encodeName(ro).constData(), 0555);
    QFile probe(ro + u"/prova"_qs);
    if (!probe.open(QIODevice::WriteOnly)) return ro + u'/';
    probe.remove();
    return u"/sys/"_qs;
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    ::chmod(QFile::encodeName(p->dir.path() + u"/sola-lettura"_qs).constData(), 0755);
    p.reset();
  }

  // ---- The window -------------------------------------------------------------

  void everyShowingStartsFromAnEmptyNewCard() {
    store({fullRecord(1, kSi)});
    openEditor();
    verifyNewCard();
    QCOMPARE(focused(), edit("txtCliente"));
    QCOMPARE(label("panInfo")->text(), u"Pronto per archiviare una nuova scheda..."_qs);
    button("cmdPrimo")->click();
    QCOMPARE(position(), u"1"_qs);
    QVERIFY(tick()->isChecked());
    button("cmdEsci")->click();
    QVERIFY(p->windows->frmAvvio->isVisible());
    QVERIFY(!editor()->isVisible());
    openEditor();
    verifyNewCard();
    for (const char* hidden : {"lblFile01", "lblDesc03"}) QVERIFY(!child(editor(), hidden)->isVisible());
  }

  void theEditorLooksLikeAForm() {
    store({fullRecord(1, kSi)});
    openEditor();
    button("cmdPrimo")->click();
    edit("txtCliente")->setFocus();
    QTest::qWait(50);
    for (const char* name : {"cmdNuovo", "cmdPDF", "cmdRicontatta", "cmdEsci", "cmdPrimo", "cmdUltimo", "btnIban",
                             "txtNote", "txtProvRes"}) {
      QWidget* w = child(editor(), name);
      QVERIFY2(w && w->isVisible(), name);
      QVERIFY2(editor()->rect().contains(QRect(w->mapTo(editor(), QPoint(0, 0)), w->size())), name);
    }
    QCOMPARE(editor()->windowTitle(), u" Fondaro 3.0 - Pagatori e Beneficiari"_qs);
    saveShot(editor(), artifacts(), u"clienti-editor"_qs);
  }

  void typingIsLimitedToEachFieldsCapacity() {
    openEditor();
    for (const Binding& b : clientBindings()) {
      auto* field = gui::requireControl(editor(), b.control);
      if (qobject_cast<QLabel*>(field)) continue;
      const int cap = TCliente::fields()[b.field].capacity;
      type(field, QString(cap + 2, u'7'));
      QCOMPARE(text(b.control), QString(cap, u'7'));
    }
  }

  // ---- Browsing -----------------------------------------------------------------

  void anEmptyOrMissingArchiveSaysSo_data() {
    QTest::addColumn<QString>("control");
    for (const char* b : {"cmdPrimo", "cmdUltimo", "cmdAvanti", "cmdIndietro"}) QTest::newRow(b) << QString::fromLatin1(b);
  }
  void anEmptyOrMissingArchiveSaysSo() {
    QFETCH(QString, control);
    openEditor();
    edit("txtCliente")->setText(u"Resta"_qs);
    button(qPrintable(control))->click();
    QCOMPARE(p->dialogs.only().text, kEmpty);
    QCOMPARE(p->dialogs.only().icon, Icon::Information);
    QCOMPARE(edit("txtCliente")->text(), u"Resta"_qs);
    QVERIFY(QFile::exists(archive()));  // created empty
    QCOMPARE(QFileInfo(archive()).size(), 0);
  }

  void browsingWalksTheArchiveAndStopsAtItsEnds() {
    store({fullRecord(1), fullRecord(2), fullRecord(3)});
    openEditor();
    button("cmdIndietro")->click();  // a new card: previous shows the first
    QCOMPARE(position(), u"1"_qs);
    verifyShows(fullRecord(1));
    button("cmdIndietro")->click();
    QCOMPARE(position(), u"1"_qs);
    button("cmdAvanti")->click();
    QCOMPARE(position(), u"2"_qs);
    verifyShows(fullRecord(2));
    edit("txtCliente")->setText(u"scartato"_qs);
    button("cmdUltimo")->click();
    QCOMPARE(position(), u"3"_qs);
    verifyShows(fullRecord(3));
    button("cmdAvanti")->click();
    QCOMPARE(position(), u"3"_qs);
    button("cmdNuovo")->click();
    button("cmdAvanti")->click();
    QCOMPARE(position(), u"1"_qs);
    QVERIFY(p->dialogs.seen().isEmpty());
    QCOMPARE(readBack().size(), size_t(3));
    QCOMPARE(stored(readBack()[1], "Cliente"), u"Cliente2"_qs);
  }

  void aCallBackFlagNeitherYesNorNoLeavesTheTick() {
    const TCliente odd = testdata::record(fullRecord(2), {{cli::Ricontatta, u"sì"}});
    store({fullRecord(1, kSi), odd, fullRecord(3, kNo)});
    openEditor();
    button("cmdPrimo")->click();
    QVERIFY(tick()->isChecked());
    button("cmdAvanti")->click();
    QVERIFY(tick()->isChecked());
    button("cmdAvanti")->click();
    QVERIFY(!tick()->isChecked());
  }

  // ---- Keys ---------------------------------------------------------------------

  void typingRulesOfTheFields_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("province of birth") << u"txtProvNasc"_qs << u" mi"_qs << u"MI"_qs;
    QTest::newRow("province of residence") << u"txtProvRes"_qs << u"rm"_qs << u"RM"_qs;
    QTest::newRow("tax code") << u"txtCodFisc"_qs << u"rssmra"_qs << u"RSSMRA"_qs;
    QTest::newRow("sex in capitals") << u"txtSesso"_qs << u"f"_qs << u"F"_qs;
    QTest::newRow("sex: accented letters stay") << u"txtSesso"_qs << u"ù"_qs << u"ù"_qs;
    QTest::newRow("postal code in capitals, blanks kept") << u"txtCapRes"_qs << u"a 1b"_qs << u"A 1B"_qs;
    QTest::newRow("IBAN") << u"txtIban"_qs << u" it60x"_qs << u"IT60X"_qs;
    QTest::newRow("e-mail trimmed, case kept") << u"txtEmail"_qs << u" Anna@Example.it "_qs << u"Anna@Example.it"_qs;
    QTest::newRow("VAT number: digits only") << u"txtPartitaIva"_qs << u"IT01-2"_qs << u"012"_qs;
    QTest::newRow("name as typed") << u"txtCliente"_qs << u" rossi  "_qs << u" rossi  "_qs;
  }
  void typingRulesOfTheFields() {
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    openEditor();
    QWidget* field = gui::requireControl(editor(), control);
    type(field, typed);
    QCOMPARE(text(control), result);
  }

  void theCardNumberTakesDigitsOnlyAndKeepsTheFocus() {
    openEditor();
    QLineEdit* carta = edit("txtCarta");
    carta->setFocus();
    QTest::keyClick(carta, Qt::Key_1);
    QTest::keyClick(carta, Qt::Key_A);
    QTest::keyClick(carta, Qt::Key_2);
    QTest::keyClick(carta, Qt::Key_Space);
    QTest::keyClick(carta, Qt::Key_Tab);
    QCOMPARE(carta->text(), u"12"_qs);
    QCOMPARE(focused(), static_cast<QWidget*>(carta));
    QTest::keyClick(carta, Qt::Key_Backspace);
    QCOMPARE(carta->text(), u"1"_qs);
    QTest::keyClick(carta, Qt::Key_Return);
    QCOMPARE(focused(), static_cast<QWidget*>(edit("txtScadeCarta")));
  }

  void enterWalksTheCardSkippingTheTick() {
    openEditor();
    QStringList visited;
    edit("txtCliente")->setFocus();
    for (int i = 0; i < 29; ++i) {
      QWidget* f = focused();
      visited << f->objectName();
      QTest::keyClick(f, Qt::Key_Return);
    }
    QCOMPARE(focused()->objectName(), u"txtCliente"_qs);
    QStringList expected;
    for (const Binding& b : clientBindings())
      if (b.control.startsWith(u"txt")) expected << b.control.toString();
    QCOMPARE(visited, expected);
    // Tab reaches the tick between the pending questions and the notes.
    edit("txtQuestioni")->setFocus();
    QTest::keyClick(edit("txtQuestioni"), Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget*>(tick()));
    QTest::keyClick(tick(), Qt::Key_Tab);
    QCOMPARE(focused(), static_cast<QWidget*>(edit("txtNote")));
  }

  void theProvinceBoxesListTheCodesAndKeepWhatIsTyped() {
    openEditor();
    for (const char* name : {"txtProvNasc", "txtProvRes"}) {
      QComboBox* b = box(name);
      QVERIFY(b->isEditable());
      QCOMPARE(b->count(), 112);
      QCOMPARE(b->itemText(0), u"AG"_qs);
      QCOMPARE(b->itemText(b->findText(u"MI"_qs) + 1), u"MN"_qs);
      QCOMPARE(b->itemText(111), u"VV"_qs);
    }
    // A code not in the list is kept and saved; leaving tidies it.
    edit("txtCliente")->setText(u"Bianchi Anna"_qs);
    type(box("txtProvNasc"), u"zz"_qs);
    QCOMPARE(box("txtProvNasc")->currentText(), u"ZZ"_qs);
    QCOMPARE(box("txtProvNasc")->count(), 112);
    box("txtProvRes")->setEditText(u" to "_qs);
    box("txtProvRes")->setFocus();
    edit("txtCliente")->setFocus();
    QCOMPARE(box("txtProvRes")->currentText(), u"TO"_qs);
    button("cmdSalva")->click();
    QCOMPARE(stored(readBack()[0], "ProvNasc"), u"ZZ"_qs);
    QCOMPARE(stored(readBack()[0], "ProvRes"), u"TO"_qs);

    // Browsing changes the text only; taking the focus clears the selection.
    store({fullRecord(2)});
    box("txtProvRes")->setCurrentIndex(5);
    button("cmdUltimo")->click();
    QCOMPARE(box("txtProvRes")->currentIndex(), 5);
    QCOMPARE(box("txtProvRes")->currentText(), u"R2"_qs);
    box("txtProvRes")->setFocus();
    QCOMPARE(box("txtProvRes")->currentIndex(), -1);
    QCOMPARE(box("txtProvRes")->currentText(), u"R2"_qs);
    button("cmdNuovo")->click();
    QCOMPARE(box("txtProvRes")->currentText(), QString());
  }

  // ---- Saving and duplicating ---------------------------------------------------

  void aBlankNameWarnsAndWritesNothing() {
    openEditor();
    edit("txtCliente")->setText(u"   "_qs);
    edit("txtNote")->setText(u"nota"_qs);
    edit("txtNote")->setFocus();
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text,
             u"Attenzione: per salvare la scheda è necessario indicare il nome del pagatore o beneficiario."_qs);
    QCOMPARE(p->dialogs.only().icon, Icon::Warning);
    QCOMPARE(focused(), static_cast<QWidget*>(edit("txtCliente")));
    QVERIFY(!QFile::exists(archive()));
  }

  void savingAppendsThenRewritesInPlaceWithEveryField() {
    store({fullRecord(1), fullRecord(2), fullRecord(3), fullRecord(4)});
    openEditor();
    const TCliente card = fullRecord(9, kSi);
    editor()->ShowRecord(card);
    edit("txtCliente")->setText(u"  Niccolò Bianchi  "_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedNew);
    QCOMPARE(p->dialogs.only().icon, Icon::Information);
    QCOMPARE(position(), u"5"_qs);
    std::vector<TCliente> all = readBack();
    QCOMPARE(all.size(), size_t(5));
    const TCliente expected = testdata::record(card, {{cli::Cliente, u"Niccolò Bianchi"}});
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&all[4]), sizeof(TCliente)),
             QByteArray(reinterpret_cast<const char*>(&expected), sizeof(TCliente)));

    p->dialogs.clear();
    tick()->setChecked(false);
    edit("txtZona")->setText(u"Nord"_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedChanges);
    all = readBack();
    QCOMPARE(all.size(), size_t(5));
    QCOMPARE(stored(all[4], "Zona"), u"Nord"_qs);
    QCOMPARE(stored(all[4], "Ricontatta"), kNo);
    QCOMPARE(stored(all[3], "Zona"), u"Zona4"_qs);
  }

  void aReadOnlyFolderGivesTheErrorNotice() {
    gui::setProgramFolder(readOnlyFolder());
    openEditor();
    edit("txtCliente")->setText(u"Rossi"_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kAccess);
    QCOMPARE(p->dialogs.only().icon, Icon::Error);
    QVERIFY(position().isEmpty());
    QCOMPARE(edit("txtCliente")->text(), u"Rossi"_qs);
  }

  void duplicatingNeedsAStoredCard() {
    openEditor();
    edit("txtCliente")->setText(u"Nuovo"_qs);
    button("cmdDuplica")->click();
    QCOMPARE(p->dialogs.only().text,
             u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è stata inserita in archivio."_qs);
    QCOMPARE(p->dialogs.only().icon, Icon::Warning);
    QCOMPARE(edit("txtCliente")->text(), u"Nuovo"_qs);
    QVERIFY(!QFile::exists(archive()));
  }

  void aDuplicateKeepsTheDataWithoutAttachmentsAndSavingAppendsIt() {
    store({fullRecord(1), fullRecord(2), fullRecord(3, kSi), fullRecord(4)});
    openEditor();
    button("cmdUltimo")->click();
    button("cmdIndietro")->click();
    QCOMPARE(position(), u"3"_qs);
    button("cmdDuplica")->click();
    QCOMPARE(p->dialogs.only().text,
             u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
             "Al termine premere Salva per inserire la scheda in archivio."_qs);
    QVERIFY(position().isEmpty());
    for (const char* l : {"lblFile01", "lblFile02", "lblFile03", "lblDesc01", "lblDesc02", "lblDesc03"})
      QVERIFY(label(l)->text().isEmpty());
    QCOMPARE(edit("txtCliente")->text(), u"Cliente3"_qs);
    QVERIFY(tick()->isChecked());
    QCOMPARE(focused(), static_cast<QWidget*>(edit("txtCliente")));
    p->dialogs.clear();
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedNew);
    QCOMPARE(position(), u"5"_qs);
    const std::vector<TCliente> all = readBack();
    QCOMPARE(all.size(), size_t(5));
    for (const Binding& b : clientBindings()) {
      const bool attachment = b.control.startsWith(u"lbl");
      QCOMPARE(trimmedText(fieldText(all[4], b.field)), attachment ? QString() : trimmedText(fieldText(all[2], b.field)));
    }
    QCOMPARE(stored(all[4], "Ricontatta"), kSi);
    QCOMPARE(stored(all[2], "File01"), u"File013"_qs);
  }

  // ---- Buttons that hand the card on ----------------------------------------------

  void theEmailButtonHandsTheLinkToTheDesktop_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("link");
    QTest::newRow("empty") << u"   "_qs << u"\"mailto:\""_qs;
    QTest::newRow("plain") << u" anna@example.it "_qs << u"\"mailto:anna@example.it\""_qs;
    QTest::newRow("parameters encoded") << u"a@b.it?attach=x&y#z%"_qs << u"\"mailto:a@b.it%3Fattach=x%26y%23z%25\""_qs;
  }
  void theEmailButtonHandsTheLinkToTheDesktop() {
    QFETCH(QString, address);
    QFETCH(QString, link);
    openEditor();
    edit("txtEmail")->setText(address);
    button("btnEmail")->click();
    QCOMPARE(p->shell.texts(), QStringList{link});
    QVERIFY(p->dialogs.seen().isEmpty());
  }

  void theEditorPreparesTheWindowsItOpens_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("codFisc");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");  // "name=text" the window gets
    QTest::newRow("empty tax code") << u"btnCodFisc"_qs << u"  "_qs << u"frmCodFisc"_qs << u"txtCodFisc="_qs;
    QTest::newRow("tax code") << u"btnCodFisc"_qs << u" RSSMRA80A01H501U "_qs << u"frmCodFisc"_qs
                              << u"txtCodFisc=RSSMRA80A01H501U"_qs;
    QTest::newRow("digits go to the VAT check") << u"btnCodFisc"_qs << u"01234567890"_qs << u"frmPartitaIva"_qs << u"txtPartitaIva=01234567890"_qs;
    QTest::newRow("VAT number") << u"btnPartitaIva"_qs << QString() << u"frmPartitaIva"_qs
                                << u"txtPartitaIva=98765432109"_qs;
    QTest::newRow("card") << u"btnCarta"_qs << QString() << u"frmCarta"_qs << u"txtNumero=4111"_qs;
    QTest::newRow("IBAN") << u"btnIban"_qs << QString() << u"frmIban"_qs
                          << u"txtIban=IT60X0542811101000000123456"_qs;
    QTest::newRow("attachments") << u"cmdFile"_qs << QString() << u"frmAllegaCartella"_qs
                                 << u"txtDesc02=Contratto"_qs;
    QTest::newRow("search") << u"cmdTrova"_qs << QString() << u"frmTrovaClienti"_qs << QString();
    QTest::newRow("call-back list") << u"cmdRicontatta"_qs << QString() << u"frmRicontatta"_qs << QString();
    QTest::newRow("export") << u"cmdEsporta"_qs << QString() << u"frmExpClienti"_qs << QString();
  }
  void theEditorPreparesTheWindowsItOpens() {
    QFETCH(QString, control);
    QFETCH(QString, codFisc);
    QFETCH(QString, window);
    QFETCH(QString, field);
    openEditor();
    edit("txtCodFisc")->setText(codFisc);
    edit("txtPartitaIva")->setText(u" 98765432109"_qs);
    edit("txtCarta")->setText(u"4111 "_qs);
    edit("txtIban")->setText(u"IT60X0542811101000000123456"_qs);
    label("lblDesc02")->setText(u"  Contratto "_qs);
    QString seenName, seenField;
    bool hasField = false;
    ModalDriver driver([&](QWidget* w) {
      seenName = w->objectName();
      if (auto* e = w->findChild<QLineEdit*>(field.section(u'=', 0, 0))) {
        hasField = true;
        seenField = e->text();
      }
      w->close();
    });
    button(qPrintable(control))->click();
    QVERIFY(driver.done());
    QCOMPARE(seenName, window);
    if (!field.isEmpty() && !control.startsWith(u"cmd")) QVERIFY(hasField);
    if (hasField) QCOMPARE(seenField, field.section(u'=', 1));
    QCOMPARE(editor()->findChildren<gui::Form*>().size(), 0);
    QCOMPARE(edit("txtCodFisc")->text(), codFisc);  // nothing written back
  }

  void theGuideButtonShowsTheAddressBookGuide() {
    openEditor();
    QString title, shown;
    ModalDriver driver([&](QWidget* w) {
      title = child<QLabel>(w, "lblTitolo")->text();
      shown = child<QPlainTextEdit>(w, "txtGuida")->toPlainText();
      w->close();
    });
    button("cmdGuida")->click();
    QVERIFY(driver.done());
    QCOMPARE(title, u"Applicazione Pagatori e Beneficiari."_qs);
    const QStringList paragraphs = gui::guidePage(u"clienti"_qs).split(u"\r\n\r\n"_qs);
    QCOMPARE(paragraphs.size(), 9);
    QCOMPARE(shown.split(u"\n\n"_qs), paragraphs);
  }

  // ---- The printed card ---------------------------------------------------------

  void theCardPdfHoldsTheCardOnScreenAndIsOfferedForOpening() {
    openEditor();
    edit("txtCliente")->setText(u"Niccolò Bianchi"_qs);  // typed, never saved
    edit("txtComuneNasc")->setText(u"Roma"_qs);
    edit("txtComuneRes")->setText(u"Milano"_qs);
    box("txtProvRes")->setEditText(u"MI"_qs);
    edit("txtCapRes")->setText(u"20100"_qs);
    edit("txtCivile")->setText(u"Coniugato"_qs);
    edit("txtCarta")->setText(u"4111"_qs);
    edit("txtScadeCarta")->setText(u"12/26"_qs);
    edit("txtEstremi")->setText(u"Bonifico"_qs);
    edit("txtNote")->setText(u"[DATE] e [Cliente] restano così"_qs);
    const QString pdf = p->folder() + u"Cliente.pdf"_qs;
    button("cmdPDF")->click();
    const auto asked = p->dialogs.only();
    QCOMPARE(asked.kind, DialogKind::Question);
    QCOMPARE(asked.text, kPdfDone);
    QVERIFY(p->shell.texts().isEmpty());  // answered No: not opened
    QVERIFY(QFile::exists(pdf));
    QCOMPARE(pdfPageCount(pdf), 1);
    const QString t = pdfText(pdf);
    const std::pair<const char*, QString> rows[] = {
        {"Cognome e nome:", u"Niccolò Bianchi"_qs},  {"Comune di nascita:", u"Roma"_qs},
        {"Comune di residenza:", u"Milano MI"_qs},    {"Modalità pagamento:", u"Bonifico"_qs},
        {"Carta di credito:", u"N. 4111  -  Scadenza: 12/26"_qs},
        {"Note:", u"[DATE] e [Cliente] restano così"_qs}};
    for (const auto& [caption, value] : rows) {
      const QString pattern = QRegularExpression::escape(QString::fromUtf8(caption)) + u"\\s+"_qs +
                              QRegularExpression::escape(value).replace(QRegularExpression(u"(\\\\ )+"_qs), u"\\s+"_qs);
      QVERIFY2(t.contains(QRegularExpression(pattern, QRegularExpression::MultilineOption)), caption);
    }
    QVERIFY(t.contains(u"SCHEDA ANAGRAFICA"_qs));
    QVERIFY(t.contains(u"Stampa eseguita in data "_qs + todayText() + u" alle ore "_qs));
    for (const char* absent : {"20100", "Coniugato", "Termine scheda", "Campo 1"}) QVERIFY2(!t.contains(QString::fromUtf8(absent)), absent);
    QProcess::execute(u"pdftoppm"_qs, {u"-png"_qs, u"-r"_qs, u"60"_qs, u"-singlefile"_qs, pdf,
                                      QDir(artifacts()).filePath(u"clienti-scheda"_qs)});

    // A second press replaces the file without asking; Yes opens it.
    edit("txtCliente")->setText(u"Verdi Anna"_qs);
    p->dialogs.clear();
    p->dialogs.answer(gui::Answer::Yes);
    button("cmdPDF")->click();
    QCOMPARE(p->dialogs.only().text, kPdfDone);
    QCOMPARE(p->shell.texts(), QStringList{u"\""_qs + pdf + u"\""_qs});
    QVERIFY(pdfText(pdf).contains(u"Verdi Anna"_qs));
    QCOMPARE(QDir(p->folder()).entryList({u"*.pdf*"_qs}, QDir::Files), QStringList{u"Cliente.pdf"_qs});
  }

  // A program folder named in Latin-1 bytes (an old USB stick): the PDF lands
  // in that very folder under its own name.
  void theCardPdfLandsInAFolderNamedInLatin1() {
    const QByteArray folder = QFile::encodeName(p->dir.path()) + "/caf\xE9/";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    gui::setProgramFolder(folder);
    openEditor();
    edit("txtCliente")->setText(u"Rossi"_qs);
    button("cmdPDF")->click();
    QCOMPARE(p->dialogs.only().text, kPdfDone);
    QCOMPARE(testing::namesIn(folder), std::set<QByteArray>{"Cliente.pdf"});
    QCOMPARE(testing::namesIn(QFile::encodeName(p->dir.path())), std::set<QByteArray>{"caf\xE9"});
    testing::removeContents(QFile::encodeName(p->dir.path()));
  }

  void aPdfThatCannotBeWrittenSaysSoAndLeavesNothingHalfWritten_data() {
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("read-only folder") << true;
    QTest::newRow("name taken by a folder") << false;
  }
  void aPdfThatCannotBeWrittenSaysSoAndLeavesNothingHalfWritten() {
    QFETCH(bool, readOnly);
    if (readOnly) gui::setProgramFolder(readOnlyFolder());
    else QDir().mkpath(p->folder() + u"Cliente.pdf"_qs);
    openEditor();
    edit("txtCliente")->setText(u"Rossi"_qs);
    button("cmdPDF")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QVERIFY(!shown.text.isEmpty());
    QVERIFY(shown.text != kPdfDone);
    QVERIFY(p->shell.texts().isEmpty());
    QVERIFY(!QFileInfo(p->folder() + u"Cliente.pdf"_qs).isFile());
    QCOMPARE(QDir(p->folder()).entryList(QDir::Files), QStringList());
  }

  void printAndPreviewSendTheSameOnePageCard() {
    PrintCapture printed;
    openEditor();
    edit("txtCliente")->setText(u"Rossi Mario"_qs);
    button("cmdStampa")->click();
    button("cmdAnteprima")->click();
    QCOMPARE(printed.jobs().size(), 2);
    QCOMPARE(printed.jobs()[0].request.target, PrintTarget::Printer);
    QCOMPARE(printed.jobs()[1].request.target, PrintTarget::Preview);
    for (const auto& job : printed.jobs()) {
      QCOMPARE(job.request.title, u"Scheda informativa"_qs);
      QCOMPARE(job.request.pageCount, 1);
      QCOMPARE(job.request.copies, 1);
      QCOMPARE(job.request.layout.orientation(), QPageLayout::Portrait);
    }
    QVERIFY(printed.text(0).contains(u"Rossi Mario"_qs));
    QVERIFY(p->dialogs.seen().isEmpty());
    QVERIFY(!QFile::exists(archive()));  // the archive is not read
  }

  void theRealPreviewOpensAndCloses() {
    openEditor();
    QString title;
    ModalDriver driver([&](QWidget* w) {
      title = w->windowTitle();
      w->close();
    });
    button("cmdAnteprima")->click();
    QVERIFY(driver.done());
    QVERIFY(!title.isEmpty());
  }

  void printingWithNoPrinterSaysSo() {
    PrintCapture printed(false);
    openEditor();
    button("cmdStampa")->click();
    QCOMPARE(p->dialogs.only().text, gui::noPrinterText());
    QVERIFY(printed.jobs().isEmpty());
  }
};

QTEST_MAIN(TestClienti)
#include "test_clienti.moc"
