// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/form.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <algorithm>

#include "core/field.h"
#include "gui/fit.h"

namespace fondaro::gui {

namespace {

int nextCreationOrder() {
  static int n = 0;
  return ++n;
}

Qt::WindowFlags flagsFor(Form::Kind kind) {
  if (kind == Form::Kind::Work) return Qt::Window;
  return Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
         Qt::MSWindowsFixedSizeDialogHint;
}

// Enter on a focused button presses it, as Space does; nowhere else does Enter
// press a button by itself.
class ButtonEnter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() != QEvent::KeyPress) return false;
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter) return false;
    // Push buttons and picture buttons; a check box or option button keeps Enter.
    auto* b = qobject_cast<QAbstractButton*>(o);
    if (!b || !b->isEnabled() || !(qobject_cast<QPushButton*>(b) || qobject_cast<QToolButton*>(b)))
      return false;
    b->click();
    return true;
  }
};

QString withoutMnemonic(QString text) {
  text.replace(u"&&"_qs, u"\x01"_qs);
  text.remove(u'&');
  text.replace(u'\x01', u'&');
  return text;
}

}  // namespace

Form::Form(QWidget* owner, Kind kind, Placement placement)
    : QWidget(owner, flagsFor(kind)),
      kind_(kind),
      placement_(placement),
      creationOrder_(nextCreationOrder()) {}

Form::~Form() = default;

void Form::setGradientBackground(bool on) {
  gradient_ = on;
  update();
}

void Form::paintEvent(QPaintEvent* e) {
  if (!gradient_) return QWidget::paintEvent(e);
  QPainter p(this);
  QLinearGradient g(0, 0, 0, height());
  g.setColorAt(0, Qt::white);
  g.setColorAt(1, QColor(0x46, 0x82, 0xB4));  // steel blue
  p.fillRect(rect(), g);
}

QWidget* Form::makeContainer(int width, int height) {
  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(0, 0, 0, 0);
  auto* container = new QWidget(this);
  container->setObjectName(u"panContainer"_qs);
  container->setFixedSize(width, height);
  auto* area = new FitArea(container, this);
  area->setWidening([this](int spare) { return widen(spare); });
  grid->addWidget(area, 0, 0);
  return container;
}

bool Form::event(QEvent* e) {
  if (e->type() == QEvent::Polish) finishControls();
  return QWidget::event(e);
}

// Once every control exists: buttons answer Enter when focused, and every
// control that takes the focus carries a name a screen reader can read.
void Form::finishControls() {
  if (finished_) return;
  finished_ = true;
  auto* enter = new ButtonEnter(this);
  for (QAbstractButton* b : findChildren<QAbstractButton*>()) {
    b->installEventFilter(enter);
    if (auto* pb = qobject_cast<QPushButton*>(b)) {
      pb->setAutoDefault(false);
      pb->setDefault(false);
    }
    if (b->accessibleName().isEmpty()) {
      const QString text = withoutMnemonic(b->text());
      b->setAccessibleName(!text.isEmpty() ? text : b->toolTip());
    }
  }
  for (QLabel* l : findChildren<QLabel*>()) {
    QWidget* buddy = l->buddy();
    if (buddy && buddy->accessibleName().isEmpty())
      buddy->setAccessibleName(trimmedText(withoutMnemonic(l->text())).remove(u':'));
  }
  for (QWidget* w : findChildren<QWidget*>()) {
    if (w->focusPolicy() == Qt::NoFocus || !w->accessibleName().isEmpty()) continue;
    if (!w->toolTip().isEmpty()) w->setAccessibleName(w->toolTip());
    else if (auto* le = qobject_cast<QLineEdit*>(w); le && !le->placeholderText().isEmpty())
      w->setAccessibleName(le->placeholderText());
  }
  if (accessibleName().isEmpty()) setAccessibleName(trimmedText(windowTitle()));
}

void Form::place() {
  if (kind_ == Kind::Work) return;
  if (!placed_ && minimumSize() != maximumSize()) {
    ensurePolished();
    if (layout()) layout()->activate();
    adjustSize();
    setFixedSize(size());
  }
  if (!placed_) design_ = size();
  placed_ = true;
  QRect area;
  QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  QScreen* s = owner ? owner->screen() : QGuiApplication::primaryScreen();
  fitTo(s);
  if (placement_ == Placement::Owner && owner && owner->isVisible()) {
    area = owner->frameGeometry();
  } else if (s) {
    area = s->availableGeometry();
  }
  // move() places the frame; its size is known once the window has been shown.
  const QSize outer = frameGeometry().size();
  if (area.isValid()) move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

// A dialog bigger than the screen's free area is scaled down to fit it, frame
// included; a dialog that fits keeps its designed size.
void Form::fitTo(QScreen* screen) {
  if (!screen || design_.isEmpty()) return;
  QMargins frame(4, 30, 4, 4);  // until the window system has told
  if (QWindow* w = windowHandle(); w && !w->frameMargins().isNull()) frame = w->frameMargins();
  const QSize room = screen->availableGeometry().size().shrunkBy(frame);
  const qreal f = fittingScale(design_, room, legibleScale(this));
  // Widened or scaled, never both: the widening is undone before scaling.
  if (f < 1.0) widen(0);
  scaleContent(this, f);
  // A margin stays on either side of a widened dialog.
  const int extra = f < 1.0 ? 0 : widen(std::max(0, room.width() - design_.width() - 48));
  setFixedSize(qRound(design_.width() * f) + extra, qRound(design_.height() * f));
}

void Form::present() {
  if (kind_ == Kind::Work) {
    // Without a window manager (a bare X server) maximising does nothing; the
    // window then still covers the screen.
    if (!isVisible())
      if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen())
        setGeometry(s->availableGeometry());
    showMaximized();
  } else {
    place();
    show();
  }
  activateWindow();
}

void Form::showModal() {
  setWindowModality(Qt::ApplicationModal);
  present();
  QPointer<Form> self(this);
  if (isVisible()) {
    QEventLoop loop;
    connect(this, &Form::hidden, &loop, &QEventLoop::quit);
    connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::DialogExec);
  }
  if (!self) return;
  setWindowModality(Qt::NonModal);
  // Nothing is active once a modal window is gone; give the keyboard back.
  if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
      owner && owner->isVisible())
    owner->activateWindow();
}

void Form::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (!e->spontaneous()) FormShow();
}

void Form::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  if (!e->spontaneous()) emit hidden();
}

void Form::closeEvent(QCloseEvent* e) {
  FormClose();
  e->accept();
}

void switchTo(QWidget* from, Form* to) {
  to->present();
  if (from && from != to) from->hide();
}

}  // namespace fondaro::gui
