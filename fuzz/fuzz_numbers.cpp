// SPDX-License-Identifier: GPL-3.0-or-later
// Number parsing, the general form and amount normalisation on arbitrary text.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/textrules.h"

using namespace fondaro;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
  const auto v = parseNumber(text);
  if (v) {
    if (!std::isfinite(*v)) std::abort();
    // The general form reads back as a number.
    if (!parseNumber(formatGeneral(*v))) std::abort();
  }
  const QString amount = normaliseAmount(text);
  // Unparsable text becomes 0,00; a non-negative value in the fixed range
  // becomes an amount text. Huge values keep the exponent form, which the
  // editor refuses when saving.
  if (!v && amount != QStringLiteral("0,00")) std::abort();
  if (v && *v >= 0 && *v < 1e13 && !isAmountText(amount)) std::abort();
  return 0;
}
