#pragma once
// The list windows' printout written as a PDF file without a display.
#include <QString>
#include <QStringList>

namespace fondaro::tool {

// Writes the list report `reportName` ("Riepilogo dati", "Primanota") with its
// title and lines to `path` (a temporary file, then renamed). On failure
// returns false with the reason in `error`.
bool writeListPdf(const QString& path, const QString& reportName, const QString& title,
                  const QStringList& lines, QString* error);

}  // namespace fondaro::tool
