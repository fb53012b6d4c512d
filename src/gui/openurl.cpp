// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/openurl.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/filepath.h"
#include "core/programfolder.h"

namespace fondaro::gui {

namespace {
ShellHook& hook() {
  static ShellHook h;
  return h;
}

bool hasUrlScheme(const QString& text) {
  const QUrl url(text, QUrl::TolerantMode);
  // A one-letter scheme is a drive letter ("C:\..."), not a URL.
  return url.isValid() && url.scheme().size() > 1;
}
}  // namespace

QString openerUrl(const QString& command) {
  QString text = command.trimmed();
  // A command in quotes is what stands between them: a file's name may hold
  // a quote of its own, and "a\"b.txt" must not open "ab.txt".
  if (text.size() >= 2 && text.startsWith(u'"') && text.endsWith(u'"')) text = text.mid(1, text.size() - 2);
  else text.remove(u'"');
  // A path goes into the URL byte for byte, whatever its charset (a folder
  // named in Latin-1 carries bytes that are not UTF-8, core/filepath.h), so
  // the exact file is opened.
  if (text.startsWith(u'/')) return u"file://"_qs + QString::fromLatin1(encodePath(text).toPercentEncoding("/"));
  text = text.trimmed();
  if (text.startsWith(u"www.", Qt::CaseInsensitive)) return u"http://"_qs + text;
  if (hasUrlScheme(text)) return QUrl(text, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
  return QUrl::fromLocalFile(text).toString(QUrl::FullyEncoded);
}

void TMisc::Open(const QString& command) {
  if (hook()) {
    hook()(command);
    return;
  }
  // The desktop's answer is not looked at: a missing document, mail program or
  // browser leaves the program as it was.
  // The program the desktop starts gets the user's umask, not the program's
  // private one (core/programfolder.h).
  const UserUmask userUmask;
  QDesktopServices::openUrl(QUrl(openerUrl(command), QUrl::StrictMode));
}

void setShellHook(ShellHook h) { hook() = std::move(h); }

}  // namespace fondaro::gui
