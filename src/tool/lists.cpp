// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool list, due and journal: the lines the list windows show, from
// the same core functions, printed as UTF-8 text or as the windows' printout.
#include <QDate>
#include <QStringEncoder>

#include "core/cp1252.h"
#include "core/journal.h"
#include "core/linebytes.h"
#include "core/lists.h"
#include "core/period.h"
#include "core/textrules.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"
#include "tool/pdf.h"

namespace fondaro::tool {
namespace {

const char* kListUsage =
    "usage: fondaro-tool list [--kind movimenti|clienti] FILE [FIELD=TEXT ...] [--pdf OUT]\n"
    "Writes the search list of FILE: the list line of every record that the\n"
    "filters match, sorted as the search window sorts them, one a line (UTF-8,\n"
    "trailing blanks kept). FIELD is a field name as dump prints it, TEXT the\n"
    "filter as typed: it must occur in the field (blanks kept, only A-Z\n"
    "lower-cased); a TEXT of blanks only is no filter. --pdf writes the\n"
    "window's printout of the list to OUT instead. FILE is only read.\n"
    "Exit 0; 2 on a usage error or when FILE cannot be read.";

const char* kDueUsage =
    "usage: fondaro-tool due FILE [--today DD/MM/YYYY] [--pdf OUT]\n"
    "Writes the due list of the movement archive FILE: the unpaid movements\n"
    "whose due date minus the notice days is not later than today (or --today),\n"
    "sorted as the window sorts them. A record whose due date is not a date or\n"
    "whose notice is not a whole number is skipped and named on stderr.\n"
    "--pdf writes the window's printout to OUT instead. FILE is only read.\n"
    "Exit 0; 1 when records were skipped; 2 on a usage error or when FILE\n"
    "cannot be read.";

const char* kJournalUsage =
    "usage: fondaro-tool journal FILE --from DD/MM/YYYY --to DD/MM/YYYY [--causale TEXT] [--pdf OUT]\n"
    "Writes the journal of the period (both days included) as its printout\n"
    "holds it: the movements in archive order, the separator line, then the\n"
    "interval, total income, total expense and balance. --causale keeps the\n"
    "movements whose reason holds TEXT (blanks kept, only A-Z lower-cased).\n"
    "A record whose date or amount cannot be read is skipped and named on\n"
    "stderr. --pdf writes the printout to OUT instead. FILE is only read.\n"
    "Exit 0; 1 when records were skipped; 2 on a usage error or when FILE\n"
    "cannot be read.";

const QString kListTitle = QStringLiteral("Riepilogo movimenti in archivio");
const QString kDueTitle = QStringLiteral("Riepilogo pagamenti in scadenza o scaduti e non saldati");

// "--name VALUE" or "--name=VALUE", anywhere; any other word beginning with
// "--", "--" alone included, is refused. --pdf needs a file name.
std::optional<ParsedArgs> splitArgs(const QStringList& args, const QStringList& valued, const char* usage) {
  Syntax syntax{.inlineValues = true};
  for (const QString& name : valued)
    syntax.options.push_back({.names = {name}, .empty = name == u"--pdf" ? u"--pdf needs a file name"_qs : QString()});
  QString why;
  std::optional<ParsedArgs> a = parseOptions(args, syntax, &why);
  if (!a) usageError(why, usage);
  return a;
}

// The file arguments as the other commands take them.
QStringList fileArgs(const ParsedArgs& a, const QString& file) {
  QStringList out;
  if (a.has(u"--kind"_qs)) out << QStringLiteral("--kind") << a.value(u"--kind"_qs);
  out << file;
  return out;
}

std::optional<QDate> dateOption(const ParsedArgs& a, const char* name, const char* usage) {
  const QString text = a.value(QString::fromLatin1(name));
  const QDate d = parseDate(text);
  if (!d.isValid()) {
    usageError(QStringLiteral("%1 \"%2\" is not a date DD/MM/YYYY").arg(QLatin1String(name), text), usage);
    return std::nullopt;
  }
  return d;
}

// UTF-8 straight into a buffer written out every 256 KiB: no copy of the
// whole output is ever made.
void printLines(const QStringList& lines) {
  constexpr qsizetype kChunk = 256 * 1024;
  QStringEncoder utf8(QStringEncoder::Utf8);
  QByteArray buf(kChunk, Qt::Uninitialized);
  char* p = buf.data();
  for (const QString& l : lines) {
    const qsizetype room = utf8.requiredSpace(l.size()) + 1;
    if (p - buf.data() + room > buf.size()) {
      writeOut(buf.constData(), size_t(p - buf.data()));
      if (room > buf.size()) buf.resize(room);
      p = buf.data();
    }
    p = utf8.appendToBuffer(p, l);
    *p++ = '\n';
  }
  writeOut(buf.constData(), size_t(p - buf.data()));
}

// Lines of stored bytes written out as UTF-8 through a buffer of 256 KiB.
class StreamedLines {
 public:
  StreamedLines() : buf_(kChunk + 3 * LineBytes::kCapacity + 1, Qt::Uninitialized), p_(buf_.data()) {}
  void add(QByteArrayView line) {
    p_ = cp1252::appendUtf8(p_, line.data(), line.size());
    *p_++ = '\n';
    if (p_ - buf_.data() >= kChunk) finish();
  }
  void finish() {
    writeOut(buf_.constData(), size_t(p_ - buf_.data()));
    p_ = buf_.data();
  }

