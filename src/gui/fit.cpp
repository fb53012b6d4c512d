// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/fit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QBoxLayout>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSet>
#include <QSpacerItem>
#include <algorithm>
#include <cmath>
#include <vector>

namespace fondaro::gui::fitting {

// What a control was designed with, kept on it at the first scaling.
struct WidgetDesign {
  bool placed = false;  // its geometry is its own, not a layout's
  QRect geometry;
  QSize minimum;
  QSize maximum;
  bool ownFont = false;
  QFont font;
  QSize iconSize;
  QPixmap pixmap;
};

struct LayoutDesign {
  QMargins margins;
  int spacing = -1;
  int horizontal = -1;
  int vertical = -1;
  std::vector<std::pair<int, QSize>> spacers;  // item index, designed size
};

}  // namespace fondaro::gui::fitting

Q_DECLARE_METATYPE(fondaro::gui::fitting::WidgetDesign)
Q_DECLARE_METATYPE(fondaro::gui::fitting::LayoutDesign)

namespace fondaro::gui {

namespace {

using fitting::LayoutDesign;
using fitting::WidgetDesign;

constexpr const char* kWidgetDesign = "fondaroDesign";
constexpr const char* kLayoutDesign = "fondaroLayoutDesign";
constexpr const char* kScale = "fondaroScale";

int scaled(int v, qreal f) { return int(std::lround(v * f)); }

// A size's components scaled, except the unset ones (0 and the largest).
QSize scaledLimit(QSize s, qreal f) {
  const auto one = [f](int v) { return v == 0 || v >= QWIDGETSIZE_MAX ? v : std::max(1, scaled(v, f)); };
  return {one(s.width()), one(s.height())};
}

// Edges scaled, so that controls that touch keep touching.
QRect scaledRect(const QRect& r, qreal f) {
  const int x = scaled(r.x(), f);
  const int y = scaled(r.y(), f);
  return {x, y, std::max(0, scaled(r.x() + r.width(), f) - x),
          std::max(0, scaled(r.y() + r.height(), f) - y)};
}

QFont scaledFont(QFont font, qreal f) {
  if (font.pointSizeF() > 0)
    font.setPointSizeF(font.pointSizeF() * f);
  else if (font.pixelSize() > 0)
    font.setPixelSize(std::max(1, scaled(font.pixelSize(), f)));
  return font;
}

qreal pixelsOf(const QFont& font, const QWidget* on) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return font.pointSizeF() * on->logicalDpiY() / 72.0;
}

// The widgets a layout places, its own and its nested layouts'.
void collectPlaced(QLayout* layout, QSet<QWidget*>& placed) {
  for (int i = 0; i < layout->count(); ++i) {
    QLayoutItem* item = layout->itemAt(i);
    if (QWidget* w = item->widget()) placed.insert(w);
    if (QLayout* inner = item->layout()) collectPlaced(inner, placed);
  }
}

// Controls that draw their own inner parts: their parts are theirs to place.
bool isComposite(const QWidget* w) {
  return qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QCalendarWidget*>(w) || qobject_cast<const QAbstractScrollArea*>(w);
}

// Each control inside `content` that scaling touches, once, with whether a
// layout places it.
template <class Visit>
void forEachControl(QWidget* content, Visit&& visit) {
  QSet<QWidget*> placed;
  std::vector<QWidget*> todo{content};
  while (!todo.empty()) {
    QWidget* parent = todo.back();
    todo.pop_back();
    if (parent->layout()) collectPlaced(parent->layout(), placed);
    const auto children = parent->children();
    for (QObject* o : children) {
      auto* w = qobject_cast<QWidget*>(o);
      if (!w || w->isWindow() || w->objectName().startsWith(u"qt_"_qs)) continue;
      visit(w, placed.contains(w));
      if (auto* area = qobject_cast<QScrollArea*>(w)) {
        if (area->widget()) todo.push_back(area->widget());
      } else if (!isComposite(w)) {
        todo.push_back(w);
      }
    }
  }
}

template <class Visit>
void forEachLayout(QLayout* layout, Visit&& visit) {
  visit(layout);
  for (int i = 0; i < layout->count(); ++i)
    if (QLayout* inner = layout->itemAt(i)->layout()) forEachLayout(inner, visit);
}

WidgetDesign designOf(QWidget* w, bool byLayout) {
  if (const QVariant v = w->property(kWidgetDesign); v.isValid()) return v.value<WidgetDesign>();
  WidgetDesign d;
  d.placed = !byLayout;
  d.geometry = w->geometry();
  d.minimum = w->minimumSize();
  d.maximum = w->maximumSize();
  d.ownFont = w->testAttribute(Qt::WA_SetFont);
  d.font = w->font();
  if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->icon().isNull()) d.iconSize = b->iconSize();
  if (auto* l = qobject_cast<QLabel*>(w)) d.pixmap = l->pixmap();
  w->setProperty(kWidgetDesign, QVariant::fromValue(d));
  return d;
}

