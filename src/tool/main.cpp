// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool: a command-line companion to Fondaro on the same core, for
// users who script, for recovery, and for tests and benchmarks.
#include <QCoreApplication>
#include <QStringList>

#include "core/filepath.h"
#include "core/heap.h"
#include "core/programfolder.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace {

const char* kUsage =
    "usage: fondaro-tool COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  dump [--kind movimenti|clienti] FILE     every record of an archive as JSON Lines\n"
    "  append [--kind movimenti|clienti] FILE   append records read as JSON Lines on stdin\n"
    "  check [--kind movimenti|clienti] FILE    report damaged fields and bad texts\n"
    "  validate codfisc|piva|carta|iban TEXT    the notice a check window would show\n"
    "  stats FILE --year YYYY                   the figures of the statistics charts\n"
    "  export [--kind ...] FILE [-o OUT]        the spreadsheet document (.xls) of an archive\n"
    "  list FILE [FIELD=TEXT ...]               the search list of an archive\n"
    "  due FILE [--today DD/MM/YYYY]            the due and overdue payments\n"
    "  journal FILE --from D --to D             the journal of a period with its totals\n"
    "  check-codes FILE                         the cards whose codes fail their checks\n"
    "  recall FILE                              the call-back list of an address book\n"
    "  backup FOLDER [--to DIR]                 a safety copy of a folder's archives and attachments\n"
    "  backups FOLDER                           the safety copies of a folder, checked\n"
    "  restore COPY --into FOLDER               put a safety copy back\n"
    "  recurring add|list|stop|run FOLDER ...   the recurring movements of a program folder\n"
    "  import STATEMENT --into FOLDER           a bank statement (CAMT.053, OFX, CSV) into the archives\n"
    "  categories FOLDER --from D --to D        totals by category of a period\n"
    "  rendiconto FOLDER --year YYYY            the rendiconto per cassa (Modello D) of a year\n"
    "  invoices FILE|FOLDER|ZIP... --into FOLDER  electronic invoices (FatturaPA) into the archives\n"
    "\n"
    "The kind of an archive comes from its name (*.eur movements, *.pro clients)\n"
    "unless --kind says. Run \"fondaro-tool COMMAND --help\" for one command,\n"
    "\"fondaro-tool --version\" for the version.";

int dispatch(const QString& cmd, const QStringList& args) {
  using namespace fondaro::tool;
  if (cmd == QLatin1String("--help") || cmd == QLatin1String("-h") || cmd == QLatin1String("help")) {
    out(QString::fromUtf8(kUsage) + u'\n');
    return kExitOk;
  }
  if (cmd == QLatin1String("--version")) {
    out(QString::fromStdString(fondaro::versionText("fondaro-tool")));
    return kExitOk;
  }
  if (cmd == QLatin1String("dump")) return runDump(args);
  if (cmd == QLatin1String("append")) return runAppend(args);
  if (cmd == QLatin1String("check")) return runCheck(args);
  if (cmd == QLatin1String("validate")) return runValidate(args);
  if (cmd == QLatin1String("stats")) return runStats(args);
  if (cmd == QLatin1String("export")) return runExport(args);
  if (cmd == QLatin1String("list")) return runList(args);
  if (cmd == QLatin1String("due")) return runDue(args);
  if (cmd == QLatin1String("journal")) return runJournal(args);
  if (cmd == QLatin1String("check-codes")) return runCheckCodes(args);
  if (cmd == QLatin1String("recall")) return runRecall(args);
  if (cmd == QLatin1String("backup")) return runBackup(args);
  if (cmd == QLatin1String("backups")) return runBackups(args);
  if (cmd == QLatin1String("restore")) return runRestore(args);
  if (cmd == QLatin1String("recurring")) return runRecurring(args);
  if (cmd == QLatin1String("import")) return runImport(args);
  if (cmd == QLatin1String("categories")) return runCategories(args);
  if (cmd == QLatin1String("rendiconto")) return runRendiconto(args);
  if (cmd == QLatin1String("invoices")) return runInvoices(args);
  err(QStringLiteral("unknown command \"%1\"").arg(cmd));
  err(QString::fromUtf8(kUsage));
  return kExitError;
}

}  // namespace

int main(int argc, char** argv) {
  fondaro::keepFreedMemoryForReuse();
  using namespace fondaro::tool;
  QStringList args;
  // File names reach the opens byte for byte, UTF-8 or not (core/filepath.h).
  for (int i = 1; i < argc; ++i) args << fondaro::decodePath(argv[i]);
  if (args.isEmpty()) {
    err(QString::fromUtf8(kUsage));
    return kExitError;
  }
  const QString cmd = args.takeFirst();
  warnOfFailedDayCopies(cmd);
  // Every command's output is checked once more at the end: a full disk or a
  // closed pipe under standard output is an error, not a success.
  return finishOutput(dispatch(cmd, args));
}
