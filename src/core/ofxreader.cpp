// OFX statements (1.x SGML and 2.x XML) through libofx. Its C interface stays
// in this file: the rest of the program sees statement entries only.
#include <libofx/libofx.h>

#include <QDateTime>
#include <cmath>
#include <mutex>

#include "core/cp1252.h"
#include "core/filepath.h"
#include "core/statement.h"

namespace fondaro {
namespace {

QString libText(const char* s) {
  const QByteArrayView v(s);
  return v.isValidUtf8() ? QString::fromUtf8(v) : cp1252::decode(v.data(), v.size());
}

// The OFX transaction types in the words of an Italian bank; the generic
// credit, debit and "other" tell nothing and give no kind.
QString kindOf(TransactionType t, qint64 cents) {
  switch (t) {
    case OFX_XFER:
    case OFX_DIRECTDEP:
      return QStringLiteral("Bonifico");
    case OFX_DIRECTDEBIT:
      return QStringLiteral("Addebito diretto");
    case OFX_POS:
      return QStringLiteral("Pagamento con carta");
    case OFX_ATM:
      return cents < 0 ? QStringLiteral("Prelievo") : QStringLiteral("Versamento");
    case OFX_CASH:
      return QStringLiteral("Prelievo");
    case OFX_FEE:
    case OFX_SRVCHG:
      return QStringLiteral("Commissioni");
    case OFX_INT:
      return QStringLiteral("Interessi");
    case OFX_DIV:
      return QStringLiteral("Dividendi");
    case OFX_DEP:
      return QStringLiteral("Versamento");
    case OFX_CHECK:
      return QStringLiteral("Assegno");
    case OFX_PAYMENT:
      return QStringLiteral("Pagamento");
    case OFX_REPEATPMT:
      return QStringLiteral("Ordine permanente");
    case OFX_CREDIT:
    case OFX_DEBIT:
    case OFX_OTHER:
      break;
  }
  return {};
}

struct Collected {
  Statement statement;
  QString error;  // English, for an entry that cannot be read
  QString errorItalian;
};

void fail(Collected& c, int number, const QString& english, const QString& italian) {
  if (!c.error.isEmpty()) return;
  c.error = QStringLiteral("entry %1: %2").arg(number).arg(english);
  c.errorItalian = QStringLiteral("Movimento %1 dell'estratto: %2.").arg(number).arg(italian);
}

int onTransaction(const OfxTransactionData d, void* data) {
  auto& c = *static_cast<Collected*>(data);
  StatementEntry e;
  const int number = int(c.statement.entries.size()) + 1;
  if (!d.amount_valid || !std::isfinite(d.amount) || std::fabs(d.amount) >= 1e12) {
    fail(c, number, QStringLiteral("no readable amount"), QStringLiteral("l'importo non si può leggere"));
  } else {
    // TRNAMT is a decimal text; libofx hands it over as a double, which holds
    // every amount of whole cents of up to 12 digits of euros closely enough
    // to round back to the exact cents.
    const double scaled = d.amount * 100.0;
    e.cents = std::llround(scaled);
    if (std::fabs(scaled - double(e.cents)) > 1e-6 + std::fabs(scaled) * 1e-15) e.skip = SkipReason::SubCent;
  }
  if (!d.date_posted_valid) {
    fail(c, number, QStringLiteral("no posting date"), QStringLiteral("manca la data contabile"));
  } else {
    // libofx gives the moment in UTC; a date without a time stands for
    // the middle of the bank's day, so the UTC date is the bank's date.
    e.date = QDateTime::fromSecsSinceEpoch(qint64(d.date_posted), Qt::UTC).date();
  }
  const QString name = d.name_valid ? collapseBlanks(libText(d.name)) : QString();
  const QString memo = d.memo_valid ? collapseBlanks(libText(d.memo)) : QString();
  e.description = name.isEmpty() || name == memo ? memo
                  : memo.isEmpty()               ? name
                                                 : name + QStringLiteral(" - ") + memo;
  e.counterparty = name;
  e.reference = d.fi_id_valid ? collapseBlanks(libText(d.fi_id)) : QString();
  e.kind = d.transactiontype_valid ? kindOf(d.transactiontype, e.cents) : QString();

  if (d.currency_valid) {
    e.currency = libText(d.currency).trimmed().toUpper();
  } else if (d.amounts_are_foreign_currency_valid && !d.amounts_are_foreign_currency) {
    // A CURRENCY aggregate: the amounts are in a currency of their own, which
    // libofx does not pass on. It is not taken for euro.
    e.currency.clear();
  } else if (d.account_ptr && d.account_ptr->currency_valid) {
    e.currency = libText(d.account_ptr->currency).trimmed().toUpper();
  } else {
    e.currency.clear();
  }
  if (e.skip == SkipReason::None) skipByCurrencyAndAmount(e, false);
  c.statement.entries.push_back(std::move(e));
  return 0;
}

// libofx keeps its settings in globals and is not safe to run twice at once.
std::mutex& libofxMutex() {
  static std::mutex m;
  return m;
}

}  // namespace

Statement readOfxFile(const QByteArray& nativePath) {
  std::lock_guard lock(libofxMutex());
  for (int* flag : {&ofx_PARSER_msg, &ofx_DEBUG_msg, &ofx_DEBUG1_msg, &ofx_DEBUG2_msg, &ofx_DEBUG3_msg,
                    &ofx_DEBUG4_msg, &ofx_DEBUG5_msg, &ofx_STATUS_msg, &ofx_INFO_msg, &ofx_WARNING_msg,
                    &ofx_ERROR_msg}) {
    *flag = 0;
  }
  Collected c;
  c.statement.format = StatementFormat::Ofx;
  LibofxContextPtr ctx = libofx_get_new_context();
  ofx_set_transaction_cb(ctx, onTransaction, &c);
  const int rc = libofx_proc_file(ctx, nativePath.constData(), OFX);
  libofx_free_context(ctx);
  if (rc != 0) {
    throw StatementError(StatementError::Kind::Malformed,
                         QStringLiteral("%1: damaged or incomplete OFX file").arg(displayPath(nativePath)),
                         QStringLiteral("Il file OFX è danneggiato o incompleto."));
  }
  if (!c.error.isEmpty()) throw StatementError(StatementError::Kind::BadEntry, c.error, c.errorItalian);
  return std::move(c.statement);
}

}  // namespace fondaro
