// SPDX-License-Identifier: GPL-3.0-or-later
// A filtered scan of a large movement archive against a raw block read of the
// same file in the same run. The scan is what the search, the journal, the
// charts and the exports do, and the filter is the search's own (FilterSet, on
// the stored bytes): its cost over the raw read is the scan's.
#include <sys/resource.h>

#include "benchsupport.h"
#include "core/archive.h"
#include "core/lists.h"

using namespace fondaro;

namespace {

using bench::kRecords;

// The list benchmarks' year: the scan is measured on the same records.
const QString& archivePath() { return bench::listYearPath(); }

long maxRssKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, archivePath()); }

void BM_FilteredScanCausale(benchmark::State& state) {
  const QString path = archivePath();
  const FilterSet filters({{mov::Causale, QStringLiteral("fattura")}});
  int64_t matches = 0;
  int64_t bytes = 0;
  const long rssBefore = maxRssKiB();
  for (auto _ : state) {
    auto a = MovementArchive::OpenOrCreate(path);
    matches = 0;
    a.Scan([&](qint64, MovimentoView v) {
      if (filters.matches(v)) ++matches;
    });
    a.Close();
    bytes += int64_t(kRecords) * 3414;
  }
  state.SetBytesProcessed(bytes);
  state.counters["matches"] = double(matches);
  state.counters["rss_growth_KiB"] = double(maxRssKiB() - rssBefore);
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FilteredScanCausale)->Unit(benchmark::kMillisecond);
