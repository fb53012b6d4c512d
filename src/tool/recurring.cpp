// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool recurring: the schedules of recurring movements of a program
// folder, and their generation, on the same core as the program.
#include <QDate>
#include <limits>

#include "core/archive.h"
#include "core/filepath.h"
#include "core/recurring.h"
#include "core/textrules.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool recurring add FOLDER --year YYYY --pos N --every 1m|2m|3m|6m|12m|Nw\n"
    "                                  --from DD/MM/YYYY [--until DD/MM/YYYY | --times N]\n"
    "       fondaro-tool recurring list FOLDER\n"
    "       fondaro-tool recurring stop FOLDER NUMBER\n"
    "       fondaro-tool recurring run FOLDER [--today DD/MM/YYYY] [--dry-run]\n"
    "The recurring movements of the program folder FOLDER (Ricorrenti.json).\n"
    "add: a schedule whose movement is a copy of the record at position N of\n"
    "  YYYY.eur, repeated every 1, 2, 3, 6 or 12 months or every N weeks (1-52)\n"
    "  from the date --from, for ever, until a date (included) or N times;\n"
    "  prints the schedule's number.\n"
    "list: one schedule a line, tab-separated: number, causale, Totale as stored,\n"
    "  repetition, next date (\"-\" when none), end (\"mai\", \"al DD/MM/YYYY\",\n"
    "  \"N volte\"), \"attivo\" or \"sospeso\".\n"
    "stop: the schedule stays listed as \"sospeso\" and generates nothing more.\n"
    "run: adds every occurrence whose date minus its notice days is not later\n"
    "  than today (or --today) to the archive of its date's year, and prints one\n"
    "  line per movement added: archive, position, date, causale. --dry-run\n"
    "  prints what would be added and writes nothing.\n"
    "Exit 0; 2 on a usage error or when a file cannot be read or written (add\n"
    "and stop then write nothing).";

int usageError(const QString& why) {
  return tool::usageError(QStringLiteral("fondaro-tool recurring: ") + why, kUsage);
}

// "--name VALUE" of the names given, and --dry-run, anywhere; any other word
// beginning with "--" is refused, "--name=VALUE" too.
std::optional<ParsedArgs> splitArgs(const QStringList& args, const QStringList& valued, QString* why) {
  Syntax syntax{.options = {{.names = {u"--dry-run"_qs}, .takesValue = false}}};
  for (const QString& name : valued) syntax.options.push_back({.names = {name}});
  return parseOptions(args, syntax, why);
}

bool dryRun(const ParsedArgs& a) { return a.has(u"--dry-run"_qs); }

std::optional<QDate> dateArg(const ParsedArgs& a, const QString& name, QString* why) {
  const QString text = a.value(name);
  const QDate d = parseDate(text);
  if (!d.isValid()) *why = QStringLiteral("%1 \"%2\" is not a date DD/MM/YYYY").arg(name, text);
  return d.isValid() ? std::optional<QDate>(d) : std::nullopt;
}

std::optional<qint64> numberArg(const QString& text, qint64 max) {
  const std::optional<qint64> n = digitsValue(text, max);
  if (!n || *n < 1 || *n > max) return std::nullopt;
  return n;
}

QByteArray folderOf(const QString& folder) { return encodePath(folder); }

// A mistyped folder is said, not taken for one without schedules: a scheduled
// run would otherwise add nothing for ever without a word.
bool refusedFolder(const QByteArray& folder) {
  if (isFolder(folder)) return false;
  err(QStringLiteral("fondaro-tool recurring: %1 is not a folder").arg(displayPath(folder)));
  return true;
}

int failed(const UserError& e) { return fail(u"recurring"_qs, e); }

