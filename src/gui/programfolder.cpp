#include "gui/programfolder.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QFile>

#include "core/filepath.h"

namespace fondaro::gui {

namespace {
QByteArray& overridden() {
  static QByteArray folder;
  return folder;
}

QByteArray withSeparator(QByteArray folder) {
  if (!folder.endsWith('/')) folder.append('/');
  return folder;
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
  // No /proc: the application's own answer, right for every UTF-8 name.
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

void setProgramFolder(const QString& folder) {
  setProgramFolder(encodePath(folder));
}

}  // namespace fondaro::gui
