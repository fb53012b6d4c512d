// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The address-book editor's card as a table: each control with its caption,
// its section, its typing rules and its info-bar sentence; then the button
// column and the navigation bar.
#include <span>

#include "gui/cardtable.h"

namespace fondaro::clientTexts {

std::span<const gui::card::SectionPlan> editorSections();
std::span<const gui::card::Row> editorRows();
// The button column beside the card, then the navigation bar.
std::span<const gui::card::ToolGroup> editorButtons();

// The info bar's first text.
inline constexpr QStringView kReady = u"Pronto per archiviare una nuova scheda...";

}  // namespace fondaro::clientTexts
