// SPDX-License-Identifier: GPL-3.0-or-later
// The four checks of the validator windows: outcome, exact notice, kind,
// whether the window closes, and the office or circuit found.
#include <gtest/gtest.h>

#include "core/checks.h"

#include <QString>

#include <ostream>
#include <utility>
#include <vector>

using namespace fondaro::checks;

namespace fondaro::checks {
// Readable failures for the outcome enum.
void PrintTo(Outcome o, std::ostream* os) {
  *os << (o == Outcome::Valid ? "Valid" : o == Outcome::Invalid ? "Invalid" : "Incomplete");
}
}  // namespace fondaro::checks

namespace {

const QString kCrLf2 = QStringLiteral("\r\n\r\n");

// A wrong value at one position: the next digit or the next letter, so the
// character stays of its class.
QString mutated(const QString& code, int i) {
  QString out = code;
  const QChar c = code[i];
  if (c.isDigit())
    out[i] = QChar(u'0' + (c.unicode() - u'0' + 1) % 10);
  else
    out[i] = QChar(u'A' + (c.unicode() - u'A' + 1) % 26);
  return out;
}

void expectIncomplete(const CheckResult& r, const QString& message) {
  EXPECT_EQ(r.outcome, Outcome::Incomplete);
  EXPECT_EQ(r.message, message);
  EXPECT_EQ(r.kind, NoticeKind::Warning);
  EXPECT_FALSE(r.closesWindow);
}

void expectInvalid(const CheckResult& r, const QString& message) {
  EXPECT_EQ(r.outcome, Outcome::Invalid);
  EXPECT_EQ(r.message, message);
  EXPECT_EQ(r.kind, NoticeKind::Warning);
  EXPECT_TRUE(r.closesWindow);
}

void expectValid(const CheckResult& r, const QString& message) {
  EXPECT_EQ(r.outcome, Outcome::Valid);
  EXPECT_EQ(r.message, message);
  EXPECT_EQ(r.kind, NoticeKind::Information);
  EXPECT_TRUE(r.closesWindow);
}

// ---- Tax code ------------------------------------------------------------

const QString kCfLength = QStringLiteral(
    "Attenzione: il codice fiscale deve essere composto da 16 caratteri alfanumerici.");
const QString kCfValid = QStringLiteral("Il codice fiscale digitato \u00E8 VALIDO.");
const QString kCfWrong = QStringLiteral("Attenzione: il codice fiscale digitato \u00E8 ERRATO.");

const char* const kValidCodFisc[] = {
    "RSSMRA80A01H501U",
    "BNCGNN75C52F205N",
    "VRDLGU90E15L219G",
    "MRNLCU85T10A944J",
    // A homonym code: digits replaced by letters, check character recomputed.
    "RSSMRA80A01H50MM",
};

TEST(CodFisc, ValidCodesAndEveryOneCharacterChange) {
  for (const char* c : kValidCodFisc) {
    const QString code = QString::fromLatin1(c);
    SCOPED_TRACE(c);
    expectValid(checkCodFisc(code), kCfValid);
    expectValid(checkCodFisc(code.toLower()), kCfValid);
    // Any other printable character at any position, its own small letter
    // aside, makes a code no one can have.
    for (int i = 0; i < code.size(); ++i) {
      for (char16_t r = u' '; r <= u'~'; ++r) {
        if (QChar(r).toUpper() == code[i]) continue;
        QString changed = code;
        changed[i] = QChar(r);
        SCOPED_TRACE(changed.toStdString());
        EXPECT_NE(checkCodFisc(changed).outcome, Outcome::Valid);
      }
    }
  }
}

// The first 15 characters with the right check character after them, so that
// only the shape can make the code wrong.
QString withCheck(const QString& first15) { return first15 + codFiscCheckChar(first15); }

// A code whose check character is right but whose shape no tax code has is
// as wrong as a code with a bad check character.
TEST(CodFisc, ShapeBeforeTheCheckCharacter) {
  struct Case {
    QString code;
    bool valid;
  };
  const QString kMonths = QStringLiteral("ABCDEHLMPRST");
  std::vector<Case> cases = {
      // Codes that pass the check character alone.
      {QStringLiteral("JYZSK7T4EM7Z85RA"), false},  // a digit among the surname letters
      {QStringLiteral("KCQYWB40B16V2A5R"), false},  // a letter that stands for no digit
      {QStringLiteral("NFDROM97D10OA97U"), false},
      // Letter positions with a digit or one of the seven signs between digits and letters.
      {withCheck(QStringLiteral("0SSMRA80A01H501")), false},
      {withCheck(QStringLiteral("RSSMR780A01H501")), false},
      {withCheck(QStringLiteral("RSS:RA80A01H501")), false},
      {withCheck(QStringLiteral("RSSMRA80A01@501")), false},
      {withCheck(QStringLiteral("RSSMRA80A015501")), false},
      {QStringLiteral("RSSMRA80A01H5010"), false},  // a digit as check character
      {QStringLiteral(":::::::::::::::A"), false},
      // Digit positions with a letter that stands for no digit.
      {withCheck(QStringLiteral("RSSMRAA0A01H501")), false},
      {withCheck(QStringLiteral("RSSMRA8KA01H501")), false},
      {withCheck(QStringLiteral("RSSMRA80AO1H501")), false},
      {withCheck(QStringLiteral("RSSMRA80A0WH501")), false},
      {withCheck(QStringLiteral("RSSMRA80A01HZ01")), false},
      {withCheck(QStringLiteral("RSSMRA80A01H5J1")), false},
      {withCheck(QStringLiteral("RSSMRA80A01H50:")), false},
      // The month: a digit is no month either.
      {withCheck(QStringLiteral("RSSMRA80801H501")), false},
      // The day, for men (01-31) and women (41-71), also written with substitutes.
      {withCheck(QStringLiteral("RSSMRA80A00H501")), false},
      {withCheck(QStringLiteral("RSSMRA80A01H501")), true},
      {withCheck(QStringLiteral("RSSMRA80A31H501")), true},
      {withCheck(QStringLiteral("RSSMRA80A32H501")), false},
      {withCheck(QStringLiteral("RSSMRA80A40H501")), false},
      {withCheck(QStringLiteral("RSSMRA80A41H501")), true},
      {withCheck(QStringLiteral("RSSMRA80A71H501")), true},
      {withCheck(QStringLiteral("RSSMRA80A72H501")), false},
      {withCheck(QStringLiteral("RSSMRA80ALLH501")), false},  // 00
      {withCheck(QStringLiteral("RSSMRA80AQMH501")), true},   // 41
      {withCheck(QStringLiteral("RSSMRA80ATNH501")), false},  // 72
      {withCheck(QStringLiteral("RSSMRA80A3MH501")), true},   // 31
  };
  for (QChar m = u'A'; m <= u'Z'; m = QChar(m.unicode() + 1)) {
    QString first15 = QStringLiteral("RSSMRA80A01H501");
    first15[8] = m;
    cases.push_back({withCheck(first15), kMonths.contains(m)});
  }
  // Every substitute letter in every digit position: the day kept within
  // 10-19 for its units, its tens only 0-3.
  const QString kSubstitutes = QStringLiteral("LMNPQRSTUV");
  for (int i : {6, 7, 10, 12, 13, 14}) {
    for (QChar s : kSubstitutes) {
      QString first15 = QStringLiteral("RSSMRA80A11H501");
      first15[i] = s;
      cases.push_back({withCheck(first15), true});
    }
  }
  for (QChar s : kSubstitutes.left(4)) {
    QString first15 = QStringLiteral("RSSMRA80A01H501");
    first15[9] = s;
    cases.push_back({withCheck(first15), true});
  }
  for (const char* c : kValidCodFisc) cases.push_back({QString::fromLatin1(c), true});

  for (const Case& c : cases) {
    SCOPED_TRACE(c.code.toStdString());
    EXPECT_EQ(codFiscShapeValid(c.code), c.valid);
    if (c.valid)
      expectValid(checkCodFisc(c.code), kCfValid);
    else
      expectInvalid(checkCodFisc(c.code), kCfWrong);
  }
}

TEST(CodFisc, CheckCharacter) {
  EXPECT_EQ(codFiscCheckChar(u"RSSMRA80A01H501"), QChar(u'U'));
  // Only the first 15 characters count.
  EXPECT_EQ(codFiscCheckChar(u"RSSMRA80A01H501XYZ"), QChar(u'U'));
  // The seven characters between digits and letters are worth 0 in both tables.
  EXPECT_EQ(codFiscCheckChar(u":::::::::::::::"), QChar(u'A'));
  EXPECT_TRUE(codFiscCheckChar(u"RSSMRA80A01H50").isNull());
  EXPECT_TRUE(codFiscCheckChar(u"RSSMRA80A01H5[1").isNull());
  EXPECT_TRUE(codFiscCheckChar(u"rssmra80a01h501").isNull());  // callers upper-case first
}

TEST(CodFisc, EdgeCases) {
  struct Case {
    const char16_t* text;
    Outcome outcome;
  };
  const Case cases[] = {
      {u"", Outcome::Incomplete},
      {u"RSSMRA80A01H501", Outcome::Incomplete},
      // A text put in by the caller is not cut to 16 characters.
      {u"RSSMRA80A01H501UX", Outcome::Incomplete},
      // No trimming: the blank makes 17 characters.
      {u" RSSMRA80A01H501U", Outcome::Incomplete},
      // 16 characters with one outside "0".."Z" (blank, punctuation, accented
      // letter, sharp s that upper-cases to two letters elsewhere).
      {u"RSSMRA80A01H501 ", Outcome::Incomplete},
      {u"RSSMRA80A01H5-1U", Outcome::Incomplete},
      {u"RSSMR\u00C080A01H501U", Outcome::Incomplete},
      {u"RSSMRA80A01H501\u00DF", Outcome::Incomplete},
      {u"RSSMRA80A01H501[", Outcome::Incomplete},
      // A digit as 16th character never matches.
      {u"RSSMRA80A01H5010", Outcome::Invalid},
      // : ; < = > ? @ are inside the tables' run but stand in no tax code.
      {u"RSS:RA80A01H501I", Outcome::Invalid},
      {u"rss:ra80a01h501i", Outcome::Invalid},
      {u"rssmra80a01h501u", Outcome::Valid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
    const CheckResult r = checkCodFisc(c.text);
    EXPECT_EQ(r.outcome, c.outcome);
    if (c.outcome == Outcome::Incomplete) expectIncomplete(r, kCfLength);
  }
}

TEST(CodFisc, DigitsOnlyCodesGoToTheVatCheck) {
  EXPECT_TRUE(codFiscGoesToPartitaIva(u"00743110157"));
  EXPECT_TRUE(codFiscGoesToPartitaIva(u"1234567890123456"));
  EXPECT_FALSE(codFiscGoesToPartitaIva(u""));
  EXPECT_FALSE(codFiscGoesToPartitaIva(u"RSSMRA80A01H501U"));
  EXPECT_FALSE(codFiscGoesToPartitaIva(u"0074311 0157"));
  EXPECT_FALSE(codFiscGoesToPartitaIva(u"\u0660\u0661"));  // other scripts' digits
}

// ---- VAT number ----------------------------------------------------------

const QString kIvaLength = QStringLiteral(
    "Attenzione: la partita IVA deve essere composta da 11 caratteri numerici.");
const QString kIvaWrong = QStringLiteral(
    "Attenzione: il numero di partita IVA digitato risulta ERRATO!\r\n\r\n"
    "Non \u00E8 quindi possibile fornire informazioni relative all'Ufficio IVA che lo ha "
    "rilasciato.");

QString ivaValidMessage(const QString& office) {
  return QStringLiteral("Il numero di partita IVA digitato risulta VALIDO.") + kCrLf2 +
         QStringLiteral("E' stato rilasciato dall'Ufficio IVA del Comune di ") + office + u'.';
}

TEST(PartitaIva, ValidNumbersNameTheirOffice) {
  struct Case {
    const char* number;
    const char16_t* office;
  };
  const Case cases[] = {
      {"01234560017", u"Torino"},
      {"00743110157", u"Milano 1"},
      {"11111111024", u"Napoli 2"},
      {"12345671205", u"Bologna 2"},  // 120 repeats 101
      {"12345671213", u"Napoli 2"},   // 121 repeats 102
      {"12345671502", u""},           // 150: no office
      {"12345670009", u""},           // 000: no office
      {"00000000000", u""},
  };
  for (const Case& c : cases) {
    const QString number = QString::fromLatin1(c.number);
    SCOPED_TRACE(c.number);
    const QString office = QString::fromUtf16(c.office);
    const CheckResult r = checkPartitaIva(number);
    expectValid(r, ivaValidMessage(office));
    EXPECT_EQ(r.office, office);
    for (int i = 0; i < number.size(); ++i) {
      SCOPED_TRACE(i);
      expectInvalid(checkPartitaIva(mutated(number, i)), kIvaWrong);
    }
  }
  // The message with no office ends "... del Comune di ."
  EXPECT_TRUE(checkPartitaIva(u"12345671502").message.endsWith(u"del Comune di ."));
}

TEST(PartitaIva, EdgeCases) {
  struct Case {
    const char16_t* text;
    Outcome outcome;
  };
  const Case cases[] = {
      {u"", Outcome::Incomplete},
      {u"0123456001", Outcome::Incomplete},
      {u"012345600171", Outcome::Incomplete},
      {u"1234567890123456", Outcome::Incomplete},  // a numeric tax code sent here
      {u" 01234560017", Outcome::Incomplete},      // no trimming: 12 characters
      {u" 0123456001", Outcome::Invalid},          // a blank the caller put in
      {u"0123456001A", Outcome::Invalid},
      {u"0123456 017", Outcome::Invalid},
      {u"012345600-7", Outcome::Invalid},
      {u"\u0660123456001\u0667", Outcome::Invalid},  // only 0-9 are digits
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
    const CheckResult r = checkPartitaIva(c.text);
    if (c.outcome == Outcome::Incomplete) expectIncomplete(r, kIvaLength);
    if (c.outcome == Outcome::Invalid) expectInvalid(r, kIvaWrong);
    EXPECT_TRUE(r.office.isEmpty());
  }
}

TEST(PartitaIva, OfficeTable) {
  int named = 0;
  for (int code = 0; code < 1000; ++code) {
    if (!ufficioIva(QString::asprintf("%03d", code)).isEmpty()) ++named;
  }
  EXPECT_EQ(named, 104);
  // The first and last code of each column of the table, and the gaps.
  const std::pair<const char16_t*, const char16_t*> spots[] = {
      {u"001", u"Torino"},           {u"026", u"Treviso"},
      {u"027", u"Venezia"},          {u"040", u"Forl\u00EC"},
      {u"052", u"Siena"},            {u"053", u"Grosseto"},
      {u"078", u"Cosenza"},          {u"079", u"Catanzaro"},
      {u"096", u"Monza (Milano 2)"}, {u"099", u"Chiavari (Genova 2)"},
      {u"101", u"Bologna 2"},        {u"102", u"Napoli 2"},
      {u"120", u"Bologna 2"},        {u"121", u"Napoli 2"},
      {u"000", u""},                 {u"103", u""},
      {u"119", u""},                 {u"122", u""},
      {u"999", u""},                 {u"01", u""},
      {u"1A1", u""},
  };
  for (const auto& [code, office] : spots) {
    EXPECT_EQ(ufficioIva(code), QString::fromUtf16(office)) << QString::fromUtf16(code).toStdString();
  }
}

// ---- Credit card ---------------------------------------------------------

const QString kCartaEmpty = QStringLiteral(
    "Attenzione: immettere il numero di carta di credito prima di premere il pulsante di "
    "controllo.");
const QString kCartaWrong = QStringLiteral(
    "Attenzione: il numero digitato risulta ERRATO!\r\n\r\n"
    "Non \u00E8 quindi possibile fornire informazioni relative al tipo di carta di credito.");

QString cartaValidMessage(const QString& text, const QString& circuit) {
  return QStringLiteral("Il numero di carta di credito ") + text +
         QStringLiteral(" risulta valido.") + kCrLf2 +
         QStringLiteral("La carta di credito \u00E8 del tipo ") + circuit + u'.';
}

TEST(Carta, ValidNumbersAndTheirCircuit) {
  struct Case {
    const char* number;
    const char* circuit;
  };
  const Case cases[] = {
      {"4111111111111111", "Visa"},
      {"4012888888881881", "Visa"},
      {"5555555555554444", "MasterCard"},
      {"6011111111111117", "Discover"},
      {"378282246310005", "American Express"},
      {"371449635398431", "American Express"},
      {"30569309025904", "Diner's Club / Carte Blanche"},
      {"38520000023237", "Diner's Club / Carte Blanche"},
      {"3614890064798", "Diner's Club / Carte Blanche"},
      {"3530111333300000", "JCB"},
      {"310000000000005", "JCB"},
      {"3300000000000001", "JCB"},
  };
  for (const Case& c : cases) {
    const QString number = QString::fromLatin1(c.number);
    const QString circuit = QString::fromLatin1(c.circuit);
    SCOPED_TRACE(c.number);
    const CheckResult r = checkCarta(number);
    expectValid(r, cartaValidMessage(number, circuit));
    EXPECT_EQ(r.circuit, circuit);
    for (int i = 0; i < number.size(); ++i) {
      SCOPED_TRACE(i);
      const CheckResult m = checkCarta(mutated(number, i));
      expectInvalid(m, kCartaWrong);
      EXPECT_TRUE(m.circuit.isEmpty());
    }
  }
}

TEST(Carta, SeparatorsAndTheTwentyCharacterScan) {
  // Tested on the digits alone; the message repeats the trimmed text as typed.
  for (const char16_t* text : {u"4111 1111 1111 1111", u"4111-1111-1111-1111",
                               u"4111 1111 1111 1111 \t",
                               // 21 characters: the last digit is never looked at.
                               u"4111 1111 1111 1111 5"}) {
    const QString t = QString::fromUtf16(text);
    SCOPED_TRACE(t.toStdString());
    expectValid(checkCarta(t), cartaValidMessage(t.trimmed(), QStringLiteral("Visa")));
  }
  // Whole, the digits pass; the first 20 characters hold only 14 of them.
  expectInvalid(checkCarta(u"4111  1111  1111  1111"), kCartaWrong);
  EXPECT_EQ(cartaCode(u"4111111111111111"), 2);
  EXPECT_EQ(cartaCode(u"4111  1111  1111  1111"), 0);
}

TEST(Carta, WrongNumbers) {
  struct Case {
    const char16_t* text;
    int code;
  };
  const Case cases[] = {
      {u"4111111111111112", 0},  // wrong check digit
      {u"2221000000000009", 0},  // right check digit, begins with 2
      {u"0", -2},                // passes Luhn, begins with 0
      {u"79927398713", 5},       // passes Luhn, begins with 7
      {u"9", 0},
      {u"ABCD", 0},              // no digits
      {u"-", 0},
      // Begins with 3, right check digit, but no listed prefix.
      {u"3200000000000002", 1},
      {u"3900000000000005", 1},
      {u"3 0569309025904", 1},
      {u"3-0569309025904", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
    EXPECT_EQ(cartaCode(c.text), c.code);
    const CheckResult r = checkCarta(c.text);
    expectInvalid(r, kCartaWrong);
    EXPECT_TRUE(r.circuit.isEmpty());
  }
}

TEST(Carta, EmptyOrBlanksAsksForTheNumber) {
  for (const char16_t* text : {u"", u"   ", u" \t\r\n"}) expectIncomplete(checkCarta(text), kCartaEmpty);
}

// ---- IBAN ----------------------------------------------------------------

const QString kIbanLength = QStringLiteral(
    "Attenzione: l'IBAN deve essere composto da 27 caratteri alfanumerici.");
const QString kIbanValid = QStringLiteral("L'IBAN digitato \u00E8 VALIDO.");
const QString kIbanWrong = QStringLiteral("Attenzione: l'IBAN digitato \u00E8 ERRATO!");

TEST(Iban, ValidIbansAndEveryAdjacentSwap) {
  const char* const ibans[] = {
      "IT60X0542811101000000123456",
      "SM86U0322509800000000270100",
      "FR1420041010050500013M02606",  // other countries of the same length
      "MC5811222000010123456789030",
  };
  for (const char* c : ibans) {
    const QString iban = QString::fromLatin1(c);
    SCOPED_TRACE(c);
    expectValid(checkIban(iban), kIbanValid);
    expectValid(checkIban(iban.toLower()), kIbanValid);
    for (int i = 0; i + 1 < iban.size(); ++i) {
      if (iban[i] == iban[i + 1]) continue;
      QString swapped = iban;
      std::swap(swapped[i], swapped[i + 1]);
      SCOPED_TRACE(swapped.toStdString());
      expectInvalid(checkIban(swapped), kIbanWrong);
    }
    for (int i = 0; i < iban.size(); ++i) {
      SCOPED_TRACE(i);
      expectInvalid(checkIban(mutated(iban, i)), kIbanWrong);
    }
  }
}

TEST(Iban, EdgeCases) {
  struct Case {
    const char16_t* text;
    Outcome outcome;
  };
  const Case cases[] = {
      {u"", Outcome::Incomplete},
      {u"IT60X054281110100000012345", Outcome::Incomplete},
      {u"IT60X05428111010000001234567", Outcome::Incomplete},
      // Grouped by blanks: the length counts the blanks.
      {u"IT60 X054 2811 1010 0000 0123 456", Outcome::Incomplete},
      // Trimmed before the length is counted.
      {u"  IT60X0542811101000000123456 \t", Outcome::Valid},
      // 27 characters with blanks inside: tested without them.
      {u"DE89 3704 0044 0532 0130 00", Outcome::Valid},
      {u"GB82 WEST 1234 5698 7654 32 ", Outcome::Valid},
      {u"GB82 WEST 1234 5698 7654  32", Outcome::Incomplete},
      // The first "IBAN" is removed.
      {u"IBAN DE89370400440532013000", Outcome::Valid},
      {u"iban de89370400440532013000", Outcome::Valid},
      // A hyphen, a slash, a letter outside A-Z.
      {u"IT60X0542811101000000-23456", Outcome::Invalid},
      {u"IT60X0542811101000000/23456", Outcome::Invalid},
      {u"IT60X054281110100000\u00C0123456", Outcome::Invalid},
      {u"IT60X0542811101000000123\t56", Outcome::Invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
    const CheckResult r = checkIban(c.text);
    switch (c.outcome) {
      case Outcome::Incomplete: expectIncomplete(r, kIbanLength); break;
      case Outcome::Invalid: expectInvalid(r, kIbanWrong); break;
      case Outcome::Valid: expectValid(r, kIbanValid); break;
    }
  }
}

TEST(Iban, LeftoversWithoutTheShapeOfAnIbanAreWrong) {
  // Blanks inside a 27-character text leave "01", "IT43" or "IT43" after "IBAN":
  // each has remainder 1, yet none is an IBAN (no country code, check digits and
  // account together).
  const QString texts[] = {
      u'0' + QString(25, u' ') + u'1',
      QStringLiteral("IT") + QString(23, u' ') + QStringLiteral("43"),
      QStringLiteral("IBAN") + QString(19, u' ') + QStringLiteral("IT43"),
  };
  for (const QString& t : texts) {
    ASSERT_EQ(t.size(), 27);
    expectInvalid(checkIban(t), kIbanWrong);
  }
  EXPECT_TRUE(ibanValid(u"DE89370400440532013000"));
  EXPECT_FALSE(ibanValid(u"IBAN"));
  EXPECT_FALSE(ibanValid(u""));
}

// COUNTRY + the check digits that give remainder 1 + BBAN.
QString withCheckDigits(const QString& country, const QString& bban) {
  int r = 0;
  for (QChar c : bban + country + QStringLiteral("00")) {
    if (c.isDigit())
      r = (r * 10 + c.digitValue()) % 97;
    else
      r = (r * 100 + (c.unicode() - u'A' + 10)) % 97;
  }
  return country + QStringLiteral("%1").arg(98 - r, 2, 10, QLatin1Char('0')) + bban;
}

// An Italian or San Marino IBAN whose remainder is right but whose shape no
// account has (CIN letter, ABI and CAB digits, twelve letters or digits) is as
// wrong as one with a bad remainder. Other countries have the remainder test
// only; the check digits are digits everywhere.
TEST(Iban, ItalianShapeBeforeTheRemainder) {
  const QString kBban = QStringLiteral("X0542811101000000123456");
  ASSERT_EQ(withCheckDigits(QStringLiteral("IT"), kBban), QStringLiteral("IT60X0542811101000000123456"));

  struct Case {
    QString iban;
    bool valid;
  };
  std::vector<Case> cases = {
      // Typos that pass the remainder test alone.
      {QStringLiteral("IT71B13V3423351IYD7OYBMB7LH"), false},
      {QStringLiteral("it71b13v3423351iyd7oybmb7lh"), false},
      {QStringLiteral("SM86U0322509800000000270100"), true},
      // Letters as check digits, remainder 1 all the same.
      {QStringLiteral("FRAA20041010050500013M02606"), false},
      {QStringLiteral("FR1V20041010050500013M02606"), false},
      {QStringLiteral("ITGXX0542811101000000123456"), false},
      {QStringLiteral("ITA6X0542811101000000123456"), false},
      // The same typo elsewhere keeps the remainder test only.
      {withCheckDigits(QStringLiteral("FR"), QStringLiteral("B13V3423351IYD7OYBMB7LH")), true},
      // 27 characters with blanks are fewer without them: no Italian IBAN.
      {withCheckDigits(QStringLiteral("IT"), QStringLiteral("X05428111010000001")), false},
  };
  cases.back().iban.insert(4, u' ').insert(9, u' ').insert(14, u' ').insert(19, u' ').insert(24, u' ');
  // A letter at every position after the check digits, a digit as the CIN.
  const std::pair<QString, bool> countries[] = {
      {QStringLiteral("IT"), true}, {QStringLiteral("SM"), true}, {QStringLiteral("DE"), false}};
  for (const auto& [country, shaped] : countries) {
    for (int i = 0; i < kBban.size(); ++i) {
      QString bban = kBban;
      bban[i] = u'K';
      const bool bankDigit = i >= 1 && i <= 10;
      cases.push_back({withCheckDigits(country, bban), !shaped || !bankDigit});
    }
    QString bban = kBban;
    bban[0] = u'7';
    cases.push_back({withCheckDigits(country, bban), !shaped});
  }

  for (const Case& c : cases) {
    SCOPED_TRACE(c.iban.toStdString());
    ASSERT_EQ(c.iban.size(), fondaro::checks::kIbanLength);
    EXPECT_EQ(ibanValid(c.iban), c.valid);
    if (c.valid)
      expectValid(checkIban(c.iban), kIbanValid);
    else
      expectInvalid(checkIban(c.iban), kIbanWrong);
  }
  // The shape is looked at once the blanks are gone.
  EXPECT_TRUE(ibanValid(u"IT60 X054 2811 1010 0000 0123 456"));
}

// ---- By kind -----------------------------------------------------------------

TEST(Windows, EveryKindDispatchesToItsCheck) {
  const std::pair<Kind, const char16_t*> cases[] = {
      {Kind::CodFisc, u"RSSMRA80A01H501U"},
      {Kind::PartitaIva, u"00743110157"},
      {Kind::Carta, u"4111111111111111"},
      {Kind::Iban, u"IT60X0542811101000000123456"},
  };
  for (const auto& [kind, valid] : cases) {
    EXPECT_EQ(check(kind, valid).outcome, Outcome::Valid);
    EXPECT_EQ(check(kind, u"").outcome, Outcome::Incomplete);
  }
}

}  // namespace
