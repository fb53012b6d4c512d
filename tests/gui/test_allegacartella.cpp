// SPDX-License-Identifier: GPL-3.0-or-later
// The attachments window: the rows it starts from, attaching a file into the
// attachments folder with the overwrite question, opening, clearing, applying
// into the editor and cancelling, and the names and failures it refuses.
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>

#include "../common/records.h"
#include "core/archive.h"
#include "core/records.h"
#include "gui/openurl.h"
#include "clients/Clienti.h"
#include "common/AllegaCartella.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {

const QString kOverwrite =
    u"Attenzione: nella cartella dei documenti allegati è presente un file con lo stesso nome.\r\n\r\n"
    "Si vuole sovrascrivere il file esistente?"_qs;
const QString kNotCopied = u"Attenzione: non è stato possibile copiare il file nella cartella dei documenti allegati."_qs;
const QString kBadName = u"Attenzione: il nome del file allegato non è valido"_qs;

QByteArray fileBytes(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

// The names a file dialog's view lists, sorted.
QStringList listedNames(const QAbstractItemView* view) {
  QStringList names;
  const QModelIndex root = view->rootIndex();
  for (int r = 0; r < view->model()->rowCount(root); ++r) names << view->model()->index(r, 0, root).data().toString();
  names.sort();
  return names;
}

}  // namespace

