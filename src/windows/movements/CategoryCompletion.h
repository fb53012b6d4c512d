// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The movement editor's Categoria completes from the categories already used
// in the open year and the year before, without regard to case; the text the
// user accepts (a completion or what was typed) is what is stored.
#include <QString>
#include <functional>

class QLineEdit;

namespace fondaro {

// Gives `field` a completer whose names are read from the archive that
// `archivePath()` names and the year before's, again whenever either has
// changed since the last reading (checked as the user types).
void attachCategoryCompletion(QLineEdit* field, std::function<QString()> archivePath);

}  // namespace fondaro
