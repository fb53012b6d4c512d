// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The totals by category of a period ("Riepilogo per categoria"): opened from
// the journal's period window with its period, which may then be widened over
// several years. Each category with its sub-categories indented under it, the
// totals at the foot (equal to the journal's), charts of expenses and income
// by category, print, preview, PDF and the spreadsheet export; a double click
// on a category shows its movements in the movement search.
#include <QDate>
#include <vector>

#include "core/categories.h"
#include "gui/form.h"
#include "gui/gridwindow.h"
#include "gui/print.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace fondaro {

// One row of the grid: a category, a sub-category or the total.
struct CategoryRow {
  enum class Kind { Category, Sub, Total } kind = Kind::Category;
  QString name;  // shown; a sub-category's own name
  QString full;  // the category as the search filter takes it
  categories::Totals totals;
};

class TfrmCategorie : public gui::Form {
  Q_OBJECT

 public:
  TfrmCategorie(QWidget* owner, const QDate& from, const QDate& to);

  const categories::CategorySummary& summary() const { return summary_; }

 public slots:
  void btnAggiornaClick();
  void btnGraficoUsciteClick();
  void btnGraficoEntrateClick();
  void btnAnteprimaClick();
  void btnStampaClick();
  void btnPdfClick();
  void btnEsportaClick();
  void btnGuidaClick();
  void btnEsciClick();

 protected:
  void FormShow() override;

 private:
  bool readPeriod();
  void showChart(bool expenses);
  void showMovements(int row);
  void output(gui::PrintTarget target);

  using Model = gui::GridModelOf<std::vector<CategoryRow>>;
  QDate from_, to_;
  categories::CategorySummary summary_;
  Model* rows_;
  gui::GridView* tblCategorie;
  QLineEdit* txtDal;
  QLineEdit* txtAl;
  QLabel* lblNota;
};

}  // namespace fondaro
