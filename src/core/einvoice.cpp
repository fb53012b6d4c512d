// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/einvoice.h"

#include <QHash>
#include <QLocale>
#include <QStringDecoder>
#include <QXmlStreamReader>
#include <memory>

#include "core/cp1252.h"
#include "core/statement.h"

namespace fondaro {

const char kFatturaPANamespace[] = "http://ivaservizi.agenziaentrate.gov.it/docs/xsd/fatture/v1.2";

InvoiceReadError::InvoiceReadError(Kind kind, QString italian)
    : UserError(italian.toStdString()), kind_(kind), reason_(std::move(italian)) {}

UserError::Kind InvoiceReadError::errorKind() const {
  return kind_ == Kind::Unreadable ? UserError::Kind::System : UserError::Kind::Input;
}

namespace {

[[noreturn]] void malformed(const QString& why) { throw InvoiceReadError(InvoiceReadError::Kind::Malformed, why); }

QString joinParts(std::initializer_list<QString> parts, QStringView sep) {
  QString out;
  for (const QString& p : parts) {
    if (p.isEmpty()) continue;
    if (!out.isEmpty()) out += sep;
    out += p;
  }
  return out;
}

}  // namespace

QString InvoiceAddress::streetLine() const { return joinParts({street, number}, u" "); }

QString InvoiceAddress::oneLine() const {
  QString town_ = joinParts({postcode, town}, u" ");
  if (!province.isEmpty()) town_ = joinParts({town_, QStringLiteral("(%1)").arg(province)}, u" ");
  return joinParts({streetLine(), town_}, u", ");
}

QString InvoiceParty::name() const {
  if (!denomination.isEmpty()) return denomination;
  return joinParts({lastName, firstName}, u" ");
}

QString InvoiceParty::italianVat() const { return vatCountry.compare(u"IT", Qt::CaseInsensitive) == 0 ? vatCode : QString(); }

QDate InvoiceInstalment::due(const QDate& documentDate) const {
  if (dueDate.isValid()) return dueDate;
  if (termsDate.isValid() && termsDays) return termsDate.addDays(*termsDays);
  return documentDate;
}

namespace {
// The sum of the summaries and the stamp duty; nothing when it does not fit.
std::optional<qint64> summedCents(const InvoiceBody& b) {
  qint64 sum = b.stampCents.value_or(0);
  for (const InvoiceVatSummary& v : b.vat) {
    if (__builtin_add_overflow(sum, v.taxableCents, &sum) || __builtin_add_overflow(sum, v.taxCents, &sum)) {
      return std::nullopt;
    }
  }
  return sum;
}
}  // namespace

qint64 InvoiceBody::documentCents() const {
  if (totalCents) return *totalCents;
  return summedCents(*this).value_or(0);
}

// ---- Amounts and decimals ---------------------------------------------------

std::optional<qint64> parseInvoiceAmount(QStringView text) {
  text = text.trimmed();
  bool negative = false;
  if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+')) {
    negative = text[0] == u'-';
    text = text.mid(1);
  }
  const qsizetype dot = text.indexOf(u'.');
  const QStringView whole = dot < 0 ? text : text.left(dot);
  const QStringView fraction = dot < 0 ? QStringView() : text.mid(dot + 1);
  if (whole.isEmpty() || whole.size() > 13 || (dot >= 0 && fraction.isEmpty())) return std::nullopt;
  qint64 cents = 0;
  for (QChar c : whole) {
    if (c < u'0' || c > u'9') return std::nullopt;
    cents = cents * 10 + (c.unicode() - u'0');
  }
  cents *= 100;
  for (qsizetype i = 0; i < fraction.size(); ++i) {
    const QChar c = fraction[i];
    if (c < u'0' || c > u'9') return std::nullopt;
    const int d = c.unicode() - u'0';
    if (i == 0) cents += 10 * d;
    else if (i == 1) cents += d;
    else if (d != 0) return std::nullopt;
  }
  return negative ? -cents : cents;
}

namespace {
QString groupThousands(QStringView digits) {
  QString out;
  const qsizetype n = digits.size();
  for (qsizetype i = 0; i < n; ++i) {
    if (i > 0 && (n - i) % 3 == 0) out += u'.';
    out += digits[i];
  }
  return out;
}
}  // namespace

