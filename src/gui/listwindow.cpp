// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/listwindow.h"

#include <QAbstractListModel>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

#include "core/lists.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/print.h"
#include "report/templates.h"

namespace fondaro::gui {

namespace {
constexpr int kItemWidth = 1600;
// A row draws its text a few pixels in from either edge.
constexpr int kTextMargins = 8;
}

class LineList::Model : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;

  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : int(lines.size()); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid() || index.row() >= lines.size()) return {};
    if (role == Qt::DisplayRole) return lines[index.row()];
    if (role == Qt::SizeHintRole) return QSize(kItemWidth, rowHeight);
    if (role == Qt::FontRole) return font;
    return {};
  }
  void reset(QStringList l) {
    beginResetModel();
    lines = std::move(l);
    endResetModel();
  }

  QStringList lines;
  QFont font;
  int rowHeight = 20;
};

LineList::LineList(const QString& objectName, QWidget* parent) : QListView(parent), model_(new Model(this)) {
  setObjectName(objectName);
  // The list's own style font is not used: the columns need a fixed pitch.
  QFont f = windowFont("Courier New", 12);
  f.setStyleHint(QFont::Monospace);
  f.setFixedPitch(true);
  setFont(f);
  QPalette p = palette();
  p.setColor(QPalette::Text, Qt::black);
  setPalette(p);
  model_->font = f;
  model_->rowHeight = QFontMetrics(f).height() + 2;
  setUniformItemSizes(true);
  setLayoutMode(QListView::SinglePass);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  setTextElideMode(Qt::ElideNone);
  setWordWrap(false);
  setModel(model_);
  connect(this, &QListView::doubleClicked, this, [this](const QModelIndex& i) {
    if (i.isValid()) emit lineChosen(i.row());
  });
}

LineList::~LineList() = default;

// The lines follow the list's font, which shrinks with the window on a small
// screen, and its width.
void LineList::changeEvent(QEvent* e) {
  QListView::changeEvent(e);
  if (e->type() == QEvent::FontChange) fitLines();
}

void LineList::resizeEvent(QResizeEvent* e) {
  QListView::resizeEvent(e);
  fitLines();
}

void LineList::setLongestLine(int characters) {
  longestLine_ = characters;
  fitLines();
}

QFont LineList::lineFont() const { return model_->font; }

void LineList::fitLines() {
  QFont f = font();
  const int room = viewport()->width() - kTextMargins;
  const QString longest(longestLine_, u'0');
  const auto fits = [&] { return QFontMetrics(f).horizontalAdvance(longest) <= room; };
  // A font that a small window's scaling already took below the floor stays.
  const qreal floor = std::min(f.pointSizeF(), kSmallestLinePoints);
  if (longestLine_ > 0 && f.pointSizeF() > 0)
    while (f.pointSizeF() > floor && !fits()) f.setPointSizeF(std::max(floor, f.pointSizeF() - 0.5));
  if (f == model_->font) return;
  model_->font = f;
  model_->rowHeight = QFontMetrics(f).height() + 2;
  doItemsLayout();
  viewport()->update();
}

void LineList::setLines(QStringList lines) {
  model_->reset(std::move(lines));
  horizontalScrollBar()->setValue(0);
}

const QStringList& LineList::lines() const { return model_->lines; }

int LineList::selectedRow() const {
  const QModelIndexList sel = selectionModel()->selectedIndexes();
  return sel.isEmpty() ? -1 : sel.front().row();
}

void LineList::selectRow(int row) {
  if (row < 0 || row >= count()) {
    clearSelection();
    return;
  }
  const QModelIndex i = model_->index(row);
  setCurrentIndex(i);
  selectionModel()->select(i, QItemSelectionModel::ClearAndSelect);
  scrollTo(i);
}

QString LineList::selectedText() const {
  const int r = selectedRow();
  return r < 0 ? QString() : model_->lines[r];
}

void LineList::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
    // The line under the keyboard cursor counts as chosen even when the
    // keyboard reached it without selecting it (a list of one line).
    int row = selectedRow();
    if (row < 0 && currentIndex().isValid()) row = currentIndex().row();
    if (row >= 0) {
      selectRow(row);
      emit lineChosen(row);
      return;
    }
  }
  QListView::keyPressEvent(e);
}

bool printList(QWidget* parent, ListPrintout kind, const QString& title, const QStringList& lines) {
  report::Report r = kind == ListPrintout::Primanota ? report::journalReport(title, lines)
                                                     : report::listReport(title, lines);
  return print(parent, r, PrintTarget::Printer);
}

