#pragma once
// The program folder: where the executable lives, and with it the archives, the
// attachments folder, the password file and the manual.
#include <QString>

namespace fondaro::gui {

// The folder with its trailing separator ("/opt/fondaro/").
QString programFolder();

// Points the program folder elsewhere (tests); an empty text restores the
// executable's folder. A missing trailing separator is added.
void setProgramFolder(const QString& folder);

}  // namespace fondaro::gui
