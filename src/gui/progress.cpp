// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/progress.h"

#include <QApplication>
#include <algorithm>
#include <QProgressDialog>

#include "gui/product.h"

namespace fondaro::gui {

namespace {
int& delayMs() {
  static int ms = 500;
  return ms;
}
// The bar counts in thousandths, whatever the unit of the work.
constexpr int kBarSteps = 1000;
}  // namespace

namespace testing {
void setProgressDelay(int ms) { delayMs() = ms; }
}  // namespace testing

ProgressDialog::ProgressDialog(QWidget* owner, const QString& sentence) : owner_(owner), sentence_(sentence) {
  started_.start();
}

ProgressDialog::~ProgressDialog() { delete dialog_; }

void ProgressDialog::setSentence(const QString& sentence) {
  sentence_ = sentence;
  if (dialog_) dialog_->setLabelText(sentence);
}

bool ProgressDialog::step(qint64 done, qint64 total) {
  if (cancelled_) return false;
  if (!dialog_) {
    if (started_.elapsed() < delayMs()) return true;
    dialog_ = new QProgressDialog(sentence_, QStringLiteral("Annulla"), 0, kBarSteps, owner_);
    dialog_->setObjectName(QStringLiteral("dlgAvanzamento"));
    dialog_->setWindowTitle(kProductName.toString());
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setMinimumDuration(0);
    dialog_->setMinimumWidth(420);
    dialog_->show();
  } else if (lastUpdate_.isValid() && lastUpdate_.elapsed() < 40) {
    return true;
  }
  lastUpdate_.start();
  const int value = total > 0 ? int(std::clamp<qint64>(done * kBarSteps / total, 0, kBarSteps)) : 0;
  dialog_->setValue(value);
  QApplication::processEvents();
  if (dialog_->wasCanceled()) cancelled_ = true;
  return !cancelled_;
}

ProgressFn ProgressDialog::callback() {
  return [this](qint64 done, qint64 total) { return step(done, total); };
}

}  // namespace fondaro::gui
