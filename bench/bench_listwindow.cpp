// SPDX-License-Identifier: GPL-3.0-or-later
// A list window's whole answer over a generated 100000-record archive: the
// lines shown in a list (construct, set, show, paint), and the search list
// scanned, sorted and shown, as "Cerca" does it.
#include <QApplication>

#include "benchsupport.h"
#include "core/lists.h"
#include "gui/listwindow.h"

using namespace fondaro;
using bench::listYearPath;

namespace {

QApplication& app() {
  static int argc = 1;
  static char name[] = "bench_listwindow";
  static char* argv[] = {name, nullptr};
  static QApplication* a = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  return *a;
}

// 100000 lines already built, shown in a new list.
void BM_ShowLines100k(benchmark::State& state) {
  app();
  auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
  const QStringList lines = linesOf(searchList(a, FilterSet()));
  for (auto _ : state) {
    gui::LineList list(QStringLiteral("lstRecords"), nullptr);
    list.resize(830, 370);
    list.setLines(lines);
    list.show();
    list.repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    list.hide();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["lines"] = double(lines.size());
}

// The list a search window shows: scan, lines, sort, shown and painted.
void BM_SearchSortShow100k(benchmark::State& state) {
  app();
  listYearPath();  // generated before the timing starts
  qsizetype n = 0;
  gui::LineList list(QStringLiteral("lstRecords"), nullptr);
  list.resize(830, 370);
  list.show();
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(listYearPath(), RecordFile::Access::ReadOnly);
    list.setLines(linesOf(searchList(a, FilterSet())));
    n = list.count();
    list.repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    list.clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["lines"] = double(n);
}

}  // namespace

BENCHMARK(BM_ShowLines100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchSortShow100k)->Unit(benchmark::kMillisecond);