int addCommand(const QStringList& args) {
  QString why;
  const auto a = splitArgs(args, {u"--year"_qs, u"--pos"_qs, u"--every"_qs, u"--from"_qs, u"--until"_qs, u"--times"_qs},
                           &why);
  if (!a) return usageError(why);
  if (a->positional.size() != 1) return usageError(u"add takes one FOLDER"_qs);
  if (dryRun(*a)) return usageError(u"--dry-run is for run"_qs);
  for (const char* o : {"--year", "--pos", "--every", "--from"})
    if (!a->has(QLatin1String(o))) return usageError(QStringLiteral("add needs %1").arg(QLatin1String(o)));
  const QString year = a->value(u"--year"_qs);
  if (!isYearText(year)) return usageError(QStringLiteral("--year \"%1\" is not a year YYYY").arg(year));
  const std::optional<qint64> pos = numberArg(a->value(u"--pos"_qs), std::numeric_limits<qint64>::max() / 2);
  if (!pos) return usageError(QStringLiteral("--pos \"%1\" is not a position").arg(a->value(u"--pos"_qs)));
  const std::optional<Repetition> every = Repetition::parse(a->value(u"--every"_qs));
  if (!every)
    return usageError(QStringLiteral("--every \"%1\" is not 1m, 2m, 3m, 6m, 12m or Nw (N from 1 to 52)")
                          .arg(a->value(u"--every"_qs)));
  const std::optional<QDate> from = dateArg(*a, u"--from"_qs, &why);
  if (!from) return usageError(why);
  Schedule s;
  s.repetition = *every;
  s.first = *from;
  if (a->has(u"--until"_qs) && a->has(u"--times"_qs))
    return usageError(u"give --until or --times, not both"_qs);
  if (a->has(u"--until"_qs)) {
    const std::optional<QDate> until = dateArg(*a, u"--until"_qs, &why);
    if (!until) return usageError(why);
    s.end = {ScheduleEnd::Kind::Until, *until, 0};
  }
  if (a->has(u"--times"_qs)) {
    const std::optional<qint64> times = numberArg(a->value(u"--times"_qs), 9999);
    if (!times) return usageError(QStringLiteral("--times \"%1\" is not a number from 1 to 9999")
                                      .arg(a->value(u"--times"_qs)));
    s.end = {ScheduleEnd::Kind::Times, {}, int(*times)};
  }
  const QByteArray folder = folderOf(a->positional[0]);
  try {
    MovementArchive archive =
        MovementArchive::OpenExisting(movementArchivePath(folder, year), RecordFile::Access::ReadOnly);
    if (*pos > archive.Count()) {
      err(QStringLiteral("fondaro-tool recurring: %1.eur has no record at position %2 (it holds %3)")
              .arg(year)
              .arg(*pos)
              .arg(archive.Count()));
      return kExitError;
    }
    s.movement = archive.ReadAt(*pos);
    archive.Close();
    if (const auto problem = scheduleProblem(s)) {
      err(QStringLiteral("fondaro-tool recurring: ") + *problem);
      return kExitError;
    }
    out(QString::number(addSchedule(folder, s)) + u'\n');
    return kExitOk;
  } catch (const ArchiveError& e) {
    return failed(e);
  } catch (const RecurringError& e) {
    return failed(e);
  }
}

int listCommand(const QStringList& args) {
  QString why;
  const auto a = splitArgs(args, {}, &why);
  if (!a) return usageError(why);
  if (a->positional.size() != 1 || dryRun(*a)) return usageError(u"list takes one FOLDER"_qs);
  if (refusedFolder(folderOf(a->positional[0]))) return kExitError;
  try {
    QString text;
    for (const Schedule& s : readSchedules(folderOf(a->positional[0]))) {
      const std::optional<QDate> next = s.next();
      text += QStringList{QString::number(s.number), s.movement.Causale.trimmed(), s.movement.Totale.trimmed(),
                          s.repetition.code(), next ? formatDate(*next) : u"-"_qs, s.end.italian(),
                          s.stopped ? u"sospeso"_qs : u"attivo"_qs}
                  .join(u'\t') +
              u'\n';
    }
    out(text);
    return kExitOk;
  } catch (const RecurringError& e) {
    return failed(e);
  }
}

int stopCommand(const QStringList& args) {
  QString why;
  const auto a = splitArgs(args, {}, &why);
  if (!a) return usageError(why);
  if (a->positional.size() != 2 || dryRun(*a)) return usageError(u"stop takes FOLDER NUMBER"_qs);
  const std::optional<qint64> number = numberArg(a->positional[1], std::numeric_limits<int>::max());
  if (!number) return usageError(QStringLiteral("\"%1\" is not a schedule number").arg(a->positional[1]));
  try {
    stopSchedule(folderOf(a->positional[0]), int(*number));
    return kExitOk;
  } catch (const ArchiveError& e) {
    return failed(e);
  } catch (const RecurringError& e) {
    return failed(e);
  }
}

int runCommand(const QStringList& args) {
  QString why;
  const auto a = splitArgs(args, {u"--today"_qs}, &why);
  if (!a) return usageError(why);
  if (a->positional.size() != 1) return usageError(u"run takes one FOLDER"_qs);
  if (refusedFolder(folderOf(a->positional[0]))) return kExitError;
  QDate today = QDate::currentDate();
  if (a->has(u"--today"_qs)) {
    const std::optional<QDate> d = dateArg(*a, u"--today"_qs, &why);
    if (!d) return usageError(why);
    today = *d;
  }
  std::vector<GeneratedMovement> added;
  const auto print = [&] {
    QString text;
    for (const GeneratedMovement& g : added)
      text += QStringLiteral("%1.eur %2 %3 %4\n").arg(g.yearText).arg(g.position).arg(formatDate(g.date), g.causale);
    out(text);
  };
  GenerateOptions options;
  options.dryRun = dryRun(*a);
  // After a failure the movements already added are printed before it.
  try {
    generateRecurring(folderOf(a->positional[0]), today, added, options);
  } catch (const ArchiveError& e) {
    print();
    return failed(e);
  } catch (const RecurringError& e) {
    print();
    return failed(e);
  }
  print();
  return kExitOk;
}

}  // namespace

int runRecurring(const QStringList& args) {
  if (args.isEmpty()) return usageError(u"a subcommand is needed"_qs);
  if (helpShown(args, kUsage)) return kExitOk;
  const QString sub = args.first();
  const QStringList rest = args.mid(1);
  if (sub == QLatin1String("add")) return addCommand(rest);
  if (sub == QLatin1String("list")) return listCommand(rest);
  if (sub == QLatin1String("stop")) return stopCommand(rest);
  if (sub == QLatin1String("run")) return runCommand(rest);
  return usageError(QStringLiteral("unknown subcommand \"%1\"").arg(sub));
}

}  // namespace fondaro::tool
