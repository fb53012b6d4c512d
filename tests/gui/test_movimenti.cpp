// SPDX-License-Identifier: GPL-3.0-or-later
// The movement editor: the new card, browsing the year archive, the keys of
// the card fields, saving with its checks, duplicating, the e-mail button, the
// windows the editor opens, and what the archive holds afterwards as the core
// reads it back.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <sys/stat.h>

#include "../common/records.h"
#include "app/Avvio.h"
#include "core/archive.h"
#include "core/records.h"
#include "core/textrules.h"
#include "gui/fields.h"
#include "gui/form.h"
#include "gui/guide.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {

const QString kAccess =
    u"Attenzione: il sistema non permette di accedere all'archivio.\n\r\n\r"
    "Accertarsi di possedere i privilegi di scrittura nella cartella di installazione del programma."_qs;
const QString kEmpty = u"L'archivio non contiene nessuna scheda."_qs;
const QString kSavedNew = u"La scheda corrente è stata inserita in archivio."_qs;
const QString kSavedChanges = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;
const QString kNeeded = u"Attenzione: per salvare la scheda è necessario indicare "_qs;
const QString kBadAmount = u"Attenzione: l'importo indicato non è valido."_qs;

// Each text control of the card and the record field it is stored in.
struct Pair {
  const char* control;
  const char* field;
};
const Pair kTexts[] = {
    {"txtData", "Data"},           {"txtCausale", "Causale"},         {"txtPromemoria", "Promemoria"},
    {"txtDataSca", "DataSca"},     {"txtPreavviso", "Preavviso"},     {"txtImporto", "Importo"},
    {"txtPagatore", "Pagatore"},   {"txtRecapitoPag", "RecapitoPag"}, {"txtCodFisc", "CodFisc"},
    {"txtPartitaIva", "PartitaIva"}, {"txtCategoria", "Categoria"},   {"txtEmail", "Email"},
    {"txtPagamento", "Pagamento"}, {"txtBeneficiario", "Beneficiario"}, {"txtRecapitoBen", "RecapitoBen"},
    {"txtRicevuta", "Ricevuta"},   {"txtNote", "Note"},               {"txtTariffa", "Tariffa"},
};
const Pair kAttachments[] = {
    {"lblFile01", "File01"}, {"lblFile02", "File02"}, {"lblFile03", "File03"},
    {"lblDesc01", "Desc01"}, {"lblDesc02", "Desc02"}, {"lblDesc03", "Desc03"},
};

int fieldOf(const char* name) { return *fieldIndex<TMovimento>(QString::fromLatin1(name)); }

QString stored(const TMovimento& r, const char* name) { return trimmedText(fieldText(r, fieldOf(name))); }

