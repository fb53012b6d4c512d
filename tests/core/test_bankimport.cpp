// Bank statement import: the movement an entry becomes, the duplicate rule
// and the import into the yearly archives. The readers have their own tests
// (test_camtreader.cpp, test_csvstatement.cpp, test_ofxreader.cpp), and so
// have the rules they share (test_statement.cpp).
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <numeric>
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

}  // namespace
}  // namespace fondaro
