// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of fondaro-tool. Each takes the arguments after its own name and
// returns the process exit code.
#include <QStringList>

namespace fondaro::tool {

int runDump(const QStringList& args);
int runAppend(const QStringList& args);
int runCheck(const QStringList& args);
// fondaro-tool validate codfisc|piva|carta|iban TEXT
int runValidate(const QStringList& args);
// fondaro-tool stats FILE --year YYYY
int runStats(const QStringList& args);
int runExport(const QStringList& args);  // export FILE [-o OUT]
// fondaro-tool list / due / journal: the list windows' lines
int runList(const QStringList& args);
int runDue(const QStringList& args);
int runJournal(const QStringList& args);
// fondaro-tool check-codes FILE
int runCheckCodes(const QStringList& args);
// fondaro-tool recall FILE: the call-back list
int runRecall(const QStringList& args);
// fondaro-tool backup FOLDER [--to DIR] / backups FOLDER / restore COPY --into FOLDER
int runBackup(const QStringList& args);
int runBackups(const QStringList& args);
int runRestore(const QStringList& args);
// fondaro-tool recurring add|list|stop|run FOLDER ...: recurring movements
int runRecurring(const QStringList& args);
// fondaro-tool import STATEMENT --into FOLDER [...]: a bank statement into the yearly archives
int runImport(const QStringList& args);
// fondaro-tool invoices FILE|FOLDER|ZIP... --into FOLDER [...]: electronic invoices into the archives
int runInvoices(const QStringList& args);

// fondaro-tool categories FOLDER --from D --to D: totals by category of a period
int runCategories(const QStringList& args);
// fondaro-tool rendiconto FOLDER --year YYYY: the rendiconto per cassa (Modello D)
int runRendiconto(const QStringList& args);

}  // namespace fondaro::tool
