// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the benchmarks share: generated archives in the temporary folder,
// written before any timing starts and removed when the program ends, and the
// raw block read that every scan is measured against.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QString>
#include <cstdlib>
#include <vector>

#include "core/archive.h"
#include "core/heap.h"

namespace fondaro::bench {

inline constexpr int kRecords = 100000;

// Writes the records as an archive named after `tag` and returns its path; the
// file is removed when the program ends.
template <class Rec>
QString writeTemporaryArchive(const char* tag, const std::vector<Rec>& records) {
  keepFreedMemoryForReuse();  // the heap as the program sets it up in main()
  struct Remover {
    std::vector<QString> paths;
    ~Remover() {
      for (const QString& p : paths) QFile::remove(p);
    }
  };
  static Remover remover;
  const QString path =
      QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-%2").arg(getpid()).arg(QLatin1String(tag));
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(reinterpret_cast<const char*>(records.data()), qint64(records.size() * sizeof(Rec))) !=
          qint64(records.size() * sizeof(Rec))) {
    std::abort();  // no figures from a half-written archive
  }
  remover.paths.push_back(path);
  return path;
}

// kRecords movements, a third of them income (every third from the first),
// every other one paid; fill(i, record) writes the rest, Importo included, and
// Totale is then the signed Importo.
template <class Fill>
std::vector<TMovimento> generatedMovements(Fill fill) {
  std::vector<TMovimento> recs(kRecords);
  for (int i = 0; i < kRecords; ++i) {
    TMovimento& r = recs[size_t(i)];
    const bool in = i % 3 == 0;
    r.Entrata.set(in ? kSi : kNo);
    r.Uscita.set(in ? kNo : kSi);
    r.Saldato.set(i % 2 ? kSi : kNo);
    fill(i, r);
    r.Totale.set((in ? QStringLiteral("+") : QStringLiteral("-")) + r.Importo.get());
  }
  return recs;
}

// The year of movements the list benchmarks read: every date of 2024 (day
// 1-28), a third of them income, half of them paid, notice 0-29 days, reasons
// that share their first words, and an accented letter now and then.
inline std::vector<TMovimento> listYear() {
  static const char* reasons[] = {"Affitto ufficio", "Bolletta luce", "Fattura cliente", "Stipendio",
                                  "Cancelleria", "Caff\xE8 e acqua", "Assicurazione auto"};
  return generatedMovements([](int i, TMovimento& r) {
    const QString day = QStringLiteral("%1/%2/2024")
                            .arg(i % 28 + 1, 2, 10, QLatin1Char('0'))
                            .arg(i % 12 + 1, 2, 10, QLatin1Char('0'));
    r.Data.set(day);
    r.DataSca.set(day);
    r.Preavviso.set(QString::number(i % 30));
    r.Causale.set(QStringLiteral("%1 n. %2").arg(QString::fromLatin1(reasons[i % 7])).arg(i));
    r.Importo.set(QStringLiteral("%1,%2").arg(i % 5000).arg(i % 100, 2, 10, QLatin1Char('0')));
    r.Pagatore.set(QStringLiteral("Cliente %1").arg(i % 977));
    r.Beneficiario.set(QStringLiteral("Fornitore %1").arg(i % 311));
    r.Note.set(QStringLiteral("Nota di prova per il movimento numero %1").arg(i));
  });
}

// The archive of listYear(), written once.
inline const QString& listYearPath() {
  static const QString path = writeTemporaryArchive("lists.eur", listYear());
  return path;
}

// Reads the file in blocks of the scan's size and does nothing with them:
// the floor under every scan.
inline void rawBlockRead(benchmark::State& state, const QString& path) {
  const QByteArray native = QFile::encodeName(path);
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

}  // namespace fondaro::bench
