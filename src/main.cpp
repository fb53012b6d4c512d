// Fondaro: start, the window set, the event loop.
#include <QApplication>
#include <QEvent>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "WindowSet.h"
#include "app/Password.h"
#include "core/heap.h"
#include "gui/application.h"

namespace {

// FONDARO_STARTUP_PROBE=1 prints one line the moment the login window is first
// painted; the start-up benchmark times it.
class StartupProbe : public QObject {
 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      std::fputs("fondaro: login window shown\n", stdout);
      std::fflush(stdout);
      o->removeEventFilter(this);
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
  fondaro::gui::useSoftwareRendering();
  QApplication app(argc, argv);
  fondaro::gui::prepareApplication(app);

  fondaro::WindowSet& windows = fondaro::buildWindowSet();
  StartupProbe probe;
  if (const char* p = std::getenv("FONDARO_STARTUP_PROBE"); p && *p == '1')
    windows.frmPassword->installEventFilter(&probe);
  fondaro::startWindowSet();

  const int rc = app.exec();
  fondaro::destroyWindowSet();
  return rc;
}
