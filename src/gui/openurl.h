// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way the program hands a web address, a "mailto:" link or a file to the
// desktop: TMisc::Open. Callers pass the text as they build it (file paths in
// double quotes); nothing is reported back, whatever the desktop does with it.
#include <QString>
#include <functional>

namespace fondaro::gui {

class TMisc {
 public:
  static void Open(const QString& command);
};

// What TMisc::Open hands to the desktop's opener: quotes removed, a path turned
// into a file URL, a web or mail address kept as it is.
QString openerUrl(const QString& command);

// Tests: while a hook is set, the exact text reaches the hook instead of the
// desktop. An empty function restores the desktop.
using ShellHook = std::function<void(const QString& command)>;
void setShellHook(ShellHook hook);

}  // namespace fondaro::gui
