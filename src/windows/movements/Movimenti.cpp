#include "movements/Movimenti.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "clients/TrovaClienti.h"
#include "core/checks.h"
#include "core/cursor.h"
#include "core/movementcard.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/archivestep.h"
#include "gui/cardform.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/infobar.h"
#include "gui/openurl.h"
#include "gui/widgets.h"
#include "gui/product.h"
#include "movements/AllegaCartella.h"
#include "movements/Calendario.h"
#include "movements/ExpMovimenti.h"
#include "movements/MenuMovimenti.h"
#include "movements/SospesiMov.h"
#include "movements/StampaMovimento.h"
#include "movements/Texts.h"
#include "movements/TrovaMovimenti.h"
#include "validators/CodFisc.h"
#include "validators/PartitaIVA.h"

namespace fondaro {

namespace {

namespace card = gui::card;
using Cursor = RecordCursor<TMovimento>;

// The control each save check sends the focus to.
QStringView controlOf(CardField f) {
  static constexpr std::pair<CardField, QStringView> controls[] = {
      {CardField::Causale, u"txtCausale"},       {CardField::Data, u"txtData"},
      {CardField::DataSca, u"txtDataSca"},       {CardField::Preavviso, u"txtPreavviso"},
      {CardField::Pagatore, u"txtPagatore"},     {CardField::Beneficiario, u"txtBeneficiario"},
      {CardField::Importo, u"txtImporto"},       {CardField::Entrata, u"optEntrata"},
      {CardField::Email, u"txtEmail"}};
  for (const auto& [field, name] : controls)
    if (field == f) return name;
  return u"txtCausale";
}

// A read-only date field, centred, with its clear button.
QLineEdit* dateField(QWidget* parent, const char* name, QStringView what) {
  QLineEdit* e = card::edit(parent, name, what);
  e->setReadOnly(true);
  e->setAlignment(Qt::AlignCenter);
  e->setFixedWidth(150);
  return e;
}

}  // namespace

// ---- Construction -----------------------------------------------------------

TfrmMovimenti::TfrmMovimenti(QWidget* owner) : CardEditor(owner, Kind::Work) {
  setObjectName(u"frmMovimenti"_qs);
  setWindowTitle(gui::windowCaption(u"Registro movimenti"));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(1220, 712);
  auto* v = new QVBoxLayout(c);
  v->setContentsMargins(14, 12, 14, 12);
  v->setSpacing(10);
  buildToolbar(c);
  buildCard(c);
  declareBehaviour();
  gui::connectClickSlots(this);
  ClearCard();
}

void TfrmMovimenti::buildToolbar(QWidget* c) {
  const auto tool = [c](const char* name, QStringView art, QStringView text, bool beside = false) -> QWidget* {
    return card::toolButton(c, name, art, text, beside);
  };
  lblPosizione = card::positionLabel(c);
  auto* bar = new QHBoxLayout;
  bar->setSpacing(10);
  bar->addWidget(card::group(c, "shpGruppo1", {tool("cmdNuovo", u"tb_nuovo", u"Nuovo"),
                                               tool("cmdDuplica", u"tb_duplica", u"Duplica"),
                                               tool("cmdSalva", u"tb_salva", u"Salva"),
                                               tool("cmdTrova", u"tb_trova", u"Trova")}));
  bar->addWidget(card::group(c, "shpGruppo2", {tool("cmdFile", u"tb_allega", u"Allega file", true)}));
  bar->addWidget(card::group(c, "shpGruppo3", {tool("cmdStampa", u"tb_stampa", u"Stampa", true)}));
  bar->addWidget(card::group(c, "shpGruppo4", {tool("cmdPrimo", u"tb_primo", u"Prima"),
                                               tool("cmdIndietro", u"tb_indietro", u"Precedente"), lblPosizione,
                                               tool("cmdAvanti", u"tb_avanti", u"Successiva"),
                                               tool("cmdUltimo", u"tb_ultimo", u"Ultima")}));
  bar->addWidget(card::group(c, "shpGruppo5", {tool("cmdEsporta", u"tb_esporta", u"Esporta"),
                                               tool("cmdScadenze", u"tb_scadenze", u"Scadenze")}));
  bar->addWidget(card::group(c, "shpGruppo6", {tool("cmdGuida", u"ico_guida", u"Guida"),
                                               tool("cmdEsci", u"ico_esci", u"Esci")}));
  static_cast<QVBoxLayout*>(c->layout())->addLayout(bar);
}

void TfrmMovimenti::buildCard(QWidget* c) {
  auto* v = static_cast<QVBoxLayout*>(c->layout());

  card::Section s1(c, "shpSezione1", u"Dati del movimento");
  QWidget* f1 = s1.frame();
  auto* panMovimento = new QWidget(f1);
  panMovimento->setObjectName(u"panMovimento"_qs);
  optEntrata = card::option(panMovimento, "optEntrata", u"Entrata");
  optUscita = card::option(panMovimento, "optUscita", u"Uscita");
  auto* pm = new QHBoxLayout(panMovimento);
  pm->setContentsMargins(0, 0, 0, 0);
  pm->setSpacing(22);
  pm->addWidget(optEntrata);
  pm->addWidget(optUscita);
  pm->addStretch();
  txtData = dateField(f1, "txtData", u"Data operazione");
  txtDataSca = dateField(f1, "txtDataSca", u"Data scadenza");
  txtCausale = card::edit(f1, "txtCausale", u"Causale");
  QLineEdit* txtPreavviso = card::edit(f1, "txtPreavviso", u"Giorni di preavviso");
  txtPreavviso->setAlignment(Qt::AlignCenter);
  txtPreavviso->setFixedWidth(64);
  auto* giorni = new QLabel(u"giorni prima della scadenza."_qs, f1);
  giorni->setFont(gui::windowFont("Verdana", 10));
  s1.row(u"Tipo movimento:", optEntrata,
         {panMovimento, card::caption(f1, u"Data operazione:", txtData), txtData,
          card::fieldButton(f1, "impData", u"ico_cancella", u"Cancella la data")});
  static_cast<QHBoxLayout*>(s1.grid()->itemAtPosition(0, 1)->layout())->insertStretch(1);
  s1.row(u"Causale:", txtCausale);
  s1.row(u"Promemoria:", card::edit(f1, "txtPromemoria", u"Promemoria"));
  s1.row(u"Data scadenza:", txtDataSca,
         {txtDataSca, card::fieldButton(f1, "impDataSca", u"ico_cancella", u"Cancella la data di scadenza"),
          card::caption(f1, u"      Avvisa n.", txtPreavviso), txtPreavviso, giorni});
  v->addWidget(f1);

  // The amount band.
  QFrame* band = card::shape(c, "shpImporto");
  band->setStyleSheet(
      u"QFrame#shpImporto { border: 1px solid #C9A227; border-radius: 10px;"
      " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFF8DC, stop:1 #F5E3A1); }"_qs);
  lblImporto = new QLabel(band);
  lblImporto->setObjectName(u"lblImporto"_qs);
  lblImporto->setFont(gui::windowFont("Verdana", 14, true));
  txtImporto = card::edit(band, "txtImporto", u"Importo in euro");
  txtImporto->setFont(gui::windowFont("Verdana", 18, true));
  txtImporto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtImporto->setFixedSize(300, 40);
  lblImporto->setBuddy(txtImporto);
  auto* bandRow = new QHBoxLayout(band);
  bandRow->setContentsMargins(24, 8, 24, 8);
  bandRow->addStretch();
  bandRow->addWidget(lblImporto);
  bandRow->addSpacing(12);
  bandRow->addWidget(txtImporto);
  v->addWidget(band);

  card::Section s2(c, "shpSezione2", u"Pagatore");
  QWidget* f2 = s2.frame();
  s2.row(u"Pagatore:", card::edit(f2, "txtPagatore", u"Pagatore"),
         card::fieldButton(f2, "impPagatore", u"ico_importa", u"Importa il pagatore dall'archivio anagrafico"));
  s2.row(u"Recapito:", card::edit(f2, "txtRecapitoPag", u"Recapito del pagatore"));
  s2.row(u"Codice fiscale:", card::edit(f2, "txtCodFisc", u"Codice fiscale"),
         card::fieldButton(f2, "chkCodFisc", u"ico_controlla", u"Controlla il codice fiscale"));
  s2.row(u"Partita IVA:", card::edit(f2, "txtPartitaIva", u"Partita IVA"),
         card::fieldButton(f2, "chkIva", u"ico_controlla", u"Controlla la partita IVA"));
  s2.row(u"Categoria:", card::edit(f2, "txtCategoria", u"Categoria"));
  s2.row(u"E-mail:", card::edit(f2, "txtEmail", u"E-mail"),
         card::fieldButton(f2, "sndEmail", u"ico_email", u"Invia una e-mail"));

  card::Section s3(c, "shpSezione3", u"Beneficiario e pagamento");
  QWidget* f3 = s3.frame();
  s3.row(u"Modalit\u00E0 pagamento:", card::edit(f3, "txtPagamento", u"Modalit\u00E0 pagamento"));
  s3.row(u"Beneficiario:", card::edit(f3, "txtBeneficiario", u"Beneficiario"),
         card::fieldButton(f3, "impBeneficiario", u"ico_importa",
                           u"Importa il beneficiario dall'archivio anagrafico"));
  s3.row(u"Recapito:", card::edit(f3, "txtRecapitoBen", u"Recapito del beneficiario"));
  s3.row(u"CRO / Ricevuta n.", card::edit(f3, "txtRicevuta", u"CRO / Ricevuta n."));

  card::Section s4(c, "shpSezione4", u"Note");
  QWidget* f4 = s4.frame();
  chkSaldato = card::check(f4, "chkSaldato", u"Saldato");
  s4.row(u"Note:", card::edit(f4, "txtNote", u"Note"));
  s4.row(u"Tariffa applicata:", card::edit(f4, "txtTariffa", u"Tariffa applicata"), chkSaldato);

  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  columns->addWidget(f2, 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(10);
  right->addWidget(f3);
  right->addWidget(f4);
  columns->addLayout(right, 1);
  v->addLayout(columns, 1);

  panInfo = gui::makeInfoBar(c, u"Pronto per archiviare una nuova scheda..."_qs);
  panInfo->parentWidget()->setMinimumHeight(32);
  v->addWidget(panInfo->parentWidget());

  // State that is not shown: the archive, the attachments, the amount rule.
  lblFile = card::hiddenLabel(c, u"lblFile");
  for (QStringView n : {u"lblFile01", u"lblFile02", u"lblFile03", u"lblDesc01", u"lblDesc02", u"lblDesc03"})
    card::hiddenLabel(c, n);
  btnCents = new QPushButton(c);
  btnCents->setObjectName(u"btnCents"_qs);
  btnCents->setVisible(false);

  // The option panel is no background: moving over it leaves the sentence.
  gui::setHoverBackgrounds(panInfo, {this, c, f1, f2, f3, f4, band});
  std::vector<QWidget*> groups;
  for (int i = 1; i <= 6; ++i) groups.push_back(gui::requireControl(c, u"shpGruppo%1"_qs.arg(i)));
  gui::setHoverBackgrounds(panInfo, groups);
}

void TfrmMovimenti::declareBehaviour() {
  using gui::Keys;
  using gui::Typing;
  gui::applyTypingLimits<TMovimento>(this);
  gui::setFields(this, {
      {.name = "txtData", .frame = true},
      {.name = "txtCausale", .enterTo = "txtPromemoria", .frame = true},
      {.name = "txtPromemoria", .enterTo = "txtDataSca", .frame = true},
      {.name = "txtDataSca", .frame = true},
      {.name = "txtPreavviso", .enterTo = "txtImporto", .keys = Keys::Digits, .maxLength = 3, .frame = true},
      {.name = "txtImporto", .enterTo = "txtPagatore", .keys = Keys::Amount, .frame = true},
      {.name = "txtPagatore", .enterTo = "txtRecapitoPag", .frame = true},
      {.name = "txtRecapitoPag", .enterTo = "txtCodFisc", .frame = true},
      {.name = "txtCodFisc", .enterTo = "txtPartitaIva", .typing = Typing::UpperTrim, .frame = true},
      {.name = "txtPartitaIva", .enterTo = "txtCategoria", .keys = Keys::Digits, .frame = true},
      {.name = "txtCategoria", .enterTo = "txtEmail", .frame = true},
      {.name = "txtEmail", .enterTo = "txtPagamento", .typing = Typing::Trim, .frame = true},
      {.name = "txtPagamento", .enterTo = "txtBeneficiario", .frame = true},
      {.name = "txtBeneficiario", .enterTo = "txtRecapitoBen", .frame = true},
      {.name = "txtRecapitoBen", .enterTo = "txtRicevuta", .frame = true},
      {.name = "txtRicevuta", .enterTo = "txtNote", .frame = true},
      {.name = "txtNote", .enterTo = "txtTariffa", .frame = true},
      {.name = "txtTariffa", .enterTo = "txtData", .frame = true},
  });

  // The read-only date fields: Backspace or Delete empties the field; any
  // other key (Enter included) opens the calendar. A modifier pressed alone is
  // no key of its own, so Shift+Tab still goes back along the tab order.
  const auto dateKeys = [this](QLineEdit* field, QStringView mode) {
    gui::onKeyDown(field, [this, field, mode](QKeyEvent* k) {
      if (k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete) field->clear();
      else if (!gui::isModifierKey(k->key())) openCalendar(mode);
      return true;
    });
  };
  dateKeys(txtData, gui::mode::MovimentiData);
  dateKeys(txtDataSca, gui::mode::MovimentiScadenza);
  gui::onExit(txtImporto, [this] { btnCentsClick(); });

  // The card, then the small buttons, then the toolbar.
  gui::setTabChain(this, {u"optEntrata", u"optUscita", u"txtData", u"txtCausale", u"txtPromemoria", u"txtDataSca",
                          u"txtPreavviso", u"txtImporto", u"txtPagatore", u"txtRecapitoPag", u"txtCodFisc",
                          u"txtPartitaIva", u"txtCategoria", u"txtEmail", u"txtPagamento", u"txtBeneficiario",
                          u"txtRecapitoBen", u"txtRicevuta", u"txtNote", u"txtTariffa", u"chkSaldato", u"impData",
                          u"impDataSca", u"impPagatore", u"chkCodFisc", u"chkIva", u"sndEmail", u"impBeneficiario",
                          u"cmdNuovo", u"cmdDuplica", u"cmdSalva", u"cmdTrova", u"cmdFile", u"cmdStampa",
                          u"cmdPrimo", u"cmdIndietro", u"cmdAvanti", u"cmdUltimo", u"cmdEsporta", u"cmdScadenze",
                          u"cmdGuida", u"cmdEsci"});

  gui::setHoverSentences(panInfo, this, movementTexts::editorHover());
}

// ---- The card and its controls ---------------------------------------------

void TfrmMovimenti::setArchiveFile(const QString& path) { lblFile->setText(path); }

QString TfrmMovimenti::archiveFile() const { return trimmedText(lblFile->text()); }

MovementCard TfrmMovimenti::cardFromControls() const {
  MovementCard c;
  static_cast<CardTexts<TMovimento>&>(c) = gui::readCard<TMovimento>(this);
  c.entrata = optEntrata->isChecked();
  c.uscita = optUscita->isChecked();
  c.saldato = chkSaldato->isChecked();
  return c;
}

void TfrmMovimenti::putCard(const MovementCard& c) { gui::writeCard<TMovimento>(this, c); }

// The amount label tells which option is chosen: in (black) only when
// "Entrata" is chosen, out (red) otherwise.
void TfrmMovimenti::showInOut() {
  const InOutDisplay d = inOutDisplay(optEntrata->isChecked());
  lblImporto->setText(d.text);
  QPalette p = lblImporto->palette();
  p.setColor(QPalette::WindowText, QColor::fromRgba(d.argb));
  lblImporto->setPalette(p);
}

void TfrmMovimenti::focusField(CardField f) { gui::requireControl(this, controlOf(f))->setFocus(Qt::OtherFocusReason); }

qint64 TfrmMovimenti::position() const {
  const QString t = trimmedText(lblPosizione->text());
  if (t.isEmpty()) return 0;
  bool ok = false;
  const qint64 p = t.toLongLong(&ok);
  return ok ? p : -1;  // a position no archive has
}

void TfrmMovimenti::setPosition(qint64 p) { lblPosizione->setText(p > 0 ? QString::number(p) : QString()); }

void TfrmMovimenti::ClearCard() {
  const MovementCard c = newCard();
  putCard(c);
  card::setOption(optEntrata, c.entrata);
  card::setOption(optUscita, c.uscita);
  chkSaldato->setChecked(c.saldato);
  showInOut();
  setPosition(0);
  txtCausale->setFocus(Qt::OtherFocusReason);
}

void TfrmMovimenti::ShowRecord(const TMovimento& record) {
  const ShownRecord s = showRecord(record);
  putCard(s.card);
  // A flag that is neither "Sì" nor "No" leaves its control as it was.
  if (s.entrata) card::setOption(optEntrata, *s.entrata);
  if (s.uscita) card::setOption(optUscita, *s.uscita);
  if (s.saldato) chkSaldato->setChecked(*s.saldato);
  showInOut();
}

void TfrmMovimenti::showStoredRecord(const TMovimento& record, qint64 p) {
  ShowRecord(record);
  setPosition(p);
}

// ---- Showing and closing ----------------------------------------------------

// Every entry into the editor starts from an empty new card.
void TfrmMovimenti::FormShow() { ClearCard(); }

// The card on screen is dropped without a question; the launcher comes back.
void TfrmMovimenti::FormClose() { gui::switchTo(this, windowSet().frmAvvio); }

void TfrmMovimenti::cmdEsciClick() { close(); }

// ---- Browsing ---------------------------------------------------------------

void TfrmMovimenti::showMove(const CursorMove<TMovimento>& m) {
  switch (m.kind) {
    case CursorMove<TMovimento>::Show: showStoredRecord(m.record, m.position); break;
    case CursorMove<TMovimento>::Empty:
      if (m.forgetPosition) setPosition(0);
      gui::notice(this, gui::Icon::Information, movementTexts::emptyArchive());
      break;
    case CursorMove<TMovimento>::Stay: break;
  }
}

void TfrmMovimenti::cmdPrimoClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).first()); });
}

