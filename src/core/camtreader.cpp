// SPDX-License-Identifier: GPL-3.0-or-later
// CAMT.053 (ISO 20022 bank-to-customer statement) read by the local names of
// its elements, so that every version of the message (001.02 to 001.08 and
// later) reads alike whatever its namespace. The account reports (camt.052)
// and notifications (camt.054) have the same entries and read the same way.
#include <QXmlStreamReader>
#include <algorithm>
#include <vector>

#include "core/camtreader.h"

namespace fondaro {
namespace {

constexpr qsizetype kFeedBytes = 1 << 20;

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// An ISO 20022 amount: digits with an optional "." and fraction, no sign.
std::optional<qint64> parseXmlAmount(QStringView s, bool* fractionOfCent) {
  *fractionOfCent = false;
  if (s.isEmpty() || !isDigit(s.front())) return std::nullopt;
  qint64 euros = 0;
  qsizetype i = 0;
  int digits = 0;
  for (; i < s.size() && isDigit(s[i]); ++i) {
    if (euros > 0 || s[i] != u'0') ++digits;
    if (digits > 12) return std::nullopt;
    euros = euros * 10 + (s[i].unicode() - '0');
  }
  qint64 cents = 0;
  if (i < s.size()) {
    if (s[i] != u'.' || i + 1 == s.size()) return std::nullopt;
    for (qsizetype k = i + 1, n = 0; k < s.size(); ++k, ++n) {
      if (!isDigit(s[k])) return std::nullopt;
      if (n < 2) cents += (s[k].unicode() - '0') * (n == 0 ? 10 : 1);
      else if (s[k] != u'0') *fractionOfCent = true;
    }
  }
  return euros * 100 + cents;
}

// The kind of transaction told by the ISO bank transaction code.
QString kindFromDomainCodes(const QString& family, const QString& subFamily) {
  if (subFamily == u"CHRG" || subFamily == u"COMM" || family == u"CHRG") return QStringLiteral("Commissioni");
  if (subFamily == u"INTR" || family == u"INTR") return QStringLiteral("Interessi");
  if (subFamily == u"CWDL") return QStringLiteral("Prelievo");
  if (subFamily == u"CDPT") return QStringLiteral("Versamento");
  if (family == u"RCDT" || family == u"ICDT") return QStringLiteral("Bonifico");
  if (family == u"RDDT" || family == u"IDDT") return QStringLiteral("Addebito diretto");
  if (family == u"CCRD" || family == u"MCRD" || subFamily == u"POSD") return QStringLiteral("Pagamento con carta");
  if (family == u"ICHQ" || family == u"RCHQ") return QStringLiteral("Assegno");
  return {};
}

// Whether a proprietary transaction code is wording a user can read ("Addebito
// SDD", "BONIFICO SEPA") rather than a bank's own code ("EI", "EIST", "48"):
// it has a word of at least three letters, where a word in capitals only
// counts from five letters, as the codes are short capitals.
bool isWording(QStringView s) {
  qsizetype run = 0;
  bool lower = false;
  for (qsizetype i = 0; i <= s.size(); ++i) {
    if (i < s.size() && s[i].isLetter()) {
      ++run;
      lower = lower || s[i].isLower();
      continue;
    }
    if (run >= 5 || (run >= 3 && lower)) return true;
    run = 0;
    lower = false;
  }
  return false;
}

// What one Ntry holds, as read.
struct RawEntry {
  QString amount, currency, creditDebit, status, bookingDate, bookingDateTime, valueDate;
  QString acctSvcrRef, ntryRef, addtlNtryInf;
  QString proprietaryCode, familyCode, subFamilyCode;
  QStringList unstructured, addtlTxInf;
  QString debtor, creditor, txAcctSvcrRef, endToEndId;
  bool amountSeen = false;
};

void take(RawEntry& e, QStringView path, const QString& text) {
  static const QString tx = QStringLiteral("NtryDtls/TxDtls/");
  if (path == u"Amt") {
    e.amount = text;
    e.amountSeen = true;
  } else if (path == u"CdtDbtInd") {
    e.creditDebit = text;
  } else if ((path == u"Sts" && !text.isEmpty()) || path == u"Sts/Cd") {
    e.status = text;
  } else if (path == u"BookgDt/Dt") {
    e.bookingDate = text;
  } else if (path == u"BookgDt/DtTm") {
    e.bookingDateTime = text;
  } else if (path == u"ValDt/Dt") {
    e.valueDate = text;
  } else if (path == u"AcctSvcrRef") {
    e.acctSvcrRef = text;
  } else if (path == u"NtryRef") {
    e.ntryRef = text;
  } else if (path == u"AddtlNtryInf") {
    e.addtlNtryInf = text;
  } else if (path == u"BkTxCd/Prtry/Cd") {
    e.proprietaryCode = text;
  } else if (path == u"BkTxCd/Domn/Fmly/Cd") {
    e.familyCode = text;
  } else if (path == u"BkTxCd/Domn/Fmly/SubFmlyCd") {
    e.subFamilyCode = text;
  } else if (path.startsWith(tx)) {
    const QStringView rest = path.mid(tx.size());
    if (rest == u"RmtInf/Ustrd") {
      if (!text.isEmpty()) e.unstructured << text;
    } else if (rest == u"AddtlTxInf") {
      if (!text.isEmpty()) e.addtlTxInf << text;
    } else if (rest == u"RltdPties/Dbtr/Nm" || rest == u"RltdPties/Dbtr/Pty/Nm") {
      if (e.debtor.isEmpty()) e.debtor = text;
    } else if (rest == u"RltdPties/Cdtr/Nm" || rest == u"RltdPties/Cdtr/Pty/Nm") {
      if (e.creditor.isEmpty()) e.creditor = text;
    } else if (rest == u"Refs/AcctSvcrRef") {
      if (e.txAcctSvcrRef.isEmpty()) e.txAcctSvcrRef = text;
    } else if (rest == u"Refs/EndToEndId") {
      if (e.endToEndId.isEmpty() && !text.isEmpty() && text.compare(u"NOTPROVIDED", Qt::CaseInsensitive) != 0) {
        e.endToEndId = text;
      }
    }
  }
}

[[noreturn]] void badEntry(int number, const QString& english, const QString& italian) {
  throw StatementError(StatementError::Kind::BadEntry, QStringLiteral("entry %1: %2").arg(number).arg(english),
                       QStringLiteral("Movimento %1 dell'estratto: %2.").arg(number).arg(italian));
}

StatementEntry finish(const RawEntry& r, int number) {
  StatementEntry e;
  const QString status = r.status.trimmed().toUpper();
  const bool booked = status.isEmpty() || status == u"BOOK";
  e.currency = r.currency.trimmed().toUpper();
  if (e.currency == u"EUR") e.currency = QStringLiteral("EUR");  // one text shared by every entry

  const QString dateText = !r.bookingDate.isEmpty() ? r.bookingDate : r.bookingDateTime.left(10);
  const BankDate d = parseBankDate(dateText);
  if (d.status == BankDate::Status::Ok) e.date = d.date;
  bool subCent = false;
  const auto amount = parseXmlAmount(r.amount, &subCent);
  const bool credit = r.creditDebit == u"CRDT";
  const bool debit = r.creditDebit == u"DBIT";
  if (amount) e.cents = debit ? -*amount : *amount;

  QStringList text = r.unstructured;
  if (text.isEmpty()) text = r.addtlTxInf;
  if (text.isEmpty() && !r.addtlNtryInf.isEmpty()) text << r.addtlNtryInf;
  e.description = collapseBlanks(text.join(u' '));
  e.counterparty = collapseBlanks(credit ? r.debtor : r.creditor);
  for (const QString* ref : {&r.acctSvcrRef, &r.ntryRef, &r.txAcctSvcrRef, &r.endToEndId}) {
    if (!ref->trimmed().isEmpty()) {
      e.reference = collapseBlanks(*ref);
      break;
    }
  }
  // A bare code would reach the movement's Pagamento as it is: the ISO code
  // says it in Italian instead, or nothing is said.
  e.kind = isWording(r.proprietaryCode) ? collapseBlanks(r.proprietaryCode)
                                        : kindFromDomainCodes(r.familyCode, r.subFamilyCode);

  if (!booked) {
    // A pending entry has no booking date yet: its value date tells the user which one it is.
    if (!e.date.isValid()) e.date = parseBankDate(r.valueDate).date;
    e.skip = SkipReason::NotBooked;
    e.skipDetail = status;
    return e;
  }
  if (!r.amountSeen) badEntry(number, QStringLiteral("no amount"), QStringLiteral("manca l'importo"));
  if (!amount) {
    badEntry(number, QStringLiteral("bad amount \"%1\"").arg(r.amount),
             QStringLiteral("l'importo \"%1\" non si può leggere").arg(r.amount));
  }
  if (!credit && !debit) {
    badEntry(number, QStringLiteral("no credit or debit indicator (\"%1\")").arg(r.creditDebit),
             QStringLiteral("non dice se è un accredito o un addebito"));
  }
  if (d.status != BankDate::Status::Ok) {
    badEntry(number, QStringLiteral("bad booking date \"%1\"").arg(dateText),
             QStringLiteral("la data contabile \"%1\" non è valida").arg(dateText));
  }
  skipByCurrencyAndAmount(e, subCent);
  return e;
}

bool isBankToCustomerDocument(QStringView name) {
  return name == u"BkToCstmrStmt" || name == u"BkToCstmrAcctRpt" || name == u"BkToCstmrDbtCdtNtfctn";
}

// One statement being read: the XML reader, fed in pieces, and the entry
// being read with the path of the element inside it.
class CamtScan {
 public:
  CamtScan(const QByteArray& bytes, const ProgressFn& progress) : bytes_(bytes), progress_(progress) {
    st_.format = StatementFormat::Camt;
    feed();
  }

