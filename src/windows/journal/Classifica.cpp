// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/Classifica.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/categories.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "journal/TextsCategorie.h"

namespace fondaro {

namespace {

namespace t = categoryTexts;
using rendiconto::Side;

// What a side of a row shows: its own choice, its category's, or that it
// has none; "-" for a side without movements.
QString choiceText(const QString& own, const QString& parent, bool moves) {
  if (!moves) return t::kNoMoves.toString();
  const QString code = own.isEmpty() ? parent : own;
  QString text;
  if (code == rendiconto::kExcluded) text = t::kExcluded.toString();
  else if (const rendiconto::FormRow* row = rendiconto::rowOf(code)) text = rendiconto::choiceCaption(*row);
  else return t::kNotClassified.toString();
  return own.isEmpty() ? t::kFollowsCategory.toString() + u" ("_qs + text + u')' : text;
}

bool unclassified(const ClassRow& r) {
  return (r.hasOut && r.uscite.isEmpty() && r.parentUscite.isEmpty()) ||
         (r.hasIn && r.entrate.isEmpty() && r.parentEntrate.isEmpty());
}

const gui::GridColumn<ClassRow> kColumns[] = {
    {t::kClassificaColumns[0], 300,
     [](const ClassRow& r, bool) {
       return r.sub ? u"      "_qs + r.name.mid(r.name.indexOf(u':') + 2) : r.name;
     }},
    {t::kClassificaColumns[1], gui::kGridStretch,
     [](const ClassRow& r, bool) { return choiceText(r.uscite, r.parentUscite, r.hasOut); }},
    {t::kClassificaColumns[2], gui::kGridStretch,
     [](const ClassRow& r, bool) { return choiceText(r.entrate, r.parentEntrate, r.hasIn); }},
};

void fillChoices(QComboBox* c, Side side) {
  c->addItem(t::kNotClassified.toString(), QString());
  c->addItem(t::kExcluded.toString(), rendiconto::kExcluded);
  for (const rendiconto::FormRow* row : rendiconto::choicesFor(side))
    c->addItem(rendiconto::choiceCaption(*row), row->code);
}

// The list's name of the movements without a category, stored as "".
QString storedName(const ClassRow& r) {
  return r.name == categories::kNoCategory ? QString() : r.name;
}

std::vector<ClassRow> rowsOf(const rendiconto::Settings& s, const std::vector<categories::CategoryGroup>& groups) {
  const rendiconto::Classifier c(s.classificazione);
  std::vector<ClassRow> rows;
  const auto add = [&](const categories::SummaryLine& l, bool sub, const ClassRow* parent) {
    const QString stored = l.name == categories::kNoCategory ? QString() : l.name;
    rows.push_back({l.name, sub, l.totals.expenseCount > 0, l.totals.incomeCount > 0,
                    c.ownCode(stored, Side::Uscite), c.ownCode(stored, Side::Entrate),
                    parent ? parent->uscite : QString(), parent ? parent->entrate : QString()});
  };
  for (const categories::CategoryGroup& g : groups) {
    add(g.line, false, nullptr);
    const ClassRow parent = rows.back();
    for (const categories::SummaryLine& sub : g.subs) add(sub, true, &parent);
  }
  return rows;
}

}  // namespace

TfrmClassifica::TfrmClassifica(QWidget* owner, const rendiconto::Settings& settings,
                               const std::vector<categories::CategoryGroup>& categories)
    : Form(owner, Kind::Dialog, Placement::Owner), settings_(settings) {
  setObjectName(u"frmClassifica"_qs);
  setWindowTitle(gui::windowCaption(t::kClassificaCaption));
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(1100, 640);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(16, 14, 16, 14);
  v->setSpacing(8);
  v->addWidget(gui::layoutLabel(this, "lblTitolo", t::kClassificaCaption, gui::windowFont("Verdana", 14, true)));
  QLabel* hint = gui::layoutLabel(this, "lblInfo", t::kClassificaHint, gui::windowFont("Verdana", 9));
  hint->setWordWrap(true);
  v->addWidget(hint);

  rows_ = new Model({.columns = kColumns,
                     .rows = gui::listRows<std::vector<ClassRow>>,
                     .ink = [](const ClassRow& r, int) { return unclassified(r) ? QColor(0xC0, 0, 0) : QColor(); }},
                    this);
  rows_->setValue(rowsOf(settings_, categories));
  tblClassifica = new gui::GridView(this, u"tblClassifica"_qs, rows_, {});
  tblClassifica->setAccessibleName(t::kClassificaCaption.toString());
  v->addWidget(tblClassifica, 1);

  lblCategoria = gui::layoutLabel(this, "lblCategoria", u"", gui::windowFont("Verdana", 10, true));
  v->addWidget(lblCategoria);
  auto* choices = new QGridLayout;
  cmbUscite = new QComboBox(this);
  cmbUscite->setObjectName(u"cmbUscite"_qs);
  fillChoices(cmbUscite, Side::Uscite);
  cmbEntrate = new QComboBox(this);
  cmbEntrate->setObjectName(u"cmbEntrate"_qs);
  fillChoices(cmbEntrate, Side::Entrate);
  const QFont caption = gui::windowFont("Verdana", 10, true);
  choices->addWidget(gui::layoutLabel(this, "titUscite", t::kUsciteChoice, caption), 0, 0);
  choices->addWidget(cmbUscite, 0, 1);
  choices->addWidget(gui::layoutLabel(this, "titEntrate", t::kEntrateChoice, caption), 1, 0);
  choices->addWidget(cmbEntrate, 1, 1);
  choices->setColumnStretch(1, 1);
  v->addLayout(choices);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(gui::layoutButton(this, "btnAnnulla", t::kAnnulla, 110));
  buttons->addWidget(gui::layoutButton(this, "btnSalva", t::kSalva, 110));
  v->addLayout(buttons);

  connect(tblClassifica->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { rowChosen(); });
  connect(cmbUscite, &QComboBox::activated, this, [this] { choiceMade(0); });
  connect(cmbEntrate, &QComboBox::activated, this, [this] { choiceMade(1); });
  gui::setTabChain(this, {u"tblClassifica", u"cmbUscite", u"cmbEntrate", u"btnAnnulla", u"btnSalva"});
  gui::connectClickSlots(this);
  tblClassifica->fit();
  if (rows_->rowCount() > 0) tblClassifica->selectRow(0);
  rowChosen();
}

void TfrmClassifica::rowChosen() {
  const int row = tblClassifica->currentIndex().row();
  const bool any = row >= 0 && row < rows_->rowCount();
  const ClassRow r = any ? rows_->row(row) : ClassRow{};
  lblCategoria->setText(r.name);
  cmbUscite->setEnabled(any && r.hasOut);
  cmbEntrate->setEnabled(any && r.hasIn);
  cmbUscite->setCurrentIndex(std::max(0, cmbUscite->findData(r.uscite)));
  cmbEntrate->setCurrentIndex(std::max(0, cmbEntrate->findData(r.entrate)));
  // A sub-category without its own choice follows its category's.
  cmbUscite->setItemText(0, r.sub ? t::kFollowsCategory.toString() : t::kNotClassified.toString());
  cmbEntrate->setItemText(0, r.sub ? t::kFollowsCategory.toString() : t::kNotClassified.toString());
}

void TfrmClassifica::choiceMade(int side) {
  const int row = tblClassifica->currentIndex().row();
  if (row < 0 || row >= rows_->rowCount()) return;
  std::vector<ClassRow> rows = rows_->value();
  ClassRow& r = rows[size_t(row)];
  const QString code = (side == 0 ? cmbUscite : cmbEntrate)->currentData().toString();
  (side == 0 ? r.uscite : r.entrate) = code;
  // The sub-categories under a category follow its new choice.
  if (!r.sub) {
    for (size_t i = size_t(row) + 1; i < rows.size() && rows[i].sub; ++i)
      (side == 0 ? rows[i].parentUscite : rows[i].parentEntrate) = code;
  }
  rows_->setValue(std::move(rows));
  tblClassifica->selectRow(row);
}

// Only the rows' choices change; the rest of the file (other categories, the
// balances) stays as it is now.
void TfrmClassifica::btnSalvaClick() {
  const std::vector<ClassRow> rows = rows_->value();
  try {
    settings_ = rendiconto::updateSettings(gui::programFolderPath(), [&](rendiconto::Settings& s) {
      for (const ClassRow& r : rows) {
        const QString key = categories::categoryKey(storedName(r));
        const auto it = std::find_if(s.classificazione.begin(), s.classificazione.end(), [&](const auto& c) {
          return categories::categoryKey(c.categoria) == key;
        });
        if (it == s.classificazione.end()) {
          if (!r.uscite.isEmpty() || !r.entrate.isEmpty())
            s.classificazione.push_back({storedName(r), r.uscite, r.entrate});
        } else if (r.uscite.isEmpty() && r.entrate.isEmpty()) {
          s.classificazione.erase(it);
        } else {
          it->uscite = r.uscite;
          it->entrate = r.entrate;
        }
      }
    });
  } catch (const rendiconto::RendicontoError& e) {
    gui::show(this, e);
    return;
  }
  saved_ = true;
  close();
}

void TfrmClassifica::btnAnnullaClick() { close(); }

}  // namespace fondaro
