// SPDX-License-Identifier: GPL-3.0-or-later
// The login window and the change-password window.
#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/Avvio.h"
#include "app/CambiaPassword.h"
#include "app/Password.h"
#include "../core/test_support.h"
#include "core/writehook.h"
#include "gui/daycopies.h"
#include "core/filepath.h"
#include "support.h"

#include <sys/stat.h>

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;

namespace {

const QString kWrong = u"Attenzione: password errata."_qs;
const QString kReadError =
    u"Attenzione: si è verificato un errore durante la procedura di lettura della password. "
    "Si consiglia di reinstallare il software."_qs;
const QString kOldWrong = u"Attenzione: vecchia password errata."_qs;
const QString kNotConfirmed =
    u"Attenzione: la nuova password non è stata confermata correttamente. "
    "E' necessario reinserire entrambi i valori."_qs;
const QString kDone = u"Modifica della password completata con successo."_qs;
const QString kChangeError =
    u"Attenzione: si è verificato un errore durante la procedura di modifica della password. "
    "Si consiglia di reinstallare il software."_qs;

QLineEdit* edit(QWidget* w, const char* name) { return child<QLineEdit>(w, name); }
QPushButton* button(QWidget* w, const char* name) { return child<QPushButton>(w, name); }

}  // namespace

