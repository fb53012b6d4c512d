// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/attachments.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/cp1252.h"
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

bool isStorableAttachmentName(QStringView name) {
  if (name.size() > kAttachmentNameCapacity) return false;
  for (QChar c : name)
    if (c.isSurrogate() || cp1252::byteFor(c.unicode()) < 0) return false;
  return true;
}

bool copyReplacing(const QString& source, const QString& target, WriteFailure* why, const ProgressFn& progress) {
  const int in = openRegularFile(encodePath(source), O_RDONLY);
  if (in < 0) {
    if (why) *why = {WriteFailure::Kind::System, errno};
    return false;
  }
  struct stat st {};
  const qint64 total = ::fstat(in, &st) == 0 ? qint64(st.st_size) : 0;
  bool cancelled = false;
  const bool ok = replaceFileBytes(
      encodePath(target),
      [&](int out) {
        QByteArray buf(1 << 20, Qt::Uninitialized);
        qint64 copied = 0;
        for (;;) {
          if (progress && !progress(copied, total)) {
            cancelled = true;
            return false;  // the new file goes; the target stays as it was
          }
          const ssize_t n = ::read(in, buf.data(), size_t(buf.size()));
          if (n < 0 && errno == EINTR) continue;
          if (n < 0) return false;
          if (n == 0) return true;
          if (!writeAllTo(out, buf.constData(), n)) return false;
          copied += n;
        }
      },
      why);
  ::close(in);
  if (cancelled) throw Cancelled();
  return ok;
}

}  // namespace fondaro
