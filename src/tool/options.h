// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one argument parser of the fondaro-tool commands: each command describes
// its options in a table and its own small habits in a Syntax; the parser says
// why it refuses the arguments, and the command prints that with its usage.
// QtCore only, so that the tests can run it without the commands.
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace fondaro::tool {

struct Option {
  QStringList names = {};  // the spellings, "-o" and "--output"; stored under the first
  bool takesValue = true;
  // Why, when no word follows the option; empty: "NAME needs a value".
  QString missing = {};
  // Why, when the value is empty; empty: an empty value is taken.
  QString empty = {};
  // Why a value is refused, asked as each one is met, so that the first
  // mistake on the line is the one told.
  std::function<std::optional<QString>(const QString& value)> check = {};
};

// Which words, not in the table, are taken for options.
enum class OptionWords {
  DoubleDash,       // every word beginning with "--", "--" alone included
  DoubleDashNamed,  // a word beginning with "--" and more: "--" alone is a positional
  Dash,             // every word beginning with "-"
};

// What an option word that is not in the table becomes.
enum class Unknown {
  Refused,        // "unknown option --x=1"
  RefusedByName,  // "unknown option --x", without what follows "="
  Kept,           // a positional, for a later parse of the rest
};

struct Syntax {
  std::vector<Option> options = {};
  OptionWords words = OptionWords::DoubleDash;
  Unknown unknown = Unknown::Refused;
  bool inlineValues = false;         // "--name=value" as well as "--name value"
  bool doubleDashEnds = false;       // the first "--" ends the options and is dropped
  bool optionsBeforeWords = false;   // after the first positional every word is one
  int maxPositionals = -1;           // more is refused as met, with `tooMany`
  QString tooMany = {};
};

// What the arguments said. A repeated option keeps its last value.
struct ParsedArgs {
  QStringList positional;
  QMap<QString, QString> values;
  QMap<QString, QStringList> allValues;  // every value of a repeated option, in order
  QSet<QString> flags;

  bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
  QString value(const QString& name) const { return values.value(name); }
  QStringList valuesOf(const QString& name) const { return allValues.value(name); }
};

// Parses `args` by `syntax`; on a refusal returns nothing and says why in
// `why` (without the command's usage).
std::optional<ParsedArgs> parseOptions(const QStringList& args, const Syntax& syntax, QString* why);

}  // namespace fondaro::tool
