// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/Rendiconto.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <map>
#include <optional>

#include "core/archive.h"
#include "core/journal.h"
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
#include "journal/Classifica.h"
#include "journal/TextsCategorie.h"
#include "report/templates.h"

namespace fondaro {

namespace {

namespace t = categoryTexts;
using rendiconto::FormLine;
using rendiconto::RowKind;

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

const gui::GridColumn<FormLine> kColumns[] = {
    {t::kFormColumns[0], 70,
     [](const FormLine& l, bool) { return l.row->kind == RowKind::Heading ? QString() : l.row->code; }},
    {t::kFormColumns[1], gui::kGridStretch,
     [](const FormLine& l, bool) { return l.row->kind == RowKind::Line ? u"    "_qs + l.row->text : l.row->text; }},
    {t::kFormColumns[2], 130, [](const FormLine& l, bool) { return rendiconto::amountText(l, 0, true); }, kRight},
    {t::kFormColumns[3], 130, [](const FormLine& l, bool) { return rendiconto::amountText(l, 1, true); }, kRight},
};

QColor inkOf(const FormLine& l, int) {
  switch (l.row->kind) {
    case RowKind::Heading: return QColor(0x2F, 0x4F, 0x4F);
    case RowKind::Total:
    case RowKind::Result: return QColor(0x00, 0x00, 0x80);
    default: return QColor();
  }
}

QLineEdit* amountField(QWidget* parent, const QString& name) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(name);
  e->setMaxLength(15);
  e->setFixedWidth(130);
  e->setAlignment(Qt::AlignRight);
  return e;
}

}  // namespace

