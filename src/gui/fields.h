// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How edit fields behave, declared by each window as data:
//
//   setFields(this, {
//     {.name = "txtAnno", .enterTo = "btnApri", .keys = Keys::Digits, .maxLength = 4,
//      .frame = true},
//     {.name = "txtCodFisc", .enterTo = "txtPartitaIva", .typing = Typing::UpperTrim},
//   });
//
// - Enter moves the focus to the next control of the window's Enter chain; where
//   the chain ends on a button, a second Enter presses the focused button.
// - Keys: Digits lets through only "0"-"9", Backspace, Delete, Left and Right;
//   Amount also ","; EnterOnly swallows every key but Enter. Tab is never
//   filtered: it always moves the focus along the tab order.
// - Typing: after each change typed by the user, UpperTrim turns a-z into A-Z and
//   trims the ends; Trim only trims; Upper only turns a-z into A-Z (blanks and
//   accented letters stay as typed).
// - maxLength limits typing only: a text put in by the program is kept whole.
// - frame: the focus frame "eff" + the field's suffix, a yellow ring shown while
//   the field has the keyboard focus (kept while a message box or another window
//   has it, as long as the field is where its window will give it back); at most
//   one frame of a window shows.
#include <QString>
#include <functional>
#include <initializer_list>
#include <span>

class QKeyEvent;
class QWidget;

namespace fondaro::gui {

enum class Keys { Free, Digits, Amount, EnterOnly };
enum class Typing { AsIs, Trim, UpperTrim, Upper };

struct Field {
  const char* name;
  const char* enterTo = nullptr;
  Keys keys = Keys::Free;
  Typing typing = Typing::AsIs;
  int maxLength = 0;
  bool frame = false;
  bool tabMoves = true;
};

// Every name (the field and its Enter target) must name a control of the
// window: a wrong one throws std::logic_error (see controls.h).
void setFields(QWidget* window, std::initializer_list<Field> fields);
void setFields(QWidget* window, std::span<const Field> fields);
// The typing limit alone, for fields whose limit comes from a binding table.
void setMaxTyped(QWidget* field, int maxLength);

// Handlers that do more than the declared rules, for a field's events:
// onEnter replaces the Enter chain step of the field;
void onEnter(QWidget* field, std::function<void()> handler);
// onKeyDown runs before the rules; returning true swallows the key;
void onKeyDown(QWidget* field, std::function<bool(QKeyEvent*)> handler);
// onKeyUp runs after every key released in the field;
void onKeyUp(QWidget* field, std::function<void(QKeyEvent*)> handler);
// onExit runs when the focus moves from the field to another control of the
// window, after the focus frame is hidden.
void onExit(QWidget* field, std::function<void()> handler);

// The focus frame's name for a field: "eff" + the name after its prefix.
QString frameName(const QString& fieldName);

// A key that only modifies others (Shift, Control, Alt, Meta, the locks):
// pressed alone it is no key of its own.
bool isModifierKey(int key);

// The rules, as pure functions (used by the fields and by tests).
bool keyPasses(Keys keys, int key, const QString& text);
QString typedText(Typing typing, const QString& text);

}  // namespace fondaro::gui
