// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An electronic invoice (FatturaPA 1.2.x, "FPR12" between businesses, "FPA12"
// to public bodies) as the import reads it: one header with the two parties
// and one or more bodies, each body one invoice (a batch file holds several).
// The reader takes the XML bytes (the content of a signed envelope already
// taken out, see core/invoiceenvelope.h) and gives plain data; what the data
// becomes (movements, cards, attachments) is the planner's
// (core/invoiceimport.h).
//
// What is read: the root "FatturaElettronica" by its namespace URI, whatever
// its prefix; the children have no namespace. Text is read with
// QXmlStreamReader; a DTD is refused before anything it declares is used, so
// no external entity is ever loaded and no entity is ever expanded. The
// encodings: UTF-8 with or without a byte-order mark, UTF-16 with one, and
// what the XML declaration names among UTF-8, windows-1252 (the program's own
// table, core/cp1252.h), ISO-8859-1 and US-ASCII.
//
// A file is read whole or refused (InvoiceReadError). Inside a readable file,
// a field of a body that cannot be read (an amount, a date) does not refuse
// the file: the body keeps its problem (InvoiceBody::problem) and is skipped
// by the planner with it, so the other bodies still arrive.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/usererror.h"

namespace fondaro {

// "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2"
extern const char kFatturaPANamespace[];

// An address as the invoice gives it (Sede).
struct InvoiceAddress {
  QString street;    // Indirizzo
  QString number;    // NumeroCivico
  QString postcode;  // CAP
  QString town;      // Comune
  QString province;  // Provincia (two letters)
  QString country;   // Nazione ("IT")

  // "Indirizzo NumeroCivico"; a missing part left out.
  QString streetLine() const;
  // "Indirizzo NumeroCivico, CAP Comune (Provincia)"; missing parts left out.
  QString oneLine() const;
  bool operator==(const InvoiceAddress&) const = default;
};

// A party of the header: CedentePrestatore (the seller) or
// CessionarioCommittente (the buyer). Texts are as the invoice gives them,
// blanks collapsed (core/statement.h collapseBlanks).
struct InvoiceParty {
  QString vatCountry;   // DatiAnagrafici/IdFiscaleIVA/IdPaese ("IT")
  QString vatCode;      // DatiAnagrafici/IdFiscaleIVA/IdCodice
  QString taxCode;      // DatiAnagrafici/CodiceFiscale
  QString denomination; // Anagrafica/Denominazione
  QString firstName;    // Anagrafica/Nome
  QString lastName;     // Anagrafica/Cognome
  InvoiceAddress address;  // Sede
  QString phone;        // Contatti/Telefono
  QString fax;          // Contatti/Fax
  QString email;        // Contatti/Email

  // Denominazione, else "Cognome Nome".
  QString name() const;
  // The Italian VAT number: vatCode when vatCountry is "IT", else empty.
  QString italianVat() const;
  bool operator==(const InvoiceParty&) const = default;
};

// One DettaglioLinee. Quantities and prices keep the decimal text the invoice
// gives (up to eight decimals, "." as separator): they are shown, never summed.
struct InvoiceLine {
  int number = 0;        // NumeroLinea
  QString description;   // Descrizione, blanks collapsed
  QString quantity;      // Quantita, empty when not given
  QString unit;          // UnitaMisura
  QString unitPrice;     // PrezzoUnitario
  QString total;         // PrezzoTotale
  QString vatRate;       // AliquotaIVA ("22.00")
  QString nature;        // Natura ("N4", "N2.2") when the rate is zero
};

// One DatiRiepilogo.
struct InvoiceVatSummary {
  QString vatRate;         // AliquotaIVA ("22.00")
  QString nature;          // Natura
  qint64 taxableCents = 0; // ImponibileImporto
  qint64 taxCents = 0;     // Imposta
  QString chargeability;   // EsigibilitaIVA: I, D or S ("S": split payment)
};

// One DettaglioPagamento: an instalment with its own due date and amount.
struct InvoiceInstalment {
  QString terms;            // CondizioniPagamento of its DatiPagamento (TP01, TP02, TP03)
  QString method;           // ModalitaPagamento ("MP05")
  QDate termsDate;          // DataRiferimentoTerminiPagamento
  std::optional<int> termsDays;  // GiorniTerminiPagamento
  QDate dueDate;            // DataScadenzaPagamento
  std::optional<qint64> cents;   // ImportoPagamento, signed as written
  QString iban;             // IBAN, blanks removed
  QString bank;             // IstitutoFinanziario
  QString beneficiary;      // Beneficiario

