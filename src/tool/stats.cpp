// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include "core/archive.h"
#include "core/monthlytotals.h"
#include "core/textrules.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool stats FILE --year YYYY\n"
    "The figures of the statistics charts of a movement archive, each rounded\n"
    "half up to the whole euro:\n"
    "  entrate  the twelve monthly income totals of YYYY, January first\n"
    "  uscite   the twelve monthly expense totals of YYYY\n"
    "  bilancio the income and expense totals of every record, whatever its date\n"
    "FILE is only read. Exit 0; 2 when FILE cannot be read or an amount is not a number.";

QString line(const char* name, const std::vector<double>& values) {
  QString s = QString::fromLatin1(name);
  for (double v : values) s += u' ' + QString::number(v, 'f', 0);
  return s + u'\n';
}

}  // namespace

int runStats(const QStringList& args) {
  if (helpShown(args, kUsage)) return kExitOk;
  // --year first, then the file arguments of the words left.
  const Syntax syntax{.options = {{.names = {u"--year"_qs}, .missing = u"missing --year YYYY"_qs}},
                      .unknown = Unknown::Kept,
                      .inlineValues = true};
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, syntax, &why);
  if (!p) return usageError(why, kUsage);
  const QString year = p->value(u"--year"_qs);
  if (!isYearText(year)) {
    const QString why = year.isEmpty() ? u"missing --year YYYY"_qs : u"the year must be four digits"_qs;
    return usageError(why, kUsage);
  }
  const QStringList& rest = p->positional;
  return runFileCommand(rest, "stats", kUsage, [&](const FileArgs& fa) {
    if (fa.kind != Kind::Movimenti) {
      err(QStringLiteral("fondaro-tool stats: %1 is not a movement archive").arg(fa.path));
      return kExitError;
    }
    auto archive = MovementArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    // One read gives all three sets; a failure is reported in this order.
    const YearFigures f = yearFigures(archive, year);
    archive.Close();
    for (const ChartFigures* set : {&f.income, &f.expense, &f.annual}) {
      if (set->stopped()) {
        err(QStringLiteral("fondaro-tool stats: record %1: Importo is not a number: \"%2\"")
                .arg(set->badAmountPosition)
                .arg(set->badAmountText));
        return kExitError;
      }
    }
    out(line("entrate", f.income.values) + line("uscite", f.expense.values) + line("bilancio", f.annual.values));
    flushOut();
    return kExitOk;
  });
}

}  // namespace fondaro::tool
