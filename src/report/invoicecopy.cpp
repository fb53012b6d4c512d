// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/invoicecopy.h"

#include <algorithm>

#include "core/einvoice.h"
#include "core/invoicefiles.h"
#include "core/textrules.h"
#include "report/pdf.h"

namespace fondaro::report {

namespace {

const QString kTemplate = u":/reports/fatturaelettronica.json"_qs;
constexpr QStringView kSeparator = u" · ";

QString dateText(const QDate& date) { return date.isValid() ? formatDate(date) : QString(); }

QString joined(const QStringList& parts, QStringView separator) {
  QStringList kept;
  for (const QString& p : parts)
    if (!p.trimmed().isEmpty()) kept << p.trimmed();
  return kept.join(separator);
}

QString title(const InvoiceBody& body) {
  QString kind = documentKindText(body.type);
  if (kind.isEmpty()) kind = u"Documento"_qs;
  QString text = kind;
  if (!body.number.isEmpty()) text += u" n. "_qs + body.number;
  if (body.date.isValid()) text += u" del "_qs + dateText(body.date);
  return text;
}

QString versionText(const QString& version) {
  if (version.compare(u"FPA12", Qt::CaseInsensitive) == 0) return u"FPA12, verso la pubblica amministrazione"_qs;
  if (version.compare(u"FPR12", Qt::CaseInsensitive) == 0) return u"FPR12, tra privati"_qs;
  return version;
}

QStringList partyLines(Report& r, const QString& object, const InvoiceParty& p) {
  QStringList lines = r.wrapped(object, p.name().isEmpty() ? u"(senza nome)"_qs : p.name());
  const InvoiceAddress& a = p.address;
  QString place = joined({a.postcode, a.town}, u" ");
  if (!a.province.isEmpty()) place = joined({place, u"("_qs + a.province + u")"_qs}, u" ");
  if (!a.country.isEmpty() && a.country.compare(u"IT", Qt::CaseInsensitive) != 0)
    place = joined({place, a.country}, u" - ");
  for (const QString& part : {a.streetLine(), place})
    if (!part.isEmpty()) lines += r.wrapped(object, part);
  if (!p.vatCode.isEmpty()) lines << u"Partita IVA: "_qs + p.vatCountry + p.vatCode;
  if (!p.taxCode.isEmpty()) lines << u"Codice fiscale: "_qs + p.taxCode;
  const QString contacts = joined({p.phone.isEmpty() ? QString() : u"Tel. "_qs + p.phone,
                                   p.fax.isEmpty() ? QString() : u"Fax "_qs + p.fax,
                                   p.email.isEmpty() ? QString() : u"E-mail "_qs + p.email},
                                  kSeparator);
  if (!contacts.isEmpty()) lines += r.wrapped(object, contacts);
  return lines;
}

// A row of columns: every column gets as many lines as the tallest, then the
// row grows to them once.
void fillRow(Report& r, const QStringList& names, std::vector<QStringList> columns) {
  qsizetype height = 0;
  for (const QStringList& c : columns) height = std::max(height, c.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    while (columns[i].size() < height) columns[i] << QString();
    r.clearLines(names[qsizetype(i)]);
    r.addLines(names[qsizetype(i)], columns[i]);
  }
  r.fitToLines(names.front());
}

// Rows of a table: each cell may take several lines (the first column wraps),
// the others keep their value on the row's first line.
struct Table {
  QStringList names;
  std::vector<QStringList> columns;

