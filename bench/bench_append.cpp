// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of 100 000 records appended to a new archive (one lock, block
// writes, one sync) against writing the same bytes to a plain file in blocks
// of a mebibyte and syncing once, measured in the same run.
#include "benchsupport.h"
#include "core/archive.h"

using namespace fondaro;

namespace {

using bench::kRecords;

const std::vector<TMovimento>& batch() {
  static const std::vector<TMovimento> records = bench::listYear();
  return records;
}

QString scratchPath(const char* tag) {
  return QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-%2").arg(getpid()).arg(QLatin1String(tag));
}

void BM_RawWriteAndSync(benchmark::State& state) {
  const auto& records = batch();
  const QByteArray path = QFile::encodeName(scratchPath("raw-write"));
  const auto* bytes = reinterpret_cast<const char*>(records.data());
  const qint64 total = qint64(records.size() * sizeof(TMovimento));
  for (auto _ : state) {
    ::unlink(path.constData());
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (qint64 done = 0; done < total;) {
      const ssize_t w = ::write(fd, bytes + done, size_t(std::min<qint64>(1 << 20, total - done)));
      if (w <= 0) std::abort();
      done += w;
    }
    ::fdatasync(fd);
    ::close(fd);
  }
  ::unlink(path.constData());
  state.SetBytesProcessed(int64_t(state.iterations()) * total);
}

void BM_BatchAppend(benchmark::State& state) {
  const auto& records = batch();
  const QString path = scratchPath("batch-append.eur");
  for (auto _ : state) {
    QFile::remove(path);
    auto a = MovementArchive::OpenOrCreate(path);
    benchmark::DoNotOptimize(a.AppendAll(records).count);
    a.Close();
  }
  QFile::remove(path);
  state.SetBytesProcessed(int64_t(state.iterations()) * kRecords * int64_t(sizeof(TMovimento)));
}

}  // namespace

BENCHMARK(BM_RawWriteAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BatchAppend)->Unit(benchmark::kMillisecond)->UseRealTime();
