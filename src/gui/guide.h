// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide pages the help buttons show, embedded in the program.
#include <QString>

namespace fondaro::gui {

// The text of a guide page by key ("generale", "movimenti"): its paragraphs
// joined by an empty line (CR LF CR LF). Empty for an unknown key.
QString guidePage(const QString& key);

}  // namespace fondaro::gui
