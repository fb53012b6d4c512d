// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/copies.h"

#include "core/field.h"
#include "core/textrules.h"

namespace fondaro {

std::optional<int> copiesFromAnswer(const QString& answer, int max) {
  const QString t = trimmedText(answer);
  const std::optional<qint64> n = digitsValue(t, max);
  if (!n) return 1;
  if (*n > max) return std::nullopt;
  return int(*n);
}

}  // namespace fondaro
