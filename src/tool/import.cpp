// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool import: a bank statement into the yearly movement archives of a
// folder, through the same core import as the window "Importa estratto conto".
#include <QFileInfo>

#include "core/bankimport.h"
#include "core/filepath.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/importreport.h"
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool import STATEMENT --into FOLDER [--format camt|ofx|csv]\n"
    "                           [--columns COLUMNS] [--match] [--dry-run]\n"
    "Reads the whole bank statement (CAMT.053, OFX 1 or 2, or the CSV file of an\n"
    "Italian home banking; the format is told by the content unless --format\n"
    "says) and appends each booked euro entry as a settled movement to the\n"
    "archive <yyyy>.eur of its booking year in FOLDER, unless that archive\n"
    "already holds it (same Data and Totale, and the same Ricevuta when the\n"
    "entry has a bank reference, else the same Causale; counted by occurrence).\n"
    "Prints \"<yyyy>.eur: N added, M already present\" for each archive concerned,\n"
    "in year order, and \"entry K: REASON\" on stderr for each entry skipped (not\n"
    "booked, not in euro, zero, a fraction of a cent).\n"
    "--columns maps a CSV file whose header is not recognised (1-based; its first\n"
    "line is then the header): data=N,importo=N or data=N,uscite=N,entrate=N,\n"
    "optionally with descrizione=N,controparte=N,riferimento=N.\n"
    "--match settles the unpaid movements the statement pays: an entry that is\n"
    "new and pays a movement of its year's archive or the year before's (Saldato\n"
    "not \"S\xC3\xAC\", no Ricevuta, the same direction and Importo, DataSca from 60 days\n"
    "before to 30 days after the booking date; one to one, the counterparty\n"
    "agreeing first, then the nearest due date) is not appended: the movement is\n"
    "marked paid in place. Each is printed as \"entry K: <yyyy>.eur P paid\", in\n"
    "entry order, and the archives' lines become \"<yyyy>.eur: N added, M already\n"
    "present, S paid\".\n"
    "--dry-run prints the same and writes nothing.\n"
    "Exit 0; 1 when some entries were skipped; 2 when the statement cannot be\n"
    "read, parsed or mapped, or FOLDER is missing (nothing is written then), or\n"
    "when writing fails: an archive that fails does not stop the other years;\n"
    "each year's line tells what is in its archive, then each failure is told\n"
    "with the number of movements of that archive written before it.";

struct ImportArgs {
  QString statement;
  QString folder;
  std::optional<StatementFormat> format;
  std::optional<CsvColumns> columns;
  bool dryRun = false;
  bool match = false;
};

std::optional<StatementFormat> formatNamed(const QString& name) {
  if (name == u"camt") return StatementFormat::Camt;
  if (name == u"ofx") return StatementFormat::Ofx;
  if (name == u"csv") return StatementFormat::Csv;
  return std::nullopt;
}

// The options anywhere, as "--name VALUE" only; each value is checked as it is
// met, and so is a second statement, so that the first mistake is told.
Syntax importSyntax() {
  const auto knownFormat = [](const QString& v) -> std::optional<QString> {
    if (formatNamed(v)) return std::nullopt;
    return QStringLiteral("unknown format \"%1\" (camt, ofx or csv)").arg(v);
  };
  const auto goodColumns = [](const QString& v) -> std::optional<QString> {
    QString why;
    if (parseColumnsOption(v, &why)) return std::nullopt;
    return QStringLiteral("--columns: ") + why;
  };
  return {.options = {{.names = {u"--dry-run"_qs}, .takesValue = false},
                      {.names = {u"--match"_qs}, .takesValue = false},
                      {.names = {u"--into"_qs}, .missing = u"--into needs a folder"_qs},
                      {.names = {u"--format"_qs},
                       .missing = u"--format needs camt, ofx or csv"_qs,
                       .check = knownFormat},
                      {.names = {u"--columns"_qs}, .missing = u"--columns needs a mapping"_qs, .check = goodColumns}},
          .maxPositionals = 1,
          .tooMany = u"more than one statement given"_qs};
}

