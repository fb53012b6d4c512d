// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdio>
#include <vector>

#include "core/archive.h"
#include "core/linebytes.h"
#include "core/textrules.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool check [--kind movimenti|clienti] FILE\n"
    "Reports, one finding a line: a trailing fragment, length bytes above the\n"
    "capacity, flags that are neither \"Sì\" nor \"No\", and for movements the dates\n"
    "Data and DataSca that are not valid dates (an empty date is not valid) and\n"
    "Importo / Totale that are not amount / signed amount texts. FILE is only read.\n"
    "Exit 0 when clean, 1 when something was found, 2 when FILE cannot be read.";

QString quoted(QByteArrayView stored) { return jsonString(decodeBytes(stored)); }

struct Rules {
  std::vector<int> flags;
  std::vector<int> dates;
  int amount = -1;
  int signedAmount = -1;
};

template <class Rec>
Rules rulesFor();

template <>
Rules rulesFor<TMovimento>() {
  return {{mov::Entrata, mov::Uscita, mov::Saldato}, {mov::Data, mov::DataSca}, mov::Importo, mov::Totale};
}

template <>
Rules rulesFor<TCliente>() {
  return {{cli::Ricontatta}, {}, -1, -1};
}

template <class Rec>
int check(const QString& path) {
  auto archive = Archive<Rec>::OpenExisting(path, RecordFile::Access::ReadOnly);
  const auto& fields = Rec::fields();
  const Rules rules = rulesFor<Rec>();
  int findings = 0;
  auto report = [&](qint64 pos, int f, const QString& what) {
    ++findings;
    out(QStringLiteral("record %1: %2: %3\n").arg(pos).arg(QLatin1String(fields[f].name), what));
  };
  // The rules look at the stored bytes; only a finding's text is decoded.
  const auto stored = [](const RecordView<Rec>& v, int f) { return trimmedBytes(storedBytes(v, typename Rec::Field(f))); };
  archive.Scan([&](qint64 pos, RecordView<Rec> v) {
    for (int f = 0; f < Rec::FieldCount; ++f) {
      const uint8_t length = v.bytes()[fields[f].offset];
      if (length > fields[f].capacity)
        report(pos, f, QStringLiteral("length byte %1 above the capacity %2").arg(length).arg(fields[f].capacity));
    }
    for (int f : rules.flags) {
      const QByteArrayView t = stored(v, f);
      if (t != QByteArrayView("S\xEC") && t != QByteArrayView("No"))
        report(pos, f, QStringLiteral("flag %1 is neither \"Sì\" nor \"No\"").arg(quoted(t)));
    }
    for (int f : rules.dates) {
      const QByteArrayView t = stored(v, f);
      if (!parseDateBytes(t).isValid()) report(pos, f, QStringLiteral("not a valid date: %1").arg(quoted(t)));
    }
    if (rules.amount >= 0) {
      const QByteArrayView t = stored(v, rules.amount);
      if (!isAmountBytes(t)) report(pos, rules.amount, QStringLiteral("not an amount text: %1").arg(quoted(t)));
    }
    if (rules.signedAmount >= 0) {
      const QByteArrayView t = stored(v, rules.signedAmount);
      if (!isSignedAmountBytes(t))
        report(pos, rules.signedAmount, QStringLiteral("not a signed amount text: %1").arg(quoted(t)));
    }
  });
  const qint64 count = archive.Count();
  const qint64 trailing = archive.file().trailingBytes();
  if (trailing > 0) {
    ++findings;
    out(QStringLiteral("trailing fragment: %1 bytes after record %2\n").arg(trailing).arg(count));
  }
  archive.Close();
  flushOut();
  return findings > 0 ? kExitFindings : kExitOk;
}

}  // namespace

int runCheck(const QStringList& args) {
  return runFileCommand(args, "check", kUsage, [](const FileArgs& fa) {
    return fa.kind == Kind::Movimenti ? check<TMovimento>(fa.path) : check<TCliente>(fa.path);
  });
}

}  // namespace fondaro::tool
