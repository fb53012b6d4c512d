// A filtered scan of a large movement archive against a raw block read of the
// same file in the same run. The scan is what the search, the journal, the
// charts and the exports do; its cost over the raw read is the decoding.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QString>
#include <vector>

#include "core/archive.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

const QString& archivePath() {
  static const QString path = [] {
    const QString p = QDir::tempPath() + QStringLiteral("/fondaro-bench-%1.eur").arg(getpid());
    QFile::remove(p);
    std::vector<TMovimento> recs(kRecords);
    static const char* reasons[] = {"Affitto ufficio", "Bolletta luce", "Fattura cliente", "Stipendio",
                                    "Cancelleria", "Caff\xE8 e acqua", "Assicurazione auto"};
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      const bool in = i % 3 == 0;
      r.Entrata.set(in ? kSi : kNo);
      r.Uscita.set(in ? kNo : kSi);
      r.Data.set(QStringLiteral("%1/%2/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')).arg(i % 12 + 1, 2, 10, QLatin1Char('0')));
      r.Causale.set(QStringLiteral("%1 n. %2").arg(QString::fromLatin1(reasons[i % 7])).arg(i));
      r.Importo.set(QStringLiteral("%1,%2").arg(i % 5000).arg(i % 100, 2, 10, QLatin1Char('0')));
      r.Totale.set((in ? QStringLiteral("+") : QStringLiteral("-")) + r.Importo.get());
      r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
      r.Note.set(QStringLiteral("Nota di prova per il movimento numero %1").arg(i));
      r.Saldato.set(i % 2 ? kSi : kNo);
    }
    {
      auto a = MovementArchive::OpenOrCreate(p);
      QFile f(p);
      f.open(QIODevice::WriteOnly);
      f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
    }
    std::atexit([] { QFile::remove(archivePath()); });
    return p;
  }();
  return path;
}

long maxRssKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
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

void BM_FilteredScanCausale(benchmark::State& state) {
  const QString path = archivePath();
  const QString needle = QStringLiteral("fattura");
  int64_t matches = 0;
  int64_t bytes = 0;
  const long rssBefore = maxRssKiB();
  for (auto _ : state) {
    auto a = MovementArchive::OpenOrCreate(path);
    matches = 0;
    a.Scan([&](qint64, MovimentoView v) {
      if (v.text(mov::Causale).contains(needle, Qt::CaseInsensitive)) ++matches;
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
