// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/Movimenti.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "core/cursor.h"
#include "core/movementcard.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/archivestep.h"
#include "gui/cardform.h"
#include "gui/cardtable.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/infobar.h"
#include "gui/openurl.h"
#include "gui/widgets.h"
#include "gui/product.h"
#include "movements/Calendario.h"
#include "movements/CategoryCompletion.h"
#include "movements/ExpMovimenti.h"
#include "movements/MenuMovimenti.h"
#include "movements/Ripeti.h"
#include "movements/SospesiMov.h"
#include "movements/StampaMovimento.h"
#include "movements/Texts.h"
#include "movements/TrovaMovimenti.h"
#include "common/AllegaCartella.h"
#include "gui/storedrecord.h"
#include "validators/opencheck.h"

namespace fondaro {

namespace {

namespace card = gui::card;

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

const gui::EditorNotices kNotices = {
    .emptyArchive = movementTexts::emptyArchive,
    .savedNew = movementTexts::savedNew,
    .savedChanges = movementTexts::savedChanges,
    .duplicateNeedsStoredCard = movementTexts::duplicateNeedsStoredCard,
    .duplicateReady = movementTexts::duplicateReady,
    .duplicateFailure = gui::Icon::Warning,
};

}  // namespace

// ---- Construction -----------------------------------------------------------

TfrmMovimenti::TfrmMovimenti(QWidget* owner) : RecordEditor(owner, kNotices) {
  setObjectName(u"frmMovimenti"_qs);
  setWindowTitle(gui::windowCaption(u"Registro movimenti"));
  gui::setFormatSettings();
  setGradientBackground(true);

  buildCard(makeCard(1220, 712));
  declareBehaviour();
  gui::connectClickSlots(this);
  ClearCard();
}

// The toolbar along the top, the first section, the amount band, the other
// sections in two columns, the info bar.
void TfrmMovimenti::buildCard(QVBoxLayout* v) {
  QWidget* c = v->parentWidget();
  auto* bar = new QHBoxLayout;
  // Six groups side by side: the gaps are kept small, so that every tool shows
  // its whole caption ("Precedente" included) beside "Ripeti...".
  bar->setSpacing(4);
  std::vector<QWidget*> groups;
  for (const card::ToolGroup& g : movementTexts::editorToolbar()) bar->addWidget(groups.emplace_back(card::buildGroup(c, g)));
  v->addLayout(bar);
  // "Ripeti..." stands narrower than the other tools, so that the described
  // groups keep their room in the row.
  gui::requireControl(this, u"cmdRipeti")->setMinimumWidth(52);
  setPositionLabel(gui::requireControl<QLabel>(this, u"lblPosizione"));

  const std::vector<QFrame*> s = card::buildSections(c, movementTexts::editorSections(), movementTexts::editorRows());
  v->addWidget(s[0]);
  buildAmountBand(c);
  v->addWidget(band);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  columns->addWidget(s[1], 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(10);
  right->addWidget(s[2]);
  right->addWidget(s[3]);
  columns->addLayout(right, 1);
  v->addLayout(columns, 1);

  panInfo = gui::makeInfoBar(c, movementTexts::kReady.toString());
  panInfo->parentWidget()->setMinimumHeight(32);
  v->addWidget(panInfo->parentWidget());

  // State that is not shown: the archive, the attachments, the amount rule.
  lblFile = card::hiddenLabel(c, u"lblFile");
  for (QStringView n : {u"lblFile01", u"lblFile02", u"lblFile03", u"lblDesc01", u"lblDesc02", u"lblDesc03"})
    card::hiddenLabel(c, n);
  btnCents = new QPushButton(c);
  btnCents->setObjectName(u"btnCents"_qs);
  btnCents->setVisible(false);

  optEntrata = gui::requireControl<QRadioButton>(this, u"optEntrata");
  optUscita = gui::requireControl<QRadioButton>(this, u"optUscita");
  chkSaldato = gui::requireControl<QCheckBox>(this, u"chkSaldato");
  txtData = gui::requireControl<QLineEdit>(this, u"txtData");
  txtDataSca = gui::requireControl<QLineEdit>(this, u"txtDataSca");
  txtCausale = gui::requireControl<QLineEdit>(this, u"txtCausale");

  // The option panel is no background: moving over it leaves the sentence.
  gui::setHoverBackgrounds(panInfo, {this, c, s[0], s[1], s[2], s[3], band});
  gui::setHoverBackgrounds(panInfo, groups);
}

// The amount between two lines of gold, its caption telling in or out.
void TfrmMovimenti::buildAmountBand(QWidget* c) {
  band = card::shape(c, "shpImporto");
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
}

void TfrmMovimenti::declareBehaviour() {
  gui::applyTypingLimits<TMovimento>(this);
  card::declareCard(this, panInfo, movementTexts::editorRows(), movementTexts::editorToolbar());
  // The recurring movements' tool comes last in the Tab order, after "Esci", so
  // the keys that reach the described commands stay as they were.
  setTabOrder(gui::requireControl(this, u"cmdEsci"), gui::requireControl(this, u"cmdRipeti"));

  // The read-only date fields: Backspace or Delete empties the field; any
  // other key (Enter included) opens the calendar. A modifier pressed alone is
  // no key of its own, so Shift+Tab still goes back along the tab order.
  for (QLineEdit* field : {txtData, txtDataSca}) {
    gui::onKeyDown(field, [this, field](QKeyEvent* k) {
      if (k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete) field->clear();
      else if (!gui::isModifierKey(k->key())) openCalendar(field);
      return true;
    });
  }
  gui::onExit(txtImporto, [this] { btnCentsClick(); });
  attachCategoryCompletion(gui::requireControl<QLineEdit>(this, u"txtCategoria"), [this] { return archiveFile(); });
}

// ---- The card and its controls ---------------------------------------------

void TfrmMovimenti::setArchiveFile(const QString& path) { lblFile->setText(path); }

QString TfrmMovimenti::archiveFile() const { return trimmedText(lblFile->text()); }

MovementCard TfrmMovimenti::card() const {
  MovementCard c;
  static_cast<CardTexts<TMovimento>&>(c) = gui::readCard<TMovimento>(this);
  c.entrata = optEntrata->isChecked();
  c.uscita = optUscita->isChecked();
  c.saldato = chkSaldato->isChecked();
  return c;
}

TMovimento TfrmMovimenti::cardRecord() const { return recordFromCard(card()); }

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

void TfrmMovimenti::focusFirstField() { txtCausale->setFocus(Qt::OtherFocusReason); }

void TfrmMovimenti::ClearCard() {
  const MovementCard c = newCard();
  putCard(c);
  card::setOption(optEntrata, c.entrata);
  card::setOption(optUscita, c.uscita);
  chkSaldato->setChecked(c.saldato);
  showInOut();
  setPosition(0);
  focusFirstField();
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

void TfrmMovimenti::importPerson(std::span<const FieldBinding<TCliente>> fields) {
  if (const auto person = pickPerson(this)) gui::writeFields(this, fields, person->record);
}

// The launcher comes back.
void TfrmMovimenti::FormClose() { openLauncher(this); }

// ---- Entering ---------------------------------------------------------------

void TfrmMovimenti::optEntrataClick() { showInOut(); }

void TfrmMovimenti::optUscitaClick() { showInOut(); }

void TfrmMovimenti::impDataClick() { txtData->clear(); }

void TfrmMovimenti::impDataScaClick() { txtDataSca->clear(); }

void TfrmMovimenti::btnCentsClick() { txtImporto->setText(normaliseAmount(txtImporto->text())); }

void TfrmMovimenti::openCalendar(QLineEdit* field) {
  if (const std::optional<QDate> date = pickDate(this)) field->setText(formatDate(*date));
}

// ---- Saving and duplicating -------------------------------------------------

void TfrmMovimenti::beforeSave() { btnCents->click(); }

std::optional<gui::CardEditor::Refusal> TfrmMovimenti::refusal() const {
  const auto problem = checkBeforeSave(card());
  if (!problem) return std::nullopt;
  return Refusal{problem->notice, controlOf(problem->focus)};
}

void TfrmMovimenti::duplicateOnScreen() {
  MovementCard c = card();
  duplicateCard(c);
  putCard(c);
  chkSaldato->setChecked(c.saldato);
}

void TfrmMovimenti::sndEmailClick() {
  const MailResult mail = mailLink(fieldText(u"txtEmail"));
  if (mail.problem) {
    gui::show(this, mail.problem->notice);
    focusField(mail.problem->focus);
    return;
  }
  gui::TMisc::Open(*mail.openText);
}

// ---- Windows opened from the editor ----------------------------------------

void TfrmMovimenti::cmdTrovaClick() {
  TfrmTrovaMovimenti w(this, archiveFile());
  w.showModal();
  if (const auto& m = w.picked()) showStoredRecord(m->record, m->position);
}

void TfrmMovimenti::cmdScadenzeClick() {
  TfrmSospesiMov w(this, archiveFile());
  w.showModal();
  if (const auto& m = w.picked()) showStoredRecord(m->record, m->position);
}

// The card as it stands becomes a schedule's movement, which must be one that
// could be saved; the window opens all the same, for its list of recurring
// movements, and says what is missing only when the repetition is confirmed.
// A stored card is already in the archive: its repetition is proposed from
// the next period on.
void TfrmMovimenti::cmdRipetiClick() {
  beforeSave();
  // Each occurrence gets its own due date: an empty one is no reason to refuse.
  MovementCard c = card();
  if (c[mov::DataSca].isEmpty()) c[mov::DataSca] = c[mov::Data];
  const std::optional<SaveProblem> problem = checkBeforeSave(c);
  const TMovimento movement = recordFromCard(c);
  QDate first = parseDate(movement.Data.trimmed());
  if (!first.isValid()) first = QDate::currentDate();
  else if (position() > 0) first = first.addMonths(1);
  TfrmRipeti w(this);
  w.setNew(movement, first, problem ? std::optional<Notice>(problem->notice) : std::nullopt);
  w.showModal();
  using Outcome = TfrmRipeti::Result::Outcome;
  if (w.result().outcome == Outcome::Refused) focusField(problem->focus);
  if (w.result().outcome == Outcome::Saved) runRecurringMovements(this);
}

void TfrmMovimenti::cmdStampaClick() { TfrmStampaMovimento(this, card()).showModal(); }

void TfrmMovimenti::cmdEsportaClick() { TfrmExpMovimenti(this, archiveFile()).showModal(); }

void TfrmMovimenti::cmdFileClick() { TfrmAllegaCartella(*this).showModal(); }

void TfrmMovimenti::impPagatoreClick() { importPerson(payerImportBindings()); }

void TfrmMovimenti::impBeneficiarioClick() { importPerson(beneficiaryImportBindings()); }

void TfrmMovimenti::chkCodFiscClick() { openCodFiscCheck(this, fieldText(u"txtCodFisc")); }

void TfrmMovimenti::chkIvaClick() { openPartitaIvaCheck(this, fieldText(u"txtPartitaIva")); }

void TfrmMovimenti::cmdGuidaClick() { showRegisterGuide(this); }

}  // namespace fondaro
