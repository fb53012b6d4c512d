// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The movement editor, a navigation window: one card of the open year's
// archive on screen, browsing card by card, entering, saving, duplicating.
// The card is its controls, bound to the record's fields by the core's
// binding table; lblPosizione ties it to a position of the file (empty for a
// new card) and lblFile names the archive. Closing the editor brings the
// launcher back.
#include <span>

#include "core/card.h"
#include "core/records.h"
#include "gui/cardeditor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace fondaro {

struct MovementCard;
struct TMovimento;
enum class CardField;

class TfrmMovimenti : public gui::RecordEditor<TMovimento> {
  Q_OBJECT

 public:
  explicit TfrmMovimenti(QWidget* owner = nullptr);

  // The archive the register works on (the year window sets it).
  void setArchiveFile(const QString& path);
  QString archiveFile() const override;

  // An empty new card with today's date; the focus in the reason.
  void ClearCard() override;
  void ShowRecord(const TMovimento& record) override;
  TMovimento cardRecord() const override;
  // The card on screen, texts and choices, as the printout shows it.
  MovementCard card() const;


 public slots:
  void cmdTrovaClick();
  void cmdFileClick();
  void cmdStampaClick();
  void cmdEsportaClick();
  void cmdScadenzeClick();
  void cmdRipetiClick();
  void cmdGuidaClick();
  void optEntrataClick();
  void optUscitaClick();
  void impDataClick();
  void impDataScaClick();
  void impPagatoreClick();
  void impBeneficiarioClick();
  void chkCodFiscClick();
  void chkIvaClick();
  void sndEmailClick();
  void btnCentsClick();

 protected:
  void FormClose() override;
  void beforeSave() override;
  std::optional<Refusal> refusal() const override;
  void duplicateOnScreen() override;
  void focusFirstField() override;

 private:
  void buildCard(QVBoxLayout* card);
  void buildAmountBand(QWidget* container);
  void declareBehaviour();

  void putCard(const MovementCard& card);
  void showInOut();
  void focusField(CardField field);
  // A date picked in the calendar into `field`.
  void openCalendar(QLineEdit* field);
  // A person picked in the address book into the payer's or the
  // beneficiary's fields.
  void importPerson(std::span<const FieldBinding<TCliente>> fields);

  QLabel* lblFile;
  QLabel* lblImporto;
  QPushButton* btnCents;
  QLabel* panInfo;
  QWidget* band;
  QRadioButton* optEntrata;
  QRadioButton* optUscita;
  QCheckBox* chkSaldato;
  QLineEdit* txtData;
  QLineEdit* txtDataSca;
  QLineEdit* txtCausale;
  QLineEdit* txtImporto;
};

}  // namespace fondaro
