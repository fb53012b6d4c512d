// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/Ricorrenti.h"

#include <QDate>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/notice.h"
#include "core/recurring.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "movements/Ripeti.h"
#include "movements/TextsRicorrenti.h"

namespace fondaro {

namespace {

namespace t = recurringTexts;

bool isIn(const TMovimento& m) {
  const QString total = m.Totale.trimmed();
  return total.startsWith(u'+') || (!total.startsWith(u'-') && m.Entrata.trimmed() == kSi);
}

using gui::kGridFitText;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// Every column as wide as its texts; the reason takes the rest.
const gui::GridColumn<Schedule> kColumns[] = {
    {t::kColumns[0], kGridFitText, [](const Schedule& s, bool) { return QString::number(s.number); }, kRight},
    {t::kColumns[1], gui::kGridStretch, [](const Schedule& s, bool) { return s.movement.Causale.trimmed(); }},
    {t::kColumns[2], kGridFitText, [](const Schedule& s, bool) { return s.movement.Importo.trimmed(); }, kRight},
    {t::kColumns[3], kGridFitText,
     [](const Schedule& s, bool) { return (isIn(s.movement) ? t::kIn : t::kOut).toString(); }},
    {t::kColumns[4], kGridFitText, [](const Schedule& s, bool) { return s.repetition.italian(); }},
    {t::kColumns[5], kGridFitText,
     [](const Schedule& s, bool) {
       const std::optional<QDate> next = s.next();
       return next ? formatDate(*next) : t::kNoDate.toString();
     }},
    {t::kColumns[6], kGridFitText, [](const Schedule& s, bool) { return s.end.italian(); }},
    {t::kColumns[7], kGridFitText,
     [](const Schedule& s, bool) { return (s.stopped ? t::kStopped : t::kActive).toString(); }},
};

}  // namespace

TfrmRicorrenti::TfrmRicorrenti(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmRicorrenti"_qs);
  setWindowTitle(t::kListCaption.toString());
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(940, 480);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(16, 14, 16, 14);
  v->setSpacing(10);
  v->addWidget(gui::layoutLabel(this, "lblTitolo", t::kListTitle, gui::windowFont("Verdana", 14, true)));
  QLabel* hint = gui::layoutLabel(this, "lblInfo", t::kListHint, gui::windowFont("Verdana", 9));
  hint->setWordWrap(true);
  v->addWidget(hint);

  schedules_ = new Model({.columns = kColumns,
                          .rows = gui::listRows<std::vector<Schedule>>,
                          .ink = [](const Schedule& s, int) {
                            return s.stopped ? QColor(0x80, 0x80, 0x80) : QColor();
                          }},
                         this);
  tblRicorrenti = new gui::GridView(this, u"tblRicorrenti"_qs, schedules_, {.wrap = true});
  tblRicorrenti->setAccessibleName(t::kListTitle.toString());
  v->addWidget(tblRicorrenti, 1);

  auto* buttons = new QHBoxLayout;
  btnModifica = gui::layoutButton(this, "btnModifica", t::kChange, 110);
  btnSospendi = gui::layoutButton(this, "btnSospendi", t::kStop, 110);
  btnChiudi = gui::layoutButton(this, "btnChiudi", t::kClose, 110);
  buttons->addWidget(btnModifica);
  buttons->addWidget(btnSospendi);
  buttons->addStretch();
  buttons->addWidget(btnChiudi);
  v->addLayout(buttons);

  connect(tblRicorrenti, &QAbstractItemView::doubleClicked, this, [this] { btnModificaClick(); });
  gui::setTabChain(this, {u"tblRicorrenti", u"btnModifica", u"btnSospendi", u"btnChiudi"});
  gui::connectClickSlots(this);
}

void TfrmRicorrenti::FormShow() {
  fill();
  tblRicorrenti->setFocus();
}

void TfrmRicorrenti::fill() {
  const int keep = selectedNumber();
  std::vector<Schedule> list;
  try {
    list = readSchedules(gui::programFolderPath());
  } catch (const RecurringError& e) {
    schedules_->setValue({});
    gui::show(this, e);
    return;
  }
  schedules_->setValue(std::move(list));
  int row = 0;
  for (int r = 0; r < schedules_->rowCount(); ++r)
    if (schedules_->row(r).number == keep) row = r;
  if (schedules_->rowCount() > 0) tblRicorrenti->selectRow(row);
}

int TfrmRicorrenti::selectedNumber() const {
  const int row = tblRicorrenti->currentIndex().row();
  return row < 0 ? 0 : schedules_->row(row).number;
}

void TfrmRicorrenti::btnModificaClick() {
  const int number = selectedNumber();
  if (number == 0) {
    gui::notice(this, gui::Icon::Information,
                (schedules_->rowCount() ? t::kChooseFirst : t::kEmptyList).toString());
    return;
  }
  try {
    for (const Schedule& s : readSchedules(gui::programFolderPath())) {
      if (s.number != number) continue;
      if (s.stopped) {
        gui::notice(this, gui::Icon::Information, t::kAlreadyStopped.toString());
        return;
      }
      TfrmRipeti w(this);
      w.setChange(s);
      w.showModal();
      fill();
      if (w.result().outcome == TfrmRipeti::Result::Outcome::Saved) runRecurringMovements(this);
      return;
    }
  } catch (const RecurringError& e) {
    gui::show(this, e);
  }
  fill();
}

void TfrmRicorrenti::btnSospendiClick() {
  const int number = selectedNumber();
  if (number == 0) {
    gui::notice(this, gui::Icon::Information,
                (schedules_->rowCount() ? t::kChooseFirst : t::kEmptyList).toString());
    return;
  }
  const Schedule& chosen = schedules_->row(tblRicorrenti->currentIndex().row());
  if (chosen.stopped) {
    gui::notice(this, gui::Icon::Information, t::kAlreadyStopped.toString());
    return;
  }
  if (!gui::question(this, t::kStopQuestion.toString().arg(number).arg(chosen.movement.Causale.trimmed())))
    return;
  try {
    stopSchedule(gui::programFolderPath(), number);
  } catch (const RecurringError& e) {
    gui::show(this, e);
  }
  fill();
}

void TfrmRicorrenti::btnChiudiClick() { close(); }

}  // namespace fondaro
