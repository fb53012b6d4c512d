// SPDX-License-Identifier: GPL-3.0-or-later
// The signed envelope (CMS in DER or BER, Base64 text, Base64 of Base64) on
// arbitrary bytes: its content or nothing, never a crash; and the zip reader
// on the same bytes written as a zip file.
#include <QTemporaryDir>
#include <QFile>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/einvoice.h"
#include "core/invoiceenvelope.h"
#include "core/invoicefiles.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
  (void)envelopeContent(bytes);
  try {
    (void)invoiceContent(bytes);
  } catch (const InvoiceReadError& e) {
    if (e.kind() != InvoiceReadError::Kind::Envelope) std::abort();
  }
  static QTemporaryDir dir;
  const QString zip = dir.filePath(QStringLiteral("f.zip"));
  QFile f(zip);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
  f.write(bytes);
  f.close();
  for (const InvoiceFileRead& r : readInvoiceInputs({zip})) {
    if (!r.document && r.reason.isEmpty()) std::abort();
  }
  return 0;
}
