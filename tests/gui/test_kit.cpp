// SPDX-License-Identifier: GPL-3.0-or-later
// The window kit: info bar, focus frames, Enter chains, key filters, typing
// rules, message kinds, the shell, the program folder and the fonts.
#include <QCheckBox>
#include <QComboBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstddef>
#include <cstring>

#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/form.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/widgets.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;
using namespace fondaro::testsupport;

namespace {

// A small window declaring its conventions as the program's windows do.
class KitWindow : public Form {
 public:
  KitWindow() : Form(nullptr, Kind::Dialog) {
    setObjectName(u"frmKit"_qs);
    setWindowTitle(u" Prova"_qs);
    setFixedSize(460, 320);
    auto* c = new QWidget(this);
    c->setObjectName(u"panContainer"_qs);
    c->setGeometry(10, 10, 440, 300);
    const auto edit = [c](const char* name, QRect r) {
      auto* e = new QLineEdit(c);
      e->setObjectName(QString::fromLatin1(name));
      e->setAccessibleName(QString::fromLatin1(name));
      e->setGeometry(r);
      return e;
    };
    edit("txtAnno", {20, 20, 100, 24});
    edit("txtCausale", {20, 60, 300, 24});
    edit("txtCodFisc", {20, 100, 200, 24});
    edit("txtImporto", {20, 140, 120, 24});
    edit("txtPartitaIva", {220, 20, 160, 24});
    edit("txtCapRes", {220, 60, 100, 24});
    auto* apri = new QPushButton(u"Apri"_qs, c);
    apri->setObjectName(u"btnApri"_qs);
    apri->setGeometry(20, 180, 80, 28);
    auto* nuovo = new QPushButton(u"Nuovo"_qs, c);
    nuovo->setObjectName(u"cmdNuovo"_qs);
    nuovo->setGeometry(120, 180, 80, 28);
    connect(apri, &QPushButton::clicked, this, [this] { ++apriClicks; });
    auto* saldato = new QCheckBox(u"Saldato"_qs, c);
    saldato->setObjectName(u"chkSaldato"_qs);
    saldato->setGeometry(220, 180, 100, 28);

    panInfo = makeInfoBar(c, u"Pronto per archiviare una nuova scheda..."_qs);
    panInfo->parentWidget()->setGeometry(0, 260, 440, 30);
    setHoverSentences(panInfo, this,
                      {{"cmdNuovo", "Predispone la schermata per l'inserimento di una nuova scheda."},
                       {"btnApri", "Apre l'archivio dell'anno indicato."}});
    setHoverBackgrounds(panInfo, {this, c});

    setFields(this, {
                        {.name = "txtAnno", .enterTo = "txtCausale", .keys = Keys::Digits, .maxLength = 4, .frame = true},
                        {.name = "txtCausale", .enterTo = "txtCodFisc", .frame = true},
                        {.name = "txtCodFisc", .enterTo = "txtImporto", .typing = Typing::UpperTrim, .maxLength = 16, .frame = true},
                        {.name = "txtImporto", .enterTo = "btnApri", .keys = Keys::Amount, .frame = true},
                        {.name = "txtPartitaIva", .enterTo = "btnApri", .keys = Keys::Digits, .tabMoves = false},
                        {.name = "txtCapRes", .enterTo = "btnApri", .typing = Typing::Upper, .maxLength = 5},
                    });
    onExit(child<QLineEdit>(this, "txtImporto"), [this] { ++importoExits; });
  }

  QLabel* panInfo;
  int apriClicks = 0;
  int importoExits = 0;
};

QLineEdit* field(QWidget* w, const char* name) { return child<QLineEdit>(w, name); }

// Sets environment variables for one scope; an empty value unsets one.
class Environment {
 public:
  Environment(std::initializer_list<std::pair<const char*, QByteArray>> values) {
    for (const auto& [name, value] : values) {
      saved_.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
      if (value.isEmpty()) qunsetenv(name);
      else qputenv(name, value);
    }
  }
  ~Environment() {
    for (const Saved& s : saved_) {
      if (s.set) qputenv(s.name, s.value);
      else qunsetenv(s.name);
    }
  }

