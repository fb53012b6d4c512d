// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool categories and rendiconto: the totals by category of a period
// and the rendiconto per cassa of a year, from the core's summary and form.
#include "core/categories.h"
#include "core/filepath.h"
#include "core/period.h"
#include "core/rendiconto.h"
#include "core/textrules.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"
#include "tool/pdf.h"

namespace fondaro::tool {
namespace {

using namespace fondaro::categories;

const char* kCategoriesUsage =
    "usage: fondaro-tool categories FOLDER --from DD/MM/YYYY --to DD/MM/YYYY [--pdf OUT]\n"
    "Writes the totals by category of the period (both days included) from the\n"
    "archives <yyyy>.eur of FOLDER of every year of the period: one line per\n"
    "category and, after it, one per sub-category (\"Servizi: telefono\"), then\n"
    "\"Totale\"; tab-separated: the name, the number of movements, money in and\n"
    "money out without sign, and the balance with its sign. Names equal without\n"
    "regard to case are one category; the movements without one are\n"
    "\"(senza categoria)\", last. Settled and unsettled movements count alike,\n"
    "as in the journal. A record whose date or amount cannot be read is skipped\n"
    "and named on stderr. --pdf writes the printout to OUT instead. Only reads.\n"
    "Exit 0; 1 when records were skipped; 2 on a usage error or a missing FOLDER.";

const char* kRendicontoUsage =
    "usage: fondaro-tool rendiconto FOLDER --year YYYY [--zero-lines] [--pdf OUT]\n"
    "Writes the rendiconto per cassa (Modello D) of YYYY with YYYY-1 beside it,\n"
    "from the archives of FOLDER and the classification and balances of its\n"
    "Rendiconto.json: one tab-separated line per row of the form, in its order:\n"
    "the code (A.U.1, A.U.T, A.E.1, A.R, G.U, G.E, R1, I1, R2, F.U.1, F.E.T, I2,\n"
    "R3, R4, K, K.C, K.B), the text, the amount of YYYY and of YYYY-1. Only the\n"
    "settled movements count. Numbered lines zero in both years are left out\n"
    "unless --zero-lines. Then \"non classificato\", the year, the count, money in\n"
    "and money out for each year with settled movements not classified.\n"
    "--pdf writes the form to OUT instead. Only reads.\n"
    "Exit 0; 1 when something is not classified or records were skipped;\n"
    "2 on a usage error, a missing FOLDER or a Rendiconto.json that cannot be read.";

std::optional<ParsedArgs> parse(const QStringList& args, std::vector<Option> options, const char* usage) {
  Syntax syntax{.inlineValues = true};
  syntax.options = std::move(options);
  QString why;
  std::optional<ParsedArgs> a = parseOptions(args, syntax, &why);
  if (!a) usageError(why, usage);
  return a;
}

// FOLDER: one, and a folder.
std::optional<QByteArray> folderArg(const ParsedArgs& a, const char* command, const char* usage) {
  if (!oneFile(a.positional, usage)) return std::nullopt;
  const QByteArray folder = encodePath(a.positional.front());
  if (!isFolder(folder)) {
    err(QStringLiteral("fondaro-tool %1: %2 is not a folder").arg(QLatin1String(command), displayPath(folder)));
    return std::nullopt;
  }
  return folder;
}

int reportSkipped(const std::vector<ArchiveSkipped>& skipped) {
  flushOut();
  for (const ArchiveSkipped& s : skipped)
    err(QStringLiteral("%1: record %2: %3").arg(s.archive).arg(s.record.position).arg(s.record.reason));
  return skipped.empty() ? kExitOk : kExitFindings;
}

Option pdfOption() { return {.names = {u"--pdf"_qs}, .empty = u"--pdf needs a file name"_qs}; }

// The printout to OUT, refused where no output of the tool may go.
bool writePdf(const char* command, const QString& pdf, const QByteArray& folder, Printout kind,
              const QString& title, const QStringList& lines) {
  const QString guardInput = decodePath(joinPath(folder, "Rendiconto.json"));
  if (!outputAllowed(command, pdf, guardInput)) return false;
  QString error;
  const PrintoutLines rows{int(lines.size()), [&lines](int i) { return lines[i]; }};
  if (writeListPdf(pdf, kind, title, rows, outputGuard(guardInput), &error)) return true;
  err(QStringLiteral("fondaro-tool %1: cannot write %2: %3").arg(QLatin1String(command), pdf, error));
  return false;
}

}  // namespace

int runCategories(const QStringList& args) {
  if (helpShown(args, kCategoriesUsage)) return kExitOk;
  const auto a = parse(args, {{.names = {u"--from"_qs}}, {.names = {u"--to"_qs}}, pdfOption()}, kCategoriesUsage);
  if (!a) return kExitError;
  for (const QString& name : {u"--from"_qs, u"--to"_qs})
    if (!a->has(name)) return usageError(name + QStringLiteral(" is needed"), kCategoriesUsage);
  const QString fromText = a->value(u"--from"_qs);
  const QString toText = a->value(u"--to"_qs);
  if (const auto problem = period::checkDates(fromText, toText)) {
    if (problem->field == period::Field::Order)
      return usageError(QStringLiteral("--to %1 is earlier than --from %2").arg(toText, fromText), kCategoriesUsage);
    const bool from = problem->field == period::Field::StartDate;
    return usageError(QStringLiteral("%1 \"%2\" is not a date DD/MM/YYYY")
                          .arg(from ? u"--from"_qs : u"--to"_qs, from ? fromText : toText),
                      kCategoriesUsage);
  }
  const auto folder = folderArg(*a, "categories", kCategoriesUsage);
  if (!folder) return kExitError;
  try {
    const CategorySummary s = summarise(*folder, parseDate(fromText), parseDate(toText));
    if (a->has(u"--pdf"_qs)) {
      if (!writePdf("categories", a->value(u"--pdf"_qs), *folder, Printout::Categorie,
                    summaryTitle(parseDate(fromText), parseDate(toText)), summaryPrintRows(s)))
        return kExitError;
    } else {
      out(summaryLines(s).join(u'\n') + u'\n');
    }
    return reportSkipped(s.skipped);
  } catch (const ArchiveError& e) {
    return fail(u"categories"_qs, e);
  }
}

int runRendiconto(const QStringList& args) {
  using namespace fondaro::rendiconto;
  if (helpShown(args, kRendicontoUsage)) return kExitOk;
  const auto a = parse(args, {{.names = {u"--year"_qs}}, {.names = {u"--zero-lines"_qs}, .takesValue = false}, pdfOption()},
                       kRendicontoUsage);
  if (!a) return kExitError;
  if (!a->has(u"--year"_qs)) return usageError(u"--year is needed"_qs, kRendicontoUsage);
  const QString yearText = a->value(u"--year"_qs);
  if (!isYearText(yearText) || yearText.toInt() < 1001)
    return usageError(QStringLiteral("--year \"%1\" is not a year YYYY").arg(yearText), kRendicontoUsage);
  const auto folder = folderArg(*a, "rendiconto", kRendicontoUsage);
  if (!folder) return kExitError;
  const int year = yearText.toInt();
  try {
    const Settings settings = readSettings(*folder);
    const Rendiconto r = buildRendiconto(*folder, year, settings, a->has(u"--zero-lines"_qs));
    if (a->has(u"--pdf"_qs)) {
      if (!writePdf("rendiconto", a->value(u"--pdf"_qs), *folder, Printout::Rendiconto, formTitle(year),
                    formPrintRows(r)))
        return kExitError;
    } else {
      out(formToolLines(r).join(u'\n') + u'\n');
    }
    const int skipped = reportSkipped(r.skipped);
    return r.classifiedWhole() ? skipped : kExitFindings;
  } catch (const ArchiveError& e) {
    return fail(u"rendiconto"_qs, e);
  } catch (const RendicontoError& e) {
    return fail(u"rendiconto"_qs, e);
  }
}

}  // namespace fondaro::tool
