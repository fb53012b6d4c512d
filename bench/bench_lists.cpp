// SPDX-License-Identifier: GPL-3.0-or-later
// The list windows' work over a generated 100000-record year archive, against
// a raw block read of the same file in the same run: the search list (scan,
// line building, sort), the due list, the journal of the whole year with its
// totals, and the list find over the 100000 lines.
#include <QDate>

#include "benchsupport.h"
#include "core/journal.h"
#include "core/lists.h"

using namespace fondaro;
using bench::listYearPath;

namespace {

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, listYearPath()); }

// Every record matches: 100000 lines built and sorted.
void BM_SearchListAll(benchmark::State& state) {
  listYearPath();
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    n = searchList(a, FilterSet()).size();
  }
  state.counters["lines"] = double(n);
}

// A filter on the payer: one field looked at per record, few lines.
void BM_SearchListFiltered(benchmark::State& state) {
  listYearPath();
  const FilterSet filters({{mov::Pagatore, QStringLiteral("cliente 97")}});
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    n = searchList(a, filters).size();
  }
  state.counters["lines"] = double(n);
}

// What `fondaro-tool list` runs: the lines kept as bytes, sorted, not decoded.
// A filter no record matches, then one that some thousands match.
void BM_SearchLinesNoMatch(benchmark::State& state) {
  listYearPath();
  const FilterSet filters({{mov::Causale, QStringLiteral("nessuna causale")}});
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    benchmark::DoNotOptimize(searchLines(a, filters).size());
  }
}

void BM_SearchLinesFiltered(benchmark::State& state) {
  listYearPath();
  const FilterSet filters({{mov::Pagatore, QStringLiteral("cliente 9")}});
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    n = size_t(searchLines(a, filters).size());
  }
  state.counters["lines"] = double(n);
}

// What `fondaro-tool due` runs.
void BM_DueLines(benchmark::State& state) {
  listYearPath();
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    n = size_t(dueLines(a, QDate(2024, 4, 30)).lines.size());
  }
  state.counters["lines"] = double(n);
}

void BM_DueList(benchmark::State& state) {
  listYearPath();
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    n = dueList(a, QDate(2024, 12, 31)).entries.size();
  }
  state.counters["lines"] = double(n);
}

// The whole year: every record listed, formatted and added up.
void BM_JournalYear(benchmark::State& state) {
  listYearPath();
  int n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    const Journal j = buildJournal(a, {QDate(2024, 1, 1), QDate(2024, 12, 31), QString()});
    n = int(j.lines.size());
    benchmark::DoNotOptimize(j.balance.euroText());
  }
  state.counters["lines"] = double(n);
}

// The list find over 100000 lines when no line matches: every line is looked at.
void BM_ListFindWorstCase(benchmark::State& state) {
  auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
  const QStringList lines = linesOf(searchList(a, FilterSet()));
  for (auto _ : state) {
    ListFind f;
    benchmark::DoNotOptimize(f.find(lines, 0, QStringLiteral("nessuna riga contiene questo")));
  }
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListFiltered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLinesNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchLinesFiltered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DueLines)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DueList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFindWorstCase)->Unit(benchmark::kMillisecond);
