// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool invoices: electronic invoices (FatturaPA) into the yearly
// movement archives, the address book and the attachments of a program
// folder, through the same core import as the window "Importa fatture
// elettroniche".
#include <algorithm>

#include "core/filepath.h"
#include "core/invoicefiles.h"
#include "core/invoiceimport.h"
#include "core/replacefile.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/importreport.h"
#include "tool/options.h"
#include "tool/pdf.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool invoices FILE|FOLDER|ZIP... --into FOLDER [--own ID]...\n"
    "                             [--notice N] [--dry-run]\n"
    "Reads every electronic invoice given (FatturaPA .xml, signed .p7m in DER or\n"
    "Base64, the .xml and .p7m files inside a .zip, the .xml, .p7m and .zip files\n"
    "of a folder), then appends each instalment as an unpaid movement with its\n"
    "due date to the archive <yyyy>.eur of the document's year in FOLDER, unless\n"
    "it is already there (same Data, Totale and Causale); the counterparty becomes\n"
    "a card of Clienti.pro when it is not there, and the invoice file, its\n"
    "readable copy (PDF) and its first embedded attachment become the movement's\n"
    "attachments. A body is received (money out) when its buyer is the company,\n"
    "issued (money in) when its seller is: the company's VAT numbers or tax codes\n"
    "are given by --own (repeatable), else read from FOLDER's settings\n"
    "(FattureElettroniche.ini, set by the window). --notice sets the days of\n"
    "notice of the due list (default 5).\n"
    "Prints \"<yyyy>.eur: N added, M already present\" for each archive concerned,\n"
    "in year order, then \"Clienti.pro: K added\" when cards were added; on stderr\n"
    "\"file F: REASON\" for a file skipped, \"file F, body B: REASON\" for a body\n"
    "skipped and \"file F, body B: avviso: WARNING\" for a warning (F counts the\n"
    "invoice files from 1 in reading order, the entries of a zip included).\n"
    "--dry-run prints the same and writes nothing.\n"
    "Exit 0; 1 when a file or a body was skipped; 2 for a usage error, a missing\n"
    "FOLDER or no company identifier (nothing written), or when writing fails\n"
    "(told with what was written).";

struct InvoiceArgs {
  QStringList inputs;
  QString folder;
  QStringList own;
  bool ownGiven = false;
  int notice = kDefaultInvoiceNotice;
  bool dryRun = false;
};

std::optional<int> noticeDays(const QString& v) {
  bool ok = false;
  const int n = v.toInt(&ok);
  if (!ok || n < 0 || n > 999 || v.trimmed() != v) return std::nullopt;
  return n;
}

Syntax invoicesSyntax() {
  const auto goodNotice = [](const QString& v) -> std::optional<QString> {
    if (noticeDays(v)) return std::nullopt;
    return QStringLiteral("--notice needs a number of days from 0 to 999, not \"%1\"").arg(v);
  };
  return {.options = {{.names = {u"--dry-run"_qs}, .takesValue = false},
                      {.names = {u"--into"_qs}, .missing = u"--into needs a folder"_qs},
                      {.names = {u"--own"_qs},
                       .missing = u"--own needs a VAT number or a tax code"_qs,
                       .empty = u"--own needs a VAT number or a tax code"_qs},
                      {.names = {u"--notice"_qs}, .missing = u"--notice needs a number of days"_qs, .check = goodNotice}}};
}

std::optional<InvoiceArgs> parseArgs(const QStringList& args) {
  const auto refused = [](const QString& why) -> std::optional<InvoiceArgs> {
    usageError(QStringLiteral("fondaro-tool invoices: ") + why, kUsage);
    return std::nullopt;
  };
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, invoicesSyntax(), &why);
  if (!p) return refused(why);
  InvoiceArgs ia;
  ia.inputs = p->positional;
  ia.folder = p->value(u"--into"_qs);
  ia.own = p->valuesOf(u"--own"_qs);
  ia.ownGiven = p->has(u"--own"_qs);
  ia.dryRun = p->has(u"--dry-run"_qs);
  if (p->has(u"--notice"_qs)) ia.notice = *noticeDays(p->value(u"--notice"_qs));
  if (ia.inputs.isEmpty()) return refused(QStringLiteral("no invoice file, folder or zip given"));
  if (ia.folder.isEmpty()) return refused(QStringLiteral("no folder given (--into FOLDER)"));
  return ia;
}

