#include "core/attachments.h"

#include <QFile>
#include <QSaveFile>

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
  QFile in(source);
  if (!in.open(QIODevice::ReadOnly)) return false;
  QSaveFile out(target);
  out.setDirectWriteFallback(false);
  if (!out.open(QIODevice::WriteOnly)) return false;
  QByteArray buf(1 << 20, Qt::Uninitialized);
  for (;;) {
    const qint64 n = in.read(buf.data(), buf.size());
    if (n < 0) {
      out.cancelWriting();
      return false;
    }
    if (n == 0) break;
    if (out.write(buf.constData(), n) != n) {
      out.cancelWriting();
      return false;
    }
  }
  return out.commit();
}

}  // namespace fondaro
