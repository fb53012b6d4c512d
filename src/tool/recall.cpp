// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool recall: the call-back list of an address book.
#include "core/lists.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool recall FILE\n"
    "Writes the call-back list of the address book FILE (Clienti.pro): the line\n"
    "of every card whose call-back flag, trimmed, is exactly \"Sì\", with the\n"
    "pending questions last, sorted as the window sorts them, one a line (UTF-8,\n"
    "trailing blanks kept). FILE is only read.\n"
    "Exit 0; 2 on a usage error or when FILE cannot be read.";

}  // namespace

int runRecall(const QStringList& args) {
  return runFileCommand(args, "recall", kUsage, [](const FileArgs& fa) {
    if (fa.kind != Kind::Clienti) {
      err(QStringLiteral("fondaro-tool recall: %1 is not an address book (use --kind clienti)").arg(fa.path));
      return kExitError;
    }
    auto archive = ClientArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    ListEntries entries;
    callBackList(archive, entries);
    archive.Close();
    QString text;
    for (const ListEntry& e : entries) text += e.line + u'\n';
    out(text);
    return flushOut() ? kExitOk : kExitError;
  });
}

}  // namespace fondaro::tool