 private:
  static constexpr qsizetype kChunk = 256 * 1024;
  QByteArray buf_;
  char* p_;
};

int reportSkipped(const std::vector<SkippedRecord>& skipped) {
  flushOut();
  for (const SkippedRecord& s : skipped) err(QStringLiteral("record %1: %2").arg(s.position).arg(s.reason));
  return skipped.empty() ? kExitOk : kExitFindings;
}

// The printout of `lines` to --pdf OUT.
int writePdfOutput(const ParsedArgs& a, const char* command, const QString& input, Printout kind, const QString& title,
                   const PrintoutLines& lines) {
  const QString pdf = a.value(QStringLiteral("--pdf"));
  if (!outputAllowed(command, pdf, input)) return kExitError;
  QString error;
  if (!writeListPdf(pdf, kind, title, lines, outputGuard(input), &error)) {
    err(QStringLiteral("fondaro-tool %1: cannot write %2: %3").arg(QLatin1String(command), pdf, error));
    return kExitError;
  }
  return kExitOk;
}

// Lines to stdout, or the printout to --pdf OUT.
int writeOutput(const ParsedArgs& a, const char* command, const QString& input, Printout kind, const QString& title,
                const QStringList& lines) {
  if (a.value(QStringLiteral("--pdf")).isEmpty()) {
    printLines(lines);
    return flushOut() ? kExitOk : kExitError;
  }
  return writePdfOutput(a, command, input, kind, title, {int(lines.size()), [&](int i) { return lines[i]; }});
}

// A sorted list to stdout straight from its bytes, or its printout to --pdf OUT.
int writeListOutput(const ParsedArgs& a, const char* command, const QString& input, const QString& title,
                    const ListLines& lines) {
  if (!a.value(QStringLiteral("--pdf")).isEmpty()) {
    return writePdfOutput(a, command, input, Printout::Riepilogo, title,
                          {int(lines.size()), [&](int i) { return decodeBytes(lines.bytes(i)); }});
  }
  StreamedLines streamed;
  for (qsizetype i = 0; i < lines.size(); ++i) streamed.add(lines.bytes(i));
  streamed.finish();
  return flushOut() ? kExitOk : kExitError;
}

template <class Rec>
std::optional<std::vector<FieldFilter>> parseFilters(const QStringList& words) {
  std::vector<FieldFilter> filters;
  for (const QString& s : words) {
    const qsizetype eq = s.indexOf(u'=');
    const std::optional<int> f = eq > 0 ? fieldIndex<Rec>(QStringView(s).left(eq)) : std::nullopt;
    if (!f) {
      err(QStringLiteral("unknown field in \"%1\": use FIELD=TEXT with a field name as dump prints it").arg(s));
      return std::nullopt;
    }
    filters.push_back({*f, s.mid(eq + 1)});
  }
  return filters;
}

}  // namespace

int runList(const QStringList& args) {
  if (helpShown(args, kListUsage)) return kExitOk;
  const auto a = splitArgs(args, {QStringLiteral("--kind"), QStringLiteral("--pdf")}, kListUsage);
  if (!a) return kExitError;
  if (a->positional.isEmpty()) return usageError(QStringLiteral("missing FILE"), kListUsage);
  return runFileCommand(fileArgs(*a, a->positional.front()), "list", kListUsage, [&](const FileArgs& fa) {
    if (fa.kind == Kind::Clienti) {
      const auto filters = parseFilters<TCliente>(a->positional.mid(1));
      if (!filters) {
        err(QString::fromUtf8(kListUsage));
        return kExitError;
      }
      auto archive = ClientArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
      const ListLines lines = searchLines(archive, FilterSet(*filters));
      archive.Close();
      return writeListOutput(*a, "list", fa.path, QStringLiteral("Riepilogo pagatori e beneficiari"), lines);
    }
    const auto filters = parseFilters<TMovimento>(a->positional.mid(1));
    if (!filters) {
      err(QString::fromUtf8(kListUsage));
      return kExitError;
    }
    auto archive = MovementArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    const ListLines lines = searchLines(archive, FilterSet(*filters));
    archive.Close();
    return writeListOutput(*a, "list", fa.path, kListTitle, lines);
  });
}

int runDue(const QStringList& args) {
  if (helpShown(args, kDueUsage)) return kExitOk;
  const auto a = splitArgs(args, {QStringLiteral("--today"), QStringLiteral("--pdf")}, kDueUsage);
  if (!a) return kExitError;
  if (!oneFile(a->positional, kDueUsage)) return kExitError;
  QDate today = QDate::currentDate();
  if (a->has(QStringLiteral("--today"))) {
    const auto d = dateOption(*a, "--today", kDueUsage);
    if (!d) return kExitError;
    today = *d;
  }
  const QStringList file = {QStringLiteral("--kind"), QStringLiteral("movimenti"), a->positional.front()};
  return runFileCommand(file, "due", kDueUsage, [&](const FileArgs& fa) {
    auto archive = MovementArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    const DueLines due = dueLines(archive, today);
    archive.Close();
    const int rc = writeListOutput(*a, "due", fa.path, kDueTitle, due.lines);
    const int skipped = reportSkipped(due.skipped);
    return rc != kExitOk ? rc : skipped;
  });
}

int runJournal(const QStringList& args) {
  if (helpShown(args, kJournalUsage)) return kExitOk;
  const auto a = splitArgs(
      args, {QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--causale"), QStringLiteral("--pdf")},
      kJournalUsage);
  if (!a) return kExitError;
  if (!oneFile(a->positional, kJournalUsage)) return kExitError;
  const QString fromText = a->value(QStringLiteral("--from"));
  const QString toText = a->value(QStringLiteral("--to"));
  // The period window's rules, with the tool's own messages.
  if (const auto problem = period::checkDates(fromText, toText)) {
    if (problem->field == period::Field::Order) {
      err(QStringLiteral("--to %1 is earlier than --from %2")
              .arg(formatDate(parseDate(toText)), formatDate(parseDate(fromText))));
    } else {
      const bool from = problem->field == period::Field::StartDate;
      err(QStringLiteral("%1 \"%2\" is not a date DD/MM/YYYY")
              .arg(from ? u"--from"_qs : u"--to"_qs, from ? fromText : toText));
      err(QString::fromUtf8(kJournalUsage));
    }
    return kExitError;
  }
  const QDate from = parseDate(fromText), to = parseDate(toText);
  const QString causale = a->value(QStringLiteral("--causale"));
  const QStringList file = {QStringLiteral("--kind"), QStringLiteral("movimenti"), a->positional.front()};
  return runFileCommand(file, "journal", kJournalUsage, [&](const FileArgs& fa) {
    auto archive = MovementArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    const bool toPdf = a->has(QStringLiteral("--pdf"));
    // To standard output each line goes out as it is made; a PDF needs them all.
    StreamedLines streamed;
    const Journal j = toPdf ? buildJournal(archive, {from, to, causale})
                            : buildJournal(archive, {from, to, causale},
                                           [&](QByteArrayView line) { streamed.add(line); });
    archive.Close();
    streamed.finish();
    const QStringList lines =
        journalPrintLines(j.lines, intervalText(formatDate(from), formatDate(to)), j.income.euroText(),
                          j.expense.euroText(), j.balance.euroText());
    const QString title = journalTitle(causale);
    const int rc = writeOutput(*a, "journal", fa.path, Printout::Primanota, title, lines);
    const int skipped = reportSkipped(j.skipped);
    return rc != kExitOk ? rc : skipped;
  });
}

}  // namespace fondaro::tool
