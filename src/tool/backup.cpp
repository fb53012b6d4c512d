// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool backup, backups, restore: the safety copies of a folder's data
// (core/safetycopies.h).

#include <optional>

#include "core/filepath.h"
#include "core/safetycopies.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const char* kBackupUsage =
    "usage: fondaro-tool backup FOLDER [--to DIR]\n"
    "Copies every archive (*.eur, Clienti.pro), the password file unins000.dll\n"
    "and Documenti_Allegati/ of FOLDER into a new folder named with the date and\n"
    "time to the second (\"2024-05-01_10-15-30\", then \"-2\", \"-3\" when two copies\n"
    "share a second) in DIR, which must exist, or in FOLDER's \"Copie di sicurezza\".\n"
    "Archives are read under their lock; every file is checked after the copy and\n"
    "recorded with its size and SHA-256 in the copy's manifesto.txt. The copy is\n"
    "built under a temporary name: a failure leaves nothing behind.\n"
    "Prints the copy's folder. Exit 0; 1 when a file was left out (named on\n"
    "stderr); 2 when no copy was made.";

const char* kBackupsUsage =
    "usage: fondaro-tool backups FOLDER\n"
    "Lists the safety copies in FOLDER's \"Copie di sicurezza\", newest first, one a\n"
    "line, tab-separated: the copy's folder, its date and time, the number of\n"
    "files, the bytes, and its state, checked now against its manifest:\n"
    "\"verified\", \"damaged: ...\" or \"no manifest\". Exit 0; 1 when a copy is not\n"
    "verified; 2 when FOLDER is not a folder.";

const char* kRestoreUsage =
    "usage: fondaro-tool restore COPY --into FOLDER\n"
    "Puts back every file of the safety copy COPY (a folder as \"backups\" prints\n"
    "it) into FOLDER. The copy is checked against its manifest first: a damaged\n"
    "copy is refused and nothing is replaced (exit 2). Then the current files of\n"
    "FOLDER are copied into its \"Copie di sicurezza\" (a folder ending in\n"
    "\"_prima-del-ripristino\", printed on stdout); then each file of COPY is\n"
    "written beside its target, checked again and renamed over it. Files of\n"
    "FOLDER that a full copy does not hold stay as they are and are named on\n"
    "stderr. Exit 0; 1 when a file could not be put back (named on stderr, the\n"
    "others are); 2 when nothing was replaced.";

// "FOLDER" and "--OPTION FOLDER" or "--OPTION=FOLDER" of the names given; an
// unknown option is named without its value.
std::optional<ParsedArgs> parseArgs(const QStringList& args, const QStringList& optionNames, const char* usage) {
  Syntax syntax{.words = OptionWords::DoubleDashNamed, .unknown = Unknown::RefusedByName, .inlineValues = true};
  for (const QString& name : optionNames) {
    const QString missing = name + u" needs a folder"_qs;
    syntax.options.push_back({.names = {name}, .missing = missing, .empty = missing});
  }
  QString why;
  std::optional<ParsedArgs> p = parseOptions(args, syntax, &why);
  if (!p) {
    usageError(why, usage);
    return std::nullopt;
  }
  if (p->positional.size() != 1) {
    usageError(p->positional.isEmpty() ? QStringLiteral("missing folder") : QStringLiteral("one folder only"), usage);
    return std::nullopt;
  }
  return p;
}

QString stateText(const safety::CopyInfo& c) {
  using S = safety::Verification::State;
  switch (c.verification.state) {
    case S::Verified: return QStringLiteral("verified");
    case S::NoManifest: return QStringLiteral("no manifest");
    case S::Damaged:
      return u"damaged: "_qs + safety::CopyError(safety::CopyError::Reason::Damaged, c.verification.file, 0,
                                                 c.verification.damage)
                                   .english()
                                   .mid(QStringLiteral("damaged copy: ").size());
  }
  return {};
}

}  // namespace

int runBackup(const QStringList& args) {
  if (helpShown(args, kBackupUsage)) return kExitOk;
  const auto p = parseArgs(args, {QStringLiteral("--to")}, kBackupUsage);
  if (!p) return kExitError;
  const QByteArray folder = encodePath(p->positional[0]);
  const QByteArray into =
      p->has(u"--to"_qs) ? encodePath(p->value(u"--to"_qs)) : safety::copiesFolderOf(folder);
  try {
    const safety::FullCopy c = safety::makeFullCopy(folder, into, safety::CopyKind::Full);
    out(decodePath(c.path) + u'\n');
    for (const QByteArray& s : c.skipped)
      err(QStringLiteral("fondaro-tool backup: left out %1: a name with a line break").arg(displayPath(s)));
    return c.skipped.isEmpty() ? kExitOk : kExitFindings;
  } catch (const safety::CopyError& e) {
    return fail(u"backup"_qs, e);
  }
}

int runBackups(const QStringList& args) {
  if (helpShown(args, kBackupsUsage)) return kExitOk;
  const auto p = parseArgs(args, {}, kBackupsUsage);
  if (!p) return kExitError;
  const QByteArray folder = encodePath(p->positional[0]);
  if (!isFolder(folder)) {
    err(u"fondaro-tool backups: "_qs + safety::CopyError(safety::CopyError::Reason::NotFolder, folder).english());
    return kExitError;
  }
  int rc = kExitOk;
  for (const safety::CopyInfo& c : safety::listCopies(safety::copiesFolderOf(folder))) {
    out(decodePath(c.path) + u'\t' + c.made.toString(u"yyyy-MM-dd HH:mm:ss"_qs) + u'\t' +
        QString::number(c.files) + (c.files == 1 ? u" file\t"_qs : u" files\t"_qs) + QString::number(c.bytes) + u" bytes\t"_qs + stateText(c) +
        u'\n');
    if (c.verification.state != safety::Verification::State::Verified) rc = kExitFindings;
  }
  return rc;
}

int runRestore(const QStringList& args) {
  if (helpShown(args, kRestoreUsage)) return kExitOk;
  const auto p = parseArgs(args, {QStringLiteral("--into")}, kRestoreUsage);
  if (!p) return kExitError;
  if (!p->has(u"--into"_qs)) return usageError(QStringLiteral("missing --into FOLDER"), kRestoreUsage);
  const QByteArray copy = encodePath(p->positional[0]);
  const QByteArray into = encodePath(p->value(u"--into"_qs));
  try {
    const safety::Restored r = safety::restoreCopy(copy, into);
    if (!r.before.isEmpty()) out(decodePath(r.before) + u'\n');
    for (const QByteArray& k : r.kept)
      err(QStringLiteral("fondaro-tool restore: kept %1 (not in the copy)").arg(displayPath(k)));
    for (const auto& f : r.failed)
      err(QStringLiteral("fondaro-tool restore: cannot put back %1: %2").arg(displayPath(f.name), f.english));
    if (r.restored.isEmpty() && !r.failed.isEmpty()) return kExitError;
    return r.failed.isEmpty() ? kExitOk : kExitFindings;
  } catch (const safety::CopyError& e) {
    err(u"fondaro-tool restore: "_qs + e.english() + u"; nothing was replaced"_qs);
    return kExitError;
  }
}

}  // namespace fondaro::tool