  // DataScadenzaPagamento, else the reference date plus the days when both
  // are given, else `documentDate`.
  QDate due(const QDate& documentDate) const;
};

// One Allegati: a file the issuer embedded (often its own PDF of the invoice).
struct InvoiceAttachment {
  QString name;         // NomeAttachment, as given (the planner makes it safe)
  QString description;  // DescrizioneAttachment
  QString format;       // FormatoAttachment ("PDF")
  QByteArray bytes;     // Attachment, Base64-decoded
};

// One FatturaElettronicaBody.
struct InvoiceBody {
  int index = 0;            // from 1 in the file
  QString type;             // DatiGeneraliDocumento/TipoDocumento ("TD01")
  QString currency;         // Divisa ("EUR")
  QDate date;               // Data
  QString number;           // Numero
  std::optional<qint64> totalCents;  // ImportoTotaleDocumento, signed as written
  std::optional<qint64> stampCents;  // DatiBollo/ImportoBollo
  QStringList reasons;      // Causale (several)
  std::vector<InvoiceLine> lines;
  std::vector<InvoiceVatSummary> vat;
  std::vector<InvoiceInstalment> instalments;  // every DettaglioPagamento of every DatiPagamento, in order
  bool hasPaymentData = false;                 // at least one DatiPagamento
  std::vector<InvoiceAttachment> attachments;
  // Why the body cannot become movements although the file was read (an
  // amount or a date that cannot be read, no date), in Italian; empty when
  // none. The planner skips the body with it.
  QString problem;

  // ImportoTotaleDocumento, else the sum of the summaries' taxable amount and
  // tax plus the stamp duty; signed.
  qint64 documentCents() const;
};

// The whole file: the header's parties and the bodies in file order.
struct InvoiceDocument {
  QString version;  // the root's "versione": FPR12, FPA12
  InvoiceParty seller;  // CedentePrestatore
  InvoiceParty buyer;   // CessionarioCommittente
  QString transmitter;  // DatiTrasmissione/IdTrasmittente, "IT01234567890"
  QString progressive;  // DatiTrasmissione/ProgressivoInvio
  std::vector<InvoiceBody> bodies;
};

// Why a file is not read as an invoice; nothing of it is imported.
class InvoiceReadError : public UserError {
 public:
  enum class Kind {
    Unreadable,    // the file cannot be read (a system error, too large)
    Envelope,      // a signed envelope whose content cannot be taken out
    Malformed,     // not well-formed XML, truncated, a DTD, an encoding not known
    Metadata,      // the interchange system's metadata file (MetadatiInvioFile): passed over silently
    NotInvoice,    // another root: the simplified invoice, a receipt, anything else
    Zip,           // a zip file that cannot be opened
  };
  InvoiceReadError(Kind kind, QString italian);
  Kind kind() const { return kind_; }
  // The reason as the list and the tool give it ("radice Ricevuta: non è una
  // fattura ordinaria"), without the file's name.
  const QString& reason() const { return reason_; }
  UserError::Kind errorKind() const override;
  QString english() const override { return reason_; }
  QString italian() const override { return reason_; }

 private:
  Kind kind_;
  QString reason_;
};

// The text of an XML file as the declaration or the byte-order mark says;
// throws InvoiceReadError(Malformed) for an encoding that is not known. The
// declaration's encoding is left as it was: QXmlStreamReader reads the text.
QString decodeInvoiceXml(const QByteArray& bytes);

// Reads an invoice from its XML bytes. Throws InvoiceReadError: Malformed,
// Metadata or NotInvoice.
InvoiceDocument readInvoiceXml(const QByteArray& xml);

// An amount of the invoice ("1234.56", "-5.00", "12", "1.5") in cents; nothing
// when it is not a decimal number, has more than 13 digits of euros or a
// fraction of a cent that is not zero. No floating point.
std::optional<qint64> parseInvoiceAmount(QStringView text);

// "1.234,56": cents as the printouts show an amount (thousands grouped).
QString invoiceAmountText(qint64 cents);
// A decimal text of the invoice ("1.50000000", "22.00") for a person: comma
// decimals, trailing zeros dropped down to `minDecimals` ("1,50" for 2),
// thousands grouped; the text unchanged when it is not a number.
QString invoiceDecimalText(QStringView text, int minDecimals);

// The words of the codes (the printouts, the Causale, the Pagamento).
// "Fattura" for TD01 and TD26, "Nota di credito" for TD04, ...; empty for a
// type that does not become a movement.
QString documentKindText(QStringView type);
// "Bonifico" for MP05, ...; the code itself when unknown.
QString paymentMethodText(QStringView method);
// A document type's description for the readable copy, for every type
// ("TD17 Integrazione/autofattura per acquisto servizi dall'estero"); the
// code when unknown.
QString documentTypeDescription(QStringView type);

}  // namespace fondaro
