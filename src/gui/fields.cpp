// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/fields.h"

#include "gui/controls.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "core/field.h"
#include "core/textrules.h"

namespace fondaro::gui {

namespace {

bool isEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }


bool charPasses(Keys keys, QChar c) {
  switch (keys) {
    case Keys::Free: return true;
    case Keys::Digits: return isAsciiDigit(c);
    case Keys::Amount: return isAsciiDigit(c) || c == u',';
    case Keys::EnterOnly: return false;
  }
  return false;
}

QLineEdit* lineEditOf(QWidget* field) {
  if (auto* le = qobject_cast<QLineEdit*>(field)) return le;
  if (auto* cb = qobject_cast<QComboBox*>(field)) return cb->lineEdit();
  return nullptr;
}

// The yellow ring behind a field: yellow fill, a border fading from yellow to
// white, 4 units larger than the field on each side.
class FocusFrame : public QWidget {
 public:
  explicit FocusFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor yellow(0xFF, 0xFF, 0x00);
    const QRectF r = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    for (int i = 0; i < 4; ++i) {  // white outside, yellow inside
      QColor c = yellow;
      c.setAlpha(70 + i * 60);
      p.setPen(QPen(c, 1));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(r.adjusted(i, i, -i, -i), 4 - i * 0.5, 4 - i * 0.5);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(yellow);
    p.drawRoundedRect(r.adjusted(3, 3, -3, -3), 2, 2);
  }
};

class FieldBehaviour : public QObject {
 public:
  explicit FieldBehaviour(QWidget* field) : QObject(field), field_(field) {
    setObjectName(u"fieldBehaviour"_qs);
    field->installEventFilter(this);
    if (QLineEdit* le = lineEditOf(field)) {
      current_ = le->text();
      connect(le, &QLineEdit::textChanged, this, [this](const QString& t) {
        previous_ = current_;
        current_ = t;
      });
      connect(le, &QLineEdit::textEdited, this, [this, le](const QString& t) { edited(le, t); });
    }
  }

  static FieldBehaviour* of(QWidget* field) {
    if (auto* b = field->findChild<FieldBehaviour*>(u"fieldBehaviour"_qs, Qt::FindDirectChildrenOnly))
      return b;
    return new FieldBehaviour(field);
  }

  void setRule(const Field& f) {
    enterTo_ = f.enterTo ? QString::fromLatin1(f.enterTo) : QString();
    keys_ = f.keys;
    typing_ = f.typing;
    if (f.maxLength > 0) maxLength_ = f.maxLength;
    tabMoves_ = f.tabMoves;
    if (keys_ != Keys::Free)
      if (QLineEdit* le = lineEditOf(field_)) le->setAcceptDrops(false);
    if (f.frame) makeFrame();
  }

  void setMaxLength(int n) { maxLength_ = n; }