  Statement run() {
    for (;;) {
      const QXmlStreamReader::TokenType token = xml_.readNext();
      if (xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError && feed()) continue;
      if (xml_.atEnd()) break;
      switch (token) {
        case QXmlStreamReader::StartElement:
          startElement();
          break;
        case QXmlStreamReader::Characters:
          if (entryDepth_ > 0) text_ += xml_.text();
          break;
        case QXmlStreamReader::EndElement:
          endElement();
          break;
        default:
          break;
      }
    }
    if (xml_.hasError()) throwMalformed();
    reportProgress(progress_, bytes_.size(), bytes_.size());
    return std::move(st_);
  }

 private:
  // Fed in pieces: given the whole file at once, the reader decodes it whole
  // into text of twice its size.
  bool feed() {
    if (fed_ >= bytes_.size()) return false;
    const qsizetype n = std::min<qsizetype>(kFeedBytes, bytes_.size() - fed_);
    xml_.addData(bytes_.mid(fed_, n));
    fed_ += n;
    return true;
  }

  static void checkDocument(qsizetype depth, QStringView name) {
    if (depth == 1 && name != u"Document") {
      throw StatementError(StatementError::Kind::UnknownFormat,
                           QStringLiteral("not an ISO 20022 document (root element %1)").arg(name),
                           QStringLiteral("Il file non è un estratto conto CAMT.053."));
    }
    if (depth == 2 && !isBankToCustomerDocument(name)) {
      throw StatementError(StatementError::Kind::UnknownFormat,
                           QStringLiteral("an ISO 20022 %1 message, not a bank statement").arg(name),
                           QStringLiteral("Il file è un messaggio ISO 20022 %1, non un estratto conto.").arg(name));
    }
  }