QString invoiceAmountText(qint64 cents) {
  const bool negative = cents < 0;
  const quint64 a = negative ? quint64(-cents) : quint64(cents);
  return (negative ? QStringLiteral("-") : QString()) + groupThousands(QString::number(a / 100)) + u',' +
         QStringLiteral("%1").arg(a % 100, 2, 10, QLatin1Char('0'));
}

QString invoiceDecimalText(QStringView text, int minDecimals) {
  QStringView t = text.trimmed();
  QString sign;
  if (!t.isEmpty() && (t[0] == u'-' || t[0] == u'+')) {
    if (t[0] == u'-') sign = QStringLiteral("-");
    t = t.mid(1);
  }
  const qsizetype dot = t.indexOf(u'.');
  QStringView whole = dot < 0 ? t : t.left(dot);
  QString fraction = dot < 0 ? QString() : t.mid(dot + 1).toString();
  const auto allDigits = [](QStringView s) {
    for (QChar c : s) {
      if (c < u'0' || c > u'9') return false;
    }
    return true;
  };
  if (whole.isEmpty() || !allDigits(whole) || !allDigits(fraction) || (dot >= 0 && fraction.isEmpty())) {
    return text.toString();
  }
  while (whole.size() > 1 && whole[0] == u'0') whole = whole.mid(1);
  while (fraction.size() > minDecimals && fraction.endsWith(u'0')) fraction.chop(1);
  while (fraction.size() < minDecimals) fraction += u'0';
  QString out = sign + groupThousands(whole);
  if (!fraction.isEmpty()) out += u',' + fraction;
  return out;
}

// ---- Code words ---------------------------------------------------------------

QString documentKindText(QStringView type) {
  static const QHash<QString, QString> kinds = {
      {u"TD01"_qs, u"Fattura"_qs},           {u"TD26"_qs, u"Fattura"_qs},
      {u"TD02"_qs, u"Acconto su fattura"_qs}, {u"TD03"_qs, u"Acconto su parcella"_qs},
      {u"TD04"_qs, u"Nota di credito"_qs},   {u"TD05"_qs, u"Nota di debito"_qs},
      {u"TD06"_qs, u"Parcella"_qs},          {u"TD24"_qs, u"Fattura differita"_qs},
      {u"TD25"_qs, u"Fattura differita"_qs},
  };
  return kinds.value(type.toString());
}

QString paymentMethodText(QStringView method) {
  static const QHash<QString, QString> methods = {
      {u"MP01"_qs, u"Contanti"_qs},
      {u"MP02"_qs, u"Assegno"_qs},
      {u"MP03"_qs, u"Assegno circolare"_qs},
      {u"MP04"_qs, u"Contanti presso Tesoreria"_qs},
      {u"MP05"_qs, u"Bonifico"_qs},
      {u"MP06"_qs, u"Vaglia cambiario"_qs},
      {u"MP07"_qs, u"Bollettino bancario"_qs},
      {u"MP08"_qs, u"Carta di pagamento"_qs},
      {u"MP09"_qs, u"RID"_qs},
      {u"MP10"_qs, u"RID utenze"_qs},
      {u"MP11"_qs, u"RID veloce"_qs},
      {u"MP12"_qs, u"RIBA"_qs},
      {u"MP13"_qs, u"MAV"_qs},
      {u"MP14"_qs, u"Quietanza erario"_qs},
      {u"MP15"_qs, u"Giroconto su conti di contabilità speciale"_qs},
      {u"MP16"_qs, u"Domiciliazione bancaria"_qs},
      {u"MP17"_qs, u"Domiciliazione postale"_qs},
      {u"MP18"_qs, u"Bollettino di c/c postale"_qs},
      {u"MP19"_qs, u"SEPA Direct Debit"_qs},
      {u"MP20"_qs, u"SEPA Direct Debit CORE"_qs},
      {u"MP21"_qs, u"SEPA Direct Debit B2B"_qs},
      {u"MP22"_qs, u"Trattenuta su somme già riscosse"_qs},
      {u"MP23"_qs, u"PagoPA"_qs},
  };
  return methods.value(method.toString(), method.toString());
}

