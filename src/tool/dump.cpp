// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>

#include "core/archive.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool dump [--kind movimenti|clienti] FILE\n"
    "Writes every whole record of FILE as one JSON object a line (UTF-8):\n"
    "{\"pos\": N, \"<Field>\": \"<text>\", ...} with every field in record order,\n"
    "decoded from Windows-1252 and trimmed. The kind comes from the name\n"
    "(*.eur movements, *.pro clients) unless --kind says. FILE is only read.\n"
    "Exit 0; 2 when FILE cannot be read.";

template <class Rec>
int dump(const QString& path) {
  auto archive = Archive<Rec>::OpenExisting(path, RecordFile::Access::ReadOnly);
  const auto& fields = Rec::fields();
  QString line;
  archive.Scan([&](qint64 pos, RecordView<Rec> v) {
    line.clear();
    line += QStringLiteral("{\"pos\": ") + QString::number(pos);
    for (int f = 0; f < Rec::FieldCount; ++f) {
      line += QStringLiteral(", \"") + QLatin1String(fields[f].name) + QStringLiteral("\": ");
      line += jsonString(v.trimmed(typename Rec::Field(f)));
    }
    line += QStringLiteral("}\n");
    out(line);
  });
  archive.Close();
  return flushOut() ? kExitOk : kExitError;
}

}  // namespace

int runDump(const QStringList& args) {
  return runFileCommand(args, "dump", kUsage, [](const FileArgs& fa) {
    return fa.kind == Kind::Movimenti ? dump<TMovimento>(fa.path) : dump<TCliente>(fa.path);
  });
}

}  // namespace fondaro::tool
