// SPDX-License-Identifier: GPL-3.0-or-later
// The movement export of a 100000-record archive against a raw block read of
// the same file in the same run: reading the rows the grid shows, building the
// spreadsheet document from them, and writing it through a renamed new file.
#include "benchsupport.h"
#include "core/movementexport.h"

using namespace fondaro;

namespace {

using bench::kRecords;

QString scratch(const char* name) {
  return QDir::tempPath() + QStringLiteral("/fondaro-bench-export-%1-%2").arg(getpid()).arg(QLatin1String(name));
}

std::vector<TMovimento> exportYear() {
  return bench::generatedMovements([](int i, TMovimento& r) {
    r.Data.set(QStringLiteral("%1/03/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
    r.Causale.set(QStringLiteral("Fattura n. %1 di Rossi & Figli, caff\u00E8").arg(i));
    r.DataSca.set(u"31/03/2024");
    r.Preavviso.set(u"5");
    r.Importo.set(QStringLiteral("%1,50").arg(i % 5000));
    r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
    r.Email.set(u"cliente@example.it");
    r.Pagamento.set(u"Bonifico bancario");
    r.Note.set(QStringLiteral("Nota di prova per il movimento numero %1 <urgente>").arg(i));
  });
}

const QString& archivePath() {
  static const QString path = [] {
    std::atexit([] { QFile::remove(scratch("Movimenti.xls")); });
    return bench::writeTemporaryArchive("export.eur", exportYear());
  }();
  return path;
}

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, archivePath()); }

void BM_ReadExportRows(benchmark::State& state) {
  int64_t bytes = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    const TextTable rows = readMovementExport(a);
    a.Close();
    benchmark::DoNotOptimize(rows.rowCount());
    bytes += int64_t(kRecords) * 3414;
  }
  state.SetBytesProcessed(bytes);
}

void BM_BuildDocument(benchmark::State& state) {
  auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
  const TextTable rows = readMovementExport(a);
  a.Close();
  qsizetype size = 0;
  for (auto _ : state) {
    const QByteArray doc = movementExportDocument(rows);
    size = doc.size();
    benchmark::DoNotOptimize(doc.constData());
  }
  state.SetBytesProcessed(int64_t(size) * state.iterations());
  state.counters["document_MiB"] = double(size) / (1 << 20);
}

// What the export window's button and fondaro-tool do after the grid is full.
void BM_ReadBuildAndWrite(benchmark::State& state) {
  const QString out = scratch("Movimenti.xls");
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    const TextTable rows = readMovementExport(a);
    a.Close();
    writeFileReplacing(out, movementExportDocument(rows));
  }
  state.SetBytesProcessed(int64_t(kRecords) * 3414 * state.iterations());
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadExportRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadBuildAndWrite)->Unit(benchmark::kMillisecond);
