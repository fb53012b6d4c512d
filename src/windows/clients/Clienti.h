#pragma once
// The address-book editor, a navigation window: one card of "Clienti.pro" on
// screen, browsing card by card, entering, saving, duplicating, the checks of
// its codes, e-mail and attachments. The card is its controls, bound to the
// record's fields by the core's binding table; lblPosizione ties it to a
// position of the file (empty for a new card). Closing the editor brings the
// launcher back.
#include "gui/cardeditor.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace fondaro {

struct ClientCard;
struct TCliente;
template <class Rec>
struct CursorMove;

class TfrmClienti : public gui::CardEditor {
  Q_OBJECT

 public:
  explicit TfrmClienti(QWidget* owner = nullptr);

  QString archiveFile() const override;

  // An empty new card; the focus in the name.
  void ClearCard();
  // Fills the card from a stored record; the caller sets the position.
  void ShowRecord(const TCliente& record);
  // ShowRecord and the record's position, as the search and the call-back
  // list load a card.
  void showStoredRecord(const TCliente& record, qint64 position);
  // The card on screen as the record a save would write.
  TCliente cardRecord() const;

 public slots:
  void cmdNuovoClick();
  void cmdDuplicaClick();
  void cmdFileClick();
  void cmdSalvaClick();
  void cmdTrovaClick();
  void cmdAnteprimaClick();
  void cmdStampaClick();
  void cmdPDFClick();
  void cmdRicontattaClick();
  void cmdEsportaClick();
  void cmdGuidaClick();
  void cmdEsciClick();
  void cmdPrimoClick();
  void cmdIndietroClick();
  void cmdAvantiClick();
  void cmdUltimoClick();
  void btnEmailClick();
  void btnCodFiscClick();
  void btnCartaClick();
  void btnPartitaIvaClick();
  void btnIbanClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void buildButtons(QWidget* container);
  void buildCard(QWidget* container);
  void declareBehaviour();

  ClientCard cardFromControls() const;
  void putCard(const ClientCard& card);
  QString trimmedField(QStringView name) const;
  // The archive position on screen; 0 for a new card.
  qint64 position() const;
  void setPosition(qint64 p);
  void showMove(const CursorMove<TCliente>& move);

  QLabel* lblPosizione;
  QLabel* panInfo;
  QLineEdit* txtCliente;
  QComboBox* txtProvNasc;
  QComboBox* txtProvRes;
  QCheckBox* chkRicontatta;
  QWidget* buttons;
  QWidget* navigation;
};

}  // namespace fondaro
