// SPDX-License-Identifier: GPL-3.0-or-later
// Prints on the system's default printer, through the program's own print
// seam: a list printout of N numbered lines, as the list windows do, or with
// "card" an address-book card as its editor prints it, or with "rendiconto"
// the rendiconto per cassa of YEAR from the program folder FOLDER as its
// window prints it. A notice the seam would show goes to stderr instead.
// Exits 0 when the job was handed over.
//   fondaro-print-job [N [TITLE]] | card | rendiconto FOLDER YEAR
#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "core/clientcard.h"
#include "core/rendiconto.h"
#include "gui/application.h"
#include "gui/messages.h"
#include "gui/print.h"
#include "report/templates.h"

using namespace fondaro;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  gui::prepareApplication(app);
  if (argc > 1 && qstrcmp(argv[1], "card") == 0) {
    ClientCard card = newClientCard();
    card[cli::Cliente] = u"Perché Nicolò"_qs;
    card[cli::ComuneNasc] = u"Forlì"_qs;
    card[cli::Note] = u"[Ricontattare a maggio]"_qs;
    report::Report r = report::clientCardReport(card, QDateTime::currentDateTime());
    return gui::print(nullptr, r, gui::PrintTarget::Printer) ? 0 : 1;
  }
  if (argc > 3 && qstrcmp(argv[1], "rendiconto") == 0) {
    const QByteArray folder = QByteArray(argv[2]) + '/';
    const int year = std::atoi(argv[3]);
    const rendiconto::Rendiconto form =
        rendiconto::buildRendiconto(folder, year, rendiconto::readSettings(folder), false);
    report::Report r = report::rendicontoReport(rendiconto::formTitle(year), rendiconto::formPrintRows(form));
    return gui::print(nullptr, r, gui::PrintTarget::Printer) ? 0 : 1;
  }
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
