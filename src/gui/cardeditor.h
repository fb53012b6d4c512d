// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The base of the two card editors (movements, address book): one card of an
// archive on screen, tied to its position by lblPosizione, with its three
// attachments in the hidden labels lblFile01..lblDesc03. The base holds what
// both do alike: browsing card by card, the position, saving (append or
// rewrite in place), duplicating, a new card. Other windows hand data to an
// editor through its typed members, never through its controls.
//
// The record kind's steps come from RecordEditor<Rec>; an editor gives its
// card (cardRecord, ShowRecord, ClearCard), its check before saving and its
// duplication rule.
#include <optional>

#include "core/attachments.h"
#include "core/cursor.h"
#include "core/notice.h"
#include "gui/archivestep.h"
#include "gui/form.h"
#include "gui/messages.h"

class QLabel;
class QVBoxLayout;

namespace fondaro::gui {

// The messages of browsing, saving and duplicating, as the core words them.
struct EditorNotices {
  QString (*emptyArchive)();
  QString (*savedNew)();
  QString (*savedChanges)();
  QString (*duplicateNeedsStoredCard)();
  QString (*duplicateReady)();
  Icon duplicateFailure = Icon::Error;  // an archive failure while duplicating
};

class CardEditor : public Form {
  Q_OBJECT

 public:
  // The archive the card is read from and saved to.
  virtual QString archiveFile() const = 0;

  // The attachments of the card on screen, as saving will store them.
  AttachmentTexts attachments() const;
  void setAttachments(const AttachmentTexts& attachments);

  // The archive position on screen: 0 for a new card, -1 for a label that
  // holds no number (a position no archive has).
  qint64 position() const;

  // An empty new card.
  virtual void ClearCard() = 0;

 public slots:
  void cmdNuovoClick();
  void cmdSalvaClick();
  void cmdDuplicaClick();
  void cmdPrimoClick();
  void cmdIndietroClick();
  void cmdAvantiClick();
  void cmdUltimoClick();
  void cmdEsciClick();

 protected:
  CardEditor(QWidget* owner, const EditorNotices& notices);

  enum class Move { First, Previous, Next, Last };

  // The container of the card, `width` by `height`, and its column of parts.
  QVBoxLayout* makeCard(int width, int height);
  // The text of one of the card's controls, trimmed.
  QString fieldText(QStringView control) const;

  void setPosition(qint64 p);
  // lblPosizione: the base reads and writes it; the editor places it.
  void setPositionLabel(QLabel* label) { lblPosizione = label; }
  const EditorNotices& notices() const { return notices_; }

  // Every entry into the editor starts from an empty new card.
  void FormShow() override { ClearCard(); }

  // The record kind's steps (RecordEditor<Rec>).
  virtual void browse(Move move) = 0;
  virtual qint64 storeCard(qint64 at) = 0;
  virtual void probeArchive() = 0;

  // The editor's own rules. Before a save: why the card cannot be saved as it
  // is, and the control the focus goes to; nothing when it can.
  struct Refusal {
    Notice notice;
    QStringView focus;
  };
  virtual void beforeSave() {}
  virtual std::optional<Refusal> refusal() const = 0;
  // Turns the card on screen into its duplicate (the position is the base's).
  virtual void duplicateOnScreen() = 0;
  // The field a new or duplicated card starts in.
  virtual void focusFirstField() = 0;

 private:
  EditorNotices notices_;
  QLabel* lblPosizione = nullptr;
};

// The steps of one record kind, on the core's cursor.
template <class Rec>
class RecordEditor : public CardEditor {
 public:
  // The card on screen as the record a save would write.
  virtual Rec cardRecord() const = 0;
  // Fills the card from a stored record; the caller sets the position.
  virtual void ShowRecord(const Rec& record) = 0;
  // ShowRecord and the record's position, as browsing and a search pick load
  // a card.
  void showStoredRecord(const Rec& record, qint64 p) {
    ShowRecord(record);
    setPosition(p);
  }

 protected:
  using CardEditor::CardEditor;

  void browse(Move move) override {
    archiveStep(this, [&] {
      const RecordCursor<Rec> cursor(archiveFile());
      switch (move) {
        case Move::First: return showMove(cursor.first());
        case Move::Previous: return showMove(cursor.previous(position()));
        case Move::Next: return showMove(cursor.next(position()));
        case Move::Last: return showMove(cursor.last());
      }
    });
  }
  qint64 storeCard(qint64 at) override { return RecordCursor<Rec>(archiveFile()).save(at, cardRecord()); }
  void probeArchive() override { Archive<Rec>::OpenOrCreate(archiveFile()).Close(); }

 private:
  void showMove(const CursorMove<Rec>& m) {
    switch (m.kind) {
      case CursorMove<Rec>::Show: return showStoredRecord(m.record, m.position);
      case CursorMove<Rec>::Empty:
        if (m.forgetPosition) setPosition(0);
        notice(this, Icon::Information, notices().emptyArchive());
        return;
      case CursorMove<Rec>::Stay: return;
    }
  }
};

}  // namespace fondaro::gui
