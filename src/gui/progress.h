// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The progress dialog of long work: a sentence, a bar and "Annulla". It shows
// only when the work lasts longer than half a second, so that quick work on a
// small archive looks as it always did; while it shows, the owner window takes
// no input and the dialog keeps answering.
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

#include "core/progress.h"

class QProgressDialog;
class QWidget;

namespace fondaro::gui {

class ProgressDialog {
 public:
  ProgressDialog(QWidget* owner, const QString& sentence);
  ~ProgressDialog();
  ProgressDialog(const ProgressDialog&) = delete;
  ProgressDialog& operator=(const ProgressDialog&) = delete;

  // Moves the bar; false once the user has pressed "Annulla" (or Esc).
  bool step(qint64 done, qint64 total);
  // The same as a core callback (see core/progress.h).
  ProgressFn callback();
  void setSentence(const QString& sentence);
  bool wasCancelled() const { return cancelled_; }

 private:
  QWidget* owner_;
  QString sentence_;
  QProgressDialog* dialog_ = nullptr;
  QElapsedTimer started_;
  QElapsedTimer lastUpdate_;
  bool cancelled_ = false;
};

namespace testing {
// How long work runs before its dialog shows (milliseconds; 500 unless set).
// Tests set 0 so that "Annulla" can be pressed on short work.
void setProgressDelay(int ms);
}  // namespace testing

}  // namespace fondaro::gui
