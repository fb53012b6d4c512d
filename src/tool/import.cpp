// fondaro-tool import: a bank statement into the yearly movement archives of a
// folder, through the same core import as the window "Importa estratto conto".
#include <QFileInfo>
#include <algorithm>

#include "core/bankimport.h"
#include "core/filepath.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool import STATEMENT --into FOLDER [--format camt|ofx|csv]\n"
    "                           [--columns COLUMNS] [--dry-run]\n"
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
};

std::optional<ImportArgs> parseArgs(const QStringList& args) {
  ImportArgs ia;
  const auto usageError = [](const QString& why) -> std::optional<ImportArgs> {
    err(QStringLiteral("fondaro-tool import: ") + why);
    err(QString::fromUtf8(kUsage));
    return std::nullopt;
  };
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    const auto value = [&](QString* v) {
      if (i + 1 >= args.size()) return false;
      *v = args[++i];
      return true;
    };
    QString v;
    if (a == u"--dry-run") {
      ia.dryRun = true;
    } else if (a == u"--into") {
      if (!value(&ia.folder)) return usageError(QStringLiteral("--into needs a folder"));
    } else if (a == u"--format") {
      if (!value(&v)) return usageError(QStringLiteral("--format needs camt, ofx or csv"));
      if (v == u"camt") ia.format = StatementFormat::Camt;
      else if (v == u"ofx") ia.format = StatementFormat::Ofx;
      else if (v == u"csv") ia.format = StatementFormat::Csv;
      else return usageError(QStringLiteral("unknown format \"%1\" (camt, ofx or csv)").arg(v));
    } else if (a == u"--columns") {
      if (!value(&v)) return usageError(QStringLiteral("--columns needs a mapping"));
      QString why;
      ia.columns = parseColumnsOption(v, &why);
      if (!ia.columns) return usageError(QStringLiteral("--columns: ") + why);
    } else if (a.startsWith(u"--")) {
      return usageError(QStringLiteral("unknown option %1").arg(a));
    } else if (ia.statement.isEmpty()) {
      ia.statement = a;
    } else {
      return usageError(QStringLiteral("more than one statement given"));
    }
  }
  if (ia.statement.isEmpty()) return usageError(QStringLiteral("no statement given"));
  if (ia.folder.isEmpty()) return usageError(QStringLiteral("no folder given (--into FOLDER)"));
  if (ia.columns && ia.format && *ia.format != StatementFormat::Csv) {
    return usageError(QStringLiteral("--columns is for CSV statements"));
  }
  if (ia.columns) ia.format = StatementFormat::Csv;
  return ia;
}

QString yearLines(const std::vector<YearCount>& years) {
  QString text;
  for (const YearCount& y : years) {
    text += QStringLiteral("%1.eur: %2 added, %3 already present\n")
                .arg(y.year, 4, 10, QLatin1Char('0'))
                .arg(y.added)
                .arg(y.present);
  }
  return text;
}

// Every year's line, a failing year's too when its counts are known (what is
// whole in its archive), then the error of each failing archive.
void reportWriteFailure(const ImportWriteError& e) {
  std::vector<YearCount> known;
  for (const YearCount& y : e.result().years) {
    const auto failure = std::find_if(e.failures().begin(), e.failures().end(),
                                      [&](const auto& f) { return f.year == y.year; });
    if (failure == e.failures().end() || failure->checked) known.push_back(y);
  }
  out(yearLines(known));
  flushOut();
  for (const auto& f : e.failures()) {
    qint64 written = 0;
    for (const YearCount& y : e.result().years) written += y.year == f.year ? y.added : 0;
    err(QStringLiteral("fondaro-tool import: %1 (%2 movements of %3.eur written before the failure)")
            .arg(f.error.describe())
            .arg(written)
            .arg(f.year, 4, 10, QLatin1Char('0')));
  }
}

}  // namespace

int runImport(const QStringList& args) {
  if (wantsHelp(args)) {
    out(QString::fromUtf8(kUsage) + u'\n');
    return kExitOk;
  }
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
  try {
    if (ia->dryRun) {
      years = planImport(st, folder, name).years;
    } else {
      years = importStatement(st, folder, name).years;
    }
  } catch (const ImportWriteError& e) {
    reportWriteFailure(e);
    return kExitError;
  } catch (const ArchiveError& e) {
    flushOut();
    err(QStringLiteral("fondaro-tool import: ") + e.describe());
    return kExitError;
  }
  out(yearLines(years));
  bool skipped = false;
  for (size_t i = 0; i < st.entries.size(); ++i) {
    if (st.entries[i].importable()) continue;
    skipped = true;
    err(QStringLiteral("entry %1: %2").arg(i + 1).arg(skipReasonEnglish(st.entries[i])));
  }
  return skipped ? kExitFindings : kExitOk;
}

}  // namespace fondaro::tool
