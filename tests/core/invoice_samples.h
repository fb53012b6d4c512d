// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Electronic invoices written for the tests from the public FatturaPA 1.2
// schema: a builder whose defaults make one ordinary invoice received by the
// company (VAT number 12345678903) from a supplier, and whose fields each test
// changes. Signed envelopes are made with the openssl program and a throwaway
// certificate; zips with QuaZip.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>
#include <utility>
#include <vector>

#include "core/cp1252.h"

namespace fondaro::testing {

inline const QString kCompanyVat = QStringLiteral("12345678903");
inline const QString kSupplierVat = QStringLiteral("01234567897");
inline const QString kCustomerVat = QStringLiteral("09876543217");

struct SampleParty {
  QString country = QStringLiteral("IT");
  QString vat;
  QString taxCode;
  QString denomination;
  QString firstName, lastName;
  QString street = QStringLiteral("Via Roma");
  QString number = QStringLiteral("1");
  QString postcode = QStringLiteral("00100");
  QString town = QStringLiteral("Roma");
  QString province = QStringLiteral("RM");
  QString phone, fax, email;
};

inline SampleParty company() {
  SampleParty p;
  p.vat = kCompanyVat;
  p.denomination = QStringLiteral("Azienda Mia Srl");
  p.street = QStringLiteral("Via Verdi");
  p.number = QStringLiteral("10");
  p.postcode = QStringLiteral("20100");
  p.town = QStringLiteral("Milano");
  p.province = QStringLiteral("MI");
  return p;
}

inline SampleParty supplier() {
  SampleParty p;
  p.vat = kSupplierVat;
  p.taxCode = kSupplierVat;
  p.denomination = QStringLiteral("Fornitore Srl");
  p.phone = QStringLiteral("06 1234567");
  p.email = QStringLiteral("info@fornitore.it");
  return p;
}

struct SampleInstalment {
  QString method = QStringLiteral("MP05");
  QString due;      // DataScadenzaPagamento
  QString refDate;  // DataRiferimentoTerminiPagamento
  QString days;     // GiorniTerminiPagamento
  QString amount = QStringLiteral("122.00");
  QString iban;
};

struct SampleVat {
  QString rate = QStringLiteral("22.00");
  QString nature;
  QString taxable = QStringLiteral("100.00");
  QString tax = QStringLiteral("22.00");
};

struct SampleAttachment {
  QString name;
  QString description;
  QByteArray bytes;
};

struct SampleBody {
  QString type = QStringLiteral("TD01");
  QString currency = QStringLiteral("EUR");
  QString date = QStringLiteral("2024-03-15");
  QString number = QStringLiteral("1");
  QString total = QStringLiteral("122.00");  // empty: no ImportoTotaleDocumento
  QString stamp;
  QStringList lines = {QStringLiteral("Consulenza")};
  std::vector<SampleVat> vat = {SampleVat{}};
  bool payment = true;
  std::vector<SampleInstalment> instalments = {SampleInstalment{QStringLiteral("MP05"), QStringLiteral("2024-04-15")}};
  std::vector<SampleAttachment> attachments;
};

struct SampleInvoice {
  QString prefix = QStringLiteral("p");  // "" for none
  QString version = QStringLiteral("FPR12");
  QString encoding = QStringLiteral("UTF-8");  // "windows-1252": the text is written in that code page
  bool bom = false;
  SampleParty seller = supplier();
  SampleParty buyer = company();
  std::vector<SampleBody> bodies = {SampleBody{}};
  QString extraBeforeRoot;  // a DOCTYPE, say

