// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/guide.h"

#include <QFile>
#include <QStringList>

#include "core/guidetext.h"

namespace fondaro::gui {

QString guidePage(const QString& key) {
  QFile f(u":/guide/"_qs + key + u".txt"_qs);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QStringList paragraphs = guideParagraphs(QString::fromUtf8(f.readAll()));
  return paragraphs.join(u"\r\n\r\n"_qs);
}

}  // namespace fondaro::gui
