// SPDX-License-Identifier: GPL-3.0-or-later
// The rules every statement reader shares: amounts and dates as banks write
// them, and the format told by a file's content.
#include <gtest/gtest.h>

#include "core/statement.h"
#include "statement_samples.h"

namespace fondaro {
namespace {

using testing::camt;
using testing::ofx1;
using testing::ofx2;

TEST(BankRules, Amounts) {
  const struct {
    const char16_t* text;
    std::optional<qint64> cents;
  } cases[] = {
      {u"1.234,56", 123456}, {u"-1.234,56", -123456}, {u"1234.56", 123456},  {u"1234,5", 123450},
      {u"+12", 1200},        {u"1.234", 123400},      {u"1.234.567", 123456700}, {u"1,234.56", 123456},
      {u"€ 1.234,56", 123456}, {u"12,00 EUR", 1200},  {u"12,30-", -1230},     {u"0,10", 10},
      {u"12,300", 1230},     {u"999999999999,99", 99999999999999},
      {u"", std::nullopt},   {u"abc", std::nullopt},  {u"1.23.4", std::nullopt}, {u"1,234,5", std::nullopt},
      {u",50", std::nullopt}, {u"1,2,3", std::nullopt}, {u"1234567890123", std::nullopt}, {u"12,345", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(parseBankAmount(c.text), c.cents) << QString::fromUtf16(c.text).toStdString();
  }
  bool fraction = false;
  EXPECT_EQ(parseBankAmount(u"12,345", &fraction), 1234);
  EXPECT_TRUE(fraction);
  EXPECT_EQ(centsText(-123456), u"1234,56");
  EXPECT_EQ(centsText(5), u"0,05");
}

TEST(BankRules, Dates) {
  using S = BankDate::Status;
  const struct {
    const char16_t* text;
    S status;
    QDate date;
  } cases[] = {
      {u"05/01/2024", S::Ok, {2024, 1, 5}},  {u"5/1/24", S::Ok, {2024, 1, 5}},
      {u"2024-01-05", S::Ok, {2024, 1, 5}},  {u"05.01.2024", S::Ok, {2024, 1, 5}},
      {u"05/01/2024 10:30", S::Ok, {2024, 1, 5}}, {u"2024-01-05T10:30:00+01:00", S::Ok, {2024, 1, 5}},
      {u"31/02/2024", S::Bad, {}},           {u"00/01/2024", S::Bad, {}},
      {u"Saldo finale", S::NotADate, {}},    {u"", S::NotADate, {}},
      {u"01/2024", S::NotADate, {}},         {u"05/01/202", S::NotADate, {}},
  };
  for (const auto& c : cases) {
    const BankDate d = parseBankDate(c.text);
    EXPECT_EQ(d.status, c.status) << QString::fromUtf16(c.text).toStdString();
    EXPECT_EQ(d.date, c.date) << QString::fromUtf16(c.text).toStdString();
  }
}

TEST(BankRules, FormatDetection) {
  EXPECT_EQ(detectStatementFormat(camt(QStringLiteral("02"), {})), StatementFormat::Camt);
  EXPECT_EQ(detectStatementFormat(ofx1({})), StatementFormat::Ofx);
  EXPECT_EQ(detectStatementFormat(ofx2({})), StatementFormat::Ofx);
  EXPECT_EQ(detectStatementFormat("\xEF\xBB\xBF" "Data;Importo\n"), StatementFormat::Csv);
  EXPECT_EQ(detectStatementFormat("<?xml version=\"1.0\"?><html/>"), std::nullopt);
}

}  // namespace
}  // namespace fondaro
