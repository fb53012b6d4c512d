// SPDX-License-Identifier: GPL-3.0-or-later
// The window set, the navigation between windows, the launcher and the guide,
// information and credits windows.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>

#include "app/Avvio.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Password.h"
#include "app/Splash.h"
#include "clients/Clienti.h"
#include "gui/form.h"
#include "gui/guide.h"
#include "gui/widgets.h"
#include "journal/MenuBilancio.h"
#include "movements/MenuMovimenti.h"
#include "movements/Movimenti.h"
#include "stats/MenuStats.h"
#include "support.h"

// Every window class, to walk the whole set.
#include "app/CambiaPassword.h"
#include "clients/ExpClienti.h"
#include "clients/Ricontatta.h"
#include "clients/TrovaClienti.h"
#include "journal/Bilancio.h"
#include "common/AllegaCartella.h"
#include "movements/Calendario.h"
#include "movements/ExpMovimenti.h"
#include "movements/SospesiMov.h"
#include "movements/StampaMovimento.h"
#include "movements/TrovaMovimenti.h"
#include "stats/StatsBilancio.h"
#include "stats/StatsEntrate.h"
#include "stats/StatsUscite.h"
#include "validators/Carta.h"
#include "validators/CodFisc.h"
#include "validators/Iban.h"
#include "validators/PartitaIVA.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using Kind = fondaro::gui::Form::Kind;

