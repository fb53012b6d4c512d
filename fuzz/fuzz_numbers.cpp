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
  // Whatever was typed, the field ends with a comma and two digits.
  if (amount.size() < 4 || amount[amount.size() - 3] != u',') std::abort();
  if (v && std::fabs(*v) < 1e12 && *v >= 0 && !isAmountText(amount)) std::abort();
  return 0;
}
