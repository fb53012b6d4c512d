// SPDX-License-Identifier: GPL-3.0-or-later
// Electronic invoices into the archives: what each instalment becomes, the
// direction, the skips, the duplicate and address-book rules, the
// attachments, and that nothing is written before everything is read.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "core/archive.h"
#include "core/attachments.h"
#include "core/filepath.h"
#include "core/invoicefiles.h"
#include "core/invoiceimport.h"
#include "invoice_samples.h"
#include "test_support.h"

namespace {

using namespace fondaro;
using fondaro::testing::kCompanyVat;
using fondaro::testing::kCustomerVat;
using fondaro::testing::kSupplierVat;
using fondaro::testing::readAll;
using fondaro::testing::SampleBody;
using fondaro::testing::SampleInstalment;
using fondaro::testing::SampleInvoice;
using fondaro::testing::writeAll;
using namespace Qt::StringLiterals;

// A stand-in for the report engine's copy: the same bytes for the same file.
QByteArray fakeCopy(const InvoiceFileRead& f) { return "%PDF copia di " + f.name.toUtf8(); }

class InvoiceImport : public fondaro::testing::InvoiceFolders {
 protected:
  QByteArray nativeFolder() const { return encodePath(folder()); }
  QString file(const QString& name, const QByteArray& bytes) {
    const QString p = in() + u'/' + name;
    writeAll(p, bytes);
    return p;
  }
  InvoicePlan plan(const QStringList& paths, const QStringList& own = {kCompanyVat}) {
    InvoicePlanOptions o;
    o.ownIds = own;
    o.makeReadableCopy = fakeCopy;
    return planInvoiceImport(readInvoiceInputs(paths), nativeFolder(), o);
  }
  InvoiceImportResult run(const QStringList& paths, const QSet<int>& leaveOut = {}) {
    return importInvoices(plan(paths), nativeFolder(), fakeCopy, leaveOut);
  }
  std::vector<TMovimento> movements(int year) const {
    std::vector<TMovimento> out;
    const QString p = QStringLiteral("%1/%2.eur").arg(folder()).arg(year);
    if (!QFile::exists(p)) return out;
    auto a = MovementArchive::OpenExisting(p, RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    return out;
  }
  std::vector<TCliente> cards() const {
    std::vector<TCliente> out;
    const QString p = folder() + u"/Clienti.pro"_s;
    if (!QFile::exists(p)) return out;
    auto a = ClientArchive::OpenExisting(p, RecordFile::Access::ReadOnly);
    for (qint64 i = 1; i <= a.Count(); ++i) out.push_back(a.ReadAt(i));
    return out;
  }
  QString attachment(const QString& name) const { return attachmentsFolder(folder()) + name; }
  void addCard(const QString& name, const QString& vat, const QString& cf) {
    TCliente c;
    c.Cliente.set(name);
    c.PartitaIva.set(vat);
    c.CodFisc.set(cf);
    ClientArchive::OpenOrCreate(folder() + u"/Clienti.pro"_s).Append(c);
  }
  static std::vector<const PlannedInstalment*> instalments(const InvoicePlan& p) {
    std::vector<const PlannedInstalment*> out;
    for (const auto& f : p.files)
      for (const auto& b : f.bodies)
        for (const auto& i : b.instalments) out.push_back(&i);
    return out;
  }
};

TEST_F(InvoiceImport, AReceivedInvoiceBecomesAnUnpaidMovementWithItsAttachments) {
  SampleInvoice s;
  s.bodies[0].lines = {u"Consulenza  di marzo"_s, u"Trasferta"_s};
  s.bodies[0].vat = {{u"22.00"_s, u""_s, u"100.00"_s, u"22.00"_s}, {u"0.00"_s, u"N4"_s, u"50.00"_s, u"0.00"_s}};
  s.bodies[0].instalments[0].iban = u"IT60X0542811101000000123456"_s;
  s.bodies[0].attachments = {{u"fattura_fornitore.pdf"_s, u""_s, "%PDF del fornitore"}};
  const QByteArray bytes = s.xml();
  const InvoiceImportResult r = run({file(u"IT01234567897_00001.xml"_s, bytes)});
  ASSERT_EQ(r.years.size(), 1u);
  EXPECT_EQ(r.years[0].year, 2024);
  EXPECT_EQ(r.years[0].added, 1);
  EXPECT_EQ(r.cardsAdded, 1);
  EXPECT_EQ(r.attachmentsStored, 3);
  const auto m = movements(2024);
  ASSERT_EQ(m.size(), 1u);
  const TMovimento& x = m[0];
  EXPECT_EQ(x.Entrata.trimmed(), u"No");
  EXPECT_EQ(x.Uscita.trimmed(), u"Sì");
  EXPECT_EQ(x.Data.trimmed(), u"15/03/2024");
  EXPECT_EQ(x.DataSca.trimmed(), u"15/04/2024");
  EXPECT_EQ(x.Preavviso.trimmed(), u"5");
  EXPECT_EQ(x.Importo.trimmed(), u"122,00");
  EXPECT_EQ(x.Totale.trimmed(), u"-122,00");
  EXPECT_EQ(x.Saldato.trimmed(), u"No");
  EXPECT_EQ(x.Causale.trimmed(), u"Fattura n. 1 del 15/03/2024 - Fornitore Srl");
  EXPECT_EQ(x.Promemoria.trimmed(), u"Consulenza di marzo; Trasferta");
  EXPECT_EQ(x.Pagatore.trimmed(), u"Azienda Mia Srl");
  EXPECT_EQ(x.RecapitoPag.trimmed(), u"Via Verdi 10, 20100 Milano (MI)");
  EXPECT_EQ(x.PartitaIva.trimmed(), kCompanyVat);
  EXPECT_EQ(x.CodFisc.trimmed(), u"");
  EXPECT_EQ(x.Beneficiario.trimmed(), u"Fornitore Srl");
  EXPECT_EQ(x.RecapitoBen.trimmed(), u"Via Roma 1, 00100 Roma (RM)");
  EXPECT_EQ(x.Pagamento.trimmed(), u"Bonifico IBAN IT60X0542811101000000123456");
  EXPECT_EQ(x.Tariffa.trimmed(), u"IVA 22,00%: imponibile 100,00, imposta 22,00; N4: imponibile 50,00");
  EXPECT_EQ(x.Note.trimmed(), u"Importato da IT01234567897_00001.xml");
  EXPECT_EQ(x.Ricevuta.trimmed(), u"");
  EXPECT_EQ(x.Categoria.trimmed(), u"");
  EXPECT_EQ(x.File01.trimmed(), u"IT01234567897_00001.xml");
  EXPECT_EQ(x.Desc01.trimmed(), u"Fattura elettronica (file originale)");
  EXPECT_EQ(x.File02.trimmed(), u"IT01234567897_00001.pdf");
  EXPECT_EQ(x.Desc02.trimmed(), u"Fattura elettronica (copia leggibile)");
  EXPECT_EQ(x.File03.trimmed(), u"fattura_fornitore.pdf");
  EXPECT_EQ(x.Desc03.trimmed(), u"Allegato della fattura");
  EXPECT_EQ(readAll(attachment(u"IT01234567897_00001.xml"_s)), bytes);
  EXPECT_EQ(readAll(attachment(u"IT01234567897_00001.pdf"_s)), "%PDF copia di IT01234567897_00001.xml");
  EXPECT_EQ(readAll(attachment(u"fattura_fornitore.pdf"_s)), "%PDF del fornitore");

  const auto c = cards();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].Cliente.trimmed(), u"Fornitore Srl");
  EXPECT_EQ(c[0].IndirizzoRes.trimmed(), u"Via Roma 1");
  EXPECT_EQ(c[0].CapRes.trimmed(), u"00100");
  EXPECT_EQ(c[0].ComuneRes.trimmed(), u"Roma");
  EXPECT_EQ(c[0].ProvRes.trimmed(), u"RM");
  EXPECT_EQ(c[0].PartitaIva.trimmed(), kSupplierVat);
  EXPECT_EQ(c[0].CodFisc.trimmed(), kSupplierVat);
  EXPECT_EQ(c[0].TelUff.trimmed(), u"06 1234567");
  EXPECT_EQ(c[0].Email.trimmed(), u"info@fornitore.it");
  EXPECT_EQ(c[0].Iban.trimmed(), u"IT60X0542811101000000123456");
  EXPECT_EQ(c[0].Note.trimmed(), u"Inserito da fattura elettronica IT01234567897_00001.xml");
}

