// SPDX-License-Identifier: GPL-3.0-or-later
// The four check windows: what they show, the notice each check gives, whether
// the window then closes or keeps the focus on its field, and how the field
// takes what the user types.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "gui/form.h"
#include "support.h"
#include "validators/Carta.h"
#include "validators/CodFisc.h"
#include "validators/Iban.h"
#include "validators/PartitaIVA.h"

using namespace fondaro;
using namespace fondaro::testsupport;
using fondaro::gui::DialogKind;
using fondaro::gui::Icon;

namespace {

enum Which { CodFisc, PartitaIva, Carta, Iban };

std::unique_ptr<gui::Form> make(int which, QWidget* owner = nullptr) {
  switch (which) {
    case CodFisc: return std::make_unique<TfrmCodFisc>(owner);
    case PartitaIva: return std::make_unique<TfrmPartitaIva>(owner);
    case Carta: return std::make_unique<TfrmCarta>(owner);
    default: return std::make_unique<TfrmIban>(owner);
  }
}

const char* fieldName(int which) {
  switch (which) {
    case CodFisc: return "txtCodFisc";
    case PartitaIva: return "txtPartitaIva";
    case Carta: return "txtNumero";
    default: return "txtIban";
  }
}

QLineEdit* field(QWidget* w, int which) { return child<QLineEdit>(w, fieldName(which)); }
QPushButton* button(QWidget* w, const char* name) { return child<QPushButton>(w, name); }
QWidget* focused() { return QApplication::focusWidget(); }

const QString kCrLf2 = u"\r\n\r\n"_qs;

const QString kCodFisc16 =
    u"Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici."_qs;
const QString kCodFiscValido = u"Il codice fiscale digitato è VALIDO."_qs;
const QString kCodFiscErrato = u"Attenzione: il codice fiscale digitato è ERRATO."_qs;

const QString kIva11 =
    u"Attenzione: la partita IVA deve essere composta da 11 caratteri numerici."_qs;
QString ivaValida(const QString& office) {
  return u"Il numero di partita IVA digitato risulta VALIDO."_qs + kCrLf2 +
         u"E' stato rilasciato dall'Ufficio IVA del Comune di "_qs + office + u'.';
}
const QString kIvaErrata = u"Attenzione: il numero di partita IVA digitato risulta ERRATO!"_qs +
                           kCrLf2 +
                           u"Non è quindi possibile fornire informazioni relative all'Ufficio IVA "
                           "che lo ha rilasciato."_qs;

const QString kCartaVuota =
    u"Attenzione: immettere il numero di carta di credito prima di premere il pulsante di "
    "controllo."_qs;
const QString kCartaErrata = u"Attenzione: il numero digitato risulta ERRATO!"_qs + kCrLf2 +
                             u"Non è quindi possibile fornire informazioni relative al tipo di "
                             "carta di credito."_qs;
QString cartaValida(const QString& number, const QString& circuit) {
  return u"Il numero di carta di credito "_qs + number + u" risulta valido."_qs + kCrLf2 +
         u"La carta di credito è del tipo "_qs + circuit + u'.';
}

const QString kIban27 =
    u"Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici."_qs;
const QString kIbanValido = u"L'IBAN digitato è VALIDO."_qs;
const QString kIbanErrato = u"Attenzione: l'IBAN digitato è ERRATO!"_qs;

}  // namespace

class TestValidators : public QObject {
  Q_OBJECT

  std::unique_ptr<DialogScript> dialogs;

  // Shows the window as a caller does, ready for the keyboard.
  static bool open(gui::Form* w) {
    w->present();
    return QTest::qWaitForWindowActive(w);
  }

