// SPDX-License-Identifier: GPL-3.0-or-later
// The electronic-invoice reader on arbitrary bytes (an envelope or XML, in
// any encoding), then the planner on what it read, in a folder that does not
// exist (nothing is written): a document or InvoiceReadError, never a crash,
// and every instalment planned with a valid date and a positive amount.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/invoicefiles.h"
#include "core/invoiceimport.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  InvoiceFileRead f;
  f.number = 1;
  f.name = f.shownName = QStringLiteral("IT01234567897_00001.xml.p7m");
  f.bytes = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
  readInvoiceBytes(f);
  if (!f.document) {
    if (!f.failure || f.reason.isEmpty()) std::abort();
    return 0;
  }
  // The company on both sides in turn: every body is planned.
  const InvoiceDocument doc = *f.document;
  for (const InvoiceParty* own : {&doc.buyer, &doc.seller}) {
    InvoicePlanOptions options;
    options.ownIds = {own->vatCode, own->taxCode, QStringLiteral("12345678903")};
    options.makeReadableCopy = [](const InvoiceFileRead&) { return QByteArray("%PDF"); };
    const InvoicePlan plan = planInvoiceImport({f}, "/nonexistent-fondaro-fuzz/", options);
    for (const PlannedFile& pf : plan.files) {
      for (const PlannedBody& b : pf.bodies) {
        for (const PlannedInstalment& i : b.instalments) {
          if (!i.date.isValid() || !i.due.isValid() || i.cents <= 0) std::abort();
        }
      }
    }
  }
  return 0;
}
