// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QString>
#include <random>

#include "core/crypt.h"

using namespace fondaro;

TEST(Crypt, ScramblesTheFirstAccessPasswordToItsShippedValue) {
  // The value of the password file that ships with the program.
  EXPECT_EQ(Crypt::Scramble(u"BENVENUTOPRIMO"), QStringLiteral("EAEC68E957099EF8C1FDB9EA0016"));
  EXPECT_EQ(Crypt::Scramble(u"\u00E0BC"), QStringLiteral("48B861"));
  EXPECT_EQ(Crypt::Scramble(u""), QString());
}

TEST(Crypt, OnlyTheLowEightBitsOfACharacterCount) {
  EXPECT_EQ(Crypt::Scramble(u"\u0141"), Crypt::Scramble(u"A"));  // U+0141 has low byte 0x41
}

TEST(Crypt, RoundTripsEveryLengthOverTheWholeAlphabet) {
  std::mt19937 rng(20240315);
  std::uniform_int_distribution<int> code(0x01, 0xFF);
  const QRegularExpression twoHexPerChar(QStringLiteral("^[0-9A-F]*$"));
  for (int n = 1; n <= 255; ++n) {
    QString p;
    for (int i = 0; i < n; ++i) p.append(QChar(char16_t(code(rng))));
    if (n >= 2) {  // make sure both ends of the alphabet occur
      p[0] = QChar(char16_t(0x01));
      p[n - 1] = QChar(char16_t(0xFF));
    }
    const QString s = Crypt::Scramble(p);
    ASSERT_EQ(s.size(), 2 * n) << n;
    ASSERT_TRUE(twoHexPerChar.match(s).hasMatch()) << n;
    ASSERT_EQ(Crypt::Unscramble(s), p) << n;
    ASSERT_EQ(Crypt::Unscramble(s.toLower()), p) << "lower-case digits, n=" << n;
  }
}

TEST(Crypt, IgnoresALastOddDigit) {
  const QString s = Crypt::Scramble(u"ROSSI");
  EXPECT_EQ(Crypt::Unscramble(s + u'7'), QStringLiteral("ROSSI"));
  EXPECT_EQ(Crypt::Unscramble(s + u'Z'), QStringLiteral("ROSSI"));  // never looked at
  EXPECT_EQ(Crypt::Unscramble(u"E"), QString());
}

TEST(Crypt, RefusesAPairThatIsNotHexadecimal) {
  const QString good = Crypt::Scramble(u"AB");
  struct Case {
    QString value;
    qsizetype pair;
  } cases[] = {
      {u"ZZ"_qs, 0},       {u"G0"_qs, 0},      {u"0G"_qs, 0},
      {good + u"-1"_qs, 2}, {good + u"+F"_qs, 2}, {good + u" 1"_qs, 2},
      {u"4\u00E9"_qs, 0},  {u"\uFF10\uFF11"_qs, 0},  // full-width digits are no hex digits
  };
  for (const Case& c : cases) {
    try {
      Crypt::Unscramble(c.value);
      ADD_FAILURE() << c.value.toStdString();
    } catch (const CryptError& e) {
      EXPECT_EQ(e.pairIndex(), c.pair) << c.value.toStdString();
    }
  }
}

TEST(Password, ComparesUpperCasedTrimmedTypedTextWithTheStoredOne) {
  struct Case {
    const char16_t* stored;  // as it was stored: upper-cased and trimmed
    const char16_t* typed;
    bool matches;
  } cases[] = {
      {u"BENVENUTOPRIMO", u"benvenutoprimo", true},
      {u"BENVENUTOPRIMO", u"BenVenutoPrimo", true},
      {u"BENVENUTOPRIMO", u"  benvenutoprimo\t ", true},
      {u"BENVENUTOPRIMO", u"benvenuto primo", false},
      {u"BENVENUTO PRIMO", u"benvenuto primo", true},   // blanks inside count
      {u"BENVENUTO PRIMO", u"benvenuto  primo", false},
      {u"\u00E0BC", u"\u00E0bc", true},                 // a small accented letter stays small
      {u"\u00E0BC", u"\u00C0BC", false},
      {u"\u00C0BC", u"\u00E0bc", false},
      {u"", u"x", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(passwordMatches(Crypt::Scramble(QStringView(c.stored)), QStringView(c.typed)),
              c.matches)
        << QString::fromUtf16(c.typed).toStdString();
  }
}

TEST(Password, AStoredValueIsTrimmedButNotCaseFoldedWhenCompared) {
  // A value written by hand with blanks around and a small letter.
  EXPECT_TRUE(passwordMatches(Crypt::Scramble(u"  ABC "), u"abc"));
  EXPECT_FALSE(passwordMatches(Crypt::Scramble(u"abc"), u"abc"));
  EXPECT_THROW(passwordMatches(u"XY", u"abc"), CryptError);
}

TEST(Password, RefusesWhatCannotBeStoredToMatchAgain) {
  const QString max(kMaxPasswordLength, u'a');
  EXPECT_EQ(passwordProblem(max), PasswordProblem::None);
  EXPECT_EQ(passwordProblem(u"  "_qs + max + u"  "_qs), PasswordProblem::None);  // measured trimmed
  EXPECT_EQ(passwordProblem(max + u'a'), PasswordProblem::TooLong);
  EXPECT_EQ(passwordProblem(u"caff\u00E8\u00FF"), PasswordProblem::None);
  EXPECT_EQ(passwordProblem(u"prezzo\u20AC"), PasswordProblem::Unstorable);
  EXPECT_EQ(passwordProblem(u"\U0001F600"), PasswordProblem::Unstorable);
}