LayoutDesign layoutDesignOf(QLayout* layout) {
  const QVariant v = layout->property(kLayoutDesign);
  if (v.isValid()) return v.value<LayoutDesign>();
  LayoutDesign d;
  d.margins = layout->contentsMargins();
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    d.horizontal = grid->horizontalSpacing();
    d.vertical = grid->verticalSpacing();
  } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
    d.horizontal = form->horizontalSpacing();
    d.vertical = form->verticalSpacing();
  } else {
    d.spacing = layout->spacing();
  }
  for (int i = 0; i < layout->count(); ++i)
    if (QSpacerItem* s = layout->itemAt(i)->spacerItem()) d.spacers.emplace_back(i, s->sizeHint());
  layout->setProperty(kLayoutDesign, QVariant::fromValue(d));
  return d;
}

void scaleLayout(QLayout* layout, qreal f) {
  const LayoutDesign d = layoutDesignOf(layout);
  const QMargins& m = d.margins;
  layout->setContentsMargins(scaled(m.left(), f), scaled(m.top(), f), scaled(m.right(), f),
                             scaled(m.bottom(), f));
  const auto gap = [f](int v) { return v < 0 ? v : scaled(v, f); };
  if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
    grid->setHorizontalSpacing(gap(d.horizontal));
    grid->setVerticalSpacing(gap(d.vertical));
  } else if (auto* form = qobject_cast<QFormLayout*>(layout)) {
    form->setHorizontalSpacing(gap(d.horizontal));
    form->setVerticalSpacing(gap(d.vertical));
  } else {
    layout->setSpacing(gap(d.spacing));
  }
  for (const auto& [index, size] : d.spacers) {
    if (index >= layout->count()) continue;
    if (QSpacerItem* s = layout->itemAt(index)->spacerItem()) {
      const QSizePolicy p = s->sizePolicy();
      s->changeSize(scaled(size.width(), f), scaled(size.height(), f), p.horizontalPolicy(),
                    p.verticalPolicy());
    }
  }
  layout->invalidate();
}

void scaleWidget(QWidget* w, const WidgetDesign& d, qreal f) {
  if (d.ownFont) w->setFont(f == 1.0 ? d.font : scaledFont(d.font, f));
  if (d.iconSize.isValid())
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setIconSize(scaledLimit(d.iconSize, f));
  if (!d.pixmap.isNull())
    if (auto* l = qobject_cast<QLabel*>(w)) {
      if (f == 1.0) {
        l->setPixmap(d.pixmap);
      } else {
        QPixmap p =
            d.pixmap.scaled(scaledLimit(d.pixmap.size(), f), Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.setDevicePixelRatio(d.pixmap.devicePixelRatio());
        l->setPixmap(p);
      }
    }
  w->setMinimumSize(scaledLimit(d.minimum, f));
  w->setMaximumSize(scaledLimit(d.maximum, f));
  if (d.placed) w->setGeometry(scaledRect(d.geometry, f));
}

}  // namespace

qreal contentScale(const QWidget* content) {
  const QVariant v = content->property(kScale);
  return v.isValid() ? v.toReal() : 1.0;
}

