// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide pages' text format, read the same way by the guide window and by
// the build step that writes the manual: paragraphs separated by empty lines;
// a paragraph wrapped over several lines is one paragraph, its line breaks and
// runs of blanks becoming single blanks.
#include <QStringList>
#include <QStringView>

namespace fondaro {

QStringList guideParagraphs(QStringView text);

}  // namespace fondaro
