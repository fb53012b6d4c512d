// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/cardform.h"

#include <QCheckBox>
#include <QFrame>
#include <QRadioButton>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/application.h"
#include "gui/widgets.h"

namespace fondaro::gui::card {

namespace {

QPixmap picture(QStringView name, int size) {
  return art(name.toString(), size);
}

}  // namespace

PictureButton* toolButton(QWidget* parent, const char* name, QStringView artName, QStringView captionText,
                          bool beside) {
  auto* b = new PictureButton(QString::fromLatin1(name), picture(artName, kToolIcon), captionText.toString(), parent);
  b->setText(captionText.toString());
  b->setToolButtonStyle(beside ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon);
  b->setFont(windowFont("Tahoma", 9));
  // Narrow enough that the groups of an editor fit its container side by side
  // at their natural widths.
  b->setMinimumWidth(beside ? 100 : 60);
  return b;
}

PictureButton* fieldButton(QWidget* parent, const char* name, QStringView artName, QStringView what) {
  auto* b = new PictureButton(QString::fromLatin1(name), picture(artName, kFieldIcon), what.toString(), parent);
  b->setFixedSize(kFieldIcon + 10, kFieldIcon + 10);
  return b;
}

void setRoundedStyle(QFrame* f, QStringView background) {
  f->setStyleSheet(u"QFrame#%1 { background: %2; border: 1px solid #B8C7DD; border-radius: 10px; }"_qs.arg(
      f->objectName(), background));
}

QFrame* shape(QWidget* parent, const char* name) {
  auto* f = new QFrame(parent);
  f->setObjectName(QString::fromLatin1(name));
  f->setAttribute(Qt::WA_StyledBackground);
  return f;
}

QFrame* group(QWidget* parent, const char* name, std::initializer_list<QWidget*> items) {
  return group(parent, name, std::span<QWidget* const>(items.begin(), items.size()), Qt::Horizontal);
}

QFrame* group(QWidget* parent, const char* name, std::span<QWidget* const> items, Qt::Orientation orientation) {
  QFrame* g = shape(parent, name);
  setRoundedStyle(g);
  const bool column = orientation == Qt::Vertical;
  auto* box = column ? static_cast<QBoxLayout*>(new QVBoxLayout(g)) : new QHBoxLayout(g);
  if (column) box->setContentsMargins(8, 8, 8, 8);
  else box->setContentsMargins(6, 4, 6, 4);
  box->setSpacing(column ? 4 : 2);
  for (QWidget* w : items) {
    w->setParent(g);
    if (column && !qobject_cast<QLabel*>(w)) w->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    box->addWidget(w);
  }
  if (column) box->addStretch();
  return g;
}

QLineEdit* edit(QWidget* parent, const char* name, QStringView accessibleName) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setFont(windowFont("Verdana", 12, true));
  e->setAccessibleName(accessibleName.toString());
  e->setFixedHeight(28);
  return e;
}

QRadioButton* option(QWidget* parent, const char* name, QStringView text) {
  auto* o = new QRadioButton(text.toString(), parent);
  o->setObjectName(QString::fromLatin1(name));
  o->setFont(windowFont("Verdana", 11, true));
  return o;
}

QCheckBox* check(QWidget* parent, const char* name, QStringView text) {
  auto* c = new QCheckBox(text.toString(), parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setFont(windowFont("Verdana", 11, true));
  return c;
}

void setOption(QRadioButton* b, bool on) {
  if (on) {
    b->setChecked(true);
    return;
  }
  b->setAutoExclusive(false);
  b->setChecked(false);
  b->setAutoExclusive(true);
}

QLabel* caption(QWidget* parent, QStringView text, QWidget* buddy) {
  auto* l = new QLabel(text.toString(), parent);
  l->setFont(windowFont("Verdana", 10));
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (buddy) l->setBuddy(buddy);
  return l;
}

QLabel* positionLabel(QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(u"lblPosizione"_qs);
  l->setFont(windowFont("Verdana", 12, true));
  l->setAlignment(Qt::AlignCenter);
  l->setFixedSize(64, 34);
  l->setAccessibleName(u"Posizione della scheda in archivio"_qs);
  l->setStyleSheet(
      u"QLabel { color: #12356B; background: #F2F6FB; border: 1px solid #C5D3E6; border-radius: 6px; }"_qs);
  return l;
}

QLabel* hiddenLabel(QWidget* parent, QStringView name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name.toString());
  l->setVisible(false);
  return l;
}

Section::Section(QWidget* parent, const char* name, QStringView title) : frame_(shape(parent, name)) {
  setRoundedStyle(frame_);
  auto* outer = new QVBoxLayout(frame_);
  outer->setContentsMargins(14, 6, 16, 10);
  outer->setSpacing(4);
  auto* t = new QLabel(title.toString(), frame_);
  t->setFont(windowFont("Verdana", 10, true));
  t->setStyleSheet(u"color: #1E5AA8;"_qs);
  outer->addWidget(t);
  grid_ = new QGridLayout;
  grid_->setHorizontalSpacing(10);
  grid_->setVerticalSpacing(8);
  grid_->setColumnStretch(1, 1);
  grid_->setColumnMinimumWidth(0, kCaptionColumn);
  outer->addLayout(grid_);
  outer->addStretch();
}

QLabel* Section::row(QStringView captionText, QWidget* field, QWidget* button) {
  QLabel* l = caption(frame_, captionText, field);
  grid_->addWidget(l, rows_, 0);
  grid_->addWidget(field, rows_, 1);
  if (button) {
    grid_->addWidget(button, rows_, 2);
    grid_->setColumnMinimumWidth(2, kFieldIcon + 10);
  }
  ++rows_;
  return l;
}

QLabel* Section::row(QStringView captionText, QWidget* buddy, std::initializer_list<QWidget*> line) {
  return row(captionText, buddy, std::span<QWidget* const>(line.begin(), line.size()));
}

QLabel* Section::row(QStringView captionText, QWidget* buddy, std::span<QWidget* const> line) {
  QLabel* l = caption(frame_, captionText, buddy);
  auto* h = new QHBoxLayout;
  h->setSpacing(8);
  for (QWidget* w : line) h->addWidget(w);
  h->addStretch();
  grid_->addWidget(l, rows_, 0);
  grid_->addLayout(h, rows_, 1, 1, 2);
  ++rows_;
  return l;
}

}  // namespace fondaro::gui::card
