// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The attachments of the card on screen in one of the two editors: up to three
// files, each with a description. "Sfoglia..." copies a chosen file into the
// attachments folder; "Apri" opens an attached file with the desktop's
// program; "Applica e chiudi" hands the six texts back to the editor the
// window serves, where they reach the archive only when the card is saved.
#include "core/attachments.h"
#include "gui/form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

namespace gui {
class CardEditor;
class PictureButton;
}  // namespace gui

class TfrmAllegaCartella : public gui::Form {
  Q_OBJECT

 public:
  // Over `editor`, with the rows of its card; "Applica e chiudi" hands them
  // back to it.
  explicit TfrmAllegaCartella(gui::CardEditor& editor);
  // Serving no editor (the window set's start-up instance): "Applica e
  // chiudi" only closes.
  explicit TfrmAllegaCartella(QWidget* owner = nullptr);

  // The three rows; "Applica e chiudi" hands them back trimmed.
  void setAttachments(const AttachmentTexts& attachments);
  AttachmentTexts attachments() const;

 public slots:
  void btnSfoglia01Click() { attach(0); }
  void btnSfoglia02Click() { attach(1); }
  void btnSfoglia03Click() { attach(2); }
  void btnApri01Click() { open(0); }
  void btnApri02Click() { open(1); }
  void btnApri03Click() { open(2); }
  void imgCancella01Click() { clearName(0); }
  void imgCancella02Click() { clearName(1); }
  void imgCancella03Click() { clearName(2); }
  void btnApplicaClick();
  void btnAnnullaClick();

 private:
  void addRow(int row);
  void attach(int row);
  void open(int row);
  void clearName(int row);
  void nameChanged(int row);

  QLineEdit* txtFile[3];
  QLineEdit* txtDesc[3];
  QPushButton* btnSfoglia[3];
  QPushButton* btnApri[3];
  gui::PictureButton* imgCancella[3];
  QPushButton* btnApplica;
  QPushButton* btnAnnulla;
  gui::CardEditor* editor_ = nullptr;
};

}  // namespace fondaro
