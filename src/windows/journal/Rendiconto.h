// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rendiconto per cassa (Modello D) of a year, opened from the journal's
// period window with its year: the form's rows with the year and the year
// before, the balances of cash and bank at 31/12 the user gives (three years:
// the check of the year before needs the one before it), the options (lines
// at zero, the figurativi), the notes under the form (not classified, not
// settled, the ministry's check, in red when it fails), the classification
// window, print, preview, PDF and the spreadsheet export.
#include <array>
#include <vector>

#include "core/rendiconto.h"
#include "gui/form.h"
#include "gui/gridwindow.h"
#include "gui/print.h"

class QCheckBox;
class QLabel;
class QLineEdit;

namespace fondaro {

class TfrmRendiconto : public gui::Form {
  Q_OBJECT

 public:
  TfrmRendiconto(QWidget* owner, int year);

  const rendiconto::Rendiconto& form() const { return form_; }

 public slots:
  void btnCalcolaClick();
  void btnSalvaSaldiClick();
  void btnClassificaClick();
  void btnAnteprimaClick();
  void btnStampaClick();
  void btnPdfClick();
  void btnEsportaClick();
  void btnGuidaClick();
  void btnEsciClick();

 protected:
  void FormShow() override;

 private:
  bool readYear();
  void compute();
  void showBalances();
  void showNotes();
  void output(gui::PrintTarget target);

  using Model = gui::GridModelOf<std::vector<rendiconto::FormLine>>;
  int year_;
  rendiconto::Settings settings_;
  bool settingsRead_ = false;
  rendiconto::Rendiconto form_;
  Model* rows_;
  gui::GridView* tblRendiconto;
  QLineEdit* txtAnno;
  QCheckBox* chkZero;
  QCheckBox* chkFigurativi;
  // [k][0] cassa, [k][1] banca at 31/12 of year - k.
  std::array<std::array<QLineEdit*, 2>, 3> txtSaldi;
  std::array<QLabel*, 3> lblSaldi;
  QLabel* lblNote;
};

}  // namespace fondaro