namespace {

struct Expected {
  const char* objectName;
  const char* caption;
  Kind kind;
  bool navigation;
  QSize clientArea = {};  // where the window's layout fixes it
};

// The window set in its order of creation.
const Expected kWindowSet[] = {
    {"frmPassword", " Fondaro 3.0 - Accesso", Kind::Dialog, true},
    {"frmAvvio", " Fondaro 3.0", Kind::Work, true},
    {"frmCambiaPassword", " Cambia password", Kind::Dialog, true},
    {"frmCarta", " Controllo carta di credito", Kind::Dialog, false},
    {"frmCodFisc", " Controllo codice fiscale", Kind::Dialog, false},
    {"frmGuida", " Guida all'utilizzo del software", Kind::Dialog, false, {670, 572}},
    {"frmIban", " Controllo IBAN", Kind::Dialog, false},
    {"frmInfo", " Informazioni su Fondaro 3.0", Kind::Dialog, false},
    {"frmPartitaIva", " Controllo partita IVA", Kind::Dialog, false},
    {"frmSplash", " Fondaro 3.0 - \u00A9 Fondaro Software, software libero con licenza GNU GPL 3 o successiva", Kind::Dialog, false},
    {"frmClienti", " Fondaro 3.0 - Pagatori e Beneficiari", Kind::Work, true},
    {"frmAllegaCartella", " Allega file", Kind::Dialog, false, {634, 534}},
    {"frmRicontatta", " Riepilogo persone da ricontattare", Kind::Dialog, false, {862, 560}},
    {"frmTrovaClienti", " Trova pagatori e beneficiari in archivio", Kind::Dialog, false, {862, 560}},
    {"frmExpClienti", " Esporta archivio pagatori e beneficiari in Microsoft Excel", Kind::Dialog, false,
     {862, 560}},
    {"frmMenuMovimenti", " Fondaro 3.0 - Registro Movimenti", Kind::Work, true},
    {"frmMovimenti", " Fondaro 3.0 - Registro movimenti", Kind::Work, true},
    {"frmCalendario", " Importazione data", Kind::Dialog, false, {253, 294}},
    {"frmExpMovimenti", " Esporta archivio movimenti in Microsoft Excel", Kind::Dialog, false, {862, 560}},
    {"frmSospesiMov", " Riepilogo pagamenti in scadenza o scaduti", Kind::Dialog, false, {862, 560}},
    {"frmTrovaMovimenti", " Trova movimenti in archivio", Kind::Dialog, false, {862, 560}},
    {"frmStampaMovimento", " Stampa scheda corrente", Kind::Dialog, false, {364, 287}},
    {"frmMenuBilancio", " Fondaro 3.0 - Primanota e Bilancio", Kind::Work, true},
    {"frmBilancio", " Fondaro 3.0 - Primanota e Bilancio", Kind::Work, false},
    {"frmMenuStats", " Fondaro 3.0 - Grafici Statistici", Kind::Work, true},
    {"frmStatsUscite", " Fondaro 3.0 - Statistiche uscite mensili", Kind::Work, false},
    {"frmStatsEntrate", " Fondaro 3.0 - Statistiche entrate mensili", Kind::Work, false},
    {"frmStatsBilancio", " Fondaro 3.0 - Statistiche bilancio annuale", Kind::Work, false},
};

// The dialogs of work still to come, with the control that closes them.
struct Closable {
  const char* window;
  const char* control;
  const char* caption;  // nullptr for a picture button
  void (*open)(QWidget* owner);
};
const Closable kClosable[] = {
    {"frmAllegaCartella", "btnAnnulla", "Annulla", [](QWidget* o) { gui::openPerUse<TfrmAllegaCartella>(o); }},
    {"frmTrovaMovimenti", "btnAnnulla", "Chiudi", [](QWidget* o) { gui::openPerUse<TfrmTrovaMovimenti>(o); }},
    {"frmSospesiMov", "btnChiudi", "Chiudi", [](QWidget* o) { gui::openPerUse<TfrmSospesiMov>(o); }},
    {"frmStampaMovimento", "btnAnnulla", "Annulla", [](QWidget* o) { gui::openPerUse<TfrmStampaMovimento>(o); }},
    {"frmExpMovimenti", "cmdEsci", nullptr, [](QWidget* o) { gui::openPerUse<TfrmExpMovimenti>(o); }},
    {"frmTrovaClienti", "btnAnnulla", "Chiudi", [](QWidget* o) { gui::openPerUse<TfrmTrovaClienti>(o); }},
    {"frmRicontatta", "btnChiudi", "Chiudi", [](QWidget* o) { gui::openPerUse<TfrmRicontatta>(o); }},
    {"frmExpClienti", "cmdEsci", nullptr, [](QWidget* o) { gui::openPerUse<TfrmExpClienti>(o); }},
};

std::vector<gui::Form*> inOrder(const WindowSet& s) {
  return {s.frmPassword,       s.frmAvvio,          s.frmCambiaPassword, s.frmCarta,
          s.frmCodFisc,        s.frmGuida,          s.frmIban,           s.frmInfo,
          s.frmPartitaIva,     s.frmSplash,         s.frmClienti,        s.frmAllegaCartella,
          s.frmRicontatta,     s.frmTrovaClienti,   s.frmExpClienti,     s.frmMenuMovimenti,
          s.frmMovimenti,      s.frmCalendario,     s.frmExpMovimenti,   s.frmSospesiMov,
          s.frmTrovaMovimenti, s.frmStampaMovimento, s.frmMenuBilancio,  s.frmBilancio,
          s.frmMenuStats,      s.frmStatsUscite,    s.frmStatsEntrate,   s.frmStatsBilancio};
}

QToolButton* picture(QWidget* w, const char* name) { return child<QToolButton>(w, name); }

// Every control that takes the keyboard has a name a screen reader can say.
QStringList unnamedControls(QWidget* window) {
  window->ensurePolished();
  QStringList missing;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(window)) continue;
    if (w->objectName().startsWith(u"qt_")) continue;  // parts of a composite control
    if (w->accessibleName().trimmed().isEmpty()) missing << w->objectName();
  }
  return missing;
}

}  // namespace

class TestNavigation : public QObject {
  Q_OBJECT

  std::unique_ptr<Program> p;
  WindowSet& ws() { return *p->windows; }