void TfrmMovimenti::cmdUltimoClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).last()); });
}

void TfrmMovimenti::cmdAvantiClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).next(position())); });
}

void TfrmMovimenti::cmdIndietroClick() {
  gui::archiveStep(this, [this] { showMove(Cursor(archiveFile()).previous(position())); });
}

// ---- Entering ---------------------------------------------------------------

void TfrmMovimenti::cmdNuovoClick() { ClearCard(); }

void TfrmMovimenti::optEntrataClick() { showInOut(); }

void TfrmMovimenti::optUscitaClick() { showInOut(); }

void TfrmMovimenti::impDataClick() { txtData->clear(); }

void TfrmMovimenti::impDataScaClick() { txtDataSca->clear(); }

void TfrmMovimenti::btnCentsClick() { txtImporto->setText(normaliseAmount(txtImporto->text())); }

void TfrmMovimenti::openCalendar(QStringView mode) {
  gui::openPerUse<TfrmCalendario>(this, [mode](TfrmCalendario& w) { gui::setMemoryMode(&w, mode); });
}

// ---- Saving and duplicating -------------------------------------------------

void TfrmMovimenti::cmdSalvaClick() {
  btnCents->click();
  const MovementCard card = cardFromControls();
  if (const auto problem = checkBeforeSave(card)) {
    gui::show(this, problem->notice);
    focusField(problem->focus);
    return;
  }
  const qint64 p = position();
  gui::saveStep(
      this,
      [&] {
        setPosition(Cursor(archiveFile()).save(p, recordFromCard(card)));
        gui::notice(this, gui::Icon::Information,
                    p != 0 ? movementTexts::savedChanges() : movementTexts::savedNew());
      },
      [this](qint64 stored) { setPosition(stored); });
}

