// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the importing commands (import, invoices) print of the yearly
// archives: a line per year, and after a failed write what each archive
// holds and each failure.
#include <QString>
#include <vector>

#include "core/yearbatch.h"

namespace fondaro::tool {

// "<yyyy>.eur: N added, M already present\n" for each year, in the order
// given; with `paid`, ", S paid" at the end of each line, and only the years
// with something added, present or paid.
QString yearCountLines(const std::vector<YearCount>& years, bool paid = false);

// After a failed write: the years whose counts are whole (a failing year
// only when its duplicate check was made), for yearCountLines.
std::vector<YearCount> knownYearCounts(const std::vector<YearCount>& years,
                                       const std::vector<ImportWriteError::YearFailure>& failures);

// Each failure on stderr: "fondaro-tool COMMAND: ERROR (N movements of
// <yyyy>.eur written before the failure)".
void reportYearFailures(const QString& command, const std::vector<YearCount>& years,
                        const std::vector<ImportWriteError::YearFailure>& failures);

}  // namespace fondaro::tool
