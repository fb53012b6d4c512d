// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long work in the core (a big export, a statement import, a copy) reports how
// far it is and learns whether the user wants it stopped.
#include <QtGlobal>

#include <functional>
#include <stdexcept>

namespace fondaro {

// Called now and then with the work done and the whole, in one unit (bytes,
// records, pages); returns false to stop. An empty callback never stops.
using ProgressFn = std::function<bool(qint64 done, qint64 total)>;

// Thrown by work stopped through its progress callback. The work throws it only
// where nothing is left half written: an older output file stays as it was.
class Cancelled : public std::runtime_error {
 public:
  Cancelled() : std::runtime_error("cancelled") {}
};

// Reports progress and throws Cancelled when the callback says stop.
inline void reportProgress(const ProgressFn& progress, qint64 done, qint64 total) {
  if (progress && !progress(done, total)) throw Cancelled();
}

}  // namespace fondaro
