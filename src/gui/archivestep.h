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

}  // namespace fondaro::gui
