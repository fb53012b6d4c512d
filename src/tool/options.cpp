// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const Option* findOption(const Syntax& syntax, const QString& name) {
  for (const Option& o : syntax.options)
    if (o.names.contains(name)) return &o;
  return nullptr;
}

bool looksLikeOption(const QString& word, OptionWords words) {
  switch (words) {
    case OptionWords::DoubleDash: return word.startsWith(u"--");
    case OptionWords::DoubleDashNamed: return word.startsWith(u"--") && word.size() > 2;
    case OptionWords::Dash: return word.startsWith(u'-');
  }
  return false;
}

// The value of the option `word` (its "=value", else the next word, which is
// taken whatever it looks like), or why there is none fit.
std::optional<QString> valueOf(const Option& o, const QString& word, qsizetype eq, const QStringList& args, int* i,
                               QString* why) {
  QString value;
  if (eq >= 0) {
    value = word.mid(eq + 1);
  } else if (*i + 1 < args.size()) {
    value = args[++*i];
  } else {
    *why = o.missing.isEmpty() ? QStringLiteral("%1 needs a value").arg(word) : o.missing;
    return std::nullopt;
  }
  if (value.isEmpty() && !o.empty.isEmpty()) {
    *why = o.empty;
    return std::nullopt;
  }
  if (o.check) {
    if (const std::optional<QString> bad = o.check(value)) {
      *why = *bad;
      return std::nullopt;
    }
  }
  return value;
}

// An option word of the table: its flag or value into `p`; false with `why`
// when refused.
bool takeOption(const Option& o, const QString& word, qsizetype eq, const QStringList& args, int* i, ParsedArgs& p,
                QString* why) {
  const QString& key = o.names.front();
  if (!o.takesValue) {
    if (eq >= 0) {
      *why = QStringLiteral("%1 takes no value").arg(word.left(eq));
      return false;
    }
    p.flags.insert(key);
    return true;
  }
  const std::optional<QString> value = valueOf(o, word, eq, args, i, why);
  if (!value) return false;
  p.values[key] = *value;
  p.allValues[key] << *value;
  return true;
}

}  // namespace

std::optional<ParsedArgs> parseOptions(const QStringList& args, const Syntax& syntax, QString* why) {
  ParsedArgs p;
  bool ended = false;
  for (int i = 0; i < args.size(); ++i) {
    const QString& word = args[i];
    if (syntax.doubleDashEnds && !ended && word == u"--") {
      ended = true;
      continue;
    }
    const bool optionsOver = ended || (syntax.optionsBeforeWords && !p.positional.isEmpty());
    if (!optionsOver) {
      const qsizetype eq = syntax.inlineValues ? word.indexOf(u'=') : -1;
      if (const Option* o = findOption(syntax, eq < 0 ? word : word.left(eq))) {
        if (!takeOption(*o, word, eq, args, &i, p, why)) return std::nullopt;
        continue;
      }
      if (looksLikeOption(word, syntax.words) && syntax.unknown != Unknown::Kept) {
        const QString named = syntax.unknown == Unknown::RefusedByName ? word.left(word.indexOf(u'=')) : word;
        *why = QStringLiteral("unknown option %1").arg(named);
        return std::nullopt;
      }
    }
    if (syntax.maxPositionals >= 0 && p.positional.size() >= syntax.maxPositionals) {
      *why = syntax.tooMany;
      return std::nullopt;
    }
    p.positional << word;
  }
  return p;
}

}  // namespace fondaro::tool
