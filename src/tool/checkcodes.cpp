// SPDX-License-Identifier: GPL-3.0-or-later
// fondaro-tool check-codes: the four checks over every card of an address book.
#include <QRegularExpression>

#include "core/archive.h"
#include "core/checks.h"
#include "core/linebytes.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool check-codes FILE\n"
    "Runs the check windows' checks over the tax code, VAT number, credit card\n"
    "number and IBAN of every card of the address book FILE (Clienti.pro);\n"
    "empty fields are skipped, and a tax code of digits only is checked as a\n"
    "VAT number, as the editor does. Prints one line per failing code:\n"
    "position, field, card name and the check's notice, separated by tabs, the\n"
    "notice on one line. FILE is only read.\n"
    "Exit 0 when every code passes, 1 when any fails, 2 when FILE cannot be read.";

QString oneLine(const QString& message) {
  static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
  return QString(message).replace(breaks, QStringLiteral(" "));
}

}  // namespace

int runCheckCodes(const QStringList& args) {
  return runFileCommand(args, "check-codes", kUsage, [](const FileArgs& fa) {
    if (fa.kind != Kind::Clienti) {
      err(QStringLiteral("fondaro-tool check-codes: %1 is not an address book (use --kind clienti)").arg(fa.path));
      return kExitError;
    }
    struct Code {
      cli::Field field;
      const char* name;
      checks::Kind kind;
    };
    static constexpr Code kCodes[] = {{cli::CodFisc, "CodFisc", checks::Kind::CodFisc},
                                      {cli::PartitaIva, "PartitaIva", checks::Kind::PartitaIva},
                                      {cli::Carta, "Carta", checks::Kind::Carta},
                                      {cli::Iban, "Iban", checks::Kind::Iban}};
    auto archive = ClientArchive::OpenExisting(fa.path, RecordFile::Access::ReadOnly);
    bool failed = false;
    archive.Scan([&](qint64 pos, RecordView<TCliente> v) {
      for (const Code& c : kCodes) {
        const QString text = v.trimmed(c.field);
        if (text.isEmpty()) continue;
        const checks::Kind kind = c.kind == checks::Kind::CodFisc && checks::codFiscGoesToPartitaIva(text)
                                      ? checks::Kind::PartitaIva
                                      : c.kind;
        const checks::CheckResult r = checks::check(kind, text);
        if (r.outcome == checks::Outcome::Valid) continue;
        failed = true;
        out(QString::number(pos) + u'\t' + QLatin1String(c.name) + u'\t' + controlsAsBlanks(v.trimmed(cli::Cliente)) +
            u'\t' + controlsAsBlanks(oneLine(r.message)) + u'\n');
      }
    });
    archive.Close();
    flushOut();
    return failed ? kExitFindings : kExitOk;
  });
}

}  // namespace fondaro::tool
