#include "core/attachments.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "core/filepath.h"
#include "core/replacefile.h"

namespace fondaro {

QString attachmentsFolder(const QString& programFolder) {
  QString folder = programFolder;
  if (!folder.isEmpty() && !folder.endsWith(u'/')) folder += u'/';
  return folder + QLatin1String(kAttachmentsFolderName) + u'/';
}

bool isSafeAttachmentName(QStringView name) {
  if (name.isEmpty() || name == u"." || name == u"..") return false;
  for (QChar c : name) {
    const char16_t u = c.unicode();
    if (u == u'/' || u == u'\\' || u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0)) return false;
  }
  return true;
}

bool copyReplacing(const QString& source, const QString& target) {
  const int in = openRegularFile(encodePath(source), O_RDONLY);
  if (in < 0) return false;
  const bool ok = replaceFileBytes(encodePath(target), [in](int out) {
    QByteArray buf(1 << 20, Qt::Uninitialized);
    for (;;) {
      const ssize_t n = ::read(in, buf.data(), size_t(buf.size()));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) return false;
      if (n == 0) return true;
      if (!writeAllTo(out, buf.constData(), n)) return false;
    }
  });
  ::close(in);
  return ok;
}

}  // namespace fondaro
