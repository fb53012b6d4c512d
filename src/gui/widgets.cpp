// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QGuiApplication>
#include <algorithm>

namespace fondaro::gui {

QPixmap art(const QString& name) {
  if (qApp->devicePixelRatio() > 1.0) {
    QPixmap twice(u":/art/"_qs + name + u"@2x.png"_qs);
    if (!twice.isNull()) {
      twice.setDevicePixelRatio(2.0);
      return twice;
    }
  }
  return QPixmap(u":/art/"_qs + name + u".png"_qs);
}

QPixmap art(const QString& name, int height) {
  // Scaled from the double-size drawing, which keeps small pictures crisp too.
  QPixmap source(u":/art/"_qs + name + u"@2x.png"_qs);
  if (source.isNull()) source = QPixmap(u":/art/"_qs + name + u".png"_qs);
  const qreal density = std::max<qreal>(1.0, qApp->devicePixelRatio());
  QPixmap p = source.scaledToHeight(qRound(height * density), Qt::SmoothTransformation);
  p.setDevicePixelRatio(density);
  return p;
}

QSize shownSize(const QPixmap& picture) { return picture.deviceIndependentSize().toSize(); }

PictureButton::PictureButton(const QString& objectName, const QPixmap& picture,
                             const QString& name, QWidget* parent)
    : QToolButton(parent) {
  setObjectName(objectName);
  setIcon(QIcon(picture));
  setIconSize(picture.deviceIndependentSize().toSize());
  setAutoRaise(true);
  // Reachable with Tab, but a click leaves the keyboard where the user was
  // typing: saving or browsing does not move the focus off the card.
  setFocusPolicy(Qt::TabFocus);
  setCursor(Qt::PointingHandCursor);
  setToolTip(name);
  setAccessibleName(name);
  setStyleSheet(u"QToolButton { border: 2px solid transparent; border-radius: 6px; padding: 0; }"
                "QToolButton:focus { border-color: #1E5AA8; }"
                "QToolButton:hover { background: rgba(255,255,255,90); }"_qs);
}

QLabel* placedLabel(QWidget* parent, const char* name, QStringView text, const QFont& font,
                    const QRect& at, Qt::Alignment align) {
  QLabel* l = layoutLabel(parent, name, text, font);
  l->setAlignment(align);
  l->setGeometry(at);
  return l;
}

QPushButton* placedButton(QWidget* parent, const char* name, QStringView text, const QFont& font,
                          const QRect& at) {
  QPushButton* b = layoutButton(parent, name, text, 0);
  b->setFont(font);
  b->setGeometry(at);
  return b;
}

void setPanelStyle(QWidget* panel, int opacity, int radius) {
  panel->setStyleSheet(u"#%1 { background: rgba(255,255,255,%2); border-radius: %3px; }"_qs.arg(
      panel->objectName(), QString::number(opacity), QString::number(radius)));
}

void setTextColour(QWidget* label, QStringView colour) {
  label->setStyleSheet(u"color: %1;"_qs.arg(colour));
}

QLabel* layoutLabel(QWidget* parent, const char* name, QStringView text, const QFont& font) {
  auto* l = new QLabel(text.toString(), parent);
  l->setObjectName(QString::fromLatin1(name));
  l->setFont(font);
  return l;
}

QPushButton* layoutButton(QWidget* parent, const char* name, QStringView text, int minimumWidth) {
  auto* b = new QPushButton(text.toString(), parent);
  b->setObjectName(QString::fromLatin1(name));
  b->setMinimumWidth(minimumWidth);
  return b;
}

QLabel* makePicture(const QString& objectName, const QPixmap& picture, const QString& name,
                    QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(objectName);
  l->setPixmap(picture);
  l->setAccessibleName(name);
  return l;
}

QColor Link::pressedColour() { return QColor::fromRgba(0xFFFFA500); }
QColor Link::clickedColour() { return QColor::fromRgba(0xFF00008B); }

Link::Link(const QString& objectName, const QString& text, QWidget* parent) : QLabel(text, parent) {
  setObjectName(objectName);
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
  setAccessibleName(text);
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  setColour(QColor(0x1E, 0x5A, 0xA8));
}

void Link::setColour(const QColor& c) {
  colour_ = c;
  QPalette p = palette();
  p.setColor(QPalette::WindowText, c);
  setPalette(p);
}

void Link::addPartner(QAbstractButton* picture) {
  connect(picture, &QAbstractButton::pressed, this, [this] { setColour(pressedColour()); });
  connect(picture, &QAbstractButton::released, this, [this] { setColour(clickedColour()); });
  connect(picture, &QAbstractButton::clicked, this, [this] { activate(); });
}

void Link::activate() {
  setColour(clickedColour());
  emit clicked();
}

void Link::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) setColour(pressedColour());
  QLabel::mousePressEvent(e);
}

void Link::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return QLabel::mouseReleaseEvent(e);
  setColour(clickedColour());
  if (rect().contains(e->position().toPoint())) activate();
}

void Link::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Space) {
    activate();
    return;
  }
  QLabel::keyPressEvent(e);
}

void Link::focusInEvent(QFocusEvent* e) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  QLabel::focusInEvent(e);
}

void Link::focusOutEvent(QFocusEvent* e) {
  setFrameStyle(QFrame::NoFrame);
  QLabel::focusOutEvent(e);
}

}  // namespace fondaro::gui
