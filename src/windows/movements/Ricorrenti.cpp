#include "movements/Ricorrenti.h"

#include <QDate>
#include <QHeaderView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
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

  tblRicorrenti = new QTableWidget(this);
  tblRicorrenti->setObjectName(u"tblRicorrenti"_qs);
  tblRicorrenti->setAccessibleName(t::kListTitle.toString());
  tblRicorrenti->setFont(gui::windowFont("Verdana", 9));
  tblRicorrenti->setColumnCount(int(std::size(t::kColumns)));
  QStringList headers;
  for (QStringView h : t::kColumns) headers << h.toString();
  tblRicorrenti->setHorizontalHeaderLabels(headers);
  tblRicorrenti->verticalHeader()->setVisible(false);
  tblRicorrenti->setSelectionBehavior(QAbstractItemView::SelectRows);
  tblRicorrenti->setSelectionMode(QAbstractItemView::SingleSelection);
  tblRicorrenti->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblRicorrenti->setAlternatingRowColors(true);
  tblRicorrenti->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  tblRicorrenti->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
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

  connect(tblRicorrenti, &QTableWidget::cellDoubleClicked, this, [this] { btnModificaClick(); });
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
    tblRicorrenti->setRowCount(0);
    gui::notice(this, gui::Icon::Warning, e.italian());
    return;
  }
  tblRicorrenti->setRowCount(int(list.size()));
  for (int row = 0; row < int(list.size()); ++row) {
    const Schedule& s = list[size_t(row)];
    const std::optional<QDate> next = s.next();
    const QString cells[] = {QString::number(s.number),
                             s.movement.Causale.trimmed(),
                             s.movement.Importo.trimmed(),
                             (isIn(s.movement) ? t::kIn : t::kOut).toString(),
                             s.repetition.italian(),
                             next ? formatDate(*next) : t::kNoDate.toString(),
                             s.end.italian(),
                             (s.stopped ? t::kStopped : t::kActive).toString()};
    for (int c = 0; c < int(std::size(cells)); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      if (c == 0 || c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (s.stopped) item->setForeground(QColor(0x80, 0x80, 0x80));
      if (c == 0) item->setData(Qt::UserRole, s.number);
      tblRicorrenti->setItem(row, c, item);
    }
    if (s.number == keep) tblRicorrenti->selectRow(row);
  }
  if (tblRicorrenti->currentRow() < 0 && !list.empty()) tblRicorrenti->selectRow(0);
}

int TfrmRicorrenti::selectedNumber() const {
  const int row = tblRicorrenti->currentRow();
  if (row < 0 || !tblRicorrenti->item(row, 0)) return 0;
  return tblRicorrenti->item(row, 0)->data(Qt::UserRole).toInt();
}

void TfrmRicorrenti::btnModificaClick() {
  const int number = selectedNumber();
  if (number == 0) {
    gui::notice(this, gui::Icon::Information,
                (tblRicorrenti->rowCount() ? t::kChooseFirst : t::kEmptyList).toString());
    return;
  }
  try {
    for (const Schedule& s : readSchedules(gui::programFolderPath())) {
      if (s.number != number) continue;
      if (s.stopped) {
        gui::notice(this, gui::Icon::Information, t::kAlreadyStopped.toString());
        return;
      }
      bool saved = false;
      gui::openPerUse<TfrmRipeti>(this, [&](TfrmRipeti& w) {
        w.setChange(s);
        w.whenSaved = [&](int) { saved = true; };
      });
      fill();
      if (saved) runRecurringMovements(this);
      return;
    }
  } catch (const RecurringError& e) {
    gui::notice(this, gui::Icon::Warning, e.italian());
  }
  fill();
}

void TfrmRicorrenti::btnSospendiClick() {
  const int number = selectedNumber();
  if (number == 0) {
    gui::notice(this, gui::Icon::Information,
                (tblRicorrenti->rowCount() ? t::kChooseFirst : t::kEmptyList).toString());
    return;
  }
  const int row = tblRicorrenti->currentRow();
  if (tblRicorrenti->item(row, 7)->text() == t::kStopped) {
    gui::notice(this, gui::Icon::Information, t::kAlreadyStopped.toString());
    return;
  }
  if (!gui::question(this, t::kStopQuestion.toString().arg(number).arg(tblRicorrenti->item(row, 1)->text())))
    return;
  try {
    stopSchedule(gui::programFolderPath(), number);
  } catch (const RecurringError& e) {
    gui::notice(this, gui::Icon::Warning, e.italian());
  }
  fill();
}

void TfrmRicorrenti::btnChiudiClick() { close(); }

}  // namespace fondaro
