// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program folder as the windows name it. The folder is decided and held by
// the core (core/programfolder.h); these are the core's own functions under the
// kit's names, so that a window and a window test write gui::programFolder()
// and gui::setProgramFolder() as they always have, with no second copy of the
// rule behind them.
#include "core/programfolder.h"

namespace fondaro::gui {

using fondaro::programFolder;
using fondaro::programFolderPath;
using fondaro::setProgramFolder;

}  // namespace fondaro::gui