  static QString esc(const QString& s) {
    QString o = s;
    o.replace(u'&', QStringLiteral("&amp;")).replace(u'<', QStringLiteral("&lt;")).replace(u'>', QStringLiteral("&gt;"));
    return o;
  }
  static QString el(const char* name, const QString& value) {
    if (value.isEmpty()) return {};
    return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(name), esc(value));
  }
  static QString party(const char* role, const SampleParty& p, bool contacts) {
    QString s = QStringLiteral("<%1><DatiAnagrafici>").arg(QLatin1String(role));
    if (!p.vat.isEmpty()) s += QStringLiteral("<IdFiscaleIVA>") + el("IdPaese", p.country) + el("IdCodice", p.vat) + QStringLiteral("</IdFiscaleIVA>");
    s += el("CodiceFiscale", p.taxCode);
    s += QStringLiteral("<Anagrafica>") + el("Denominazione", p.denomination) + el("Nome", p.firstName) + el("Cognome", p.lastName) +
         QStringLiteral("</Anagrafica>");
    if (QLatin1String(role) == QStringLiteral("CedentePrestatore")) s += QStringLiteral("<RegimeFiscale>RF01</RegimeFiscale>");
    s += QStringLiteral("</DatiAnagrafici><Sede>") + el("Indirizzo", p.street) + el("NumeroCivico", p.number) + el("CAP", p.postcode) +
         el("Comune", p.town) + el("Provincia", p.province) + el("Nazione", p.country) + QStringLiteral("</Sede>");
    if (contacts && (!p.phone.isEmpty() || !p.fax.isEmpty() || !p.email.isEmpty())) {
      s += QStringLiteral("<Contatti>") + el("Telefono", p.phone) + el("Fax", p.fax) + el("Email", p.email) + QStringLiteral("</Contatti>");
    }
    return s + QStringLiteral("</%1>").arg(QLatin1String(role));
  }
  static QString body(const SampleBody& b) {
    QString s = u"<FatturaElettronicaBody><DatiGenerali><DatiGeneraliDocumento>"_qs + el("TipoDocumento", b.type) +
                el("Divisa", b.currency) + el("Data", b.date) + el("Numero", b.number);
    if (!b.stamp.isEmpty()) s += QStringLiteral("<DatiBollo><BolloVirtuale>SI</BolloVirtuale>") + el("ImportoBollo", b.stamp) + QStringLiteral("</DatiBollo>");
    s += el("ImportoTotaleDocumento", b.total) + QStringLiteral("</DatiGeneraliDocumento></DatiGenerali><DatiBeniServizi>");
    int n = 0;
    for (const QString& line : b.lines) {
      s += QStringLiteral("<DettaglioLinee>") + el("NumeroLinea", QString::number(++n)) + el("Descrizione", line) +
           el("Quantita", u"1.00"_qs) + el("PrezzoUnitario", u"100.00"_qs) + el("PrezzoTotale", u"100.00"_qs) +
           el("AliquotaIVA", u"22.00"_qs) + QStringLiteral("</DettaglioLinee>");
    }
    for (const SampleVat& v : b.vat) {
      s += QStringLiteral("<DatiRiepilogo>") + el("AliquotaIVA", v.rate) + el("Natura", v.nature) + el("ImponibileImporto", v.taxable) +
           el("Imposta", v.tax) + QStringLiteral("</DatiRiepilogo>");
    }
    s += QStringLiteral("</DatiBeniServizi>");
    if (b.payment) {
      s += QStringLiteral("<DatiPagamento><CondizioniPagamento>") + QString(b.instalments.size() > 1 ? QStringLiteral("TP01") : QStringLiteral("TP02")) +
           QStringLiteral("</CondizioniPagamento>");
      for (const SampleInstalment& i : b.instalments) {
        s += QStringLiteral("<DettaglioPagamento>") + el("ModalitaPagamento", i.method) + el("DataRiferimentoTerminiPagamento", i.refDate) +
             el("GiorniTerminiPagamento", i.days) + el("DataScadenzaPagamento", i.due) + el("ImportoPagamento", i.amount) +
             el("IBAN", i.iban) + QStringLiteral("</DettaglioPagamento>");
      }
      s += QStringLiteral("</DatiPagamento>");
    }
    for (const SampleAttachment& a : b.attachments) {
      s += QStringLiteral("<Allegati>") + el("NomeAttachment", a.name) + el("FormatoAttachment", u"PDF"_qs) +
           el("DescrizioneAttachment", a.description) + el("Attachment", QString::fromLatin1(a.bytes.toBase64())) +
           QStringLiteral("</Allegati>");
    }
    return s + QStringLiteral("</FatturaElettronicaBody>");
  }

