// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/filepath.h"
#include "core/safetycopies.h"
#include "tool/options.h"

namespace fondaro::tool {

void out(const QString& text) {
  const QByteArray b = text.toUtf8();
  writeOut(b.constData(), size_t(b.size()));
}

void err(const QString& text) {
  const QByteArray b = text.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
}

OutputGuard outputGuard(const QString& input) { return {encodePath(input), true}; }

void warnOfFailedDayCopies(const QString& command) {
  safety::installDayCopies([command](const QByteArray& file, const safety::CopyError& e) {
    // append names no file: it writes the one archive it was given.
    const QString what = command == u"append"_qs ? u"the archive"_qs : displayPath(file);
    err(QStringLiteral("fondaro-tool %1: warning: no safety copy of %2 was made today: %3")
            .arg(command, what, e.english()));
  });
}

bool outputAllowed(const char* command, const QString& target, const QString& input) {
  const auto refused = refusedTarget(encodePath(target), outputGuard(input));
  if (!refused) return true;
  err(QStringLiteral("fondaro-tool %1: cannot write %2: %3").arg(QLatin1String(command), target, refused->english()));
  return false;
}

namespace {
int outputError = 0;  // the first failure of a write to standard output

void noteOutputError() {
  if (!outputError) outputError = errno ? errno : EIO;
}
}  // namespace

bool flushOut() {
  errno = 0;
  if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return true;
  noteOutputError();
  return false;
}

void writeOut(const char* data, size_t n) {
  errno = 0;
  if (std::fwrite(data, 1, n, stdout) != n) noteOutputError();
}

int finishOutput(int rc) {
  if (flushOut()) {
    errno = 0;
    if (std::fclose(stdout) == 0) return rc;
    noteOutputError();
  }
  err(QStringLiteral("fondaro-tool: cannot write standard output: ") +
      QString::fromLocal8Bit(std::strerror(outputError)));
  return kExitError;
}

bool helpShown(const QStringList& args, const char* usage) {
  if (!args.contains(QStringLiteral("--help")) && !args.contains(QStringLiteral("-h"))) return false;
  out(QString::fromUtf8(usage) + u'\n');
  return true;
}

int usageError(const QString& why, const char* usage) {
  err(why);
  err(QString::fromUtf8(usage));
  return kExitError;
}

bool oneFile(const QStringList& positional, const char* usage) {
  if (positional.size() == 1) return true;
  usageError(positional.isEmpty() ? QStringLiteral("missing FILE") : QStringLiteral("one FILE only"), usage);
  return false;
}

namespace {

// "[--kind movimenti|clienti] FILE": the option anywhere, as "--kind=K" too;
// "--" alone and "-x" are file names.
Syntax fileSyntax() {
  const auto knownKind = [](const QString& v) -> std::optional<QString> {
    if (recordKindFromWord(v)) return std::nullopt;
    return QStringLiteral("unknown kind \"%1\": use movimenti or clienti").arg(v);
  };
  return {.options = {{.names = {u"--kind"_qs},
                       .missing = u"--kind needs a value: movimenti or clienti"_qs,
                       .check = knownKind}},
          .words = OptionWords::DoubleDashNamed,
          .inlineValues = true};
}

}  // namespace

std::optional<FileArgs> parseFileArgs(const QStringList& args, const char* usage) {
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, fileSyntax(), &why);
  if (!p) {
    usageError(why, usage);
    return std::nullopt;
  }
  if (!oneFile(p->positional, usage)) return std::nullopt;
  FileArgs fa;
  fa.path = p->positional.front();
  const std::optional<Kind> kind =
      p->has(u"--kind"_qs) ? recordKindFromWord(p->value(u"--kind"_qs)) : recordKindFromFileName(fa.path);
  if (!kind) {
    err(QStringLiteral("cannot tell the kind of %1 from its name (*.eur movements, *.pro clients): "
                       "use --kind movimenti|clienti")
            .arg(fa.path));
    return std::nullopt;
  }
  fa.kind = *kind;
  return fa;
}

}  // namespace fondaro::tool

namespace fondaro::tool {

QString jsonString(const QString& text) {
  QString s;
  s.reserve(text.size() + 2);
  s += u'"';
  for (QChar c : text) {
    switch (c.unicode()) {
      case '"': s += QLatin1String("\\\""); break;
      case '\\': s += QLatin1String("\\\\"); break;
      case '\n': s += QLatin1String("\\n"); break;
      case '\r': s += QLatin1String("\\r"); break;
      case '\t': s += QLatin1String("\\t"); break;
      case '\b': s += QLatin1String("\\b"); break;
      case '\f': s += QLatin1String("\\f"); break;
      default:
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || (c.unicode() >= 0x80 && c.unicode() < 0xA0)) {
          s += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
          s += c;
        }
    }
  }
  s += u'"';
  return s;
}

int fail(const QString& command, const UserError& e) {
  flushOut();
  err(QStringLiteral("fondaro-tool %1: ").arg(command) + e.english());
  return kExitError;
}

}  // namespace fondaro::tool