void TfrmMovimenti::cmdDuplicaClick() {
  if (position() == 0) {
    gui::notice(this, gui::Icon::Warning, movementTexts::duplicateNeedsStoredCard());
    return;
  }
  MovementCard card = cardFromControls();
  duplicateCard(card);
  putCard(card);
  chkSaldato->setChecked(card.saldato);
  setPosition(0);
  // Only a test that the archive can be used: nothing is written until Salva.
  const bool usable = gui::archiveStep(
      this,
      [this] {
        MovementArchive::OpenOrCreate(archiveFile()).Close();
        txtCausale->setFocus(Qt::OtherFocusReason);
      },
      gui::Icon::Warning);
  if (usable) gui::notice(this, gui::Icon::Information, movementTexts::duplicateReady());
}

void TfrmMovimenti::sndEmailClick() {
  const MailResult mail = mailLink(gui::controlText(gui::requireControl(this, u"txtEmail")));
  if (mail.problem) {
    gui::show(this, mail.problem->notice);
    focusField(mail.problem->focus);
    return;
  }
  gui::TMisc::Open(*mail.openText);
}

// ---- Windows opened from the editor ----------------------------------------

void TfrmMovimenti::cmdTrovaClick() {
  gui::openPerUse<TfrmTrovaMovimenti>(this, [](auto& w) { gui::setMemoryMode(&w, gui::mode::Movimenti); });
}

