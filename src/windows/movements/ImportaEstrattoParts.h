// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The parts of "Importa estratto conto" that are data or plain text work: the
// list's columns, the page that maps a CSV file's columns, and the summaries
// after an import.
#include <QSet>
#include <QString>

#include "core/bankimport.h"
#include "gui/gridwindow.h"

class QComboBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
class QWidget;

namespace fondaro::importParts {

// The statement's entries as planned, each new one with a tick ("import it").
using PlanModel = gui::GridModelOf<ImportPlan, PlannedEntry>;
PlanModel* makePlanModel(QObject* parent);
// The list's look: the bank's long texts wrap, rows have air around them.
gui::GridLook planLook();
// The entries left out: the numbers of the new ones not ticked.
QSet<int> leftOut(const PlanModel& plan);
// How many new entries are ticked.
qint64 toImport(const PlanModel& plan);
// The line under the list.
QString countsText(const PlanModel& plan);
// "cboAbbinamento": the movements `entry` may settle, best first, then "none"
// (add it as new); the one it settles is current. Disabled for an entry
// without candidates, and empty without an entry.
void fillMatchCombo(QComboBox* combo, const ImportPlan& plan, const PlannedEntry* entry);
// The user's choice in the combo.
std::optional<MatchChoice> chosenMatch(const QComboBox* combo, const ImportPlan& plan);

// The row of the statement's file: "txtFile" and "Sfoglia...".
struct FileRow {
  QHBoxLayout* layout;
  QLineEdit* path;
  QPushButton* browse;
};
FileRow buildFileRow(QWidget* window);

// The page "panColonne": the first rows of the file and a combo per field.
struct MappingPage {
  QWidget* page;
  QLabel* hint;
  QTableWidget* preview;
  QComboBox* combos[7];
  QPushButton* apply;
};
MappingPage buildMappingPage(QWidget* parent);
// Shows the first rows of `table` and offers its columns in the combos.
void showCsv(const MappingPage& m, const CsvTable& table);
// The columns chosen in the combos (the amount, when chosen, wins over the
// two columns of outgoings and incomings).
CsvColumns chosenColumns(const MappingPage& m);

// The notice after a write that failed in some years.
QString writeFailureText(const ImportWriteError& e);
// The summary of a finished import, a year's line with the movements settled
// when there are some; `lastYearAdded` gets the last year with a movement
// added, or 0.
QString doneText(const QString& name, const ImportResult& result, qint64 skipped, qint64 leftOut,
                 int& lastYearAdded);

}  // namespace fondaro::importParts
