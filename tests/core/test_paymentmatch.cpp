// SPDX-License-Identifier: GPL-3.0-or-later
// Which unpaid movement a bank payment settles: the candidates, the ranking
// one to one, and what settling writes. No file is read here; the import that
// writes the settlements has its tests in test_bankimport.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>

#include "core/paymentmatch.h"
#include "core/records.h"

namespace fondaro::matching {
namespace {

using namespace Qt::StringLiterals;

// A stored movement as the editor saves it, unpaid unless told.
struct Stored {
  int year;
  const char* due;
  const char* amount;
  bool in = false;
  const char* party = "";
  const char* saldato = "No";
  const char* ricevuta = "";
};

TMovimento recordOf(const Stored& s) {
  TMovimento r;
  r.Entrata.set(s.in ? u"Sì" : u"No");
  r.Uscita.set(s.in ? u"No" : u"Sì");
  r.DataSca.set(QString::fromUtf8(s.due));
  r.Importo.set(QString::fromUtf8(s.amount));
  (s.in ? r.Pagatore : r.Beneficiario).set(QString::fromUtf8(s.party));
  r.Saldato.set(QString::fromUtf8(s.saldato));
  r.Ricevuta.set(QString::fromUtf8(s.ricevuta));
  return r;
}

struct Paid {
  const char* booked;
  qint64 cents;
  const char* party = "";
};

// For each payment, the movement it settles (index into the stored ones) or -1.
std::vector<int> settle(const std::vector<Stored>& stored, const std::vector<Paid>& paid) {
  std::vector<Unpaid> movements;
  std::vector<int> indexOf;
  for (size_t i = 0; i < stored.size(); ++i) {
    const TMovimento r = recordOf(stored[i]);
    if (auto u = awaitingPayment(reinterpret_cast<const uint8_t*>(&r), stored[i].year, qint64(i) + 1)) {
      movements.push_back(*u);
      indexOf.push_back(int(i));
    }
  }
  std::vector<Payment> payments;
  for (const Paid& p : paid)
    payments.push_back({QDate::fromString(QString::fromUtf8(p.booked), u"dd/MM/yyyy"_s), p.cents, QString::fromUtf8(p.party)});
  const auto chosen = chooseOneToOne(payments, movements);
  std::vector<int> out;
  for (const auto& c : chosen) out.push_back(c ? indexOf[*c] : -1);
  return out;
}

TEST(PaymentMatch, CandidatesAndChoiceAsATable) {
  const struct Case {
    const char* name;
    std::vector<Stored> stored;
    std::vector<Paid> paid;
    std::vector<int> settles;
  } cases[] = {
      {"the exact amount only", {{2024, "01/02/2024", "250,01"}, {2024, "01/02/2024", "250,00"}}, {{"05/02/2024", -25000}}, {1}},
      {"an amount written with one decimal", {{2024, "01/02/2024", "250,5"}}, {{"05/02/2024", -25050}}, {0}},
      {"money out pays a movement out, money in one in",
       {{2024, "01/02/2024", "80,00", true}, {2024, "01/02/2024", "80,00", false}},
       {{"02/02/2024", 8000}, {"02/02/2024", -8000}}, {0, 1}},
      {"due 60 days before the booking date", {{2024, "06/01/2024", "10,00"}}, {{"06/03/2024", -1000}}, {0}},
      {"due 61 days before", {{2024, "05/01/2024", "10,00"}}, {{"06/03/2024", -1000}}, {-1}},
      {"due 30 days after", {{2024, "05/04/2024", "10,00"}}, {{"06/03/2024", -1000}}, {0}},
      {"due 31 days after", {{2024, "06/04/2024", "10,00"}}, {{"06/03/2024", -1000}}, {-1}},
      {"the counterparty first, before the nearer date",
       {{2024, "05/02/2024", "99,00", false, "Bianchi"}, {2024, "20/01/2024", "99,00", false, "Rossi Mario Srl"}},
       {{"05/02/2024", -9900, "ROSSI MARIO"}}, {1}},
      {"two rents a month apart, two payments: each its own month",
       {{2024, "01/02/2024", "700,00"}, {2024, "01/03/2024", "700,00"}},
       {{"02/03/2024", -70000}, {"01/02/2024", -70000}}, {1, 0}},
      {"one payment, two unpaid: the closer one",
       {{2024, "01/01/2024", "40,00"}, {2024, "25/01/2024", "40,00"}}, {{"28/01/2024", -4000}}, {1}},
      {"equally close: the older due date", {{2024, "30/01/2024", "40,00"}, {2024, "26/01/2024", "40,00"}},
       {{"28/01/2024", -4000}}, {1}},
      {"a weekly debit settles its own week, not last week's",
       {{2024, "01/03/2024", "12,00"}, {2024, "08/03/2024", "12,00"}, {2024, "15/03/2024", "12,00"}},
       {{"15/03/2024", -1200}, {"08/03/2024", -1200}}, {2, 1}},
      {"a December invoice paid in January: the year before", {{2023, "20/12/2023", "300,00", true}},
       {{"10/01/2024", 30000}}, {0}},
      {"two years before is never a candidate", {{2022, "31/12/2023", "300,00", true}}, {{"10/01/2024", 30000}}, {-1}},
      {"the next year's archive is never a candidate", {{2025, "10/01/2024", "300,00", true}},
       {{"10/01/2024", 30000}}, {-1}},
      {"a settled movement is never a candidate", {{2024, "01/02/2024", "5,00", false, "", "Sì"}},
       {{"01/02/2024", -500}}, {-1}},
      {"a movement with a Ricevuta is never a candidate", {{2024, "01/02/2024", "5,00", false, "", "No", "CRO 1"}},
       {{"01/02/2024", -500}}, {-1}},
      {"an empty Saldato awaits payment", {{2024, "01/02/2024", "5,00", false, "", ""}}, {{"01/02/2024", -500}}, {0}},
      {"a movement settles once", {{2024, "01/02/2024", "5,00"}}, {{"01/02/2024", -500}, {"02/02/2024", -500}}, {0, -1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(settle(c.stored, c.paid), c.settles);
    // The statement's order changes nothing.
    std::vector<Paid> reversed(c.paid.rbegin(), c.paid.rend());
    std::vector<int> expected(c.settles.rbegin(), c.settles.rend());
    EXPECT_EQ(settle(c.stored, reversed), expected);
  }
}

// The choice never makes every pair: it walks each payment's candidates
// outwards from its booking date and merges them. On random sets with many
// equal amounts, equal due dates, two archives and agreeing names it gives
// what taking every pair in the order of the ranking gives.
TEST(PaymentMatch, TheMergedWalkTakesThePairsInRankOrder) {
  std::mt19937 random(7);
  const auto pick = [&](int n) { return int(random() % uint32_t(n)); };
  const QString names[] = {u"Rossi"_s, u"Bianchi Srl"_s, u"ROSSI MARIO"_s, u""_s};
  for (int round = 0; round < 300; ++round) {
    std::vector<Unpaid> movements;
    for (int i = 0, n = 1 + pick(30); i < n; ++i) {
      const int year = 2023 + pick(2);
      movements.push_back({year, qint64(1 + pick(5)) + i * 10, pick(4) == 0, qint64(100 * (1 + pick(3))),
                           QDate(2024, 1, 1).addDays(pick(120) - 60), names[pick(4)]});
    }
    std::vector<Payment> payments;
    for (int i = 0, n = 1 + pick(20); i < n; ++i) {
      const qint64 cents = 100 * (1 + pick(3));
      payments.push_back({QDate(2024, 1, 1).addDays(pick(60)), pick(4) == 0 ? cents : -cents, names[pick(4)]});
    }
    // Every pair, sorted by the ranking, taken while both sides are free.
    using Key = std::tuple<int, qint64, qint64, int, qint64, uint32_t>;
    std::vector<std::pair<Key, uint32_t>> all;
    for (uint32_t p = 0; p < payments.size(); ++p) {
      for (uint32_t m = 0; m < movements.size(); ++m) {
        if (!mayPay(payments[p], movements[m])) continue;
        const qint64 due = movements[m].due.toJulianDay();
        all.push_back({{partiesAgree(payments[p].counterparty, movements[m].party) ? 0 : 1,
                        std::abs(due - payments[p].booked.toJulianDay()), due, movements[m].year,
                        movements[m].position, p},
                       m});
      }
    }
    std::sort(all.begin(), all.end());
    std::vector<std::optional<uint32_t>> expected(payments.size());
    std::vector<bool> taken(movements.size());
    for (const auto& [key, m] : all) {
      const uint32_t p = std::get<5>(key);
      if (expected[p] || taken[m]) continue;
      expected[p] = m;
      taken[m] = true;
    }
    ASSERT_EQ(chooseOneToOne(payments, movements), expected) << "round " << round;
    EXPECT_EQ(candidatePairs(payments, movements).size(), all.size());
  }
}

TEST(PaymentMatch, CounterpartiesAgree) {
  const struct {
    const char16_t* a;
    const char16_t* b;
    bool agree;
  } cases[] = {
      {u"Rossi Mario", u"ROSSI   mario", true},   {u"Società Elettrica", u"SOCIETA ELETTRICA", true},
      {u"Rossi Mario Srl", u"Rossi Mario", true}, {u"Mario", u"Rossi, Mario", true},
      {u"Rossini", u"Rossi", false},              {u"Rossi Mario", u"Mario Rossi", false},
      {u"", u"", false},                          {u"Enel", u"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(QString::fromUtf16(c.a).toStdString() + " / " + QString::fromUtf16(c.b).toStdString());
    EXPECT_EQ(partiesAgree(QStringView(c.a), QStringView(c.b)), c.agree);
    EXPECT_EQ(partiesAgree(QStringView(c.b), QStringView(c.a)), c.agree);
  }
}

TEST(PaymentMatch, ChoicesOfTheUser) {
  const TMovimento a = recordOf({2024, "01/02/2024", "9,00"});
  const TMovimento b = recordOf({2024, "15/02/2024", "9,00"});
  const std::vector<Unpaid> movements{*awaitingPayment(reinterpret_cast<const uint8_t*>(&a), 2024, 1),
                                      *awaitingPayment(reinterpret_cast<const uint8_t*>(&b), 2024, 2)};
  const std::vector<Payment> payments{{QDate(2024, 2, 1), -900, {}}, {QDate(2024, 2, 14), -900, {}}};
  using K = Override::Kind;
  // Ranked: each its nearest.
  EXPECT_EQ(chooseOneToOne(payments, movements), (std::vector<std::optional<uint32_t>>{0u, 1u}));
  // The first payment chosen for the second movement: the other takes what is left.
  EXPECT_EQ(chooseOneToOne(payments, movements, {{K::Chosen, 1}, {}}),
            (std::vector<std::optional<uint32_t>>{1u, 0u}));
  // Refused: it settles nothing, and the other payment still its own.
  EXPECT_EQ(chooseOneToOne(payments, movements, {{K::Refused, 0}, {}}),
            (std::vector<std::optional<uint32_t>>{std::nullopt, 1u}));
  // A choice that is no candidate (gone meanwhile) settles nothing.
  EXPECT_EQ(chooseOneToOne(payments, movements, {{K::Chosen, 7}, {}}),
            (std::vector<std::optional<uint32_t>>{std::nullopt, 1u}));
}

TEST(PaymentMatch, WhatSettlingWrites) {
  const QDate day(2024, 2, 5);
  EXPECT_EQ(settledReceipt(u"0304198765432", day), u"0304198765432 del 05/02/2024");
  EXPECT_EQ(settledReceipt(u" Bonifico \t da  Rossi ", day), u"Bonifico da Rossi del 05/02/2024");
  const QString longReceipt = settledReceipt(QString(300, u'x'), day);
  EXPECT_EQ(longReceipt.size(), 250);
  EXPECT_TRUE(longReceipt.endsWith(u"x del 05/02/2024"));
  EXPECT_EQ(settledNote(u"", day), u"Pagato il 05/02/2024");
  EXPECT_EQ(settledNote(u"Fornitura gennaio", day), u"Fornitura gennaio - Pagato il 05/02/2024");
  const QString longNote = settledNote(QString(250, u'n'), day);
  EXPECT_EQ(longNote.size(), 250);
  EXPECT_TRUE(longNote.endsWith(u"n - Pagato il 05/02/2024"));
}

}  // namespace
}  // namespace fondaro::matching
