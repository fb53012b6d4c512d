// Filling the export grid of a 100000-record archive: the rows put in the
// model and the view laid out over them, as the export window does on show.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

#include "core/movementexport.h"
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

}  // namespace

BENCHMARK(BM_FillExportGrid)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
