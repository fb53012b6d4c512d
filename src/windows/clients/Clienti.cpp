// SPDX-License-Identifier: GPL-3.0-or-later
#include "clients/Clienti.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "clients/ExpClienti.h"
#include "clients/Ricontatta.h"
#include "clients/Texts.h"
#include "common/AllegaCartella.h"
#include "core/clientcard.h"
#include "core/cursor.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/archivestep.h"
#include "gui/cardform.h"
#include "gui/cardtable.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/guide.h"
#include "gui/infobar.h"
#include "gui/openurl.h"
#include "gui/print.h"
#include "gui/storedrecord.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "report/templates.h"
#include "validators/opencheck.h"

namespace fondaro {

namespace {

namespace card = gui::card;

const gui::EditorNotices kNotices = {
    .emptyArchive = clientTexts::emptyArchive,
    .savedNew = clientTexts::savedNew,
    .savedChanges = clientTexts::savedChanges,
    .duplicateNeedsStoredCard = clientTexts::duplicateNeedsStoredCard,
    .duplicateReady = clientTexts::duplicateReady,
};

}  // namespace

// ---- Construction -----------------------------------------------------------

TfrmClienti::TfrmClienti(QWidget* owner) : RecordEditor(owner, kNotices) {
  setObjectName(u"frmClienti"_qs);
  setWindowTitle(gui::windowCaption(u"Pagatori e Beneficiari"));
  gui::setFormatSettings();
  setGradientBackground(true);

  buildCard(makeCard(1240, 730));
  declareBehaviour();
  gui::connectClickSlots(this);
  ClearCard();
}

// The five sections on the left, the button column on the right; along the
// bottom the info bar and the navigation bar.
void TfrmClienti::buildCard(QVBoxLayout* v) {
  QWidget* c = v->parentWidget();
  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  auto* left = new QVBoxLayout;
  left->setSpacing(8);
  const std::vector<QFrame*> sections =
      card::buildSections(c, clientTexts::editorSections(), clientTexts::editorRows());
  for (QFrame* s : sections) left->addWidget(s);
  columns->addLayout(left, 1);
  QFrame* buttons = card::buildGroup(c, clientTexts::editorButtons()[0]);
  buttons->setFixedWidth(190);
  columns->addWidget(buttons);
  v->addLayout(columns, 1);

  panInfo = gui::makeInfoBar(c, clientTexts::kReady.toString());
  panInfo->parentWidget()->setMinimumHeight(40);
  QFrame* navigation = card::buildGroup(c, clientTexts::editorButtons()[1]);
  auto* bottom = new QHBoxLayout;
  bottom->setSpacing(10);
  bottom->addWidget(panInfo->parentWidget(), 1);
  bottom->addWidget(navigation);
  v->addLayout(bottom);

  // The attachments of the card, between the attachments window and saving.
  for (QStringView n : {u"lblFile01", u"lblFile02", u"lblFile03", u"lblDesc01", u"lblDesc02", u"lblDesc03"})
    card::hiddenLabel(c, n);

  auto* position = gui::requireControl<QLabel>(this, u"lblPosizione");
  setPositionLabel(position);
  txtCliente = gui::requireControl<QLineEdit>(this, u"txtCliente");
  txtProvNasc = gui::requireControl<QComboBox>(this, u"txtProvNasc");
  txtProvRes = gui::requireControl<QComboBox>(this, u"txtProvRes");
  chkRicontatta = gui::requireControl<QCheckBox>(this, u"chkRicontatta");

  std::vector<QWidget*> backgrounds = {this, c, buttons, navigation, panInfo->parentWidget(), position};
  backgrounds.insert(backgrounds.end(), sections.begin(), sections.end());
  gui::setHoverBackgrounds(panInfo, backgrounds);
}

void TfrmClienti::declareBehaviour() {
  gui::applyTypingLimits<TCliente>(this);
  card::declareCard(this, panInfo, clientTexts::editorRows(), clientTexts::editorButtons());
  // An address put in by the program is tidied when the user leaves it.
  auto* email = gui::requireControl<QLineEdit>(this, u"txtEmail");
  gui::onExit(email, [email] { email->setText(trimmedText(email->text())); });
}

// ---- The card and its controls ---------------------------------------------

QString TfrmClienti::archiveFile() const { return clientArchivePath(gui::programFolder()); }

ClientCard TfrmClienti::cardFromControls() const {
  ClientCard c;
  static_cast<CardTexts<TCliente>&>(c) = gui::readCard<TCliente>(this);
  c.ricontatta = chkRicontatta->isChecked();
  return c;
}

TCliente TfrmClienti::cardRecord() const { return recordFromClientCard(cardFromControls()); }

void TfrmClienti::putCard(const ClientCard& c) { gui::writeCard<TCliente>(this, c); }

void TfrmClienti::focusFirstField() { txtCliente->setFocus(Qt::OtherFocusReason); }

void TfrmClienti::ClearCard() {
  const ClientCard c = newClientCard();
  putCard(c);
  chkRicontatta->setChecked(c.ricontatta);
  for (QComboBox* box : {txtProvNasc, txtProvRes}) {
    box->setCurrentIndex(-1);
    box->setEditText(QString());
  }
  setPosition(0);
  focusFirstField();
}

// The province boxes' list selection is left as it is: only their text changes.
void TfrmClienti::ShowRecord(const TCliente& record) {
  const ShownClient s = showClientRecord(record);
  putCard(s.card);
  if (s.ricontatta) chkRicontatta->setChecked(*s.ricontatta);
}

// The launcher comes back.
void TfrmClienti::FormClose() { openLauncher(this); }

// ---- Saving and duplicating -------------------------------------------------

std::optional<gui::CardEditor::Refusal> TfrmClienti::refusal() const {
  if (const auto problem = checkClientBeforeSave(cardFromControls())) return Refusal{*problem, u"txtCliente"};
  return std::nullopt;
}

void TfrmClienti::duplicateOnScreen() {
  ClientCard c = cardFromControls();
  duplicateClientCard(c);
  putCard(c);
}

// ---- Windows opened from the editor ----------------------------------------

void TfrmClienti::btnEmailClick() { gui::TMisc::Open(mailtoOpenText(fieldText(u"txtEmail"))); }

void TfrmClienti::btnCodFiscClick() { openCodFiscCheck(this, fieldText(u"txtCodFisc")); }

void TfrmClienti::btnPartitaIvaClick() { openPartitaIvaCheck(this, fieldText(u"txtPartitaIva")); }

void TfrmClienti::btnCartaClick() { openCartaCheck(this, fieldText(u"txtCarta")); }

void TfrmClienti::btnIbanClick() { openIbanCheck(this, fieldText(u"txtIban")); }

void TfrmClienti::cmdFileClick() { TfrmAllegaCartella(*this).showModal(); }

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
  if (const auto card = pickPerson(this)) showStoredRecord(card->record, card->position);
}

void TfrmClienti::cmdRicontattaClick() {
  TfrmRicontatta w(this);
  w.showModal();
  if (const auto& card = w.picked()) showStoredRecord(card->record, card->position);
}

void TfrmClienti::cmdEsportaClick() { gui::openPerUse<TfrmExpClienti>(this); }

void TfrmClienti::cmdGuidaClick() {
  showGuide(this, u"Applicazione Pagatori e Beneficiari."_qs, gui::guidePage(u"clienti"_qs));
}

}  // namespace fondaro
