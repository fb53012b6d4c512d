// SPDX-License-Identifier: GPL-3.0-or-later
// The readable copy of an electronic invoice (what an import stores as File02
// for each invoice file, and the window shows): a one-page invoice of five
// lines and two instalments, laid out only, and made whole as PDF bytes. An
// import of a month's zip makes one per file, so this is the per-file cost
// the import adds to writing its movements.
#include <benchmark/benchmark.h>

#include "core/invoicefiles.h"
#include "report/headless.h"
#include "report/invoicecopy.h"
#include "report/pdf.h"

namespace {

using namespace fondaro;

void ensureApplication() {
  static int argc = 1;
  static char name[] = "bench_invoicecopy";
  static char* argv[] = {name, nullptr};
  static const auto app = report::startHeadless(argc, argv);
}

InvoiceFileRead sampleInvoice() {
  QString lines;
  for (int i = 1; i <= 5; ++i)
    lines += QStringLiteral(
                 "<DettaglioLinee><NumeroLinea>%1</NumeroLinea><Descrizione>Articolo %1 della fornitura mensile di "
                 "materiale di consumo per l'ufficio</Descrizione><Quantita>2.00</Quantita><PrezzoUnitario>10.00"
                 "</PrezzoUnitario><PrezzoTotale>20.00</PrezzoTotale><AliquotaIVA>22.00</AliquotaIVA></DettaglioLinee>")
                 .arg(i);
  const QString xml = QStringLiteral(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><p:FatturaElettronica versione=\"FPR12\" "
      "xmlns:p=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\"><FatturaElettronicaHeader>"
      "<CedentePrestatore><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>01234567897</IdCodice>"
      "</IdFiscaleIVA><Anagrafica><Denominazione>Rossi Forniture S.r.l.</Denominazione></Anagrafica>"
      "</DatiAnagrafici><Sede><Indirizzo>Via Roma</Indirizzo><NumeroCivico>12</NumeroCivico><CAP>20121</CAP>"
      "<Comune>Milano</Comune><Provincia>MI</Provincia><Nazione>IT</Nazione></Sede></CedentePrestatore>"
      "<CessionarioCommittente><DatiAnagrafici><IdFiscaleIVA><IdPaese>IT</IdPaese><IdCodice>09876543217"
      "</IdCodice></IdFiscaleIVA><Anagrafica><Denominazione>Bianchi Servizi S.n.c.</Denominazione></Anagrafica>"
      "</DatiAnagrafici><Sede><Indirizzo>Corso Italia</Indirizzo><CAP>10121</CAP><Comune>Torino</Comune>"
      "<Nazione>IT</Nazione></Sede></CessionarioCommittente></FatturaElettronicaHeader><FatturaElettronicaBody>"
      "<DatiGenerali><DatiGeneraliDocumento><TipoDocumento>TD01</TipoDocumento><Divisa>EUR</Divisa>"
      "<Data>2024-03-15</Data><Numero>7</Numero><ImportoTotaleDocumento>122.00</ImportoTotaleDocumento>"
      "</DatiGeneraliDocumento></DatiGenerali><DatiBeniServizi>%1<DatiRiepilogo><AliquotaIVA>22.00"
      "</AliquotaIVA><ImponibileImporto>100.00</ImponibileImporto><Imposta>22.00</Imposta></DatiRiepilogo>"
      "</DatiBeniServizi><DatiPagamento><CondizioniPagamento>TP01</CondizioniPagamento><DettaglioPagamento>"
      "<ModalitaPagamento>MP05</ModalitaPagamento><DataScadenzaPagamento>2024-04-15</DataScadenzaPagamento>"
      "<ImportoPagamento>61.00</ImportoPagamento><IBAN>IT60X0542811101000000123456</IBAN></DettaglioPagamento>"
      "<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento><DataScadenzaPagamento>2024-05-15"
      "</DataScadenzaPagamento><ImportoPagamento>61.00</ImportoPagamento></DettaglioPagamento></DatiPagamento>"
      "</FatturaElettronicaBody></p:FatturaElettronica>").arg(lines);
  InvoiceFileRead f;
  f.number = 1;
  f.name = f.shownName = QStringLiteral("IT01234567897_00007.xml");
  f.bytes = xml.toUtf8();
  readInvoiceBytes(f);
  return f;
}

// The copy filled and laid out on a PDF page, nothing drawn.
void BM_InvoiceCopyLayout(benchmark::State& state) {
  ensureApplication();
  const InvoiceFileRead f = sampleInvoice();
  for (auto _ : state) {
    report::ReportSequence copy = report::invoiceCopy(f);
    benchmark::DoNotOptimize(report::countPages(copy));
  }
}
BENCHMARK(BM_InvoiceCopyLayout)->Unit(benchmark::kMillisecond);

// The copy as the import stores it: the PDF's bytes.
void BM_InvoiceCopyPdf(benchmark::State& state) {
  ensureApplication();
  const InvoiceFileRead f = sampleInvoice();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray pdf = report::invoiceCopyPdf(f);
    bytes = pdf.size();
    benchmark::DoNotOptimize(pdf.data());
  }
  state.counters["pdf_bytes"] = double(bytes);
}
BENCHMARK(BM_InvoiceCopyPdf)->Unit(benchmark::kMillisecond);

}  // namespace
