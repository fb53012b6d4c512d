// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/programfolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/replacefile.h"

namespace fondaro {

namespace {
QByteArray& overridden() {
  static QByteArray folder;
  return folder;
}

QByteArray withSeparator(QByteArray folder) {
  if (!folder.endsWith('/')) folder.append('/');
  return folder;
}

QByteArray withoutSeparator(QByteArray folder) {
  while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
  return folder;
}

// Present under its own name, a link included: a link is never written through
// here, whatever it points to.
bool present(const QByteArray& path) {
  struct stat st {};
  return ::lstat(path.constData(), &st) == 0;
}

// The manual is a few hundred KiB; the ceiling keeps a stray huge file out.
constexpr qint64 kManualMaxBytes = qint64(64) << 20;

bool writeCopy(const QByteArray& target, const QByteArray& bytes, WriteFailure* why) {
  return replaceFileBytes(
      target, [&](int fd) { return writeAllTo(fd, bytes.constData(), bytes.size()); }, why);
}

QByteArray homeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return QByteArray(home);
  if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) return QByteArray(pw->pw_dir);
  return {};
}

QByteArray workingFolder() {
  QByteArray buffer(4096, Qt::Uninitialized);
  while (!::getcwd(buffer.data(), size_t(buffer.size()))) {
    if (errno != ERANGE) return {};
    buffer.resize(buffer.size() * 2);
  }
  return QByteArray(buffer.constData());
}
}  // namespace

QByteArray executableFolderPath() {
  QByteArray link(4096, Qt::Uninitialized);
  for (;;) {
    const ssize_t n = ::readlink("/proc/self/exe", link.data(), size_t(link.size()));
    if (n < 0) break;
    if (n < link.size()) {
      link.truncate(n);
      const qsizetype slash = link.lastIndexOf('/');
      if (slash >= 0) return link.left(slash + 1);
      break;
    }
    link.resize(link.size() * 2);
  }
  // No /proc: the application's own answer, right for every UTF-8 name; before
  // there is an application (the start, fondaro-tool) the working folder.
  if (!QCoreApplication::instance()) return "./";
  return withSeparator(QFile::encodeName(QCoreApplication::applicationDirPath()));
}

QByteArray programFolderPath() {
  if (!overridden().isEmpty()) return overridden();
  return executableFolderPath();
}

QString programFolder() { return decodePath(programFolderPath()); }

void setProgramFolder(const QByteArray& folder) {
  overridden() = folder.isEmpty() ? QByteArray() : withSeparator(folder);
}

void setProgramFolder(const QString& folder) { setProgramFolder(encodePath(folder)); }

bool isInstalledLayout(const QByteArray& executableFolder) {
  const QByteArray folder = withoutSeparator(executableFolder);
  const qsizetype slash = folder.lastIndexOf('/');
  if (slash < 0 || folder.mid(slash + 1) != "bin") return false;
  return isFolder(folder.left(slash) + "/share/fondaro");
}

QByteArray shippedFolderPath(const QByteArray& executableFolder) {
  if (!isInstalledLayout(executableFolder)) return withSeparator(executableFolder);
  const QByteArray folder = withoutSeparator(executableFolder);
  return folder.left(folder.lastIndexOf('/')) + "/share/fondaro/";
}

QByteArray chooseProgramFolder(const FolderSources& sources) {
  const auto named = [&](const QByteArray& dir) {
    if (dir == "~") return withSeparator(sources.home);
    if (dir.startsWith("~/")) return withSeparator(joinPath(sources.home, dir.mid(2)));
    if (dir.startsWith('/')) return withSeparator(dir);
    return withSeparator(joinPath(sources.workingDir, dir));
  };
  if (!sources.option.isEmpty()) return named(sources.option);
  if (!sources.variable.isEmpty()) return named(sources.variable);
  const QByteArray executable = withSeparator(sources.executable);
  if (!isInstalledLayout(executable) && ::access(executable.constData(), W_OK) == 0) return executable;
  return withSeparator(joinPath(sources.home, kUserFolderName));
}

