// SPDX-License-Identifier: GPL-3.0-or-later
// The totals by category of a year of 100 000 movements, and the rendiconto
// per cassa of that year, against a raw block read of the same archive in the
// same run (goal: within 1.5 times the raw read, as the other scans).
#include <QDir>
#include <QTemporaryDir>

#include "benchsupport.h"
#include "core/categories.h"
#include "core/filepath.h"
#include "core/rendiconto.h"

using namespace fondaro;

namespace {

// A program folder holding 2024.eur: twelve categories, half of them with
// sub-categories, in several spellings, and some movements without one.
struct Folder {
  QTemporaryDir dir;
  QString archive = dir.filePath(u"2024.eur"_qs);
  Folder() {
    static const char* names[] = {"Servizi: telefono", "servizi: Luce", "Affitto sede", "Quote associative",
                                  "Materiale: carta",  "MATERIALE: toner", "Erogazioni liberali", "Cena sociale",
                                  "Giroconto",         "Contributi: Comune", "Imposte", "",
                                  "Citt\xE0: tasse",   "Assicurazione"};
    const std::vector<TMovimento> recs = bench::generatedMovements([](int i, TMovimento& r) {
      r.Data.set(QStringLiteral("%1/%2/2024").arg(i % 28 + 1, 2, 10, QLatin1Char('0')).arg(i % 12 + 1, 2, 10, QLatin1Char('0')));
      r.Importo.set(QStringLiteral("%1,%2").arg(i % 5000).arg(i % 100, 2, 10, QLatin1Char('0')));
      r.Categoria.set(QString::fromLatin1(names[i % 14]));
      r.Causale.set(QStringLiteral("Movimento %1").arg(i));
    });
    QFile f(archive);
    if (!f.open(QIODevice::WriteOnly) ||
        f.write(reinterpret_cast<const char*>(recs.data()), qint64(recs.size() * sizeof(TMovimento))) !=
            qint64(recs.size() * sizeof(TMovimento)))
      std::abort();
  }
  QByteArray path() const { return encodePath(dir.path()); }
};

const Folder& folder() {
  static const Folder f;
  return f;
}

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, folder().archive); }

void BM_CategorySummary(benchmark::State& state) {
  int64_t bytes = 0;
  size_t groups = 0;
  for (auto _ : state) {
    const categories::CategorySummary s = categories::summarise(folder().path(), QDate(2024, 1, 1), QDate(2024, 12, 31));
    groups = s.groups.size();
    bytes += int64_t(bench::kRecords) * int64_t(sizeof(TMovimento));
  }
  state.SetBytesProcessed(bytes);
  state.counters["categories"] = double(groups);
}

void BM_Rendiconto(benchmark::State& state) {
  rendiconto::Settings settings;
  settings.classificazione = {{u"Servizi"_qs, u"A.U.2"_qs, QString()},
                              {u"Quote associative"_qs, QString(), u"A.E.1"_qs},
                              {u"Materiale"_qs, u"A.U.1"_qs, u"A.E.10"_qs},
                              {u"Giroconto"_qs, u"X"_qs, u"X"_qs}};
  int64_t bytes = 0;
  for (auto _ : state) {
    const rendiconto::Rendiconto r = rendiconto::buildRendiconto(folder().path(), 2024, settings, false);
    benchmark::DoNotOptimize(r.lines.data());
    bytes += int64_t(bench::kRecords) * int64_t(sizeof(TMovimento));
  }
  state.SetBytesProcessed(bytes);
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CategorySummary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rendiconto)->Unit(benchmark::kMillisecond);
