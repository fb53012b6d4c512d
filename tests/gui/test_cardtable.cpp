// SPDX-License-Identifier: GPL-3.0-or-later
// An editor's card declared as a table of rows: the rows build the sections
// (captions beside or above the boxes) and give the Enter chain, the Tab
// order and the info-bar sentences; the address-book card shows its described
// captions.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "clients/Clienti.h"
#include "gui/application.h"
#include "gui/cardtable.h"
#include "gui/controls.h"
#include "gui/infobar.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;
using namespace fondaro::testsupport;
using card::Box;
using card::Captions;

namespace {

constexpr card::SectionPlan kSections[] = {
    {"shpSezione1", u"Uno"},
    {"shpSezione2", u"Due", Captions::Above},
};

constexpr card::Row kRows[] = {
    {.name = "optSi", .caption = u"Scelta:", .box = Box::Option, .text = u"Sì", .panel = "panScelta",
     .hover = u"Sceglie sì."},
    {.name = "optNo", .beside = true, .box = Box::Option, .text = u"No", .panel = "panScelta"},
    {.name = "txtData", .caption = u"Data:", .beside = true, .box = Box::Date, .enter = false,
     .button = {"impData", u"ico_cancella", u"Cancella"}, .buttonHover = u"Cancella la data."},
    {.name = "txtNome", .caption = u"Nome:"},
    {.name = "txtProv", .caption = u"Prov.", .beside = true, .box = Box::Province},
    {.name = "chkFatto", .beside = true, .box = Box::Check, .text = u"Fatto"},
    {.name = "txtNote", .caption = u"Note:", .section = 1, .button = {"btnNote", u"ico_controlla", u"Controlla"}},
    {.name = "txtCodice", .caption = u"Codice:", .section = 1, .beside = true, .width = 90,
     .typing = Typing::UpperTrim},
};

constexpr card::Tool kTools[] = {{"cmdOk", u"tb_salva", u"Salva", u"Salva la scheda."}, {"lblPosizione"}};
constexpr card::ToolGroup kGroups[] = {{"shpGruppo1", kTools}};

class TableWindow : public QWidget {
 public:
  TableWindow() {
    setObjectName(u"frmProva"_qs);
    auto* v = new QVBoxLayout(this);
    v->addWidget(card::buildGroup(this, kGroups[0]));
    for (QFrame* f : card::buildSections(this, kSections, kRows)) v->addWidget(f);
    panInfo = makeInfoBar(this, QString());
    v->addWidget(panInfo->parentWidget());
    card::declareCard(this, panInfo, kRows, kGroups);
    resize(900, 400);
  }
  QLabel* panInfo;
};

QLabel* captionOf(const QWidget* window, const QWidget* box) {
  for (QLabel* l : window->findChildren<QLabel*>())
    if (l->buddy() == box) return l;
  return nullptr;
}

QRect inWindow(const QWidget* w, const QWidget* window) { return QRect(w->mapTo(window, QPoint(0, 0)), w->size()); }

}  // namespace

class TestCardTable : public QObject {
  Q_OBJECT

  std::unique_ptr<TableWindow> w;

