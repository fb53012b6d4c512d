// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of both card editors as the user sees them: one yellow focus
// frame at a time, after refused saves with real message boxes and after the
// editor was left and entered again; the boxes of a loaded card shown from the
// start of their texts.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "../common/records.h"
#include "app/Avvio.h"
#include "clients/Clienti.h"
#include "core/archive.h"
#include "gui/fields.h"
#include "gui/form.h"
#include "gui/listwindow.h"
#include "movements/Movimenti.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

// While alive, the program's message boxes are the real modal ones, as a user
// gets them (they take the keyboard from the editor); each gets its default
// answer as soon as it shows, and its text is kept.
class RealBoxes {
 public:
  RealBoxes() {
    gui::setDialogHook({});
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box || !box->isVisible() || QApplication::activeWindow() != box) return;
      texts_ << box->text();
      box->defaultButton()->click();
    });
    timer_.start();
  }
  ~RealBoxes() { timer_.stop(); }
  const QStringList& texts() const { return texts_; }

 private:
  QTimer timer_;
  QStringList texts_;
};

// The names of the focus frames showing in a window.
QStringList litFrames(const QWidget* window) {
  QStringList lit;
  for (const QWidget* w : window->findChildren<QWidget*>())
    if (w->objectName().startsWith(u"eff"_qs) && w->isVisible()) lit << w->objectName();
  return lit;
}

// A line edit by name; a box's edit part by the box's.
QString nameOf(const QLineEdit* e) {
  return e->objectName().isEmpty() ? e->parentWidget()->objectName() : e->objectName();
}

// Whether a box shows only part of its text.
bool tooNarrow(const QLineEdit* e) { return e->fontMetrics().horizontalAdvance(e->text()) > e->width(); }

// The boxes of `window` whose cursor is not at the start, with where it is.
QStringList boxesNotAtStart(const QWidget* window) {
  QStringList wrong;
  for (const QLineEdit* e : window->findChildren<QLineEdit*>())
    if (e->cursorPosition() != 0) wrong << nameOf(e) + u'@' + QString::number(e->cursorPosition());
  return wrong;
}

// 50 characters, the most a name holds.
const QString kLongName = u"Bianchi Giovanni Battista Alessandro Maria Gustavo"_qs;
const QString kLongPlace = u"Via Giuseppe Garibaldi 1234, scala B, interno 56"_qs;

TMovimento longMovement() {
  return testdata::record(
      testdata::movement(u"Rimborso delle spese di viaggio, vitto e alloggio sostenute dai "
                         u"relatori per il convegno annuale di Verona"),
      {{mov::Pagatore, kLongName},
       {mov::Beneficiario, kLongName},
       {mov::RecapitoPag, kLongPlace},
       {mov::CodFisc, u"BNCGNN70C12G467X"}});
}

TCliente longClient() {
  return testdata::record<TCliente>({{cli::Cliente, kLongName},
                                     {cli::IndirizzoRes, kLongPlace},
                                     {cli::ComuneRes, u"San Giovanni in Persiceto di Sopra e di Sotto"},
                                     {cli::ProvRes, u"BO"},
                                     {cli::CodFisc, u"BNCGNN70C12G467X"},
                                     {cli::Ricontatta, kSi}});
}

}  // namespace