TEST_F(InvoiceImport, DirectionByTheCompanysSideTheTypeAndTheSign) {
  struct Case {
    const char* what;
    bool issued;
    QString type;
    QString total;
    QString instalment;
    bool moneyIn;
  };
  const Case cases[] = {
      {"received invoice", false, u"TD01"_s, u"122.00"_s, u"122.00"_s, false},
      {"issued invoice", true, u"TD01"_s, u"122.00"_s, u"122.00"_s, true},
      {"received credit note", false, u"TD04"_s, u"122.00"_s, u"122.00"_s, true},
      {"issued credit note", true, u"TD04"_s, u"122.00"_s, u"122.00"_s, false},
      {"received negative credit note: reversed once", false, u"TD04"_s, u"-122.00"_s, u"-122.00"_s, true},
      {"received negative invoice", false, u"TD01"_s, u"-122.00"_s, u"-122.00"_s, true},
      {"issued negative invoice", true, u"TD01"_s, u"-122.00"_s, u"-122.00"_s, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SampleInvoice s;
    if (c.issued) {
      s.seller = fondaro::testing::company();
      s.buyer = fondaro::testing::supplier();
      s.buyer.vat = kCustomerVat;
      s.buyer.denomination = u"Cliente Spa"_s;
    }
    s.bodies[0].type = c.type;
    s.bodies[0].total = c.total;
    s.bodies[0].instalments[0].amount = c.instalment;
    const InvoicePlan p = plan({file(u"f.xml"_s, s.xml())});
    const auto all = instalments(p);
    ASSERT_EQ(all.size(), 1u);
    const TMovimento& m = all[0]->movement;
    EXPECT_EQ(m.Totale.trimmed(), c.moneyIn ? u"+122,00" : u"-122,00");
    EXPECT_EQ(m.Importo.trimmed(), u"122,00");
    const QString counterparty = c.issued ? u"Cliente Spa"_s : u"Fornitore Srl"_s;
    // The money comes from the payer and goes to the beneficiary.
    EXPECT_EQ((c.moneyIn ? m.Pagatore : m.Beneficiario).trimmed(), counterparty);
    EXPECT_EQ((c.moneyIn ? m.Beneficiario : m.Pagatore).trimmed(), u"Azienda Mia Srl");
  }
}

TEST_F(InvoiceImport, ACompanyNamedByItsTaxCodeOnly) {
  SampleInvoice s;
  s.buyer = fondaro::testing::company();
  s.buyer.vat.clear();
  s.buyer.taxCode = u"RSSMRA80A01H501U"_s;
  s.buyer.denomination.clear();
  s.buyer.lastName = u"Rossi"_s;
  s.buyer.firstName = u"Mario"_s;
  const QString f = file(u"f.xml"_s, s.xml());
  EXPECT_EQ(plan({f}).files[0].skipReason, u"non intestata all'azienda");
  const InvoicePlan p = plan({f}, {u" rssmra80a01h501u "_s});
  const auto all = instalments(p);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0]->movement.Pagatore.trimmed(), u"Rossi Mario");
  EXPECT_EQ(all[0]->movement.CodFisc.trimmed(), u"RSSMRA80A01H501U");
  EXPECT_EQ(all[0]->movement.PartitaIva.trimmed(), u"");
}

