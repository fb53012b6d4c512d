// SPDX-License-Identifier: GPL-3.0-or-later
// The four checks of the validator windows on arbitrary text, decoded both as
// UTF-8 (typed or given on the command line) and as Windows-1252 (read from an
// archive field). Beyond not crashing, every result must be one the window can
// act on.
#include "core/checks.h"
#include "core/cp1252.h"
#include "core/crypt.h"
#include "core/field.h"
#include "core/textrules.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace fondaro::checks;

namespace {

void require(bool condition) {
  if (!condition) std::abort();
}

// A valid IBAN has digits as check digits; an Italian or San Marino one also
// the CIN letter, the ABI and CAB digits and 27 characters.
void requireIbanShape(const QString& text) {
  QString iban = fondaro::upperAscii(text);
  iban.remove(u' ');
  const qsizetype word = iban.indexOf(u"IBAN");
  if (word >= 0) iban.remove(word, 4);
  const auto digit = [](QChar c) { return c >= u'0' && c <= u'9'; };
  require(iban.size() >= 5 && digit(iban[2]) && digit(iban[3]));
  if (!iban.startsWith(u"IT") && !iban.startsWith(u"SM")) return;
  require(iban.size() == kIbanLength && iban[4] >= u'A' && iban[4] <= u'Z');
  for (int i = 5; i < 15; ++i) require(digit(iban[i]));
}

void checkResult(Kind kind, const QString& text) {
  const CheckResult r = check(kind, text);
  require(!r.message.isEmpty());
  require(r.closesWindow == (r.outcome != Outcome::Incomplete));
  require((r.kind == NoticeKind::Information) == (r.outcome == Outcome::Valid));
  require(r.message.startsWith(u"Attenzione: ") == (r.kind == NoticeKind::Warning));
  require(kind == Kind::PartitaIva || r.office.isEmpty());
  require(r.circuit.isEmpty() == (kind != Kind::Carta || r.outcome != Outcome::Valid));
}

void checkAll(const QString& text) {
  for (Kind kind : {Kind::CodFisc, Kind::PartitaIva, Kind::Carta, Kind::Iban})
    checkResult(kind, text);

  const CheckResult cf = checkCodFisc(text);
  if (cf.outcome == Outcome::Valid) {
    const QString code = fondaro::upperAscii(text);
    require(codFiscCheckChar(code) == code[15]);
  }
  const CheckResult iva = checkPartitaIva(text);
  require((iva.outcome == Outcome::Valid) == partitaIvaValid(text));
  const int code = cartaCode(text);
  require(code >= -2 && code <= 7);
  const CheckResult iban = checkIban(text);
  // The window tests the trimmed text.
  if (iban.outcome == Outcome::Valid) require(ibanValid(fondaro::trimmedText(text)));
  if (ibanValid(text)) requireIbanShape(text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const auto n = static_cast<qsizetype>(size);
  checkAll(QString::fromUtf8(bytes, n));
  checkAll(fondaro::cp1252::decode(bytes, n));
  return 0;
}