  std::function<void()> enter;
  std::function<bool(QKeyEvent*)> keyDown;
  std::vector<std::function<void(QKeyEvent*)>> keyUp;
  std::vector<std::function<void()>> exit;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::KeyPress: return keyPress(static_cast<QKeyEvent*>(e));
      case QEvent::KeyRelease:
        for (auto& h : keyUp) h(static_cast<QKeyEvent*>(e));
        return false;
      case QEvent::FocusIn:
        if (frame_) frame_->show();
        return false;
      case QEvent::FocusOut: {
        // Another window taking the keyboard, or a popup menu, is no exit; the
        // frame stays while the field is its window's focus (see followFocus).
        const auto reason = static_cast<QFocusEvent*>(e)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        if (frame_) frame_->hide();
        for (auto& h : exit) h();
        return false;
      }
      case QEvent::Move:
      case QEvent::Resize:
      case QEvent::ParentChange:
        placeFrame();
        return false;
      default: return false;
    }
  }

 private:
  bool keyPress(QKeyEvent* k) {
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) return !tabMoves_;
    if (keyDown && keyDown(k)) return true;
    if (isEnter(k->key())) {
      if (enter) {
        enter();
        return true;
      }
      if (!enterTo_.isEmpty()) {
        if (QWidget* next = field_->window()->findChild<QWidget*>(enterTo_)) next->setFocus(Qt::TabFocusReason);
        return true;
      }
      return keys_ != Keys::Free;  // a filtered field swallows an Enter it has no use for
    }
    if (!keyPasses(keys_, k->key(), k->text())) return true;
    if (maxLength_ > 0 && !k->text().isEmpty() && k->text()[0].isPrint()) {
      if (QLineEdit* le = lineEditOf(field_)) {
        const qsizetype after = le->text().size() - le->selectedText().size() + k->text().size();
        if (after > maxLength_ && after > le->text().size()) return true;
      }
    }
    return false;
  }

  // Text changed by the user: what the keys would not let through (a paste, a
  // drop) is refused, the typing limit holds, then the typing rule applies.
  void edited(QLineEdit* le, const QString& now) {
    // textChanged may come before or after textEdited for the same change.
    const QString before = current_ == now ? previous_ : current_;
    qsizetype pre = 0;
    while (pre < before.size() && pre < now.size() && before[pre] == now[pre]) ++pre;
    qsizetype suf = 0;
    while (suf < before.size() - pre && suf < now.size() - pre &&
           before[before.size() - 1 - suf] == now[now.size() - 1 - suf])
      ++suf;
    const QString inserted = now.mid(pre, now.size() - pre - suf);
    bool refuse = false;
    for (QChar c : inserted) refuse = refuse || !charPasses(keys_, c);
    if (maxLength_ > 0 && now.size() > maxLength_ && now.size() > before.size()) refuse = true;
    if (refuse) {
      const int cursor = int(pre);
      le->setText(before);
      le->setCursorPosition(cursor);
      return;
    }
    if (typing_ == Typing::AsIs) return;
    const QString ruled = typedText(typing_, now);
    if (ruled == now) return;
    // Trimming takes the leading blanks from before the cursor; upper-casing alone moves nothing.
    qsizetype lead = 0;
    if (typing_ != Typing::Upper)
      while (lead < now.size() && now[lead].unicode() <= 32) ++lead;
    const int cursor = int(std::clamp<qsizetype>(le->cursorPosition() - lead, 0, ruled.size()));
    le->setText(ruled);
    le->setCursorPosition(cursor);
  }

  void makeFrame() {
    if (frame_ || !field_->parentWidget()) return;
    frame_ = new FocusFrame(field_->parentWidget());
    frame_->setObjectName(frameName(field_->objectName()));
    frame_->hide();
    placeFrame();
    // While a message box or another window has the keyboard the program may
    // move its window's focus without any focus-out reaching this field; the
    // frame catches up when the keyboard comes back (or moves anywhere else).
    connect(qApp, &QApplication::focusChanged, this, &FieldBehaviour::followFocus);
  }

  // Lit while the field is the one its window gives the keyboard to.
  void followFocus() {
    if (!frame_) return;
    const QWidget* focus = field_->window()->focusWidget();
    const bool lit = focus && (focus == field_ || field_->isAncestorOf(focus));
    if (lit != frame_->isVisibleTo(frame_->parentWidget())) frame_->setVisible(lit);
  }

  void placeFrame() {
    if (!frame_) return;
    if (frame_->parentWidget() != field_->parentWidget()) frame_->setParent(field_->parentWidget());
    frame_->setGeometry(field_->geometry().adjusted(-4, -4, 4, 4));
    frame_->stackUnder(field_);
  }

  QWidget* field_;
  QPointer<QWidget> frame_;
  QString enterTo_;
  Keys keys_ = Keys::Free;
  Typing typing_ = Typing::AsIs;
  int maxLength_ = 0;
  bool tabMoves_ = true;
  QString current_;
  QString previous_;
};

}  // namespace

bool isModifierKey(int key) {
  switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock: return true;
    default: return false;
  }
}

QString frameName(const QString& fieldName) { return u"eff"_qs + fieldName.mid(3); }

bool keyPasses(Keys keys, int key, const QString& text) {
  if (keys == Keys::Free) return true;
  if (keys == Keys::EnterOnly) return isEnter(key);
  if (key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Left ||
      key == Qt::Key_Right)
    return true;
  return text.size() == 1 && charPasses(keys, text[0]);
}

QString typedText(Typing typing, const QString& text) {
  switch (typing) {
    case Typing::AsIs: return text;
    case Typing::Trim: return trimmedText(text);
    case Typing::UpperTrim: return trimmedText(upperAscii(text));
    case Typing::Upper: return upperAscii(text);
  }
  return text;
}

void setFields(QWidget* window, std::initializer_list<Field> fields) {
  setFields(window, std::span<const Field>(fields.begin(), fields.size()));
}

void setFields(QWidget* window, std::span<const Field> fields) {
  for (const Field& f : fields) {
    QWidget* w = requireControl(window, QString::fromLatin1(f.name));
    if (f.enterTo) requireControl(window, QString::fromLatin1(f.enterTo));
    FieldBehaviour::of(w)->setRule(f);
  }
}

void setMaxTyped(QWidget* field, int maxLength) { FieldBehaviour::of(field)->setMaxLength(maxLength); }

void onEnter(QWidget* field, std::function<void()> handler) {
  FieldBehaviour::of(field)->enter = std::move(handler);
}

void onKeyDown(QWidget* field, std::function<bool(QKeyEvent*)> handler) {
  FieldBehaviour::of(field)->keyDown = std::move(handler);
}

void onKeyUp(QWidget* field, std::function<void(QKeyEvent*)> handler) {
  FieldBehaviour::of(field)->keyUp.push_back(std::move(handler));
}

void onExit(QWidget* field, std::function<void()> handler) {
  FieldBehaviour::of(field)->exit.push_back(std::move(handler));
}

}  // namespace fondaro::gui
