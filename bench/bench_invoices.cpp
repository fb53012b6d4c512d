// SPDX-License-Identifier: GPL-3.0-or-later
// A month's zip of 1 000 electronic invoices (from 50 suppliers, one in ten
// with three instalments) into a year of 100 000 movements: the reading of
// the zip alone, then the whole import (reading, planning with the duplicate
// check against the year, the attachments written, the cards, the locked
// batch), against a raw block read of the same archive in the same run. The
// readable copy is a stand-in of a few bytes: the PDF is the report engine's,
// measured by its own benchmarks.
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

#include "benchsupport.h"
#include "core/attachments.h"
#include "core/filepath.h"
#include "core/invoicefiles.h"
#include "core/invoiceimport.h"

using namespace fondaro;

namespace {

constexpr int kInvoices = 1000;
const QString kCompany = QStringLiteral("12345678903");

// An Italian VAT number: ten digits and their check digit.
QString vatNumber(int n) {
  const QString ten = QStringLiteral("%1").arg(n, 10, 10, QLatin1Char('0'));
  int sum = 0;
  for (int i = 0; i < 10; ++i) {
    int d = ten[i].digitValue();
    if (i % 2 == 1) d = d * 2 > 9 ? d * 2 - 9 : d * 2;
    sum += d;
  }
  return ten + QString::number((10 - sum % 10) % 10);
}

QByteArray invoice(int k) {
  const int supplier = k % 50;
  const QString date = QStringLiteral("2024-%1-%2").arg(k % 12 + 1, 2, 10, QLatin1Char('0')).arg(k % 28 + 1, 2, 10, QLatin1Char('0'));
  QString payment;
  if (k % 10 == 0) {
    for (int i = 0; i < 3; ++i) {
      payment += QStringLiteral("<DettaglioPagamento><ModalitaPagamento>MP12</ModalitaPagamento>"
                                "<DataScadenzaPagamento>2025-0%1-28</DataScadenzaPagamento>"
                                "<ImportoPagamento>%2.00</ImportoPagamento></DettaglioPagamento>")
                     .arg(i + 1)
                     .arg(100 + k % 7);
    }
  } else {
    payment = QStringLiteral("<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
                             "<DataScadenzaPagamento>2024-12-31</DataScadenzaPagamento>"
                             "<ImportoPagamento>%1.20</ImportoPagamento><IBAN>IT60X0542811101000000123456</IBAN>"
                             "</DettaglioPagamento>")
                  .arg(100 + k);
  }
  return QStringLiteral(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<p:FatturaElettronica versione=\"FPR12\" "
             "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\">"
             "<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese><IdCodice>%1</IdCodice>"
             "</IdTrasmittente><ProgressivoInvio>%2</ProgressivoInvio><FormatoTrasmissione>FPR12</FormatoTrasmissione>"
             "<CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>"
             "<CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>%1</IdCodice></IdFiscaleIVA>"
             "<Anagrafica><Denominazione>Fornitore %3 Srl</Denominazione></Anagrafica><RegimeFiscale>RF01</RegimeFiscale>"
             "</DatiAnagrafici><Sede><Indirizzo>Via Roma</Indirizzo><NumeroCivico>%3</NumeroCivico><CAP>00100</CAP>"
             "<Comune>Roma</Comune><Provincia>RM</Provincia><Nazione>IT</Nazione></Sede></CedentePrestatore>"
             "<CessionarioCommittente><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>%4</IdCodice>"
             "</IdFiscaleIVA><Anagrafica><Denominazione>Azienda Mia Srl</Denominazione></Anagrafica></DatiAnagrafici>"
             "<Sede><Indirizzo>Via Verdi 10</Indirizzo><CAP>20100</CAP><Comune>Milano</Comune><Provincia>MI</Provincia>"
             "<Nazione>IT</Nazione></Sede></CessionarioCommittente></FatturaElettronicaHeader>"
             "<FatturaElettronicaBody><DatiGenerali><DatiGeneraliDocumento><TipoDocumento>TD01</TipoDocumento>"
             "<Divisa>EUR</Divisa><Data>%5</Data><Numero>%6/2024</Numero>"
             "<ImportoTotaleDocumento>%7.20</ImportoTotaleDocumento></DatiGeneraliDocumento></DatiGenerali>"
             "<DatiBeniServizi><DettaglioLinee><NumeroLinea>1</NumeroLinea><Descrizione>Materiale di consumo</Descrizione>"
             "<Quantita>1.00</Quantita><PrezzoUnitario>%8.00</PrezzoUnitario><PrezzoTotale>%8.00</PrezzoTotale>"
             "<AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee><DettaglioLinee><NumeroLinea>2</NumeroLinea>"
             "<Descrizione>Trasporto</Descrizione><PrezzoUnitario>0.00</PrezzoUnitario><PrezzoTotale>0.00</PrezzoTotale>"
             "<AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee><DatiRiepilogo><AliquotaIVA>22.00</AliquotaIVA>"
             "<ImponibileImporto>%8.00</ImponibileImporto><Imposta>22.00</Imposta></DatiRiepilogo></DatiBeniServizi>"
             "<DatiPagamento><CondizioniPagamento>TP02</CondizioniPagamento>%9</DatiPagamento>"
             "</FatturaElettronicaBody></p:FatturaElettronica>\n")
      .arg(vatNumber(1000 + supplier), QStringLiteral("%1").arg(k, 5, 10, QLatin1Char('0')), QString::number(supplier),
           kCompany, date, QString::number(k), QString::number(100 + k), QString::number(78 + k), payment)
      .toUtf8();
}

struct Fixture {
  QString folder;
  QString archive;
  QString zip;
  qint64 archiveBytes = 0;