QString documentTypeDescription(QStringView type) {
  static const QHash<QString, QString> types = {
      {u"TD01"_qs, u"Fattura"_qs},
      {u"TD02"_qs, u"Acconto/anticipo su fattura"_qs},
      {u"TD03"_qs, u"Acconto/anticipo su parcella"_qs},
      {u"TD04"_qs, u"Nota di credito"_qs},
      {u"TD05"_qs, u"Nota di debito"_qs},
      {u"TD06"_qs, u"Parcella"_qs},
      {u"TD16"_qs, u"Integrazione fattura reverse charge interno"_qs},
      {u"TD17"_qs, u"Integrazione/autofattura per acquisto servizi dall'estero"_qs},
      {u"TD18"_qs, u"Integrazione per acquisto di beni intracomunitari"_qs},
      {u"TD19"_qs, u"Integrazione/autofattura per acquisto di beni ex art. 17 c.2 DPR 633/72"_qs},
      {u"TD20"_qs, u"Autofattura per regolarizzazione e integrazione delle fatture"_qs},
      {u"TD21"_qs, u"Autofattura per splafonamento"_qs},
      {u"TD22"_qs, u"Estrazione beni da Deposito IVA"_qs},
      {u"TD23"_qs, u"Estrazione beni da Deposito IVA con versamento dell'IVA"_qs},
      {u"TD24"_qs, u"Fattura differita di cui all'art. 21, comma 4, lett. a)"_qs},
      {u"TD25"_qs, u"Fattura differita di cui all'art. 21, comma 4, terzo periodo lett. b)"_qs},
      {u"TD26"_qs, u"Cessione di beni ammortizzabili e per passaggi interni"_qs},
      {u"TD27"_qs, u"Fattura per autoconsumo o per cessioni gratuite senza rivalsa"_qs},
      {u"TD28"_qs, u"Acquisti da San Marino con IVA (fattura cartacea)"_qs},
  };
  const QString code = type.toString();
  const auto it = types.constFind(code);
  return it == types.constEnd() ? code : code + u' ' + *it;
}

// ---- Encodings ----------------------------------------------------------------

namespace {

// The encoding named by the XML declaration at the start of `bytes`, as
// written; empty when there is no declaration or it names none.
QByteArray declaredEncoding(const QByteArray& bytes) {
  const QByteArray head = bytes.left(200);
  if (!head.startsWith("<?xml")) return {};
  const qsizetype end = head.indexOf("?>");
  const QByteArray decl = end < 0 ? head : head.left(end);
  const qsizetype at = decl.indexOf("encoding");
  if (at < 0) return {};
  qsizetype i = at + 8;
  while (i < decl.size() && (decl[i] == ' ' || decl[i] == '=' || decl[i] == '\t')) ++i;
  if (i >= decl.size() || (decl[i] != '"' && decl[i] != '\'')) return {};
  const char quote = decl[i];
  const qsizetype close = decl.indexOf(quote, i + 1);
  if (close < 0) return {};
  return decl.mid(i + 1, close - i - 1).trimmed();
}

}  // namespace

QString decodeInvoiceXml(const QByteArray& bytes) {
  if (bytes.startsWith("\xEF\xBB\xBF")) return QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3);
  if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
    QStringDecoder d(bytes.startsWith("\xFF\xFE") ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE);
    return d.decode(bytes.mid(2));
  }
  const QByteArray declared = declaredEncoding(bytes);
  const QByteArray enc = declared.toLower();
  if (enc.isEmpty() || enc == "utf-8" || enc == "utf8") {
    // A file that says UTF-8 and is not (a hand-made invoice saved by an old
    // editor) is read in the code page most such files come from.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return cp1252::decode(bytes.constData(), bytes.size());
  }
  if (enc == "windows-1252" || enc == "cp1252" || enc == "x-cp1252") {
    return cp1252::decode(bytes.constData(), bytes.size());
  }
  if (enc == "iso-8859-1" || enc == "iso8859-1" || enc == "latin1" || enc == "latin-1" || enc == "us-ascii" ||
      enc == "ascii" || enc == "iso_8859-1") {
    return QString::fromLatin1(bytes);
  }
  malformed(QStringLiteral("codifica %1 non gestita").arg(QString::fromLatin1(declared.left(40))));
}

