#include "clients/Clienti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "app/Guida.h"
#include "clients/ExpClienti.h"
#include "clients/Ricontatta.h"
#include "clients/Texts.h"
#include "clients/TrovaClienti.h"
#include "core/checks.h"
#include "core/clientcard.h"
#include "core/cursor.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/archivestep.h"
#include "gui/cardform.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/openurl.h"
#include "gui/print.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "movements/AllegaCartella.h"
#include "report/templates.h"
#include "validators/Carta.h"
#include "validators/CodFisc.h"
#include "validators/Iban.h"
#include "validators/PartitaIVA.h"

namespace fondaro {

namespace {

namespace card = gui::card;
using Cursor = RecordCursor<TCliente>;

// Just before a province box takes the focus its list selection goes, so that
// the list opens on no code; the text typed or shown stays.
class ProvinceFocus : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::FocusIn) return false;
    if (auto* box = qobject_cast<QComboBox*>(o)) {
      const QString text = box->currentText();
      const QSignalBlocker quiet(box);
      box->setCurrentIndex(-1);
      box->setEditText(text);
    }
    return false;
  }
};

// An editable province box: the 112 codes, no code chosen, typing free.
QComboBox* provinceBox(QWidget* parent, const char* name, QStringView what) {
  auto* b = new QComboBox(parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setEditable(true);
  b->setInsertPolicy(QComboBox::NoInsert);
  b->setCompleter(nullptr);  // no inline completion: the box shows what was typed
  b->addItems(provinceCodes());
  b->setCurrentIndex(-1);
  b->setMaxVisibleItems(14);
  b->setFont(gui::windowFont("Verdana", 12, true));
  b->lineEdit()->setFont(b->font());  // the style gives the edit part a font of its own
  b->setAccessibleName(what.toString());
  b->lineEdit()->setAccessibleName(what.toString());  // the part that takes the keyboard
  b->setFixedSize(84, 28);
  return b;
}

QLineEdit* narrowEdit(QWidget* parent, const char* name, QStringView what, int width) {
  QLineEdit* e = card::edit(parent, name, what);
  e->setFixedWidth(width);
  return e;
}


constexpr const char16_t* kAttachments[] = {u"File01", u"File02", u"File03", u"Desc01", u"Desc02", u"Desc03"};

}  // namespace

// ---- Construction -----------------------------------------------------------

TfrmClienti::TfrmClienti(QWidget* owner) : CardEditor(owner, Kind::Work) {
  setObjectName(u"frmClienti"_qs);
  setWindowTitle(gui::windowCaption(u"Pagatori e Beneficiari"));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(1240, 730);
  auto* v = new QVBoxLayout(c);
  v->setContentsMargins(14, 12, 14, 12);
  v->setSpacing(10);
  buildCard(c);
  buildButtons(c);
  declareBehaviour();
  gui::connectClickSlots(this);
  ClearCard();
}

