// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The four checks of the validator windows: Italian tax code, Italian VAT
// number (with the office that issued it), credit card number (with its
// circuit) and IBAN. Each check takes the text of the window's field and
// returns everything the window acts on: the outcome, the notice to show (text
// and kind), whether the window closes afterwards or stays with the focus on
// its field, and the extra data the check found. The windows hold no rule and
// no text of their own; the command-line tool prints the same notices.
#include <QString>
#include <QStringView>

#include "core/notice.h"

namespace fondaro::checks {

enum class Outcome {
  Valid,
  Invalid,
  Incomplete,  // wrong length or empty: the user is asked to complete the field
};

// The checks show warnings and information notices only.
using NoticeKind = fondaro::NoticeKind;

struct CheckResult {
  Outcome outcome = Outcome::Incomplete;
  QString message;  // exact notice text, line breaks written as CR LF
  NoticeKind kind = NoticeKind::Warning;
  // true: the window closes once the notice is answered; false: it stays open
  // and the focus goes back to the field.
  bool closesWindow = false;
  QString office;   // VAT number: name of the issuing office (empty when unknown)
  QString circuit;  // card number: circuit name, set when the number is valid
};

// ---- Tax code (codice fiscale) ------------------------------------------

inline constexpr int kCodFiscLength = 16;

// The check character of the first 15 characters of a tax code (upper case),
// or a null QChar when the text is shorter than 15 or one of those characters
// lies outside the run "0" to "Z" that the conversion tables cover.
QChar codFiscCheckChar(QStringView code);

// True when an upper-case 16-character text has the shape of a tax code:
// letters at positions 1-6, 12 and 16; at 7, 8, 10, 11, 13, 14 and 15 a digit
// or one of the letters L M N P Q R S T U V that stand for 0-9 in the codes of
// homonyms; a month letter (A B C D E H L M P R S T) at 9; and a day at 10-11
// from 01 to 31 or from 41 to 71. The check character is not looked at.
bool codFiscShapeValid(QStringView code);

// The check behind "Controlla" of the tax code window: the length, the
// characters, the shape, then the check character.
CheckResult checkCodFisc(QStringView fieldText);

// The editors send a tax code made of digits only (a company's tax code, which
// is its VAT number) to the VAT number check instead. `trimmedText` is the
// editor field's trimmed text.
bool codFiscGoesToPartitaIva(QStringView trimmedText);

// ---- VAT number (partita IVA) -------------------------------------------

inline constexpr int kPartitaIvaLength = 11;

// True for 11 digits whose last one is the check digit of the first ten.
bool partitaIvaValid(QStringView number);

// The issuing office named by a three-digit office code (the characters at
// positions 8 to 10 of the number); empty for a code with no office.
QString ufficioIva(QStringView code);

// The check behind "Controlla" of the VAT number window.
CheckResult checkPartitaIva(QStringView fieldText);

// ---- Credit card --------------------------------------------------------

// Only this many leading characters of a card number are looked at.
inline constexpr int kCartaScanLength = 20;

// The digits among the first 20 characters pass the Luhn test: the value of the
// first digit minus 2 (1 for 3, 2 for 4, 3 for 5, 4 for 6; values outside 1 to 4
// name no circuit). 0 when there is no digit or the check digit is wrong.
int cartaCode(QStringView text);

// The circuit of a valid number: by `code` (from cartaCode) and, for code 1, by
// the first two characters of the trimmed field text. Empty when none applies.
QString cartaCircuit(int code, QStringView trimmedText);

// The check behind "Controlla" of the card window.
CheckResult checkCarta(QStringView fieldText);

// ---- IBAN ---------------------------------------------------------------

inline constexpr int kIbanLength = 27;

// The check-digit test: blanks removed, letters in capitals, the first "IBAN"
// removed, the first four characters moved to the end, letters replaced by
// 10..35, remainder modulo 97 equal to 1. The text must also have the shape of
// an IBAN: two letters, two digits and at least one more character; an Italian
// or San Marino IBAN (beginning "IT" or "SM") must have 27 characters: the CIN
// letter, the ten digits of ABI and CAB, then twelve letters or digits.
bool ibanValid(QStringView text);

// The check behind "Controlla" of the IBAN window.
CheckResult checkIban(QStringView fieldText);

// ---- The four windows ---------------------------------------------------

enum class Kind { CodFisc, PartitaIva, Carta, Iban };



// The check of a window by kind.
CheckResult check(Kind kind, QStringView fieldText);

}  // namespace fondaro::checks