  QWidget* control(const char* name) const { return requireControl(w.get(), QString::fromLatin1(name)); }
  QString focused() const { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); }
  void show() {
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }
  void init() { w = std::make_unique<TableWindow>(); }
  void cleanup() { w.reset(); }

  // Enter goes from text box to text box in the table's order, past the option
  // buttons and the check box, from the last back to the first.
  void enterFollowsTheTextBoxesOfTheTable() {
    show();
    control("txtNome")->setFocus();
    const QStringList expected = {u"txtProv"_qs, u"txtNote"_qs, u"txtCodice"_qs, u"txtData"_qs};
    for (const QString& next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QCOMPARE(focused(), next);
    }
  }

  // Tab goes along the rows, then the rows' small buttons, then the toolbar.
  void tabGoesAlongTheRowsThenTheirButtonsThenTheTools() {
    show();
    control("txtNome")->setFocus();
    const QStringList expected = {u"txtProv"_qs, u"chkFatto"_qs, u"txtNote"_qs, u"txtCodice"_qs,
                                  u"impData"_qs, u"btnNote"_qs, u"cmdOk"_qs};
    for (const QString& next : expected) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QCOMPARE(focused(), next);
    }
  }

  void theInfoBarSentencesComeFromTheRowsAndTools_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("sentence");
    QTest::newRow("option") << u"optSi"_qs << u"Sceglie sì."_qs;
    QTest::newRow("row button") << u"impData"_qs << u"Cancella la data."_qs;
    QTest::newRow("tool") << u"cmdOk"_qs << u"Salva la scheda."_qs;
  }
  void theInfoBarSentencesComeFromTheRowsAndTools() {
    QFETCH(QString, control);
    QFETCH(QString, sentence);
    show();
    QWidget* c = requireControl(w.get(), control);
    QTest::mouseMove(c, c->rect().center());
    QCOMPARE(w->panInfo->text(), sentence);
  }

  // A caption column puts each line's first caption to the left of its box; a
  // section of captions above puts each caption over the left edge of its box.
  void captionsStandBesideOrAboveTheirBoxes() {
    show();
    for (const char* name : {"txtData", "txtNome"}) {
      QLabel* c = captionOf(w.get(), control(name));
      QVERIFY2(c, name);
      QVERIFY2(inWindow(c, w.get()).right() < inWindow(control(name), w.get()).left(), name);
    }
    for (const char* name : {"txtNote", "txtCodice"}) {
      QLabel* c = captionOf(w.get(), control(name));
      QVERIFY2(c, name);
      const QRect box = inWindow(control(name), w.get());
      const QRect cap = inWindow(c, w.get());
      QVERIFY2(cap.bottom() < box.top(), name);
      QCOMPARE(cap.left(), box.left());
    }
    // The options of one line stand together on their panel; the fixed width holds.
    QCOMPARE(control("optSi")->parentWidget(), control("optNo")->parentWidget());
    QCOMPARE(control("optSi")->parentWidget()->objectName(), u"panScelta"_qs);
    QCOMPARE(control("txtCodice")->width(), 90);
    QVERIFY(qobject_cast<QComboBox*>(control("txtProv")));
    QVERIFY(qobject_cast<QLineEdit*>(control("txtData"))->isReadOnly());
  }

  // The typing rules of a row hold, and every text box has its focus frame.
  void theRowsTypingRulesAndFramesHold() {
    show();
    auto* code = qobject_cast<QLineEdit*>(control("txtCodice"));
    code->setFocus();
    QTest::keyClicks(code, u" ab1 "_qs);
    QCOMPARE(code->text(), u"AB1"_qs);
    for (const char* name : {"txtData", "txtNome", "txtProv", "txtNote", "txtCodice"})
      QVERIFY2(w->findChild<QWidget*>(frameName(QString::fromLatin1(name))), name);
  }

  // The address-book card: every text box under the caption of the record
  // table, in the program's words.
  void theAddressBookCardShowsTheDescribedCaptionsAboveItsBoxes() {
    Program p;
    TfrmClienti* editor = p.windows->frmClienti;
    editor->setWindowState(Qt::WindowNoState);
    editor->setGeometry(0, 0, 1280, 1000);
    gui::switchTo(nullptr, editor);
    const std::pair<const char*, const char16_t*> captions[] = {
        {"txtCliente", u"Cognome e nome o ragione sociale:"},
        {"txtDataNasc", u"Data di nascita:"},
        {"txtComuneNasc", u"Comune di nascita:"},
        {"txtProvNasc", u"Prov."},
        {"txtSesso", u"Sesso:"},
        {"txtRecapito", u"Recapito preferenziale:"},
        {"txtIndirizzoRes", u"Residente in Via / Piazza e numero civico:"},
        {"txtProvRes", u"Prov."},
        {"txtComuneRes", u"Comune di residenza:"},
        {"txtCapRes", u"CAP:"},
        {"txtEstremi", u"Modalità di pagamento:"},
        {"txtTelCasa", u"Tel. casa:"},
        {"txtTelUff", u"Tel. ufficio:"},
        {"txtTelCel", u"Tel. cellulare:"},
        {"txtFax", u"Fax:"},
        {"txtEmail", u"E-mail:"},
        {"txtCodFisc", u"Codice fiscale:"},
        {"txtCarta", u"Carta di credito n."},
        {"txtScadeCarta", u"Scadenza:"},
        {"txtPartitaIva", u"Partita IVA:"},
        {"txtIban", u"IBAN:"},
        {"txtDocumento", u"Estremi documento:"},
        {"txtOccupazione", u"Occupazione:"},
        {"txtCivile", u"Stato civile:"},
        {"txtTitoli", u"Titoli e qualifiche:"},
        {"txtProdotti", u"Prodotti o servizi di interesse:"},
        {"txtZona", u"Zona di appartenenza:"},
        {"txtQuestioni", u"Questioni in sospeso:"},
        {"txtNote", u"Note:"},
    };
    for (const auto& [name, text] : captions) {
      QWidget* box = requireControl(editor, QString::fromLatin1(name));
      QLabel* c = captionOf(editor, box);
      QVERIFY2(c, name);
      QCOMPARE(c->text(), QString::fromUtf16(text));
      QCOMPARE(c->font().family(), windowFont("Verdana", 10).family());
      QVERIFY2(inWindow(c, editor).bottom() < inWindow(box, editor).top(), name);
      // The caption is whole: nothing of it is cut by the box beside.
      QVERIFY2(c->width() >= c->sizeHint().width(), name);
    }
  }
};

QTEST_MAIN(TestCardTable)
#include "test_cardtable.moc"
