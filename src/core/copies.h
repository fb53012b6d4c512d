// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The number of copies a print asks for, as the user typed it.
#include <QString>
#include <optional>

namespace fondaro {

// How many copies an answer to "Copie:" asks for: an empty answer, or one that
// is not made of digits only, counts as 1; nothing when the number is above
// `max`. Leading zeros say nothing, and a number too large for an integer is
// simply above the limit.
std::optional<int> copiesFromAnswer(const QString& answer, int max);

}  // namespace fondaro
