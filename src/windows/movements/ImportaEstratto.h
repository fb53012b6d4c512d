// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// "Importa estratto conto": a bank statement into the yearly archives. The
// user chooses the file; every entry is listed with its state (new, already
// present, skipped and why, or settling a stored unpaid movement) and a tick
// to leave it out; under the list the user refuses a match or chooses another
// of the entry's candidates; a CSV file whose columns are not recognised is
// mapped first. "Importa" writes, then a summary offers to open the due list
// (when movements were settled) or the movements of the year. Reached from
// the year window of the movements register.
#include <optional>

#include "core/bankimport.h"
#include "gui/form.h"
#include "movements/ImportaEstrattoParts.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;

namespace fondaro {

class TfrmImportaEstratto : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmImportaEstratto(QWidget* owner = nullptr);

  // Reads a statement as "Sfoglia..." does with the file chosen.
  void openFile(const QString& path);
  // The year whose movements the user asked to open after the import; empty
  // when none.
  const QString& yearToOpen() const { return yearToOpen_; }

 public slots:
  void btnSfogliaClick();
  void btnApplicaClick();
  void btnImportaClick();
  void btnGuidaClick();
  void btnChiudiClick();
  void cboAbbinamentoChange();

 protected:
  void FormShow() override;
  int widen(int spare) override;

 private:
  void showMapping();
  // Reads the statement with the given columns (a CSV file) and plans it.
  void load(const std::optional<CsvColumns>& columns);
  void showPlan(ImportPlan plan);
  void updateCounts();
  void reportFailure(const QString& why);
  void clearStatement();
  // The combo of the matches follows the selected entry.
  void showMatchOfCurrent();
  // The list as the plan now stands, ticks and selection kept.
  void refreshPlan(ImportPlan plan);
  // After an import that settled movements: the due list of `year`.
  void openDueList(int year);

  QLineEdit* txtFile;
  QPushButton* btnSfoglia;
  QStackedWidget* stkPagine;
  gui::GridView* tblMovimenti;
  importParts::MappingPage mapping_;
  QLabel* lblAbbinamento;
  QComboBox* cboAbbinamento;
  QLabel* lblConteggio;
  QPushButton* btnImporta;
  QPushButton* btnGuida;
  QPushButton* btnChiudi;

  importParts::PlanModel* plan_;
  bool planned_ = false;  // a plan is shown (perhaps of no entries)
  QByteArray path_;
  QString name_;
  std::optional<CsvTable> csv_;
  Statement statement_;
  MatchChoices choices_;
  QString yearToOpen_;
};

// Shows the window over `owner`; returns the year whose movements the user
// asked to open afterwards, or an empty text.
QString importBankStatement(QWidget* owner);

}  // namespace fondaro