std::optional<ImportArgs> parseArgs(const QStringList& args) {
  const auto refused = [](const QString& why) -> std::optional<ImportArgs> {
    usageError(QStringLiteral("fondaro-tool import: ") + why, kUsage);
    return std::nullopt;
  };
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, importSyntax(), &why);
  if (!p) return refused(why);
  ImportArgs ia;
  ia.statement = p->positional.value(0);
  ia.folder = p->value(u"--into"_qs);
  ia.dryRun = p->has(u"--dry-run"_qs);
  ia.match = p->has(u"--match"_qs);
  if (p->has(u"--format"_qs)) ia.format = formatNamed(p->value(u"--format"_qs));
  if (p->has(u"--columns"_qs)) ia.columns = parseColumnsOption(p->value(u"--columns"_qs), &why);
  if (ia.statement.isEmpty()) return refused(QStringLiteral("no statement given"));
  if (ia.folder.isEmpty()) return refused(QStringLiteral("no folder given (--into FOLDER)"));
  if (ia.columns && ia.format && *ia.format != StatementFormat::Csv) {
    return refused(QStringLiteral("--columns is for CSV statements"));
  }
  if (ia.columns) ia.format = StatementFormat::Csv;
  return ia;
}

QString settledLines(const std::vector<SettledEntry>& settled) {
  QString text;
  for (const SettledEntry& s : settled)
    text += QStringLiteral("entry %1: %2.eur %3 paid\n").arg(s.number).arg(archiveYearText(s.year)).arg(s.position);
  return text;
}

// Every year's line, a failing year's too when its counts are known (what is
// whole in its archive), then the error of each failing archive.
void reportWriteFailure(const ImportWriteError& e, bool match) {
  out(yearCountLines(knownYearCounts(e.result().years, e.failures()), match));
  flushOut();
  reportYearFailures(u"import"_qs, e.result().years, e.failures());
}

}  // namespace

int runImport(const QStringList& args) {
  if (helpShown(args, kUsage)) return kExitOk;
  const auto ia = parseArgs(args);
  if (!ia) return kExitError;
  const QByteArray folder = encodePath(ia->folder);
  if (!isFolder(folder)) {
    err(QStringLiteral("fondaro-tool import: %1 is not a folder").arg(displayPath(folder)));
    return kExitError;
  }
  const QByteArray statementPath = encodePath(ia->statement);
  const QString name = QFileInfo(ia->statement).fileName();
  Statement st;
  try {
    st = readStatementFile(statementPath, {ia->format, ia->columns});
  } catch (const StatementError& e) {
    err(QStringLiteral("fondaro-tool import: %1: %2").arg(displayPath(statementPath), e.describe()));
    return kExitError;
  }
  std::vector<YearCount> years;
  std::vector<SettledEntry> settled;
  try {
    if (ia->dryRun && ia->match) {
      const ImportPlan plan = planMatchedImport(st, folder, name);
      years = plan.years;
      settled = settledEntries(plan);
    } else if (ia->dryRun) {
      years = planImport(st, folder, name).years;
    } else if (ia->match) {
      years = importMatched(st, folder, name, {}, {}, settled).years;
    } else {
      years = importStatement(st, folder, name).years;
    }
  } catch (const ImportWriteError& e) {
    out(settledLines(settled));
    reportWriteFailure(e, ia->match);
    return kExitError;
  } catch (const ArchiveError& e) {
    return fail(u"import"_qs, e);
  }
  out(settledLines(settled) + yearCountLines(years, ia->match));
  bool skipped = false;
  for (size_t i = 0; i < st.entries.size(); ++i) {
    if (st.entries[i].importable()) continue;
    skipped = true;
    err(QStringLiteral("entry %1: %2").arg(i + 1).arg(skipReasonEnglish(st.entries[i])));
  }
  return skipped ? kExitFindings : kExitOk;
}

}  // namespace fondaro::tool
