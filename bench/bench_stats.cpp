// The monthly totals of a large movement archive against a raw block read of
// the same file in the same run: the totals should cost little more than
// reading the bytes.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <vector>

#include "core/archive.h"
#include "core/monthlytotals.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

// Removes the file when the program ends, after the benchmarks ran.
struct TemporaryArchive {
  QString path;
  ~TemporaryArchive() { QFile::remove(path); }
};

const QString& archivePath() {
  static const TemporaryArchive archive{[] {
    const QString p = QDir::tempPath() + QStringLiteral("/fondaro-bench-stats-%1.eur").arg(getpid());
    std::vector<TMovimento> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      const bool in = i % 3 == 0;
      r.Entrata.set(in ? kSi : kNo);
      r.Uscita.set(in ? kNo : kSi);
      // Mostly this year, some of the year before.
      r.Data.set(QStringLiteral("%1/%2/%3")
                     .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                     .arg(i % 12 + 1, 2, 10, QLatin1Char('0'))
                     .arg(i % 10 == 0 ? 2023 : 2024));
      r.Causale.set(QStringLiteral("Movimento di prova n. %1").arg(i));
      r.Importo.set(QStringLiteral("%1,%2").arg(i % 50000).arg(i % 100, 2, 10, QLatin1Char('0')));
      r.Totale.set((in ? QStringLiteral("+") : QStringLiteral("-")) + r.Importo.get());
      r.Saldato.set(i % 2 ? kSi : kNo);
    }
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
    f.close();
    return p;
  }()};
  return archive.path;
}

void BM_RawBlockRead(benchmark::State& state) {
  const QByteArray native = archivePath().toLocal8Bit();
  std::vector<char> buf(size_t(RecordFile::kScanBlockBytes / 3414 * 3414));
  for (auto _ : state) {
    const int fd = open(native.constData(), O_RDONLY);
    ssize_t n;
    while ((n = read(fd, buf.data(), buf.size())) > 0) benchmark::DoNotOptimize(buf.data());
    close(fd);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kRecords * 3414);
}

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

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MonthlyTotals)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnnualTotals)->Unit(benchmark::kMillisecond);
