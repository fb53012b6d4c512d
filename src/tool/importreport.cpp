// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/importreport.h"

#include <algorithm>

#include "tool/common.h"

namespace fondaro::tool {

QString yearCountLines(const std::vector<YearCount>& years, bool paid) {
  QString text;
  for (const YearCount& y : years) {
    if (paid && y.added == 0 && y.present == 0 && y.paid == 0) continue;
    text += QStringLiteral("%1.eur: %2 added, %3 already present")
                .arg(archiveYearText(y.year))
                .arg(y.added)
                .arg(y.present);
    text += paid ? QStringLiteral(", %1 paid\n").arg(y.paid) : QStringLiteral("\n");
  }
  return text;
}

std::vector<YearCount> knownYearCounts(const std::vector<YearCount>& years,
                                       const std::vector<ImportWriteError::YearFailure>& failures) {
  std::vector<YearCount> known;
  for (const YearCount& y : years) {
    const auto failure =
        std::find_if(failures.begin(), failures.end(), [&](const auto& f) { return f.year == y.year; });
    if (failure == failures.end() || failure->checked) known.push_back(y);
  }
  return known;
}

void reportYearFailures(const QString& command, const std::vector<YearCount>& years,
                        const std::vector<ImportWriteError::YearFailure>& failures) {
  for (const auto& f : failures) {
    qint64 written = 0;
    for (const YearCount& y : years) written += y.year == f.year ? y.added : 0;
    err(QStringLiteral("fondaro-tool %1: %2 (%3 movements of %4.eur written before the failure)")
            .arg(command, f.error.describe())
            .arg(written)
            .arg(archiveYearText(f.year)));
  }
}

}  // namespace fondaro::tool
