// A list window's whole answer to "Cerca" over a generated 100000-record
// archive: scan, line building, sort, and the list shown and painted.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <vector>

#include "core/lists.h"
#include "gui/listwindow.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

const QString& archivePath() {
  static const QString path = [] {
    const QString p = QDir::tempPath() + QStringLiteral("/fondaro-bench-listwindow-%1.eur").arg(getpid());
    std::vector<TMovimento> recs(kRecords);
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      r.Causale.set(QStringLiteral("Causale del movimento n. %1").arg((i * 7919) % kRecords));
      r.DataSca.set(QStringLiteral("%1/%2/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')).arg(i % 12 + 1, 2, 10, QLatin1Char('0')));
      r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
      r.Beneficiario.set(QStringLiteral("Fornitore %1").arg(i % 311));
      r.Totale.set(QStringLiteral("+%1,00").arg(i % 5000));
    }
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
    std::atexit([] { QFile::remove(archivePath()); });
    return p;
  }();
  return path;
}

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

void BM_SearchSortShow100k(benchmark::State& state) {
  app();
  archivePath();  // generated before the timing starts
  gui::LineList list(QStringLiteral("lstRecords"), nullptr);
  list.resize(830, 370);
  list.show();
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    list.setLines(linesOf(searchList(a, FilterSet())));
    list.repaint();
    QCoreApplication::processEvents();
    state.PauseTiming();
    list.clear();
    QCoreApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["lines"] = double(kRecords);
}

}  // namespace

BENCHMARK(BM_SearchSortShow100k)->Unit(benchmark::kMillisecond);
