// The movement export of a 100000-record archive against a raw block read of
// the same file in the same run: reading the rows the grid shows, building the
// spreadsheet document from them, and writing it through a renamed new file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <vector>

#include "core/movementexport.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

QString scratch(const char* name) {
  return QDir::tempPath() + QStringLiteral("/fondaro-bench-export-%1-%2").arg(getpid()).arg(QLatin1String(name));
}

const QString& archivePath() {
  static const QString path = [] {
    const QString p = scratch("2024.eur");
    std::vector<TMovimento> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      const bool in = i % 3 == 0;
      r.Entrata.set(in ? kSi : kNo);
      r.Uscita.set(in ? kNo : kSi);
      r.Data.set(QStringLiteral("%1/03/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')));
      r.Causale.set(QStringLiteral("Fattura n. %1 di Rossi & Figli, caff\u00E8").arg(i));
      r.DataSca.set(u"31/03/2024");
      r.Preavviso.set(u"5");
      r.Importo.set(QStringLiteral("%1,50").arg(i % 5000));
      r.Totale.set((in ? QStringLiteral("+") : QStringLiteral("-")) + r.Importo.get());
      r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
      r.Email.set(u"cliente@example.it");
      r.Pagamento.set(u"Bonifico bancario");
      r.Note.set(QStringLiteral("Nota di prova per il movimento numero %1 <urgente>").arg(i));
      r.Saldato.set(i % 2 ? kSi : kNo);
    }
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
    std::atexit([] {
      QFile::remove(archivePath());
      QFile::remove(scratch("Movimenti.xls"));
    });
    return p;
  }();
  return path;
}

void BM_RawBlockRead(benchmark::State& state) {
  const QByteArray native = archivePath().toLocal8Bit();
  std::vector<char> buf(size_t(RecordFile::kScanBlockBytes / 3414 * 3414));
  int64_t bytes = 0;
  for (auto _ : state) {
    const int fd = open(native.constData(), O_RDONLY);
    ssize_t n;
    while ((n = read(fd, buf.data(), buf.size())) > 0) {
      bytes += n;
      benchmark::DoNotOptimize(buf.data());
    }
    close(fd);
  }
  state.SetBytesProcessed(bytes);
}

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
