#include "gui/application.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdlib>

namespace fondaro::gui {

namespace {
EndHook& endHook() {
  static EndHook h;
  return h;
}

bool envSet(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}
}  // namespace

bool displayAvailable() {
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
  return envSet("QT_QPA_PLATFORM") || envSet("DISPLAY") || envSet("WAYLAND_DISPLAY");
#else
  return true;
#endif
}

const char* noDisplayMessage() {
  return "fondaro: nessun display grafico disponibile (DISPLAY non impostata); "
         "per avviarlo senza schermo: xvfb-run -a ./fondaro";
}

void useSoftwareRendering() { QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL); }

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

QFont windowFont(const char* family, int points, bool bold) {
  QFont f(QString::fromLatin1(family), points, bold ? QFont::Bold : QFont::Normal);
  return f;
}

void setFormatSettings() {
  // Dates and numbers are turned into text by the core's text rules, which
  // always write dd/mm/yyyy and ","; the locale makes the toolkit agree.
  static bool done = false;
  if (done) return;
  done = true;
  QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
}

void prepareApplication(QApplication& app) {
  app.setApplicationName(u"Fondaro"_qs);
  app.setApplicationVersion(u"3.0"_qs);
  setFormatSettings();
  auto* qtbase = new QTranslator(&app);
  if (qtbase->load(QLocale(QLocale::Italian, QLocale::Italy), u"qtbase"_qs, u"_"_qs,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(qtbase);
  installFonts();
}

void endApplication() {
  if (endHook()) {
    endHook()();
    return;
  }
  QCoreApplication::quit();
}

void setEndHook(EndHook h) { endHook() = std::move(h); }

}  // namespace fondaro::gui