void TfrmMovimenti::cmdScadenzeClick() { gui::openPerUse<TfrmSospesiMov>(this); }

void TfrmMovimenti::cmdStampaClick() { gui::openPerUse<TfrmStampaMovimento>(this); }

void TfrmMovimenti::cmdEsportaClick() { gui::openPerUse<TfrmExpMovimenti>(this); }

void TfrmMovimenti::cmdFileClick() {
  gui::openPerUse<TfrmAllegaCartella>(this, [this](auto& w) {
    gui::setMemoryMode(&w, gui::mode::Movimenti);
    for (const char16_t* n : {u"File01", u"File02", u"File03", u"Desc01", u"Desc02", u"Desc03"}) {
      const QString name = QString::fromUtf16(n);
      const QString text = trimmedText(gui::controlText(gui::requireControl(this, u"lbl"_qs + name)));
      if (auto* field = w.template findChild<QLineEdit*>(u"txt"_qs + name)) field->setText(text);
    }
  });
}

void TfrmMovimenti::impPagatoreClick() {
  gui::openPerUse<TfrmTrovaClienti>(this,
                                    [](auto& w) { gui::setMemoryMode(&w, gui::mode::MovimentiPagatore); });
}

void TfrmMovimenti::impBeneficiarioClick() {
  gui::openPerUse<TfrmTrovaClienti>(this,
                                    [](auto& w) { gui::setMemoryMode(&w, gui::mode::MovimentiBeneficiario); });
}

// A tax code of digits only is a VAT number: it goes to the VAT check.
void TfrmMovimenti::chkCodFiscClick() {
  const QString code = trimmedText(gui::controlText(gui::requireControl(this, u"txtCodFisc")));
  if (checks::codFiscGoesToPartitaIva(code)) {
    gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { gui::setControlText(&w, u"txtPartitaIva", code); });
    return;
  }
  gui::openPerUse<TfrmCodFisc>(this, [&](auto& w) { gui::setControlText(&w, u"txtCodFisc", code); });
}

void TfrmMovimenti::chkIvaClick() {
  const QString number = trimmedText(gui::controlText(gui::requireControl(this, u"txtPartitaIva")));
  gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { gui::setControlText(&w, u"txtPartitaIva", number); });
}

void TfrmMovimenti::cmdGuidaClick() { showRegisterGuide(this); }

}  // namespace fondaro
