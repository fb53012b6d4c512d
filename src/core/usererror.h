// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What every error a user may meet has in common, whichever part of the
// program raised it: its kind, the English text that fondaro-tool prints and
// the Italian text that the windows show. Every error class of the core
// derives from it (archives, whole-file writes, statements and their import,
// schedules, safety copies, the password file); the windows show one with
// gui::show(parent, error), the tool reports one with tool::fail(command,
// error). A class may say more through its own members (positions written,
// the damaged file); those are for the callers that need them.
#include <QString>
#include <stdexcept>

namespace fondaro {

class UserError : public std::runtime_error {
 public:
  enum class Kind {
    Input,    // what the user gave cannot be used (a statement, a value, a position)
    Damaged,  // a file the program keeps is damaged (a copy, the schedules' file)
    Refused,  // a rule refuses it (a read-only file, a protected target, a link to nothing)
    System,   // the system refused (disk full, input/output error, no permission)
  };
  using std::runtime_error::runtime_error;
  virtual Kind errorKind() const = 0;
  // For fondaro-tool, without its "fondaro-tool COMMAND: " prefix.
  virtual QString english() const = 0;
  // For the windows: a whole message.
  virtual QString italian() const = 0;
};

}  // namespace fondaro