 private:
  struct Saved {
    const char* name;
    QByteArray value;
    bool set;
  };
  QList<Saved> saved_;
};

// An X server's socket as a local display listens on it (abstract name only).
class FakeXServer {
 public:
  explicit FakeXServer(int display) {
    fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const QByteArray path = "/tmp/.X11-unix/X" + QByteArray::number(display);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path + 1, path.constData(), size_t(path.size()));
    const auto length = socklen_t(offsetof(sockaddr_un, sun_path) + 1 + size_t(path.size()));
    listening_ = fd_ >= 0 && ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), length) == 0 &&
                 ::listen(fd_, 1) == 0;
  }
  ~FakeXServer() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool listening() const { return listening_; }

 private:
  int fd_ = -1;
  bool listening_ = false;
};
QPoint centreOf(QWidget* w) { return w->rect().center(); }

}  // namespace

class TestKit : public QObject {
  Q_OBJECT

  std::unique_ptr<KitWindow> w;

  void focusOn(const char* name) {
    field(w.get(), name)->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), field(w.get(), name));
  }
  QWidget* focused() const { return QApplication::focusWidget(); }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() {
    w = std::make_unique<KitWindow>();
    w->present();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
  }
  void cleanup() { w.reset(); }

  void hoverSentencesStayUntilTheBackgroundIsReached() {
    QLabel* bar = w->panInfo;
    QCOMPARE(bar->text(), u"Pronto per archiviare una nuova scheda..."_qs);
    auto* nuovo = child(w.get(), "cmdNuovo");
    QTest::mouseMove(nuovo, centreOf(nuovo));
    QCOMPARE(bar->text(), u"Predispone la schermata per l'inserimento di una nuova scheda."_qs);
    // An edit field and the bar itself have no sentence: nothing changes.
    QTest::mouseMove(field(w.get(), "txtCausale"), centreOf(field(w.get(), "txtCausale")));
    QTest::mouseMove(bar, centreOf(bar));
    QCOMPARE(bar->text(), u"Predispone la schermata per l'inserimento di una nuova scheda."_qs);
    auto* apri = child(w.get(), "btnApri");
    QTest::mouseMove(apri, centreOf(apri));
    QCOMPARE(bar->text(), u"Apre l'archivio dell'anno indicato."_qs);
    // The container's empty area.
    QTest::mouseMove(child(w.get(), "panContainer"), QPoint(400, 20));
    QCOMPARE(bar->text(), QString());
    QTest::mouseMove(nuovo, centreOf(nuovo));
    QTest::mouseMove(w.get(), QPoint(3, 3));  // the window's own background
    QCOMPARE(bar->text(), QString());
    QCOMPARE(bar->font().family(), u"Tahoma"_qs);
    QCOMPARE(bar->wordWrap(), false);
  }

  void aPictureButtonClickLeavesTheFocusWhereTheUserWasTyping() {
    QPixmap pic(24, 24);
    pic.fill(Qt::blue);
    auto* b = new PictureButton(u"cmdSalva"_qs, pic, u"Salva"_qs, child(w.get(), "panContainer"));
    b->setGeometry(220, 180, 32, 32);
    b->show();
    int clicks = 0;
    connect(b, &QToolButton::clicked, [&] { ++clicks; });
    focusOn("txtCausale");
    QTest::mouseClick(b, Qt::LeftButton, {}, centreOf(b));
    QCOMPARE(clicks, 1);
    QCOMPARE(focused()->objectName(), u"txtCausale"_qs);
    QVERIFY(b->focusPolicy() & Qt::TabFocus);  // still reachable from the keyboard
  }

  void aFocusFrameRingsTheFocusedFieldOnly() {
    focusOn("txtAnno");
    auto* eff = child(w.get(), "effAnno");
    QVERIFY(eff);
    QVERIFY(eff->isVisible());
    QCOMPARE(eff->parentWidget(), field(w.get(), "txtAnno")->parentWidget());
    QCOMPARE(eff->geometry(), field(w.get(), "txtAnno")->geometry().adjusted(-4, -4, 4, 4));
    QVERIFY(!child(w.get(), "effCausale")->isVisible());
    QTest::keyClick(focused(), Qt::Key_Tab);
    QVERIFY(!eff->isVisible());
    QVERIFY(child(w.get(), "effCausale")->isVisible());
    // A frame follows its field when the field moves.
    field(w.get(), "txtCausale")->move(30, 64);
    QCOMPARE(child(w.get(), "effCausale")->geometry(),
             field(w.get(), "txtCausale")->geometry().adjusted(-4, -4, 4, 4));
  }

  // While a message box has the keyboard the program moves its window's focus;
  // once the window has the keyboard again only the new focus is framed.
  void theFrameFollowsAFocusMovedWhileAMessageBoxIsUp_data() {
    QTest::addColumn<QString>("movedTo");
    QTest::addColumn<QStringList>("lit");
    QTest::newRow("another field") << u"txtCodFisc"_qs << QStringList{u"effCodFisc"_qs};
    QTest::newRow("a button") << u"btnApri"_qs << QStringList();
    QTest::newRow("the same field") << u"txtImporto"_qs << QStringList{u"effImporto"_qs};
  }
  void theFrameFollowsAFocusMovedWhileAMessageBoxIsUp() {
    QFETCH(QString, movedTo);
    QFETCH(QStringList, lit);
    const auto litFrames = [this] {
      QStringList names;
      for (const char* f : {"effAnno", "effCausale", "effCodFisc", "effImporto"})
        if (child(w.get(), f)->isVisible()) names << QString::fromLatin1(f);
      return names;
    };
    focusOn("txtImporto");
    ModalDriver driver([&](QWidget* box) {
      QVERIFY(QTest::qWaitForWindowActive(box));
      QCOMPARE(litFrames(), QStringList{u"effImporto"_qs});  // the box takes nothing from the window
      requireControl(w.get(), movedTo)->setFocus(Qt::OtherFocusReason);
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    notice(w.get(), Icon::Warning, u"Attenzione: manca un dato."_qs);
    QVERIFY(driver.done());
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QCOMPARE(focused()->objectName(), movedTo);
    QCOMPARE(litFrames(), lit);
  }

  // A text the program puts into a box shows from its start; typing then goes
  // where the user puts the cursor.
  void aTextPutInByTheProgramShowsFromItsStart() {
    auto* edit = field(w.get(), "txtCausale");
    auto* box = new QComboBox(child(w.get(), "panContainer"));
    box->setEditable(true);
    box->setGeometry(20, 220, 60, 24);
    box->show();
    const QString text = u"Bianchi Giovanni Battista Alessandro"_qs;
    for (QWidget* control : {static_cast<QWidget*>(edit), static_cast<QWidget*>(box)}) {
      setControlText(control, text);
      QCOMPARE(controlText(control), text);
    }
    QCOMPARE(edit->cursorPosition(), 0);
    QCOMPARE(box->lineEdit()->cursorPosition(), 0);
    focusOn("txtCausale");
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClicks(edit, u" Maria"_qs);
    QCOMPARE(edit->text(), text + u" Maria"_qs);
  }

  void enterFollowsTheChainAndASecondEnterPressesTheButton() {
    focusOn("txtAnno");
    for (const char* next : {"txtCausale", "txtCodFisc", "txtImporto"}) {
      QTest::keyClick(focused(), Qt::Key_Return);
      QCOMPARE(focused()->objectName(), QLatin1String(next));
    }
    QTest::keyClick(focused(), Qt::Key_Enter);  // the keypad's Enter too
    QCOMPARE(focused()->objectName(), u"btnApri"_qs);
    QCOMPARE(w->apriClicks, 0);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(w->apriClicks, 1);
    QCOMPARE(w->importoExits, 1);
    // A check box keeps Enter to itself: it is not ticked by it.
    auto* saldato = child<QCheckBox>(w.get(), "chkSaldato");
    saldato->setFocus();
    QTest::keyClick(saldato, Qt::Key_Return);
    QVERIFY(!saldato->isChecked());
  }

  void filteredFieldsSwallowOtherKeys_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");  // field text after "12" then the key; "|" is the cursor
    QTest::newRow("digit") << u"txtAnno"_qs << int(Qt::Key_7) << u"7"_qs << u"127|"_qs;
    QTest::newRow("letter") << u"txtAnno"_qs << int(Qt::Key_A) << u"a"_qs << u"12|"_qs;
    QTest::newRow("blank") << u"txtAnno"_qs << int(Qt::Key_Space) << u" "_qs << u"12|"_qs;
    QTest::newRow("comma") << u"txtAnno"_qs << int(Qt::Key_Comma) << u","_qs << u"12|"_qs;
    QTest::newRow("accented") << u"txtAnno"_qs << int(Qt::Key_unknown) << u"è"_qs << u"12|"_qs;
    QTest::newRow("home") << u"txtAnno"_qs << int(Qt::Key_Home) << QString() << u"12|"_qs;
    QTest::newRow("up") << u"txtAnno"_qs << int(Qt::Key_Up) << QString() << u"12|"_qs;
    QTest::newRow("left") << u"txtAnno"_qs << int(Qt::Key_Left) << QString() << u"1|2"_qs;
    QTest::newRow("backspace") << u"txtAnno"_qs << int(Qt::Key_Backspace) << QString() << u"1|"_qs;
    QTest::newRow("amount comma") << u"txtImporto"_qs << int(Qt::Key_Comma) << u","_qs << u"12,|"_qs;
    QTest::newRow("amount point") << u"txtImporto"_qs << int(Qt::Key_Period) << u"."_qs << u"12|"_qs;
    QTest::newRow("amount minus") << u"txtImporto"_qs << int(Qt::Key_Minus) << u"-"_qs << u"12|"_qs;
    QTest::newRow("free text") << u"txtCausale"_qs << int(Qt::Key_A) << u"a"_qs << u"12a|"_qs;
  }
  void filteredFieldsSwallowOtherKeys() {
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QString, result);
    focusOn(qPrintable(name));
    typeText(focused(), u"12"_qs);
    pressKey(focused(), Qt::Key(key), text);
    auto* le = field(w.get(), qPrintable(name));
    QString shown = le->text();
    shown.insert(le->cursorPosition(), u'|');
    QCOMPARE(shown, result);
  }

  void aDigitFieldStillTabsAndRefusesPastedLetters() {
    focusOn("txtAnno");
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), u"txtCausale"_qs);
    QTest::keyClick(focused(), Qt::Key_Backtab);
    QCOMPARE(focused()->objectName(), u"txtAnno"_qs);
    // A field may keep Tab to itself.
    focusOn("txtPartitaIva");
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused()->objectName(), u"txtPartitaIva"_qs);
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(focused()->objectName(), u"btnApri"_qs);
    QGuiApplication::clipboard()->setText(u"20a4"_qs);
    field(w.get(), "txtAnno")->paste();
    QCOMPARE(field(w.get(), "txtAnno")->text(), QString());
    QGuiApplication::clipboard()->setText(u"2024"_qs);
    field(w.get(), "txtAnno")->paste();
    QCOMPARE(field(w.get(), "txtAnno")->text(), u"2024"_qs);
  }

  void aLengthLimitHoldsForTypingOnly() {
    focusOn("txtAnno");
    typeText(focused(), u"20245"_qs);
    QCOMPARE(field(w.get(), "txtAnno")->text(), u"2024"_qs);
    // Text put in by the program is kept whole; typing cannot lengthen it.
    field(w.get(), "txtCodFisc")->setText(u"RSSMRA80A01H501UXYZ"_qs);
    focusOn("txtCodFisc");
    field(w.get(), "txtCodFisc")->end(false);
    typeText(focused(), u"Q"_qs);
    QCOMPARE(field(w.get(), "txtCodFisc")->text(), u"RSSMRA80A01H501UXYZ"_qs);
    pressKey(focused(), Qt::Key_Backspace);
    QCOMPARE(field(w.get(), "txtCodFisc")->text(), u"RSSMRA80A01H501UXY"_qs);
  }

  void upperCaseAndTrimApplyAsTheUserTypes() {
    focusOn("txtCodFisc");
    auto* le = field(w.get(), "txtCodFisc");
    typeText(focused(), u" rss è "_qs);  // blanks at the ends go as they are typed
    QCOMPARE(le->text(), u"RSSè"_qs);    // a-z only become capitals
    pressKey(focused(), Qt::Key_Left);
    typeText(focused(), u" x"_qs);       // a blank inside stays
    QCOMPARE(le->text(), u"RSS Xè"_qs);
    QCOMPARE(le->cursorPosition(), 5);
    QCOMPARE(typedText(Typing::Trim, u"\t a b \n"_qs), u"a b"_qs);
  }

  void upperCaseOnlyKeepsBlanksAndAccentedLetters() {
    focusOn("txtCapRes");
    auto* le = field(w.get(), "txtCapRes");
    typeText(focused(), u" aù1"_qs);
    QCOMPARE(le->text(), u" Aù1"_qs);
    pressKey(focused(), Qt::Key_Left);
    typeText(focused(), u"b"_qs);
    QCOMPARE(le->text(), u" AùB1"_qs);
    QCOMPARE(le->cursorPosition(), 4);
    typeText(focused(), u"cd"_qs);  // the typing limit still holds
    QCOMPARE(le->text(), u" AùB1"_qs);
    QCOMPARE(typedText(Typing::Upper, u" é z "_qs), u" é Z "_qs);
  }

  void theThreeMessageKindsAsShown_data() {
    QTest::addColumn<int>("kind");  // 0 notice, 1 question, 2 message
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    QTest::addColumn<QStringList>("buttons");
    QTest::newRow("warning notice") << 0 << u"Attenzione"_qs << int(QMessageBox::Warning)
                                    << QStringList{u"OK"_qs, u"Annulla"_qs};
    QTest::newRow("question") << 1 << u"Conferma"_qs << int(QMessageBox::Question)
                              << QStringList{u"Sì"_qs, u"No"_qs};
    QTest::newRow("plain message") << 2 << u"Fondaro 3.0"_qs << int(QMessageBox::NoIcon)
                                   << QStringList{u"OK"_qs};
  }
  void theThreeMessageKindsAsShown() {
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(int, icon);
    QFETCH(QStringList, buttons);
    QStringList seenButtons;
    QString seenText;
    QString seenTitle;
    int seenIcon = -1;
    ModalDriver driver([&](QWidget* m) {
      auto* box = qobject_cast<QMessageBox*>(m);
      QVERIFY(box);
      seenTitle = box->windowTitle();
      seenText = box->text();
      seenIcon = box->icon();
      for (QAbstractButton* b : box->buttons()) seenButtons << b->text().remove(u'&');
      box->button(kind == 1 ? QMessageBox::Yes : QMessageBox::Ok)->click();
    });
    const QString text = u"Prima riga.\r\n\r\nSeconda riga."_qs;
    bool yes = false;
    if (kind == 0) notice(w.get(), Icon::Warning, text);
    else if (kind == 1) yes = question(w.get(), text);
    else message(w.get(), text);
    QVERIFY(driver.done());
    QCOMPARE(seenTitle, title);
    QCOMPARE(seenIcon, icon);
    QCOMPARE(seenText, u"Prima riga.\n\nSeconda riga."_qs);
    seenButtons.sort();
    buttons.sort();
    QCOMPARE(seenButtons, buttons);
    QCOMPARE(yes, kind == 1);
  }

  void aScriptAnswersDialogsAndRemembersThem() {
    DialogScript script;
    notice(w.get(), Icon::Error, u"e"_qs);
    QVERIFY(!question(w.get(), u"q"_qs));  // no answer queued: No
    script.answer(Answer::Yes);
    QVERIFY(question(w.get(), u"q2"_qs));
    script.answer(Answer::Ok, u"Mario"_qs);
    QCOMPARE(inputText(w.get(), u"Titolo"_qs, u"Nome:"_qs, QString()), std::optional<QString>(u"Mario"_qs));
    script.answer(Answer::Ok, u"3"_qs);
    QCOMPARE(inputInt(w.get(), u"Stampa"_qs, u"Copie:"_qs, 1, 1, 99), std::optional<int>(3));
    QCOMPARE(openFileName(w.get(), u"Allega"_qs, u"/tmp"_qs, u"*"_qs), QString());
    QCOMPARE(script.seen().size(), 6);
    QCOMPARE(script.seen()[0].kind, DialogKind::Notice);
    QCOMPARE(script.seen()[0].icon, Icon::Error);
    QCOMPARE(script.seen()[0].title, u"Errore"_qs);
    QCOMPARE(script.texts().mid(1, 2), QStringList({u"q"_qs, u"q2"_qs}));
    QCOMPARE(script.seen()[5].kind, DialogKind::OpenFile);
    QCOMPARE(script.answers()[1].answer, Answer::No);
    QCOMPARE(script.answers()[2].answer, Answer::Yes);
    QCOMPARE(script.answers()[5].answer, Answer::Cancel);
  }

  void aRealInputDialogCanBeAnswered() {
    ModalDriver driver([](QWidget* m) {
      auto* d = qobject_cast<QInputDialog*>(m);
      QVERIFY(d);
      d->setTextValue(u"valore"_qs);
      d->accept();
    });
    QCOMPARE(inputText(w.get(), u"Titolo"_qs, u"Testo:"_qs, QString()), std::optional<QString>(u"valore"_qs));
  }

  void theShellGetsTheTextAsTheCallerBuiltIt_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("url");
    QTest::newRow("quoted path") << u"\"/opt/fondaro/Guida.pdf\""_qs << u"file:///opt/fondaro/Guida.pdf"_qs;
    QTest::newRow("path with blanks")
        << u"\"/opt/fondaro/Documenti_Allegati/fattura n. 1.pdf\""_qs
        << u"file:///opt/fondaro/Documenti_Allegati/fattura%20n.%201.pdf"_qs;
    // The manual of a program folder named in Latin-1 ("caf\xE9"), as the
    // program folder's text carries it.
    QTest::newRow("path with a Latin-1 byte")
        << u"\"/media/caf"_qs + QChar(0xDCE9) + u"/Guida.pdf\""_qs << u"file:///media/caf%E9/Guida.pdf"_qs;
    // A name holding a quote, a hash or a question mark opens that very file.
    QTest::newRow("path with a quote")
        << u"\"/opt/fondaro/Documenti_Allegati/a\"b #1?.txt\""_qs
        << u"file:///opt/fondaro/Documenti_Allegati/a%22b%20%231%3F.txt"_qs;
    QTest::newRow("mailto") << u"\"mailto:info@fondaro.example?subject=Software Fondaro 3.0&body=Salve,\""_qs
                            << u"mailto:info@fondaro.example?subject=Software%20Fondaro%203.0&body=Salve,"_qs;
    QTest::newRow("web") << u"https://www.fondaro.example"_qs << u"https://www.fondaro.example"_qs;
    QTest::newRow("web without scheme") << u"www.fondaro.example"_qs << u"http://www.fondaro.example"_qs;
  }
  void theShellGetsTheTextAsTheCallerBuiltIt() {
    QFETCH(QString, command);
    QFETCH(QString, url);
    QCOMPARE(openerUrl(command), url);
    ShellCapture shell;
    TMisc::Open(command);
    QCOMPARE(shell.texts(), QStringList{command});
  }

  void theProgramFolderIsTheExecutablesUnlessSet() {
    setProgramFolder(QString());
    QCOMPARE(programFolder(), QCoreApplication::applicationDirPath() + u'/');
    setProgramFolder(u"/srv/contabilita"_qs);
    QCOMPARE(programFolder(), u"/srv/contabilita/"_qs);
    setProgramFolder(QString());
  }

  // Without a display the program says so in one line, instead of failing
  // inside the toolkit.
  void theProgramTellsWhenThereIsNoDisplay_data() {
    QTest::addColumn<QByteArray>("platform");
    QTest::addColumn<QByteArray>("display");
    QTest::addColumn<QString>("message");
    const QString hint = u"; per avviarlo senza schermo: xvfb-run -a /opt/fondaro/fondaro"_qs;
    const QString none = u"fondaro: nessun display grafico disponibile (DISPLAY non impostata)"_qs + hint;
    QTest::newRow("no display") << QByteArray() << QByteArray() << none;
    QTest::newRow("X asked for, no display") << QByteArray("xcb") << QByteArray() << none;
    QTest::newRow("a local display nobody serves")
        << QByteArray() << QByteArray(":4321") << u"fondaro: il display grafico :4321 non risponde"_qs + hint;
    QTest::newRow("a served local display") << QByteArray() << QByteArray(":4322.0") << QString();
    QTest::newRow("drawing offscreen") << QByteArray("offscreen") << QByteArray() << QString();
    QTest::newRow("a display on another host") << QByteArray() << QByteArray("altro.example:0") << QString();
  }
  void theProgramTellsWhenThereIsNoDisplay() {
    QFETCH(QByteArray, platform);
    QFETCH(QByteArray, display);
    QFETCH(QString, message);
    FakeXServer server(4322);
    QVERIFY(server.listening());
    Environment env{{"QT_QPA_PLATFORM", platform}, {"DISPLAY", display}, {"WAYLAND_DISPLAY", {}}};
    QCOMPARE(QString::fromStdString(noDisplayMessage("/opt/fondaro/fondaro")), message);
  }

  void theWindowsFontsMapToInstalledFamilies_data() {
    QTest::addColumn<QString>("named");
    QTest::addColumn<QString>("family");
    QTest::newRow("Arial") << u"Arial"_qs << u"Liberation Sans"_qs;
    QTest::newRow("Courier New") << u"Courier New"_qs << u"Liberation Mono"_qs;
    QTest::newRow("Verdana") << u"Verdana"_qs << u"DejaVu Sans"_qs;
    QTest::newRow("Tahoma") << u"Tahoma"_qs << u"Tahoma"_qs;
  }
  void theWindowsFontsMapToInstalledFamilies() {
    QFETCH(QString, named);
    QFETCH(QString, family);
    QCOMPARE(QFontInfo(windowFont(qPrintable(named), 12)).family(), family);
  }
};

QTEST_MAIN(TestKit)
#include "test_kit.moc"
