#include "gui/programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace fondaro::gui {

namespace {
QString& overridden() {
  static QString folder;
  return folder;
}

QString withSeparator(QString folder) {
  if (!folder.endsWith(u'/')) folder.append(u'/');
  return folder;
}
}  // namespace

QString programFolder() {
  if (!overridden().isEmpty()) return overridden();
  return withSeparator(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString& folder) {
  overridden() = folder.isEmpty() ? QString() : withSeparator(QDir::fromNativeSeparators(folder));
}

}  // namespace fondaro::gui
