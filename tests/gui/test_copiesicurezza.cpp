// SPDX-License-Identifier: GPL-3.0-or-later
// Safety copies in the windows: the editors' day copy before a save (one copy,
// one warning when it cannot be made), the safety copies window (its list, the
// restore question, what a restore does to the open windows and the files),
// the copy into a chosen folder, and the launcher's icon.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "../common/records.h"
#include "app/Avvio.h"
#include "app/CopieSicurezza.h"
#include "core/archive.h"
#include "core/filepath.h"
#include "core/safetycopies.h"
#include "core/writehook.h"
#include "gui/daycopies.h"
#include "gui/progress.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class TestCopieSicurezza : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  QString archive() const { return movementArchivePath(p->folder(), u"2024"_qs); }
  QString copies() const { return p->folder() + QLatin1String(safety::kCopiesFolderName); }
  qint64 records() const {
    return MovementArchive::OpenExisting(archive(), RecordFile::Access::ReadOnly).Count();
  }
  // Records written as if before the program ran: no copy of the program's.
  void store(int n, const QString& causale = u"Quota"_qs) {
    setBeforeWriteHook({});
    auto a = MovementArchive::OpenOrCreate(archive());
    for (int i = 0; i < n; ++i) a.Append(testdata::movement(causale));
    a.Close();
    gui::warnOfFailedDayCopies();
  }
  TfrmMovimenti* openEditor() {
    TfrmMovimenti* e = p->windows->frmMovimenti;
    e->setArchiveFile(archive());
    gui::switchTo(nullptr, e);
    e->setWindowState(Qt::WindowNoState);
    e->setGeometry(0, 0, 1280, 1000);
    return e;
  }
  void saveNewCard(TfrmMovimenti* e, const QString& causale) {
    e->cmdNuovoClick();
    child<QLineEdit>(e, "txtCausale")->setText(causale);
    child<QLineEdit>(e, "txtData")->setText(u"05/03/2024"_qs);
    child<QLineEdit>(e, "txtDataSca")->setText(u"31/03/2024"_qs);
    child<QLineEdit>(e, "txtPagatore")->setText(u"Rossi Mario"_qs);
    child<QLineEdit>(e, "txtBeneficiario")->setText(u"Associazione Fondaro"_qs);
    child<QLineEdit>(e, "txtImporto")->setText(u"10"_qs);
    e->cmdSalvaClick();
    QVERIFY2(p->dialogs.texts().last().contains(u"inserita in archivio"_qs), qPrintable(p->dialogs.texts().last()));
  }
  QStringList warnings() const {
    QStringList out;
    for (const auto& d : p->dialogs.seen())
      if (d.kind == DialogKind::Notice && d.icon == Icon::Warning) out << d.text;
    return out;
  }

 private slots:
  void initTestCase() {
    prepareTestApplication();
    gui::testing::setProgressDelay(0);
  }
  void init() {
    p = std::make_unique<Program>();
    safety::forgetDayCopies();  // each test is a new run of the program
  }
  void cleanup() { p.reset(); }

  // ---- The day copy before a save ---------------------------------------------

  void theFirstSaveOfTheDayCopiesTheArchiveOnce() {
    store(1);
    const QByteArray morning = bytesOf(archive());
    TfrmMovimenti* e = openEditor();
    saveNewCard(e, u"Prima"_qs);
    saveNewCard(e, u"Seconda"_qs);
    QCOMPARE(records(), qint64(3));
    QVERIFY(warnings().isEmpty());
    const QString day = copies() + u'/' + QDate::currentDate().toString(u"yyyy-MM-dd"_qs);
    QCOMPARE(QDir(day).entryList(QDir::Files), (QStringList{u"2024.eur"_qs, u"manifesto.txt"_qs}));
    QCOMPARE(bytesOf(day + u"/2024.eur"_qs), morning);
  }

  void aCopyThatCannotBeMadeIsReportedOnceAndTheSaveGoesOn() {
    store(1);
    // A file where the copies folder goes: no copy can be made there.
    QFile blocker(copies());
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TfrmMovimenti* e = openEditor();
    saveNewCard(e, u"Prima"_qs);
    saveNewCard(e, u"Seconda"_qs);
    QCOMPARE(records(), qint64(3));
    const QStringList w = warnings();
    QCOMPARE(w.size(), 1);
    QVERIFY2(w[0].startsWith(u"Attenzione: non è stato possibile fare la copia di sicurezza di «2024.eur»"_qs),
             qPrintable(w[0]));
    QVERIFY(w[0].contains(u"Il salvataggio prosegue"_qs));
    QVERIFY(p->dialogs.texts().last().contains(u"inserita in archivio"_qs));
  }

  // ---- The window ---------------------------------------------------------------

  void theRestoreQuestionNamesWhatItReplacesAndNoKeepsEverything() {
    store(1);
    p->setPassword(u"segreta"_qs);
    QDir().mkpath(p->folder() + u"Documenti_Allegati"_qs);
    for (const char* n : {"a.pdf", "b.pdf"}) {
      QFile f(p->folder() + u"Documenti_Allegati/"_qs + QLatin1String(n));
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write(n);
    }
    const QDateTime morning(QDate(2024, 5, 2), QTime(8, 0, 0));
    safety::makeFullCopy(encodePath(p->folder()), encodePath(copies()), safety::CopyKind::Full, {}, morning);
    store(1, u"Dopo"_qs);
    const QByteArray worked = bytesOf(archive());

    TfrmCopieSicurezza w(p->windows->frmAvvio);
    w.show();
    auto* list = child<QTableView>(&w, "lstCopie");
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(list->model()->index(0, 0).data().toString(), u"02/05/2024 08:00:00"_qs);
    QCOMPARE(list->model()->index(0, 1).data().toString(), u"Completa"_qs);
    QCOMPARE(list->model()->index(0, 2).data().toString(), u"2024.eur, password, 2 allegati"_qs);
    QCOMPARE(list->model()->index(0, 4).data().toString(), u"Verificata"_qs);
    saveShot(&w, artifacts(), u"copie-sicurezza"_qs);
    // The controls stand apart and the rows have air around their text.
    const auto gap = [&](const char* left, const char* right) {
      return child<QWidget>(&w, right)->x() - child<QWidget>(&w, left)->geometry().right();
    };
    QVERIFY(gap("cmdCrea", "cmdCopiaSu") >= 8);
    QVERIFY(gap("cmdCopiaSu", "cmdRipristina") >= 8);
    QVERIFY(gap("lblGiorni", "txtGiorni") >= 6);
    QVERIFY(list->visualRect(list->model()->index(0, 0)).height() >= list->fontMetrics().height() + 8);

    p->dialogs.answer(Answer::No);
    child<QPushButton>(&w, "cmdRipristina")->click();
    const auto asked = p->dialogs.only();
    QCOMPARE(asked.kind, DialogKind::Question);
    QVERIFY2(asked.text.startsWith(u"Ripristinare la copia completa del 02/05/2024 08:00:00?"_qs),
             qPrintable(asked.text));
    QVERIFY(asked.text.contains(u"Verranno sostituiti: 2024.eur, password, 2 allegati."_qs));
    QCOMPARE(bytesOf(archive()), worked);
    QCOMPARE(list->model()->rowCount(), 1);  // no copy of the current files either
  }

  void restoreClosesTheWorkWindowsPutsTheCopyBackAndListsWhatItReplaced() {
    store(1);
    const QByteArray morning = bytesOf(archive());
    safety::makeFullCopy(encodePath(p->folder()), encodePath(copies()), safety::CopyKind::Full, {},
                         QDateTime::currentDateTime().addSecs(-3600));
    TfrmMovimenti* e = openEditor();
    saveNewCard(e, u"Pomeriggio"_qs);
    QCOMPARE(records(), qint64(2));
    const QByteArray afternoon = bytesOf(archive());
    QVERIFY(e->isVisible());

    TfrmCopieSicurezza w(p->windows->frmAvvio);
    w.show();
    auto* list = child<QTableView>(&w, "lstCopie");
    // Newest first: the day copy the save took, then the full copy.
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->model()->index(0, 1).data().toString(), u"Giornaliera"_qs);
    list->setCurrentIndex(list->model()->index(1, 0));
    p->dialogs.clear();
    p->dialogs.answer(Answer::Yes);
    child<QPushButton>(&w, "cmdRipristina")->click();

    QVERIFY(!e->isVisible());  // closed before its archive was replaced
    QCOMPARE(bytesOf(archive()), morning);
    const QStringList said = p->dialogs.texts();
    QCOMPARE(said.size(), 2);
    QVERIFY2(said[1].startsWith(u"Ripristino eseguito."_qs), qPrintable(said[1]));
    QVERIFY(said[1].contains(u"_prima-del-ripristino"_qs));
    // The list now starts with the copy of what was replaced, which holds the afternoon's card.
    QCOMPARE(list->model()->rowCount(), 3);
    QCOMPARE(list->model()->index(0, 1).data().toString(), u"Prima del ripristino"_qs);
    QCOMPARE(bytesOf(decodePath(w.copies()[0].path) + u"/2024.eur"_qs), afternoon);
  }

  void aDamagedCopyIsNotOfferedForRestore() {
    store(1);
    const auto copy = safety::makeFullCopy(encodePath(p->folder()), encodePath(copies()), safety::CopyKind::Full);
    QFile f(decodePath(copy.path) + u"/2024.eur"_qs);
    QVERIFY(f.open(QIODevice::ReadWrite));
    f.seek(7);
    f.write("!");
    f.close();
    TfrmCopieSicurezza w(p->windows->frmAvvio);
    w.show();
    auto* list = child<QTableView>(&w, "lstCopie");
    QCOMPARE(list->model()->index(0, 4).data().toString(), u"Danneggiata: 2024.eur"_qs);
    child<QPushButton>(&w, "cmdRipristina")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QVERIFY(shown.text.contains(u"danneggiata"_qs));
  }

  void copyToAChosenFolder() {
    store(2);
    const QString stick = p->dir.path() + u"/chiavetta"_qs;
    QDir().mkpath(stick);
    TfrmCopieSicurezza w(p->windows->frmAvvio);
    w.show();
    p->dialogs.answer(Answer::Ok, stick);
    child<QPushButton>(&w, "cmdCopiaSu")->click();
    QCOMPARE(p->dialogs.seen()[0].kind, DialogKind::ChooseFolder);
    const QStringList made = QDir(stick).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(made.size(), 1);
    QCOMPARE(bytesOf(stick + u'/' + made[0] + u"/2024.eur"_qs), bytesOf(archive()));
    QVERIFY(p->dialogs.texts().last().startsWith(u"Copia di sicurezza creata nella cartella:"_qs));
    // Cancelling the choice copies nothing.
    child<QPushButton>(&w, "cmdCopiaSu")->click();
    QCOMPARE(QDir(stick).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);
  }

  void theLauncherOpensItFromASmallIconBesideTheCredits() {
    auto* icon = child<QWidget>(p->windows->frmAvvio, "imgCopie");
    QVERIFY(icon);
    QCOMPARE(icon->toolTip(), u"Copie di sicurezza degli archivi"_qs);
    auto* credits = child<QWidget>(p->windows->frmAvvio, "imgCopyright");
    QCOMPARE(icon->y(), credits->y());
    QVERIFY(icon->x() > credits->geometry().right());
  }
};

QTEST_MAIN(TestCopieSicurezza)
#include "test_copiesicurezza.moc"