// ---- The XML, as a small tree -------------------------------------------------

namespace {

constexpr int kMaxDepth = 64;

// An element by local name, with its text and children: an invoice is small
// enough to hold whole while its fields are taken.
struct Node {
  QString name;
  QString text;
  std::vector<std::unique_ptr<Node>> children;

  const Node* child(QStringView n) const {
    for (const auto& c : children) {
      if (c->name == n) return c.get();
    }
    return nullptr;
  }
  // The first element down the path of local names.
  const Node* at(std::initializer_list<QStringView> path) const {
    const Node* n = this;
    for (QStringView p : path) {
      n = n->child(p);
      if (!n) return nullptr;
    }
    return n;
  }
  std::vector<const Node*> all(QStringView n) const {
    std::vector<const Node*> out;
    for (const auto& c : children) {
      if (c->name == n) out.push_back(c.get());
    }
    return out;
  }
  QString textAt(std::initializer_list<QStringView> path) const {
    const Node* n = at(path);
    return n ? collapseBlanks(n->text) : QString();
  }
};

enum class Root { Invoice, Metadata };

// Reads the XML into a tree under the root; refuses what is not an invoice.
std::unique_ptr<Node> readTree(const QString& text, QString* version) {
  QXmlStreamReader xml(text);
  std::vector<Node*> stack;
  std::unique_ptr<Node> root;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType t = xml.readNext();
    switch (t) {
      case QXmlStreamReader::DTD:
        malformed(QStringLiteral("il file contiene una DTD, che una fattura elettronica non ha"));
      case QXmlStreamReader::EntityReference:
        malformed(QStringLiteral("il file usa un'entità non definita (%1)").arg(xml.name().toString().left(40)));
      case QXmlStreamReader::StartElement: {
        if (!root) {
          const QString name = xml.name().toString();
          if (name == u"MetadatiInvioFile") {
            throw InvoiceReadError(InvoiceReadError::Kind::Metadata, QStringLiteral("file di metadati"));
          }
          if (name == u"FatturaElettronicaSemplificata") {
            throw InvoiceReadError(InvoiceReadError::Kind::NotInvoice,
                                   QStringLiteral("fattura semplificata: non importata"));
          }
          if (name != u"FatturaElettronica" || xml.namespaceUri() != QLatin1String(kFatturaPANamespace)) {
            throw InvoiceReadError(
                InvoiceReadError::Kind::NotInvoice,
                QStringLiteral("radice %1: non è una fattura elettronica ordinaria").arg(name.left(60)));
          }
          *version = xml.attributes().value(QStringLiteral("versione")).toString().trimmed();
          if (*version != u"FPR12" && *version != u"FPA12") {
            throw InvoiceReadError(InvoiceReadError::Kind::NotInvoice,
                                   QStringLiteral("versione %1 non gestita (FPR12 o FPA12)").arg(version->left(20)));
          }
          root = std::make_unique<Node>();
          root->name = name;
          stack.push_back(root.get());
          break;
        }
        if (int(stack.size()) >= kMaxDepth) malformed(QStringLiteral("elementi annidati troppo in profondità"));
        auto node = std::make_unique<Node>();
        node->name = xml.name().toString();
        Node* raw = node.get();
        stack.back()->children.push_back(std::move(node));
        stack.push_back(raw);
        break;
      }
      case QXmlStreamReader::EndElement:
        if (!stack.empty()) stack.pop_back();
        break;
      case QXmlStreamReader::Characters:
        if (!stack.empty() && stack.back()->children.empty()) stack.back()->text += xml.text();
        break;
      default:
        break;
    }
  }
  if (xml.hasError()) {
    if (xml.error() == QXmlStreamReader::PrematureEndOfDocumentError) malformed(QStringLiteral("file troncato"));
    malformed(QStringLiteral("XML non valido alla riga %1: %2").arg(xml.lineNumber()).arg(xml.errorString()));
  }
  if (!root) malformed(QStringLiteral("nessun elemento XML"));
  return root;
}

QDate isoDate(const QString& text) {
  return QDate::fromString(text.left(10), u"yyyy-MM-dd");
}

