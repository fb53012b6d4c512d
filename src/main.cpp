// Fondaro: start, the window set, the event loop.
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
  if (const std::string why = fondaro::gui::noDisplayMessage(argv[0]); !why.empty()) {
    std::fprintf(stderr, "%s\n", why.c_str());
    return 1;
  }
  const fondaro::StartFolder folder = fondaro::startProgramFolder(argc, argv);
  if (!folder.usage.empty()) {
    std::fprintf(stderr, "%s\n", folder.usage.c_str());
    return 2;
  }
  fondaro::gui::useSoftwareRendering();
  QApplication app(argc, argv);
  fondaro::gui::prepareApplication(app);
  if (!folder.error.isEmpty()) {
    fondaro::gui::notice(nullptr, fondaro::gui::Icon::Error, folder.error);
    return 1;
  }

  fondaro::WindowSet& windows = fondaro::buildLoginWindow();
  FirstPaint firstPaint;
  const char* p = std::getenv("FONDARO_STARTUP_PROBE");
  firstPaint.probe = p && *p == '1';
  windows.frmPassword->installEventFilter(&firstPaint);
  fondaro::startWindowSet();

  const int rc = app.exec();
  fondaro::destroyWindowSet();
  return rc;
}
