// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The vendor's contacts, shown by the launcher, the information and the credits
// windows. The addresses sit under a reserved example domain.
#include <QStringView>

namespace fondaro::vendor {

inline constexpr QStringView kEmail = u"info@fondaro.example";
inline constexpr QStringView kWebSite = u"https://www.fondaro.example";
inline constexpr QStringView kWebSiteShown = u"www.fondaro.example";
// Follows " Fondaro 3.0" in the credits window's caption.
// The program is free software under the GNU GPL, version 3 or later.
inline constexpr QStringView kNotice = u" - © Fondaro Software, software libero con licenza GNU GPL 3 o successiva";

}  // namespace fondaro::vendor