  // A window of each kind, named for the table rows.
  static void eachWindow() {
    QTest::addColumn<int>("which");
    QTest::newRow("tax code") << int(CodFisc);
    QTest::newRow("VAT number") << int(PartitaIva);
    QTest::newRow("card") << int(Carta);
    QTest::newRow("IBAN") << int(Iban);
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { dialogs = std::make_unique<DialogScript>(); }
  void cleanup() { dialogs.reset(); }

  void eachWindowShowsItsTitleAndFieldReadyToType_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("sample");  // typed, for the picture
    QTest::newRow("tax code")
        << int(CodFisc) << u" Controllo codice fiscale"_qs
        << u"Immettere il codice fiscale e premere il pulsante di controllo."_qs
        << u"RSSMRA80A01H501U"_qs;
    QTest::newRow("VAT number")
        << int(PartitaIva) << u" Controllo partita IVA"_qs
        << u"Immettere il numero di partita IVA e premere il pulsante di controllo."_qs
        << u"01234561205"_qs;
    QTest::newRow("card")
        << int(Carta) << u" Controllo carta di credito"_qs
        << u"Immettere il numero di carta di credito e premere il pulsante di controllo."_qs
        << u"411111111111111111111111111111"_qs;
    QTest::newRow("IBAN") << int(Iban) << u" Controllo IBAN"_qs
                          << u"Immettere l'IBAN e premere il pulsante di controllo."_qs
                          << u"IT60X0542811101000000123456"_qs;
  }
  void eachWindowShowsItsTitleAndFieldReadyToType() {
    QFETCH(int, which);
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QFETCH(QString, sample);
    auto w = make(which);
    QVERIFY(open(w.get()));
    QCOMPARE(w->windowTitle(), caption);
    QCOMPARE(w->kind(), gui::Form::Kind::Dialog);
    auto* lblTitolo = child<QLabel>(w.get(), "lblTitolo");
    QVERIFY(lblTitolo);
    QCOMPARE(lblTitolo->text(), title);
    QCOMPARE(lblTitolo->font().family(), u"Arial"_qs);
    QCOMPARE(lblTitolo->font().pointSize(), 12);
    QLineEdit* f = field(w.get(), which);
    QVERIFY(f);
    QCOMPARE(focused(), f);
    QCOMPARE(f->font().family(), u"Courier New"_qs);
    QCOMPARE(f->font().pointSize(), 20);
    QVERIFY(f->font().bold());
    QCOMPARE(button(w.get(), "btnControlla")->text(), u"Controlla"_qs);
    QCOMPARE(button(w.get(), "btnChiudi")->text(), u"Chiudi"_qs);
    for (const char* name : {"imgLogo", "shpCodFisc", "shpContainer"}) QVERIFY2(child(w.get(), name), name);

    // The longest text that can be typed is shown whole.
    typeText(f, sample);
    QCOMPARE(f->text(), sample);
    QVERIFY(f->fontMetrics().horizontalAdvance(sample) < f->contentsRect().width());
    saveShot(w.get(), artifacts(), QString::fromLatin1(fieldName(which)).mid(3).toLower());
  }

  // The text a caller puts in, "Controlla", and what follows: the notice (text
  // and icon), then the window closed, or open with the focus on its field and
  // the caller's text whole.
  void controllaShowsTheNoticeThenClosesOrKeepsTheField_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<int>("icon");
    QTest::addColumn<bool>("closes");
    const int warning = int(Icon::Warning);
    const int info = int(Icon::Information);
    QTest::newRow("tax code empty") << int(CodFisc) << QString() << kCodFisc16 << warning << false;
    QTest::newRow("tax code of 17 characters, not cut")
        << int(CodFisc) << u"RSSMRA80A01H501UX"_qs << kCodFisc16 << warning << false;
    QTest::newRow("tax code with a blank inside")
        << int(CodFisc) << u"RSSMRA80 01H501U"_qs << kCodFisc16 << warning << false;
    QTest::newRow("tax code in small letters")
        << int(CodFisc) << u"rssmra80a01h501u"_qs << kCodFiscValido << info << true;
    QTest::newRow("tax code, wrong check character")
        << int(CodFisc) << u"RSSMRA80A01H501V"_qs << kCodFiscErrato << warning << true;

    QTest::newRow("numeric tax code of 16 digits, not cut")
        << int(PartitaIva) << u"1234567890123456"_qs << kIva11 << warning << false;
    QTest::newRow("VAT number, office 120")
        << int(PartitaIva) << u"01234561205"_qs << ivaValida(u"Bologna 2"_qs) << info << true;
    QTest::newRow("VAT number, no office")
        << int(PartitaIva) << u"00000000000"_qs << ivaValida(QString()) << info << true;
    QTest::newRow("VAT number with a letter")
        << int(PartitaIva) << u"0123456120A"_qs << kIvaErrata << warning << true;

