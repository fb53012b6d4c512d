// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include "core/clientexport.h"
#include "core/filepath.h"
#include "core/movementexport.h"
#include "tool/commands.h"
#include "tool/common.h"
#include "tool/options.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool export [--kind movimenti|clienti] FILE [-o OUT]\n"
    "Writes the spreadsheet document (\".xls\") of the archive FILE (movements as\n"
    "in \"Movimenti.xls\", an address book as in \"Anagrafica.xls\"), byte for byte\n"
    "what the export window writes when its grid was not edited, to OUT (replaced\n"
    "whole, through a new file renamed over it) or to standard output.\n"
    "FILE is only read. OUT is never FILE itself, an archive (*.eur, *.pro),\n"
    "the password file unins000.dll, nor anything but a regular file (a link is\n"
    "written through to its file). Exit 0; 2 when FILE cannot be read or OUT\n"
    "cannot be written, and then nothing is created.";

template <class Rec>
QByteArray documentOf(const QString& path) {
  auto archive = Archive<Rec>::OpenExisting(path, RecordFile::Access::ReadOnly);
  if constexpr (std::is_same_v<Rec, TMovimento>) {
    const TextTable rows = readMovementExport(archive);
    archive.Close();
    return movementExportDocument(rows);
  } else {
    const TextTable rows = readClientExport(archive);
    archive.Close();
    return clientExportDocument(rows);
  }
}

}  // namespace

int runExport(const QStringList& args) {
  // -o first, then the file arguments of the words left.
  const Syntax syntax{.options = {{.names = {u"-o"_qs, u"--output"_qs},
                                   .missing = u"-o needs a file name"_qs,
                                   .empty = u"-o needs a file name"_qs}},
                      .unknown = Unknown::Kept};
  QString why;
  const std::optional<ParsedArgs> p = parseOptions(args, syntax, &why);
  if (!p) return usageError(why, kUsage);
  const QString outPath = p->value(u"-o"_qs);
  const QStringList& rest = p->positional;
  return runFileCommand(rest, "export", kUsage, [&](const FileArgs& fa) {
    if (!outPath.isEmpty() && !outputAllowed("export", outPath, fa.path)) return kExitError;
    const QByteArray doc =
        fa.kind == Kind::Movimenti ? documentOf<TMovimento>(fa.path) : documentOf<TCliente>(fa.path);
    if (outPath.isEmpty()) {
      writeOut(doc.constData(), size_t(doc.size()));
      return flushOut() ? kExitOk : kExitError;
    }
    try {
      writeFileReplacing(outPath, doc, outputGuard(fa.path));
    } catch (const ExportWriteError& e) {
      err(QStringLiteral("fondaro-tool export: cannot write %1: %2").arg(e.path(), e.reason()));
      return kExitError;
    }
    return kExitOk;
  });
}

}  // namespace fondaro::tool