InvoiceParty partyOf(const Node* n) {
  InvoiceParty p;
  if (!n) return p;
  p.vatCountry = n->textAt({u"DatiAnagrafici", u"IdFiscaleIVA", u"IdPaese"}).toUpper();
  p.vatCode = n->textAt({u"DatiAnagrafici", u"IdFiscaleIVA", u"IdCodice"}).remove(u' ');
  p.taxCode = n->textAt({u"DatiAnagrafici", u"CodiceFiscale"}).remove(u' ');
  p.denomination = n->textAt({u"DatiAnagrafici", u"Anagrafica", u"Denominazione"});
  p.firstName = n->textAt({u"DatiAnagrafici", u"Anagrafica", u"Nome"});
  p.lastName = n->textAt({u"DatiAnagrafici", u"Anagrafica", u"Cognome"});
  p.address.street = n->textAt({u"Sede", u"Indirizzo"});
  p.address.number = n->textAt({u"Sede", u"NumeroCivico"});
  p.address.postcode = n->textAt({u"Sede", u"CAP"});
  p.address.town = n->textAt({u"Sede", u"Comune"});
  p.address.province = n->textAt({u"Sede", u"Provincia"});
  p.address.country = n->textAt({u"Sede", u"Nazione"});
  p.phone = n->textAt({u"Contatti", u"Telefono"});
  p.fax = n->textAt({u"Contatti", u"Fax"});
  p.email = n->textAt({u"Contatti", u"Email"});
  return p;
}

// Reads an amount into `out`; a text that is there and cannot be read becomes
// the body's problem.
void amountInto(const Node* parent, QStringView name, std::optional<qint64>& out, QString& problem,
                const QString& what) {
  const Node* n = parent ? parent->child(name) : nullptr;
  if (!n) return;
  out = parseInvoiceAmount(n->text);
  if (!out && problem.isEmpty()) problem = QStringLiteral("%1 illeggibile (%2)").arg(what, n->text.trimmed().left(30));
}