  QByteArray xml() const {
    const QString p = prefix.isEmpty() ? QString() : prefix + u':';
    const QString nsAttr = prefix.isEmpty() ? u"xmlns"_qs : u"xmlns:"_qs + prefix;
    QString s = QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(encoding) + extraBeforeRoot +
                QStringLiteral("<%1FatturaElettronica versione=\"%2\" %3=\"http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2\" "
                               "xmlns:ds=\"http://www.w3.org/2000/09/xmldsig#\">")
                    .arg(p, version, nsAttr);
    s += QStringLiteral("<FatturaElettronicaHeader><DatiTrasmissione><IdTrasmittente><IdPaese>IT</IdPaese><IdCodice>") + seller.vat +
         QStringLiteral("</IdCodice></IdTrasmittente><ProgressivoInvio>00001</ProgressivoInvio><FormatoTrasmissione>") + version +
         QStringLiteral("</FormatoTrasmissione><CodiceDestinatario>0000000</CodiceDestinatario></DatiTrasmissione>");
    s += party("CedentePrestatore", seller, true) + party("CessionarioCommittente", buyer, true) +
         QStringLiteral("</FatturaElettronicaHeader>");
    for (const SampleBody& b : bodies) s += body(b);
    s += QStringLiteral("</%1FatturaElettronica>\n").arg(p);
    QByteArray bytes = encoding.compare(QStringLiteral("windows-1252"), Qt::CaseInsensitive) == 0 ? cp1252::encode(s) : s.toUtf8();
    return bom ? "\xEF\xBB\xBF" + bytes : bytes;
  }
};

// A zip of (entry name, bytes), in the order given.
inline QByteArray zipOf(const std::vector<std::pair<QString, QByteArray>>& entries) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QuaZip zip(&buffer);
  if (!zip.open(QuaZip::mdCreate)) return {};
  for (const auto& [name, data] : entries) {
    QuaZipFile f(&zip);
    if (!f.open(QIODevice::WriteOnly, QuaZipNewInfo(name))) return {};
    f.write(data);
    f.close();
  }
  zip.close();
  return bytes;
}

// Signs `content` with a throwaway key and certificate (made once per
// `scratch` folder) by "openssl cms -sign", the content inside (not
// detached), in DER; `streamed` writes the content in chunks of indefinite
// length (BER), as some signing programs do. Nothing when openssl fails.
inline std::optional<QByteArray> signedEnvelope(const QByteArray& content, const QString& scratch,
                                                bool streamed = false) {
  const QString key = scratch + u"/key.pem"_qs, cert = scratch + u"/cert.pem"_qs;
  const auto run = [](const QStringList& args) {
    QProcess p;
    p.start(u"openssl"_qs, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
  };
  if (!QFile::exists(cert) &&
      !run({u"req"_qs, u"-x509"_qs, u"-newkey"_qs, u"rsa:2048"_qs, u"-nodes"_qs, u"-keyout"_qs, key, u"-out"_qs, cert,
            u"-subj"_qs, u"/CN=Prova Firma"_qs, u"-days"_qs, u"2"_qs})) {
    return std::nullopt;
  }
  const QString in = scratch + u"/in.xml"_qs, out = scratch + u"/out.p7m"_qs;
  QFile f(in);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return std::nullopt;
  f.write(content);
  f.close();
  QStringList args = {u"cms"_qs, u"-sign"_qs, u"-binary"_qs, u"-nodetach"_qs, u"-in"_qs, in, u"-signer"_qs, cert,
                      u"-inkey"_qs, key, u"-outform"_qs, u"DER"_qs, u"-out"_qs, out};
  if (streamed) args << u"-stream"_qs;
  if (!run(args)) {
    return std::nullopt;
  }
  QFile o(out);
  if (!o.open(QIODevice::ReadOnly)) return std::nullopt;
  return o.readAll();
}

// A scratch folder holding the invoices to read ("in") and a program folder
// ("programma").
class InvoiceFolders : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(QDir().mkpath(in()));
    ASSERT_TRUE(QDir().mkpath(folder()));
  }
  QString in() const { return dir.filePath(QStringLiteral("in")); }
  QString folder() const { return dir.filePath(QStringLiteral("programma")); }
  QTemporaryDir dir;
};

}  // namespace fondaro::testing