qreal legibleScale(const QWidget* content) {
  auto* root = const_cast<QWidget*>(content);
  // The designed fonts: those kept at the first scaling, or the present ones.
  const auto designedFont = [](QWidget* w) {
    const QVariant v = w->property(kWidgetDesign);
    return v.isValid() ? v.value<WidgetDesign>().font : w->font();
  };
  qreal smallest = pixelsOf(designedFont(root), root);
  forEachControl(root, [&](QWidget* w, bool) {
    if (!w->property(kWidgetDesign).isValid() && !w->testAttribute(Qt::WA_SetFont)) return;
    if (const qreal px = pixelsOf(designedFont(w), w); px > 0) smallest = std::min(smallest, px);
  });
  return smallest > kLegiblePixels ? kLegiblePixels / smallest : 1.0;
}

qreal fittingScale(QSize design, QSize room, qreal floor) {
  if (design.isEmpty()) return 1.0;
  const qreal f =
      std::min({1.0, qreal(room.width()) / design.width(), qreal(room.height()) / design.height()});
  // Hundredths, so that a window a pixel narrower does not redo the scaling.
  return std::max(floor, std::floor(f * 100.0) / 100.0);
}

void scaleContent(QWidget* content, qreal factor) {
  if (factor == contentScale(content)) return;
  // The content's own font is what its children without one of their own use.
  const WidgetDesign own = designOf(content, true);
  content->setFont(factor == 1.0 ? own.font : scaledFont(own.font, factor));
  forEachControl(content, [&](QWidget* w, bool byLayout) { scaleWidget(w, designOf(w, byLayout), factor); });
  std::vector<QLayout*> layouts;
  if (content->layout()) forEachLayout(content->layout(), [&](QLayout* l) { layouts.push_back(l); });
  forEachControl(content, [&](QWidget* w, bool) {
    if (w->layout()) forEachLayout(w->layout(), [&](QLayout* l) { layouts.push_back(l); });
  });
  for (QLayout* l : layouts) scaleLayout(l, factor);
  content->setProperty(kScale, factor);
}

FitArea::FitArea(QWidget* panel, QWidget* parent)
    : QScrollArea(parent), panel_(panel), design_(panel->size()) {
  setObjectName(u"fitArea"_qs);
  setFrameShape(QFrame::NoFrame);
  setAlignment(Qt::AlignCenter);
  setWidgetResizable(false);
  setFocusPolicy(Qt::NoFocus);
  setWidget(panel);
  // The window's background shows through, as it did around the panel.
  setAutoFillBackground(false);
  viewport()->setAutoFillBackground(false);
  panel->setAutoFillBackground(false);
  setStyleSheet(u"QScrollArea#fitArea { background: transparent; }"_qs);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { follow(now); });
}

void FitArea::setWidening(std::function<int(int)> widen) { widen_ = std::move(widen); }

void FitArea::resizeEvent(QResizeEvent* e) {
  refit();
  QScrollArea::resizeEvent(e);
}

void FitArea::refit() {
  const QSize room = maximumViewportSize();
  const qreal f = fittingScale(design_, room, legibleScale(panel_));
  // Widened or scaled, never both: the widening is undone before scaling.
  if (f < 1.0 && widen_) widen_(0);
  scaleContent(panel_, f);
  const int extra = f < 1.0 || !widen_ ? 0 : widen_(std::max(0, room.width() - design_.width()));
  panel_->setFixedSize(scaledLimit(design_, f) + QSize(extra, 0));
}

void FitArea::follow(QWidget* now) {
  if (!now || !panel_->isAncestorOf(now) || now->window() != window()) return;
  // The whole control with a margin, not only its text cursor (as
  // ensureWidgetVisible would for a text field).
  const QPoint centre = now->mapTo(panel_, now->rect().center());
  ensureVisible(centre.x(), centre.y(), now->width() / 2 + 12, now->height() / 2 + 12);
}

}  // namespace fondaro::gui
