// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding a window's controls by name, and the card's controls by binding.
//
// Windows declare their behaviour as tables of control names (fields, hover
// sentences, bindings, tab order). A name that names no control is a mistake
// of the program, never of the user: it throws std::logic_error in every
// build, so the window cannot even be created with it and the test that
// builds every window fails at once.
#include <QObject>
#include <QString>
#include <QStringView>
#include <span>

#include "core/card.h"

class QWidget;

namespace fondaro::gui {

QWidget* requireControl(const QWidget* window, QStringView name);
[[noreturn]] void wrongControlKind(const QWidget* window, QStringView name);
// The control as a T (a complete type where this is called).
template <class T>
T* requireControl(const QWidget* window, QStringView name) {
  if (auto* w = qobject_cast<T*>(requireControl(window, name))) return w;
  wrongControlKind(window, name);
}

// The text a card control holds: a line edit, an editable combo box or a
// hidden label.
QString controlText(const QWidget* control);
void setControlText(QWidget* control, const QString& text);
// The same by name, for windows that write into an editor (the calendar, the
// searches, the lists, the attachments).
void setControlText(const QWidget* window, QStringView name, const QString& text);

// Copies between an editor's bound controls and the card texts.
template <class Rec>
CardTexts<Rec> readCard(const QWidget* editor) {
  CardTexts<Rec> t;
  for (const Binding& b : bindingsOf<Rec>()) t[b.field] = controlText(requireControl(editor, b.control));
  return t;
}
template <class Rec>
void writeCard(const QWidget* editor, const CardTexts<Rec>& texts) {
  for (const Binding& b : bindingsOf<Rec>()) setControlText(requireControl(editor, b.control), texts[b.field]);
}
// Writes the record's fields, decoded and trimmed, into the controls of another
// window's table (a person imported into a movement card).
template <class Rec>
void writeFields(const QWidget* editor, std::span<const FieldBinding<Rec>> table, const Rec& record) {
  for (const Binding& b : table) requireControl(editor, b.control);  // all or nothing
  for (const Binding& b : table)
    setControlText(requireControl(editor, b.control), trimmedText(fieldText(record, b.field)));
}
// The typing limit of a line edit or an editable combo box; other controls
// (hidden labels) take none.
void setTypingLimit(QWidget* control, int limit);
// Sets each bound edit field's typing limit (the field's capacity unless the
// binding says less).
template <class Rec>
void applyTypingLimits(const QWidget* editor) {
  for (const Binding& b : bindingsOf<Rec>()) setTypingLimit(requireControl(editor, b.control), typingLimit<Rec>(b));
}

// Connects every public slot of `window` named "<control>Click" to the
// clicked() signal of the button of that name: a window's click handlers are
// wired by their names alone. A slot whose control is missing throws.
void connectClickSlots(QWidget* window);

// Tab order along the named controls, in order.
void setTabChain(const QWidget* window, std::initializer_list<QStringView> names);

}  // namespace fondaro::gui
