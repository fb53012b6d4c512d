// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Program-wide set-up: rendering, Italian translations of the standard dialogs,
// fonts, formatting settings, and how the program ends.
#include <functional>
#include <string>

class QApplication;
class QFont;

namespace fondaro::gui {

// Why no window can be shown, as one line for the terminal: no display named,
// or a local X display whose server does not answer. Empty when a display can
// be opened (or the toolkit is told to draw elsewhere). `program` is the path
// the program was started by, for the line's hint on running it under Xvfb.
// Without a display the program prints this line instead of failing inside
// the toolkit.
std::string noDisplayMessage(const char* program);

// Draw without the graphics card; call before the application object exists.
void useSoftwareRendering();

// Translations (standard buttons read "Sì", "No", "Annulla"), fonts, the
// process-wide formatting settings and the application's names.
void prepareApplication(QApplication& app);

// Maps the font families the windows name (Verdana, Tahoma, Arial, Courier New)
// to installed families with the same metrics where one exists.
void installFonts();
// A font by the family the windows name, in points.
QFont windowFont(const char* family, int points, bool bold = false);

// The process-wide formatting settings most windows set when created: dates
// dd/mm/yyyy and "," as decimal separator.
void setFormatSettings();

// Ends the program (exit icon, launcher closed, "Esci" at login).
void endApplication();
// Tests: while a hook is set, ending the program calls it instead.
using EndHook = std::function<void()>;
void setEndHook(EndHook hook);

}  // namespace fondaro::gui
