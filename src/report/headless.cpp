// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/headless.h"

#include "report/fonts.h"

namespace fondaro::report {

std::unique_ptr<QGuiApplication> startHeadless(int& argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  auto app = std::make_unique<QGuiApplication>(argc, argv);
  installFonts();
  return app;
}

}  // namespace fondaro::report