  Fixture() {
    folder = QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-invoices").arg(getpid());
    QDir().mkpath(folder);
    archive = folder + QStringLiteral("/2024.eur");
    zip = QDir::tempPath() + QStringLiteral("/fondaro-bench-%1-fatture.zip").arg(getpid());
    const std::vector<TMovimento> year = bench::listYear();
    archiveBytes = qint64(year.size() * sizeof(TMovimento));
    QFile a(archive);
    if (!a.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        a.write(reinterpret_cast<const char*>(year.data()), archiveBytes) != archiveBytes) {
      std::abort();
    }
    a.close();
    QFile z(zip);
    if (!z.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    QuaZip out(&z);
    if (!out.open(QuaZip::mdCreate)) std::abort();
    for (int k = 0; k < kInvoices; ++k) {
      QuaZipFile f(&out);
      const QString name = QStringLiteral("IT%1_%2.xml").arg(vatNumber(1000 + k % 50)).arg(k, 5, 10, QLatin1Char('0'));
      if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(name))) std::abort();
      f.write(invoice(k));
      f.close();
    }
    out.close();
  }
  ~Fixture() {
    QDir(folder).removeRecursively();
    QFile::remove(zip);
  }

  // The folder as it was before an import.
  void restore() const {
    if (::truncate(QFile::encodeName(archive).constData(), archiveBytes) != 0) std::abort();
    QFile::remove(folder + QStringLiteral("/Clienti.pro"));
    QDir(attachmentsFolder(folder)).removeRecursively();
  }
};

const Fixture& fixture() {
  static const Fixture f;
  return f;
}

QByteArray stubCopy(const InvoiceFileRead& f) { return "%PDF-1.4 " + f.name.toUtf8(); }

void BM_RawBlockRead(benchmark::State& state) { bench::rawBlockRead(state, fixture().archive); }

void BM_ReadZip1000(benchmark::State& state) {
  size_t files = 0;
  for (auto _ : state) files = readInvoiceInputs({fixture().zip}).size();
  state.counters["files"] = double(files);
}

void BM_ImportZip1000Into100000(benchmark::State& state) {
  const Fixture& f = fixture();
  const QByteArray folder = encodePath(f.folder);
  InvoicePlanOptions options;
  options.ownIds = {kCompany};
  options.makeReadableCopy = stubCopy;
  qint64 added = 0;
  qint64 cards = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.restore();
    state.ResumeTiming();
    const InvoicePlan plan = planInvoiceImport(readInvoiceInputs({f.zip}), folder, options);
    const InvoiceImportResult r = importInvoices(plan, folder, stubCopy);
    added = r.added();
    cards = r.cardsAdded;
  }
  f.restore();
  state.counters["added"] = double(added);
  state.counters["cards"] = double(cards);
}

}  // namespace

BENCHMARK(BM_RawBlockRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadZip1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportZip1000Into100000)->Unit(benchmark::kMillisecond)->Iterations(3);