    QTest::newRow("card, blanks only") << int(Carta) << u"   "_qs << kCartaVuota << warning << false;
    QTest::newRow("card with hyphens")
        << int(Carta) << u"4111-1111-1111-1111"_qs
        << cartaValida(u"4111-1111-1111-1111"_qs, u"Visa"_qs) << info << true;
    QTest::newRow("card, wrong check digit")
        << int(Carta) << u"4111111111111112"_qs << kCartaErrata << warning << true;

    QTest::newRow("IBAN in groups")
        << int(Iban) << u"IT60 X054 2811 1010 0000 0123 456"_qs << kIban27 << warning << false;
    QTest::newRow("IBAN of another country")
        << int(Iban) << u"FR1420041010050500013M02606"_qs << kIbanValido << info << true;
    QTest::newRow("IBAN, two characters swapped")
        << int(Iban) << u"IT60X0542811101000000123465"_qs << kIbanErrato << warning << true;
  }
  void controllaShowsTheNoticeThenClosesOrKeepsTheField() {
    QFETCH(int, which);
    QFETCH(QString, text);
    QFETCH(QString, notice);
    QFETCH(int, icon);
    QFETCH(bool, closes);
    auto w = make(which);
    field(w.get(), which)->setText(text);
    QVERIFY(open(w.get()));
    button(w.get(), "btnControlla")->click();

    const gui::DialogRequest d = dialogs->only();
    QCOMPARE(d.kind, DialogKind::Notice);
    QCOMPARE(int(d.icon), icon);
    QCOMPARE(d.text, notice);
    QCOMPARE(d.parent, w.get());
    QCOMPARE(w->isVisible(), !closes);
    if (!closes) {
      QCOMPARE(focused(), field(w.get(), which));
      QCOMPARE(field(w.get(), which)->text(), text);
    }
  }

  // The text an editor hands over is put in whole, past the typing limit, and
  // is what "Controlla" checks.
  void theInputHandedOverIsCheckedWhole_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("notice");
    QTest::newRow("tax code") << int(CodFisc) << u"RSSMRA80A01H501UX"_qs << kCodFisc16;
    QTest::newRow("VAT number") << int(PartitaIva) << u"012345612059"_qs << kIva11;
    QTest::newRow("IBAN") << int(Iban) << u"IT60X05428111010000001234567"_qs << kIban27;
  }
  void theInputHandedOverIsCheckedWhole() {
    QFETCH(int, which);
    QFETCH(QString, input);
    QFETCH(QString, notice);
    auto w = make(which);
    static_cast<CheckWindow*>(w.get())->setInput(input);
    QCOMPARE(field(w.get(), which)->text(), input);
    QVERIFY(open(w.get()));
    button(w.get(), "btnControlla")->click();
    QCOMPARE(dialogs->only().text, notice);
  }

  // What the user types, as the field keeps it.
  void theFieldTakesWhatItsRulesLetThrough_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("tax code: capitals, blanks at the ends dropped")
        << int(CodFisc) << u"  rssmra80a01h501u "_qs << u"RSSMRA80A01H501U"_qs;
    QTest::newRow("tax code: 16 characters at most")
        << int(CodFisc) << u"RSSMRA80A01H501UX"_qs << u"RSSMRA80A01H501U"_qs;
    QTest::newRow("VAT number: digits only")
        << int(PartitaIva) << u"01a2 3-4.B5è"_qs << u"012345"_qs;
    QTest::newRow("VAT number: 11 digits at most")
        << int(PartitaIva) << u"012345612059"_qs << u"01234561205"_qs;
    QTest::newRow("card: digits only")
        << int(Carta) << u"4111-1111 1111x1111"_qs << u"4111111111111111"_qs;
    QTest::newRow("card: 30 digits at most")
        << int(Carta) << QString(31, u'4') << QString(30, u'4');
    QTest::newRow("IBAN: capitals, any character")
        << int(Iban) << u" it60-x054/è"_qs << u"IT60-X054/è"_qs;
    QTest::newRow("IBAN: 27 characters at most")
        << int(Iban) << u"it60x05428111010000001234567"_qs << u"IT60X0542811101000000123456"_qs;
  }
  void theFieldTakesWhatItsRulesLetThrough() {
    QFETCH(int, which);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    auto w = make(which);
    QVERIFY(open(w.get()));
    typeText(focused(), typed);
    QCOMPARE(field(w.get(), which)->text(), kept);
    QVERIFY(dialogs->seen().isEmpty());
  }

  // Enter goes to "Controlla" without checking; a second Enter presses it. Tab
  // moves along field, "Controlla", "Chiudi" in every window, digit-only or not.
  void enterLeadsToControllaAndTabFollowsTheTabOrder_data() { eachWindow(); }
  void enterLeadsToControllaAndTabFollowsTheTabOrder() {
    QFETCH(int, which);
    auto w = make(which);
    QVERIFY(open(w.get()));
    QLineEdit* f = field(w.get(), which);
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), button(w.get(), "btnControlla"));
    QTest::keyClick(focused(), Qt::Key_Tab);
    QCOMPARE(focused(), button(w.get(), "btnChiudi"));
    QTest::keyClick(focused(), Qt::Key_Backtab);
    QTest::keyClick(focused(), Qt::Key_Backtab);
    QCOMPARE(focused(), f);

    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(focused(), button(w.get(), "btnControlla"));
    QVERIFY(dialogs->seen().isEmpty());
    QTest::keyClick(focused(), Qt::Key_Return);
    QCOMPARE(dialogs->seen().size(), 1);
    // Every window asks for its field to be completed, and gives it the focus back.
    QVERIFY(w->isVisible());
    QCOMPARE(focused(), f);
  }

  // In the digit-only fields Home and End do nothing; elsewhere they move.
  void homeAndEndAreSwallowedInDigitFields_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<bool>("moves");
    QTest::newRow("tax code") << int(CodFisc) << true;
    QTest::newRow("VAT number") << int(PartitaIva) << false;
    QTest::newRow("card") << int(Carta) << false;
    QTest::newRow("IBAN") << int(Iban) << true;
  }
  void homeAndEndAreSwallowedInDigitFields() {
    QFETCH(int, which);
    QFETCH(bool, moves);
    auto w = make(which);
    QVERIFY(open(w.get()));
    typeText(focused(), u"1234"_qs);
    pressKey(focused(), Qt::Key_Home);
    QCOMPARE(field(w.get(), which)->cursorPosition(), moves ? 0 : 4);
    pressKey(focused(), Qt::Key_Left);
    pressKey(focused(), Qt::Key_End);
    QCOMPARE(field(w.get(), which)->cursorPosition(), moves ? 4 : 3);
  }

  void chiudiClosesWithoutAWord_data() { eachWindow(); }
  void chiudiClosesWithoutAWord() {
    QFETCH(int, which);
    auto w = make(which);
    field(w.get(), which)->setText(u"x"_qs);
    QVERIFY(open(w.get()));
    button(w.get(), "btnChiudi")->click();
    QVERIFY(!w->isVisible());
    QVERIFY(dialogs->seen().isEmpty());
  }

  // As the editors open it: a fresh window owned by the editor, its field
  // filled, shown modally; the caller gets control back once the check has
  // closed it, and a second opening starts from nothing.
  void openedPerUseTheCallerWaitsUntilTheCheckClosesIt() {
    QWidget editor;
    editor.setObjectName(u"frmClienti"_qs);
    QVERIFY(showActive(&editor));
    QString seenInWindow;
    QPoint offCentre;
    ModalDriver driver([&](QWidget* modal) {
      seenInWindow = modal->windowTitle();
      offCentre = modal->frameGeometry().center() - modal->screen()->availableGeometry().center();
      QCOMPARE(focused(), child<QLineEdit>(modal, "txtIban"));
      child<QPushButton>(modal, "btnControlla")->click();
    });
    gui::openPerUse<TfrmIban>(&editor, [](TfrmIban& w) {
      child<QLineEdit>(&w, "txtIban")->setText(u"it60x0542811101000000123456"_qs);
    });
    QVERIFY(driver.done());
    QCOMPARE(seenInWindow, u" Controllo IBAN"_qs);
    QVERIFY2(qAbs(offCentre.x()) <= 2 && qAbs(offCentre.y()) <= 2, "centred on the screen");
    QCOMPARE(dialogs->only().text, kIbanValido);
    QVERIFY(editor.findChildren<TfrmIban*>().isEmpty());

    ModalDriver again([&](QWidget* modal) {
      QCOMPARE(child<QLineEdit>(modal, "txtIban")->text(), QString());
      child<QPushButton>(modal, "btnChiudi")->click();
    });
    gui::openPerUse<TfrmIban>(&editor);
    QVERIFY(again.done());
  }
};

QTEST_MAIN(TestValidators)
#include "test_validators.moc"
