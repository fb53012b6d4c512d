// SPDX-License-Identifier: GPL-3.0-or-later
// The argument parser of the fondaro-tool commands, on syntaxes shaped as the
// commands use them.
#include <gtest/gtest.h>

#include "test_support.h"
#include "tool/options.h"

using namespace fondaro::tool;

namespace {

// Options after the file, "--name=value", an unknown "--x" refused whole, and
// "--" alone a file name (dump, check, list's --kind).
Syntax fileSyntax() {
  Syntax s;
  s.options = {{.names = {u"--kind"_qs},
                .missing = u"--kind needs a value"_qs,
                .check = [](const QString& v) -> std::optional<QString> {
                  if (v == u"movimenti" || v == u"clienti") return std::nullopt;
                  return QStringLiteral("unknown kind \"%1\"").arg(v);
                }},
               {.names = {u"--pdf"_qs}, .empty = u"--pdf needs a file name"_qs},
               {.names = {u"--dry-run"_qs}, .takesValue = false}};
  s.words = OptionWords::DoubleDashNamed;
  s.inlineValues = true;
  return s;
}

// No "=" form, "--" alone an unknown option, one positional at most (import).
Syntax oneStatementSyntax() {
  Syntax s;
  s.options = {{.names = {u"--into"_qs}, .missing = u"--into needs a folder"_qs},
               {.names = {u"--dry-run"_qs}, .takesValue = false}};
  s.maxPositionals = 1;
  s.tooMany = u"more than one statement given"_qs;
  return s;
}

// Only "-o"/"--output" known, the rest kept for a later parse (export).
Syntax keepingSyntax() {
  Syntax s;
  s.options = {{.names = {u"-o"_qs, u"--output"_qs}, .missing = u"-o needs a file name"_qs}};
  s.unknown = Unknown::Kept;
  return s;
}

// No options; "-" words refused before the first word, "--" ends them (validate).
Syntax wordsSyntax() {
  Syntax s;
  s.words = OptionWords::Dash;
  s.doubleDashEnds = true;
  s.optionsBeforeWords = true;
  return s;
}

// Unknown options named without their value (backup).
Syntax byNameSyntax() {
  Syntax s;
  s.options = {{.names = {u"--to"_qs}}};
  s.words = OptionWords::DoubleDashNamed;
  s.unknown = Unknown::RefusedByName;
  s.inlineValues = true;
  return s;
}

struct Case {
  const char* what;
  Syntax (*syntax)();
  QStringList args;
  QString why;  // empty when the arguments are taken
  QStringList positional = {};
  QMap<QString, QString> values = {};
  QStringList flags = {};
};

const Case kCases[] = {
    {"positionals only", fileSyntax, {u"a"_qs, u"b"_qs}, {}, {u"a"_qs, u"b"_qs}},
    {"a flag", fileSyntax, {u"--dry-run"_qs, u"a"_qs}, {}, {u"a"_qs}, {}, {u"--dry-run"_qs}},
    {"a flag given a value", fileSyntax, {u"--dry-run=1"_qs}, u"--dry-run takes no value"_qs},
    {"a value in the next word", fileSyntax, {u"--kind"_qs, u"clienti"_qs, u"a"_qs}, {}, {u"a"_qs},
     {{u"--kind"_qs, u"clienti"_qs}}},
    {"a value after \"=\", options after the file", fileSyntax, {u"a"_qs, u"--kind=movimenti"_qs}, {}, {u"a"_qs},
     {{u"--kind"_qs, u"movimenti"_qs}}},
    {"the next word is the value whatever it looks like", fileSyntax, {u"--pdf"_qs, u"--kind"_qs}, {}, {},
     {{u"--pdf"_qs, u"--kind"_qs}}},
    {"a missing value", fileSyntax, {u"a"_qs, u"--kind"_qs}, u"--kind needs a value"_qs},
    {"a missing value in the default words", fileSyntax, {u"--pdf"_qs}, u"--pdf needs a value"_qs},
    {"an empty value refused", fileSyntax, {u"--pdf="_qs}, u"--pdf needs a file name"_qs},
    {"an empty value taken", byNameSyntax, {u"--to"_qs, u""_qs}, {}, {}, {{u"--to"_qs, u""_qs}}},
    {"a value checked as met", fileSyntax, {u"--kind"_qs, u"altro"_qs, u"--bogus"_qs}, u"unknown kind \"altro\""_qs},
    {"a repeated option keeps its last value", fileSyntax, {u"--kind=clienti"_qs, u"--kind"_qs, u"movimenti"_qs}, {},
     {}, {{u"--kind"_qs, u"movimenti"_qs}}},
    {"a repeated value is checked each time", fileSyntax, {u"--kind=x"_qs, u"--kind=clienti"_qs},
     u"unknown kind \"x\""_qs},
    {"an unknown option, named whole", fileSyntax, {u"a"_qs, u"--bogus=1"_qs}, u"unknown option --bogus=1"_qs},
    {"an unknown option, named without its value", byNameSyntax, {u"--verso=x"_qs}, u"unknown option --verso"_qs},
    {"\"--\" alone may be a file", fileSyntax, {u"--"_qs, u"-x"_qs}, {}, {u"--"_qs, u"-x"_qs}},
    {"\"--\" alone may be an unknown option", oneStatementSyntax, {u"--"_qs}, u"unknown option --"_qs},
    {"no \"=\" form: the word is unknown", oneStatementSyntax, {u"--into=x"_qs}, u"unknown option --into=x"_qs},
    {"too many positionals, told as met", oneStatementSyntax, {u"a"_qs, u"b"_qs, u"--bogus"_qs},
     u"more than one statement given"_qs},
    {"unknown words kept in order", keepingSyntax, {u"--kind"_qs, u"x"_qs, u"--output"_qs, u"o"_qs, u"f"_qs}, {},
     {u"--kind"_qs, u"x"_qs, u"f"_qs}, {{u"-o"_qs, u"o"_qs}}},
    {"two spellings, one value, the last", keepingSyntax, {u"-o"_qs, u"a"_qs, u"--output"_qs, u"b"_qs}, {}, {},
     {{u"-o"_qs, u"b"_qs}}},
    {"a missing value while keeping unknowns", keepingSyntax, {u"f"_qs, u"--output"_qs}, u"-o needs a file name"_qs},
    {"an option word before the first word", wordsSyntax, {u"-x"_qs, u"y"_qs}, u"unknown option -x"_qs},
    {"after the first word every word is one", wordsSyntax, {u"k"_qs, u"-x"_qs, u"--y"_qs}, {},
     {u"k"_qs, u"-x"_qs, u"--y"_qs}},
    {"\"--\" ends the options and is dropped once", wordsSyntax, {u"--"_qs, u"-x"_qs, u"--"_qs}, {},
     {u"-x"_qs, u"--"_qs}},
    {"\"--\" is dropped after a word too", wordsSyntax, {u"k"_qs, u"--"_qs, u"-x"_qs}, {}, {u"k"_qs, u"-x"_qs}},
};

TEST(ToolOptions, ParsesEachShape) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    QString why;
    const std::optional<ParsedArgs> p = parseOptions(c.args, c.syntax(), &why);
    EXPECT_EQ(why, c.why);
    if (!c.why.isEmpty()) {
      EXPECT_FALSE(p);
      continue;
    }
    ASSERT_TRUE(p);
    EXPECT_EQ(p->positional, c.positional);
    EXPECT_EQ(p->values, c.values);
    EXPECT_EQ(p->flags, QSet<QString>(c.flags.begin(), c.flags.end()));
  }
}

// Two refusals that once went astray: a second --year with no value was told
// as an unknown option, and an empty STATEMENT was passed over for the next.
TEST(ToolOptions, TheCommandsTellTheMistakeMade) {
  const struct {
    QStringList args;
    QString firstLine;
  } cases[] = {
      {{u"stats"_qs, u"a.eur"_qs, u"--year"_qs, u"2024"_qs, u"--year"_qs}, u"missing --year YYYY"_qs},
      {{u"import"_qs, u""_qs, u"b.csv"_qs, u"--into"_qs, u"."_qs},
       u"fondaro-tool import: more than one statement given"_qs},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args.join(u' ').toStdString());
    const fondaro::testing::ToolRun r = fondaro::testing::runTool(c.args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(r.err.section(u'\n', 0, 0), c.firstLine);
    EXPECT_TRUE(r.out.isEmpty());
  }
}

}  // namespace
