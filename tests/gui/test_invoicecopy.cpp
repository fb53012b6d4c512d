// SPDX-License-Identifier: GPL-3.0-or-later
// The readable copy of an electronic invoice: what a paper invoice shows, read
// back from the PDF with pdftotext; a batch's bodies on pages of their own; a
// long invoice over several pages with no line lost; the same bytes each time.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "core/invoicefiles.h"
#include "invoice_samples.h"
#include "report/invoicecopy.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::testsupport;

namespace {

InvoiceFileRead invoiceRead(const QByteArray& bytes, const QString& name = u"IT01234567897_00001.xml"_qs) {
  InvoiceFileRead f;
  f.number = 1;
  f.name = f.shownName = name;
  f.bytes = bytes;
  readInvoiceBytes(f);
  return f;
}

// The text of a PDF (one page, or all), blanks collapsed.
QString pdfText(const QByteArray& pdf, int page = 0) {
  QTemporaryDir dir;
  const QString path = dir.filePath(u"copia.pdf"_qs);
  QFile out(path);
  if (!out.open(QIODevice::WriteOnly) || out.write(pdf) != pdf.size()) return {};
  out.close();
  QStringList args;
  if (page > 0) args << u"-f"_qs << QString::number(page) << u"-l"_qs << QString::number(page);
  QProcess p;
  p.start(u"pdftotext"_qs, args << path << u"-"_qs);
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput()).simplified();
}

// The PDF beside the window pictures, for a human look.
void keepForALook(const QByteArray& pdf, const QString& name) {
  QDir().mkpath(artifacts());
  QFile f(artifacts() + u'/' + name + u".pdf"_qs);
  if (f.open(QIODevice::WriteOnly)) f.write(pdf);
}

int pdfPages(const QByteArray& pdf) {
  static const QRegularExpression page(u"/Type\\s*/Page[^s]"_qs);
  return int(QString::fromLatin1(pdf).count(page));
}

const QString kAttachment = QStringLiteral(
    "<Allegati><NomeAttachment>fattura-7.pdf</NomeAttachment><FormatoAttachment>PDF</FormatoAttachment>"
    "<DescrizioneAttachment>Copia di cortesia</DescrizioneAttachment><Attachment>JVBERi0xLjQK</Attachment>"
    "</Allegati>");

}  // namespace

