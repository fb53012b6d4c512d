#include "tool/common.h"

#include <cstdio>

namespace fondaro::tool {

void out(const QString& text) {
  const QByteArray b = text.toUtf8();
  std::fwrite(b.constData(), 1, size_t(b.size()), stdout);
}

void err(const QString& text) {
  const QByteArray b = text.toUtf8() + '\n';
  std::fwrite(b.constData(), 1, size_t(b.size()), stderr);
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
