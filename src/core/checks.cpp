// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/checks.h"

#include "core/textrules.h"
#include "core/field.h"

#include <array>
#include <iterator>

namespace fondaro::checks {

namespace {

bool isAsciiUpper(QChar c) { return c >= u'A' && c <= u'Z'; }

// ---- Tax code tables ----------------------------------------------------
// Both tables cover the characters "0" (48) to "Z" (90) in one run: ten digits,
// the seven characters : ; < = > ? @ (worth 0), then the 26 letters.
constexpr char16_t kRunFirst = u'0';
constexpr char16_t kRunLast = u'Z';
constexpr int kRunSize = kRunLast - kRunFirst + 1;

constexpr std::array<int, kRunSize> kOddValues = {
    1,  0, 5,  7,  9,  13, 15, 17, 19, 21,              // 0-9
    0,  0, 0,  0,  0,  0,  0,                           // : ; < = > ? @
    1,  0, 5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,  // A-M
    20, 11, 3, 6,  8,  12, 14, 16, 10, 22, 25, 24, 23,  // N-Z
};

constexpr std::array<int, kRunSize> kEvenValues = {
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,               // 0-9
    0,  0,  0,  0,  0,  0,  0,                           // : ; < = > ? @
    0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12,  // A-M
    13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25,  // N-Z
};

bool inTaxCodeRun(QChar c) { return c.unicode() >= kRunFirst && c.unicode() <= kRunLast; }

// ---- VAT offices --------------------------------------------------------
// Codes 001 to 102 in order; 120 and 121 repeat 101 and 102.
constexpr const char16_t* kUffici[] = {
    u"Torino",
    u"Vercelli",
    u"Novara",
    u"Cuneo",
    u"Asti",
    u"Alessandria",
    u"Aosta",
    u"Imperia",
    u"Savona",
    u"Genova 1",
    u"La Spezia",
    u"Varese",
    u"Como",
    u"Sondrio",
    u"Milano 1",
    u"Bergamo",
    u"Brescia 1",
    u"Pavia",
    u"Cremona",
    u"Mantova",
    u"Bolzano",
    u"Trento",
    u"Verona",
    u"Vicenza",
    u"Belluno",
    u"Treviso",
    u"Venezia",
    u"Padova",
    u"Rovigo",
    u"Udine",
    u"Gorizia",
    u"Trieste",
    u"Piacenza",
    u"Parma",
    u"Reggio Emilia",
    u"Modena",
    u"Bologna 1",
    u"Ferrara",
    u"Ravenna",
    u"Forlì",
    u"Pesaro",
    u"Ancona",
    u"Macerata",
    u"Ascoli Piceno",
    u"Massa Carrara",
    u"Lucca",
    u"Pistoia",
    u"Firenze 1",
    u"Livorno",
    u"Pisa",
    u"Arezzo",
    u"Siena",
    u"Grosseto",
    u"Perugia",
    u"Terni",
    u"Viterbo",
    u"Rieti",
    u"Roma 1",
    u"Latina",
    u"Frosinone",
    u"Caserta",
    u"Benevento",
    u"Napoli 1",
    u"Avellino",
    u"Salerno",
    u"Aquila",
    u"Teramo",
    u"Pescara",
    u"Chieti",
    u"Campobasso",
    u"Foggia",
    u"Bari",
    u"Taranto",
    u"Brindisi",
    u"Lecce",
    u"Potenza",
    u"Matera",
    u"Cosenza",
    u"Catanzaro",
    u"Reggio Calabria",
    u"Trapani",
    u"Palermo",
    u"Messina",
    u"Agrigento",
    u"Caltanissetta",
    u"Enna",
    u"Catania",
    u"Ragusa",
    u"Siracusa",
    u"Sassari",
    u"Nuoro",
    u"Cagliari",
    u"Pordenone",
    u"Isernia",
    u"Oristano",
    u"Monza (Milano 2)",
    u"Prato (Firenze 2)",
    u"Brescia 2",
    u"Chiavari (Genova 2)",
    u"Roma 2",
    u"Bologna 2",
    u"Napoli 2",
};
static_assert(std::size(kUffici) == 102);
constexpr int kUfficioBologna2 = 101;
constexpr int kUfficioNapoli2 = 102;

// ---- Messages -----------------------------------------------------------
const QString kCrLf2 = QStringLiteral("\r\n\r\n");

const QString kCodFiscLunghezza = QStringLiteral(
    "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kCodFiscValido = QStringLiteral("Il codice fiscale digitato è VALIDO.");
const QString kCodFiscErrato = QStringLiteral("Attenzione: il codice fiscale digitato è ERRATO.");

const QString kIvaLunghezza = QStringLiteral(
    "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kIvaValida = QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.");
const QString kIvaUfficio = QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ");
const QString kIvaErrata = QStringLiteral(
    "Attenzione: il numero di partita IVA digitato risulta ERRATO!");
const QString kIvaErrataSeguito = QStringLiteral(
    "Non è quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha rilasciato.");

const QString kCartaVuota = QStringLiteral(
    "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di controllo.");
const QString kCartaErrata = QStringLiteral("Attenzione: il numero digitato risulta ERRATO!");
const QString kCartaErrataSeguito = QStringLiteral(
    "Non è quindi possibile fornire informazioni relative al tipo di carta di credito.");
const QString kCartaValida1 = QStringLiteral("Il numero di carta di credito ");
const QString kCartaValida2 = QStringLiteral(" risulta valido.");
const QString kCartaTipo = QStringLiteral("La carta di credito è del tipo ");

const QString kIbanLunghezza = QStringLiteral(
    "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kIbanValido = QStringLiteral("L'IBAN digitato è VALIDO.");
const QString kIbanErrato = QStringLiteral("Attenzione: l'IBAN digitato è ERRATO!");

// Every check answers the same way for the same outcome: a valid code is an
// information notice and the window closes; a wrong code is a warning and the
// window closes; a wrong length is a warning and the window stays.
CheckResult answer(Outcome outcome, const QString& message) {
  CheckResult r;
  r.outcome = outcome;
  r.message = message;
  r.kind = outcome == Outcome::Valid ? NoticeKind::Information : NoticeKind::Warning;
  r.closesWindow = outcome != Outcome::Incomplete;
  return r;
}

CheckResult incomplete(const QString& message) { return answer(Outcome::Incomplete, message); }
CheckResult valid(const QString& message) { return answer(Outcome::Valid, message); }
CheckResult invalid(const QString& message) { return answer(Outcome::Invalid, message); }

}  // namespace

// ---- Tax code -----------------------------------------------------------

QChar codFiscCheckChar(QStringView code) {
  if (code.size() < kCodFiscLength - 1) return {};
  int sum = 0;
  for (int i = 0; i < kCodFiscLength - 1; ++i) {
    const QChar c = code[i];
    if (!inTaxCodeRun(c)) return {};
    const int index = c.unicode() - kRunFirst;
    // Positions count from 1: index 0 is the first, an odd position.
    sum += (i % 2 == 0) ? kOddValues[index] : kEvenValues[index];
  }
  return QChar(u'A' + sum % 26);
}

namespace {

bool isAsciiLetter(QChar c) { return c >= u'A' && c <= u'Z'; }

// The digit a character of a numeric position stands for: a digit, or one of the
// letters L M N P Q R S T U V that replace 0 to 9 in the codes of homonyms; -1
// for anything else.
int codFiscDigit(QChar c) {
  if (isAsciiDigit(c)) return c.unicode() - u'0';
  constexpr char16_t kSubstitutes[] = u"LMNPQRSTUV";
  for (int d = 0; d < 10; ++d) {
    if (c == QChar(kSubstitutes[d])) return d;
  }
  return -1;
}

// The letters of the months, January to December.
bool isCodFiscMonth(QChar c) { return QStringView(u"ABCDEHLMPRST").contains(c); }

}  // namespace

bool codFiscShapeValid(QStringView code) {
  if (code.size() != kCodFiscLength) return false;
  // Surname, name, birth place letter and check character are letters; the year,
  // day and place number are digits or their substitutes.
  for (int i : {0, 1, 2, 3, 4, 5, 11, 15}) {
    if (!isAsciiLetter(code[i])) return false;
  }
  for (int i : {6, 7, 9, 10, 12, 13, 14}) {
    if (codFiscDigit(code[i]) < 0) return false;
  }
  if (!isCodFiscMonth(code[8])) return false;
  // Women's days are counted from 41.
  const int day = codFiscDigit(code[9]) * 10 + codFiscDigit(code[10]);
  return (day >= 1 && day <= 31) || (day >= 41 && day <= 71);
}

CheckResult checkCodFisc(QStringView fieldText) {
  const QString code = upperAscii(fieldText);
  if (code.size() != kCodFiscLength) return incomplete(kCodFiscLunghezza);
  // A character the tables do not cover cannot belong to a tax code: the user is
  // asked for 16 alphanumeric characters, as for a wrong length.
  for (QChar c : code) {
    if (!inTaxCodeRun(c)) return incomplete(kCodFiscLunghezza);
  }
  // The check character alone lets through codes no one can have (a digit and
  // the letter of the same rank weigh the same in its tables): the shape is
  // tested first, and a code of the wrong shape is as wrong as a bad check.
  if (!codFiscShapeValid(code)) return invalid(kCodFiscErrato);
  if (codFiscCheckChar(code) == code[kCodFiscLength - 1]) return valid(kCodFiscValido);
  return invalid(kCodFiscErrato);
}

bool codFiscGoesToPartitaIva(QStringView trimmedText) {
  if (trimmedText.isEmpty()) return false;
  for (QChar c : trimmedText) {
    if (!isAsciiDigit(c)) return false;
  }
  return true;
}

// ---- VAT number ---------------------------------------------------------

bool partitaIvaValid(QStringView number) {
  if (number.size() != kPartitaIvaLength) return false;
  for (QChar c : number) {
    if (!isAsciiDigit(c)) return false;
  }
  int sum = 0;
  for (int i = 0; i < kPartitaIvaLength - 1; ++i) {
    const int d = number[i].unicode() - u'0';
    if (i % 2 == 0) {
      sum += d;
    } else {
      const int twice = 2 * d;
      sum += twice / 10 + twice % 10;
    }
  }
  const int r = sum % 10;
  const int expected = r == 0 ? 0 : 10 - r;
  return number[kPartitaIvaLength - 1].unicode() - u'0' == expected;
}

QString ufficioIva(QStringView code) {
  if (code.size() != 3) return {};
  int n = 0;
  for (QChar c : code) {
    if (!isAsciiDigit(c)) return {};
    n = n * 10 + (c.unicode() - u'0');
  }
  if (n == 120) n = kUfficioBologna2;
  if (n == 121) n = kUfficioNapoli2;
  if (n < 1 || n > static_cast<int>(std::size(kUffici))) return {};
  return QString::fromUtf16(kUffici[n - 1]);
}

CheckResult checkPartitaIva(QStringView fieldText) {
  const QString number = upperAscii(fieldText);
  if (number.size() != kPartitaIvaLength) return incomplete(kIvaLunghezza);
  if (!partitaIvaValid(number)) return invalid(kIvaErrata + kCrLf2 + kIvaErrataSeguito);
  // An office code with no entry leaves the name empty: "... del Comune di ."
  const QString office = ufficioIva(QStringView(number).mid(7, 3));
  CheckResult r = valid(kIvaValida + kCrLf2 + kIvaUfficio + office + u'.');
  r.office = office;
  return r;
}

// ---- Credit card --------------------------------------------------------

int cartaCode(QStringView text) {
  std::array<int, kCartaScanLength> digits{};
  int n = 0;
  for (QChar c : text.left(kCartaScanLength)) {
    if (isAsciiDigit(c)) digits[n++] = c.unicode() - u'0';
  }
  if (n == 0) return 0;
  int sum = 0;
  bool doubled = true;  // the digit just left of the check digit is doubled
  for (int i = n - 2; i >= 0; --i, doubled = !doubled) {
    int v = digits[i];
    if (doubled) {
      v *= 2;
      if (v >= 10) v -= 9;
    }
    sum += v;
  }
  const int expected = sum % 10 == 0 ? 0 : 10 - sum % 10;
  if (digits[n - 1] != expected) return 0;
  return digits[0] - 2;
}

QString cartaCircuit(int code, QStringView trimmedText) {
  switch (code) {
    case 1: {
      const QStringView prefix = trimmedText.left(2);
      if (prefix == u"30" || prefix == u"36" || prefix == u"38")
        return QStringLiteral("Diner's Club / Carte Blanche");
      if (prefix == u"34" || prefix == u"37") return QStringLiteral("American Express");
      if (prefix == u"31" || prefix == u"33" || prefix == u"35") return QStringLiteral("JCB");
      return {};
    }
    case 2: return QStringLiteral("Visa");
    case 3: return QStringLiteral("MasterCard");
    case 4: return QStringLiteral("Discover");
    default: return {};
  }
}

CheckResult checkCarta(QStringView fieldText) {
  const QStringView trimmed = trimControl(fieldText);
  if (trimmed.isEmpty()) return incomplete(kCartaVuota);
  // A number beginning with 3 whose prefix names no circuit (for example "32",
  // or "3 " with a separator) is reported as a wrong number.
  const QString circuit = cartaCircuit(cartaCode(fieldText), trimmed);
  if (circuit.isEmpty()) return invalid(kCartaErrata + kCrLf2 + kCartaErrataSeguito);
  CheckResult r = valid(kCartaValida1 + trimmed.toString() + kCartaValida2 + kCrLf2 + kCartaTipo + circuit +
                        u'.');
  r.circuit = circuit;
  return r;
}

// ---- IBAN ---------------------------------------------------------------

namespace {

// An Italian (or San Marino) IBAN: "IT", two check digits, the CIN letter, the
// five digits of the bank (ABI) and the five of the branch (CAB), twelve
// letters or digits of account. A letter among the ABI or CAB digits can still
// pass the remainder test, so the shape is tested first. Other countries have
// only the remainder test.
bool hasNationalShape(QStringView iban) {
  if (!iban.startsWith(u"IT") && !iban.startsWith(u"SM")) return true;
  if (iban.size() != kIbanLength || !isAsciiUpper(iban[4])) return false;
  for (qsizetype i = 5; i < 15; ++i)
    if (!isAsciiDigit(iban[i])) return false;
  for (qsizetype i = 15; i < kIbanLength; ++i)
    if (!isAsciiDigit(iban[i]) && !isAsciiUpper(iban[i])) return false;
  return true;
}

}  // namespace

bool ibanValid(QStringView text) {
  QString iban = upperAscii(text);
  iban.remove(u' ');
  const qsizetype word = iban.indexOf(u"IBAN");
  if (word >= 0) iban.remove(word, 4);
  // Country code, check digits and at least one character of account: without
  // this shape a stray digit or two among blanks would pass the remainder test.
  if (iban.size() < 5 || !isAsciiUpper(iban[0]) || !isAsciiUpper(iban[1]) ||
      !isAsciiDigit(iban[2]) || !isAsciiDigit(iban[3]))
    return false;
  if (!hasNationalShape(iban)) return false;
  const QString rotated = iban.mid(4) + iban.left(4);
  // Digit by digit gives the same remainder as taking nine digits at a time.
  int remainder = 0;
  for (QChar c : rotated) {
    if (isAsciiDigit(c)) {
      remainder = (remainder * 10 + (c.unicode() - u'0')) % 97;
    } else if (isAsciiUpper(c)) {
      remainder = (remainder * 100 + (c.unicode() - u'A' + 10)) % 97;
    } else {
      return false;
    }
  }
  return remainder == 1;
}

CheckResult checkIban(QStringView fieldText) {
  const QStringView trimmed = trimControl(fieldText);
  // The length counts the blanks too: an IBAN written in groups is too long.
  if (trimmed.size() != kIbanLength) return incomplete(kIbanLunghezza);
  return ibanValid(trimmed) ? valid(kIbanValido) : invalid(kIbanErrato);
}

// ---- The four windows ---------------------------------------------------

CheckResult check(Kind kind, QStringView fieldText) {
  switch (kind) {
    case Kind::CodFisc: return checkCodFisc(fieldText);
    case Kind::PartitaIva: return checkPartitaIva(fieldText);
    case Kind::Carta: return checkCarta(fieldText);
    case Kind::Iban: return checkIban(fieldText);
  }
  return {};
}

}  // namespace fondaro::checks