// A stored movement numbered n, every field filled.
TMovimento fullRecord(int n, bool in = true) {
  const QString k = QString::number(n);
  return testdata::record<TMovimento>({{mov::Entrata, in ? kSi : kNo},
                                       {mov::Uscita, in ? kNo : kSi},
                                       {mov::Data, u"0%1/03/2024"_qs.arg(n)},
                                       {mov::Causale, u"Causale "_qs + k},
                                       {mov::Promemoria, u"Promemoria "_qs + k},
                                       {mov::DataSca, u"1%1/04/2024"_qs.arg(n)},
                                       {mov::Preavviso, k},
                                       {mov::Importo, k + u"0,50"_qs},
                                       {mov::Totale, (in ? u"+"_qs : u"-"_qs) + k + u"0,50"_qs},
                                       {mov::Pagatore, u"Pagatore "_qs + k},
                                       {mov::RecapitoPag, u"Via Roma "_qs + k},
                                       {mov::CodFisc, u"RSSMRA80A01H50"_qs + k + u"U"_qs},
                                       {mov::PartitaIva, u"0123456789"_qs + k},
                                       {mov::Categoria, u"Categoria "_qs + k},
                                       {mov::Email, u"pag"_qs + k + u"@example.it"_qs},
                                       {mov::Pagamento, u"Bonifico "_qs + k},
                                       {mov::Beneficiario, u"Beneficiario "_qs + k},
                                       {mov::RecapitoBen, u"Via Po "_qs + k},
                                       {mov::Ricevuta, u"CRO "_qs + k},
                                       {mov::Note, u"Note "_qs + k},
                                       {mov::Tariffa, u"Tariffa "_qs + k},
                                       {mov::Saldato, n % 2 ? kSi : kNo},
                                       {mov::File01, u"fattura"_qs + k + u".pdf"_qs},
                                       {mov::File02, u"ricevuta"_qs + k + u".jpg"_qs},
                                       {mov::File03, u"nota"_qs + k + u".txt"_qs},
                                       {mov::Desc01, u"Fattura "_qs + k},
                                       {mov::Desc02, u"Ricevuta "_qs + k},
                                       {mov::Desc03, u"Nota "_qs + k}});
}

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestMovimenti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  TfrmMovimenti* editor() const { return p->windows->frmMovimenti; }
  QString archive() const { return movementArchivePath(p->folder(), u"2024"_qs); }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(editor(), name); }
  QAbstractButton* button(const char* name) const { return child<QAbstractButton>(editor(), name); }
  QLabel* label(const char* name) const { return child<QLabel>(editor(), name); }
  QRadioButton* option(const char* name) const { return child<QRadioButton>(editor(), name); }
  QString position() const { return label("lblPosizione")->text(); }
  QWidget* focused() const { return QApplication::focusWidget(); }

  void openEditor(const QString& path = QString()) {
    editor()->setArchiveFile(path.isEmpty() ? archive() : path);
    gui::switchTo(nullptr, editor());
    // The test screen is 800 x 600; the editor gets the room of a real one.
    editor()->setWindowState(Qt::WindowNoState);
    editor()->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor()));
  }
  void store(const std::vector<TMovimento>& records, const QString& path = QString()) {
    MovementArchive a = MovementArchive::OpenOrCreate(path.isEmpty() ? archive() : path);
    for (const TMovimento& r : records) a.Append(r);
    a.Close();
  }
  std::vector<TMovimento> readBack() const {
    std::vector<TMovimento> out;
    MovementArchive a = MovementArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    a.Close();
    return out;
  }
  // The card on screen shows record r, texts and flags.
  void verifyShows(const TMovimento& r) {
    for (const Pair& t : kTexts) QCOMPARE(edit(t.control)->text(), stored(r, t.field));
    for (const Pair& t : kAttachments) QCOMPARE(label(t.control)->text(), stored(r, t.field));
    QCOMPARE(option("optEntrata")->isChecked(), stored(r, "Entrata") == kSi);
    QCOMPARE(option("optUscita")->isChecked(), stored(r, "Uscita") == kSi);
    QCOMPARE(child<QCheckBox>(editor(), "chkSaldato")->isChecked(), stored(r, "Saldato") == kSi);
  }
  void verifyNewCard() {
    QCOMPARE(edit("txtData")->text(), todayText());
    for (const Pair& t : kTexts) {
      const QString name = QString::fromLatin1(t.control);
      const QString expected = name == u"txtData" ? todayText()
                               : name == u"txtPreavviso" ? u"0"_qs
                               : name == u"txtImporto" ? u"0,00"_qs
                                                       : QString();
      QCOMPARE(edit(t.control)->text(), expected);
    }
    for (const Pair& t : kAttachments) QVERIFY(label(t.control)->text().isEmpty());
    QVERIFY(option("optEntrata")->isChecked());
    QVERIFY(!option("optUscita")->isChecked());
    QVERIFY(!child<QCheckBox>(editor(), "chkSaldato")->isChecked());
    QCOMPARE(label("lblImporto")->text(), u"Importo in entrata: €"_qs);
    QCOMPARE(label("lblImporto")->palette().color(QPalette::WindowText).rgba(), 0xFF000000u);
    QVERIFY(position().isEmpty());
  }
  // A card that passes every check.
  void fillComplete() {
    edit("txtCausale")->setText(u"Quota associativa"_qs);
    edit("txtData")->setText(u"05/03/2024"_qs);
    edit("txtDataSca")->setText(u"31/03/2024"_qs);
    edit("txtPagatore")->setText(u"Rossi Mario"_qs);
    edit("txtBeneficiario")->setText(u"Associazione Fondaro"_qs);
    edit("txtImporto")->setText(u"50"_qs);
  }
  void type(QWidget* field, const QString& text) {
    field->setFocus();
    typeText(field, text);
  }
  // A folder no file can be created in, even by a privileged user.
  QString readOnlyFolder() {
    const QString ro = p->dir.path() + u"/sola-lettura"_qs;
    QDir().mkpath(ro);
    ::chmod(QFile::encodeName(ro).constData(), 0555);
    QFile probe(ro + u"/prova"_qs);
    if (!probe.open(QIODevice::WriteOnly)) return ro + u'/';
    probe.remove();
    return u"/sys/"_qs;  // the permissions do not hold for this user; sysfs refuses new files
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() {
    ::chmod(QFile::encodeName(p->dir.path() + u"/sola-lettura"_qs).constData(), 0755);
    p.reset();
  }

  // ---- The window -----------------------------------------------------------

  void showingGivesAnEmptyNewCardWithTodaysDate() {
    openEditor();
    verifyNewCard();
    QCOMPARE(focused(), edit("txtCausale"));
    QVERIFY(child(editor(), "effCausale")->isVisible());
    QCOMPARE(label("panInfo")->text(), u"Pronto per archiviare una nuova scheda..."_qs);
    for (const char* hidden : {"lblFile", "lblFile01", "lblDesc03", "btnCents"})
      QVERIFY2(!child(editor(), hidden)->isVisible(), hidden);
    QVERIFY(label("lblPosizione")->isVisible());
    QVERIFY(!QFile::exists(archive()));  // nothing is opened by showing the window
    for (const char* control : {"txtData", "txtDataSca"}) QVERIFY(edit(control)->isReadOnly());
  }

  void everyShowingStartsAgainFromANewCard() {
    store({fullRecord(1)});
    openEditor();
    button("cmdPrimo")->click();
    QCOMPARE(position(), u"1"_qs);
    button("cmdEsci")->click();
    QVERIFY(p->windows->frmAvvio->isVisible());
    QVERIFY(!editor()->isVisible());
    openEditor();
    verifyNewCard();
  }

  void closingTheEditorBringsTheLauncherBack_data() {
    QTest::addColumn<bool>("byTitleBar");
    QTest::newRow("Esci") << false;
    QTest::newRow("title-bar close") << true;
  }
  void closingTheEditorBringsTheLauncherBack() {
    QFETCH(bool, byTitleBar);
    openEditor();
    edit("txtCausale")->setText(u"non salvata"_qs);
    if (byTitleBar) editor()->close();
    else button("cmdEsci")->click();
    QVERIFY(!editor()->isVisible());
    QVERIFY(p->windows->frmAvvio->isVisible());
    QVERIFY(p->dialogs.seen().isEmpty());  // dropped without a question
    QVERIFY(!QFile::exists(archive()));
  }

  void typingIsLimitedToEachFieldsLength_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("limit");
    const std::pair<const char*, int> limits[] = {
        {"txtCausale", 250},    {"txtPromemoria", 250}, {"txtPreavviso", 3},  {"txtImporto", 15},
        {"txtPagatore", 50},    {"txtRecapitoPag", 50}, {"txtCodFisc", 16},   {"txtPartitaIva", 11},
        {"txtCategoria", 50},   {"txtEmail", 50},       {"txtPagamento", 150}, {"txtBeneficiario", 50},
        {"txtRecapitoBen", 50}, {"txtRicevuta", 250},   {"txtNote", 250},     {"txtTariffa", 250}};
    for (const auto& [name, limit] : limits) QTest::newRow(name) << QString::fromLatin1(name) << limit;
  }
  void typingIsLimitedToEachFieldsLength() {
    QFETCH(QString, control);
    QFETCH(int, limit);
    openEditor();
    QLineEdit* field = edit(qPrintable(control));
    field->clear();
    type(field, QString(limit + 3, u'7'));
    QCOMPARE(field->text(), QString(limit, u'7'));
  }

  void theInfoBarTellsWhatEachControlDoes_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("sentence");
    const std::pair<const char*, const char*> rows[] = {
        {"cmdNuovo", "Predispone la schermata per l'inserimento di una nuova scheda."},
        {"cmdDuplica", "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
        {"cmdSalva", "Salva la scheda corrente in archivio."},
        {"cmdTrova", "Trova una scheda in archivio."},
        {"cmdFile", "Allega file alla scheda corrente."},
        {"cmdStampa", "Stampa la scheda corrente."},
        {"cmdPrimo", "Visualizza la prima scheda in archivio."},
        {"cmdIndietro", "Visualizza la scheda precedente in archivio."},
        {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
        {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
        {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
        {"cmdScadenze", "Visualizza il riepilogo dei pagamenti in scadenza o scaduti e non saldati."},
        {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
        {"cmdEsci", "Esci da questa schermata di lavoro."},
        {"optEntrata", "Spunta questa casella per registrare un importo in entrata."},
        {"optUscita", "Spunta questa casella per registrare un importo in uscita."},
        {"txtData", "Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
        {"txtDataSca", "Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
        {"impData", "Cancella la data."},
        {"impDataSca", "Cancella la data."},
        {"impPagatore", "Importa i dati dall'archivio anagrafico dei Clienti."},
        {"impBeneficiario", "Importa i dati dall'archivio anagrafico dei Clienti."},
        {"chkCodFisc", "Controlla il codice fiscale."},
        {"chkIva", "Controlla il numero di partita IVA."},
        {"sndEmail", "Invia una e-mail all'indirizzo indicato."},
        {"chkSaldato", "Spunta questa casella per indicare che il pagamento è stato saldato."},
    };
    for (const auto& [control, sentence] : rows)
      QTest::newRow(control) << QString::fromLatin1(control) << QString::fromUtf8(sentence);
  }
  void theInfoBarTellsWhatEachControlDoes() {
    QFETCH(QString, control);
    QFETCH(QString, sentence);
    openEditor();
    QLabel* bar = label("panInfo");
    QWidget* w = child(editor(), qPrintable(control));
    QTest::mouseMove(w, w->rect().center());
    QCOMPARE(bar->text(), sentence);
    QTest::mouseMove(edit("txtCausale"), QPoint(5, 5));  // an edit field leaves the sentence
    QCOMPARE(bar->text(), sentence);
    QWidget* options = child(editor(), "panMovimento");  // so does the option panel beside its buttons
    QTest::mouseMove(options, QPoint(options->width() - 3, options->height() / 2));
    QCOMPARE(bar->text(), sentence);
    QTest::mouseMove(child(editor(), "shpSezione1"), QPoint(3, 3));  // a section's background empties it
    QCOMPARE(bar->text(), QString());
    QTest::mouseMove(w, w->rect().center());
    QTest::mouseMove(child(editor(), "panContainer"), QPoint(3, 3));
    QCOMPARE(bar->text(), QString());
  }

  void theEditorLooksLikeAForm() {
    openEditor();
    fillComplete();
    edit("txtPromemoria")->setText(u"Rinnovo annuale"_qs);
    edit("txtRecapitoPag")->setText(u"Via Roma 1, Milano"_qs);
    edit("txtEmail")->setText(u"mario.rossi@example.it"_qs);
    edit("txtPagamento")->setText(u"Bonifico bancario"_qs);
    edit("txtImporto")->setText(u"1250,00"_qs);
    label("lblPosizione")->setText(u"12"_qs);
    // Every section, the amount band, the toolbar groups and the info bar fit
    // inside the container, and no two of them overlap.
    QWidget* c = child(editor(), "panContainer");
    QList<QWidget*> parts;
    for (const char* name : {"shpGruppo1", "shpGruppo2", "shpGruppo3", "shpGruppo4", "shpGruppo5", "shpGruppo6",
                             "shpSezione1", "shpImporto", "shpSezione2", "shpSezione3", "shpSezione4", "shpInfo"})
      parts << child(editor(), name);
    for (int i = 0; i < parts.size(); ++i) {
      QVERIFY2(c->rect().contains(parts[i]->geometry()), qPrintable(parts[i]->objectName()));
      // Nothing is squeezed below the room its buttons and captions need.
      QVERIFY2(parts[i]->width() >= parts[i]->minimumSizeHint().width() &&
                   parts[i]->height() >= parts[i]->minimumSizeHint().height(),
               qPrintable(parts[i]->objectName()));
      for (int j = i + 1; j < parts.size(); ++j)
        QVERIFY2(!parts[i]->geometry().intersects(parts[j]->geometry()),
                 qPrintable(parts[i]->objectName() + u" / "_qs + parts[j]->objectName()));
    }
    // Labels of one section line up on their right edge.
    const auto rightEdge = [&](QLineEdit* field) {
      for (QLabel* l : editor()->findChildren<QLabel*>())
        if (l->buddy() == field) return l->mapTo(c, QPoint(l->width(), 0)).x();
      return -1;
    };
    QCOMPARE(rightEdge(edit("txtPagatore")), rightEdge(edit("txtEmail")));
    QCOMPARE(rightEdge(edit("txtCausale")), rightEdge(edit("txtPromemoria")));
    saveShot(editor(), artifacts(), u"editor-test"_qs);
  }

  // ---- Browsing -------------------------------------------------------------

  void anEmptyArchiveSaysSoOnEveryBrowsingButton_data() {
    QTest::addColumn<QString>("control");
    for (const char* b : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo"}) QTest::newRow(b) << QString::fromLatin1(b);
  }
  void anEmptyArchiveSaysSoOnEveryBrowsingButton() {
    QFETCH(QString, control);
    openEditor();
    edit("txtCausale")->setText(u"scritta a mano"_qs);
    button(qPrintable(control))->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QCOMPARE(shown.icon, Icon::Information);
    QCOMPARE(shown.text, kEmpty);
    QVERIFY(position().isEmpty());
    QCOMPARE(edit("txtCausale")->text(), u"scritta a mano"_qs);  // the card stays
    QVERIFY(QFile::exists(archive()));  // the year's file now exists, empty
    QCOMPARE(QFileInfo(archive()).size(), 0);
  }

  void browsingAOneRecordArchive_data() {
    QTest::addColumn<QString>("from");  // "new" or "1"
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("shows");
    QTest::newRow("first") << u"new"_qs << u"cmdPrimo"_qs << true;
    QTest::newRow("last") << u"new"_qs << u"cmdUltimo"_qs << true;
    QTest::newRow("next from a new card") << u"new"_qs << u"cmdAvanti"_qs << true;
    QTest::newRow("previous from a new card") << u"new"_qs << u"cmdIndietro"_qs << true;
    QTest::newRow("next on record 1") << u"1"_qs << u"cmdAvanti"_qs << false;
    QTest::newRow("previous on record 1") << u"1"_qs << u"cmdIndietro"_qs << false;
  }
  void browsingAOneRecordArchive() {
    QFETCH(QString, from);
    QFETCH(QString, control);
    QFETCH(bool, shows);
    const TMovimento r = fullRecord(1);
    store({r});
    openEditor();
    if (from == u"1") {
      button("cmdPrimo")->click();
      edit("txtCausale")->setText(u"cambiata"_qs);  // unsaved change: kept when nothing happens
    }
    button(qPrintable(control))->click();
    QVERIFY(p->dialogs.seen().isEmpty());
    QCOMPARE(position(), u"1"_qs);
    if (shows) verifyShows(r);
    else QCOMPARE(edit("txtCausale")->text(), u"cambiata"_qs);
  }

  void browsingWalksTheArchiveInOrder() {
    const std::vector<TMovimento> rs = {fullRecord(1), fullRecord(2, false), fullRecord(3)};
    store(rs);
    openEditor();
    const struct {
      const char* control;
      int expected;
    } steps[] = {{"cmdAvanti", 1}, {"cmdAvanti", 2}, {"cmdAvanti", 3}, {"cmdAvanti", 3}, {"cmdIndietro", 2},
                 {"cmdIndietro", 1}, {"cmdIndietro", 1}, {"cmdUltimo", 3}, {"cmdPrimo", 1}};
    for (const auto& s : steps) {
      button(s.control)->click();
      QCOMPARE(position(), QString::number(s.expected));
      verifyShows(rs[s.expected - 1]);
    }
    QVERIFY(p->dialogs.seen().isEmpty());  // the ends of the archive say nothing
    // A movement out shows the red out-display; browsing does not move the focus.
    button("cmdAvanti")->click();
    QCOMPARE(label("lblImporto")->text(), u"Importo in uscita: €"_qs);
    QCOMPARE(label("lblImporto")->palette().color(QPalette::WindowText).rgba(), 0xFFFF0000u);
    QCOMPARE(focused(), edit("txtCausale"));
  }

  void aTypedCardIsReplacedWithoutWarning() {
    store({fullRecord(1)});
    openEditor();
    fillComplete();
    button("cmdUltimo")->click();
    QVERIFY(p->dialogs.seen().isEmpty());
    verifyShows(fullRecord(1));
  }

  void flagsThatAreBothNoChooseNeitherOption() {
    store(
        {testdata::record<TMovimento>(
             {{mov::Entrata, kNo}, {mov::Uscita, kNo}, {mov::Saldato, kSi}, {mov::Causale, u"Danneggiata"}}),
         testdata::record<TMovimento>({{mov::Entrata, u"??"}, {mov::Uscita, u""}, {mov::Saldato, u"x"}}),
         testdata::record<TMovimento>({{mov::Entrata, kSi}, {mov::Uscita, kSi}})});
    openEditor();
    child<QCheckBox>(editor(), "chkSaldato")->setChecked(false);
    button("cmdPrimo")->click();
    QVERIFY(!option("optEntrata")->isChecked());
    QVERIFY(!option("optUscita")->isChecked());
    QVERIFY(child<QCheckBox>(editor(), "chkSaldato")->isChecked());
    QCOMPARE(label("lblImporto")->text(), u"Importo in uscita: €"_qs);
    QCOMPARE(label("lblImporto")->palette().color(QPalette::WindowText).rgba(), 0xFFFF0000u);
    // Flags that say neither "Sì" nor "No" leave the controls as they were.
    option("optUscita")->click();
    button("cmdAvanti")->click();
    QVERIFY(option("optUscita")->isChecked());
    QVERIFY(child<QCheckBox>(editor(), "chkSaldato")->isChecked());
    // Both "Sì": the options exclude each other, the last one set stays, and
    // the amount label tells the option that is chosen.
    option("optEntrata")->click();
    button("cmdAvanti")->click();
    QVERIFY(!option("optEntrata")->isChecked());
    QVERIFY(option("optUscita")->isChecked());
    QCOMPARE(label("lblImporto")->text(), u"Importo in uscita: €"_qs);
  }

  // ---- Keys -----------------------------------------------------------------

  void enterMovesAlongTheChain_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    const std::pair<const char*, const char*> chain[] = {
        {"txtCausale", "txtPromemoria"},     {"txtPromemoria", "txtDataSca"},  {"txtPreavviso", "txtImporto"},
        {"txtImporto", "txtPagatore"},       {"txtPagatore", "txtRecapitoPag"}, {"txtRecapitoPag", "txtCodFisc"},
        {"txtCodFisc", "txtPartitaIva"},     {"txtPartitaIva", "txtCategoria"}, {"txtCategoria", "txtEmail"},
        {"txtEmail", "txtPagamento"},        {"txtPagamento", "txtBeneficiario"}, {"txtBeneficiario", "txtRecapitoBen"},
        {"txtRecapitoBen", "txtRicevuta"},   {"txtRicevuta", "txtNote"},       {"txtNote", "txtTariffa"},
        {"txtTariffa", "txtData"}};
    for (const auto& [from, to] : chain) QTest::newRow(from) << QString::fromLatin1(from) << QString::fromLatin1(to);
  }
  void enterMovesAlongTheChain() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    openEditor();
    QLineEdit* field = edit(qPrintable(from));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(focused()->objectName(), to);
    QVERIFY(child(editor(), qPrintable(gui::frameName(to)))->isVisible());
    QVERIFY(!child(editor(), qPrintable(gui::frameName(from)))->isVisible());
    QVERIFY(p->dialogs.seen().isEmpty());
  }

  void tabFollowsTheCardOrder() {
    openEditor();
    const QStringList order = {u"txtData"_qs,        u"txtCausale"_qs,     u"txtPromemoria"_qs, u"txtDataSca"_qs,
                               u"txtPreavviso"_qs,   u"txtImporto"_qs,     u"txtPagatore"_qs,   u"txtRecapitoPag"_qs,
                               u"txtCodFisc"_qs,     u"txtPartitaIva"_qs,  u"txtCategoria"_qs,  u"txtEmail"_qs,
                               u"txtPagamento"_qs,   u"txtBeneficiario"_qs, u"txtRecapitoBen"_qs, u"txtRicevuta"_qs,
                               u"txtNote"_qs,        u"txtTariffa"_qs,     u"chkSaldato"_qs};
    edit("txtData")->setFocus();
    for (qsizetype i = 1; i < order.size(); ++i) {
      QTest::keyClick(focused(), Qt::Key_Tab);
      QCOMPARE(focused()->objectName(), order[i]);
    }
    edit("txtData")->setFocus();
    QTest::keyClick(focused(), Qt::Key_Backtab, Qt::ShiftModifier);
    QVERIFY(focused() == option("optEntrata") || focused() == option("optUscita"));
    QVERIFY(p->dialogs.seen().isEmpty());  // Tab in a date field opens no calendar
  }

  void keyRulesOfTheFields_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("tax code in capitals") << u"txtCodFisc"_qs << u"rssmra80a01h501u"_qs << u"RSSMRA80A01H501U"_qs;
    QTest::newRow("tax code: a leading blank goes at once") << u"txtCodFisc"_qs << u" ab"_qs << u"AB"_qs;
    QTest::newRow("tax code: a blank typed at the end goes") << u"txtCodFisc"_qs << u"ab cd"_qs << u"ABCD"_qs;
    QTest::newRow("tax code: only a to z change") << u"txtCodFisc"_qs << u"àb1"_qs << u"àB1"_qs;
    QTest::newRow("e-mail trimmed, case kept") << u"txtEmail"_qs << u"  Mario@Example.it "_qs << u"Mario@Example.it"_qs;
    QTest::newRow("amount: digits and comma only") << u"txtImporto"_qs << u"1a2-3.4,5e6 "_qs << u"1234,56"_qs;
    QTest::newRow("notice days: digits only") << u"txtPreavviso"_qs << u"1,a-2 x"_qs << u"12"_qs;
    QTest::newRow("notice days: three at most") << u"txtPreavviso"_qs << u"12345"_qs << u"123"_qs;
    QTest::newRow("VAT number: digits only") << u"txtPartitaIva"_qs << u"IT0123456789"_qs << u"0123456789"_qs;
  }
  void keyRulesOfTheFields() {
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, result);
    openEditor();
    QLineEdit* field = edit(qPrintable(control));
    field->clear();
    type(field, typed);
    QCOMPARE(field->text(), result);
  }

  void aPastedTextTheKeysRefuseDoesNotGetIn() {
    openEditor();
    QLineEdit* amount = edit("txtImporto");
    amount->setFocus();
    amount->selectAll();
    QApplication::clipboard()->setText(u"-1.234,50"_qs);
    amount->paste();
    QCOMPARE(amount->text(), u"0,00"_qs);
  }

  void theAmountIsNormalisedWhenTheFieldIsLeft_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    const std::pair<const char*, const char*> cases[] = {
        {"", "0,00"},          {"5", "5,00"},         {"12,5", "12,50"},     {",5", "0,50"},
        {"0", "0,00"},         {"007", "7,00"},       {"12,", "12,00"},      {"1234,567", "1234,57"},
        {"0,125", "0,13"},     {"1,005", "1,00"},     {"0,015", "0,01"},     {"12,345", "12,35"},
        {"1234567", "1234567,00"}, {"1,2,3", "0,00"}, {",", "0,00"}};
    for (const auto& [typed, result] : cases)
      QTest::newRow(*typed ? typed : "empty") << QString::fromLatin1(typed) << QString::fromLatin1(result);
  }
  void theAmountIsNormalisedWhenTheFieldIsLeft() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    openEditor();
    QLineEdit* amount = edit("txtImporto");
    amount->clear();
    type(amount, typed);
    QCOMPARE(amount->text(), typed);  // nothing changes while typing
    QTest::keyClick(amount, Qt::Key_Tab);
    QCOMPARE(focused(), edit("txtPagatore"));
    QCOMPARE(amount->text(), result);
    QVERIFY(!child(editor(), "effImporto")->isVisible());
  }

  void inAndOutChangeTheAmountLabel() {
    openEditor();
    option("optUscita")->click();
    QCOMPARE(label("lblImporto")->text(), u"Importo in uscita: €"_qs);
    QCOMPARE(label("lblImporto")->palette().color(QPalette::WindowText).rgba(), 0xFFFF0000u);
    option("optEntrata")->click();
    QCOMPARE(label("lblImporto")->text(), u"Importo in entrata: €"_qs);
    QCOMPARE(label("lblImporto")->palette().color(QPalette::WindowText).rgba(), 0xFF000000u);
    button("cmdNuovo")->click();
    verifyNewCard();
  }

  void dateFieldsEmptyOnBackspaceAndDeleteAndOpenTheCalendarOnOtherKeys_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("mode");  // the calendar's mode, empty when none opens
    QTest::newRow("Backspace in the date") << u"txtData"_qs << int(Qt::Key_Backspace) << u"\b"_qs << QString();
    QTest::newRow("Delete in the due date") << u"txtDataSca"_qs << int(Qt::Key_Delete) << QString() << QString();
    QTest::newRow("a letter in the date") << u"txtData"_qs << int(Qt::Key_A) << u"a"_qs << u"movimenti_data"_qs;
    QTest::newRow("Enter in the date") << u"txtData"_qs << int(Qt::Key_Return) << u"\r"_qs << u"movimenti_data"_qs;
    QTest::newRow("a digit in the due date") << u"txtDataSca"_qs << int(Qt::Key_5) << u"5"_qs << u"movimenti_scadenza"_qs;
    QTest::newRow("an arrow in the due date") << u"txtDataSca"_qs << int(Qt::Key_Left) << QString() << u"movimenti_scadenza"_qs;
    QTest::newRow("Shift alone") << u"txtData"_qs << int(Qt::Key_Shift) << QString() << u"none"_qs;
  }
  void dateFieldsEmptyOnBackspaceAndDeleteAndOpenTheCalendarOnOtherKeys() {
    QFETCH(QString, control);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, mode);
    openEditor();
    QLineEdit* field = edit(qPrintable(control));
    field->setText(u"01/02/2024"_qs);
    field->setFocus();
    QString seen;
    ModalDriver driver([&](QWidget* w) {
      seen = w->objectName();
      w->close();
    }, 1500);
    pressKey(field, Qt::Key(key), text);
    if (mode.isEmpty()) {
      QCOMPARE(field->text(), QString());
      QVERIFY(!driver.done());
    } else if (mode == u"none") {
      QCOMPARE(field->text(), u"01/02/2024"_qs);
      QVERIFY(!driver.done());
    } else {
      QVERIFY(driver.done());
      QCOMPARE(seen, u"frmCalendario"_qs);
      QCOMPARE(field->text(), u"01/02/2024"_qs);  // the calendar closed without a date
    }
  }

  void theSmallButtonsEmptyTheDates() {
    openEditor();
    edit("txtDataSca")->setText(u"01/05/2024"_qs);
    button("impDataSca")->click();
    QVERIFY(edit("txtDataSca")->text().isEmpty());
    QCOMPARE(edit("txtData")->text(), todayText());
    button("impData")->click();
    QVERIFY(edit("txtData")->text().isEmpty());
  }

  // ---- Saving ---------------------------------------------------------------

  void savingANewCardTwiceAppendsThenUpdatesInPlace() {
    store({fullRecord(1)});
    openEditor();
    // Every field typed, as the user does.
    option("optUscita")->click();
    const std::pair<const char*, QString> typed[] = {
        {"txtCausale", u"  Affitto ufficio di marzo "_qs}, {"txtPromemoria", u"Pagare entro il 5"_qs},
        {"txtPreavviso", u"10"_qs},         {"txtImporto", u"1250,5"_qs},
        {"txtPagatore", u"Bianchi Srl"_qs}, {"txtRecapitoPag", u"Via Verdi 3, Torino"_qs},
        {"txtCodFisc", u"01234567890"_qs},  {"txtPartitaIva", u"01234567890"_qs},
        {"txtCategoria", u"Affitti"_qs},    {"txtEmail", u"amministrazione@bianchi.example"_qs},
        {"txtPagamento", u"Bonifico SEPA"_qs}, {"txtBeneficiario", u"Immobiliare Città"_qs},
        {"txtRecapitoBen", u"Corso Italia 10"_qs}, {"txtRicevuta", u"CRO 0099887766"_qs},
        {"txtNote", u"Caffè e pulizie incluse"_qs}, {"txtTariffa", u"Canone mensile"_qs}};
    for (const auto& [name, text] : typed) {
      edit(name)->clear();
      type(edit(name), text);
    }
    edit("txtDataSca")->setText(u"05/04/2024"_qs);  // the calendar's work, tested on its own
    child<QCheckBox>(editor(), "chkSaldato")->setChecked(true);
    label("lblFile01")->setText(u"contratto.pdf"_qs);
    label("lblDesc01")->setText(u"Contratto"_qs);
    const QByteArray first = fileBytes(archive());

    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedNew);
    QCOMPARE(p->dialogs.only().icon, Icon::Information);
    QCOMPARE(position(), u"2"_qs);
    QCOMPARE(edit("txtImporto")->text(), u"1250,50"_qs);
    QCOMPARE(edit("txtCausale")->text(), u"  Affitto ufficio di marzo "_qs);  // the screen keeps the typing
    auto rs = readBack();
    QCOMPARE(rs.size(), size_t(2));
    QCOMPARE(fileBytes(archive()).left(first.size()), first);  // record 1 untouched
    const TMovimento& r = rs[1];
    QCOMPARE(stored(r, "Entrata"), kNo);
    QCOMPARE(stored(r, "Uscita"), kSi);
    QCOMPARE(stored(r, "Data"), todayText());
    QCOMPARE(stored(r, "Causale"), u"Affitto ufficio di marzo"_qs);
    QCOMPARE(stored(r, "DataSca"), u"05/04/2024"_qs);
    QCOMPARE(stored(r, "Importo"), u"1250,50"_qs);
    QCOMPARE(stored(r, "Totale"), u"-1250,50"_qs);
    QCOMPARE(stored(r, "Saldato"), kSi);
    for (const auto& [name, text] : typed) {
      const QString control = QString::fromLatin1(name);
      if (control == u"txtImporto" || control == u"txtCausale") continue;
      for (const Pair& t : kTexts)
        if (control == QLatin1String(t.control)) QCOMPARE(stored(r, t.field), trimmedText(text));
    }
    QCOMPARE(stored(r, "File01"), u"contratto.pdf"_qs);
    QCOMPARE(stored(r, "Desc01"), u"Contratto"_qs);
    for (const char* f : {"File02", "File03", "Desc02", "Desc03"}) QVERIFY(stored(r, f).isEmpty());

    // The same card again: written over position 2.
    p->dialogs.clear();
    option("optEntrata")->click();
    edit("txtImporto")->setText(u"12,5"_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedChanges);
    QCOMPARE(p->dialogs.only().icon, Icon::Information);
    QCOMPARE(position(), u"2"_qs);
    rs = readBack();
    QCOMPARE(rs.size(), size_t(2));
    QCOMPARE(stored(rs[1], "Importo"), u"12,50"_qs);
    QCOMPARE(stored(rs[1], "Totale"), u"+12,50"_qs);
    QCOMPARE(stored(rs[1], "Entrata"), kSi);
    QCOMPARE(stored(rs[1], "Uscita"), kNo);
    QCOMPARE(fileBytes(archive()).left(first.size()), first);
  }

  void aStoredCardIsSavedBackWithEveryField() {
    store({fullRecord(1), fullRecord(2, false)});
    openEditor();
    button("cmdUltimo")->click();
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedChanges);
    const auto rs = readBack();
    QCOMPARE(rs.size(), size_t(2));
    for (int f = 0; f < mov::FieldCount; ++f) QCOMPARE(fieldText(rs[1], f), fieldText(fullRecord(2, false), f));
  }

  // Only the payment method is shorter on screen (150) than its field (250):
  // a stored card shows and saves back its texts whole, at full capacity.
  void textsAtFullCapacityAreShownAndSavedBackWhole() {
    const TMovimento r = testdata::record(fullRecord(1), {{mov::Pagamento, QString(250, u'p')},
                                                          {mov::Causale, QString(250, u'c')},
                                                          {mov::Pagatore, QString(50, u'n')},
                                                          {mov::Importo, u"99999999999,99"},
                                                          {mov::Totale, u"+99999999999,99"}});
    store({r});
    openEditor();
    button("cmdPrimo")->click();
    QCOMPARE(edit("txtPagamento")->text(), QString(250, u'p'));
    QCOMPARE(edit("txtCausale")->text(), QString(250, u'c'));
    QCOMPARE(edit("txtImporto")->text(), u"99999999999,99"_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedChanges);
    const auto rs = readBack();
    QCOMPARE(rs.size(), size_t(1));
    for (int f = 0; f < mov::FieldCount; ++f) QCOMPARE(fieldText(rs[0], f), fieldText(r, f));
  }

  void anEmptyAmountIsSavedAsZero() {
    openEditor();
    fillComplete();
    edit("txtImporto")->clear();
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedNew);
    QCOMPARE(edit("txtImporto")->text(), u"0,00"_qs);
    QCOMPARE(stored(readBack()[0], "Totale"), u"+0,00"_qs);
  }

  void theChecksRunInOrderAndStopTheSave_data() {
    QTest::addColumn<QStringList>("spoil");  // control=text, in order
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("plain");
    QTest::addColumn<QString>("focus");
    const QString badDate = u"Attenzione: la data %1 non esiste.\n\r\n\rPer poter salvare la scheda è necessario "
                            "indicare una data valida nel formato gg/mm/aaaa."_qs;
    QTest::newRow("1 reason") << QStringList{u"txtCausale=  "_qs, u"txtData="_qs, u"txtPagatore="_qs}
                              << kNeeded + u"la causale del pagamento."_qs << false << u"txtCausale"_qs;
    QTest::newRow("2 date") << QStringList{u"txtData="_qs, u"txtDataSca="_qs}
                            << kNeeded + u"la data di registrazione dell'operazione."_qs << false << u"txtData"_qs;
    QTest::newRow("3 date that does not exist") << QStringList{u"txtData=31/04/2024"_qs, u"txtDataSca="_qs}
                                                << badDate.arg(u"31/04/2024"_qs) << true << u"txtData"_qs;
    QTest::newRow("4 due date, with 0 days") << QStringList{u"txtDataSca="_qs, u"txtPreavviso=0"_qs, u"txtPagatore="_qs}
                                             << kNeeded + u"la data di scadenza del pagamento."_qs << false
                                             << u"txtDataSca"_qs;
    QTest::newRow("5 due date that does not exist") << QStringList{u"txtDataSca=29/02/2023"_qs, u"txtPreavviso="_qs}
                                                    << badDate.arg(u"29/02/2023"_qs) << true << u"txtDataSca"_qs;
    QTest::newRow("6 days of notice") << QStringList{u"txtPreavviso= "_qs, u"txtBeneficiario="_qs}
                                      << kNeeded + u"il numero di giorni di preavviso della scadenza del pagamento."_qs
                                      << false << u"txtPreavviso"_qs;
    QTest::newRow("7 payer") << QStringList{u"txtPagatore="_qs, u"txtBeneficiario="_qs}
                             << kNeeded + u"il nome del pagatore."_qs << false << u"txtPagatore"_qs;
    QTest::newRow("8 beneficiary") << QStringList{u"txtBeneficiario=   "_qs}
                                   << kNeeded + u"il nome del beneficiario."_qs << false << u"txtBeneficiario"_qs;
    QTest::newRow("amount of 15 characters") << QStringList{u"txtImporto=100000000000"_qs}
                                             << kBadAmount << false << u"txtImporto"_qs;
  }
  void theChecksRunInOrderAndStopTheSave() {
    QFETCH(QStringList, spoil);
    QFETCH(QString, message);
    QFETCH(bool, plain);
    QFETCH(QString, focus);
    openEditor();
    fillComplete();
    for (const QString& s : spoil) edit(qPrintable(s.section(u'=', 0, 0)))->setText(s.section(u'=', 1));
    edit("txtNote")->setFocus();
    button("cmdSalva")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.kind, plain ? DialogKind::Message : DialogKind::Notice);
    if (!plain) QCOMPARE(shown.icon, Icon::Warning);
    QCOMPARE(focused()->objectName(), focus);
    QVERIFY(!QFile::exists(archive()));  // nothing opened, nothing written
    QVERIFY(position().isEmpty());
  }

  void damagedStoredTextsAreNeverSavedAsAmounts_data() {
    QTest::addColumn<QString>("entrata");
    QTest::addColumn<QString>("uscita");
    QTest::addColumn<QString>("importo");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("neither in nor out") << kNo << kNo << u"10,00"_qs
                                        << kNeeded + u"il tipo di movimento (entrata o uscita)."_qs << u"optEntrata"_qs;
    QTest::newRow("negative amount") << kSi << kNo << u"-4,99"_qs << kBadAmount << u"txtImporto"_qs;
    QTest::newRow("exponent amount") << kNo << kSi << u"1E15"_qs << kBadAmount << u"txtImporto"_qs;
  }
  void damagedStoredTextsAreNeverSavedAsAmounts() {
    QFETCH(QString, entrata);
    QFETCH(QString, uscita);
    QFETCH(QString, importo);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const TMovimento r = testdata::record(
        fullRecord(1), {{mov::Entrata, entrata}, {mov::Uscita, uscita}, {mov::Importo, importo}});
    store({r});
    const QByteArray before = fileBytes(archive());
    openEditor();
    button("cmdPrimo")->click();
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, message);
    QCOMPARE(p->dialogs.only().icon, Icon::Warning);
    QCOMPARE(focused()->objectName(), focus);
    QCOMPARE(fileBytes(archive()), before);
  }

  // ---- Failures -------------------------------------------------------------

  void aReadOnlyFolderGivesTheErrorNoticeAndChangesNothing_data() {
    QTest::addColumn<QString>("control");
    for (const char* b : {"cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo", "cmdSalva"})
      QTest::newRow(b) << QString::fromLatin1(b);
  }
  void aReadOnlyFolderGivesTheErrorNoticeAndChangesNothing() {
    QFETCH(QString, control);
    const QString path = readOnlyFolder() + u"2024.eur"_qs;
    openEditor(path);
    fillComplete();
    button(qPrintable(control))->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QCOMPARE(shown.icon, Icon::Error);
    QCOMPARE(shown.text, kAccess);
    QVERIFY(position().isEmpty());
    QCOMPARE(edit("txtCausale")->text(), u"Quota associativa"_qs);
    QVERIFY(!QFile::exists(path));
  }

  void anArchiveThatCannotBeOpenedIsLeftAlone() {
    store({fullRecord(1)});
    openEditor();
    button("cmdPrimo")->click();  // a stored card on screen
    QDir().mkpath(p->folder() + u"2025.eur"_qs);  // a name the program cannot open as a file
    editor()->setArchiveFile(p->folder() + u"2025.eur"_qs);
    p->dialogs.clear();

    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kAccess);
    QCOMPARE(p->dialogs.only().icon, Icon::Error);
    QCOMPARE(position(), u"1"_qs);

    p->dialogs.clear();
    button("cmdDuplica")->click();  // duplicating says the same as a warning
    QCOMPARE(p->dialogs.only().text, kAccess);
    QCOMPARE(p->dialogs.only().icon, Icon::Warning);
    QVERIFY(position().isEmpty());  // the card stays as duplicating left it
    QCOMPARE(edit("txtData")->text(), todayText());
    QVERIFY(edit("txtDataSca")->text().isEmpty());

    p->dialogs.clear();
    button("cmdNuovo")->click();
    button("cmdAvanti")->click();
    QCOMPARE(p->dialogs.only().text, kAccess);
    QVERIFY(position().isEmpty());
    QVERIFY(QFileInfo(p->folder() + u"2025.eur"_qs).isDir());
  }

  void updatingAPositionTheArchiveNoLongerHasWritesNothing() {
    store({fullRecord(1)});
    const QByteArray before = fileBytes(archive());
    openEditor();
    editor()->showStoredRecord(fullRecord(5), 5);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kAccess);
    QCOMPARE(position(), u"5"_qs);
    QCOMPARE(fileBytes(archive()), before);
  }

  // ---- Duplicating ----------------------------------------------------------

  void duplicatingANewCardOnlyWarns() {
    openEditor();
    fillComplete();
    edit("txtDataSca")->setText(u"30/06/2024"_qs);
    button("cmdDuplica")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.icon, Icon::Warning);
    QCOMPARE(shown.text, u"Attenzione: la duplicazione di una scheda può avvenire soltanto dopo che questa è "
                         "stata inserita in archivio."_qs);
    QCOMPARE(edit("txtDataSca")->text(), u"30/06/2024"_qs);
    QCOMPARE(edit("txtData")->text(), u"05/03/2024"_qs);
  }

  void aDuplicateIsANewCardThatSavingAppends() {
    const TMovimento original = fullRecord(1, false);  // settled, out, three attachments
    store({original});
    const QByteArray before = fileBytes(archive());
    openEditor();
    button("cmdPrimo")->click();
    edit("txtNote")->setFocus();
    button("cmdDuplica")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.icon, Icon::Information);
    QCOMPARE(shown.text, u"E' ora possibile apportare le proprie modifiche alla scheda corrente.\n\r\n\r"
                         "Al termine premere Salva per inserire la scheda in archivio."_qs);
    QVERIFY(position().isEmpty());
    QCOMPARE(edit("txtData")->text(), todayText());
    QVERIFY(edit("txtDataSca")->text().isEmpty());
    QVERIFY(!child<QCheckBox>(editor(), "chkSaldato")->isChecked());
    for (const Pair& t : kAttachments) QVERIFY(label(t.control)->text().isEmpty());
    QVERIFY(option("optUscita")->isChecked());
    for (const char* kept : {"txtCausale", "txtPromemoria", "txtPreavviso", "txtImporto", "txtPagatore",
                             "txtRecapitoPag", "txtCodFisc", "txtPartitaIva", "txtCategoria", "txtEmail",
                             "txtPagamento", "txtBeneficiario", "txtRecapitoBen", "txtRicevuta", "txtNote",
                             "txtTariffa"})
      for (const Pair& t : kTexts)
        if (QLatin1String(t.control) == QLatin1String(kept)) QCOMPARE(edit(kept)->text(), stored(original, t.field));
    QCOMPARE(focused(), edit("txtCausale"));
    QCOMPARE(fileBytes(archive()), before);  // nothing written by duplicating

    p->dialogs.clear();
    edit("txtDataSca")->setText(u"30/04/2024"_qs);
    button("cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedNew);
    QCOMPARE(position(), u"2"_qs);
    const auto rs = readBack();
    QCOMPARE(rs.size(), size_t(2));
    QCOMPARE(fileBytes(archive()).left(before.size()), before);
    QCOMPARE(stored(rs[1], "Causale"), stored(original, "Causale"));
    QCOMPARE(stored(rs[1], "Totale"), u"-10,50"_qs);
    QCOMPARE(stored(rs[1], "Saldato"), kNo);
    QCOMPARE(stored(rs[1], "File01"), QString());
  }

  // ---- E-mail ---------------------------------------------------------------

  void theEmailButtonHandsTheAddressToTheDesktop_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("opened");  // empty: the warning instead
    QTest::newRow("plain") << u"mario.rossi@example.it"_qs << u"\"mailto:mario.rossi@example.it\""_qs;
    QTest::newRow("parameters are kept out")
        << u"a@b.it?attach=/etc/passwd&body=x#y%z"_qs << u"\"mailto:a@b.it%3Fattach=/etc/passwd%26body=x%23y%25z\""_qs;
    QTest::newRow("only blanks") << u"   "_qs << QString();
    QTest::newRow("empty") << QString() << QString();
  }
  void theEmailButtonHandsTheAddressToTheDesktop() {
    QFETCH(QString, address);
    QFETCH(QString, opened);
    openEditor();
    edit("txtEmail")->setText(address);
    edit("txtNote")->setFocus();
    button("sndEmail")->click();
    if (opened.isEmpty()) {
      QVERIFY(p->shell.texts().isEmpty());
      QCOMPARE(p->dialogs.only().text, u"Attenzione: indicare l'indirizzo e-mail del tesserato."_qs);
      QCOMPARE(p->dialogs.only().icon, Icon::Warning);
      QCOMPARE(focused(), edit("txtEmail"));
    } else {
      QVERIFY(p->dialogs.seen().isEmpty());
      QCOMPARE(p->shell.texts(), QStringList{opened});
    }
  }

  // ---- Windows opened from the editor ----------------------------------------

  void theEditorPreparesTheWindowsItOpens_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("codFisc");  // what txtCodFisc holds first
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");  // a field the window gets, "name=text"
    QTest::newRow("search") << u"cmdTrova"_qs << QString() << u"frmTrovaMovimenti"_qs << QString();
    QTest::newRow("due payments") << u"cmdScadenze"_qs << QString() << u"frmSospesiMov"_qs << QString();
    QTest::newRow("print") << u"cmdStampa"_qs << QString() << u"frmStampaMovimento"_qs << QString();
    QTest::newRow("export") << u"cmdEsporta"_qs << QString() << u"frmExpMovimenti"_qs << QString();
    QTest::newRow("attachments") << u"cmdFile"_qs << QString() << u"frmAllegaCartella"_qs
                                 << u"txtDesc02=Ricevuta"_qs;
    QTest::newRow("payer") << u"impPagatore"_qs << QString() << u"frmTrovaClienti"_qs
                           << QString();
    QTest::newRow("beneficiary") << u"impBeneficiario"_qs << QString() << u"frmTrovaClienti"_qs << QString();
    QTest::newRow("empty tax code") << u"chkCodFisc"_qs << u"  "_qs << u"frmCodFisc"_qs
                                    << u"txtCodFisc="_qs;
    QTest::newRow("tax code") << u"chkCodFisc"_qs << u" RSSMRA80A01H501U "_qs << u"frmCodFisc"_qs
                              << u"txtCodFisc=RSSMRA80A01H501U"_qs;
    QTest::newRow("digits go to the VAT check") << u"chkCodFisc"_qs << u"01234567890"_qs << u"frmPartitaIva"_qs << u"txtPartitaIva=01234567890"_qs;
    QTest::newRow("VAT number") << u"chkIva"_qs << QString() << u"frmPartitaIva"_qs
                                << u"txtPartitaIva=98765432109"_qs;
  }
  void theEditorPreparesTheWindowsItOpens() {
    QFETCH(QString, control);
    QFETCH(QString, codFisc);
    QFETCH(QString, window);
    QFETCH(QString, field);
    openEditor();
    edit("txtCodFisc")->setText(codFisc);
    edit("txtPartitaIva")->setText(u" 98765432109"_qs);
    label("lblDesc02")->setText(u"  Ricevuta "_qs);
    QString seenName, seenField;
    QWidget* seenOwner = nullptr;
    bool hasField = false;
    ModalDriver driver([&](QWidget* w) {
      seenName = w->objectName();
      seenOwner = w->parentWidget();
      if (auto* e = w->findChild<QLineEdit*>(field.section(u'=', 0, 0))) {
        hasField = true;
        seenField = e->text();
      }
      w->close();
    });
    button(qPrintable(control))->click();
    QVERIFY(driver.done());
    QCOMPARE(seenName, window);
    QCOMPARE(seenOwner, static_cast<QWidget*>(editor()));
    // The windows of other work exist in their first form; a field they have
    // gets the text.
    if (hasField) QCOMPARE(seenField, field.section(u'=', 1));
    QVERIFY(p->dialogs.seen().isEmpty());
    QCOMPARE(editor()->findChildren<gui::Form*>().size(), 0);  // disposed of
  }

  void theGuideButtonShowsTheRegisterGuide() {
    openEditor();
    QString title, text;
    ModalDriver driver([&](QWidget* w) {
      title = child<QLabel>(w, "lblTitolo")->text();
      text = child<QPlainTextEdit>(w, "txtGuida")->toPlainText();
      w->close();
    });
    button("cmdGuida")->click();
    QVERIFY(driver.done());
    QCOMPARE(title, u"Applicazione Registro Movimenti."_qs);
    const QStringList paragraphs = gui::guidePage(u"movimenti"_qs).split(u"\r\n\r\n"_qs);
    QCOMPARE(paragraphs.size(), 14);
    QCOMPARE(paragraphs[0], u"L'applicazione Registro Movimenti è l'ambiente in cui bisogna annotare tutte le "
                            "operazioni relative ai pagamenti in dare e in avere che confluiranno nel registro di "
                            "primanota della propria azienda."_qs);
    QCOMPARE(text.split(u"\n\n"_qs), paragraphs);
  }
};

QTEST_MAIN(TestMovimenti)
#include "test_movimenti.moc"