class TestAllegaCartella : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  std::unique_ptr<TfrmAllegaCartella> w;
  QTemporaryDir elsewhere;  // where the user's own files are

  TfrmMovimenti* editor() const { return p->windows->frmMovimenti; }
  QString folder() const { return p->folder() + u"Documenti_Allegati/"_qs; }
  QLineEdit* edit(const char* name) const { return child<QLineEdit>(w.get(), name); }
  QAbstractButton* button(const char* name) const { return child<QAbstractButton>(w.get(), name); }
  QLabel* label(const char* name) const { return child<QLabel>(editor(), name); }
  QString userFile(const QString& name, const QByteArray& bytes) {
    const QString path = elsewhere.filePath(name);
    writeFile(path, bytes);
    return path;
  }
  void setLabels(const QStringList& texts) {  // File01, Desc01, File02, Desc02, File03, Desc03
    const char* names[] = {"lblFile01", "lblDesc01", "lblFile02", "lblDesc02", "lblFile03", "lblDesc03"};
    for (int i = 0; i < 6; ++i) label(names[i])->setText(texts.value(i));
  }
  QStringList labels() const {
    QStringList out;
    for (const char* n : {"lblFile01", "lblDesc01", "lblFile02", "lblDesc02", "lblFile03", "lblDesc03"})
      out << label(n)->text();
    return out;
  }
  // The window on the editor it serves (the movement editor unless told),
  // shown without its modal loop so the test can drive it.
  void openWindow(gui::CardEditor* on = nullptr) {
    w.reset(new TfrmAllegaCartella(on ? *on : *editor()));
    QVERIFY(showActive(w.get()));
  }
  void browse(const char* row, const QString& chosen) {
    p->dialogs.answer(chosen.isEmpty() ? Answer::Cancel : Answer::Ok, chosen);
    button(qPrintable(u"btnSfoglia"_qs + QLatin1String(row)))->click();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() {
    p = std::make_unique<Program>();
    editor()->setArchiveFile(movementArchivePath(p->folder(), u"2024"_qs));
  }
  void cleanup() {
    w.reset();
    p.reset();
  }

  void theRowsStartFromTheCard() {
    setLabels({u"fattura.pdf"_qs, u"Fattura di marzo"_qs, QString(), u"Solo descrizione"_qs});
    openWindow();
    QCOMPARE(edit("txtFile01")->text(), u"fattura.pdf"_qs);
    QVERIFY(edit("txtFile01")->isReadOnly());
    QCOMPARE(edit("txtDesc02")->text(), u"Solo descrizione"_qs);
    QVERIFY(button("btnApri01")->isEnabled());
    QVERIFY(!button("btnApri02")->isEnabled());
    QVERIFY(!button("btnApri03")->isEnabled());
    QCOMPARE(w->windowTitle(), u" Allega file"_qs);
    QCOMPARE(w->size(), QSize(634, 534));
    saveShot(w.get(), artifacts(), u"allegacartella"_qs);
  }

  void theFirstAttachmentCreatesTheFolderAndApriOpensIt() {
    openWindow();
    QVERIFY(!QDir(folder()).exists());
    const QString chosen = userFile(u"scontrino caffè.jpg"_qs, "JPEG");
    browse("02", chosen);
    const auto d = p->dialogs.only();
    QCOMPARE(d.kind, DialogKind::OpenFile);
    QCOMPARE(d.title, u"Selezionare il file da allegare:"_qs);
    QCOMPARE(d.text, u"Tutti i file (*.*)"_qs);
    QCOMPARE(edit("txtFile02")->text(), u"scontrino caffè.jpg"_qs);
    QCOMPARE(fileBytes(folder() + u"scontrino caffè.jpg"_qs), QByteArray("JPEG"));
    QVERIFY(button("btnApri02")->isEnabled());
    button("btnApri02")->click();
    QCOMPARE(p->shell.texts(), QStringList{u"\""_qs + folder() + u"scontrino caffè.jpg\""_qs});
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"scontrino caffè.jpg"_qs});
  }

  void aNameAlreadyInTheFolderAsksBeforeReplacing_data() {
    QTest::addColumn<bool>("replace");
    QTest::newRow("no keeps the older file") << false;
    QTest::newRow("yes replaces it") << true;
  }
  void aNameAlreadyInTheFolderAsksBeforeReplacing() {
    QFETCH(bool, replace);
    writeFile(folder() + u"ricevuta.pdf"_qs, "vecchia");
    setLabels({u"altro.pdf"_qs});
    openWindow();
    p->dialogs.answer(Answer::Ok, userFile(u"ricevuta.pdf"_qs, "nuova"));
    p->dialogs.answer(replace ? Answer::Yes : Answer::No);
    button("btnSfoglia01")->click();
    QCOMPARE(p->dialogs.seen().size(), 2);
    QCOMPARE(p->dialogs.seen()[1].kind, DialogKind::Question);
    QCOMPARE(p->dialogs.seen()[1].text, kOverwrite);
    QCOMPARE(edit("txtFile01")->text(), u"ricevuta.pdf"_qs);
    QCOMPARE(fileBytes(folder() + u"ricevuta.pdf"_qs), replace ? QByteArray("nuova") : QByteArray("vecchia"));
    QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList{u"ricevuta.pdf"_qs});
  }

  void aCancelledDialogOrTheFolderItselfCopiesNothing() {
    writeFile(folder() + u"contratto.pdf"_qs, "originale");
    setLabels({u"prima.pdf"_qs});
    openWindow();
    browse("01", QString());
    QCOMPARE(edit("txtFile01")->text(), u"prima.pdf"_qs);
    QCOMPARE(p->dialogs.seen().size(), 1);
    // A file picked inside the attachments folder is already where it belongs.
    p->dialogs.clear();
    browse("01", folder() + u"contratto.pdf"_qs);
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(edit("txtFile01")->text(), u"contratto.pdf"_qs);
    QCOMPARE(fileBytes(folder() + u"contratto.pdf"_qs), QByteArray("originale"));
  }

  void aFailedCopyIsWarnedAndTheRowKeepsItsName_data() {
    QTest::addColumn<bool>("folderBlocked");
    QTest::newRow("folder cannot be created") << true;
    QTest::newRow("file vanished before the copy") << false;
  }
  void aFailedCopyIsWarnedAndTheRowKeepsItsName() {
    QFETCH(bool, folderBlocked);
    if (folderBlocked) writeFile(p->folder() + u"Documenti_Allegati"_qs, "un file, non una cartella");
    setLabels({QString(), QString(), u"prima.pdf"_qs});
    openWindow();
    const QString chosen = folderBlocked ? userFile(u"nuovo.pdf"_qs, "x") : elsewhere.filePath(u"sparito.pdf"_qs);
    browse("02", chosen);
    QCOMPARE(p->dialogs.seen().size(), 2);
    const auto warned = p->dialogs.seen()[1];
    QCOMPARE(warned.kind, DialogKind::Notice);
    QCOMPARE(warned.icon, Icon::Warning);
    QVERIFY2(warned.text.startsWith(kNotCopied), qPrintable(warned.text));
    // It says what failed, not only what to check.
    const QString why = folderBlocked ? u"Una parte del percorso non è una cartella."_qs
                                      : u"Il file o la cartella non esiste."_qs;
    QVERIFY2(warned.text.endsWith(why), qPrintable(warned.text));
    QCOMPARE(edit("txtFile02")->text(), u"prima.pdf"_qs);
    if (!folderBlocked) QCOMPARE(QDir(folder()).entryList(QDir::Files | QDir::Hidden), QStringList());
  }

  void hostileNamesAreNeverOpenedOrWritten_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("parent folder") << u"../unins000.dll"_qs;
    QTest::newRow("two dots") << u".."_qs;
    QTest::newRow("absolute path") << u"/etc/passwd"_qs;
    QTest::newRow("backslash") << u"..\\unins000.dll"_qs;
    QTest::newRow("control character") << u"fattura\u0007.pdf"_qs;
  }
  void hostileNamesAreNeverOpenedOrWritten() {
    QFETCH(QString, name);
    setLabels({name});
    openWindow();
    QVERIFY(button("btnApri01")->isEnabled());
    button("btnApri01")->click();
    QVERIFY(p->shell.texts().isEmpty());
    const auto warned = p->dialogs.only();
    QCOMPARE(warned.icon, Icon::Warning);
    QVERIFY(warned.text.startsWith(kBadName));
  }

  void aChosenFileWithAnUnusableNameIsNotAttached() {
    setLabels({u"prima.pdf"_qs});
    openWindow();
    browse("01", userFile(u"conto\\marzo.pdf"_qs, "x"));
    QCOMPARE(p->dialogs.seen().size(), 2);
    QVERIFY(p->dialogs.seen()[1].text.startsWith(kBadName));
    QCOMPARE(edit("txtFile01")->text(), u"prima.pdf"_qs);
    QVERIFY(!QDir(folder()).exists());
  }

  // A name the card would store as "????.txt", or cut, would leave its copy
  // orphaned: it is refused before anything is copied.
  void aNameTheCardCannotKeepIsNotAttached_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("Cyrillic") << u"документ.txt"_qs;
    QTest::newRow("Chinese") << u"发票.pdf"_qs;
    QTest::newRow("longer than the field") << QString(247, u'a') + u".pdf"_qs;
  }
  void aNameTheCardCannotKeepIsNotAttached() {
    QFETCH(QString, name);
    setLabels({u"prima.pdf"_qs});
    openWindow();
    browse("01", userFile(name, "x"));
    QCOMPARE(p->dialogs.seen().size(), 2);
    const auto warned = p->dialogs.seen()[1];
    QCOMPARE(warned.icon, Icon::Warning);
    QVERIFY2(warned.text.startsWith(u"Attenzione: il nome del file non può essere conservato nella scheda"_qs),
             qPrintable(warned.text));
    QCOMPARE(edit("txtFile01")->text(), u"prima.pdf"_qs);
    QVERIFY(!QDir(folder()).exists());
  }

  // The longest name a card keeps, and a name holding a quote, are attached
  // and "Apri" hands over that very file.
  void unusualNamesTheCardKeepsAreAttachedAndOpened_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("250 characters") << QString(246, u'b') + u".pdf"_qs;
    QTest::newRow("a quote") << u"a\"b #1.txt"_qs;
    QTest::newRow("accents and euro") << u"ricevuta caffè 5€.pdf"_qs;
  }
  void unusualNamesTheCardKeepsAreAttachedAndOpened() {
    QFETCH(QString, name);
    openWindow();
    browse("01", userFile(name, "contenuto"));
    QCOMPARE(p->dialogs.seen().size(), 1);
    QCOMPARE(edit("txtFile01")->text(), name);
    QCOMPARE(fileBytes(folder() + name), QByteArray("contenuto"));
    button("btnApri01")->click();
    QCOMPARE(p->shell.texts().size(), 1);
    const QUrl opened(gui::openerUrl(p->shell.texts().front()));
    QCOMPARE(opened.toLocalFile(), folder() + name);
    QVERIFY(QFile::exists(opened.toLocalFile()));
  }

  void clearingThenApplyingWritesTheSixTexts() {
    setLabels({u"fattura.pdf"_qs, u"Fattura"_qs, u"ricevuta.jpg"_qs, u"Ricevuta"_qs});
    openWindow();
    button("imgCancella01")->click();
    QCOMPARE(edit("txtFile01")->text(), QString());
    QVERIFY(!button("btnApri01")->isEnabled());
    edit("txtDesc03")->setText(u"  Nota a margine  "_qs);
    button("btnApplica")->click();
    QCOMPARE(labels(), (QStringList{QString(), u"Fattura"_qs, u"ricevuta.jpg"_qs, u"Ricevuta"_qs, QString(),
                                    u"Nota a margine"_qs}));
    QVERIFY(!w->isVisible());
  }

  void cancellingAfterACopyLeavesTheCardButKeepsTheFile() {
    setLabels({u"prima.pdf"_qs, u"Prima"_qs});
    openWindow();
    browse("01", userFile(u"seconda.pdf"_qs, "2"));
    button("btnAnnulla")->click();
    QVERIFY(!w->isVisible());
    QCOMPARE(labels(), (QStringList{u"prima.pdf"_qs, u"Prima"_qs, QString(), QString(), QString(), QString()}));
    QCOMPARE(fileBytes(folder() + u"seconda.pdf"_qs), QByteArray("2"));
  }

  // The real dialog, under the caption "Tutti i file (*.*)", lists every file
  // of the folder, names without a dot too.
  void theFileDialogListsEveryFile() {
    QTemporaryDir own;  // only these two files
    writeFile(own.filePath(u"LEGGIMI"_qs), "leggimi");
    writeFile(own.filePath(u"nota.txt"_qs), "nota");
    openWindow();
    gui::setDialogHook({});
    QStringList listed;
    QString filter;
    ModalDriver driver([&](QWidget* m) {
      auto* dialog = qobject_cast<QFileDialog*>(m);
      if (!dialog) return void(m->close());
      dialog->setDirectory(own.path());
      const auto* view = dialog->findChild<QListView*>(u"listView"_qs);
      QTest::qWaitFor([&] { return (listed = listedNames(view)).size() >= 2; }, 5000);
      filter = dialog->findChild<QComboBox*>(u"fileTypeCombo"_qs)->currentText();
      dialog->findChild<QLineEdit*>(u"fileNameEdit"_qs)->setText(u"LEGGIMI"_qs);
      static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, which takes the chosen name
    });
    button("btnSfoglia01")->click();
    QVERIFY(driver.done());
    QCOMPARE(filter, u"Tutti i file (*.*)"_qs);
    QCOMPARE(listed, (QStringList{u"LEGGIMI"_qs, u"nota.txt"_qs}));
    QCOMPARE(edit("txtFile01")->text(), u"LEGGIMI"_qs);
    QCOMPARE(fileBytes(folder() + u"LEGGIMI"_qs), QByteArray("leggimi"));
  }

  // Tab goes from "Apri" to the row's description: the clear buttons are
  // clicked, never tabbed to.
  void tabGoesFromApriToTheDescription() {
    setLabels({u"a.pdf"_qs, QString(), u"b.pdf"_qs, QString(), u"c.pdf"_qs});
    openWindow();
    edit("txtFile01")->setFocus();
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 14; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QStringList expected;
    for (const char* row : {"01", "02", "03"})
      for (const char* control : {"txtFile", "btnSfoglia", "btnApri", "txtDesc"}) expected << QString::fromLatin1(control) + QString::fromLatin1(row);
    expected << u"btnApplica"_qs << u"btnAnnulla"_qs << u"txtFile01"_qs;
    QCOMPARE(order, expected);
  }

  // The rows as the address book hands them over, shown from their start,
  // and handed back trimmed to that editor only.
  void theRowsGoBackToTheEditorTheWindowServes() {
    openWindow(p->windows->frmClienti);
    const QString longDesc = u"Contratto di locazione dell'immobile di via Garibaldi 12, secondo piano, interno 7"_qs;
    AttachmentTexts given;
    given.file = {u" contratto.pdf "_qs, QString(), u"foto.jpg"_qs};
    given.desc = {longDesc, u"Senza file"_qs, QString()};
    w->setAttachments(given);
    QCOMPARE(edit("txtFile01")->text(), u"contratto.pdf"_qs);
    QCOMPARE(edit("txtDesc01")->cursorPosition(), 0);
    QVERIFY(button("btnApri01")->isEnabled());
    QVERIFY(!button("btnApri02")->isEnabled());
    button("btnApplica")->click();
    AttachmentTexts expected = given;
    expected.file[0] = u"contratto.pdf"_qs;
    QVERIFY(w->attachments() == expected);
    QVERIFY(p->windows->frmClienti->attachments() == expected);
    QVERIFY(editor()->attachments() == AttachmentTexts{});
    QVERIFY(!w->isVisible());
  }

  // Through the editor: its "Allega file" button opens the window on the card
  // shown, and the names reach the archive when the card is saved.
  void anAttachmentReachesTheArchiveWhenTheCardIsSaved() {
    TMovimento r = testdata::movement(u"Quota", u"02/02/2024", u"10,00");
    r.DataSca.set(u"28/02/2024");
    r.Preavviso.set(u"0");
    r.Pagatore.set(u"Rossi");
    r.Beneficiario.set(u"Associazione");
    const QString archive = editor()->archiveFile();
    MovementArchive a = MovementArchive::OpenOrCreate(archive);
    a.Append(r);
    a.Close();
    gui::switchTo(nullptr, editor());
    QVERIFY(QTest::qWaitForWindowActive(editor()));
    child<QAbstractButton>(editor(), "cmdPrimo")->click();
    QCOMPARE(label("lblPosizione")->text(), u"1"_qs);

    const QString chosen = userFile(u"bonifico.pdf"_qs, "PDF");
    ModalDriver driver([&](QWidget* m) {
      p->dialogs.answer(Answer::Ok, chosen);
      child<QAbstractButton>(m, "btnSfoglia03")->click();
      child<QLineEdit>(m, "txtDesc03")->setText(u"Bonifico"_qs);
      child<QAbstractButton>(m, "btnApplica")->click();
    });
    child<QAbstractButton>(editor(), "cmdFile")->click();
    QVERIFY(driver.done());
    QCOMPARE(label("lblFile03")->text(), u"bonifico.pdf"_qs);
    a = MovementArchive::OpenExisting(archive, RecordFile::Access::ReadOnly);
    QCOMPARE(a.ReadAt(1).File03.trimmed(), QString());  // not before the card is saved
    a.Close();
    child<QAbstractButton>(editor(), "cmdSalva")->click();
    a = MovementArchive::OpenExisting(archive, RecordFile::Access::ReadOnly);
    QCOMPARE(a.Count(), 1);
    QCOMPARE(a.ReadAt(1).File03.trimmed(), u"bonifico.pdf"_qs);
    QCOMPARE(a.ReadAt(1).Desc03.trimmed(), u"Bonifico"_qs);
    a.Close();
    QCOMPARE(fileBytes(folder() + u"bonifico.pdf"_qs), QByteArray("PDF"));
  }
};

QTEST_MAIN(TestAllegaCartella)
#include "test_allegacartella.moc"