void TfrmClienti::buildCard(QWidget* c) {
  auto* v = static_cast<QVBoxLayout*>(c->layout());
  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  auto* left = new QVBoxLayout;
  left->setSpacing(8);
  columns->addLayout(left, 1);
  v->addLayout(columns, 1);
  const auto cap = [](QWidget* f, QStringView text, QWidget* buddy) { return card::caption(f, text, buddy); };

  card::Section s1(c, "shpSezione1", u"Dati anagrafici e residenza");
  QWidget* f1 = s1.frame();
  txtCliente = card::edit(f1, "txtCliente", u"Pagatore o beneficiario");
  QLineEdit* txtDataNasc = narrowEdit(f1, "txtDataNasc", u"Data di nascita", 150);
  QLineEdit* txtComuneNasc = card::edit(f1, "txtComuneNasc", u"Comune di nascita");
  txtProvNasc = provinceBox(f1, "txtProvNasc", u"Provincia di nascita");
  s1.row(u"Nominativo:", txtCliente,
         {txtCliente, cap(f1, u"Nato il:", txtDataNasc), txtDataNasc, cap(f1, u"a:", txtComuneNasc), txtComuneNasc,
          cap(f1, u"Prov.:", txtProvNasc), txtProvNasc});
  QLineEdit* txtSesso = narrowEdit(f1, "txtSesso", u"Sesso", 40);
  txtSesso->setAlignment(Qt::AlignCenter);
  QLineEdit* txtRecapito = card::edit(f1, "txtRecapito", u"Recapito");
  QLineEdit* txtIndirizzoRes = card::edit(f1, "txtIndirizzoRes", u"Indirizzo di residenza");
  txtProvRes = provinceBox(f1, "txtProvRes", u"Provincia di residenza");
  s1.row(u"Sesso:", txtSesso,
         {txtSesso, cap(f1, u"Recapito:", txtRecapito), txtRecapito, cap(f1, u"Indirizzo:", txtIndirizzoRes),
          txtIndirizzoRes, cap(f1, u"Prov.:", txtProvRes), txtProvRes});
  QLineEdit* txtComuneRes = card::edit(f1, "txtComuneRes", u"Comune di residenza");
  QLineEdit* txtCapRes = narrowEdit(f1, "txtCapRes", u"CAP", 84);
  QLineEdit* txtEstremi = card::edit(f1, "txtEstremi", u"Estremi");
  s1.row(u"Comune di residenza:", txtComuneRes,
         {txtComuneRes, cap(f1, u"CAP:", txtCapRes), txtCapRes, cap(f1, u"Estremi:", txtEstremi), txtEstremi});
  left->addWidget(f1);

  card::Section s2(c, "shpSezione2", u"Telefoni ed e-mail");
  QWidget* f2 = s2.frame();
  QLineEdit* txtTelCasa = card::edit(f2, "txtTelCasa", u"Telefono di casa");
  QLineEdit* txtTelUff = card::edit(f2, "txtTelUff", u"Telefono dell'ufficio");
  QLineEdit* txtTelCel = card::edit(f2, "txtTelCel", u"Telefono cellulare");
  s2.row(u"Telefono casa:", txtTelCasa,
         {txtTelCasa, cap(f2, u"Ufficio:", txtTelUff), txtTelUff, cap(f2, u"Cellulare:", txtTelCel), txtTelCel});
  QLineEdit* txtFax = card::edit(f2, "txtFax", u"Fax");
  QLineEdit* txtEmail = card::edit(f2, "txtEmail", u"E-mail");
  s2.row(u"Fax:", txtFax,
         {txtFax, cap(f2, u"E-mail:", txtEmail), txtEmail,
          card::fieldButton(f2, "btnEmail", u"ico_email", u"Invia una e-mail")});
  left->addWidget(f2);

  card::Section s3(c, "shpSezione3", u"Dati fiscali e di pagamento");
  QWidget* f3 = s3.frame();
  QLineEdit* txtCodFisc = card::edit(f3, "txtCodFisc", u"Codice fiscale");
  QLineEdit* txtCarta = card::edit(f3, "txtCarta", u"Carta di credito");
  QLineEdit* txtScadeCarta = narrowEdit(f3, "txtScadeCarta", u"Scadenza della carta", 150);
  s3.row(u"Codice fiscale:", txtCodFisc,
         {txtCodFisc, card::fieldButton(f3, "btnCodFisc", u"ico_controlla", u"Controlla il codice fiscale"),
          cap(f3, u"Carta di credito:", txtCarta), txtCarta,
          card::fieldButton(f3, "btnCarta", u"ico_controlla", u"Controlla il numero di carta di credito"),
          cap(f3, u"Scadenza:", txtScadeCarta), txtScadeCarta});
  QLineEdit* txtPartitaIva = card::edit(f3, "txtPartitaIva", u"Partita IVA");
  QLineEdit* txtIban = card::edit(f3, "txtIban", u"IBAN");
  s3.row(u"Partita IVA:", txtPartitaIva,
         {txtPartitaIva, card::fieldButton(f3, "btnPartitaIva", u"ico_controlla", u"Controlla la partita IVA"),
          cap(f3, u"IBAN:", txtIban), txtIban, card::fieldButton(f3, "btnIban", u"ico_controlla", u"Controlla l'IBAN")});
  left->addWidget(f3);

  card::Section s4(c, "shpSezione4", u"Dati personali");
  QWidget* f4 = s4.frame();
  QLineEdit* txtDocumento = card::edit(f4, "txtDocumento", u"Documento");
  QLineEdit* txtOccupazione = card::edit(f4, "txtOccupazione", u"Occupazione");
  QLineEdit* txtCivile = card::edit(f4, "txtCivile", u"Stato civile");
  s4.row(u"Documento:", txtDocumento,
         {txtDocumento, cap(f4, u"Occupazione:", txtOccupazione), txtOccupazione, cap(f4, u"Stato civile:", txtCivile),
          txtCivile});
  QLineEdit* txtTitoli = card::edit(f4, "txtTitoli", u"Titoli");
  QLineEdit* txtProdotti = card::edit(f4, "txtProdotti", u"Prodotti");
  QLineEdit* txtZona = card::edit(f4, "txtZona", u"Zona");
  s4.row(u"Titoli:", txtTitoli,
         {txtTitoli, cap(f4, u"Prodotti:", txtProdotti), txtProdotti, cap(f4, u"Zona:", txtZona), txtZona});
  left->addWidget(f4);

  card::Section s5(c, "shpSezione5", u"Questioni in sospeso");
  QWidget* f5 = s5.frame();
  QLineEdit* txtQuestioni = card::edit(f5, "txtQuestioni", u"Questioni");
  chkRicontatta = card::check(f5, "chkRicontatta", u"Da ricontattare");
  s5.row(u"Questioni:", txtQuestioni, {txtQuestioni, chkRicontatta});
  s5.row(u"Note:", card::edit(f5, "txtNote", u"Note"));
  left->addWidget(f5);

  // The attachments of the card, between the attachments window and saving.
  for (const char16_t* n : kAttachments) card::hiddenLabel(c, u"lbl"_qs + QString::fromUtf16(n));

  gui::setHoverBackgrounds(panInfo = gui::makeInfoBar(c, u"Pronto per archiviare una nuova scheda..."_qs),
                           {this, c, f1, f2, f3, f4, f5});
}

