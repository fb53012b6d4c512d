// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/guidetext.h"

namespace fondaro {

QStringList guideParagraphs(QStringView text) {
  if (text.startsWith(QChar(0xFEFF))) text = text.mid(1);
  QStringList paragraphs;
  QString current;
  const auto flush = [&] {
    if (!current.isEmpty()) paragraphs.append(current);
    current.clear();
  };
  for (QStringView line : text.split(u'\n')) {
    const QString t = line.toString().simplified();
    if (t.isEmpty()) {
      flush();
      continue;
    }
    if (!current.isEmpty()) current += u' ';
    current += t;
  }
  flush();
  return paragraphs;
}

}  // namespace fondaro