class TestEditorFields : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;

  TfrmMovimenti* movements() const { return p->windows->frmMovimenti; }
  TfrmClienti* clients() const { return p->windows->frmClienti; }
  gui::Form* editor(const QString& which) const {
    if (which == u"movimenti") return movements();
    return clients();
  }
  QString movementArchive() const { return movementArchivePath(p->folder(), u"2024"_qs); }

  void openEditor(gui::Form* editor) {
    if (editor == movements()) movements()->setArchiveFile(movementArchive());
    gui::switchTo(nullptr, editor);
    editor->setWindowState(Qt::WindowNoState);
    editor->setGeometry(0, 0, 1280, 1000);
    QVERIFY(QTest::qWaitForWindowActive(editor));
  }
  // After a modal window no window is active; a window manager gives the
  // keyboard back to the editor.
  static void reactivate(QWidget* editor) {
    editor->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(editor));
  }
  // Runs `act` on the list window `open` shows, then closes it if still open.
  static bool inListWindow(const std::function<void()>& open, const std::function<void(QWidget*)>& act) {
    ModalDriver driver([act](QWidget* w) {
      if (QTest::qWaitForWindowActive(w)) act(w);
      if (w->isVisible()) w->close();
    });
    open();
    return driver.done();
  }
  // A search lists every card when no filter is given; a pick closes the list.
  static void pickFirstLine(QWidget* w) {
    if (auto* find = child<QPushButton>(w, "btnCerca")) find->click();
    doubleClickRow(child<gui::LineList>(w, "lstRecords"), 0);
    QVERIFY(!w->isVisible());
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  // ---- Focus frames -----------------------------------------------------------

  // Each refused save names a field and puts the keyboard there while its box
  // is up; once the box is answered only that field is framed.
  void refusedSavesInARowLeaveOneFrame() {
    openEditor(movements());
    RealBoxes boxes;
    child<QLineEdit>(movements(), "txtNote")->setFocus();
    struct Step {
      QStringList spoil;  // control=text, set before the save
      const char* focus;
    };
    const Step steps[] = {
        {{}, "txtCausale"},
        {{u"txtCausale=Quota"_qs, u"txtData="_qs}, "txtData"},
        {{u"txtData=31/04/2024"_qs}, "txtData"},
        {{u"txtData=05/03/2024"_qs}, "txtDataSca"},
        {{u"txtDataSca=29/02/2023"_qs}, "txtDataSca"},
        {{u"txtDataSca=31/03/2024"_qs, u"txtPreavviso= "_qs}, "txtPreavviso"},
        {{u"txtPreavviso=0"_qs}, "txtPagatore"},
        {{u"txtPagatore=Rossi Mario"_qs}, "txtBeneficiario"},
        {{u"txtBeneficiario=Studio Bianchi"_qs, u"txtImporto=100000000000"_qs}, "txtImporto"},
    };
    for (const Step& s : steps) {
      for (const QString& sp : s.spoil)
        child<QLineEdit>(movements(), qPrintable(sp.section(u'=', 0, 0)))->setText(sp.section(u'=', 1));
      const qsizetype seen = boxes.texts().size();
      child<QAbstractButton>(movements(), "cmdSalva")->click();
      QCOMPARE(boxes.texts().size(), seen + 1);
      reactivate(movements());
      QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(s.focus));
      QCOMPARE(litFrames(movements()), QStringList{gui::frameName(QLatin1String(s.focus))});
    }
    QVERIFY(!QFile::exists(movementArchive()));
  }

  void leavingAndEnteringAnEditorLeavesOneFrame_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("typingIn");
    QTest::addColumn<QString>("firstField");
    QTest::newRow("movements") << u"movimenti"_qs << u"txtImporto"_qs << u"txtCausale"_qs;
    QTest::newRow("address book") << u"clienti"_qs << u"txtCodFisc"_qs << u"txtCliente"_qs;
  }
  void leavingAndEnteringAnEditorLeavesOneFrame() {
    QFETCH(QString, which);
    QFETCH(QString, typingIn);
    QFETCH(QString, firstField);
    gui::Form* ed = editor(which);
    openEditor(ed);
    child<QWidget>(ed, qPrintable(typingIn))->setFocus(Qt::TabFocusReason);
    QCOMPARE(litFrames(ed), QStringList{gui::frameName(typingIn)});
    gui::switchTo(ed, p->windows->frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(p->windows->frmAvvio));
    gui::switchTo(p->windows->frmAvvio, ed);
    QVERIFY(QTest::qWaitForWindowActive(ed));
    QCOMPARE(QApplication::focusWidget()->objectName(), firstField);
    QCOMPARE(litFrames(ed), QStringList{gui::frameName(firstField)});
  }

  // ---- A loaded card shows its boxes from the start ----------------------------

  void aLoadedCardShowsEachBoxFromItsStart_data() {
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("how");
    QTest::newRow("movement, browsing") << u"movimenti"_qs << u"cmdPrimo"_qs;
    QTest::newRow("movement, search pick") << u"movimenti"_qs << u"cmdTrova"_qs;
    QTest::newRow("address book, browsing") << u"clienti"_qs << u"cmdPrimo"_qs;
    QTest::newRow("address book, search pick") << u"clienti"_qs << u"cmdTrova"_qs;
    QTest::newRow("address book, call-back pick") << u"clienti"_qs << u"cmdRicontatta"_qs;
  }
  void aLoadedCardShowsEachBoxFromItsStart() {
    QFETCH(QString, which);
    QFETCH(QString, how);
    if (which == u"movimenti") {
      MovementArchive a = MovementArchive::OpenOrCreate(movementArchive());
      a.Append(longMovement());
      a.Close();
    } else {
      ClientArchive a = ClientArchive::OpenOrCreate(clientArchivePath(p->folder()));
      a.Append(longClient());
      a.Close();
    }
    gui::Form* ed = editor(which);
    openEditor(ed);
    auto* button = child<QAbstractButton>(ed, qPrintable(how));
    if (how == u"cmdPrimo")
      button->click();
    else
      QVERIFY(inListWindow([button] { button->click(); }, pickFirstLine));
    QCOMPARE(child<QLabel>(ed, "lblPosizione")->text(), u"1"_qs);
    auto* name = child<QLineEdit>(ed, which == u"movimenti" ? "txtPagatore" : "txtCliente");
    QCOMPARE(name->text(), kLongName);
    QVERIFY(tooNarrow(name));  // shown from its end, the name would lose its start
    QCOMPARE(boxesNotAtStart(ed), QStringList());
    // The keys still reach the end.
    name->setFocus();
    QTest::keyClick(name, Qt::Key_End);
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), kLongName.chopped(1));
  }
};

QTEST_MAIN(TestEditorFields)
#include "test_editorfields.moc"
