// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>

namespace fondaro::report {

void installFonts() {
  static bool done = false;
  if (done) return;
  done = true;
  // A real Tahoma ships with the Wine fonts, outside fontconfig's folders.
  bool tahoma = false;
  for (const char* file : {"/usr/share/wine/fonts/tahoma.ttf", "/usr/share/wine/fonts/tahomabd.ttf"}) {
    if (QFile::exists(QLatin1String(file)))
      tahoma = QFontDatabase::addApplicationFont(QLatin1String(file)) >= 0 || tahoma;
  }
  QFont::insertSubstitutions(u"Arial"_qs, {u"Liberation Sans"_qs, u"DejaVu Sans"_qs});
  QFont::insertSubstitutions(u"Courier New"_qs, {u"Liberation Mono"_qs, u"DejaVu Sans Mono"_qs});
  QFont::insertSubstitutions(u"Times New Roman"_qs, {u"Liberation Serif"_qs, u"DejaVu Serif"_qs});
  // Verdana has no metric twin; DejaVu Sans comes from the same design family.
  QFont::insertSubstitutions(u"Verdana"_qs, {u"DejaVu Sans"_qs});
  if (!tahoma) QFont::insertSubstitutions(u"Tahoma"_qs, {u"DejaVu Sans"_qs});
}

QFont printFont(const QString& family, double points, bool bold, bool italic) {
  QFont f(family);
  f.setPointSizeF(points);
  f.setBold(bold);
  f.setItalic(italic);
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

}  // namespace fondaro::report
