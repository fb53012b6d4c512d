// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The movement editor's card as a table: each control with its caption, its
// section, its typing rules and its info-bar sentence; then the toolbar.
#include <span>

#include "gui/cardtable.h"

namespace fondaro::movementTexts {

std::span<const gui::card::SectionPlan> editorSections();
std::span<const gui::card::Row> editorRows();
std::span<const gui::card::ToolGroup> editorToolbar();

// The info bar's first text.
inline constexpr QStringView kReady = u"Pronto per archiviare una nuova scheda...";

}  // namespace fondaro::movementTexts
