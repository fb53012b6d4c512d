// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of recurring movements: every schedule with its reason, amount,
// kind, repetition, next date, end and state; a schedule can be changed or
// stopped (a stopped one stays listed as such).
#include <vector>

#include "core/recurring.h"
#include "gui/form.h"
#include "gui/gridwindow.h"

class QPushButton;

namespace fondaro {

class TfrmRicorrenti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmRicorrenti(QWidget* owner = nullptr);

 public slots:
  void btnModificaClick();
  void btnSospendiClick();
  void btnChiudiClick();

 protected:
  void FormShow() override;

 private:
  void fill();
  // The number of the schedule on the selected row, or 0.
  int selectedNumber() const;

  using Model = gui::GridModelOf<std::vector<Schedule>>;
  Model* schedules_;
  gui::GridView* tblRicorrenti;
  QPushButton* btnModifica;
  QPushButton* btnSospendi;
  QPushButton* btnChiudi;
};

}  // namespace fondaro
