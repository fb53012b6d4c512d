// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The OFX reader with a way to stop it. OFX is read by libofx in a child
// process (its running time grows faster than the file's size); the progress
// callback is asked about ten times a second while it runs and stops it when
// it answers false (Cancelled). A file whose aggregates are not closed and
// properly nested is refused before libofx sees it (StatementError, Malformed),
// and so is one on which libofx gives no answer within a time limit linear in
// the file's size. The booking date of an entry is the date DTPOSTED writes,
// in the bank's own offset.
#include "core/progress.h"
#include "core/statement.h"

namespace fondaro {

// The errors' English texts do not name the file: the caller does.
Statement readOfxFile(const QByteArray& nativePath, const ProgressFn& progress = {});

}  // namespace fondaro
