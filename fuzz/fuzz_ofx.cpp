// SPDX-License-Identifier: GPL-3.0-or-later
// The OFX reader (libofx behind its adapter) on arbitrary bytes written to a
// file: entries or StatementError, and every importable entry a movement.
#include <QTemporaryFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/bankimport.h"
#include "core/ofxreader.h"
#include "core/statement.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QTemporaryFile f;
  if (!f.open()) return 0;
  f.write(reinterpret_cast<const char*>(data), qint64(size));
  f.flush();
  try {
    const Statement st = readOfxFile(QFile::encodeName(f.fileName()));
    for (const StatementEntry& e : st.entries) {
      if (!e.importable()) continue;
      if (!e.date.isValid() || e.cents == 0) std::abort();
      movementFromEntry(e, QStringLiteral("f.ofx"));
    }
  } catch (const StatementError&) {
  }
  return 0;
}