TEST_F(InvoiceImport, InstalmentsAndTheirDueDates) {
  SampleInvoice s;
  SampleBody three;
  three.number = u"7/A"_s;
  three.total = u"300.00"_s;
  three.instalments = {{u"MP12"_s, u"2024-04-30"_s, {}, {}, u"100.00"_s, {}},
                       {u"MP12"_s, {}, u"2024-03-31"_s, u"60"_s, u"100.00"_s, {}},
                       {u"MP01"_s, {}, {}, {}, u"100.00"_s, {}}};
  SampleBody noPayment;
  noPayment.number = u"8"_s;
  noPayment.payment = false;
  noPayment.total.clear();
  noPayment.stamp = u"2.00"_s;
  noPayment.vat = {{u"22.00"_s, u""_s, u"100.00"_s, u"22.00"_s}, {u"10.00"_s, u""_s, u"10.00"_s, u"1.00"_s}};
  SampleBody withTotal = noPayment;
  withTotal.number = u"9"_s;
  withTotal.total = u"500.00"_s;
  s.bodies = {three, noPayment, withTotal};
  const InvoicePlan p = plan({file(u"f.xml"_s, s.xml())});
  QStringList got;
  for (const auto* i : instalments(p)) {
    got << i->movement.Causale.trimmed() + u" | "_s + i->movement.DataSca.trimmed() + u" | "_s +
               i->movement.Importo.trimmed() + u" | "_s + i->movement.Pagamento.trimmed();
  }
  EXPECT_EQ(got, (QStringList{
                     u"Fattura n. 7/A del 15/03/2024 - Fornitore Srl - rata 1 di 3 | 30/04/2024 | 100,00 | RIBA"_s,
                     u"Fattura n. 7/A del 15/03/2024 - Fornitore Srl - rata 2 di 3 | 30/05/2024 | 100,00 | RIBA"_s,
                     u"Fattura n. 7/A del 15/03/2024 - Fornitore Srl - rata 3 di 3 | 15/03/2024 | 100,00 | Contanti"_s,
                     u"Fattura n. 8 del 15/03/2024 - Fornitore Srl | 15/03/2024 | 135,00 | "_s,
                     u"Fattura n. 9 del 15/03/2024 - Fornitore Srl | 15/03/2024 | 500,00 | "_s}));
}

