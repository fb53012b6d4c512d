// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The product's name as every caption, credit and message title shows it.
#include <QString>
#include <QStringView>

namespace fondaro::gui {

inline constexpr QStringView kProductName = u"Fondaro 3.0";

// A work window's caption: " Fondaro 3.0 - <what>", with the leading blank.
inline QString windowCaption(QStringView what) {
  return u" "_qs + kProductName.toString() + u" - "_qs + what.toString();
}

}  // namespace fondaro::gui
