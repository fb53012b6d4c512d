// SPDX-License-Identifier: GPL-3.0-or-later
// Saving when the disk does not confirm the write: the card reached the
// archive at a known position, the editor says so and keeps that position, and
// saving again rewrites it instead of adding a second copy. The failures come
// from a preloaded library (tests/common/faultshim.cpp) armed by FONDARO_FAULT.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

#include "clients/Clienti.h"
#include "core/archive.h"
#include "core/records.h"
#include "gui/form.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

const QString kUnconfirmed =
    u"Attenzione: la scheda è stata scritta nell'archivio in posizione %1, ma il disco non ha confermato la "
    "scrittura.\n\r\n\rAccertarsi che il disco funzioni, poi salvare di nuovo la scheda: verrà riscritta nella "
    "stessa posizione, senza duplicarla."_qs;
const QString kSavedChanges = u"Le modifiche apportate alla scheda corrente sono state salvate in archivio."_qs;

struct Fault {
  explicit Fault(const char* text) { qputenv("FONDARO_FAULT", text); }
  ~Fault() { qunsetenv("FONDARO_FAULT"); }
};

template <class Rec>
qint64 countOf(const QString& path) {
  auto a = Archive<Rec>::OpenExisting(path, RecordFile::Access::ReadOnly);
  const qint64 n = a.Count();
  a.Close();
  return n;
}

}  // namespace

class TestSaveFaults : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  void show(gui::Form* editor) {
    gui::switchTo(nullptr, editor);
    editor->setWindowState(Qt::WindowNoState);
    editor->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor));
  }
  // Save once with the fault armed, then again without it.
  template <class Rec>
  void saveTwice(gui::Form* editor, const QString& archive, const char* fault) {
    {
      Fault armed(fault);
      child<QAbstractButton>(editor, "cmdSalva")->click();
    }
    QCOMPARE(p->dialogs.only().text, kUnconfirmed.arg(1));
    QCOMPARE(p->dialogs.only().icon, gui::Icon::Error);
    QCOMPARE(child<QLabel>(editor, "lblPosizione")->text(), u"1"_qs);
    QCOMPARE(countOf<Rec>(archive), 1);
    p->dialogs.clear();
    child<QAbstractButton>(editor, "cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, kSavedChanges);
    QCOMPARE(countOf<Rec>(archive), 1);
  }

 private slots:
  void initTestCase() {
    prepareTestApplication();
    if (!qEnvironmentVariable("LD_PRELOAD").contains(u"faultshim"_qs))
      QSKIP("the fault library is not preloaded (run through ctest)");
  }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void aMovementTheDiskDidNotConfirmIsNotSavedTwice_data() {
    QTest::addColumn<QByteArray>("fault");
    QTest::newRow("sync fails") << QByteArray("fdatasync:1:EIO");
    QTest::newRow("disk full at sync") << QByteArray("fdatasync:1:ENOSPC");
    QTest::newRow("close fails") << QByteArray("close:1:EIO:1:2024.eur");
  }
  void aMovementTheDiskDidNotConfirmIsNotSavedTwice() {
    QFETCH(QByteArray, fault);
    TfrmMovimenti* editor = p->windows->frmMovimenti;
    const QString archive = movementArchivePath(p->folder(), u"2024"_qs);
    editor->setArchiveFile(archive);
    show(editor);
    child<QLineEdit>(editor, "txtCausale")->setText(u"Quota associativa"_qs);
    child<QLineEdit>(editor, "txtData")->setText(u"05/03/2024"_qs);
    child<QLineEdit>(editor, "txtDataSca")->setText(u"31/03/2024"_qs);
    child<QLineEdit>(editor, "txtPagatore")->setText(u"Rossi Mario"_qs);
    child<QLineEdit>(editor, "txtBeneficiario")->setText(u"Associazione Fondaro"_qs);
    child<QLineEdit>(editor, "txtImporto")->setText(u"50"_qs);
    saveTwice<TMovimento>(editor, archive, fault.constData());
  }

  void aCardTheDiskDidNotConfirmIsNotSavedTwice() {
    TfrmClienti* editor = p->windows->frmClienti;
    show(editor);
    child<QLineEdit>(editor, "txtCliente")->setText(u"Bianchi Anna"_qs);
    saveTwice<TCliente>(editor, clientArchivePath(p->folder()), "fdatasync:1:EIO");
  }
};

QTEST_MAIN(TestSaveFaults)
#include "test_savefaults.moc"
