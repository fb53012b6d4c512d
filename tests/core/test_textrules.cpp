// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDate>

#include "core/guidetext.h"
#include "core/textrules.h"

using namespace fondaro;

TEST(AmountNormalisation, ExampleTable) {
  const struct {
    const char16_t* typed;
    const char16_t* result;
  } cases[] = {
      {u"5", u"5,00"},          {u"12,5", u"12,50"},     {u",5", u"0,50"},
      {u"0", u"0,00"},          {u"007", u"7,00"},       {u"12,", u"12,00"},
      {u"1234,567", u"1234,57"}, {u"0,125", u"0,13"},    {u"1,005", u"1,00"},
      {u"0,015", u"0,01"},      {u"12,345", u"12,35"},   {u"1.234,50", u"0,00"},
      // Further cases of the same rules.
      {u"", u"0,00"},           {u"   ", u"0,00"},       {u"1234567", u"1234567,00"},
      {u"0,10", u"0,10"},       {u"2,999", u"3,00"},     {u"12,3,4", u"0,00"},
      {u"abc", u"0,00"},        {u" 42 ", u"42,00"},     {u"1e3", u"1000,00"},
      {u"99999999999,99", u"99999999999,99"},
      {u"0,004", u"0,00"},      {u"0,005", u"0,01"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(normaliseAmount(QStringView(c.typed)), QString::fromUtf16(c.result))
        << QString::fromUtf16(c.typed).toStdString();
  }
}

TEST(AmountNormalisation, PastedNegativeAndHugeNumbersKeepTheGeneralForm) {
  // The editor refuses these when saving; the rule itself writes them as is.
  // Half up toward zero on a negative value: -5 becomes -4,99.
  EXPECT_EQ(normaliseAmount(u"-5"), QStringLiteral("-4,99"));
  EXPECT_EQ(normaliseAmount(u"1E15"), QStringLiteral("1E15,00"));
  EXPECT_EQ(normaliseAmount(u"1E400"), QStringLiteral("0,00"));  // overflow is a parse failure
}

TEST(NumberParsing, AcceptsOnlyTheCommaForm) {
  const struct {
    const char16_t* text;
    bool ok;
    double value;
  } cases[] = {
      {u"12,5", true, 12.5},   {u"12,", true, 12},       {u",5", true, 0.5},
      {u"  +3", true, 3},      {u"-1250,00", true, -1250}, {u"+1250,00", true, 1250},
      {u"1E3", true, 1000},    {u"2,5e-1  ", true, 0.25}, {u"1e+2", true, 100},
      {u"", false, 0},         {u"  ", false, 0},        {u",", false, 0},
      {u"1.5", false, 0},      {u"1.234,5", false, 0},   {u"1 000", false, 0},
      {u"12a", false, 0},      {u"+", false, 0},         {u"1e", false, 0},
      {u"e5", false, 0},       {u"--1", false, 0},       {u"0x10", false, 0},
      {u"inf", false, 0},      {u"nan", false, 0},       {u"\u0661", false, 0},  // Arabic-Indic one
      {u"1,2,3", false, 0},    {u"1e999", false, 0},     {u"\t1", false, 0},
  };
  for (const auto& c : cases) {
    const auto v = parseNumber(QStringView(c.text));
    EXPECT_EQ(v.has_value(), c.ok) << QString::fromUtf16(c.text).toStdString();
    if (v && c.ok) {
      EXPECT_DOUBLE_EQ(*v, c.value);
    }
  }
}

TEST(NumberParsing, ReadsInExtendedPrecisionThenRoundsToDouble) {
  EXPECT_EQ(*parseNumber(u"0,1"), 0.1);
  EXPECT_EQ(*parseNumber(u"1,005"), 1.005);
  EXPECT_EQ(*parseNumber(u"123456789012345678"), 123456789012345678.0);
}

TEST(NumberFormatting, GeneralForm) {
  const struct {
    double v;
    const char* text;
  } cases[] = {
      {12.5, "12,5"},       {1250, "1250"},          {0.29, "0,29"},
      {0, "0"},             {-0.0, "0"},             {-1250.5, "-1250,5"},
      {0.1, "0,1"},         {1e15, "1E15"},          {1.5e20, "1,5E20"},
      {999999999999999, "999999999999999"},          {0.00001, "0,00001"},
      {0.000001, "1E-6"},   {1234.57, "1234,57"},    {1.0 / 3, "0,333333333333333"},
      {100000000000.01, "100000000000,01"},          {-2.5e-7, "-2,5E-7"},
      {123456789012345678.0, "1,23456789012346E17"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(formatGeneral(c.v), QString::fromLatin1(c.text)) << c.text;
  }
}

TEST(AmountTexts, RecogniseTheStoredForms) {
  for (const char* good : {"0,00", "12,50", "1250,00"}) {
    EXPECT_TRUE(isAmountText(QString::fromLatin1(good))) << good;
    EXPECT_TRUE(isSignedAmountText(QStringLiteral("+") + QString::fromLatin1(good)));
    EXPECT_TRUE(isSignedAmountText(QStringLiteral("-") + QString::fromLatin1(good)));
  }
  for (const char* bad : {"", ",00", "12,5", "12,500", "12.50", "+12,50", "1 250,00", "12,5a", "1E15,00"}) {
    EXPECT_FALSE(isAmountText(QString::fromLatin1(bad))) << bad;
  }
  for (const char* bad : {"12,50", "+", "+-4,99", "++1,00", " +1,00"}) {
    EXPECT_FALSE(isSignedAmountText(QString::fromLatin1(bad))) << bad;
  }
  EXPECT_EQ(signedAmount(true, u"1250,00"), QStringLiteral("+1250,00"));
  EXPECT_EQ(signedAmount(false, u"1250,00"), QStringLiteral("-1250,00"));
}

TEST(Dates, ValidityTest) {
  const struct {
    const char* text;
    bool valid;
  } cases[] = {
      {"29/02/2024", true},  {"31/02/2024", false}, {"29/02/2023", false},
      {"31/04/2024", false}, {"30/04/2024", true},  {"05/03/2024", true},
      {"5/3/2024", true},    {"01/01/0001", true},  {"31/12/9999", true},
      {"", false},           {"05/03/24", false},   {"05/03", false},
      {"05-03-2024", false}, {"05/03/2024 ", false}, {" 05/03/2024", false},
      {"00/03/2024", false}, {"05/13/2024", false}, {"05/00/2024", false},
      {"005/03/2024", false}, {"05/03/02024", false}, {"01/01/0000", false},
      {"29/02/1900", false}, {"29/02/2000", true},  {"a5/03/2024", false},
      {"05//2024", false},   {"05/03/2024/", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(isValidDate(QString::fromLatin1(c.text)), c.valid) << c.text;
  }
  EXPECT_EQ(parseDate(u"5/3/2024"), QDate(2024, 3, 5));
}

// The year windows and the tool take a year by one rule: four ASCII digits.
TEST(Years, FourAsciiDigitsOnly) {
  const struct {
    QStringView text;
    bool year;
  } cases[] = {
      {u"2024", true},  {u"0000", true},   {u"9999", true},  {u"", false},
      {u"202", false},  {u"20245", false}, {u" 2024", false}, {u"2024 ", false},
      {u"20a4", false}, {u"-024", false},  {u"\u0662\u0660\u0662\u0664", false},  // Arabic-Indic digits
  };
  for (const auto& c : cases) EXPECT_EQ(isYearText(c.text), c.year) << c.text.toString().toStdString();
  EXPECT_EQ(yearTextNeeded().kind, NoticeKind::Warning);
  EXPECT_EQ(yearTextNeeded().text, u"Attenzione: indicare l'anno solare utilizzando quattro cifre.");
}

TEST(Dates, Formatting) {
  EXPECT_EQ(formatDate(QDate(2024, 3, 5)), QStringLiteral("05/03/2024"));
  EXPECT_EQ(formatDate(QDate(987, 12, 31)), QStringLiteral("31/12/0987"));
  EXPECT_EQ(todayText(), formatDate(QDate::currentDate()));
  EXPECT_TRUE(isValidDate(todayText()));
}

TEST(InOutDisplay, TextAndColour) {
  EXPECT_EQ(inOutDisplay(true).text, QStringLiteral("Importo in entrata: \u20AC"));
  EXPECT_EQ(inOutDisplay(true).argb, 0xFF000000u);
  EXPECT_EQ(inOutDisplay(false).text, QStringLiteral("Importo in uscita: \u20AC"));
  EXPECT_EQ(inOutDisplay(false).argb, 0xFFFF0000u);
}

namespace fondaro {
namespace {

TEST(AsciiCase, OnlyTheTwentySixLettersChange) {
  EXPECT_EQ(upperAscii(u"caff\u00E8 zA-1"), u"CAFF\u00E8 ZA-1"_qs);
  EXPECT_EQ(lowerAscii(u"CAFF\u00C8 Za-1"), u"caff\u00C8 za-1"_qs);
  EXPECT_EQ(upperAscii(u"@[`{"), u"@[`{"_qs);  // the neighbours of the letters
  EXPECT_EQ(lowerAscii(u"@[`{"), u"@[`{"_qs);
}

TEST(GuideText, ParagraphsAreSeparatedByEmptyLines) {
  const struct {
    const char16_t* text;
    QStringList paragraphs;
  } cases[] = {
      {u"Uno\r\ndue  tre\r\n\r\n  \r\nQuattro\n", {u"Uno due tre"_qs, u"Quattro"_qs}},
      {u"\uFEFFPrimo\n\n\n\nSecondo", {u"Primo"_qs, u"Secondo"_qs}},
      {u"\n \t\n", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(guideParagraphs(c.text), c.paragraphs);
}

}  // namespace
}  // namespace fondaro
