// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program folder: where the archives, the attachments folder, the password
// file and the manual are. Decided here, once, for the program and for
// fondaro-tool alike.
//
// It is the executable's folder when that folder is a program folder of its
// own: a build folder, or a folder copied to a USB stick or a network share,
// that the user can write to. An installed program (the executable in a "bin"
// folder beside "../share/fondaro/", as the package puts it in /usr/bin) or one
// in a folder the user cannot write to keeps the data in the user's folder
// "~/Fondaro" instead, which gets the first password file and the manual on the
// first start. The option "--cartella DIR" names the folder outright, and else
// the variable FONDARO_DIR. The folder is decided once, at start.
//
// The folder is held as the operating system's bytes: a folder whose name is
// not UTF-8 (an old USB stick, a FAT volume mounted with a Latin-1 charset)
// must still lead to its own files. See core/filepath.h.
//
// The windows reach the folder in use through the kit's names
// (gui/programfolder.h), which are these functions.
#include <QByteArray>
#include <QString>
#include <string>

namespace fondaro {

// ---- the folder in use -------------------------------------------------------

// The folder's bytes with their trailing '/' ("/opt/fondaro/"). Every path to a
// file of the program is built from these.
QByteArray programFolderPath();

// The same as text for the places that carry paths as text (a window label):
// decodePath of the bytes, from which encodePath gives them back. For showing
// a path to the user use displayPath.
QString programFolder();

// Points the program folder elsewhere (the start, tests); empty restores the
// executable's folder. A missing trailing separator is added.
void setProgramFolder(const QByteArray& folder);
// Text as decodePath gives it, or any ordinary name.
void setProgramFolder(const QString& folder);

// The folder of the running executable, as bytes, with a trailing '/': read
// from the system's link to it, since a decoded application path loses the
// bytes that are not UTF-8. Without that link: the application's own answer
// once a QCoreApplication exists, else the working folder ("./").
QByteArray executableFolderPath();

// ---- the decision ------------------------------------------------------------

inline constexpr char kFolderOption[] = "--cartella";
inline constexpr char kFolderVariable[] = "FONDARO_DIR";
inline constexpr char kUserFolderName[] = "Fondaro";
inline constexpr char kManualFileName[] = "Guida.pdf";

// Whether the executable's folder is an installed one: a folder named "bin"
// with "../share/fondaro/" beside it.
bool isInstalledLayout(const QByteArray& executableFolder);

// Where the files that ship with the program are (the first password file, the
// manual): "<bin>/../share/fondaro/" for an installed layout, else the
// executable's folder itself. With a trailing '/'.
QByteArray shippedFolderPath(const QByteArray& executableFolder);

// What decides the folder, as bytes; empty when absent.
struct FolderSources {
  QByteArray option;      // the DIR of "--cartella DIR"
  QByteArray variable;    // FONDARO_DIR
  QByteArray executable;  // the executable's folder
  QByteArray home;        // the user's home folder
  QByteArray workingDir;  // where a relative DIR starts
};

// The sources of the running process: `option` as given, FONDARO_DIR, the
// executable's folder, the home folder ($HOME, else the user database) and the
// working folder.
FolderSources processFolderSources(const QByteArray& option);

// The folder the sources choose, with a trailing '/': the option, else the
// variable (relative names taken from the working folder), else the
// executable's folder when it is not an installed layout and the user can
// write to it, else "<home>/Fondaro/".
QByteArray chooseProgramFolder(const FolderSources& sources);

// Makes `folder` ready as a program folder filled from `shipped`: creates it
// when missing, places the first password file when it has none (one that is
// there, with the user's password, is never touched) and the manual when it is
// missing or differs from the shipped one. Nothing is copied onto itself.
// Empty when the folder is ready, else what failed, in Italian, for the
// program's message box. A manual that cannot be placed is no failure: the
// program works without it.
QString prepareProgramFolder(const QByteArray& folder, const QByteArray& shipped);

// ---- the command line ----------------------------------------------------------

// fondaro [--cartella DIR] [YYYY.eur] | --help | --version. The options of
// the toolkit itself ("-style fusion", "-platform xcb", ...) are left to it;
// "--" ends the options.
struct CommandLine {
  enum class Action { Run, Help, Version, Usage };
  Action action = Action::Run;
  QByteArray folder;   // the DIR of "--cartella DIR" as given
  QByteArray archive;  // the yearly archive to open, as given
  std::string usage;   // what is wrong with the line (Action::Usage)
};
CommandLine parseCommandLine(int argc, char** argv);

// What "fondaro --help" prints; what "<program> --version" prints
// ("fondaro 3.0.1"), the program's and the tool's.
std::string commandLineHelp();
std::string versionText(const char* program);

// The start of the program: chooses the folder from the command line (the
// folder of its archive, else "--cartella DIR") and FONDARO_DIR, prepares it
// when it is not the executable's own, and points the program folder there.
// For a private folder (see keepNewFilesPrivate) it makes new files private
// first. An archive must be an existing "<yyyy>.eur": its year is the register
// to open after login.
struct StartFolder {
  QByteArray folder;
  QString year;        // the register to open after login; empty for none
  QString error;       // the folder cannot be used (Italian; for a message box)
  std::string usage;   // the command line is wrong (for the terminal)
  bool privateData = false;  // new files are private (keepNewFilesPrivate)
};
StartFolder startProgramFolder(const CommandLine& line);
StartFolder startProgramFolder(int argc, char** argv);

// ---- private data ------------------------------------------------------------

// The user's own folder "~/Fondaro", and any folder the program makes for its
// data, are made 0700: the accounts and the password file are no one else's.
// The files and folders the program then creates in a private program folder
// (the user's folder, or one that gives group and others no access) are
// private too: keepNewFilesPrivate() takes group and other permissions out of
// the process's umask, so every writer (archives, copies, exports,
// attachments) creates 0600 files and 0700 folders. A folder or file that
// exists keeps its mode.
void keepNewFilesPrivate();
// For the span of a launch of another program (the shell opening a document),
// the umask the user started the program with, so that the opened program does
// not inherit the private one.
class UserUmask {
 public:
  UserUmask();
  ~UserUmask();
  UserUmask(const UserUmask&) = delete;
  UserUmask& operator=(const UserUmask&) = delete;

 private:
  unsigned saved_;
};

}  // namespace fondaro
