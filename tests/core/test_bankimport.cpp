// SPDX-License-Identifier: GPL-3.0-or-later
// Bank statement import: the movement an entry becomes, the duplicate rule
// and the import into the yearly archives. The readers have their own tests
// (test_camtreader.cpp, test_csvstatement.cpp, test_ofxreader.cpp), and so
// have the rules they share (test_statement.cpp).
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <cstring>
#include <numeric>
#include <tuple>
#include <thread>

#include "core/bankimport.h"
#include "core/filepath.h"
#include "core/textrules.h"
#include "test_support.h"

namespace fondaro {
namespace {

using namespace Qt::StringLiterals;

// ---- Into the archives ---------------------------------------------------------

StatementEntry entry(QDate date, qint64 cents, QString description, QString reference = {},
                     QString counterparty = {}) {
  StatementEntry e;
  e.date = date;
  e.cents = cents;
  e.currency = QStringLiteral("EUR");
  e.description = std::move(description);
  e.reference = std::move(reference);
  e.counterparty = std::move(counterparty);
  return e;
}

TEST(BankImport, MovementOfAnEntry) {
  StatementEntry in = entry({2024, 1, 5}, 125000, QStringLiteral("Fattura\t12 \n saldo"), QStringLiteral("R1"),
                            QStringLiteral("Rossi  Mario"));
  in.kind = QStringLiteral("Bonifico");
  const TMovimento r = movementFromEntry(in, QStringLiteral("gennaio.xml"));
  EXPECT_EQ(r.Entrata.get(), kSi);
  EXPECT_EQ(r.Uscita.get(), kNo);
  EXPECT_EQ(r.Data.get(), u"05/01/2024");
  EXPECT_EQ(r.DataSca.get(), u"05/01/2024");
  EXPECT_EQ(r.Preavviso.get(), u"0");
  EXPECT_EQ(r.Importo.get(), u"1250,00");
  EXPECT_EQ(r.Totale.get(), u"+1250,00");
  EXPECT_EQ(r.Causale.get(), u"Fattura 12 saldo");
  EXPECT_EQ(r.Pagatore.get(), u"Rossi Mario");
  EXPECT_EQ(r.Beneficiario.get(), u"");
  EXPECT_EQ(r.Ricevuta.get(), u"R1");
  EXPECT_EQ(r.Saldato.get(), kSi);
  EXPECT_EQ(r.Pagamento.get(), u"Bonifico");
  EXPECT_EQ(r.Note.get(), u"Importato da gennaio.xml");

  const TMovimento out = movementFromEntry(entry({2024, 1, 6}, -1234, {}, {}, QStringLiteral("Bar")), u"x.csv"_s);
  EXPECT_EQ(out.Entrata.get(), kNo);
  EXPECT_EQ(out.Uscita.get(), kSi);
  EXPECT_EQ(out.Totale.get(), u"-12,34");
  EXPECT_EQ(out.Beneficiario.get(), u"Bar");
  EXPECT_EQ(out.Causale.get(), u"Bar");  // no description: the counterparty
  // A long description is cut at the field's capacity, a character outside the code page becomes "?".
  const TMovimento longOne = movementFromEntry(entry({2024, 1, 6}, 1, QString(300, u'x') + u"€☃"_s), u"x"_s);
  EXPECT_EQ(longOne.Causale.get(), QString(250, u'x'));
  EXPECT_EQ(movementFromEntry(entry({2024, 1, 6}, 1, u"a € ☃"_s), u"x"_s).Causale.get(), u"a € ?");
}

class BankImportFolder : public ::testing::Test {
 protected:
  QByteArray folder() const { return encodePath(dir.path()); }
  QString archive(int year) const { return dir.filePath(QStringLiteral("%1.eur").arg(year)); }
  std::vector<TMovimento> records(int year) const {
    std::vector<TMovimento> out;
    if (!QFile::exists(archive(year))) return out;
    const auto a = MovementArchive::OpenExisting(archive(year), RecordFile::Access::ReadOnly);
    for (qint64 p = 1; p <= a.Count(); ++p) out.push_back(a.ReadAt(p));
    return out;
  }
  void store(int year, const std::vector<TMovimento>& recs) {
    auto a = MovementArchive::OpenOrCreate(archive(year));
    a.AppendAll(recs);
    a.Close();
  }
  QTemporaryDir dir;
};

Statement statementOf(std::vector<StatementEntry> entries) {
  Statement st;
  st.entries = std::move(entries);
  return st;
}

TEST_F(BankImportFolder, DuplicateRuleAsATable) {
  const QDate day(2024, 3, 1);
  const auto e = [&](qint64 cents, const char* descr, const char* ref = "") {
    return entry(day, cents, QString::fromUtf8(descr), QString::fromUtf8(ref));
  };
  struct Case {
    const char* name;
    std::vector<StatementEntry> stored;
    std::vector<StatementEntry> statement;
    std::vector<bool> present;
  } cases[] = {
      {"two equal payments on one day both arrive", {}, {e(-500, "Caffè"), e(-500, "Caffè")}, {false, false}},
      {"one of two already stored: the second is new", {e(-500, "Caffè")}, {e(-500, "Caffè"), e(-500, "Caffè")},
       {true, false}},
      {"the same statement again adds nothing", {e(-500, "Caffè"), e(-500, "Caffè")},
       {e(-500, "Caffè"), e(-500, "Caffè")}, {true, true}},
      {"three stored, two in the statement", {e(-500, "Caffè"), e(-500, "Caffè"), e(-500, "Caffè")},
       {e(-500, "Caffè"), e(-500, "Caffè")}, {true, true}},
      {"another amount or sign is another movement", {e(-500, "Caffè")}, {e(-501, "Caffè"), e(500, "Caffè")},
       {false, false}},
      {"with a reference the reference decides, not the text", {e(-500, "Vecchio testo", "R1")},
       {e(-500, "Nuovo testo", "R1"), e(-500, "Vecchio testo", "R2")}, {true, false}},
      {"without a reference the text decides", {e(-500, "Affitto", "R9")}, {e(-500, "Affitto")}, {true}},
      {"texts compared trimmed and as stored", {e(-500, "  Affitto   marzo ")}, {e(-500, "Affitto marzo")}, {true}},
      {"overlapping statements", {e(100, "A", "1"), e(200, "B", "2")},
       {e(200, "B", "2"), e(300, "C", "3"), e(300, "C", "3")}, {true, false, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QFile::remove(archive(2024));
    std::vector<TMovimento> stored;
    for (const auto& s : c.stored) stored.push_back(movementFromEntry(s, u"vecchio.csv"_s));
    // A movement of another day in between changes nothing.
    stored.insert(stored.begin(), movementFromEntry(entry({2024, 3, 2}, -500, u"Caffè"_s), u"x"_s));
    store(2024, stored);
    const Statement st = statementOf(c.statement);
    const ImportPlan plan = planImport(st, folder(), u"nuovo.csv"_s);
    std::vector<bool> planned;
    for (const auto& p : plan.entries) planned.push_back(p.state == EntryState::Present);
    EXPECT_EQ(planned, c.present);
    const ImportResult r = importStatement(st, folder(), u"nuovo.csv"_s);
    const qint64 added = std::count(c.present.begin(), c.present.end(), false);
    ASSERT_EQ(r.years.size(), 1u);
    EXPECT_EQ(r.years[0].added, added);
    EXPECT_EQ(r.years[0].present, qint64(c.present.size()) - added);
    EXPECT_EQ(records(2024).size(), stored.size() + size_t(added));
    // Imported twice, it adds nothing more.
    EXPECT_EQ(importStatement(st, folder(), u"nuovo.csv"_s).added(), 0);
  }
}

TEST_F(BankImportFolder, SpansTwoYearsSkipsAndLeavesOut) {
  StatementEntry usd = entry({2024, 1, 2}, 100, u"Dollari"_s);
  usd.currency = QStringLiteral("USD");
  usd.skip = SkipReason::OtherCurrency;
  const Statement st = statementOf({entry({2023, 12, 30}, 100, u"A"_s), usd, entry({2024, 1, 2}, -200, u"B"_s),
                                    entry({2024, 1, 3}, 300, u"C"_s), entry({2023, 12, 31}, 400, u"D"_s)});
  const ImportPlan plan = planImport(st, folder(), u"s.xml"_s);
  EXPECT_FALSE(QFile::exists(archive(2023)));  // a plan creates nothing
  ASSERT_EQ(plan.years.size(), 2u);
  EXPECT_EQ(plan.years[0].year, 2023);
  EXPECT_EQ(plan.years[0].added, 2);
  EXPECT_EQ(plan.years[1].added, 2);
  EXPECT_EQ(plan.entries[1].state, EntryState::Skipped);
  EXPECT_EQ(plan.skipped(), 1);

  const ImportResult r = importStatement(st, folder(), u"s.xml"_s, {4});
  ASSERT_EQ(r.years.size(), 2u);
  EXPECT_EQ(r.years[0].added, 2);
  EXPECT_EQ(r.years[1].added, 1);
  const auto y2023 = records(2023);
  ASSERT_EQ(y2023.size(), 2u);
  EXPECT_EQ(y2023[0].Causale.get(), u"A");  // statement order within the year
  EXPECT_EQ(y2023[1].Causale.get(), u"D");
  const auto y2024 = records(2024);
  ASSERT_EQ(y2024.size(), 1u);
  EXPECT_EQ(y2024[0].Causale.get(), u"B");
}

TEST_F(BankImportFolder, TwoImportsAtOnceAddTheStatementOnce) {
  std::vector<StatementEntry> entries;
  for (int i = 0; i < 200; ++i) entries.push_back(entry({2024, 5, 1 + i % 28}, 100 + i, u"Voce"_s));
  const Statement st = statementOf(entries);
  std::vector<qint64> added(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] { added[size_t(t)] = importStatement(st, folder(), u"s.csv"_s).added(); });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::accumulate(added.begin(), added.end(), qint64(0)), 200);
  EXPECT_EQ(records(2024).size(), 200u);
}

TEST_F(BankImportFolder, AFailedWriteTellsWhatWasWritten) {
  const Statement st = statementOf({entry({2023, 1, 1}, 100, u"A"_s), entry({2024, 1, 1}, 100, u"B"_s)});
  // A folder where 2024's archive should be: 2023 is written, 2024 cannot be.
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2024.eur")));
  try {
    importStatement(st, folder(), u"s.csv"_s);
    ADD_FAILURE();
  } catch (const ImportWriteError& e) {
    EXPECT_EQ(e.year(), 2024);
    EXPECT_EQ(e.writtenInYear(), 0);
    ASSERT_EQ(e.done().years.size(), 1u);
    EXPECT_EQ(e.done().years[0].added, 1);
  }
  EXPECT_EQ(records(2023).size(), 1u);
}

// More entries than one batch of the writer (4096): running copies of one
// statement interleave their batches and still add it once, the entries
// repeated by the statement counted by occurrence across batches.
TEST_F(BankImportFolder, LargeImportsAtOnceAddTheStatementOnce) {
  std::vector<StatementEntry> entries;
  for (int i = 0; i < 9000; ++i) {
    // Every tenth entry has a twin at the other end of the statement.
    const int n = i % 10 == 0 && i >= 4500 ? i - 4500 : i;
    entries.push_back(entry({2024, 1 + n % 12, 1 + n % 28}, 100 + n, QStringLiteral("Voce %1").arg(n)));
  }
  const Statement st = statementOf(entries);
  std::vector<qint64> added(3);
  std::vector<std::thread> threads;
  for (int t = 0; t < 3; ++t) {
    threads.emplace_back([&, t] { added[size_t(t)] = importStatement(st, folder(), u"s.csv"_s).added(); });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(std::accumulate(added.begin(), added.end(), qint64(0)), 9000);
  const auto stored = records(2024);
  ASSERT_EQ(stored.size(), 9000u);
  QHash<QString, int> byCausale;
  for (const auto& r : stored) ++byCausale[r.Causale.get()];
  EXPECT_EQ(byCausale.value(u"Voce 0"_s), 2);
  EXPECT_EQ(byCausale.value(u"Voce 1"_s), 1);
  const ImportPlan again = planImport(st, folder(), u"s.csv"_s);
  ASSERT_EQ(again.years.size(), 1u);
  EXPECT_EQ(again.years[0].present, 9000);
}

// A year whose archive cannot be written does not stop the years after it;
// the error tells every year, the failing one with what is in its archive.
TEST_F(BankImportFolder, AFailingYearDoesNotStopTheNext) {
  const Statement st = statementOf({entry({2023, 1, 1}, 100, u"A"_s), entry({2024, 1, 1}, 100, u"B"_s),
                                    entry({2025, 1, 1}, 100, u"C"_s)});
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("2024.eur")));
  try {
    importStatement(st, folder(), u"s.csv"_s);
    ADD_FAILURE();
  } catch (const ImportWriteError& e) {
    ASSERT_EQ(e.failures().size(), 1u);
    EXPECT_EQ(e.failures()[0].year, 2024);
    EXPECT_FALSE(e.failures()[0].checked);
    ASSERT_EQ(e.result().years.size(), 3u);
    EXPECT_EQ(e.result().years[2].added, 1);
    EXPECT_EQ(e.done().years.size(), 1u);  // the years before the failure
  }
  EXPECT_EQ(records(2023).size(), 1u);
  EXPECT_EQ(records(2025).size(), 1u);
}


// ---- Settling the movements a statement pays -----------------------------------

// An unpaid movement as the editor saves it.
TMovimento unpaid(const char* due, qint64 cents, const char* party, const char* causale, const char* note = "") {
  TMovimento r;
  const bool in = cents > 0;
  r.Entrata.set(in ? kSi : kNo);
  r.Uscita.set(in ? kNo : kSi);
  r.Data.set(QString::fromUtf8(due));
  r.DataSca.set(QString::fromUtf8(due));
  r.Preavviso.set(u"5");
  r.Importo.set(centsText(cents));
  r.Totale.set(signedAmount(in, centsText(cents)));
  (in ? r.Pagatore : r.Beneficiario).set(QString::fromUtf8(party));
  r.Causale.set(QString::fromUtf8(causale));
  r.Note.set(QString::fromUtf8(note));
  r.Saldato.set(kNo);
  return r;
}

TMovimento paidBy(TMovimento r, const char* ricevuta, const char* note) {
  r.Saldato.set(kSi);
  r.Ricevuta.set(QString::fromUtf8(ricevuta));
  r.Note.set(QString::fromUtf8(note));
  return r;
}

bool sameBytes(const TMovimento& a, const TMovimento& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::vector<EntryState> statesOf(const ImportPlan& plan) {
  std::vector<EntryState> out;
  for (const auto& e : plan.entries) out.push_back(e.state);
  return out;
}

QByteArray bytesOf(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A December invoice paid in January, two rents of one amount paid in the
// other order than they fell due, and a payment of nothing entered: the
// movements are settled where they are, nothing else of them changes, and
// the same statement again changes nothing.
TEST_F(BankImportFolder, SettlesInPlaceAndAgainChangesNothing) {
  const TMovimento invoice = unpaid("20/12/2023", 30000, "Cliente Spa", "Fattura 7", "Consegna 15/12");
  const TMovimento feb = unpaid("01/02/2024", -70000, "Immobiliare", "Affitto febbraio");
  const TMovimento mar = unpaid("01/03/2024", -70000, "Immobiliare", "Affitto marzo");
  store(2023, {unpaid("01/12/2023", -1000, "", "Altro"), invoice});
  store(2024, {feb, mar});
  const Statement st = statementOf({entry({2024, 1, 10}, 30000, u"Bonifico"_s, u"CRO1"_s, u"CLIENTE SPA"_s),
                                    entry({2024, 3, 2}, -70000, u"Affitto"_s, u"R3"_s),
                                    entry({2024, 2, 1}, -70000, u"Affitto"_s, {}),
                                    entry({2024, 2, 1}, -150, u"Caffè"_s, u"R4"_s)});
  const ImportPlan plan = planMatchedImport(st, folder(), u"s.csv"_s);
  using S = EntryState;
  EXPECT_EQ(statesOf(plan), (std::vector<S>{S::Settles, S::Settles, S::Settles, S::New}));
  ASSERT_EQ(plan.years.size(), 2u);
  EXPECT_EQ(plan.years[0].paid, 1);
  EXPECT_EQ(plan.years[1].added, 1);
  EXPECT_EQ(plan.years[1].paid, 2);

  std::vector<SettledEntry> settled;
  const ImportResult r = importMatched(st, folder(), u"s.csv"_s, {}, {}, settled);
  const auto byNumber = [](const std::vector<SettledEntry>& v) {
    std::vector<std::tuple<int, int, qint64>> out;
    for (const auto& s : v) out.emplace_back(s.number, s.year, s.position);
    return out;
  };
  EXPECT_EQ(byNumber(settled), byNumber(settledEntries(plan)));
  EXPECT_EQ(byNumber(settled), (std::vector<std::tuple<int, int, qint64>>{{1, 2023, 2}, {2, 2024, 2}, {3, 2024, 1}}));
  ASSERT_EQ(r.years.size(), 2u);
  EXPECT_EQ(r.years[0].paid, 1);
  EXPECT_EQ(r.years[1].added, 1);
  EXPECT_EQ(r.years[1].paid, 2);

  const auto y2023 = records(2023);
  ASSERT_EQ(y2023.size(), 2u);
  EXPECT_TRUE(sameBytes(y2023[1], paidBy(invoice, "CRO1 del 10/01/2024", "Consegna 15/12 - Pagato il 10/01/2024")));
  const auto y2024 = records(2024);
  ASSERT_EQ(y2024.size(), 3u);
  // Without a reference, the description names the payment.
  EXPECT_TRUE(sameBytes(y2024[0], paidBy(feb, "Affitto del 01/02/2024", "Pagato il 01/02/2024")));
  EXPECT_TRUE(sameBytes(y2024[1], paidBy(mar, "R3 del 02/03/2024", "Pagato il 02/03/2024")));
  EXPECT_EQ(y2024[2].Causale.get(), u"Caffè");

  // Again: every entry is already present, not a byte changes.
  const QByteArray before2023 = bytesOf(archive(2023)), before2024 = bytesOf(archive(2024));
  const ImportPlan again = planMatchedImport(st, folder(), u"s.csv"_s);
  EXPECT_EQ(statesOf(again), (std::vector<S>(4, S::Present)));
  const ImportResult r2 = importMatched(st, folder(), u"s.csv"_s, {}, {}, settled);
  EXPECT_TRUE(settled.empty());
  ASSERT_EQ(r2.years.size(), 1u);
  EXPECT_EQ(r2.years[0].present, 4);
  EXPECT_EQ(r2.added(), 0);
  EXPECT_EQ(bytesOf(archive(2023)), before2023);
  EXPECT_EQ(bytesOf(archive(2024)), before2024);
}

// The choices are made again under the locks: a movement the editor paid
// between the plan and the write is never overwritten, and the payment
// settles what is left; a chosen movement that is gone adds the entry.
TEST_F(BankImportFolder, ARecordChangedBetweenPlanAndWrite) {
  const Statement st = statementOf({entry({2024, 2, 2}, -5000, u"SDD"_s, u"R1"_s)});
  for (const bool chosen : {false, true}) {
    SCOPED_TRACE(chosen ? "chosen by the user" : "ranked");
    QFile::remove(archive(2024));
    const TMovimento b = unpaid("20/02/2024", -5000, "", "Fattura B");
    store(2024, {unpaid("01/02/2024", -5000, "", "Fattura A"), b});
    const ImportPlan plan = planMatchedImport(st, folder(), u"s.csv"_s);
    ASSERT_TRUE(plan.entries[0].settles);
    EXPECT_EQ(plan.unpaid[*plan.entries[0].settles].due.position, 1);
    // Meanwhile the editor pays A in cash.
    auto a = MovementArchive::OpenExisting(archive(2024), RecordFile::Access::ReadWrite);
    const TMovimento cash = paidBy(a.ReadAt(1), "Contanti", "");
    a.WriteAt(1, cash);
    a.Close();
    MatchChoices choices;
    if (chosen) choices[1] = MatchChoice{false, 2024, 1};
    std::vector<SettledEntry> settled;
    const ImportResult r = importMatched(st, folder(), u"s.csv"_s, {}, choices, settled);
    const auto y2024 = records(2024);
    EXPECT_TRUE(sameBytes(y2024[0], cash));
    if (chosen) {
      EXPECT_TRUE(settled.empty());
      EXPECT_EQ(r.added(), 1);
      EXPECT_TRUE(sameBytes(y2024[1], b));
      EXPECT_EQ(y2024.size(), 3u);
    } else {
      ASSERT_EQ(settled.size(), 1u);
      EXPECT_EQ(settled[0].position, 2);
      EXPECT_EQ(r.added(), 0);
      EXPECT_EQ(y2024.size(), 2u);
      EXPECT_EQ(y2024[1].Ricevuta.get(), u"R1 del 02/02/2024");
    }
  }
}

// Imports of one statement at the same moment: each payment settles its
// movement once, and what nothing pays is added once.
TEST_F(BankImportFolder, TwoImportsAtOnceSettleEachPaymentOnce) {
  std::vector<TMovimento> stored;
  std::vector<StatementEntry> entries;
  for (int i = 0; i < 30; ++i) {
    const QByteArray due = QStringLiteral("%1/01/2024").arg(1 + i % 28, 2, 10, QLatin1Char('0')).toLatin1();
    stored.push_back(unpaid(due.constData(), -(1000 + i % 10), "", "Rata"));  // amounts repeat
    entries.push_back(entry({2024, 1, 1 + i % 28}, -(1000 + i % 10), u"Rata"_s, QStringLiteral("P%1").arg(i)));
    entries.push_back(entry({2024, 1, 1 + i % 28}, 500 + i, u"Incasso"_s, QStringLiteral("N%1").arg(i)));
  }
  store(2024, stored);
  const Statement st = statementOf(entries);
  std::vector<ImportResult> results(4);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      std::vector<SettledEntry> settled;
      results[size_t(t)] = importMatched(st, folder(), u"s.csv"_s, {}, {}, settled);
    });
  }
  for (auto& t : threads) t.join();
  qint64 paid = 0, added = 0;
  for (const auto& r : results) {
    added += r.added();
    for (const auto& y : r.years) paid += y.paid;
  }
  EXPECT_EQ(paid, 30);
  EXPECT_EQ(added, 30);
  const auto y2024 = records(2024);
  ASSERT_EQ(y2024.size(), 60u);
  QSet<QString> receipts;
  for (int i = 0; i < 30; ++i) {
    EXPECT_EQ(y2024[size_t(i)].Saldato.get(), kSi);
    receipts.insert(y2024[size_t(i)].Ricevuta.get());
  }
  EXPECT_EQ(receipts.size(), 30);
}

}  // namespace
}  // namespace fondaro