void TfrmClienti::buildButtons(QWidget* c) {
  const auto tool = [c](const char* name, QStringView art, QStringView text, bool beside) -> QWidget* {
    return card::toolButton(c, name, art, text, beside);
  };
  // The column of picture buttons beside the card.
  buttons = card::group(c, "shpPulsanti",
                        {tool("cmdNuovo", u"tb_nuovo", u"Nuovo", true), tool("cmdDuplica", u"tb_duplica", u"Duplica", true),
                         tool("cmdFile", u"tb_allega", u"Allega file", true), tool("cmdSalva", u"tb_salva", u"Salva", true),
                         tool("cmdTrova", u"tb_trova", u"Trova", true),
                         tool("cmdAnteprima", u"tb_anteprima", u"Anteprima", true),
                         tool("cmdStampa", u"tb_stampa", u"Stampa", true), tool("cmdPDF", u"tb_pdf", u"Crea PDF", true),
                         tool("cmdRicontatta", u"tb_ricontatta", u"Da ricontattare", true),
                         tool("cmdEsporta", u"tb_esporta", u"Esporta archivio", true),
                         tool("cmdGuida", u"ico_guida", u"Guida", true), tool("cmdEsci", u"ico_esci", u"Esci", true)});
  QLayout* row = buttons->layout();
  auto* column = new QVBoxLayout;
  column->setContentsMargins(8, 8, 8, 8);
  column->setSpacing(4);
  while (QLayoutItem* item = row->takeAt(0)) {
    column->addWidget(item->widget());
    static_cast<QWidget*>(item->widget())->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    delete item;
  }
  column->addStretch();
  delete row;
  buttons->setLayout(column);
  buttons->setFixedWidth(190);
  auto* columns = static_cast<QHBoxLayout*>(static_cast<QVBoxLayout*>(c->layout())->itemAt(0)->layout());
  columns->addWidget(buttons);

  // The info bar and the navigation bar along the bottom.
  lblPosizione = card::positionLabel(c);
  navigation = card::group(c, "shpNavigazione",
                           {tool("cmdPrimo", u"tb_primo", u"Prima", true), tool("cmdIndietro", u"tb_indietro", u"Precedente", true),
                            lblPosizione, tool("cmdAvanti", u"tb_avanti", u"Successiva", true),
                            tool("cmdUltimo", u"tb_ultimo", u"Ultima", true)});
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(10);
  panInfo->parentWidget()->setMinimumHeight(40);
  bottom->addWidget(panInfo->parentWidget(), 1);
  bottom->addWidget(navigation);
  static_cast<QVBoxLayout*>(c->layout())->addLayout(bottom);
  gui::setHoverBackgrounds(panInfo, {buttons, navigation, panInfo->parentWidget(), lblPosizione});
}