  void startElement() {
    const QStringView name = xml_.name();
    ++depth_;
    text_.clear();
    checkDocument(depth_, name);
    if (entryDepth_ < 0) {
      if (name == u"Ntry" && depth_ == 4) {
        entryDepth_ = depth_;
        raw_ = RawEntry{};
        path_.clear();
        pathLengths_.clear();
      }
      return;
    }
    pathLengths_.push_back(path_.size());
    if (!path_.isEmpty()) path_ += u'/';
    path_ += name;
    if (depth_ == entryDepth_ + 1 && name == u"Amt") {
      raw_.currency = xml_.attributes().value(QLatin1String("Ccy")).toString();
    }
  }

  void endElement() {
    if (entryDepth_ > 0) {
      if (depth_ == entryDepth_) {
        st_.entries.push_back(finish(raw_, int(st_.entries.size()) + 1));
        entryDepth_ = -1;
        if (st_.entries.size() % 256 == 0) reportProgress(progress_, fed_, bytes_.size());
      } else {
        take(raw_, path_, text_.trimmed());
        path_.truncate(pathLengths_.back());
        pathLengths_.pop_back();
      }
    }
    text_.clear();
    --depth_;
  }

  [[noreturn]] void throwMalformed() const {
    const bool truncated = xml_.error() == QXmlStreamReader::PrematureEndOfDocumentError;
    throw StatementError(
        StatementError::Kind::Malformed,
        QStringLiteral("damaged XML at line %1, column %2: %3")
            .arg(xml_.lineNumber())
            .arg(xml_.columnNumber())
            .arg(xml_.errorString()),
        truncated ? QStringLiteral("Il file XML è incompleto (finisce alla riga %1).").arg(xml_.lineNumber())
                  : QStringLiteral("Il file XML è danneggiato alla riga %1, colonna %2.")
                        .arg(xml_.lineNumber())
                        .arg(xml_.columnNumber()));
  }

  const QByteArray& bytes_;
  const ProgressFn& progress_;
  Statement st_;
  QXmlStreamReader xml_;
  qsizetype fed_ = 0;
  qsizetype depth_ = 0;
  qsizetype entryDepth_ = -1;
  // The path of the element inside the entry ("NtryDtls/TxDtls/RmtInf/Ustrd"),
  // kept as one text grown and cut as elements open and close.
  QString path_;
  std::vector<qsizetype> pathLengths_;
  RawEntry raw_;
  QString text_;
};

}  // namespace

Statement readCamt(const QByteArray& bytes, const ProgressFn& progress) { return CamtScan(bytes, progress).run(); }

}  // namespace fondaro
