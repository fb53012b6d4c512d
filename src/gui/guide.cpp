#include "gui/guide.h"

#include <QFile>
#include <QStringList>

namespace fondaro::gui {

QString guidePage(const QString& key) {
  QFile f(u":/guide/"_qs + key + u".txt"_qs);
  if (!f.open(QIODevice::ReadOnly)) return {};
  const QString text = QString::fromUtf8(f.readAll());
  // Paragraphs are separated by empty lines; a paragraph wrapped over several
  // lines in the file is one paragraph.
  QStringList paragraphs;
  QStringList lines;
  const auto flush = [&] {
    if (!lines.isEmpty()) paragraphs.append(lines.join(u' '));
    lines.clear();
  };
  for (const QString& line : text.split(u'\n')) {
    const QString t = line.trimmed();
    if (t.isEmpty()) flush();
    else lines.append(t);
  }
  flush();
  return paragraphs.join(u"\r\n\r\n"_qs);
}

}  // namespace fondaro::gui