QLabel* makeListLabel(QWidget* parent, const char* name, QStringView text, const QRect& at, int points, bool bold) {
  auto* l = new QLabel(text.toString(), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFont(windowFont("Verdana", points, bold));
  l->setWordWrap(true);
  l->setGeometry(at);
  return l;
}

QPushButton* makeListButton(QWidget* panel, const QString& name, const QString& text, int x) {
  auto* b = new QPushButton(text, panel);
  b->setObjectName(name);
  b->setFont(windowFont("Verdana", 10, true));
  b->setGeometry(x, 508, 110, 34);
  return b;
}

QString emptyListMessage() { return u"Ricerca non applicabile: la lista non contiene nessuna voce."_qs; }

ListWindow::ListWindow(QWidget* owner, Kind kind, Placement placement)
    : Form(owner, kind, placement), find_(std::make_unique<ListFind>()) {
  setGradientBackground(true);
}

ListWindow::~ListWindow() = default;

void ListWindow::makeFind(QWidget* parent, const QRect& field, const QRect& button) {
  txtTrova = new QLineEdit(parent);
  txtTrova->setObjectName(u"txtTrova"_qs);
  txtTrova->setFont(windowFont("Verdana", 12, true));
  txtTrova->setGeometry(field);
  txtTrova->setAccessibleName(u"Testo da trovare nell'elenco"_qs);
  btnTrova = new QPushButton(u"Trova"_qs, parent);
  btnTrova->setObjectName(u"btnTrova"_qs);
  btnTrova->setFont(windowFont("Verdana", 10, true));
  btnTrova->setGeometry(button);
  connect(btnTrova, &QPushButton::clicked, this, &ListWindow::btnTrovaClick);
}

LineList* ListWindow::makeList(QWidget* parent, const QRect& at) {
  lstRecords = new LineList(u"lstRecords"_qs, parent);
  lstRecords->setGeometry(at);
  lstRecords->setLongestLine(longestLine_);
  followList(lstRecords, Follow::Stretch);
  lstRecords->setAccessibleName(u"Elenco"_qs);
  connect(lstRecords, &LineList::lineChosen, this, [this](int row) { lineChosen(row); });
  return lstRecords;
}

QWidget* ListWindow::makeResultPanel(const QRect& listAt) {
  auto* panel = new QWidget(this);
  panel->setObjectName(u"panContainer"_qs);
  panel->setGeometry(0, 0, 862, 560);
  makeListLabel(panel, "lblRigo01", kFindHint1, QRect(16, 10, 830, 22));
  makeListLabel(panel, "lblRigo02", kFindHint2, QRect(16, 34, 830, 22));
  QLabel* choose = makeListLabel(panel, "lblRigo03", kChooseHint, QRect(16, 494, 590, 22), 10, true);
  choose->setStyleSheet(u"color: #DC143C;"_qs);
  makeFind(panel, QRect(16, 66, 600, 34), QRect(630, 66, 110, 34));
  makeList(panel, listAt);
  QPushButton* print = makeListButton(panel, u"btnStampa"_qs, u"Stampa"_qs, 620);
  QPushButton* close = makeListButton(panel, u"btnChiudi"_qs, u"Chiudi"_qs, 736);
  connect(print, &QPushButton::clicked, this, &ListWindow::btnStampaClick);
  connect(close, &QPushButton::clicked, this, &ListWindow::btnChiudiClick);
  followList(panel, Follow::Stretch);
  followList(print, Follow::Move);
  followList(close, Follow::Move);
  setFields(this, {{.name = "txtTrova", .enterTo = "btnTrova"}});
  return panel;
}

void ListWindow::setLongestLine(int characters) {
  longestLine_ = characters;
  if (lstRecords) lstRecords->setLongestLine(characters);
}

void ListWindow::followList(QWidget* control, Follow how) { followers_.push_back({control, how, {}}); }

int ListWindow::widen(int spare) {
  if (!lstRecords || followers_.empty()) return 0;
  // The designed places, as they are before the first widening.
  if (followers_.front().design.isNull())
    for (Follower& f : followers_) f.design = f.control->geometry();
  int wanted = spare;
  if (longestLine_ > 0) {
    const QFontMetrics m(lstRecords->font());
    const int whole = m.horizontalAdvance(QString(longestLine_, u'0')) + 2 * lstRecords->frameWidth() +
                      lstRecords->verticalScrollBar()->sizeHint().width() + kTextMargins;
    for (const Follower& f : followers_)
      if (f.control == lstRecords) wanted = whole - f.design.width();
  }
  const int extra = std::clamp(wanted, 0, spare);
  // Places are set only when the width changes, so that a scaled layout stays.
  if (extra == extra_) return extra;
  extra_ = extra;
  for (const Follower& f : followers_) {
    switch (f.how) {
      case Follow::Stretch: f.control->setGeometry(f.design.adjusted(0, 0, extra, 0)); break;
      case Follow::Move: f.control->setGeometry(f.design.translated(extra, 0)); break;
      case Follow::Centre: f.control->setGeometry(f.design.translated(extra / 2, 0)); break;
    }
  }
  return extra;
}

void ListWindow::btnStampaClick() { printList(this, ListPrintout::Riepilogo, printTitle_, lstRecords->lines()); }

void ListWindow::btnChiudiClick() { close(); }

void ListWindow::setCountLabel(QLabel* label, std::function<QString(int)> sentence) {
  countLabel_ = label;
  countSentence_ = std::move(sentence);
}

void ListWindow::showLines(QStringList lines) {
  lstRecords->setLines(std::move(lines));
  if (countLabel_) countLabel_->setText(countSentence_(lstRecords->count()));
}

void ListWindow::resetFind() {
  find_->reset();
  if (txtTrova) txtTrova->clear();
}

void ListWindow::btnTrovaClick() {
  if (lstRecords->count() == 0) {
    message(this, emptyListMessage());
    return;
  }
  const int row = find_->find(lstRecords->lines(), lstRecords->selectedRow(), txtTrova->text());
  lstRecords->selectRow(row);
}

}  // namespace fondaro::gui