QString prepareProgramFolder(const QByteArray& folder, const QByteArray& shipped) {
  // The folders made here hold nobody else's business: 0700.
  const mode_t mask = ::umask(077);
  const bool made = makeFolders(withoutSeparator(folder));
  const int err = errno;
  ::umask(mask);
  if (!made) {
    return u"Impossibile creare la cartella dei dati di Fondaro:\n"_qs + displayPath(folder) + u"\n"_qs +
           systemErrorItalian(err);
  }
  if (sameFile(folder, shipped)) return {};

  const QByteArray password = joinPath(folder, kPasswordFileName);
  if (!present(password)) {
    // With no shipped file to copy the login tells what is missing.
    const SmallFile first = readSmallFile(joinPath(shipped, kPasswordFileName), kPasswordFileMaxBytes);
    WriteFailure why;
    if (first.status == SmallFile::Status::Ok && !writeCopy(password, first.bytes, &why))
      return u"Impossibile preparare il file della password nella cartella dei dati di Fondaro:\n"_qs +
             displayPath(folder) + u"\n"_qs + why.italian();
  }

  const SmallFile manual = readSmallFile(joinPath(shipped, kManualFileName), kManualMaxBytes);
  if (manual.status == SmallFile::Status::Ok) {
    const QByteArray target = joinPath(folder, kManualFileName);
    const SmallFile placed = readSmallFile(target, kManualMaxBytes);
    if (placed.status == SmallFile::Status::Missing ||
        (placed.status == SmallFile::Status::Ok && placed.bytes != manual.bytes))
      writeCopy(target, manual.bytes, nullptr);
  }
  return {};
}

FolderSources processFolderSources(const QByteArray& option) {
  FolderSources sources;
  sources.option = option;
  sources.variable = qgetenv(kFolderVariable);
  sources.executable = executableFolderPath();
  sources.home = homeFolder();
  sources.workingDir = workingFolder();
  return sources;
}

namespace {

// The toolkit's own options (QGuiApplication, QApplication, the X11 platform),
// which it takes out of the command line itself: those that take a value, and
// those that do not.
constexpr const char* kToolkitValueOptions[] = {
    "-platform", "-platformpluginpath", "-platformtheme", "-plugin", "-qwindowgeometry", "-qwindowicon",
    "-qwindowtitle", "-style", "-stylesheet", "-session", "-display", "-geometry", "-name", "-title",
    "-visual", "-qmljsdebugger"};
constexpr const char* kToolkitFlagOptions[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};

bool isToolkitOption(const QByteArray& arg, bool* takesValue) {
  const QByteArray name = arg.startsWith("--") ? arg.mid(1) : arg;
  const QByteArray bare = name.contains('=') ? name.left(name.indexOf('=')) : name;
  for (const char* o : kToolkitValueOptions)
    if (bare == o) {
      *takesValue = !name.contains('=');
      return true;
    }
  for (const char* o : kToolkitFlagOptions)
    if (name == o) {
      *takesValue = false;
      return true;
    }
  return false;
}

CommandLine usageError(std::string what) {
  CommandLine line;
  line.action = CommandLine::Action::Usage;
  line.usage = "fondaro: " + what;
  return line;
}

}  // namespace

CommandLine parseCommandLine(int argc, char** argv) {
  CommandLine line;
  const QByteArray flag(kFolderOption);
  bool options = true;
  bool folderGiven = false;
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (options && arg == "--") {
      options = false;
    } else if (options && (arg == "--help" || arg == "-h")) {
      line.action = CommandLine::Action::Help;
    } else if (options && arg == "--version") {
      if (line.action != CommandLine::Action::Help) line.action = CommandLine::Action::Version;
    } else if (options && (arg == flag || arg.startsWith(flag + '='))) {
      line.folder = arg == flag ? (i + 1 < argc ? QByteArray(argv[++i]) : QByteArray()) : arg.mid(flag.size() + 1);
      folderGiven = true;
      if (line.folder.isEmpty())
        return usageError(std::string(kFolderOption) + " vuole il nome di una cartella (" + kFolderOption +
                          " CARTELLA)");
    } else if (bool takesValue = false; options && isToolkitOption(arg, &takesValue)) {
      if (takesValue) ++i;
    } else if (options && arg.startsWith('-') && arg.size() > 1) {
      return usageError("opzione sconosciuta: " + arg.toStdString());
    } else if (!line.archive.isEmpty()) {
      return usageError("si apre un archivio alla volta: " + line.archive.toStdString() + ", " + arg.toStdString());
    } else if (arg.isEmpty()) {
      return usageError("il nome dell'archivio è vuoto");
    } else {
      line.archive = arg;
    }
  }
  if (folderGiven && !line.archive.isEmpty())
    return usageError("un archivio si apre nella sua cartella: " + std::string(kFolderOption) +
                      " e il nome di un archivio non vanno insieme");
  return line;
}

