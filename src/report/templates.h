// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The printouts the program ships, filled through their objects' names.
#include <QDateTime>
#include <QStringList>

#include "report/report.h"

namespace fondaro {
struct ClientCard;
struct MovementCard;
}

namespace fondaro::report {

// The list printout ("Riepilogo dati", A4 landscape) that the list windows
// share: `title` in the title bar, each of `lines` as one line of the list in
// a fixed-pitch font, and the printing date in the footer bar.
// The journal prints the same list under its own report name ("Primanota"):
// setName() on the result.
Report listReport(const QString& title, const QStringList& lines);
// The journal's printout ("Primanota"): the list printout's layout under the
// journal's own name.
Report journalReport(const QString& title, const QStringList& lines);
// The same two with lines the caller keeps and makes as the pages are drawn.
Report listReport(const QString& title, std::shared_ptr<const LineSource> lines);
Report journalReport(const QString& title, std::shared_ptr<const LineSource> lines);
// The distance between two lines of the list printout, in report units.
inline constexpr double kListLineHeight = 12.822;

// The totals by category ("Riepilogo per categoria", A4 portrait): `title`
// in the title bar, the note that settled and unsettled movements count
// alike, then the rows of categories::summaryPrintRows as columns (name,
// movements, money in, money out, balance), sub-categories indented.
Report categoriesReport(const QString& title, const QStringList& rows);
// The rendiconto per cassa ("Rendiconto per cassa", A4 portrait, the Mod. D
// layout with the two sides one below the other): `title` under the form's
// heading, then the rows of rendiconto::formPrintRows (headings and totals in
// bold, the columns "Es. Y" and "Es. Y-1", the notes under the form, faults
// in red).
Report rendicontoReport(const QString& title, const QStringList& rows);

// The movement card ("Scheda Movimento", A4 portrait) as designed: twenty
// framed rows with fixed captions and empty values, and the footer bar. Fill the
// values and `txtCalce` by name.
Report movementCardReport();
// That card filled from a movement card (saved or not), printed at `now`.
Report movementCardReport(const MovementCard& card, const QDateTime& now);

// The address-book card ("Scheda informativa", A4 portrait): the logo, the
// title `txtTitolo`, 24 rows of caption `titCampoNN` and value `txtCampoNN`
// (NN from 01), and the footer `txtCalce`, each holding its design text.
Report clientCardReport();
// That card filled from an address-book card (saved or not), printed at `now`.
Report clientCardReport(const ClientCard& card, const QDateTime& now);

}  // namespace fondaro::report