void TfrmClienti::declareBehaviour() {
  using gui::Keys;
  using gui::Typing;
  gui::applyTypingLimits<TCliente>(this);
  gui::setFields(this, {
      {.name = "txtCliente", .enterTo = "txtDataNasc", .frame = true},
      {.name = "txtDataNasc", .enterTo = "txtComuneNasc", .frame = true},
      {.name = "txtComuneNasc", .enterTo = "txtProvNasc", .frame = true},
      {.name = "txtProvNasc", .enterTo = "txtSesso", .typing = Typing::UpperTrim, .frame = true},
      {.name = "txtSesso", .enterTo = "txtRecapito", .typing = Typing::Upper, .frame = true},
      {.name = "txtRecapito", .enterTo = "txtIndirizzoRes", .frame = true},
      {.name = "txtIndirizzoRes", .enterTo = "txtProvRes", .frame = true},
      {.name = "txtProvRes", .enterTo = "txtComuneRes", .typing = Typing::UpperTrim, .frame = true},
      {.name = "txtComuneRes", .enterTo = "txtCapRes", .frame = true},
      {.name = "txtCapRes", .enterTo = "txtEstremi", .typing = Typing::Upper, .frame = true},
      {.name = "txtEstremi", .enterTo = "txtTelCasa", .frame = true},
      {.name = "txtTelCasa", .enterTo = "txtTelUff", .frame = true},
      {.name = "txtTelUff", .enterTo = "txtTelCel", .frame = true},
      {.name = "txtTelCel", .enterTo = "txtFax", .frame = true},
      {.name = "txtFax", .enterTo = "txtEmail", .frame = true},
      {.name = "txtEmail", .enterTo = "txtCodFisc", .typing = Typing::Trim, .frame = true},
      {.name = "txtCodFisc", .enterTo = "txtCarta", .typing = Typing::UpperTrim, .frame = true},
      // The card and VAT numbers take digits only: even Tab is swallowed there.
      {.name = "txtCarta", .enterTo = "txtScadeCarta", .keys = Keys::Digits, .frame = true, .tabMoves = false},
      {.name = "txtScadeCarta", .enterTo = "txtPartitaIva", .frame = true},
      {.name = "txtPartitaIva", .enterTo = "txtIban", .keys = Keys::Digits, .frame = true, .tabMoves = false},
      {.name = "txtIban", .enterTo = "txtDocumento", .typing = Typing::UpperTrim, .frame = true},
      {.name = "txtDocumento", .enterTo = "txtOccupazione", .frame = true},
      {.name = "txtOccupazione", .enterTo = "txtCivile", .frame = true},
      {.name = "txtCivile", .enterTo = "txtTitoli", .frame = true},
      {.name = "txtTitoli", .enterTo = "txtProdotti", .frame = true},
      {.name = "txtProdotti", .enterTo = "txtZona", .frame = true},
      {.name = "txtZona", .enterTo = "txtQuestioni", .frame = true},
      {.name = "txtQuestioni", .enterTo = "txtNote", .frame = true},
      {.name = "txtNote", .enterTo = "txtCliente", .frame = true},
  });

  // Leaving a province box or the e-mail field tidies what was put there.
  for (QComboBox* box : {txtProvNasc, txtProvRes}) {
    box->installEventFilter(new ProvinceFocus(box));
    gui::onExit(box, [box] { box->setEditText(gui::typedText(gui::Typing::UpperTrim, box->currentText())); });
  }
  auto* email = gui::requireControl<QLineEdit>(this, u"txtEmail");
  gui::onExit(email, [email] { email->setText(trimmedText(email->text())); });

  gui::setTabChain(this, {u"txtCliente", u"txtDataNasc", u"txtComuneNasc", u"txtProvNasc", u"txtSesso",
                          u"txtRecapito", u"txtIndirizzoRes", u"txtProvRes", u"txtComuneRes", u"txtCapRes",
                          u"txtEstremi", u"txtTelCasa", u"txtTelUff", u"txtTelCel", u"txtFax", u"txtEmail",
                          u"txtCodFisc", u"txtCarta", u"txtScadeCarta", u"txtPartitaIva", u"txtIban", u"txtDocumento",
                          u"txtOccupazione", u"txtCivile", u"txtTitoli", u"txtProdotti", u"txtZona", u"txtQuestioni",
                          u"chkRicontatta", u"txtNote", u"btnEmail", u"btnCodFisc", u"btnCarta", u"btnPartitaIva",
                          u"btnIban", u"cmdNuovo", u"cmdDuplica", u"cmdFile", u"cmdSalva", u"cmdTrova",
                          u"cmdAnteprima", u"cmdStampa", u"cmdPDF", u"cmdRicontatta", u"cmdEsporta", u"cmdGuida",
                          u"cmdEsci", u"cmdPrimo", u"cmdIndietro", u"cmdAvanti", u"cmdUltimo"});

  gui::setHoverSentences(panInfo, this, clientTexts::editorHover());
}

