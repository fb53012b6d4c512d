// SPDX-License-Identifier: GPL-3.0-or-later
// The year window of the movements register: the year it proposes, the one
// check of "Apri", what it hands the editor, and where closing it leads.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/Avvio.h"
#include "app/Password.h"
#include "core/archive.h"
#include "core/records.h"
#include "core/textrules.h"
#include "gui/form.h"
#include "gui/guide.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "../core/test_support.h"
#include "support.h"

#include <sys/stat.h>

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {
const QString kYearNeeded = u"Attenzione: indicare l'anno solare utilizzando quattro cifre."_qs;

QString currentYear() { return QString::number(QDate::currentDate().year()); }
}  // namespace

class TestMenuMovimenti : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  WindowSet& ws() { return *p->windows; }
  QWidget* yearWindow() { return ws().frmMenuMovimenti; }
  QLineEdit* year() { return child<QLineEdit>(yearWindow(), "txtAnnoPreventivi"); }
  QPushButton* apri() { return child<QPushButton>(yearWindow(), "btnApriPreventivi"); }
  QString editorFile() { return child<QLabel>(ws().frmMovimenti, "lblFile")->text(); }

  void openYearWindow() {
    ws().frmPassword->present();
    gui::switchTo(ws().frmPassword, ws().frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(ws().frmAvvio));
    ws().frmAvvio->imgApp02Click();
    QVERIFY(QTest::qWaitForWindowActive(yearWindow()));
  }
  void typeYear(const QString& text) {
    year()->clear();
    year()->setFocus();
    typeText(year(), text);
  }
  bool onlyVisible(QWidget* w) {
    for (QWidget* other : QList<QWidget*>{ws().frmAvvio, yearWindow(), ws().frmMovimenti})
      if (other->isVisible() != (other == w)) return false;
    return true;
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theWindowProposesTheCurrentYear() {
    openYearWindow();
    QCOMPARE(yearWindow()->windowTitle(), u" Fondaro 3.0 - Registro Movimenti"_qs);
    QCOMPARE(year()->text(), currentYear());
    QCOMPARE(QApplication::focusWidget(), year());
    QCOMPARE(year()->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
    QCOMPARE(child<QLabel>(yearWindow(), "lblInfo")->text(),
             u"In questo ambiente è possibile registrare i movimenti di denaro in entrata e in uscita."_qs);
    QCOMPARE(child<QLabel>(yearWindow(), "intAnnoPreventivi")->text(), u"Registrazione entrate e uscite:"_qs);
    QCOMPARE(child<QLabel>(yearWindow(), "titAnnoPreventivi")->text(), u"Anno:"_qs);
    QCOMPARE(apri()->text(), u"Apri"_qs);
    saveShot(yearWindow(), artifacts(), u"year-window"_qs);
  }

  void onlyFourDigitsCanBeTyped_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("result");
    QTest::newRow("letters and blanks swallowed") << u"2a0 2-4"_qs << u"2024"_qs;
    QTest::newRow("four at most") << u"202456"_qs << u"2024"_qs;
  }
  void onlyFourDigitsCanBeTyped() {
    QFETCH(QString, typed);
    QFETCH(QString, result);
    openYearWindow();
    typeYear(typed);
    QCOMPARE(year()->text(), result);
  }

  void aYearOfFewerThanFourDigitsIsRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("empty") << QString();
    QTest::newRow("three digits") << u"202"_qs;
    QTest::newRow("one digit") << u"7"_qs;
  }
  void aYearOfFewerThanFourDigitsIsRefused() {
    QFETCH(QString, typed);
    openYearWindow();
    typeYear(typed);
    apri()->setFocus();
    apri()->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.kind, DialogKind::Notice);
    QCOMPARE(shown.icon, Icon::Warning);
    QCOMPARE(shown.text, kYearNeeded);
    QCOMPARE(QApplication::focusWidget(), year());
    QVERIFY(onlyVisible(yearWindow()));
    QVERIFY(editorFile().isEmpty());
    QCOMPARE(ws().frmMovimenti->windowTitle(), u" Fondaro 3.0 - Registro movimenti"_qs);
  }

  void apriHandsTheYearsArchiveToTheEditor_data() {
    QTest::addColumn<QString>("typed");
    QTest::newRow("a recent year") << u"2024"_qs;
    QTest::newRow("the year 0000 is accepted") << u"0000"_qs;
  }
  void apriHandsTheYearsArchiveToTheEditor() {
    QFETCH(QString, typed);
    openYearWindow();
    typeYear(typed);
    apri()->click();
    QVERIFY(p->dialogs.seen().isEmpty());
    QVERIFY(onlyVisible(ws().frmMovimenti));
    QCOMPARE(editorFile(), p->folder() + typed + u".eur"_qs);
    QCOMPARE(ws().frmMovimenti->windowTitle(), u" Fondaro 3.0 - Registro movimenti anno "_qs + typed);
    QVERIFY(!QFile::exists(editorFile()));  // nothing is opened or created here
    QCOMPARE(child<QLineEdit>(ws().frmMovimenti, "txtData")->text(), todayText());  // a new card
  }

  void enterOnlyReachesApriAndASecondEnterOpens() {
    openYearWindow();
    typeYear(u"2023"_qs);
    QTest::keyClick(year(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(apri()));
    QVERIFY(onlyVisible(yearWindow()));
    QTest::keyClick(apri(), Qt::Key_Return);
    QVERIFY(onlyVisible(ws().frmMovimenti));
    QCOMPARE(editorFile(), p->folder() + u"2023.eur"_qs);
  }

  void closingWithoutApriReturnsToTheLauncher_data() {
    QTest::addColumn<bool>("byTitleBar");
    QTest::newRow("exit icon") << false;
    QTest::newRow("title-bar close") << true;
  }
  void closingWithoutApriReturnsToTheLauncher() {
    QFETCH(bool, byTitleBar);
    openYearWindow();
    typeYear(u"1999"_qs);
    if (byTitleBar) yearWindow()->close();
    else child<QToolButton>(yearWindow(), "imgEsci")->click();
    QVERIFY(onlyVisible(ws().frmAvvio));
    QVERIFY(editorFile().isEmpty());
    // Shown again, the window proposes the current year, whatever was typed.
    ws().frmAvvio->imgApp02Click();
    QCOMPARE(year()->text(), currentYear());
  }

  void closingTheEditorReturnsToTheLauncherNotToTheYear() {
    openYearWindow();
    apri()->click();
    QVERIFY(onlyVisible(ws().frmMovimenti));
    ws().frmMovimenti->close();
    QVERIFY(onlyVisible(ws().frmAvvio));
    ws().frmAvvio->imgApp02Click();
    yearWindow()->close();
    QVERIFY(onlyVisible(ws().frmAvvio));
  }

  // Also in a program folder named in Latin-1 bytes: the path travels as text
  // through the editor's lblFile and still names the folder's own archive.
  void theOpenedYearIsWhereTheEditorSaves_data() {
    QTest::addColumn<bool>("latin1");
    QTest::newRow("folder") << false;
    QTest::newRow("folder named in Latin-1") << true;
  }
  void theOpenedYearIsWhereTheEditorSaves() {
    QFETCH(bool, latin1);
    if (latin1) {
      const QByteArray folder = QFile::encodeName(p->dir.path()) + "/caf\xE9/";
      QCOMPARE(::mkdir(folder.constData(), 0700), 0);
      gui::setProgramFolder(folder);
    }
    openYearWindow();
    typeYear(u"2023"_qs);
    apri()->click();
    QWidget* e = ws().frmMovimenti;
    child<QLineEdit>(e, "txtCausale")->setText(u"Quota"_qs);
    child<QLineEdit>(e, "txtDataSca")->setText(u"31/12/2023"_qs);
    child<QLineEdit>(e, "txtPagatore")->setText(u"Rossi"_qs);
    child<QLineEdit>(e, "txtBeneficiario")->setText(u"Circolo"_qs);
    child<QToolButton>(e, "cmdSalva")->click();
    QCOMPARE(p->dialogs.only().text, u"La scheda corrente è stata inserita in archivio."_qs);
    MovementArchive a =
        MovementArchive::OpenExisting(gui::programFolderPath() + "2023.eur", RecordFile::Access::ReadOnly);
    QCOMPARE(a.Count(), 1);
    QCOMPARE(a.ReadAt(1).Causale.trimmed(), u"Quota"_qs);
    a.Close();
    QCOMPARE(testing::namesIn(gui::programFolderPath()), std::set<QByteArray>{"2023.eur"});
    if (latin1) testing::removeContents(QFile::encodeName(p->dir.path()));
  }

  void theGuideIconShowsTheRegisterGuide() {
    openYearWindow();
    QString title, text;
    ModalDriver driver([&](QWidget* w) {
      title = child<QLabel>(w, "lblTitolo")->text();
      text = child<QPlainTextEdit>(w, "txtGuida")->toPlainText();
      w->close();
    });
    child<QToolButton>(yearWindow(), "imgGuida")->click();
    QVERIFY(driver.done());
    QCOMPARE(title, u"Applicazione Registro Movimenti."_qs);
    QCOMPARE(text.split(u"\n\n"_qs), gui::guidePage(u"movimenti"_qs).split(u"\r\n\r\n"_qs));
    QVERIFY(onlyVisible(yearWindow()));
  }
};

QTEST_MAIN(TestMenuMovimenti)
#include "test_menumovimenti.moc"
