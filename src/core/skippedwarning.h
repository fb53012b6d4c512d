// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The warning a window shows after a list that had to skip damaged records:
// which positions, and what their absence means for that list.
#include <QString>
#include <vector>

#include "core/recordscan.h"

namespace fondaro {

enum class SkippingList {
  Journal,  // the journal: the records are not listed and not in the totals
  DueList,  // the due list: the records were not examined
};

// One sentence for one record ("la scheda in posizione 8"), another for several.
QString skippedRecordsWarning(SkippingList list, const std::vector<SkippedRecord>& skipped);

}  // namespace fondaro
