// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool validate: runs one of the four checks of the validator windows
// on a text and prints the notice the window would show.
#include "core/checks.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"

#include <optional>

namespace fondaro::tool {

namespace {

// The window asked for a complete field (wrong length, or empty).
constexpr int kExitIncomplete = 3;

const char* kUsage =
    "usage: fondaro-tool validate codfisc|piva|carta|iban TEXT\n"
    "Checks TEXT as the check window of that kind does with TEXT put into its\n"
    "field, and prints the notice the window shows (line breaks inside a notice\n"
    "are CR LF, as the window has them).\n"
    "  codfisc  Italian tax code (16 characters)\n"
    "  piva     Italian VAT number (11 digits), naming the issuing office\n"
    "  carta    credit card number, naming its circuit\n"
    "  iban     IBAN (27 characters)\n"
    "Exit 0 when valid, 1 when not valid, 3 when the length is wrong or TEXT is\n"
    "empty, 2 on a usage error. Put -- before a TEXT that begins with \"-\".";

std::optional<checks::Kind> checkKind(const QString& name) {
  const QString n = name.toLower();
  if (n == QLatin1String("codfisc")) return checks::Kind::CodFisc;
  if (n == QLatin1String("piva")) return checks::Kind::PartitaIva;
  if (n == QLatin1String("carta")) return checks::Kind::Carta;
  if (n == QLatin1String("iban")) return checks::Kind::Iban;
  return std::nullopt;
}

}  // namespace

int runValidate(const QStringList& args) {
  const qsizetype dashes = args.indexOf(QStringLiteral("--"));
  const QStringList options = dashes < 0 ? args : args.first(dashes);
  if (helpShown(options, kUsage)) return kExitOk;
  // No options but help: a word beginning with "-" is refused before the kind
  // only, for a TEXT may begin with "-"; the first "--" is dropped.
  const Syntax syntax{.words = OptionWords::Dash, .doubleDashEnds = true, .optionsBeforeWords = true};
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, syntax, &why);
  if (!p) return usageError(why, kUsage);
  const QStringList& words = p->positional;
  if (words.isEmpty()) return usageError(QStringLiteral("missing kind and TEXT"), kUsage);
  const std::optional<checks::Kind> kind = checkKind(words[0]);
  if (!kind)
    return usageError(
        QStringLiteral("unknown kind \"%1\": use codfisc, piva, carta or iban").arg(words[0]), kUsage);
  if (words.size() < 2) return usageError(QStringLiteral("missing TEXT (\"\" for an empty field)"), kUsage);
  if (words.size() > 2)
    return usageError(QStringLiteral("one TEXT only (quote a TEXT that holds blanks)"), kUsage);

  const checks::CheckResult result = checks::check(*kind, words[1]);
  out(result.message + u'\n');
  switch (result.outcome) {
    case checks::Outcome::Valid: return kExitOk;
    case checks::Outcome::Invalid: return kExitFindings;
    case checks::Outcome::Incomplete: return kExitIncomplete;
  }
  return kExitFindings;
}

}  // namespace fondaro::tool