// ---- The card and its controls ---------------------------------------------

QString TfrmClienti::archiveFile() const { return clientArchivePath(gui::programFolder()); }

QString TfrmClienti::trimmedField(QStringView name) const {
  return trimmedText(gui::controlText(gui::requireControl(this, name)));
}

ClientCard TfrmClienti::cardFromControls() const {
  ClientCard c;
  static_cast<CardTexts<TCliente>&>(c) = gui::readCard<TCliente>(this);
  c.ricontatta = chkRicontatta->isChecked();
  return c;
}

TCliente TfrmClienti::cardRecord() const { return recordFromClientCard(cardFromControls()); }

void TfrmClienti::putCard(const ClientCard& c) { gui::writeCard<TCliente>(this, c); }

qint64 TfrmClienti::position() const {
  const QString t = trimmedText(lblPosizione->text());
  if (t.isEmpty()) return 0;
  bool ok = false;
  const qint64 p = t.toLongLong(&ok);
  return ok ? p : -1;  // a position no archive has
}

void TfrmClienti::setPosition(qint64 p) { lblPosizione->setText(p > 0 ? QString::number(p) : QString()); }

void TfrmClienti::ClearCard() {
  const ClientCard c = newClientCard();
  putCard(c);
  chkRicontatta->setChecked(c.ricontatta);
  for (QComboBox* box : {txtProvNasc, txtProvRes}) {
    box->setCurrentIndex(-1);
    box->setEditText(QString());
  }
  setPosition(0);
  txtCliente->setFocus(Qt::OtherFocusReason);
}

// The province boxes' list selection is left as it is: only their text changes.
void TfrmClienti::ShowRecord(const TCliente& record) {
  const ShownClient s = showClientRecord(record);
  putCard(s.card);
  if (s.ricontatta) chkRicontatta->setChecked(*s.ricontatta);
}

void TfrmClienti::showStoredRecord(const TCliente& record, qint64 p) {
  ShowRecord(record);
  setPosition(p);
}

// ---- Showing and closing ----------------------------------------------------

// Every entry into the editor starts from an empty new card.
void TfrmClienti::FormShow() { ClearCard(); }

// The card on screen is dropped without a question; the launcher comes back.
void TfrmClienti::FormClose() { gui::switchTo(this, windowSet().frmAvvio); }

void TfrmClienti::cmdEsciClick() { close(); }

// ---- Browsing ---------------------------------------------------------------

void TfrmClienti::showMove(const CursorMove<TCliente>& m) {
  switch (m.kind) {
    case CursorMove<TCliente>::Show: showStoredRecord(m.record, m.position); break;
    case CursorMove<TCliente>::Empty:
      if (m.forgetPosition) setPosition(0);
      gui::notice(this, gui::Icon::Information, clientTexts::emptyArchive());
      break;
    case CursorMove<TCliente>::Stay: break;
  }
}

void TfrmClienti::cmdPrimoClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).first()); });
}

void TfrmClienti::cmdUltimoClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).last()); });
}

void TfrmClienti::cmdAvantiClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).next(position())); });
}

void TfrmClienti::cmdIndietroClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).previous(position())); });
}

// ---- Entering, saving, duplicating ------------------------------------------

void TfrmClienti::cmdNuovoClick() { ClearCard(); }

void TfrmClienti::cmdSalvaClick() {
  const ClientCard card = cardFromControls();
  if (const auto problem = checkClientBeforeSave(card)) {
    gui::show(this, *problem);
    txtCliente->setFocus(Qt::OtherFocusReason);
    return;
  }
  const qint64 p = position();
  gui::saveStep(
      this,
      [&] {
        setPosition(Cursor(archiveFile()).save(p, recordFromClientCard(card)));
        gui::notice(this, gui::Icon::Information,
                    p != 0 ? clientTexts::savedChanges() : clientTexts::savedNew());
      },
      [this](qint64 stored) { setPosition(stored); });
}

