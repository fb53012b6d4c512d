// Prints a list printout of N numbered lines on the system's default printer,
// through the program's own print seam, as the list windows do. A notice the
// seam would show goes to stderr instead. Exits 0 when the job was handed over.
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "gui/application.h"
#include "gui/messages.h"
#include "gui/print.h"
#include "report/templates.h"

using namespace fondaro;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  gui::prepareApplication(app);
  const int count = argc > 1 ? std::atoi(argv[1]) : 130;
  const QString title = argc > 2 ? QString::fromLocal8Bit(argv[2]) : u"Riepilogo dati"_qs;
  gui::setDialogHook([](const gui::DialogRequest& r) {
    std::fprintf(stderr, "%s\n", qPrintable(r.text));
    return gui::DialogReply{};
  });
  QStringList lines;
  for (int i = 1; i <= count; ++i) lines << u"Riga %1 della stampa di prova: caffè, perché"_qs.arg(i);
  report::Report list = report::listReport(title, lines);
  list.setName(title);
  return gui::print(nullptr, list, gui::PrintTarget::Printer) ? 0 : 1;
}
