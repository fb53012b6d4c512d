#include "gui/openurl.h"

#include <QDesktopServices>
#include <QUrl>

#include "core/filepath.h"

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
  QString text = command;
  text.remove(u'"');
  text = text.trimmed();
  if (text.startsWith(u"www.", Qt::CaseInsensitive)) return u"http://"_qs + text;
  if (hasUrlScheme(text)) return QUrl(text, QUrl::TolerantMode).toString(QUrl::FullyEncoded);
  // A path from a folder named in another charset carries bytes that are not
  // UTF-8 (core/filepath.h): they go into the URL byte for byte.
  const QByteArray native = encodePath(text);
  if (text.startsWith(u'/') && native != text.toUtf8())
    return u"file://"_qs + QString::fromLatin1(native.toPercentEncoding("/"));
  return QUrl::fromLocalFile(text).toString(QUrl::FullyEncoded);
}

void TMisc::Open(const QString& command) {
  if (hook()) {
    hook()(command);
    return;
  }
  // The desktop's answer is not looked at: a missing document, mail program or
  // browser leaves the program as it was.
  QDesktopServices::openUrl(QUrl(openerUrl(command), QUrl::StrictMode));
}

void setShellHook(ShellHook h) { hook() = std::move(h); }

}  // namespace fondaro::gui
