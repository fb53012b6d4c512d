#include "tool/common.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "core/filepath.h"
#include "core/safetycopies.h"

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

bool wantsHelp(const QStringList& args) {
  return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

static std::optional<Kind> kindFromName(const QString& name) { return recordKindFromWord(name); }

std::optional<FileArgs> parseFileArgs(const QStringList& args, const char* usage) {
  FileArgs fa;
  std::optional<Kind> kind;
  QStringList files;
  for (int i = 0; i < args.size(); ++i) {
    const QString& a = args[i];
    if (a == QLatin1String("--kind") || a.startsWith(QLatin1String("--kind="))) {
      QString value;
      if (a == QLatin1String("--kind")) {
        if (i + 1 >= args.size()) {
          err(QStringLiteral("--kind needs a value: movimenti or clienti"));
          err(QString::fromUtf8(usage));
          return std::nullopt;
        }
        value = args[++i];
      } else {
        value = a.mid(7);
      }
      kind = kindFromName(value);
      if (!kind) {
        err(QStringLiteral("unknown kind \"%1\": use movimenti or clienti").arg(value));
        err(QString::fromUtf8(usage));
        return std::nullopt;
      }
    } else if (a.startsWith(QLatin1String("--")) && a.size() > 2) {
      err(QStringLiteral("unknown option %1").arg(a));
      err(QString::fromUtf8(usage));
      return std::nullopt;
    } else {
      files << a;
    }
  }
  if (files.size() != 1) {
    err(files.isEmpty() ? QStringLiteral("missing FILE") : QStringLiteral("one FILE only"));
    err(QString::fromUtf8(usage));
    return std::nullopt;
  }
  fa.path = files.front();
  if (!kind) kind = recordKindFromFileName(fa.path);
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

}  // namespace fondaro::tool
