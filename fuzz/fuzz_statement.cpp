// SPDX-License-Identifier: GPL-3.0-or-later
// The statement readers on arbitrary bytes: the CAMT.053 reader and the CSV
// reader (decoding, separator, header, rows) either give entries or throw
// StatementError; every importable entry becomes a movement; the amount rule
// reads back what it writes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/bankimport.h"
#include "core/camtreader.h"
#include "core/csvstatement.h"
#include "core/statement.h"

using namespace fondaro;

namespace {
void checkEntries(const Statement& st) {
  for (const StatementEntry& e : st.entries) {
    if (!e.importable()) continue;
    if (!e.date.isValid() || e.cents == 0 || e.currency != u"EUR") std::abort();
    const TMovimento r = movementFromEntry(e, QStringLiteral("f"));
    if (r.Importo.get() != centsText(e.cents)) std::abort();
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  try {
    checkEntries(readCamt(bytes));
  } catch (const StatementError&) {
  }
  try {
    const CsvTable table = parseCsv(bytes);
    if (const auto cols = recogniseCsvColumns(table)) checkEntries(readCsv(table, *cols));
    // Any mapping within the first row's cells reads or refuses, never more.
    CsvColumns any;
    any.date = 0;
    any.amount = 1;
    any.description = 2;
    checkEntries(readCsv(table, any));
  } catch (const StatementError&) {
  }
  const QString text = QString::fromUtf8(bytes);
  if (const auto cents = parseBankAmount(text)) {
    const qint64 a = *cents < 0 ? -*cents : *cents;
    if (parseBankAmount(centsText(a)) != a) std::abort();
  }
  const BankDate d = parseBankDate(text);
  if ((d.status == BankDate::Status::Ok) != d.date.isValid()) std::abort();
  return 0;
}
