// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The font families the program's windows and printouts name (Verdana, Tahoma,
// Arial, Courier New, Times New Roman) mapped to installed families with the
// same metrics where one exists. QtGui only: the windows and the command-line
// tool's PDFs get the same faces.
class QFont;
class QString;

namespace fondaro::report {

// Installs the substitutions once per process; needs a QGuiApplication.
void installFonts();

// A printout font: `family` as named, `points` on paper, with shaping switched
// off so that a PDF's text reads back exactly (no ligatures).
QFont printFont(const QString& family, double points, bool bold = false, bool italic = false);

}  // namespace fondaro::report
