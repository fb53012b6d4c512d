// SPDX-License-Identifier: GPL-3.0-or-later
// The monthly totals of a large movement archive against a raw block read of
// the same file in the same run: the totals should cost little more than
// reading the bytes.
#include "benchsupport.h"
#include "core/archive.h"
#include "core/monthlytotals.h"

using namespace fondaro;

namespace {

using bench::kRecords;

std::vector<TMovimento> statsYears() {
  return bench::generatedMovements([](int i, TMovimento& r) {
    // Mostly this year, some of the year before.
    r.Data.set(QStringLiteral("%1/%2/%3")
                   .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                   .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                   .arg(i % 10 == 0 ? 2023 : 2024));
    r.Causale.set(QStringLiteral("Movimento di prova n. %1").arg(i));
    r.Importo.set(QStringLiteral("%1,%2").arg(i % 50000).arg(i % 100, 2, 10, QLatin1Char('0')));
  });
}

const QString& archivePath() {
  static const QString path = bench::writeTemporaryArchive("stats.eur", statsYears());
  return path;
}

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, archivePath()); }

void BM_MonthlyTotals(benchmark::State& state) {
  const QString path = archivePath();
  double january = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    const ChartFigures f = monthlyTotals(a, Flow::Entrate, u"2024");
    a.Close();
    january = f.values.empty() ? -1 : f.values[0];
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kRecords * 3414);
  state.counters["january"] = january;
}

void BM_AnnualTotals(benchmark::State& state) {
  const QString path = archivePath();
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    benchmark::DoNotOptimize(annualTotals(a).values);
    a.Close();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kRecords * 3414);
}

// What `fondaro-tool stats` computes: the three figure sets in one read.
void BM_YearFigures(benchmark::State& state) {
  const QString path = archivePath();
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    benchmark::DoNotOptimize(yearFigures(a, u"2024").annual.values);
    a.Close();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kRecords * 3414);
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyTotals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnualTotals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YearFigures)->Unit(benchmark::kMillisecond);
