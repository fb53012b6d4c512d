// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The classification of the categories into the rendiconto's lines: every
// category and sub-category used in a year and the year before, with its
// choice for money out and for money in; the drop-downs under the list offer
// the form's lines of the side that fits its movements (and "X", not in the
// form). A side without movements has no choice to make; a sub-category
// without its own choice follows its category. "Salva" writes Rendiconto.json.
#include <vector>

#include "core/rendiconto.h"
#include "gui/form.h"
#include "gui/gridwindow.h"

class QComboBox;
class QLabel;

namespace fondaro {

// One row: a category or a sub-category, its movements' sides and its choices.
struct ClassRow {
  QString name;     // "Servizi", "Servizi: telefono"
  bool sub = false;
  bool hasOut = false, hasIn = false;
  QString uscite, entrate;  // own choices: a code, "X", or empty
  QString parentUscite, parentEntrate;  // the category's, for a sub-category
};

class TfrmClassifica : public gui::Form {
  Q_OBJECT

 public:
  // `settings` is what the rendiconto window read; `categories` the year's.
  TfrmClassifica(QWidget* owner, const rendiconto::Settings& settings,
                 const std::vector<categories::CategoryGroup>& categories);

  // True once "Salva" wrote the file; the settings as written.
  bool saved() const { return saved_; }
  const rendiconto::Settings& settings() const { return settings_; }

 public slots:
  void btnSalvaClick();
  void btnAnnullaClick();

 private:
  void rowChosen();
  void choiceMade(int side);

  using Model = gui::GridModelOf<std::vector<ClassRow>>;
  rendiconto::Settings settings_;
  bool saved_ = false;
  Model* rows_;
  gui::GridView* tblClassifica;
  QComboBox* cmbUscite;
  QComboBox* cmbEntrate;
  QLabel* lblCategoria;
};

}  // namespace fondaro
