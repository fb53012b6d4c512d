#pragma once
// The base of the two card editors (movements, address book): one card of an
// archive on screen, tied to its position by lblPosizione, with its three
// attachments in the hidden labels lblFile01..lblDesc03. Other windows hand
// data to an editor through these typed members, never through its controls.
#include "core/attachments.h"
#include "gui/form.h"

namespace fondaro::gui {

class CardEditor : public Form {
  Q_OBJECT

 public:
  // The archive the card is read from and saved to.
  virtual QString archiveFile() const = 0;

  // The attachments of the card on screen, as saving will store them.
  AttachmentTexts attachments() const;
  void setAttachments(const AttachmentTexts& attachments);

 protected:
  using Form::Form;
};

}  // namespace fondaro::gui
