// SPDX-License-Identifier: GPL-3.0-or-later
// The day copy of a 100 000-record year (341 MB) that the first write of a day
// takes, against the plainest whole copy of the same bytes in the same run:
// read in blocks of a mebibyte, written to a new file, synced once. The day
// copy also reads its copy back, compares it with the archive, hashes it and
// writes the manifest.
#include <sys/stat.h>
#include <unistd.h>

#include "benchsupport.h"
#include "core/filepath.h"
#include "core/safetycopies.h"

using namespace fondaro;

namespace {

struct Fixture {
  QString folder;
  QString archive;
  Fixture() {
    folder = QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-daycopy").arg(getpid());
    QDir().mkpath(folder);
    archive = folder + QStringLiteral("/2024.eur");
    QFile::remove(archive);
    if (!QFile::copy(bench::listYearPath(), archive)) std::abort();
  }
  ~Fixture() { QDir(folder).removeRecursively(); }
  QString copies() const { return folder + QStringLiteral("/Copie di sicurezza"); }
};

const Fixture& fixture() {
  static const Fixture f;
  return f;
}

void BM_RawCopyAndSync(benchmark::State& state) {
  const Fixture& f = fixture();
  const QByteArray from = QFile::encodeName(f.archive);
  const QByteArray to = QFile::encodeName(f.folder + QStringLiteral("/raw-copy"));
  std::vector<char> buf(size_t(1) << 20);
  int64_t bytes = 0;
  for (auto _ : state) {
    ::unlink(to.constData());
    const int in = ::open(from.constData(), O_RDONLY);
    const int out = ::open(to.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ssize_t n;
    while ((n = ::read(in, buf.data(), buf.size())) > 0) {
      if (::write(out, buf.data(), size_t(n)) != n) std::abort();
      bytes += n;
    }
    ::fdatasync(out);
    ::close(out);
    ::close(in);
  }
  ::unlink(to.constData());
  state.SetBytesProcessed(bytes);
}

void BM_DayCopy(benchmark::State& state) {
  const Fixture& f = fixture();
  const QByteArray archive = encodePath(f.archive);
  int64_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    QDir(f.copies()).removeRecursively();
    state.ResumeTiming();
    if (safety::copyBeforeWriting(archive).result != safety::DayCopy::Result::Made) std::abort();
    bytes += bench::kRecords * int64_t(sizeof(TMovimento));
  }
  QDir(f.copies()).removeRecursively();
  state.SetBytesProcessed(bytes);
}

}  // namespace

BENCHMARK(BM_RawCopyAndSync)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DayCopy)->Unit(benchmark::kMillisecond)->UseRealTime();
