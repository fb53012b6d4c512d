// SPDX-License-Identifier: GPL-3.0-or-later
// Long work shows a progress dialog and stops on "Annulla": the older file (the
// last export, the card's PDF, an attached file) stays as it was, nothing new
// is left behind, and no message follows.
#include <QDir>
#include <QLineEdit>
#include <QProgressDialog>
#include <QTableView>
#include <QTimer>
#include <QToolButton>

#include "../common/records.h"
#include "clients/Clienti.h"
#include "core/archive.h"
#include "common/AllegaCartella.h"
#include "movements/ExpMovimenti.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::Answer;

namespace {

QByteArray readFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
  QDir().mkpath(QFileInfo(path).path());
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write(bytes);
}

QStringList filesIn(const QString& folder) {
  return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class TestProgress : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  QString archive() const { return movementArchivePath(p->folder(), u"2024"_qs); }
  // More movements than one progress step of the export takes.
  void storeMany(int n) {
    MovementArchive a = MovementArchive::OpenOrCreate(archive());
    const std::vector<TMovimento> records(size_t(n), testdata::movement(u"Quota associativa"));
    a.AppendAll(records);
    a.Close();
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void cancellingTheExportKeepsTheLastOne() {
    storeMany(5000);
    const QString exported = p->folder() + u"Movimenti.xls"_qs;
    writeFile(exported, "l'esportazione di ieri");
    p->windows->frmMovimenti->setArchiveFile(archive());
    TfrmExpMovimenti w(p->windows->frmMovimenti, p->windows->frmMovimenti->archiveFile());
    QVERIFY(showActive(&w));
    QCOMPARE(child<QTableView>(&w, "grdRecords")->model()->rowCount(), 5000);
    const QStringList before = filesIn(p->folder());

    // A picture of the dialog as it shows, taken before "Annulla" is pressed.
    QTimer shot;
    shot.setInterval(0);
    connect(&shot, &QTimer::timeout, [&] {
      if (auto* d = w.findChild<QProgressDialog*>(); d && d->isVisible()) {
        saveShot(d, artifacts(), u"avanzamento"_qs);
        shot.stop();
      }
    });
    shot.start();
    ProgressCanceller cancel;
    p->dialogs.answer(Answer::Yes);  // "Si vuole esportare i dati adesso?"
    child<QToolButton>(&w, "cmdEsporta")->click();
    QCOMPARE(cancel.cancelled(), 1);
    QCOMPARE(cancel.sentences(), QStringList{u"Esportazione delle schede in corso..."_qs});
    QCOMPARE(p->dialogs.seen().size(), 1);  // the question only: no failure, no "aprire il file?"
    QCOMPARE(readFile(exported), QByteArray("l'esportazione di ieri"));
    QCOMPARE(filesIn(p->folder()), before);
    QVERIFY(p->shell.texts().isEmpty());
  }

  // A user who would rather not wait for a big archive to be read is taken
  // back: the export window closes and writes nothing.
  void cancellingTheReadingClosesTheExportWindow() {
    storeMany(5000);
    p->windows->frmMovimenti->setArchiveFile(archive());
    TfrmExpMovimenti w(p->windows->frmMovimenti, p->windows->frmMovimenti->archiveFile());
    ProgressCanceller cancel;
    w.show();
    QTRY_VERIFY(!w.isVisible());
    QCOMPARE(cancel.sentences(), QStringList{u"Lettura delle schede in archivio..."_qs});
    QVERIFY(!QFile::exists(p->folder() + u"Movimenti.xls"_qs));
  }

  void cancellingTheCardPdfKeepsTheOlderFile() {
    TfrmClienti* editor = p->windows->frmClienti;
    gui::switchTo(nullptr, editor);
    QVERIFY(QTest::qWaitForWindowActive(editor));
    child<QLineEdit>(editor, "txtCliente")->setText(u"Verdi Anna"_qs);
    const QString pdf = p->folder() + u"Cliente.pdf"_qs;
    writeFile(pdf, "%PDF la scheda di ieri");
    const QStringList before = filesIn(p->folder());

    ProgressCanceller cancel;
    child<QAbstractButton>(editor, "cmdPDF")->click();
    QCOMPARE(cancel.sentences(), QStringList{u"Creazione del file PDF in corso..."_qs});
    QVERIFY(p->dialogs.seen().isEmpty());  // neither "creato" nor a failure
    QCOMPARE(readFile(pdf), QByteArray("%PDF la scheda di ieri"));
    QCOMPARE(filesIn(p->folder()), before);
  }

  void cancellingACopyAttachesNothing() {
    QTemporaryDir elsewhere;
    const QString big = elsewhere.filePath(u"estratto conto.pdf"_qs);
    writeFile(big, QByteArray(5 << 20, 'x'));
    const QString folder = p->folder() + u"Documenti_Allegati/"_qs;
    writeFile(folder + u"estratto conto.pdf"_qs, "la copia di ieri");

    TfrmAllegaCartella w(*p->windows->frmMovimenti);
    QVERIFY(showActive(&w));
    ProgressCanceller cancel;
    p->dialogs.answer(Answer::Ok, big);  // the file dialog
    p->dialogs.answer(Answer::Yes);      // replace the attachment of that name
    child<QAbstractButton>(&w, "btnSfoglia01")->click();
    QCOMPARE(cancel.sentences(), QStringList{u"Copia del file nella cartella degli allegati..."_qs});
    QCOMPARE(child<QLineEdit>(&w, "txtFile01")->text(), QString());
    QCOMPARE(readFile(folder + u"estratto conto.pdf"_qs), QByteArray("la copia di ieri"));
    QCOMPARE(filesIn(folder), QStringList{u"estratto conto.pdf"_qs});
  }
};

QTEST_MAIN(TestProgress)
#include "test_progress.moc"
