#include "core/programfolder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstdlib>

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
  if (!makeFolders(withoutSeparator(folder))) {
    const int err = errno;
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

StartFolder startProgramFolder(int argc, char** argv) {
  StartFolder start;
  const QByteArray flag(kFolderOption);
  QByteArray option;
  for (int i = 1; i < argc; ++i) {
    const QByteArray arg(argv[i]);
    if (arg == flag) {
      option = i + 1 < argc ? QByteArray(argv[++i]) : QByteArray();
    } else if (arg.startsWith(flag + '=')) {
      option = arg.mid(flag.size() + 1);
    } else {
      continue;
    }
    if (option.isEmpty()) {
      start.usage = std::string("fondaro: ") + kFolderOption + " vuole il nome di una cartella (" +
                    kFolderOption + " CARTELLA)";
      return start;
    }
  }
  const FolderSources sources = processFolderSources(option);
  start.folder = chooseProgramFolder(sources);
  setProgramFolder(start.folder);
  if (start.folder != withSeparator(sources.executable))
    start.error = prepareProgramFolder(start.folder, shippedFolderPath(sources.executable));
  return start;
}

}  // namespace fondaro
