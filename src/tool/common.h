// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared plumbing of the fondaro-tool commands: the file arguments, the record
// kind of a file, output in UTF-8.
#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>

#include "core/archive.h"
#include "core/replacefile.h"

namespace fondaro::tool {

using Kind = RecordKind;

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitError = 2;

struct FileArgs {
  Kind kind = Kind::Movimenti;
  QString path;
};

// Parses "[--kind movimenti|clienti] FILE". On a usage error prints the reason
// and the usage to stderr and returns nothing.
std::optional<FileArgs> parseFileArgs(const QStringList& args, const char* usage);

// When `args` hold --help or -h (even as an option's value), prints `usage`
// on standard output and says so.
bool helpShown(const QStringList& args, const char* usage);

// `why`, then the usage, on stderr; returns kExitError.
int usageError(const QString& why, const char* usage);
// Whether the words left are one FILE; if not, "missing FILE" or "one FILE
// only" and the usage on stderr.
bool oneFile(const QStringList& positional, const char* usage);

void out(const QString& text);  // stdout, UTF-8, as is
void err(const QString& text);  // stderr, UTF-8, with a line break

// What no output of the tool may replace: the input file, any archive, the
// password file (core/replacefile.h).
OutputGuard outputGuard(const QString& input);
// Whether `target` may take an output made from `input`; if not, says why on
// stderr ("fondaro-tool COMMAND: cannot write OUT: ...").
bool outputAllowed(const char* command, const QString& target, const QString& input);

// Makes every write of the tool take today's safety copy of the file first
// (safety::installDayCopies); when one cannot be made, a warning on stderr
// ("fondaro-tool COMMAND: warning: ...") and the write goes on. Called once,
// at start, with the command run.
void warnOfFailedDayCopies(const QString& command);

// Writes raw bytes to standard output; a failure is kept for finishOutput.
void writeOut(const char* data, size_t n);
// Flushes standard output; false (the failure kept for finishOutput) when it
// could not be written.
bool flushOut();
// Flushes standard output and reports a failed write (a full disk, a closed
// pipe) on stderr. The exit code every command ends with: `rc`, or 2 when
// standard output could not be written.
int finishOutput(int rc);

}  // namespace fondaro::tool

namespace fondaro::tool {
// A JSON string literal, quotes included.
QString jsonString(const QString& text);
}  // namespace fondaro::tool

namespace fondaro::tool {
// The frame of a command on one archive file: --help, the arguments, then
// An error of the core on stderr ("fondaro-tool COMMAND: " and its English
// words), after what stdout holds so far; returns the exit code 2.
int fail(const QString& command, const UserError& e);

// run(FileArgs) with archive failures reported on stderr as exit 2.
template <class Run>
int runFileCommand(const QStringList& args, const char* name, const char* usage, Run&& run) {
  if (helpShown(args, usage)) return kExitOk;
  const auto fa = parseFileArgs(args, usage);
  if (!fa) return kExitError;
  try {
    return run(*fa);
  } catch (const ArchiveError& e) {
    return fail(QLatin1String(name), e);
  }
}
}  // namespace fondaro::tool