TfrmRendiconto::TfrmRendiconto(QWidget* owner, int year)
    : Form(owner, Kind::Dialog, Placement::Owner), year_(year) {
  setObjectName(u"frmRendiconto"_qs);
  setWindowTitle(gui::windowCaption(t::kRendicontoCaption));
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(1180, 700);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(16, 12, 16, 12);
  v->setSpacing(6);
  auto* top = new QHBoxLayout;
  top->addWidget(gui::layoutLabel(this, "lblTitolo", t::kRendicontoCaption, gui::windowFont("Verdana", 14, true)));
  top->addStretch();
  const QFont field = gui::windowFont("Verdana", 10, true);
  top->addWidget(gui::layoutLabel(this, "titAnno", t::kAnno, field));
  txtAnno = new QLineEdit(this);
  txtAnno->setObjectName(u"txtAnno"_qs);
  txtAnno->setMaxLength(4);
  txtAnno->setFixedWidth(70);
  txtAnno->setFont(field);
  top->addWidget(txtAnno);
  top->addWidget(gui::layoutButton(this, "btnCalcola", t::kCalcola, 100));
  chkZero = new QCheckBox(t::kZeroLines.toString(), this);
  chkZero->setObjectName(u"chkZero"_qs);
  chkFigurativi = new QCheckBox(t::kFigurativi.toString(), this);
  chkFigurativi->setObjectName(u"chkFigurativi"_qs);
  top->addWidget(chkZero);
  top->addWidget(chkFigurativi);
  v->addLayout(top);
  v->addWidget(gui::layoutLabel(this, "lblInfo", t::kRendicontoHint, gui::windowFont("Verdana", 9)));

  auto* middle = new QHBoxLayout;
  rows_ = new Model({.columns = kColumns, .rows = gui::listRows<std::vector<FormLine>>, .ink = inkOf}, this);
  tblRendiconto = new gui::GridView(this, u"tblRendiconto"_qs, rows_, {.points = 8, .air = 2});
  tblRendiconto->setAccessibleName(t::kRendicontoCaption.toString());
  middle->addWidget(tblRendiconto, 1);

  auto* side = new QVBoxLayout;
  side->addWidget(gui::layoutLabel(this, "titSaldi", t::kSaldi, field));
  auto* grid = new QGridLayout;
  grid->addWidget(gui::layoutLabel(this, "titCassa", t::kCassa, gui::windowFont("Verdana", 9)), 0, 1);
  grid->addWidget(gui::layoutLabel(this, "titBanca", t::kBancaBreve, gui::windowFont("Verdana", 9)), 0, 2);
  for (int k = 0; k < 3; ++k) {
    lblSaldi[size_t(k)] = gui::layoutLabel(this, QStringLiteral("lblSaldi%1").arg(k).toLatin1().constData(), u"",
                                           gui::windowFont("Verdana", 9, true));
    grid->addWidget(lblSaldi[size_t(k)], k + 1, 0);
    txtSaldi[size_t(k)][0] = amountField(this, QStringLiteral("txtCassa%1").arg(k));
    txtSaldi[size_t(k)][1] = amountField(this, QStringLiteral("txtBanca%1").arg(k));
    grid->addWidget(txtSaldi[size_t(k)][0], k + 1, 1);
    grid->addWidget(txtSaldi[size_t(k)][1], k + 1, 2);
  }
  side->addLayout(grid);
  side->addWidget(gui::layoutButton(this, "btnSalvaSaldi", t::kSalvaSaldi, 120), 0, Qt::AlignRight);
  lblNote = gui::layoutLabel(this, "lblNote", u"", gui::windowFont("Verdana", 9));
  lblNote->setWordWrap(true);
  lblNote->setTextFormat(Qt::RichText);
  lblNote->setFixedWidth(320);
  side->addWidget(lblNote);
  side->addStretch();
  middle->addLayout(side);
  v->addLayout(middle, 1);

  auto* buttons = new QHBoxLayout;
  for (const auto& [name, text] :
       {std::pair{"btnClassifica", t::kClassifica}, std::pair{"btnAnteprima", t::kAnteprima},
        std::pair{"btnStampa", t::kStampa}, std::pair{"btnPdf", t::kPdf}, std::pair{"btnEsporta", t::kEsporta}})
    buttons->addWidget(gui::layoutButton(this, name, text, 110));
  buttons->addStretch();
  buttons->addWidget(gui::layoutButton(this, "btnGuida", t::kGuida, 100));
  buttons->addWidget(gui::layoutButton(this, "btnEsci", t::kEsci, 110));
  v->addLayout(buttons);

  connect(txtAnno, &QLineEdit::returnPressed, this, &TfrmRendiconto::btnCalcolaClick);
  connect(chkZero, &QCheckBox::toggled, this, [this] { compute(); });
  // The choice is kept with the classification, for every year.
  connect(chkFigurativi, &QCheckBox::toggled, this, [this](bool on) {
    settings_.figurativi = on;
    if (settingsRead_) {
      try {
        settings_ = rendiconto::updateSettings(gui::programFolderPath(),
                                               [on](rendiconto::Settings& s) { s.figurativi = on; });
      } catch (const rendiconto::RendicontoError& e) {
        gui::show(this, e);
      }
    }
    compute();
  });
  gui::setTabChain(this, {u"txtAnno", u"btnCalcola", u"chkZero", u"chkFigurativi", u"tblRendiconto", u"txtCassa0",
                          u"txtBanca0", u"txtCassa1", u"txtBanca1", u"txtCassa2", u"txtBanca2", u"btnSalvaSaldi",
                          u"btnClassifica", u"btnAnteprima", u"btnStampa", u"btnPdf", u"btnEsporta", u"btnGuida", u"btnEsci"});
  gui::connectClickSlots(this);
}

void TfrmRendiconto::FormShow() {
  txtAnno->setText(QString::number(year_));
  readYear();
  tblRendiconto->setFocus();
}

// The settings file afresh, then the archives.
bool TfrmRendiconto::readYear() {
  try {
    settings_ = rendiconto::readSettings(gui::programFolderPath());
    settingsRead_ = true;
  } catch (const rendiconto::RendicontoError& e) {
    // A file that cannot be read is never replaced: nothing is saved over it.
    settings_ = {};
    settingsRead_ = false;
    gui::show(this, e);
  }
  const QSignalBlocker block(chkFigurativi);
  chkFigurativi->setChecked(settings_.figurativi);
  showBalances();
  compute();
  return settingsRead_;
}

void TfrmRendiconto::compute() {
  try {
    form_ = rendiconto::buildRendiconto(gui::programFolderPath(), year_, settings_, chkZero->isChecked());
  } catch (const ArchiveError& e) {
    form_ = {};
    form_.year = year_;
    gui::show(this, e);
  }
  rows_->setValue(form_.lines);
  tblRendiconto->fit();
  showNotes();
}