  void toLauncher() {
    ws().frmPassword->present();
    gui::switchTo(ws().frmPassword, ws().frmAvvio);
    QVERIFY(QTest::qWaitForWindowActive(ws().frmAvvio));
  }
  std::vector<gui::Form*> visibleWindows() {
    std::vector<gui::Form*> out;
    for (gui::Form* f : inOrder(ws()))
      if (f->isVisible()) out.push_back(f);
    return out;
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { p = std::make_unique<Program>(); }
  void cleanup() { p.reset(); }

  void theWindowSetIsBuiltInItsOrder() {
    const auto windows = inOrder(ws());
    QCOMPARE(windows.size(), std::size(kWindowSet));
    int previous = 0;
    for (size_t i = 0; i < windows.size(); ++i) {
      const Expected& e = kWindowSet[i];
      gui::Form* f = windows[i];
      QVERIFY2(f, e.objectName);
      QCOMPARE(f->objectName(), QLatin1String(e.objectName));
      QCOMPARE(f->windowTitle(), QString::fromUtf8(e.caption));
      QCOMPARE(f->kind(), e.kind);
      QVERIFY2(f->creationOrder() > previous, e.objectName);
      previous = f->creationOrder();
      QVERIFY2(!f->isVisible(), e.objectName);  // nothing shows before the event loop
      if (e.kind == Kind::Dialog) {  // no minimise, maximise or close buttons
        QVERIFY(!(f->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(!(f->windowFlags() & Qt::WindowMaximizeButtonHint));
      }
      if (e.clientArea.isValid()) {  // a fixed client area, kept when shown
        QCOMPARE(f->minimumSize(), e.clientArea);
        QCOMPARE(f->maximumSize(), e.clientArea);
      }
    }
  }

  // The card printing window sits over the editor that opens it; the list and
  // export windows over the middle of the screen.
  void perUseDialogsAreCentredWhereTheirCallerWants() {
    QWidget editorWindow;  // stands for the editor, smaller than the screen
    QWidget* editor = &editorWindow;
    editor->setGeometry(40, 60, 700, 500);
    editor->show();
    QVERIFY(QTest::qWaitForWindowExposed(editor));
    const QPoint screenCentre = editor->screen()->availableGeometry().center();
    const auto centreOf = [](QWidget* w) { return w->frameGeometry().center(); };
    const auto near = [](QPoint a, QPoint b) { return (a - b).manhattanLength() <= 4; };  // frame rounding

    TfrmStampaMovimento print(editor);
    print.present();
    QVERIFY(QTest::qWaitForWindowExposed(&print));
    QCOMPARE(print.size(), QSize(364, 287));
    QVERIFY2(near(centreOf(&print), centreOf(editor)), "not centred on the editor");
    print.hide();

    TfrmSospesiMov due(editor);
    due.present();
    QVERIFY(QTest::qWaitForWindowExposed(&due));
    // Its designed height; wider than designed on this full-HD screen, where its lines show whole.
    QCOMPARE(due.height(), 560);
    QVERIFY(due.width() > 862);
    QVERIFY2(near(centreOf(&due), screenCentre), "not centred on the screen");
    due.hide();
  }

  // Windows whose work comes later can already be left: a modal window without
  // title-bar buttons must not trap the user.
  void everyDialogOpenedFromAnEditorCanBeClosed_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(std::size(kClosable)); ++i) QTest::newRow(kClosable[i].window) << i;
  }
  void everyDialogOpenedFromAnEditorCanBeClosed() {
    QFETCH(int, row);
    const Closable& c = kClosable[row];
    QWidget editor;  // stands for the editor that opens it
    editor.show();
    QString seen;
    QString caption;
    bool closable = false;
    ModalDriver driver([&](QWidget* w) {
      seen = w->objectName();
      auto* close = w->findChild<QAbstractButton*>(QLatin1String(c.control));
      closable = close && close->isVisibleTo(w) && close->isEnabled();
      if (!closable) {
        w->close();  // not left open behind a failure
        return;
      }
      caption = close->text();
      close->click();
    });
    c.open(&editor);  // returns once the modal window is closed
    QVERIFY(driver.done());
    QCOMPARE(seen, QLatin1String(c.window));
    QVERIFY2(closable, c.control);
    if (c.caption) QCOMPARE(caption, QString::fromUtf8(c.caption));
  }

  void startShowsOnlyTheLoginWindow() {
    startWindowSet();
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmPassword});
  }

  void eachTileShowsItsAreaAndClosingItBringsTheLauncherBack_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("area");
    QTest::newRow("tile 1") << u"imgApp01"_qs << u"frmClienti"_qs;
    QTest::newRow("button 1") << u"btnApp01"_qs << u"frmClienti"_qs;
    QTest::newRow("tile 2") << u"imgApp02"_qs << u"frmMenuMovimenti"_qs;
    QTest::newRow("button 2") << u"btnApp02"_qs << u"frmMenuMovimenti"_qs;
    QTest::newRow("tile 3") << u"imgApp03"_qs << u"frmMenuBilancio"_qs;
    QTest::newRow("button 3") << u"btnApp03"_qs << u"frmMenuBilancio"_qs;
    QTest::newRow("tile 4") << u"imgApp04"_qs << u"frmMenuStats"_qs;
    QTest::newRow("button 4") << u"btnApp04"_qs << u"frmMenuStats"_qs;
  }
  void eachTileShowsItsAreaAndClosingItBringsTheLauncherBack() {
    QFETCH(QString, control);
    QFETCH(QString, area);
    toLauncher();
    picture(ws().frmAvvio, qPrintable(control))->click();
    const auto shown = visibleWindows();
    QCOMPARE(shown.size(), size_t(1));
    QCOMPARE(shown[0]->objectName(), area);
    QCOMPARE(shown[0]->kind(), Kind::Work);
    shown[0]->close();  // the title-bar close button
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
    QCOMPARE(p->ended.count(), 0);
  }

  void theYearWindowLeadsToTheEditorAndTheEditorBackToTheLauncher() {
    toLauncher();
    ws().frmAvvio->imgApp02Click();
    // "Apri" on the year proposed.
    ws().frmMenuMovimenti->btnApriPreventiviClick();
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmMovimenti});
    ws().frmMovimenti->close();
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
    // Shown again, the year window closes back to the launcher.
    ws().frmAvvio->imgApp02Click();
    ws().frmMenuMovimenti->close();
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
  }

  void theLauncherEndsTheProgram_data() {
    QTest::addColumn<bool>("byExitIcon");
    QTest::newRow("exit icon") << true;
    QTest::newRow("window closed") << false;
  }
  void theLauncherEndsTheProgram() {
    QFETCH(bool, byExitIcon);
    toLauncher();
    if (byExitIcon) picture(ws().frmAvvio, "imgEsci")->click();
    else ws().frmAvvio->close();
    QCOMPARE(p->ended.count(), 1);
    QVERIFY(p->dialogs.seen().isEmpty());  // no question asked
  }

  void theGeneralGuideOpensModallyWithItsPageAndThePdfLink() {
    toLauncher();
    QStringList texts;
    for (int round = 0; round < 2; ++round) {  // rebuilt each time, never appended
      QWidget* seen = nullptr;
      ModalDriver driver([&](QWidget* w) {
        seen = w;
        QCOMPARE(w->objectName(), u"frmGuida"_qs);
        QCOMPARE(w->parentWidget(), ws().frmAvvio);
        QCOMPARE(child<QLabel>(w, "lblTitolo")->text(), u"Uno sguardo a Fondaro 3.0."_qs);
        texts << child<QPlainTextEdit>(w, "txtGuida")->toPlainText();
        child<QLabel>(w, "lnkWeb")->setFocus();
        QTest::mouseClick(child<QLabel>(w, "lnkWeb"), Qt::LeftButton);
        picture(w, "imgPDF")->click();
        child<QPushButton>(w, "btnChiudi")->click();
      });
      picture(ws().frmAvvio, "imgGuida")->click();
      QVERIFY(driver.done());
      QVERIFY(seen != ws().frmGuida);  // a fresh instance, not the start-up one
    }
    QCOMPARE(texts.size(), 2);
    QCOMPARE(texts[0], texts[1]);
    const QStringList paragraphs = texts[0].split(u"\n\n"_qs);
    QCOMPARE(paragraphs.size(), 40);
    QCOMPARE(paragraphs[0],
             u"Fondaro 3.0 è un software facile e intuitivo per contabilizzare i movimenti di denaro "
             "in dare e avere, tenere un registro di primanota con calcolo del bilancio in attivo o "
             "passivo e generare grafici statistici tridimensionali degli incassi ed esborsi."_qs);
    const QString pdf = u"\""_qs + p->folder() + u"Guida.pdf\""_qs;
    QCOMPARE(p->shell.texts(), QStringList({pdf, pdf, pdf, pdf}));
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
  }

  void theGuidePageJoinsParagraphsWithAnEmptyLine() {
    const QString page = gui::guidePage(u"generale"_qs);
    QCOMPARE(page.split(u"\r\n\r\n"_qs).size(), 40);
    QVERIFY(!page.contains(u"\r\n\r\n\r\n"_qs));
    QVERIFY(gui::guidePage(u"nessuna"_qs).isEmpty());
  }

  void theInformationLinkWritesToTheVendor() {
    toLauncher();
    QColor pressed;
    QColor released;
    ModalDriver driver([&](QWidget* w) {
      QCOMPARE(w->objectName(), u"frmInfo"_qs);
      auto* link = child<gui::Link>(w, "lnkWeb");
      QCOMPARE(link->text(), u"info@fondaro.example"_qs);
      QVERIFY(child<QLabel>(w, "lblLicenza")->text().contains(u"GNU General Public License, versione 3"_qs));
      QTest::mousePress(link, Qt::LeftButton);
      pressed = link->colour();
      QTest::mouseRelease(link, Qt::LeftButton);
      released = link->colour();
      picture(w, "imgEmail")->click();
      child<QPushButton>(w, "btnChiudi")->click();
    });
    picture(ws().frmAvvio, "imgInfo")->click();
    QVERIFY(driver.done());
    QCOMPARE(pressed, QColor::fromRgba(0xFFFFA500));
    QCOMPARE(released, QColor::fromRgba(0xFF00008B));
    const QString mail =
        u"\"mailto:info@fondaro.example?subject=Software Fondaro 3.0&body=Salve, desidererei avere "
        "le seguenti informazioni sul software in oggetto:\""_qs;
    QCOMPARE(p->shell.texts(), QStringList({mail, mail}));
  }

  void theCreditsOpenTheVendorWebSite() {
    toLauncher();
    ModalDriver driver([&](QWidget* w) {
      QCOMPARE(w->objectName(), u"frmSplash"_qs);
      QCOMPARE(w->parentWidget(), ws().frmAvvio);
      QCOMPARE(child<QLabel>(w, "imgSplash")->pixmap().size(), QSize(625, 380));
      child<QLabel>(w, "lnkWeb")->setFocus();
      QTest::keyClick(child<QLabel>(w, "lnkWeb"), Qt::Key_Return);
      picture(w, "imgWeb")->click();
      child<QPushButton>(w, "btnChiudi")->click();
    });
    picture(ws().frmAvvio, "imgCopyright")->click();
    QVERIFY(driver.done());
    picture(ws().frmAvvio, "icoSito")->click();
    const QString site = u"https://www.fondaro.example"_qs;
    QCOMPARE(p->shell.texts(), QStringList({site, site, site}));
  }

  void aPerUseWindowIsFreshAtEveryOpening() {
    toLauncher();
    QPointer<QWidget> first;
    ModalDriver d1([&](QWidget* w) {
      first = w;
      child<QLabel>(w, "lnkWeb")->setText(u"cambiato"_qs);
      child<QPushButton>(w, "btnChiudi")->click();
    });
    ws().frmAvvio->imgInfoClick();
    QVERIFY(d1.done());
    QVERIFY(first.isNull());  // disposed of by its caller
    QString second;
    ModalDriver d2([&](QWidget* w) {
      second = child<QLabel>(w, "lnkWeb")->text();
      child<QPushButton>(w, "btnChiudi")->click();
    });
    ws().frmAvvio->imgInfoClick();
    QCOMPARE(second, u"info@fondaro.example"_qs);
  }

  void everyControlHasANameForScreenReaders() {
    for (gui::Form* f : inOrder(ws())) {
      const QStringList missing = unnamedControls(f);
      QVERIFY2(missing.isEmpty(), qPrintable(f->objectName() + u": "_qs + missing.join(u", "_qs)));
      QVERIFY2(!f->accessibleName().isEmpty(), qPrintable(f->objectName()));
    }
    QCOMPARE(child(ws().frmPassword, "txtPassword")->accessibleName(), u"Password"_qs);
    QCOMPARE(child(ws().frmCambiaPassword, "txtPasswordNew")->accessibleName(), u"Nuova password"_qs);
  }

  // From the login to a work area and back with the keyboard alone.
  void theKeyboardAloneReachesEveryWorkArea() {
    p->setPassword(u"benvenutoprimo"_qs);
    startWindowSet();
    QVERIFY(QTest::qWaitForWindowActive(ws().frmPassword));
    typeText(QApplication::focusWidget(), u"benvenutoprimo"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"cmdOK"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(QTest::qWaitForWindowActive(ws().frmAvvio));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"imgApp01"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"imgApp02"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmMenuMovimenti});
  }

  // "fondaro 2023.eur": the right password opens the register of 2023 in
  // place of the launcher, once; closing it leads to the launcher.
  void anArchiveNamedAtStartOpensItsRegisterAfterLogin() {
    p->setPassword(u"benvenutoprimo"_qs);
    openRegisterAfterLogin(u"2023"_qs);
    startWindowSet();
    QVERIFY(QTest::qWaitForWindowActive(ws().frmPassword));
    typeText(QApplication::focusWidget(), u"benvenutoprimo"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmMovimenti});
    QCOMPARE(ws().frmMovimenti->windowTitle(), u" Fondaro 3.0 - Registro movimenti anno 2023"_qs);
    ws().frmMovimenti->close();
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
    enterAfterLogin(ws().frmAvvio);
    QCOMPARE(visibleWindows(), std::vector<gui::Form*>{ws().frmAvvio});
  }

  // Every window shows the program's icon: the application's.
  void everyWindowHasTheProgramsIcon() {
    QVERIFY(!QApplication::windowIcon().isNull());
    for (gui::Form* f : inOrder(ws())) QVERIFY2(!f->windowIcon().isNull(), qPrintable(f->objectName()));
  }

  // Pictures of the finished windows, kept for a human look.
  void picturesOfTheWindows() {
    const QString folder = artifacts();
    ws().frmPassword->present();
    QVERIFY(QTest::qWaitForWindowExposed(ws().frmPassword));
    saveShot(ws().frmPassword, folder, u"login"_qs);
    gui::switchTo(ws().frmPassword, ws().frmCambiaPassword);
    QVERIFY(QTest::qWaitForWindowExposed(ws().frmCambiaPassword));
    saveShot(ws().frmCambiaPassword, folder, u"cambia_password"_qs);
    ws().frmCambiaPassword->hide();
    ws().frmAvvio->resize(1100, 760);
    ws().frmAvvio->show();
    QVERIFY(QTest::qWaitForWindowExposed(ws().frmAvvio));
    saveShot(ws().frmAvvio, folder, u"launcher_offscreen"_qs);
    const auto shoot = [&](const QString& name) {
      return [name, folder](QWidget* w) {
        QVERIFY(QTest::qWaitForWindowExposed(w));
        saveShot(w, folder, name);
        child<QPushButton>(w, "btnChiudi")->click();
      };
    };
    {
      ModalDriver d(shoot(u"guida"_qs));
      ws().frmAvvio->imgGuidaClick();
    }
    {
      ModalDriver d(shoot(u"info"_qs));
      ws().frmAvvio->imgInfoClick();
    }
    {
      ModalDriver d(shoot(u"crediti"_qs));
      ws().frmAvvio->imgCopyrightClick();
    }
    QVERIFY(QFile::exists(folder + u"/guida.png"_qs));
  }
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
