// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/Categorie.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/archive.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "WindowSet.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "journal/CategorieOutput.h"
#include "journal/TextsCategorie.h"
#include "movements/TrovaMovimenti.h"
#include "report/templates.h"

namespace fondaro {

namespace {

namespace t = categoryTexts;
using categories::centsText;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

QString indented(const CategoryRow& r) {
  return r.kind == CategoryRow::Kind::Sub ? u"      "_qs + r.name : r.name;
}

const gui::GridColumn<CategoryRow> kColumns[] = {
    {t::kCategoryColumns[0], gui::kGridStretch, [](const CategoryRow& r, bool) { return indented(r); }},
    {t::kCategoryColumns[1], 110, [](const CategoryRow& r, bool) { return QString::number(r.totals.count); }, kRight},
    {t::kCategoryColumns[2], 140,
     [](const CategoryRow& r, bool) { return centsText(r.totals.income.roundedCents(), false, true); }, kRight},
    {t::kCategoryColumns[3], 140,
     [](const CategoryRow& r, bool) { return centsText(-r.totals.expense.roundedCents(), false, true); }, kRight},
    {t::kCategoryColumns[4], 140,
     [](const CategoryRow& r, bool) { return centsText(r.totals.balance().roundedCents(), true, true); }, kRight},
};

std::vector<CategoryRow> rowsOf(const categories::CategorySummary& s) {
  std::vector<CategoryRow> rows;
  for (const categories::CategoryGroup& g : s.groups) {
    rows.push_back({CategoryRow::Kind::Category, g.line.name, g.uncategorised() ? QString() : g.line.name,
                    g.line.totals});
    for (const categories::SummaryLine& sub : g.subs)
      rows.push_back({CategoryRow::Kind::Sub, sub.name.mid(g.line.name.size() + 2), sub.name, sub.totals});
  }
  rows.push_back({CategoryRow::Kind::Total, u"Totale"_qs, QString(), s.total});
  return rows;
}

}  // namespace

TfrmCategorie::TfrmCategorie(QWidget* owner, const QDate& from, const QDate& to)
    : Form(owner, Kind::Dialog, Placement::Owner), from_(from), to_(to) {
  setObjectName(u"frmCategorie"_qs);
  setWindowTitle(gui::windowCaption(t::kCategoriesCaption));
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(1000, 640);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(16, 14, 16, 14);
  v->setSpacing(8);
  v->addWidget(gui::layoutLabel(this, "lblTitolo", t::kCategoriesCaption, gui::windowFont("Verdana", 14, true)));

  auto* period = new QHBoxLayout;
  const QFont field = gui::windowFont("Verdana", 10, true);
  period->addWidget(gui::layoutLabel(this, "titDal", t::kDal, field));
  txtDal = new QLineEdit(this);
  txtDal->setObjectName(u"txtDal"_qs);
  txtDal->setMaxLength(10);
  txtDal->setFixedWidth(120);
  txtDal->setFont(field);
  period->addWidget(txtDal);
  period->addWidget(gui::layoutLabel(this, "titAl", t::kAl, field));
  txtAl = new QLineEdit(this);
  txtAl->setObjectName(u"txtAl"_qs);
  txtAl->setMaxLength(10);
  txtAl->setFixedWidth(120);
  txtAl->setFont(field);
  period->addWidget(txtAl);
  period->addWidget(gui::layoutButton(this, "btnAggiorna", t::kAggiorna, 110));
  period->addStretch();
  v->addLayout(period);

  lblNota = gui::layoutLabel(this, "lblNota", categories::countedAlikeText(), gui::windowFont("Verdana", 9));
  lblNota->setWordWrap(true);
  v->addWidget(lblNota);
  v->addWidget(gui::layoutLabel(this, "lblSuggerimento", t::kCategoriesHint, gui::windowFont("Verdana", 9)));

  rows_ = new Model({.columns = kColumns,
                     .rows = gui::listRows<std::vector<CategoryRow>>,
                     .ink = [](const CategoryRow& r, int) {
                       return r.kind == CategoryRow::Kind::Sub     ? QColor(0x40, 0x40, 0x40)
                              : r.kind == CategoryRow::Kind::Total ? QColor(0x00, 0x00, 0x80)
                                                                   : QColor();
                     }},
                    this);
  tblCategorie = new gui::GridView(this, u"tblCategorie"_qs, rows_, {});
  tblCategorie->setAccessibleName(t::kCategoriesCaption.toString());
  v->addWidget(tblCategorie, 1);

  auto* buttons = new QHBoxLayout;
  for (const auto& [name, text] : {std::pair{"btnGraficoUscite", t::kGraficoUscite},
                                   std::pair{"btnGraficoEntrate", t::kGraficoEntrate},
                                   std::pair{"btnAnteprima", t::kAnteprima}, std::pair{"btnStampa", t::kStampa},
                                   std::pair{"btnPdf", t::kPdf}, std::pair{"btnEsporta", t::kEsporta}})
    buttons->addWidget(gui::layoutButton(this, name, text, 100));
  buttons->addStretch();
  buttons->addWidget(gui::layoutButton(this, "btnGuida", t::kGuida, 100));
  buttons->addWidget(gui::layoutButton(this, "btnEsci", t::kEsci, 100));
  v->addLayout(buttons);

  connect(tblCategorie, &QAbstractItemView::doubleClicked, this,
          [this](const QModelIndex& i) { showMovements(i.row()); });
  connect(txtDal, &QLineEdit::returnPressed, this, [this] { txtAl->setFocus(); });
  connect(txtAl, &QLineEdit::returnPressed, this, &TfrmCategorie::btnAggiornaClick);
  gui::setTabChain(this, {u"txtDal", u"txtAl", u"btnAggiorna", u"tblCategorie", u"btnGraficoUscite",
                          u"btnGraficoEntrate", u"btnAnteprima", u"btnStampa", u"btnPdf", u"btnEsporta",
                          u"btnGuida", u"btnEsci"});
  gui::connectClickSlots(this);
}

void TfrmCategorie::FormShow() {
  txtDal->setText(formatDate(from_));
  txtAl->setText(formatDate(to_));
  readPeriod();
  tblCategorie->setFocus();
}

bool TfrmCategorie::readPeriod() {
  try {
    summary_ = categories::summarise(gui::programFolderPath(), from_, to_);
  } catch (const ArchiveError& e) {
    summary_ = {};
    rows_->setValue(rowsOf(summary_));
    gui::show(this, e);
    return false;
  }
  rows_->setValue(rowsOf(summary_));
  tblCategorie->fit();
  if (rows_->rowCount() > 0) tblCategorie->selectRow(0);
  if (!summary_.skipped.empty()) {
    QStringList where;
    for (const categories::ArchiveSkipped& s : summary_.skipped)
      where << s.archive + u' ' + QString::number(s.record.position);
    gui::notice(this, gui::Icon::Warning, t::kSkipped.toString() + u' ' + where.mid(0, 10).join(u", "_qs) +
                                              (where.size() > 10 ? u", ..."_qs : QString()));
  }
  return true;
}

void TfrmCategorie::btnAggiornaClick() {
  const QDate from = parseDate(trimmedText(txtDal->text()));
  const QDate to = parseDate(trimmedText(txtAl->text()));
  if (!from.isValid() || !to.isValid() || to < from) {
    gui::message(this, t::kBadPeriod.toString());
    txtDal->setFocus();
    return;
  }
  from_ = from;
  to_ = to;
  readPeriod();
}

void TfrmCategorie::showChart(bool expenses) {
  showCategoryChart(this, (expenses ? t::kExpensesChart : t::kIncomeChart).toString(),
                    categories::summaryTitle(from_, to_), categories::chartSlices(summary_, expenses));
}

void TfrmCategorie::btnGraficoUsciteClick() { showChart(true); }
void TfrmCategorie::btnGraficoEntrateClick() { showChart(false); }

void TfrmCategorie::output(gui::PrintTarget target) {
  report::Report r = report::categoriesReport(categories::summaryTitle(from_, to_), summaryPrintRows(summary_));
  outputReport(this, r, target, u"Categorie.pdf"_qs);
}

void TfrmCategorie::btnAnteprimaClick() { output(gui::PrintTarget::Preview); }
void TfrmCategorie::btnStampaClick() { output(gui::PrintTarget::PrintDialog); }
void TfrmCategorie::btnPdfClick() { output(gui::PrintTarget::Pdf); }

void TfrmCategorie::btnEsportaClick() {
  exportSheet(this, categories::summarySheet(summary_), categories::kSheetFileName);
}

// The movement search of the period's last year that has an archive, with the
// category as its filter, searched at once.
void TfrmCategorie::showMovements(int row) {
  if (row < 0 || row >= rows_->rowCount() || summary_.yearsRead.empty()) return;
  const CategoryRow& r = rows_->row(row);
  if (r.kind == CategoryRow::Kind::Total || r.full.isEmpty()) return;
  const QString path =
      movementArchivePath(gui::programFolder(), QString::number(summary_.yearsRead.back()));
  TfrmTrovaMovimenti w(this, path);
  const QString filter = r.full;
  QTimer::singleShot(0, &w, [&w, filter] {
    if (auto* f = w.findChild<QLineEdit*>(u"txtCategoria"_qs)) f->setText(filter);
    w.btnCercaClick();
  });
  w.showModal();
}

void TfrmCategorie::btnGuidaClick() {
  showGuide(this, t::kGuideTitle.toString(), gui::guidePage(u"categorie"_qs));
}

void TfrmCategorie::btnEsciClick() { close(); }

}  // namespace fondaro