void TfrmRendiconto::showBalances() {
  for (int k = 0; k < 3; ++k) {
    const int year = year_ - k;
    lblSaldi[size_t(k)]->setText(QStringLiteral("31/12/%1").arg(year));
    const auto it = settings_.saldi.find(year);
    for (int f = 0; f < 2; ++f) {
      QLineEdit* e = txtSaldi[size_t(k)][size_t(f)];
      if (it == settings_.saldi.end()) e->clear();
      else e->setText(categories::centsText(f == 0 ? it->second.cassa : it->second.banca, false, true));
    }
  }
}

void TfrmRendiconto::showNotes() {
  QStringList html;
  for (const rendiconto::FormNote& n : rendiconto::formNotes(form_)) {
    const QString text = n.text.toHtmlEscaped();
    html << (n.fault ? u"<span style=\"color:#c00000;font-weight:bold\">"_qs + text + u"</span>"_qs : text);
  }
  lblNote->setText(html.join(u"<br><br>"_qs));
}

void TfrmRendiconto::btnCalcolaClick() {
  const QString text = trimmedText(txtAnno->text());
  if (!isYearText(text) || text.toInt() < 1001) {
    gui::message(this, t::kYearNeeded.toString());
    txtAnno->setFocus();
    return;
  }
  year_ = text.toInt();
  readYear();
}

// Empty fields leave a year without balances; thousands dots are taken.
void TfrmRendiconto::btnSalvaSaldiClick() {
  if (!settingsRead_) {
    readYear();
    if (!settingsRead_) return;
  }
  std::map<int, std::optional<rendiconto::YearBalances>> typed;
  for (int k = 0; k < 3; ++k) {
    const QString cassa = trimmedText(txtSaldi[size_t(k)][0]->text()).remove(u'.');
    const QString banca = trimmedText(txtSaldi[size_t(k)][1]->text()).remove(u'.');
    if (cassa.isEmpty() && banca.isEmpty()) {
      typed[year_ - k] = std::nullopt;
      continue;
    }
    rendiconto::YearBalances b;
    for (const auto& [text, target, field] : {std::tuple{cassa, &b.cassa, txtSaldi[size_t(k)][0]},
                                              std::tuple{banca, &b.banca, txtSaldi[size_t(k)][1]}}) {
      if (text.isEmpty()) continue;
      const std::optional<ExactAmount> a = ExactAmount::parse(text);
      if (!a) {
        gui::message(this, t::kBadAmount.toString().arg(text));
        field->setFocus();
        return;
      }
      *target = a->roundedCents();
    }
    typed[year_ - k] = b;
  }
  rendiconto::Settings s;
  try {
    s = rendiconto::updateSettings(gui::programFolderPath(), [&](rendiconto::Settings& now) {
      for (const auto& [year, b] : typed) {
        if (b) now.saldi[year] = *b;
        else now.saldi.erase(year);
      }
    });
  } catch (const rendiconto::RendicontoError& e) {
    gui::show(this, e);
    return;
  }
  settings_ = std::move(s);
  showBalances();
  compute();
}

void TfrmRendiconto::btnClassificaClick() {
  if (!settingsRead_) {
    readYear();
    if (!settingsRead_) return;
  }
  TfrmClassifica w(this, settings_, form_.categories);
  w.showModal();
  if (w.saved()) readYear();
}

void TfrmRendiconto::output(gui::PrintTarget target) {
  report::Report r = report::rendicontoReport(rendiconto::formTitle(year_), rendiconto::formPrintRows(form_));
  outputReport(this, r, target, u"Rendiconto.pdf"_qs);
}

void TfrmRendiconto::btnAnteprimaClick() { output(gui::PrintTarget::Preview); }
void TfrmRendiconto::btnStampaClick() { output(gui::PrintTarget::PrintDialog); }
void TfrmRendiconto::btnPdfClick() { output(gui::PrintTarget::Pdf); }

void TfrmRendiconto::btnEsportaClick() {
  exportSheet(this, rendiconto::formSheet(form_), rendiconto::kSheetFileName);
}

void TfrmRendiconto::btnGuidaClick() {
  showGuide(this, t::kGuideTitle.toString(), gui::guidePage(u"categorie"_qs));
}

void TfrmRendiconto::btnEsciClick() { close(); }

}  // namespace fondaro
