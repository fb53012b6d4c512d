// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal of a period with its totals: the movements of the chosen year
// dated within the period (and holding the reason, when one was given), in
// archive order, with the income, expense and balance; printable.
#include "gui/listwindow.h"

class QLabel;
class QPushButton;

namespace fondaro {

namespace gui {
class PictureButton;
}

// What the period window hands the journal: the archive and the period as
// shown there, and the reason as typed.
struct JournalPeriod {
  QString archivePath;
  QString startDate;
  QString endDate;
  QString reason;
};

class TfrmBilancio : public gui::ListWindow {
  Q_OBJECT

 public:
  explicit TfrmBilancio(QWidget* owner = nullptr, const JournalPeriod& period = {});

 public slots:
  void btnStampaClick();
  void btnEsciClick();
  void imgGuidaClick();

 protected:
  void FormShow() override;
  void FormClose() override;

 private:
  void buildTotals(QWidget* c);
  void buildJournal();

  QLabel* titTipologia;
  QLabel* lblConta;
  QLabel* lblIntervallo;
  QLabel* lblTotEntrate;
  QLabel* lblTotUscite;
  QLabel* lblBilancio;
  QPushButton* btnStampa;
  QPushButton* btnEsci;
  gui::PictureButton* imgGuida;
  JournalPeriod period_;
};

}  // namespace fondaro
