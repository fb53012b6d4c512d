// SPDX-License-Identifier: GPL-3.0-or-later
// The date validity test on arbitrary text: a valid text names a real date and
// formats back to itself once padded.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/textrules.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const bool valid = isValidDate(text);
  const QDate d = parseDate(text);
  if (valid != d.isValid()) std::abort();
  if (valid) {
    const QString formatted = formatDate(d);
    if (!isValidDate(formatted) || parseDate(formatted) != d) std::abort();
    if (formatted.size() != 10) std::abort();
  }
  return 0;
}