class TestLogin : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  QWidget* login() const { return p->windows->frmPassword; }
  QWidget* changeWin() const { return p->windows->frmCambiaPassword; }
  QWidget* launcher() const { return p->windows->frmAvvio; }

  void start() {
    startWindowSet();
    QVERIFY(QTest::qWaitForWindowActive(login()));
  }
  void openChange() {
    start();
    button(login(), "btnCambiaPassword")->click();
    QVERIFY(QTest::qWaitForWindowActive(changeWin()));
  }
  // Types into the focused field, as the user does.
  void type(const QString& text) { typeText(QApplication::focusWidget(), text); }
  void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void startShowsTheLoginWindowReadyToType() {
    start();
    QVERIFY(login()->isVisible());
    QCOMPARE(login()->windowTitle(), u" Fondaro 3.0 - Accesso"_qs);
    QCOMPARE(QApplication::focusWidget(), edit(login(), "txtPassword"));
    QCOMPARE(edit(login(), "txtPassword")->echoMode(), QLineEdit::Password);
    QVERIFY(!button(login(), "cmdOK")->isEnabled());
    QVERIFY(child(login(), "effPassword")->isVisible());
    QCOMPARE(child<QLabel>(login(), "lblRigo05")->text(), u"Immetti la password e premi OK."_qs);
  }

  void okIsEnabledOnlyForTextBeyondBlanks_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("nothing") << QString() << false;
    QTest::newRow("blanks") << u"   "_qs << false;
    QTest::newRow("a letter among blanks") << u"  x "_qs << true;
    QTest::newRow("accented") << u"è"_qs << true;
  }
  void okIsEnabledOnlyForTextBeyondBlanks() {
    QFETCH(QString, typed);
    QFETCH(bool, enabled);
    p->setPassword(u"segreto"_qs);
    start();
    type(typed);
    QCOMPARE(button(login(), "cmdOK")->isEnabled(), enabled);
    enter();  // Enter runs OK only when the field holds more than blanks
    QCOMPARE(p->dialogs.seen().size(), enabled ? 1 : 0);
    QVERIFY(login()->isVisible());
  }

  // The typed password against the one stored, as the change window stores it.
  void loginComparesAsStored_data() {
    QTest::addColumn<QString>("stored");  // "" for no file; a raw value after "raw:"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("outcome");  // "open", or the message shown
    QTest::newRow("first password") << u"benvenutoprimo"_qs << u"benvenutoprimo"_qs << u"open"_qs;
    QTest::newRow("capitals typed") << u"benvenutoprimo"_qs << u"BENVENUTOPRIMO"_qs << u"open"_qs;
    QTest::newRow("blanks around") << u"Rossi"_qs << u"  rossi  "_qs << u"open"_qs;
    QTest::newRow("blank inside counts") << u"Rossi"_qs << u"ros si"_qs << kWrong;
    QTest::newRow("small accented as set") << u"caffè"_qs << u"CAFFè"_qs << u"open"_qs;
    QTest::newRow("accented capital is another letter") << u"caffè"_qs << u"caffÈ"_qs << kWrong;
    QTest::newRow("wrong") << u"benvenutoprimo"_qs << u"benvenuto"_qs << kWrong;
    QTest::newRow("no password file") << QString() << u"benvenutoprimo"_qs << kWrong;
    QTest::newRow("no key") << u"raw-nokey"_qs << u"x"_qs << kWrong;
    QTest::newRow("damaged value") << u"raw:EAEZ"_qs << u"x"_qs << kReadError;
    QTest::newRow("last odd digit ignored") << u"raw:E9F"_qs << u"a"_qs << u"open"_qs;
  }
  void loginComparesAsStored() {
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(QString, outcome);
    if (stored == u"raw-nokey") {
      QFile f(p->passwordFile());
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("[Accesso]\r\nAltro=E9\r\n");
    } else if (stored.startsWith(u"raw:")) {
      p->writeRaw(stored.mid(4));
    } else if (!stored.isEmpty()) {
      p->setPassword(stored);
    }
    start();
    QLineEdit* field = edit(login(), "txtPassword");
    type(typed);
    button(login(), "cmdOK")->click();
    if (outcome == u"open") {
      QVERIFY(p->dialogs.seen().isEmpty());
      QVERIFY(launcher()->isVisible());
      QVERIFY(!login()->isVisible());
      QCOMPARE(field->text(), typed);  // the field keeps its text
      return;
    }
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.text, outcome);
    QCOMPARE(shown.kind, DialogKind::Message);  // plain: OK only, no icon
    QVERIFY(login()->isVisible());
    QVERIFY(!launcher()->isVisible());
    if (outcome == kWrong) {
      QVERIFY(field->text().isEmpty());
      QCOMPARE(QApplication::focusWidget(), field);
    } else {
      QCOMPARE(field->text(), typed);  // an error leaves the window as it was
    }
  }

  void eachAttemptReadsTheFileAfresh() {
    p->setPassword(u"prima"_qs);
    start();
    type(u"seconda"_qs);
    enter();
    QCOMPARE(p->dialogs.texts(), QStringList{kWrong});
    p->setPassword(u"seconda"_qs);  // changed behind the window's back
    type(u"seconda"_qs);
    enter();
    QVERIFY(launcher()->isVisible());
  }

  void esciEndsTheProgram() {
    start();
    button(login(), "cmdEsci")->click();
    QCOMPARE(p->ended.count(), 1);
    QVERIFY(!login()->isVisible());
  }

  void changeWindowOpensInPlaceOfTheLogin() {
    openChange();
    QVERIFY(!login()->isVisible());
    QCOMPARE(changeWin()->windowTitle(), u" Cambia password"_qs);
    QCOMPARE(QApplication::focusWidget(), edit(changeWin(), "txtPasswordOld"));
    QVERIFY(!button(changeWin(), "cmdOK")->isEnabled());
    QCOMPARE(button(changeWin(), "cmdEsci")->text(), u"Chiudi"_qs);
  }

  void changeOkNeedsAllThreeFields_data() {
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("again");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("all three") << u"a"_qs << u"b"_qs << u"b"_qs << true;
    QTest::newRow("no old") << u""_qs << u"b"_qs << u"b"_qs << false;
    QTest::newRow("blank new") << u"a"_qs << u"  "_qs << u"b"_qs << false;
    QTest::newRow("no confirmation") << u"a"_qs << u"b"_qs << u""_qs << false;
  }
  void changeOkNeedsAllThreeFields() {
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, again);
    QFETCH(bool, enabled);
    openChange();
    edit(changeWin(), "txtPasswordOld")->setText(old);
    edit(changeWin(), "txtPasswordNew")->setText(fresh);
    edit(changeWin(), "txtConferma")->setText(again);
    QCOMPARE(button(changeWin(), "cmdOK")->isEnabled(), enabled);
  }

  void enterMovesRoundTheFieldsAndNeverPressesOk() {
    p->setPassword(u"vecchia"_qs);
    openChange();
    type(u"vecchia"_qs);
    enter();
    QCOMPARE(QApplication::focusWidget(), edit(changeWin(), "txtPasswordNew"));
    type(u"nuova"_qs);
    enter();
    QCOMPARE(QApplication::focusWidget(), edit(changeWin(), "txtConferma"));
    type(u"nuova"_qs);
    enter();
    QCOMPARE(QApplication::focusWidget(), edit(changeWin(), "txtPasswordOld"));
    QVERIFY(p->dialogs.seen().isEmpty());
    QVERIFY(child(changeWin(), "effPasswordOld")->isVisible());
    QVERIFY(!child(changeWin(), "effConferma")->isVisible());
  }

  void changeCases_data() {
    QTest::addColumn<QString>("old");
    QTest::addColumn<QString>("fresh");
    QTest::addColumn<QString>("again");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");    // field focused after a refusal
    QTest::addColumn<QString>("emptied");  // fields emptied by a refusal
    const QString longest(kMaxPasswordLength, u'x');
    QTest::newRow("done") << u"VECCHIA"_qs << u"nuova"_qs << u"nuova"_qs << kDone << QString() << QString();
    QTest::newRow("done, longest") << u"vecchia"_qs << longest << longest << kDone << QString() << QString();
    QTest::newRow("wrong old") << u"vecchio"_qs << u"nuova"_qs << u"nuova"_qs << kOldWrong
                               << u"txtPasswordOld"_qs << u"txtPasswordOld"_qs;
    QTest::newRow("confirmed in the other case")
        << u"vecchia"_qs << u"nuova"_qs << u"NUOVA"_qs << kNotConfirmed << u"txtPasswordNew"_qs
        << u"txtPasswordNew,txtConferma"_qs;
    QTest::newRow("too long") << u"vecchia"_qs << longest + u'x' << longest + u'x'
                              << u"Attenzione: la nuova password non può superare i 255 caratteri. "
                                 "E' necessario reinserire entrambi i valori."_qs
                              << u"txtPasswordNew"_qs << u"txtPasswordNew,txtConferma"_qs;
    QTest::newRow("euro sign") << u"vecchia"_qs << u"100€"_qs << u"100€"_qs
                               << u"Attenzione: la nuova password contiene caratteri che non possono "
                                  "essere memorizzati, come il simbolo dell'euro. Sono ammessi lettere "
                                  "(anche accentate), cifre, spazi e i simboli più comuni. E' necessario "
                                  "reinserire entrambi i valori."_qs
                               << u"txtPasswordNew"_qs << u"txtPasswordNew,txtConferma"_qs;
  }
  void changeCases() {
    QFETCH(QString, old);
    QFETCH(QString, fresh);
    QFETCH(QString, again);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(QString, emptied);
    // A file with more in it than the password: only the value may change.
    QFile f(p->passwordFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; impostazioni\r\n[Accesso]\r\nValore=" + Crypt::Scramble(u"VECCHIA").toLatin1() +
            "\r\nUltimo=3\r\n[Altro]\r\nValore=1\r\n");
    f.close();
    const QByteArray before = p->passwordFileBytes();
    openChange();
    edit(changeWin(), "txtPasswordOld")->setText(old);
    edit(changeWin(), "txtPasswordNew")->setText(fresh);
    edit(changeWin(), "txtConferma")->setText(again);
    button(changeWin(), "cmdOK")->click();
    const auto shown = p->dialogs.only();
    QCOMPARE(shown.text, message);
    QCOMPARE(shown.kind, DialogKind::Message);
    if (message == kDone) {
      QByteArray expected = before;
      expected.replace(Crypt::Scramble(u"VECCHIA").toLatin1(),
                       Crypt::Scramble(typedPassword(fresh)).toLatin1());
      QCOMPARE(p->passwordFileBytes(), expected);
      QVERIFY(!changeWin()->isVisible());
      QVERIFY(QTest::qWaitForWindowActive(login()));
      QCOMPARE(QApplication::focusWidget(), edit(login(), "txtPassword"));
      return;
    }
    QCOMPARE(p->passwordFileBytes(), before);
    QVERIFY(changeWin()->isVisible());
    QCOMPARE(QApplication::focusWidget(), edit(changeWin(), qPrintable(focus)));
    for (const char* name : {"txtPasswordOld", "txtPasswordNew", "txtConferma"}) {
      const bool shouldBeEmpty = emptied.split(u',').contains(QLatin1String(name));
      QCOMPARE(edit(changeWin(), name)->text().isEmpty(), shouldBeEmpty);
    }
  }

  void changeFailsWithoutTouchingAnything_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("damaged stored value") << u"damaged"_qs;
    QTest::newRow("read-only file") << u"read-only"_qs;
  }
  void changeFailsWithoutTouchingAnything() {
    QFETCH(QString, how);
    if (how == u"damaged") p->writeRaw(u"XYZW"_qs);
    else p->setPassword(u"vecchia"_qs);
    if (how == u"read-only")
      QVERIFY(QFile::setPermissions(p->passwordFile(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    const QByteArray before = p->passwordFileBytes();
    openChange();
    edit(changeWin(), "txtPasswordOld")->setText(u"vecchia"_qs);
    edit(changeWin(), "txtPasswordNew")->setText(u"nuova"_qs);
    edit(changeWin(), "txtConferma")->setText(u"nuova"_qs);
    button(changeWin(), "cmdOK")->click();
    QCOMPARE(p->dialogs.only().text, kChangeError);
    QCOMPARE(p->passwordFileBytes(), before);
    QVERIFY(changeWin()->isVisible());
    QCOMPARE(edit(changeWin(), "txtPasswordOld")->text(), u"vecchia"_qs);
    QCOMPARE(edit(changeWin(), "txtConferma")->text(), u"nuova"_qs);
  }

  // A password file that cannot be one (a FIFO, which an open for reading would
  // wait on for ever; a link to /dev/zero or a huge file, which a whole read
  // would never finish) is answered at once with the window's error message.
  void anUnreadablePasswordFileIsAnsweredAtOnce_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("change");
    for (const char* file : {"fifo", "device", "oversized"}) {
      QTest::addRow("login, %s", file) << QString::fromLatin1(file) << false;
      QTest::addRow("change, %s", file) << QString::fromLatin1(file) << true;
    }
  }
  void anUnreadablePasswordFileIsAnsweredAtOnce() {
    QFETCH(QString, file);
    QFETCH(bool, change);
    const QByteArray path = QFile::encodeName(p->passwordFile());
    if (file == u"fifo") QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    if (file == u"device") QVERIFY(QFile::link(u"/dev/zero"_qs, p->passwordFile()));
    if (file == u"oversized") {
      QFile f(p->passwordFile());
      QVERIFY(f.open(QIODevice::WriteOnly));
      f.write("[Accesso]\r\nValore=" + Crypt::Scramble(u"VECCHIA"_qs).toLatin1() + "\r\n");
      f.write(QByteArray(kPasswordFileMaxBytes, ';'));
    }
    testing::FifoGuard guard(path);
    if (change) {
      openChange();
      edit(changeWin(), "txtPasswordOld")->setText(u"vecchia"_qs);
      edit(changeWin(), "txtPasswordNew")->setText(u"nuova"_qs);
      edit(changeWin(), "txtConferma")->setText(u"nuova"_qs);
      button(changeWin(), "cmdOK")->click();
      QCOMPARE(p->dialogs.only().text, kChangeError);
      QVERIFY(changeWin()->isVisible());
    } else {
      start();
      type(u"vecchia"_qs);
      enter();
      QCOMPARE(p->dialogs.only().text, kReadError);
      QVERIFY(login()->isVisible());
      QVERIFY(!launcher()->isVisible());
    }
    QVERIFY2(!guard.released(), "the password file was waited on");
    struct stat st {};
    QCOMPARE(::lstat(path.constData(), &st), 0);
    QCOMPARE(S_ISFIFO(st.st_mode), file == u"fifo");
    QCOMPARE(S_ISLNK(st.st_mode), file == u"device");
  }

  // A program folder named in Latin-1 bytes (an old USB stick) finds its own
  // password file: the right password opens the launcher, and a change
  // rewrites that very file.
  void aProgramFolderNamedInLatin1FindsItsPasswordFile() {
    const QByteArray folder = QFile::encodeName(p->dir.path()) + "/caf\xE9/";
    QCOMPARE(::mkdir(folder.constData(), 0700), 0);
    gui::setProgramFolder(folder);
    QCOMPARE(gui::programFolderPath(), folder);
    // The file as the user brings it, written as if before the program ran.
    setBeforeWriteHook({});
    writeStoredPassword(folder, Crypt::Scramble(typedPassword(u"segreta"_qs)));
    gui::warnOfFailedDayCopies();
    openChange();
    type(u"segreta"_qs);
    enter();
    type(u"nuova"_qs);
    enter();
    type(u"nuova"_qs);
    button(changeWin(), "cmdOK")->click();
    QCOMPARE(p->dialogs.texts(), QStringList{kDone});
    QVERIFY(QTest::qWaitForWindowActive(login()));
    type(u"nuova"_qs);
    enter();
    QVERIFY(launcher()->isVisible());
    // Beside it, the day's safety copy of the file as it stood before the change.
    QCOMPARE(testing::namesIn(folder), (std::set<QByteArray>{"Copie di sicurezza", "unins000.dll"}));
    const QByteArray day = folder + "Copie di sicurezza/" + QDate::currentDate().toString(u"yyyy-MM-dd"_qs).toLatin1();
    QVERIFY(testing::namesIn(day).count("unins000.dll"));
    testing::removeContents(QFile::encodeName(p->dir.path()));
  }

  void aMissingFileMakesEveryOldPasswordWrong() {
    openChange();
    edit(changeWin(), "txtPasswordOld")->setText(u"benvenutoprimo"_qs);
    edit(changeWin(), "txtPasswordNew")->setText(u"nuova"_qs);
    edit(changeWin(), "txtConferma")->setText(u"nuova"_qs);
    button(changeWin(), "cmdOK")->click();
    QCOMPARE(p->dialogs.only().text, kOldWrong);
    QVERIFY(!QFile::exists(p->passwordFile()));  // the program never creates it
  }

  void theNewPasswordOpensTheLauncherAfterAChange() {
    p->setPassword(u"benvenutoprimo"_qs);
    openChange();
    type(u"benvenutoprimo"_qs);
    enter();
    type(u"  Casa Mia "_qs);
    enter();
    type(u"Casa Mia"_qs);
    button(changeWin(), "cmdOK")->click();
    QCOMPARE(p->dialogs.texts(), QStringList{kDone});
    QVERIFY(QTest::qWaitForWindowActive(login()));
    type(u"casa mia"_qs);
    enter();
    QVERIFY(launcher()->isVisible());
  }

  // The launcher the login opens names each of its pictures, in its hover text
  // and for assistive technology.
  void theLauncherNamesItsPictures() {
    p->setPassword(u"chiave"_qs);
    start();
    type(u"chiave"_qs);
    enter();
    QVERIFY(QTest::qWaitForWindowActive(launcher()));
    const struct {
      const char* name;
      QString text;
    } pictures[] = {
        {"imgInfo", u"Informazioni su Fondaro 3.0"_qs},
        {"icoSottotitolo", u"Contabilità di cassa, primanota e statistiche"_qs},
        {"imgApp01", u"Pagatori e beneficiari"_qs},
        {"btnApp02", u"Registro movimenti"_qs},
        {"imgApp03", u"Primanota e bilancio"_qs},
        {"btnApp04", u"Grafici statistici"_qs},
        {"imgGuida", u"Guida: uno sguardo a Fondaro 3.0"_qs},
        {"imgCopyright", u"Crediti"_qs},
        {"icoSito", u"Sito web www.fondaro.example"_qs},
        {"imgEsci", u"Esci da Fondaro 3.0"_qs},
    };
    for (const auto& pic : pictures) {
      QWidget* w = child(launcher(), pic.name);
      QVERIFY2(w, pic.name);
      QCOMPARE(w->accessibleName(), pic.text);
      if (qobject_cast<QAbstractButton*>(w)) QCOMPARE(w->toolTip(), pic.text);
    }
  }

  void closingTheChangeWindowBringsBackAnEmptyLogin() {
    start();
    type(u"qualcosa"_qs);
    button(login(), "btnCambiaPassword")->click();
    QVERIFY(QTest::qWaitForWindowActive(changeWin()));
    type(u"x"_qs);
    button(changeWin(), "cmdEsci")->click();
    QVERIFY(!changeWin()->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(login()));
    QVERIFY(edit(login(), "txtPassword")->text().isEmpty());
    QVERIFY(!button(login(), "cmdOK")->isEnabled());
    QCOMPARE(QApplication::focusWidget(), edit(login(), "txtPassword"));
    // Shown again, the change window starts empty.
    button(login(), "btnCambiaPassword")->click();
    QVERIFY(edit(changeWin(), "txtPasswordOld")->text().isEmpty());
  }
};

QTEST_MAIN(TestLogin)
#include "test_login.moc"