void readBody(const Node& b, InvoiceBody& body) {
  const Node* doc = b.at({u"DatiGenerali", u"DatiGeneraliDocumento"});
  if (!doc) {
    body.problem = QStringLiteral("mancano i dati generali del documento");
    return;
  }
  body.type = doc->textAt({u"TipoDocumento"}).toUpper();
  body.currency = doc->textAt({u"Divisa"}).toUpper();
  body.number = doc->textAt({u"Numero"});
  const QString dateText = doc->textAt({u"Data"});
  body.date = isoDate(dateText);
  if (!body.date.isValid()) {
    body.problem = dateText.isEmpty() ? QStringLiteral("data del documento mancante")
                                      : QStringLiteral("data del documento illeggibile (%1)").arg(dateText.left(30));
  }
  for (const Node* c : doc->all(u"Causale")) body.reasons << collapseBlanks(c->text);
  amountInto(doc, u"ImportoTotaleDocumento", body.totalCents, body.problem, QStringLiteral("importo totale"));
  amountInto(doc->child(u"DatiBollo"), u"ImportoBollo", body.stampCents, body.problem, QStringLiteral("bollo"));

  if (const Node* goods = b.child(u"DatiBeniServizi")) {
    for (const Node* l : goods->all(u"DettaglioLinee")) {
      InvoiceLine line;
      line.number = l->textAt({u"NumeroLinea"}).toInt();
      line.description = l->textAt({u"Descrizione"});
      line.quantity = l->textAt({u"Quantita"});
      line.unit = l->textAt({u"UnitaMisura"});
      line.unitPrice = l->textAt({u"PrezzoUnitario"});
      line.total = l->textAt({u"PrezzoTotale"});
      line.vatRate = l->textAt({u"AliquotaIVA"});
      line.nature = l->textAt({u"Natura"});
      body.lines.push_back(std::move(line));
    }
    for (const Node* r : goods->all(u"DatiRiepilogo")) {
      InvoiceVatSummary v;
      v.vatRate = r->textAt({u"AliquotaIVA"});
      v.nature = r->textAt({u"Natura"});
      v.chargeability = r->textAt({u"EsigibilitaIVA"});
      std::optional<qint64> taxable, tax;
      amountInto(r, u"ImponibileImporto", taxable, body.problem, QStringLiteral("imponibile del riepilogo IVA"));
      amountInto(r, u"Imposta", tax, body.problem, QStringLiteral("imposta del riepilogo IVA"));
      v.taxableCents = taxable.value_or(0);
      v.taxCents = tax.value_or(0);
      body.vat.push_back(std::move(v));
    }
  }

  if (!body.totalCents && !summedCents(body) && body.problem.isEmpty()) {
    body.problem = QStringLiteral("importi del riepilogo IVA troppo grandi");
  }

  for (const Node* p : b.all(u"DatiPagamento")) {
    body.hasPaymentData = true;
    const QString terms = p->textAt({u"CondizioniPagamento"});
    for (const Node* d : p->all(u"DettaglioPagamento")) {
      InvoiceInstalment in;
      in.terms = terms;
      in.method = d->textAt({u"ModalitaPagamento"}).toUpper();
      in.beneficiary = d->textAt({u"Beneficiario"});
      in.bank = d->textAt({u"IstitutoFinanziario"});
      in.iban = d->textAt({u"IBAN"}).remove(u' ').toUpper();
      const QString ref = d->textAt({u"DataRiferimentoTerminiPagamento"});
      const QString due = d->textAt({u"DataScadenzaPagamento"});
      in.termsDate = isoDate(ref);
      in.dueDate = isoDate(due);
      if ((!ref.isEmpty() && !in.termsDate.isValid()) || (!due.isEmpty() && !in.dueDate.isValid())) {
        if (body.problem.isEmpty()) {
          body.problem = QStringLiteral("data di pagamento illeggibile (%1)")
                             .arg((in.dueDate.isValid() || due.isEmpty() ? ref : due).left(30));
        }
      }
      const QString days = d->textAt({u"GiorniTerminiPagamento"});
      if (!days.isEmpty()) {
        bool ok = false;
        const int n = days.toInt(&ok);
        if (ok && n >= 0 && n <= 999) in.termsDays = n;
        else if (body.problem.isEmpty()) body.problem = QStringLiteral("giorni dei termini illeggibili (%1)").arg(days.left(30));
      }
      amountInto(d, u"ImportoPagamento", in.cents, body.problem, QStringLiteral("importo della rata"));
      body.instalments.push_back(std::move(in));
    }
  }

  for (const Node* a : b.all(u"Allegati")) {
    InvoiceAttachment att;
    att.name = a->textAt({u"NomeAttachment"});
    att.description = a->textAt({u"DescrizioneAttachment"});
    att.format = a->textAt({u"FormatoAttachment"});
    if (const Node* data = a->child(u"Attachment")) {
      QByteArray b64 = data->text.toLatin1();
      b64.replace(' ', "").replace('\n', "").replace('\r', "").replace('\t', "");
      auto decoded = QByteArray::fromBase64Encoding(b64, QByteArray::AbortOnBase64DecodingErrors);
      if (decoded) att.bytes = std::move(decoded.decoded);
    }
    body.attachments.push_back(std::move(att));
  }
}

}  // namespace

InvoiceDocument readInvoiceXml(const QByteArray& xmlBytes) {
  const QString text = decodeInvoiceXml(xmlBytes);
  InvoiceDocument doc;
  const std::unique_ptr<Node> root = readTree(text, &doc.version);
  if (const Node* h = root->child(u"FatturaElettronicaHeader")) {
    doc.transmitter = h->textAt({u"DatiTrasmissione", u"IdTrasmittente", u"IdPaese"}) +
                      h->textAt({u"DatiTrasmissione", u"IdTrasmittente", u"IdCodice"});
    doc.progressive = h->textAt({u"DatiTrasmissione", u"ProgressivoInvio"});
    doc.seller = partyOf(h->child(u"CedentePrestatore"));
    doc.buyer = partyOf(h->child(u"CessionarioCommittente"));
  } else {
    malformed(QStringLiteral("manca l'intestazione della fattura"));
  }
  int index = 0;
  for (const Node* b : root->all(u"FatturaElettronicaBody")) {
    InvoiceBody body;
    body.index = ++index;
    readBody(*b, body);
    doc.bodies.push_back(std::move(body));
  }
  if (doc.bodies.empty()) malformed(QStringLiteral("nessun corpo della fattura"));
  return doc;
}

}  // namespace fondaro