TEST_F(InvoiceImport, WhatIsSkippedAndWhy) {
  SampleInvoice s;
  SampleBody td17;
  td17.type = u"TD17"_s;
  SampleBody usd;
  usd.currency = u"USD"_s;
  SampleBody bad;
  bad.instalments[0].amount = u"1.234,00"_s;
  SampleBody td01;
  s.bodies = {td17, usd, bad, td01};
  SampleInvoice other;
  other.buyer.vat = kCustomerVat;
  const InvoicePlan p = plan({file(u"a.xml"_s, s.xml()), file(u"b.xml"_s, other.xml())});
  ASSERT_EQ(p.files.size(), 2u);
  ASSERT_EQ(p.files[0].bodies.size(), 4u);
  EXPECT_TRUE(p.files[0].bodies[0].skipReason.startsWith(u"TD17: documento che muove l'IVA"));
  EXPECT_EQ(p.files[0].bodies[1].skipReason, u"divisa USD: si importano solo gli euro");
  EXPECT_EQ(p.files[0].bodies[2].skipReason, u"importo della rata illeggibile (1.234,00)");
  EXPECT_FALSE(p.files[0].bodies[3].skipped());
  EXPECT_EQ(p.files[1].skipReason, u"non intestata all'azienda");
  EXPECT_EQ(p.skipped(), 4);
  ASSERT_EQ(p.years.size(), 1u);
  EXPECT_EQ(p.years[0].added, 1);
}

