// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three message kinds, and the other modal dialogs the windows use (one
// value, a file to open), all through one place so that tests can answer them.
//
// - notice: a warning, error or information icon with OK and Cancel; the answer
//   is not looked at, the operation has already decided what comes next;
// - question: Yes and No; only Yes goes on;
// - message: OK only, no icon.
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "core/notice.h"

class QWidget;

namespace fondaro {
class UserError;
}

namespace fondaro::gui {

enum class Icon { None, Warning, Error, Information, Question };

void notice(QWidget* parent, Icon icon, const QString& text);
bool question(QWidget* parent, const QString& text);
void message(QWidget* parent, const QString& text);
// A notice decided by the core, shown as the message box of its kind.
void show(QWidget* parent, const fondaro::Notice& notice);
// An error of the core (core/usererror.h), in its Italian words.
void show(QWidget* parent, const fondaro::UserError& error);

// One text value; nullopt when the user cancels.
std::optional<QString> inputText(QWidget* parent, const QString& title, const QString& label,
                                 const QString& value);
// One whole number within [min, max]; nullopt when the user cancels.
std::optional<int> inputInt(QWidget* parent, const QString& title, const QString& label,
                            int value, int min, int max);
// A file to open; empty when the user cancels.
QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                     const QString& filter);
// Several files to open at once; empty when the user cancels. A test's hook
// answers an OpenFile request with the names one a line.
QStringList openFileNames(QWidget* parent, const QString& caption, const QString& folder,
                          const QString& filter);
// An existing folder; empty when the user cancels.
QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder);

// What a dialog asked, for a hook to answer.
enum class DialogKind { Notice, Question, Message, InputText, InputInt, OpenFile, ChooseFolder };
enum class Answer { Ok, Cancel, Yes, No };

struct DialogRequest {
  DialogKind kind;
  Icon icon;
  QString title;
  QString text;   // the message, the input label, or the file filter
  QString value;  // the proposed value, or the folder of a file dialog
  QWidget* parent;
};

struct DialogReply {
  Answer answer = Answer::Ok;
  QString value;  // the value entered, or the file chosen
};

// Tests: while a hook is set, no dialog is shown; the hook answers it.
using DialogHook = std::function<DialogReply(const DialogRequest&)>;
void setDialogHook(DialogHook hook);

// The caption a message of this kind and icon carries.
QString dialogTitle(DialogKind kind, Icon icon);

}  // namespace fondaro::gui
