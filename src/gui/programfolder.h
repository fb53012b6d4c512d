#pragma once
// The program folder: where the executable lives, and with it the archives, the
// attachments folder, the password file and the manual.
//
// The folder is held as the operating system's bytes: a folder whose name is
// not UTF-8 (an old USB stick, a FAT volume mounted with a Latin-1 charset)
// must still lead to its own files. See core/filepath.h.
#include <QByteArray>
#include <QString>

namespace fondaro::gui {

// The folder's bytes with their trailing '/' ("/opt/fondaro/"). Every path to a
// file of the program is built from these.
QByteArray programFolderPath();

// The same as text for the places that carry paths as text (a window label):
// decodePath of the bytes, from which encodePath gives them back. For showing
// a path to the user use displayPath.
QString programFolder();

// Points the program folder elsewhere (tests); empty restores the executable's
// folder. A missing trailing separator is added.
void setProgramFolder(const QByteArray& folder);
// Text as decodePath gives it, or any ordinary name.
void setProgramFolder(const QString& folder);

// The folder of the running executable, as bytes: read from the system's link
// to it, since a decoded application path loses the bytes that are not UTF-8.
QByteArray executableFolderPath();

}  // namespace fondaro::gui
