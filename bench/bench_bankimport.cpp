// SPDX-License-Identifier: GPL-3.0-or-later
// A bank statement of 10 000 entries (CAMT.053) into a year of 100 000
// movements: the reading alone, then the whole import (reading, the duplicate
// check under the append lock, the batch append), against a raw block read of
// the same archive in the same run. One entry in ten is already in the archive.
// Then the plan of the same import with the matching of payments.
#include <sys/stat.h>
#include <unistd.h>

#include "benchsupport.h"
#include "core/bankimport.h"
#include "core/filepath.h"

using namespace fondaro;

namespace {

constexpr int kEntries = 10000;

struct Fixture {
  QString folder;
  QString archive;
  QString statement;
  qint64 archiveBytes = 0;

  Fixture() {
    folder = QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-import").arg(getpid());
    QDir().mkpath(folder);
    archive = folder + QStringLiteral("/2024.eur");
    statement = folder + QStringLiteral("/estratto.xml");
    const std::vector<TMovimento> year = bench::listYear();
    archiveBytes = qint64(year.size() * sizeof(TMovimento));
    QFile a(archive);
    if (!a.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        a.write(reinterpret_cast<const char*>(year.data()), archiveBytes) != archiveBytes) {
      std::abort();
    }
    a.close();
    QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.08\"><BkToCstmrStmt>"
        "<GrpHdr><MsgId>B</MsgId><CreDtTm>2025-01-02T08:00:00</CreDtTm></GrpHdr><Stmt><Id>S</Id>"
        "<Acct><Id><IBAN>IT60X0542811101000000123456</IBAN></Id></Acct>\n";
    for (int k = 0; k < kEntries; ++k) {
      if (k % 10 == 0) {
        // The same movement as a stored one: no reference, its Causale, date and Totale.
        const TMovimento& r = year[size_t(k * 7)];
        const QString data = r.Data.get();
        const QString iso = data.mid(6, 4) + u'-' + data.mid(3, 2) + u'-' + data.left(2);
        const QString totale = r.Totale.get();
        xml += QStringLiteral(
                   "<Ntry><Amt Ccy=\"EUR\">%1</Amt><CdtDbtInd>%2</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
                   "<BookgDt><Dt>%3</Dt></BookgDt><NtryDtls><TxDtls><RmtInf><Ustrd>%4</Ustrd></RmtInf>"
                   "</TxDtls></NtryDtls></Ntry>\n")
                   .arg(totale.mid(1).replace(u',', u'.'), totale.startsWith(u'+') ? u"CRDT" : u"DBIT", iso,
                        r.Causale.get())
                   .toUtf8();
      } else {
        xml += QStringLiteral(
                   "<Ntry><Amt Ccy=\"EUR\">%1.%2</Amt><CdtDbtInd>%3</CdtDbtInd><Sts><Cd>BOOK</Cd></Sts>"
                   "<BookgDt><Dt>2024-%4-%5</Dt></BookgDt><AcctSvcrRef>REF%6</AcctSvcrRef>"
                   "<BkTxCd><Domn><Cd>PMNT</Cd><Fmly><Cd>RCDT</Cd><SubFmlyCd>ESCT</SubFmlyCd></Fmly></Domn></BkTxCd>"
                   "<NtryDtls><TxDtls><RltdPties><Dbtr><Pty><Nm>Cliente %7</Nm></Pty></Dbtr></RltdPties>"
                   "<RmtInf><Ustrd>Fattura %6 del mese</Ustrd><Ustrd>saldo</Ustrd></RmtInf></TxDtls></NtryDtls>"
                   "</Ntry>\n")
                   .arg(k % 3000)
                   .arg(k % 100, 2, 10, QLatin1Char('0'))
                   .arg(k % 2 ? u"CRDT" : u"DBIT")
                   .arg(k % 12 + 1, 2, 10, QLatin1Char('0'))
                   .arg(k % 28 + 1, 2, 10, QLatin1Char('0'))
                   .arg(k)
                   .arg(k % 500)
                   .toUtf8();
      }
    }
    xml += "</Stmt></BkToCstmrStmt></Document>\n";
    QFile s(statement);
    if (!s.open(QIODevice::WriteOnly | QIODevice::Truncate) || s.write(xml) != xml.size()) std::abort();
  }
  ~Fixture() { QDir(folder).removeRecursively(); }

  // The year as it was before an import.
  void restore() const {
    if (::truncate(QFile::encodeName(archive).constData(), archiveBytes) != 0) std::abort();
  }
};

const Fixture& fixture() {
  static const Fixture f;
  return f;
}

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, fixture().archive); }

void BM_ReadCamt10000(benchmark::State& state) {
  const QByteArray path = encodePath(fixture().statement);
  size_t entries = 0;
  for (auto _ : state) entries = readStatementFile(path).entries.size();
  state.counters["entries"] = double(entries);
}

void BM_ImportCamt10000Into100000(benchmark::State& state) {
  const Fixture& f = fixture();
  const QByteArray folder = encodePath(f.folder);
  const QByteArray path = encodePath(f.statement);
  qint64 added = 0;
  qint64 present = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.restore();
    state.ResumeTiming();
    const Statement st = readStatementFile(path);
    const ImportResult r = importStatement(st, folder, QStringLiteral("estratto.xml"));
    added = r.added();
    present = r.years.empty() ? 0 : r.years[0].present;
  }
  f.restore();
  state.counters["added"] = double(added);
  state.counters["present"] = double(present);
}

// The same statement planned with the matching of payments: the duplicate
// check that knows settled movements, the unpaid movements of the amounts paid
// (nothing of this year is marked paid, so they are many) and the one-to-one
// choice, with no write.
void BM_PlanMatchedCamt10000Into100000(benchmark::State& state) {
  const Fixture& f = fixture();
  const QByteArray folder = encodePath(f.folder);
  const Statement st = readStatementFile(encodePath(f.statement));
  qint64 settles = 0;
  qint64 candidates = 0;
  for (auto _ : state) {
    const ImportPlan plan = planMatchedImport(st, folder, QStringLiteral("estratto.xml"));
    settles = qint64(settledEntries(plan).size());
    candidates = qint64(plan.unpaid.size());
  }
  state.counters["settles"] = double(settles);
  state.counters["unpaid"] = double(candidates);
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadCamt10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportCamt10000Into100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanMatchedCamt10000Into100000)->Unit(benchmark::kMillisecond);
