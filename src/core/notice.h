// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A message the core asks a window to show: its kind and its exact text. The
// windows turn the kind into the message box of the window kit.
#include <QString>

namespace fondaro {

enum class NoticeKind {
  Warning,      // notice with the warning icon
  Error,        // notice with the error icon
  Information,  // notice with the information icon
  Plain,        // plain message: OK only, no icon
};

struct Notice {
  NoticeKind kind = NoticeKind::Warning;
  QString text;
};

// The two line breaks the archive, save and duplicate messages put between
// their paragraphs: line feed, carriage return, line feed, carriage return.
// (The check windows' messages use CR LF CR LF instead.)
inline const QString kParagraphBreak = QStringLiteral("\n\r\n\r");

}  // namespace fondaro