void printCounts(const std::vector<YearCount>& years, qint64 cards) {
  QString text = yearCountLines(years);
  if (cards > 0) text += QStringLiteral("Clienti.pro: %1 added\n").arg(cards);
  out(text);
  flushOut();
}

// The files and bodies skipped, and the warnings, on stderr; whether
// something was skipped.
bool reportSkips(const InvoicePlan& plan) {
  bool skipped = false;
  for (const PlannedFile& f : plan.files) {
    if (f.silent()) continue;
    if (f.skipped()) {
      skipped = true;
      err(QStringLiteral("file %1: %2").arg(f.read.number).arg(f.skipReason));
      continue;
    }
    for (const PlannedBody& b : f.bodies) {
      const QString where = QStringLiteral("file %1, body %2: ").arg(f.read.number).arg(b.index);
      if (b.skipped()) {
        skipped = true;
        err(where + b.skipReason);
      }
      for (const QString& w : b.warnings) err(where + QStringLiteral("avviso: ") + w);
    }
  }
  return skipped;
}

// What was written, then what failed.
void reportWriteFailure(const InvoiceWriteError& e) {
  printCounts(knownYearCounts(e.result().years, e.yearFailures()), e.result().cardsAdded);
  if (e.yearFailures().empty()) {
    err(QStringLiteral("fondaro-tool invoices: %1 (%2 attachments stored, %3 cards added before the failure)")
            .arg(e.english())
            .arg(e.result().attachmentsStored)
            .arg(e.result().cardsAdded));
    return;
  }
  reportYearFailures(u"invoices"_qs, e.result().years, e.yearFailures());
}

}  // namespace

int runInvoices(const QStringList& args) {
  if (helpShown(args, kUsage)) return kExitOk;
  const auto ia = parseArgs(args);
  if (!ia) return kExitError;
  const QByteArray folder = encodePath(ia->folder);
  if (!isFolder(folder)) {
    err(QStringLiteral("fondaro-tool invoices: %1 is not a folder").arg(displayPath(folder)));
    return kExitError;
  }
  InvoicePlanOptions options;
  options.ownIds = ia->ownGiven ? ia->own : readInvoiceSettings(folder).ownIds;
  options.notice = ia->notice;
  if (std::none_of(options.ownIds.begin(), options.ownIds.end(),
                   [](const QString& id) { return !normalisedOwnId(id).isEmpty(); })) {
    err(QStringLiteral("fondaro-tool invoices: no company identifier: give --own ID (a VAT number or a tax code) "
                       "or set it in the window \"Importa fatture elettroniche\""));
    return kExitError;
  }
  // The readable copy comes from the PDF module; when it cannot be made the
  // movements go without it, and that is told once.
  bool copyFailureTold = false;
  const ReadableCopyMaker makeCopy = [&](const InvoiceFileRead& file) {
    QString why;
    QByteArray pdf = invoiceCopyPdf(file, &why);
    if (pdf.isEmpty() && !copyFailureTold) {
      copyFailureTold = true;
      err(QStringLiteral("fondaro-tool invoices: the readable copies are not made: %1").arg(why));
    }
    return pdf;
  };
  if (!ia->dryRun) options.makeReadableCopy = makeCopy;
  InvoicePlan plan;
  try {
    plan = planInvoiceImport(readInvoiceInputs(ia->inputs), folder, options);
  } catch (const ArchiveError& e) {
    return fail(u"invoices"_qs, e);
  }
  if (ia->dryRun) {
    printCounts(plan.years, qint64(plan.cards.size()));
    return reportSkips(plan) ? kExitFindings : kExitOk;
  }
  try {
    const InvoiceImportResult done = importInvoices(plan, folder, makeCopy);
    printCounts(done.years, done.cardsAdded);
  } catch (const InvoiceWriteError& e) {
    reportWriteFailure(e);
    reportSkips(plan);
    return kExitError;
  }
  return reportSkips(plan) ? kExitFindings : kExitOk;
}

}  // namespace fondaro::tool
