// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The day copies in the windows (core/safetycopies.h, installDayCopies):
// every write of an archive, the password file or the schedules' file takes
// today's copy of it first, inside the core's write itself; no window asks
// for it. A copy that cannot be made is reported once (for that file and day,
// in this run) over the window in front, and the write goes on: a missing
// copy never blocks the user's work.
#include <QString>

namespace fondaro::gui {

// Installs the warning; prepareApplication calls it once.
void warnOfFailedDayCopies();

// The warning shown when the day copy of `file` could not be made, `reason`
// saying why.
QString dayCopyFailedText(const QString& file, const QString& reason);

}  // namespace fondaro::gui
