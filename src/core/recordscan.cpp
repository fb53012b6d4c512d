// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recordscan.h"

#include <QStringList>

#include "core/linebytes.h"

namespace fondaro {

QString skippedPositionsText(const std::vector<SkippedRecord>& skipped) {
  QStringList parts;
  for (size_t i = 0; i < skipped.size() && i < 10; ++i) parts << QString::number(skipped[i].position);
  QString text = parts.join(QStringLiteral(", "));
  if (skipped.size() > 10) text += QStringLiteral(", ...");
  return text;
}

QString unreadableReason(QStringView what, QByteArrayView stored, QStringView problem) {
  return what.toString() + QStringLiteral(" \"") + decodeBytes(stored) + QStringLiteral("\" ") + problem.toString();
}

}  // namespace fondaro
