// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The safety copies window, opened from the launcher's small icon beside the
// credits: the copies of the program folder's data (core/safetycopies.h), each
// checked against its manifest when listed; a full copy now, a full copy into
// a folder of the user's choice, the restore of a chosen copy, and how many
// days of day copies are kept.
#include <QList>

#include "core/safetycopies.h"
#include "gui/form.h"
#include "app/CopieSicurezzaParts.h"

class QHBoxLayout;
class QPushButton;
class QSpinBox;

namespace fondaro {

class TfrmCopieSicurezza : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCopieSicurezza(QWidget* owner = nullptr);

  // The copies as listed, newest first (the rows of lstCopie).
  const QList<safety::CopyInfo>& copies() const { return copies_->value(); }
  // Reads and checks the copies again.
  void refresh();

 public slots:
  void cmdCreaClick();
  void cmdCopiaSuClick();
  void cmdRipristinaClick();
  void cmdChiudiClick();
  void txtGiorniChange();

 protected:
  void FormShow() override;

 private:
  QHBoxLayout* buttonRow();
  void copyInto(const QByteArray& parent);

  copieParts::CopiesModel* copies_;
  gui::GridView* lstCopie;
  QSpinBox* txtGiorni;
};

}  // namespace fondaro
