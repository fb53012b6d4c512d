// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/application.h"

#include "gui/daycopies.h"

#include <QApplication>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cctype>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "gui/widgets.h"
#include "report/fonts.h"

#if defined(Q_OS_LINUX)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

namespace fondaro::gui {

namespace {
EndHook& endHook() {
  static EndHook h;
  return h;
}

std::string envText(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

#if defined(Q_OS_LINUX)
template <class Address>
bool connects(int family, const Address& addr, socklen_t length) {
  const int fd = ::socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return true;  // cannot tell; let the toolkit try
  const bool ok = ::connect(fd, reinterpret_cast<const sockaddr*>(&addr), length) == 0;
  ::close(fd);
  return ok;
}

// Whether the X server of a display on this machine (":0", ":1.0", "unix:0",
// or "localhost:10.0" as a secure shell forwards it) answers on its socket. A
// display on another host, or a name this does not understand, is left to the
// toolkit.
bool localXServerAnswers(const std::string& display) {
  const auto colon = display.rfind(':');
  if (colon == std::string::npos) return true;
  const std::string host = display.substr(0, colon);
  std::string number;
  for (std::size_t i = colon + 1; i < display.size() && std::isdigit(uchar(display[i])); ++i)
    number += display[i];
  if (number.empty() || number.size() > 4) return true;
  if (host == "localhost" || host == "127.0.0.1") {
    sockaddr_in tcp{};
    tcp.sin_family = AF_INET;
    tcp.sin_port = htons(uint16_t(6000 + std::stoi(number)));
    tcp.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return connects(AF_INET, tcp, socklen_t(sizeof tcp));
  }
  if (!host.empty() && host != "unix") return true;
  const std::string path = "/tmp/.X11-unix/X" + number;
  sockaddr_un addr{};
  if (path.size() + 1 >= sizeof addr.sun_path) return true;
  // The abstract name: a leading zero byte, then the path, no terminator.
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path + 1, path.data(), path.size());
  if (connects(AF_UNIX, addr, socklen_t(offsetof(sockaddr_un, sun_path) + 1 + path.size())))
    return true;
  addr = sockaddr_un{};
  addr.sun_family = AF_UNIX;
  std::memcpy(addr.sun_path, path.data(), path.size());
  return connects(AF_UNIX, addr, socklen_t(sizeof addr));
}
#endif
}  // namespace

std::string noDisplayMessage(const char* program) {
#if defined(Q_OS_LINUX)
  const std::string hint = std::string("; per avviarlo senza schermo: xvfb-run -a ") +
                           (program && *program ? program : "fondaro");
  // The platform the toolkit is told to use, without its options.
  std::string platform = envText("QT_QPA_PLATFORM");
  platform = platform.substr(0, platform.find_first_of(":;"));
  if (!platform.empty() && platform != "xcb") return {};  // offscreen, wayland, vnc...
  const std::string display = envText("DISPLAY");
  if (display.empty()) {
    if (platform.empty() && !envText("WAYLAND_DISPLAY").empty()) return {};
    return "fondaro: nessun display grafico disponibile (DISPLAY non impostata)" + hint;
  }
  if (!localXServerAnswers(display))
    return "fondaro: il display grafico " + display + " non risponde" + hint;
#else
  (void)program;
#endif
  return {};
}

void useSoftwareRendering() { QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL); }

void installFonts() { report::installFonts(); }

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
  // The menu entry's name (packaging/), by which desktops match the windows
  // to its icon.
  app.setDesktopFileName(u"it.fondaro.fondaro"_qs);
  // Every window's icon: the theme's (the package installs it), else the logo.
  QIcon logo;
  for (const char* name : {"logo_small", "logo"}) logo.addPixmap(art(QString::fromLatin1(name)));
  app.setWindowIcon(QIcon::fromTheme(u"it.fondaro.Fondaro"_qs, logo));
  setFormatSettings();
  auto* qtbase = new QTranslator(&app);
  if (qtbase->load(QLocale(QLocale::Italian, QLocale::Italy), u"qtbase"_qs, u"_"_qs,
                   QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    app.installTranslator(qtbase);
  installFonts();
  warnOfFailedDayCopies();
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