std::string commandLineHelp() {
  return "Uso: fondaro [--cartella CARTELLA] [AAAA.eur]\n"
         "     fondaro --help | --version\n"
         "\n"
         "Fondaro, contabilità di cassa per piccole imprese, associazioni e famiglie.\n"
         "\n"
         "  --cartella CARTELLA  lavora sui dati di CARTELLA (anche --cartella=CARTELLA)\n"
         "  AAAA.eur             apre la cartella dell'archivio e, dopo l'accesso,\n"
         "                       il registro dei movimenti di quell'anno\n"
         "  --help               mostra questo aiuto ed esce\n"
         "  --version            mostra la versione ed esce\n"
         "\n"
         "Senza --cartella i dati stanno nella cartella indicata da FONDARO_DIR,\n"
         "altrimenti nella cartella del programma, se è una cartella portatile,\n"
         "altrimenti in ~/Fondaro. Vedere fondaro(1).\n";
}

std::string versionText(const char* program) { return std::string(program) + " " FONDARO_VERSION "\n"; }

StartFolder startProgramFolder(const CommandLine& line) {
  StartFolder start;
  if (line.action == CommandLine::Action::Usage) {
    start.usage = line.usage;
    return start;
  }
  FolderSources sources = processFolderSources(line.folder);
  bool userFolder = sources.option.isEmpty() && sources.variable.isEmpty();
  if (!line.archive.isEmpty()) {
    // The archive names the folder outright, as "--cartella" would.
    const QByteArray path = line.archive.startsWith('/') ? line.archive : joinPath(sources.workingDir, line.archive);
    const qsizetype slash = path.lastIndexOf('/');
    const QString name = decodePath(path.mid(slash + 1));
    static const QRegularExpression yearly(u"^[0-9]{4}\\.eur$"_qs);
    struct stat st {};
    if (!yearly.match(name).hasMatch()) {
      start.error = u"Fondaro apre gli archivi annuali dei movimenti, di nome AAAA.eur (come 2024.eur):\n"_qs +
                    displayPath(path);
      return start;
    }
    const bool found = ::stat(path.constData(), &st) == 0;
    const int err = errno;
    if (!found || !S_ISREG(st.st_mode)) {
      start.error = u"Impossibile aprire l'archivio dei movimenti:\n"_qs + displayPath(path) + u"\n"_qs +
                    (found ? u"non è un file"_qs : systemErrorItalian(err));
      return start;
    }
    sources.option = path.left(slash + 1);
    start.year = name.left(4);
    userFolder = false;
  }
  start.folder = chooseProgramFolder(sources);
  setProgramFolder(start.folder);
  const QByteArray executable = withSeparator(sources.executable);
  if (start.folder == executable) return start;
  // The user's folder, a folder made now (0700) and one closed to group and
  // others keep what is created in them private, from the first password file on.
  struct stat st {};
  const bool exists = ::stat(start.folder.constData(), &st) == 0;
  start.privateData = userFolder || !exists || (st.st_mode & 077) == 0;
  if (start.privateData) keepNewFilesPrivate();
  start.error = prepareProgramFolder(start.folder, shippedFolderPath(sources.executable));
  return start;
}

StartFolder startProgramFolder(int argc, char** argv) { return startProgramFolder(parseCommandLine(argc, argv)); }

namespace {
// The umask the user gave the program, taken when new files are made private
// (again only when the umask then is not that private one).
struct UserMask {
  mode_t mask = 0;
  bool taken = false;
};
UserMask& userMask() {
  static UserMask m;
  return m;
}
}  // namespace

void keepNewFilesPrivate() {
  const mode_t current = ::umask(077);
  if (!userMask().taken || (current & 077) != 077) userMask() = {current, true};
  ::umask(current | 077);
}

UserUmask::UserUmask() : saved_(::umask(0)) { ::umask(userMask().taken ? userMask().mask : mode_t(saved_)); }

UserUmask::~UserUmask() { ::umask(mode_t(saved_)); }

}  // namespace fondaro