TEST_F(InvoiceImport, NothingIsImportedTwice) {
  SampleInvoice a;
  SampleInvoice b;
  b.bodies[0].number = u"2"_s;
  const QByteArray ax = a.xml(), bx = b.xml();
  struct Case {
    const char* what;
    std::vector<QStringList> runs;  // one import per list
    std::vector<std::pair<qint64, qint64>> counts;  // added, present of each run
    size_t stored;
  };
  const QString fa = file(u"a.xml"_s, ax);
  const QString fb = file(u"b.xml"_s, bx);
  const QString zip = file(u"mese.zip"_s, fondaro::testing::zipOf({{u"a.xml"_s, ax}, {u"b.xml"_s, bx}}));
  const QString signedA = file(u"a.xml.p7m"_s, fondaro::testing::signedEnvelope(ax, dir.path()).value_or(""));
  const Case cases[] = {
      {"the same file twice in one run", {{fa, fa}}, {{1, 1}}, 1},
      {"the same zip imported twice", {{zip}, {zip}}, {{2, 0}, {0, 2}}, 2},
      {"a file, then the zip that holds it", {{fa}, {zip}}, {{1, 0}, {1, 1}}, 2},
      {"the signed file and the plain one", {{signedA, fa}}, {{1, 1}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(folder()).removeRecursively();
    QDir().mkpath(folder());
    for (size_t k = 0; k < c.runs.size(); ++k) {
      const InvoiceImportResult r = run(c.runs[k]);
      ASSERT_EQ(r.years.size(), 1u);
      EXPECT_EQ(r.years[0].added, c.counts[k].first) << "run " << k;
      EXPECT_EQ(r.years[0].present, c.counts[k].second) << "run " << k;
    }
    EXPECT_EQ(movements(2024).size(), c.stored);
    EXPECT_EQ(cards().size(), 1u);
  }
}

TEST_F(InvoiceImport, TheAddressBookByVatNumberTaxCodeOrName) {
  SampleInvoice byVat;  // supplier with VAT number and tax code
  SampleInvoice byCf;
  byCf.seller.vat.clear();
  byCf.seller.taxCode = u"RSSMRA80A01H501U"_s;
  byCf.buyer = fondaro::testing::company();
  SampleInvoice byName;
  byName.seller.country = u"FR"_s;
  byName.seller.vat = u"FR12345678901"_s;
  byName.seller.taxCode.clear();
  byName.seller.denomination = u"Société Française"_s;
  struct Case {
    const char* what;
    const SampleInvoice* invoice;
    QString cardName, cardVat, cardCf;  // a card already there (none when the name is empty)
    bool added;
  };
  const Case cases[] = {
      {"VAT number found", &byVat, u"Altro nome"_s, kSupplierVat, u""_s, false},
      {"VAT number not found, though the name is", &byVat, u"Fornitore Srl"_s, u"09876543217"_s, u""_s, true},
      {"tax code found", &byCf, u"Altro"_s, u""_s, u"RSSMRA80A01H501U"_s, false},
      {"name found, other case and blanks", &byName, u"  SOCIÉTÉ  française "_s, u""_s, u""_s, false},
      {"empty book", &byName, u""_s, u""_s, u""_s, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QDir(folder()).removeRecursively();
    QDir().mkpath(folder());
    if (!c.cardName.isEmpty()) addCard(c.cardName, c.cardVat, c.cardCf);
    SampleInvoice second = *c.invoice;
    second.bodies[0].number = u"2"_s;
    const InvoiceImportResult r = run({file(u"a.xml"_s, c.invoice->xml()), file(u"b.xml"_s, second.xml())});
    EXPECT_EQ(r.cardsAdded, c.added ? 1 : 0);  // once per run
    EXPECT_EQ(cards().size(), (c.cardName.isEmpty() ? 0u : 1u) + (c.added ? 1u : 0u));
  }
}

TEST_F(InvoiceImport, CodesThatFailTheChecksAreStoredAndWarned) {
  SampleInvoice s;
  s.seller.vat = u"01234567890"_s;
  s.seller.taxCode = u"RSSMRA80A01H501X"_s;
  s.bodies[0].instalments[0].iban = u"IT00X0542811101000000123456"_s;
  run({file(u"a.xml"_s, s.xml())});
  const InvoicePlan p = plan({file(u"a.xml"_s, s.xml())});
  EXPECT_EQ(p.files[0].bodies[0].warnings,
            (QStringList{u"partita IVA 01234567890 di Fornitore Srl non valida"_s,
                         u"codice fiscale RSSMRA80A01H501X di Fornitore Srl non valido"_s,
                         u"IBAN IT00X0542811101000000123456 non valido"_s}));
  const auto c = cards();
  ASSERT_EQ(c.size(), 1u);
  EXPECT_EQ(c[0].PartitaIva.trimmed(), u"01234567890");
  EXPECT_EQ(c[0].CodFisc.trimmed(), u"RSSMRA80A01H501X");
}

TEST_F(InvoiceImport, AttachmentsAreSharedOrNumberedNeverReplaced) {
  ASSERT_TRUE(QDir().mkpath(attachmentsFolder(folder())));
  writeAll(attachment(u"a.xml"_s), "un altro file");
  SampleInvoice s;
  s.bodies[0].attachments = {{u"../../etc/x.pdf"_s, u"Copia del fornitore"_s, "%PDF"}};
  writeAll(attachment(u"_.._etc_x.pdf"_s), "%PDF");
  const QString f = file(u"a.xml"_s, s.xml());
  const InvoiceImportResult r = run({f});
  EXPECT_EQ(r.attachmentsStored, 2);
  EXPECT_EQ(r.attachmentsShared, 1);
  const auto m = movements(2024);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].File01.trimmed(), u"a (2).xml");
  EXPECT_EQ(m[0].File02.trimmed(), u"a.pdf");
  EXPECT_EQ(m[0].File03.trimmed(), u"_.._etc_x.pdf");
  EXPECT_EQ(m[0].Desc03.trimmed(), u"Copia del fornitore");
  EXPECT_EQ(readAll(attachment(u"a.xml"_s)), "un altro file");
  EXPECT_EQ(readAll(attachment(u"a (2).xml"_s)), s.xml());
  EXPECT_EQ(safeAttachmentName(u"..\\x/y\u4e2d.pdf"_s), u"_x_y_.pdf");
  for (const QString& wanted : {u".."_s, u""_s, u"a\u0001b"_s, QString(400, u'x') + u".pdf"_s, u"/"_s}) {
    const QString name = safeAttachmentName(wanted);
    EXPECT_TRUE(isSafeAttachmentName(name) && isStorableAttachmentName(name)) << name.toStdString();
  }
  EXPECT_TRUE(safeAttachmentName(QString(400, u'x') + u".pdf"_s).endsWith(u".pdf"));
  EXPECT_EQ(readableCopyName(u"IT01234567890_00001.xml.p7m"_s), u"IT01234567890_00001.pdf");
  EXPECT_EQ(readableCopyName(u"IT01234567890_00001.XML"_s), u"IT01234567890_00001.pdf");
}

TEST_F(InvoiceImport, InstalmentsLeftOutWriteNothingOfTheirs) {
  SampleInvoice a;
  SampleInvoice b;
  b.bodies[0].number = u"2"_s;
  b.seller.vat = kCustomerVat;
  b.seller.denomination = u"Altro Fornitore"_s;
  const InvoicePlan p = plan({file(u"a.xml"_s, a.xml()), file(u"b.xml"_s, b.xml())});
  const int second = instalments(p)[1]->id;
  const InvoiceImportResult r = importInvoices(p, nativeFolder(), fakeCopy, {second});
  EXPECT_EQ(r.added(), 1);
  EXPECT_EQ(r.cardsAdded, 1);
  EXPECT_EQ(cards()[0].Cliente.trimmed(), u"Fornitore Srl");
  EXPECT_FALSE(QFile::exists(attachment(u"b.xml"_s)));
  EXPECT_FALSE(QFile::exists(attachment(u"b.pdf"_s)));
}

TEST_F(InvoiceImport, AFailureToStoreTheFilesWritesNoRecord) {
  writeAll(folder() + u"/"_s + QLatin1String(kAttachmentsFolderName), "a file where the folder should be");
  SampleInvoice s;
  const InvoicePlan p = plan({file(u"a.xml"_s, s.xml())});
  try {
    importInvoices(p, nativeFolder(), fakeCopy);
    FAIL() << "no failure";
  } catch (const InvoiceWriteError& e) {
    EXPECT_EQ(e.stage(), InvoiceWriteError::Stage::Attachments);
    EXPECT_EQ(e.result().added(), 0);
    EXPECT_EQ(e.result().cardsAdded, 0);
  }
  EXPECT_FALSE(QFile::exists(folder() + u"/2024.eur"_s));
  EXPECT_FALSE(QFile::exists(folder() + u"/Clienti.pro"_s));
}

TEST(InvoiceSettings, WrittenAndReadBack) {
  QTemporaryDir dir;
  const QByteArray folder = encodePath(dir.path());
  EXPECT_TRUE(readInvoiceSettings(folder).ownIds.isEmpty());
  EXPECT_EQ(readInvoiceSettings(folder).notice, 5);
  ASSERT_TRUE(writeInvoiceSettings(folder, {{kCompanyVat, u"RSSMRA80A01H501U"_s}, 10}));
  EXPECT_TRUE(QFile::exists(dir.filePath(QLatin1String(kInvoiceSettingsFileName))));
  const InvoiceSettings s = readInvoiceSettings(folder);
  EXPECT_EQ(s.ownIds, (QStringList{kCompanyVat, u"RSSMRA80A01H501U"_s}));
  EXPECT_EQ(s.notice, 10);
  EXPECT_EQ(ownIdWarning(u"IT12345678903"_s), std::nullopt);
  EXPECT_EQ(ownIdWarning(u"12345678900"_s), u"La partita IVA 12345678900 non è valida.");
  EXPECT_EQ(ownIdWarning(u"RSSMRA80A01H501X"_s), u"Il codice fiscale RSSMRA80A01H501X non è valido.");
}

}  // namespace