  explicit Table(QStringList n) : names(std::move(n)), columns(size_t(names.size())) {}
  void add(Report& r, const QStringList& cells) {
    std::vector<QStringList> wrapped;
    qsizetype height = 1;
    for (qsizetype i = 0; i < cells.size(); ++i) {
      wrapped.push_back(r.wrapped(names[i], cells[i]));
      height = std::max(height, wrapped.back().size());
    }
    for (size_t i = 0; i < wrapped.size(); ++i) {
      while (wrapped[i].size() < height) wrapped[i] << QString();
      columns[i] += wrapped[i];
    }
  }
  void fill(Report& r) const { fillRow(r, names, columns); }
};

QString rateText(const QString& rate, const QString& nature) {
  const std::optional<qint64> cents = parseInvoiceAmount(rate);
  if (!nature.isEmpty() && (!cents || *cents == 0)) return nature;
  return rate.isEmpty() ? nature : invoiceDecimalText(rate, 0) + u'%';
}

QString chargeabilityText(const QString& code) {
  if (code == u"I") return u"immediata"_qs;
  if (code == u"D") return u"differita"_qs;
  if (code == u"S") return u"scissione dei pagamenti"_qs;
  return code;
}

QString termsText(const QString& code) {
  if (code == u"TP01") return u"a rate"_qs;
  if (code == u"TP02") return u"completo"_qs;
  if (code == u"TP03") return u"anticipo"_qs;
  return code;
}

Report bodyCopy(const InvoiceFileRead& file, const InvoiceDocument& doc, const InvoiceBody& body) {
  Report r = Report::fromResource(kTemplate);
  r.setText(u"txtTitolo"_qs, title(body));
  r.setText(u"txtTipo"_qs, joined({documentTypeDescription(body.type), versionText(doc.version),
                                    body.currency.isEmpty() ? QString() : u"divisa "_qs + body.currency},
                                   kSeparator));
  QString origin = u"File "_qs + file.shownName;
  if (file.signedEnvelope) origin += u" (busta firmata; firma non verificata)"_qs;
  if (doc.bodies.size() > 1)
    origin += kSeparator.toString() + u"documento %1 di %2 del file"_qs.arg(body.index).arg(doc.bodies.size());
  r.setText(u"txtFile"_qs, origin);

  fillRow(r, {u"txtCedente"_qs, u"txtCessionario"_qs},
          {partyLines(r, u"txtCedente"_qs, doc.seller), partyLines(r, u"txtCessionario"_qs, doc.buyer)});

  const QString reasons = body.reasons.join(u' ').trimmed();
  r.clearLines(u"txtCausale"_qs);
  if (!reasons.isEmpty()) r.addLines(u"txtCausale"_qs, r.wrapped(u"txtCausale"_qs, u"Causale: "_qs + reasons));
  r.fitToLines(u"txtCausale"_qs);

  Table lines({u"colDescrizione"_qs, u"colQuantita"_qs, u"colPrezzo"_qs, u"colAliquotaRiga"_qs,
               u"colImportoRiga"_qs});
  for (const InvoiceLine& l : body.lines) {
    const QString quantity =
        l.quantity.isEmpty() ? QString() : joined({invoiceDecimalText(l.quantity, 2), l.unit}, u" ");
    lines.add(r, {l.description, quantity, l.unitPrice.isEmpty() ? QString() : invoiceDecimalText(l.unitPrice, 2),
                  rateText(l.vatRate, l.nature), invoiceDecimalText(l.total, 2)});
  }
  lines.fill(r);

  Table vat({u"colAliquota"_qs, u"colImponibile"_qs, u"colImposta"_qs, u"colEsigibilita"_qs});
  qint64 taxable = 0, tax = 0;
  for (const InvoiceVatSummary& v : body.vat) {
    taxable += v.taxableCents;
    tax += v.taxCents;
    QString rate = rateText(v.vatRate, v.nature);
    if (!v.nature.isEmpty() && rate == v.nature) rate = u"Natura "_qs + v.nature;
    vat.add(r, {rate, invoiceAmountText(v.taxableCents), invoiceAmountText(v.taxCents),
                chargeabilityText(v.chargeability)});
  }
  vat.fill(r);

  if (!body.instalments.empty() && !body.instalments.front().terms.isEmpty())
    r.setText(u"titPagamento"_qs, u"Pagamento "_qs + termsText(body.instalments.front().terms));
  Table pay({u"colModalita"_qs, u"colScadenza"_qs, u"colImportoRata"_qs, u"colIban"_qs});
  for (const InvoiceInstalment& i : body.instalments) {
    pay.add(r, {i.method.isEmpty() ? QString() : paymentMethodText(i.method), dateText(i.due(body.date)),
                i.cents ? invoiceAmountText(*i.cents) : QString(), joined({i.iban, i.bank}, kSeparator)});
  }
  if (body.instalments.empty()) pay.add(r, {u"Non indicato"_qs, QString(), QString(), QString()});
  pay.fill(r);

  QStringList what{u"Totale imponibile"_qs, u"Totale IVA"_qs};
  QStringList amounts{invoiceAmountText(taxable), invoiceAmountText(tax)};
  if (body.stampCents) {
    what << u"Bollo"_qs;
    amounts << invoiceAmountText(*body.stampCents);
  }
  fillRow(r, {u"colTotaliVoci"_qs, u"colTotaliImporti"_qs}, {what, amounts});
  const QString currency = body.currency.isEmpty() ? u"EUR"_qs : body.currency;
  r.setText(u"txtTotale"_qs, currency + u' ' + invoiceAmountText(body.documentCents()));

  QStringList attached;
  for (const InvoiceAttachment& a : body.attachments) {
    const QString about = joined({a.description, a.format}, u", ");
    attached << (about.isEmpty() ? a.name : a.name + u" ("_qs + about + u')');
  }
  r.clearLines(u"txtAllegati"_qs);
  r.addLines(u"txtAllegati"_qs,
             r.wrapped(u"txtAllegati"_qs, u"Allegati: "_qs + (attached.isEmpty() ? u"nessuno"_qs : attached.join(u"; "))));
  r.fitToLines(u"txtAllegati"_qs);

  r.clearLines(u"txtNota"_qs);
  r.addLines(u"txtNota"_qs,
             r.wrapped(u"txtNota"_qs, u"Copia leggibile della fattura elettronica, fatta da Fondaro dal file %1: "
                                      u"fa fede il file originale."_qs.arg(file.name)));
  r.fitToLines(u"txtNota"_qs);
  return r;
}

}  // namespace

ReportSequence invoiceCopy(const InvoiceFileRead& file) {
  ReportSequence copy;
  if (!file.document) return copy;
  for (const InvoiceBody& body : file.document->bodies) copy.append(bodyCopy(file, *file.document, body));
  copy.setTitle(u"Fattura elettronica "_qs + file.name);
  return copy;
}

QByteArray invoiceCopyPdf(const InvoiceFileRead& file, QString* error) {
  ReportSequence copy = invoiceCopy(file);
  if (copy.parts().empty()) {
    if (error) *error = u"Il file %1 non contiene una fattura leggibile."_qs.arg(file.shownName);
    return {};
  }
  return pdfBytes(copy, error);
}

}  // namespace fondaro::report
