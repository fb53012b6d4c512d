// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address-book editor, a navigation window: one card of "Clienti.pro" on
// screen, browsing card by card, entering, saving, duplicating, the checks of
// its codes, e-mail and attachments. The card is its controls, bound to the
// record's fields by the core's binding table; lblPosizione ties it to a
// position of the file (empty for a new card). Closing the editor brings the
// launcher back.
#include "core/records.h"
#include "gui/cardeditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace fondaro {

struct ClientCard;

class TfrmClienti : public gui::RecordEditor<TCliente> {
  Q_OBJECT

 public:
  explicit TfrmClienti(QWidget* owner = nullptr);

  QString archiveFile() const override;

  // An empty new card; the focus in the name.
  void ClearCard() override;
  void ShowRecord(const TCliente& record) override;
  TCliente cardRecord() const override;

 public slots:
  void cmdFileClick();
  void cmdTrovaClick();
  void cmdAnteprimaClick();
  void cmdStampaClick();
  void cmdPDFClick();
  void cmdRicontattaClick();
  void cmdEsportaClick();
  void cmdGuidaClick();
  void btnEmailClick();
  void btnCodFiscClick();
  void btnCartaClick();
  void btnPartitaIvaClick();
  void btnIbanClick();

 protected:
  void FormClose() override;
  std::optional<Refusal> refusal() const override;
  void duplicateOnScreen() override;
  void focusFirstField() override;

 private:
  void buildCard(QVBoxLayout* card);
  void declareBehaviour();

  ClientCard cardFromControls() const;
  void putCard(const ClientCard& card);

  QLabel* panInfo;
  QLineEdit* txtCliente;
  QComboBox* txtProvNasc;
  QComboBox* txtProvRes;
  QCheckBox* chkRicontatta;
};

}  // namespace fondaro
