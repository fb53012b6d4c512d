// SPDX-License-Identifier: GPL-3.0-or-later
// Numbers written as a run of digits, read once for the copies answer, the
// days of notice and the journal's amounts.
#include <gtest/gtest.h>

#include "core/textrules.h"

using namespace fondaro;

TEST(DigitsValue, DigitsOnlyAnyLengthBoundedByTheLimit) {
  const struct {
    const char16_t* text;
    qint64 limit;
    std::optional<qint64> value;
  } cases[] = {
      {u"", 10, std::nullopt},
      {u"0", 10, 0},
      {u"007", 10, 7},
      {u"10", 10, 10},
      {u"11", 10, 11},  // above: limit + 1
      {u"99999999999999999999999999", 999, 1000},
      {u"00000000000000000000000042", 999, 42},
      {u"9223372036854775807", std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::max()},
      {u"99999999999999999999", std::numeric_limits<qint64>::max() - 1, std::numeric_limits<qint64>::max()},
      {u" 5", 10, std::nullopt},
      {u"5 ", 10, std::nullopt},
      {u"+5", 10, std::nullopt},
      {u"-5", 10, std::nullopt},
      {u"5,0", 10, std::nullopt},
      {u"99999999999999999999x", 10, std::nullopt},  // a letter after the limit is still refused
      {u"\u0665", 10, std::nullopt},                 // an Arabic-Indic five
      {u"\uFF15", 10, std::nullopt},                 // a full-width five
      {u"\u00B2", 10, std::nullopt},                 // a superscript two
  };
  for (const auto& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(digitsValue(text, c.limit), c.value) << text.toStdString();
    // The stored bytes of a Windows-1252 field read the same where they can be written.
    if (text.size() == text.toLatin1().size()) {
      EXPECT_EQ(digitsValue(QByteArrayView(text.toLatin1()), c.limit), c.value) << text.toStdString();
    }
  }
  // Byte 0xB2 is the superscript two in the code page, not a digit.
  EXPECT_EQ(digitsValue(QByteArrayView("\xB2"), 10), std::nullopt);
}
