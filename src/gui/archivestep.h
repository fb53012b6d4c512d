// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One user action on an archive, as every window does it: the step opens,
// reads or writes and closes; an archive failure stops it where it happened
// and shows the one message the program has for it.
#include "core/archive.h"
#include "gui/messages.h"

namespace fondaro::gui {

// Runs `step`; returns false when an archive failure stopped it (the message
// was shown with `icon`).
template <class Step>
bool archiveStep(QWidget* parent, Step&& step, Icon icon = Icon::Error) {
  try {
    step();
    return true;
  } catch (const ArchiveError&) {
    notice(parent, icon, archiveAccessMessage());
    return false;
  }
}

// Runs a save `step` as archiveStep does. When the card reached the archive
// but the disk did not confirm it, the editor takes the position it went to
// (`stored(p)`), so that saving again rewrites that record instead of adding
// a second copy, and the message says so.
template <class Step, class Stored>
bool saveStep(QWidget* parent, Step&& step, Stored&& stored) {
  try {
    step();
    return true;
  } catch (const ArchiveError& e) {
    if (e.writtenAt() > 0) {
      stored(e.writtenAt());
      notice(parent, Icon::Error, unconfirmedWriteMessage(e.writtenAt()));
    } else {
      notice(parent, Icon::Error, archiveAccessMessage());
    }
    return false;
  }
}

}  // namespace fondaro::gui
