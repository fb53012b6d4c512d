// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMetaMethod>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <stdexcept>

#include "gui/fields.h"

namespace fondaro::gui {

QWidget* requireControl(const QWidget* window, QStringView name) {
  if (auto* w = window->findChild<QWidget*>(name.toString())) return w;
  throw std::logic_error("window " + window->objectName().toStdString() + " has no control named " +
                         name.toString().toStdString());
}

void wrongControlKind(const QWidget* window, QStringView name) {
  throw std::logic_error("control " + name.toString().toStdString() + " of window " +
                         window->objectName().toStdString() + " is not of the expected kind");
}

QString controlText(const QWidget* control) {
  if (auto* e = qobject_cast<const QLineEdit*>(control)) return e->text();
  if (auto* c = qobject_cast<const QComboBox*>(control)) return c->currentText();
  if (auto* l = qobject_cast<const QLabel*>(control)) return l->text();
  throw std::logic_error("control " + control->objectName().toStdString() + " holds no card text");
}

// A text put in by the program shows from its start, where a name or a code
// begins; setText alone leaves the cursor, and so the view, at its end.
void setControlText(QWidget* control, const QString& text) {
  if (auto* e = qobject_cast<QLineEdit*>(control)) {
    e->setText(text);
    return e->setCursorPosition(0);
  }
  if (auto* c = qobject_cast<QComboBox*>(control)) {
    c->setEditText(text);
    if (QLineEdit* e = c->lineEdit()) e->setCursorPosition(0);
    return;
  }
  if (auto* l = qobject_cast<QLabel*>(control)) return l->setText(text);
  throw std::logic_error("control " + control->objectName().toStdString() + " holds no card text");
}

void setControlText(const QWidget* window, QStringView name, const QString& text) {
  setControlText(requireControl(window, name), text);
}

void setTypingLimit(QWidget* control, int limit) {
  if (qobject_cast<QLineEdit*>(control) || qobject_cast<QComboBox*>(control)) setMaxTyped(control, limit);
}

void connectClickSlots(QWidget* window) {
  const QMetaObject* meta = window->metaObject();
  const int clicked = QAbstractButton::staticMetaObject.indexOfSignal("clicked(bool)");
  const QMetaMethod signal = QAbstractButton::staticMetaObject.method(clicked);
  // The window's own slots and those of its bases below QWidget (an editor's
  // browsing buttons are its base's).
  for (int i = QWidget::staticMetaObject.methodCount(); i < meta->methodCount(); ++i) {
    const QMetaMethod slot = meta->method(i);
    const QByteArray name = slot.name();
    if (slot.methodType() != QMetaMethod::Slot || slot.access() != QMetaMethod::Public ||
        slot.parameterCount() != 0 || !name.endsWith("Click"))
      continue;
    const QString control = QString::fromLatin1(name.left(name.size() - 5));
    QObject::connect(requireControl<QAbstractButton>(window, control), signal, window, slot);
  }
}

void setTabChain(const QWidget* window, std::initializer_list<QStringView> names) {
  QWidget* before = nullptr;
  for (QStringView n : names) {
    QWidget* w = requireControl(window, n);
    if (before) QWidget::setTabOrder(before, w);
    before = w;
  }
}

}  // namespace fondaro::gui
