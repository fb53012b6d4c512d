#pragma once
// The movement editor, a navigation window: one card of the open year's
// archive on screen, browsing card by card, entering, saving, duplicating.
// The card is its controls, bound to the record's fields by the core's
// binding table; lblPosizione ties it to a position of the file (empty for a
// new card) and lblFile names the archive. Closing the editor brings the
// launcher back.
#include "gui/cardeditor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace fondaro {

struct MovementCard;
struct TMovimento;
enum class CardField;
template <class Rec>
struct CursorMove;

class TfrmMovimenti : public gui::CardEditor {
  Q_OBJECT

 public:
  explicit TfrmMovimenti(QWidget* owner = nullptr);

  // The archive the register works on (the year window sets it).
  void setArchiveFile(const QString& path);
  QString archiveFile() const override;

  // An empty new card with today's date; the focus in the reason.
  void ClearCard();
  // Fills the card from a stored record; the caller sets the position.
  void ShowRecord(const TMovimento& record);
  // ShowRecord and the record's position, as a search result loads a card.
  void showStoredRecord(const TMovimento& record, qint64 position);

 public slots:
  void cmdNuovoClick();
  void cmdDuplicaClick();
  void cmdSalvaClick();
  void cmdTrovaClick();
  void cmdFileClick();
  void cmdStampaClick();
  void cmdPrimoClick();
  void cmdIndietroClick();
  void cmdAvantiClick();
  void cmdUltimoClick();
  void cmdEsportaClick();
  void cmdScadenzeClick();
  void cmdGuidaClick();
  void cmdEsciClick();
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
  void FormShow() override;
  void FormClose() override;

 private:
  void buildToolbar(QWidget* container);
  void buildCard(QWidget* container);
  void declareBehaviour();

  MovementCard cardFromControls() const;
  void putCard(const MovementCard& card);
  void showInOut();
  void focusField(CardField field);
  // The archive position on screen; 0 for a new card.
  qint64 position() const;
  void setPosition(qint64 p);
  void showMove(const CursorMove<TMovimento>& move);
  void openCalendar(QStringView mode);

  QLabel* lblFile;
  QLabel* lblPosizione;
  QLabel* lblImporto;
  QPushButton* btnCents;
  QLabel* panInfo;
  QRadioButton* optEntrata;
  QRadioButton* optUscita;
  QCheckBox* chkSaldato;
  QLineEdit* txtData;
  QLineEdit* txtDataSca;
  QLineEdit* txtCausale;
  QLineEdit* txtImporto;
};

}  // namespace fondaro
