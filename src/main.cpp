// SPDX-License-Identifier: GPL-3.0-or-later
// Fondaro: the command line, start, the window set, the event loop.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "WindowSet.h"
#include "app/Password.h"
#include "core/heap.h"
#include "core/programfolder.h"
#include "core/safetycopies.h"
#include "gui/application.h"
#include "gui/messages.h"

namespace {

// The login window shows before the other windows are made: they are made the
// moment it has first been painted, long before anyone can type a password.
// FONDARO_STARTUP_PROBE=1 prints one line at that moment; the start-up
// benchmark times it.
class FirstPaint : public QObject {
 public:
  bool probe = false;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      if (probe) {
        std::fputs("fondaro: login window shown\n", stdout);
        std::fflush(stdout);
      }
      o->removeEventFilter(this);
      QTimer::singleShot(0, [] {
        fondaro::completeWindowSet();
        // What a killed copy of the program left half made.
        fondaro::safety::removeLeftovers(fondaro::programFolderPath());
      });
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  fondaro::keepFreedMemoryForReuse();
  // The command line first: "--help" and "--version" need no display.
  const fondaro::CommandLine line = fondaro::parseCommandLine(argc, argv);
  switch (line.action) {
    case fondaro::CommandLine::Action::Help:
      std::fputs(fondaro::commandLineHelp().c_str(), stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case fondaro::CommandLine::Action::Version:
      std::fputs(fondaro::versionText("fondaro").c_str(), stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    case fondaro::CommandLine::Action::Usage:
      std::fprintf(stderr, "%s\n\n%s", line.usage.c_str(), fondaro::commandLineHelp().c_str());
      return 2;
    case fondaro::CommandLine::Action::Run:
      break;
  }
  if (const std::string why = fondaro::gui::noDisplayMessage(argv[0]); !why.empty()) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }
  const fondaro::StartFolder folder = fondaro::startProgramFolder(line);
  fondaro::gui::useSoftwareRendering();
  QApplication app(argc, argv);
  fondaro::gui::prepareApplication(app);
  if (!folder.error.isEmpty()) {
    fondaro::gui::notice(nullptr, fondaro::gui::Icon::Error, folder.error);
    return 1;
  }

  fondaro::WindowSet& windows = fondaro::buildLoginWindow();
  // "fondaro 2024.eur": the register of 2024 once the password is right.
  fondaro::openRegisterAfterLogin(folder.year);
  FirstPaint firstPaint;
  const char* p = std::getenv("FONDARO_STARTUP_PROBE");
  firstPaint.probe = p && *p == '1';
  windows.frmPassword->installEventFilter(&firstPaint);
  fondaro::startWindowSet();

  const int rc = app.exec();
  fondaro::destroyWindowSet();
  return rc;
}