class TestInvoiceCopy : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void showsWhatAPaperInvoiceShows() {
    const QString payment = QStringLiteral(
        "<DatiPagamento><CondizioniPagamento>TP01</CondizioniPagamento>"
        "<DettaglioPagamento><ModalitaPagamento>MP05</ModalitaPagamento>"
        "<DataScadenzaPagamento>2024-04-15</DataScadenzaPagamento><ImportoPagamento>61.00</ImportoPagamento>"
        "<IstitutoFinanziario>Banca Popolare</IstitutoFinanziario><IBAN>IT60X0542811101000000123456</IBAN>"
        "</DettaglioPagamento><DettaglioPagamento><ModalitaPagamento>MP12</ModalitaPagamento>"
        "<DataRiferimentoTerminiPagamento>2024-03-15</DataRiferimentoTerminiPagamento>"
        "<GiorniTerminiPagamento>60</GiorniTerminiPagamento><ImportoPagamento>61.00</ImportoPagamento>"
        "</DettaglioPagamento></DatiPagamento>");
    const QString lines = invoiceLine(1, u"Risme di carta A4"_qs, u"20.00"_qs, u"2.50000000"_qs, u"50.00"_qs) +
                          invoiceLine(2, u"Toner per stampante laser"_qs, u"1.00"_qs, u"50.00"_qs, u"50.00"_qs);
    const InvoiceFileRead f = invoiceRead(
        invoiceFile(invoiceBody(u"TD01"_qs, u"7/A"_qs, u"2024-03-15"_qs, lines, u"122.00"_qs, payment, kAttachment)));
    QVERIFY2(f.document, qPrintable(f.reason));
    QString error;
    const QByteArray pdf = report::invoiceCopyPdf(f, &error);
    QVERIFY2(!pdf.isEmpty(), qPrintable(error));
    QVERIFY(pdf.startsWith("%PDF"));
    const QString text = pdfText(pdf);
    for (const QString& shown :
         {u"Fattura n. 7/A del 15/03/2024"_qs, u"TD01"_qs, u"File IT01234567897_00001.xml"_qs,
          u"Cedente / prestatore"_qs, u"Rossi Forniture S.r.l."_qs, u"Via Roma 12"_qs, u"20121 Milano (MI)"_qs,
          u"Partita IVA: IT01234567897"_qs, u"Codice fiscale: 01234567897"_qs, u"Tel. 02 1234567"_qs,
          u"Cessionario / committente"_qs, u"Bianchi Servizi S.n.c."_qs, u"Corso Italia 3"_qs,
          u"10121 Torino (TO)"_qs, u"Partita IVA: IT09876543217"_qs,
          u"Causale: Fornitura di materiale d'ufficio"_qs, u"Risme di carta A4"_qs, u"20,00 pz"_qs, u"2,50"_qs,
          u"Toner per stampante laser"_qs, u"22%"_qs, u"Riepilogo IVA"_qs, u"immediata"_qs,
          u"Pagamento a rate"_qs, u"Bonifico"_qs, u"15/04/2024"_qs, u"61,00"_qs,
          u"IT60X0542811101000000123456 · Banca Popolare"_qs, u"RIBA"_qs, u"14/05/2024"_qs,
          u"Totale imponibile"_qs, u"100,00"_qs, u"Totale IVA"_qs, u"22,00"_qs, u"Totale documento"_qs,
          u"EUR 122,00"_qs, u"Allegati: fattura-7.pdf (Copia di cortesia, PDF)"_qs,
          u"fa fede il file originale"_qs})
      QVERIFY2(text.contains(shown), qPrintable(shown + u" not in: "_qs + text));
    keepForALook(pdf, u"invoice-copy"_qs);
    // The same file gives the same bytes: an import made again shares the copy.
    QCOMPARE(report::invoiceCopyPdf(f), pdf);
  }

  void aBatchPrintsEachInvoiceOnPagesOfItsOwn() {
    const QString line = invoiceLine(1, u"Consulenza"_qs, u"1.00"_qs, u"100.00"_qs, u"100.00"_qs);
    const InvoiceFileRead f =
        invoiceRead(invoiceFile(invoiceBody(u"TD01"_qs, u"8"_qs, u"2024-03-01"_qs, line, u"122.00"_qs, {}) +
                                invoiceBody(u"TD04"_qs, u"9"_qs, u"2024-03-02"_qs, line, u"122.00"_qs, {})));
    QVERIFY2(f.document, qPrintable(f.reason));
    const QByteArray pdf = report::invoiceCopyPdf(f);
    QCOMPARE(pdfPages(pdf), 2);
    const QString first = pdfText(pdf, 1), second = pdfText(pdf, 2);
    QVERIFY2(first.contains(u"Fattura n. 8 del 01/03/2024"_qs), qPrintable(first));
    QVERIFY(first.contains(u"documento 1 di 2 del file"_qs));
    QVERIFY(first.contains(u"Non indicato"_qs));  // no payment terms
    QVERIFY(!first.contains(u"n. 9"_qs));
    QVERIFY2(second.contains(u"Nota di credito n. 9 del 02/03/2024"_qs), qPrintable(second));
    QVERIFY(second.contains(u"documento 2 di 2 del file"_qs));
  }

  // Long descriptions wrap inside their column, the lines go on over the
  // following pages, and every line arrives once, in order.
  void aLongInvoiceGoesOnOverPagesLosingNoLine() {
    QString lines;
    const int n = 90;
    for (int i = 1; i <= n; ++i)
      lines += invoiceLine(i,
                           u"Articolo %1 con una descrizione lunga quanto quelle che certi fornitori scrivono "
                           u"per ogni riga, che va a capo nella sua colonna senza coprire le altre"_qs
                               .arg(i, 3, 10, QChar(u'0')),
                           u"1.00"_qs, u"1.00"_qs, u"1.00"_qs);
    const InvoiceFileRead f =
        invoiceRead(invoiceFile(invoiceBody(u"TD01"_qs, u"10"_qs, u"2024-03-01"_qs, lines, u"122.00"_qs, {})));
    QVERIFY2(f.document, qPrintable(f.reason));
    const QByteArray pdf = report::invoiceCopyPdf(f);
    QVERIFY(pdfPages(pdf) >= 3);
    keepForALook(pdf, u"invoice-copy-long"_qs);
    const QString text = pdfText(pdf);
    qsizetype at = 0;
    for (int i = 1; i <= n; ++i) {
      const QString article = u"Articolo %1 "_qs.arg(i, 3, 10, QChar(u'0'));
      QCOMPARE(text.count(article), 1);
      const qsizetype next = text.indexOf(article, at);
      QVERIFY2(next >= at, qPrintable(article));
      at = next;
    }
    QVERIFY(text.contains(u"Pagina 1 di"_qs));
    QVERIFY(text.indexOf(u"EUR 122,00"_qs) > at);
  }

  void aFileWithoutAnInvoiceHasNoCopy() {
    QString error;
    const InvoiceFileRead f = invoiceRead("<Ricevuta/>", u"ricevuta.xml"_qs);
    QVERIFY(!f.document);
    QVERIFY(report::invoiceCopyPdf(f, &error).isEmpty());
    QCOMPARE(error, u"Il file ricevuta.xml non contiene una fattura leggibile."_qs);
  }
};

QTEST_MAIN(TestInvoiceCopy)
#include "test_invoicecopy.moc"
