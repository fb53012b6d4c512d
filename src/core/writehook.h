// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one place every write of a data file passes before it writes: an
// archive's append, batch or in-place write (RecordFile), the password file
// and the schedules' file call beforeWrite(file) first. What it does is
// installed once per program (safety::installDayCopies: today's safety copy
// of the file); a writer never asks for the copy itself, so a new writer gets
// it without knowing of it. Without an installed hook (the core's own tests)
// nothing happens.
#include <QByteArray>
#include <functional>

namespace fondaro {

using BeforeWriteHook = std::function<void(const QByteArray& file)>;

// Replaces the hook (an empty one removes it).
void setBeforeWriteHook(BeforeWriteHook hook);
// Called by a writer before it writes `file`, holding no lock of it yet: the
// hook may read the file under its shared lock.
void beforeWrite(const QByteArray& file);

}  // namespace fondaro