void TfrmClienti::cmdDuplicaClick() {
  if (position() == 0) {
    gui::notice(this, gui::Icon::Warning, clientTexts::duplicateNeedsStoredCard());
    return;
  }
  ClientCard card = cardFromControls();
  duplicateClientCard(card);
  putCard(card);
  setPosition(0);
  // Only a test that the archive can be used: nothing is written until Salva.
  const bool usable = gui::archiveStep(this, [this] {
    ClientArchive::OpenOrCreate(archiveFile()).Close();
    txtCliente->setFocus(Qt::OtherFocusReason);
  });
  if (usable) gui::notice(this, gui::Icon::Information, clientTexts::duplicateReady());
}

// ---- Windows opened from the editor ----------------------------------------

void TfrmClienti::btnEmailClick() { gui::TMisc::Open(mailtoOpenText(trimmedField(u"txtEmail"))); }

// A tax code of digits only is a VAT number: it goes to the VAT check.
void TfrmClienti::btnCodFiscClick() {
  const QString code = trimmedField(u"txtCodFisc");
  if (checks::codFiscGoesToPartitaIva(code)) {
    gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { gui::setControlText(&w, u"txtPartitaIva", code); });
    return;
  }
  gui::openPerUse<TfrmCodFisc>(this, [&](auto& w) { gui::setControlText(&w, u"txtCodFisc", code); });
}

void TfrmClienti::btnPartitaIvaClick() {
  const QString number = trimmedField(u"txtPartitaIva");
  gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { gui::setControlText(&w, u"txtPartitaIva", number); });
}

void TfrmClienti::btnCartaClick() {
  const QString number = trimmedField(u"txtCarta");
  gui::openPerUse<TfrmCarta>(this, [&](auto& w) { gui::setControlText(&w, u"txtNumero", number); });
}

void TfrmClienti::btnIbanClick() {
  const QString iban = trimmedField(u"txtIban");
  gui::openPerUse<TfrmIban>(this, [&](auto& w) { gui::setControlText(&w, u"txtIban", iban); });
}

void TfrmClienti::cmdFileClick() {
  gui::openPerUse<TfrmAllegaCartella>(this, [this](auto& w) {
    gui::setMemoryMode(&w, gui::mode::Clienti);
    for (const char16_t* n : kAttachments) {
      const QString name = QString::fromUtf16(n);
      if (auto* field = w.template findChild<QLineEdit*>(u"txt"_qs + name))
        field->setText(trimmedField(u"lbl"_qs + name));
    }
  });
}

// ---- Printing ---------------------------------------------------------------

void TfrmClienti::cmdStampaClick() {
  report::Report r = report::clientCardReport(cardFromControls(), QDateTime::currentDateTime());
  gui::print(this, r, gui::PrintTarget::Printer);
}

void TfrmClienti::cmdAnteprimaClick() {
  report::Report r = report::clientCardReport(cardFromControls(), QDateTime::currentDateTime());
  gui::print(this, r, gui::PrintTarget::Preview);
}

// Written whole under a temporary name, then renamed: a failure leaves no
// half-written "Cliente.pdf" and shows why instead of the success question.
void TfrmClienti::cmdPDFClick() {
  report::Report r = report::clientCardReport(cardFromControls(), QDateTime::currentDateTime());
  const QString path = gui::programFolder() + clientTexts::pdfName();
  if (!gui::print(this, r, gui::PrintTarget::Pdf, 1, path)) return;
  if (gui::question(this, clientTexts::pdfDone())) gui::TMisc::Open(u"\""_qs + path + u"\""_qs);
}

void TfrmClienti::cmdTrovaClick() {
  gui::openPerUse<TfrmTrovaClienti>(this, [](auto& w) { gui::setMemoryMode(&w, gui::mode::Clienti); });
}

void TfrmClienti::cmdRicontattaClick() { gui::openPerUse<TfrmRicontatta>(this); }

void TfrmClienti::cmdEsportaClick() { gui::openPerUse<TfrmExpClienti>(this); }

void TfrmClienti::cmdGuidaClick() {
  TfrmGuida::Show(this, u"Applicazione Pagatori e Beneficiari."_qs, gui::guidePage(u"clienti"_qs));
}

}  // namespace fondaro
