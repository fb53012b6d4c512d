// SPDX-License-Identifier: GPL-3.0-or-later
// Filling the export grid of a 100000-record archive: the rows put in the
// model and the view laid out over them, as the export window does on show.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <unistd.h>

#include "core/movementexport.h"
#include "core/archive.h"
#include "gui/exportgrid.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

TextTable rowsOf(int n) {
  TextTable rows(int(movementExportColumns().size()));
  rows.reserve(n, qint64(n) * 160);
  for (int i = 0; i < n; ++i) {
    rows.appendRow(QStringList{i % 3 ? QStringLiteral("Uscita") : QStringLiteral("Entrata"),
                               QStringLiteral("02/03/2024"), QStringLiteral("Fattura n. %1").arg(i), QString(),
                               QStringLiteral("31/03/2024"), QStringLiteral("5"), QStringLiteral("-12,50"),
                               QStringLiteral("Cliente %1").arg(i % 977)});
  }
  return rows;
}

void BM_FillExportGrid(benchmark::State& state) {
  const TextTable rows = rowsOf(kRecords);
  gui::ExportGridModel model(movementExportColumns());
  QWidget window;
  QTableView* grid = gui::makeExportGrid(&window, &model);
  grid->setGeometry(0, 0, 838, 446);
  window.resize(862, 560);
  window.show();
  for (auto _ : state) {
    model.setRows(rows, true);
    grid->scrollToBottom();
    QApplication::processEvents();
    benchmark::DoNotOptimize(model.rowCount());
  }
  state.counters["rows"] = double(model.rowCount());
}

// The whole of what the window does when shown: the archive read in blocks
// into the rows, the rows put in the model, the view laid out.
void BM_ShowGridOfArchive(benchmark::State& state) {
  const QString path = QDir::tempPath() + QStringLiteral("/fondaro-bench-grid-%1.eur").arg(getpid());
  {
    std::vector<TMovimento> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      r.Entrata.set(i % 3 ? kNo : kSi);
      r.Data.set(u"02/03/2024");
      r.Causale.set(QStringLiteral("Fattura n. %1").arg(i));
      r.Totale.set(u"-12,50");
      r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
      r.Note.set(QStringLiteral("Nota del movimento %1").arg(i));
      r.Saldato.set(kNo);
    }
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
  }
  gui::ExportGridModel model(movementExportColumns());
  QWidget window;
  QTableView* grid = gui::makeExportGrid(&window, &model);
  grid->setGeometry(0, 0, 838, 446);
  window.resize(862, 560);
  window.show();
  for (auto _ : state) {
    TextTable rows(int(movementExportColumns().size()));
    auto a = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    qint64 records = 0;
    fillMovementExport(a, rows, records);
    a.Close();
    model.setRows(std::move(rows), records > 0);
    QApplication::processEvents();
  }
  state.counters["rows"] = double(model.rowCount());
  QFile::remove(path);
}

}  // namespace

BENCHMARK(BM_FillExportGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShowGridOfArchive)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
