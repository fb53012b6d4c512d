// The list windows' work over a generated 100000-record year archive, against
// a raw block read of the same file in the same run: the search list (scan,
// line building, sort), the due list, and the journal of the whole year with
// its totals.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <vector>

#include "core/journal.h"
#include "core/lists.h"

using namespace fondaro;

namespace {

constexpr int kRecords = 100000;

const QString& archivePath() {
  static const QString path = [] {
    const QString p = QDir::tempPath() + QStringLiteral("/fondaro-bench-lists-%1.eur").arg(getpid());
    std::vector<TMovimento> recs(kRecords);
    static const char* reasons[] = {"Affitto ufficio", "Bolletta luce", "Fattura cliente", "Stipendio",
                                    "Cancelleria", "Caff\xE8 e acqua", "Assicurazione auto"};
    for (int i = 0; i < kRecords; ++i) {
      TMovimento& r = recs[size_t(i)];
      const bool in = i % 3 == 0;
      const QString day = QStringLiteral("%1/%2/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')).arg(i % 12 + 1, 2, 10, QLatin1Char('0'));
      r.Entrata.set(in ? kSi : kNo);
      r.Uscita.set(in ? kNo : kSi);
      r.Data.set(day);
      r.DataSca.set(day);
      r.Preavviso.set(QString::number(i % 30));
      r.Causale.set(QStringLiteral("%1 n. %2").arg(QString::fromLatin1(reasons[i % 7])).arg(i));
      r.Importo.set(QStringLiteral("%1,%2").arg(i % 5000).arg(i % 100, 2, 10, QLatin1Char('0')));
      r.Totale.set((in ? QStringLiteral("+") : QStringLiteral("-")) + r.Importo.get());
      r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
      r.Beneficiario.set(QStringLiteral("Fornitore %1").arg(i % 311));
      r.Note.set(QStringLiteral("Nota di prova per il movimento numero %1").arg(i));
      r.Saldato.set(i % 2 ? kSi : kNo);
    }
    QFile f(p);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento)));
    std::atexit([] { QFile::remove(archivePath()); });
    return p;
  }();
  return path;
}

void BM_RawBlockRead(benchmark::State& state) {
  const QByteArray native = archivePath().toLocal8Bit();
  std::vector<char> buf(size_t(RecordFile::kScanBlockBytes / 3414 * 3414));
  for (auto _ : state) {
    const int fd = open(native.constData(), O_RDONLY);
    while (read(fd, buf.data(), buf.size()) > 0) benchmark::DoNotOptimize(buf.data());
    close(fd);
  }
}

// Every record matches: 100000 lines built and sorted.
void BM_SearchListAll(benchmark::State& state) {
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    n = searchList(a, FilterSet()).size();
  }
  state.counters["lines"] = double(n);
}

// A filter on the payer: a field decoded per record, few lines.
void BM_SearchListFiltered(benchmark::State& state) {
  const FilterSet filters({{mov::Pagatore, QStringLiteral("cliente 97")}});
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    n = searchList(a, filters).size();
  }
  state.counters["lines"] = double(n);
}

void BM_DueList(benchmark::State& state) {
  size_t n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    n = dueList(a, QDate(2024, 12, 31)).entries.size();
  }
  state.counters["lines"] = double(n);
}

// The whole year: every record listed, formatted and added up.
void BM_JournalYear(benchmark::State& state) {
  int n = 0;
  for (auto _ : state) {
    auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
    const Journal j = buildJournal(a, {QDate(2024, 1, 1), QDate(2024, 12, 31), QString()});
    n = int(j.lines.size());
    benchmark::DoNotOptimize(j.balance.euroText());
  }
  state.counters["lines"] = double(n);
}

// The list find over 100000 lines when the only match is the last line.
void BM_ListFindWorstCase(benchmark::State& state) {
  auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
  const QStringList lines = linesOf(searchList(a, FilterSet()));
  for (auto _ : state) {
    ListFind f;
    benchmark::DoNotOptimize(f.find(lines, 0, QStringLiteral("nessuna riga contiene questo")));
  }
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchListFiltered)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DueList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JournalYear)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListFindWorstCase)->Unit(benchmark::kMillisecond);
