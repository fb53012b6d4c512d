// SPDX-License-Identifier: GPL-3.0-or-later
// OFX statements (1.x SGML and 2.x XML) through libofx. Its C interface stays
// in this file: the rest of the program sees statement entries only.
//
// The file is read three ways, each for what it does best:
// - an outline of its tags, in one pass, before libofx sees it: a file whose
//   aggregates are not closed and properly nested is damaged and refused at
//   once (the SGML parser under libofx "recovers" from thousands of unclosed
//   aggregates or unknown elements by nesting them, which takes it minutes to
//   hours); the outline also counts the transactions and keeps each booking
//   date as written;
// - libofx, in a child process that the user can stop and that a time limit
//   stops: its running time grows with the square of the number of
//   transactions even on a sound statement (about 4 s for 32 000 here);
// - the entries put together from both.
#include "core/ofxreader.h"

#include <fcntl.h>
#include <libofx/libofx.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/cp1252.h"
#include "core/filepath.h"

namespace fondaro {
namespace {

QString libText(QByteArrayView v) {
  return v.isValidUtf8() ? QString::fromUtf8(v) : cp1252::decode(v.data(), v.size());
}

[[noreturn]] void throwDamaged() {
  throw StatementError(StatementError::Kind::Malformed,
                       QStringLiteral("damaged or incomplete OFX file"),
                       QStringLiteral("Il file OFX è danneggiato o incompleto."));
}

[[noreturn]] void throwUnreadable(const QByteArray& nativePath) {
  throw StatementError(StatementError::Kind::Unreadable, QStringLiteral("cannot read"),
                       QStringLiteral("Il file %1 non si può leggere.").arg(displayPath(nativePath)));
}

// ---- The outline of the file's tags ------------------------------------------

struct OfxTag {
  QByteArray name;  // upper case
  bool closing = false;
  bool empty = false;   // <NAME/>
  QByteArrayView data;  // the text after the tag up to the next tag, trimmed
};

bool isNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isNameChar(char c) {
  return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-' || c == ':';
}

// The tags of an SGML or XML text in order, past comments, declarations,
// processing instructions and character data sections; a '<' that starts no
// name is text.
class TagReader {
 public:
  explicit TagReader(QByteArrayView text) : t_(text) {}
  bool next(OfxTag& tag);  // false at the end
  bool broken() const { return broken_; }  // the text ends inside a tag or comment

 private:
  bool skipPast(QByteArrayView end);
  QByteArrayView t_;
  qsizetype pos_ = 0;
  bool broken_ = false;
};

bool TagReader::skipPast(QByteArrayView end) {
  const qsizetype at = t_.indexOf(end, pos_);
  if (at < 0) {
    broken_ = true;
    pos_ = t_.size();
    return false;
  }
  pos_ = at + end.size();
  return true;
}

bool TagReader::next(OfxTag& tag) {
  while (true) {
    const qsizetype lt = t_.indexOf('<', pos_);
    if (lt < 0) return false;
    pos_ = lt + 1;
    const QByteArrayView rest = t_.sliced(pos_);
    if (rest.startsWith("!--")) {
      if (!skipPast("-->")) return false;
      continue;
    }
    if (rest.startsWith("![CDATA[") || rest.startsWith('!') || rest.startsWith('?')) {
      if (!skipPast(rest.startsWith("![CDATA[") ? "]]>" : rest.startsWith('?') ? "?>" : ">")) return false;
      continue;
    }
    tag.closing = rest.startsWith('/');
    const qsizetype nameStart = pos_ + (tag.closing ? 1 : 0);
    qsizetype i = nameStart;
    while (i < t_.size() && isNameChar(t_[i])) ++i;
    if (i == nameStart || !isNameStart(t_[nameStart])) continue;
    tag.name = t_.sliced(nameStart, i - nameStart).toByteArray().toUpper();
    pos_ = i;
    if (!skipPast(">")) return false;
    tag.empty = t_[pos_ - 2] == '/';
    const qsizetype nextTag = t_.indexOf('<', pos_);
    tag.data = t_.sliced(pos_, (nextTag < 0 ? t_.size() : nextTag) - pos_).trimmed();
    return true;
  }
}

// The aggregates that hold a statement's transactions and the transaction
// itself: each must be closed, and never opened inside one of its own name.
bool isAggregate(QByteArrayView name) {
  static constexpr std::array<const char*, 21> names = {
      "OFX",          "SIGNONMSGSRSV1", "SONRS",        "STATUS",     "BANKMSGSRSV1", "CREDITCARDMSGSRSV1",
      "STMTTRNRS",    "CCSTMTTRNRS",    "STMTRS",       "CCSTMTRS",   "BANKACCTFROM", "CCACCTFROM",
      "BANKTRANLIST", "STMTTRN",        "LEDGERBAL",    "AVAILBAL",   "INVSTMTMSGSRSV1", "INVSTMTTRNRS",
      "INVSTMTRS",    "INVACCTFROM",    "INVTRANLIST"};
  for (const char* n : names) {
    if (name == n) return true;
  }
  return false;
}

// Real statements nest about ten deep and hold a dozen elements in an
// aggregate other than a list (whose children are aggregates): far above
// both, the file is not a statement, and the parser under libofx would take
// a time growing with the square of the count.
constexpr qsizetype kMaxDepth = 256;
constexpr int kMaxElementsInOne = 1000;

struct OfxOutline {
  std::vector<QByteArray> posted;  // DTPOSTED of each STMTTRN as written, in order; empty when absent
};

class OutlineReader {
 public:
  std::optional<OfxOutline> read(QByteArrayView text);

 private:
  struct Open {
    QByteArray name;  // empty for the document itself
    bool aggregate = false;
    int elements = 0;  // elements other than aggregates directly inside
  };
  bool onStart(const OfxTag& tag);
  bool onEnd(const QByteArray& name);
  bool addElements(int count);

  std::vector<Open> open_;
  OfxOutline out_;
  bool inTransaction_ = false;
  bool dated_ = false;
  bool ofxClosed_ = false;
};

std::optional<OfxOutline> OutlineReader::read(QByteArrayView text) {
  open_ = {Open{}};
  TagReader reader(text);
  OfxTag tag;
  while (reader.next(tag)) {
    const bool sound = tag.closing ? onEnd(tag.name) : onStart(tag);
    if (!sound) return std::nullopt;
  }
  if (reader.broken() || !ofxClosed_) return std::nullopt;
  for (const Open& o : open_) {
    if (o.aggregate) return std::nullopt;
  }
  return std::move(out_);
}

bool OutlineReader::addElements(int count) {
  open_.back().elements += count;
  return open_.back().elements <= kMaxElementsInOne;
}

bool OutlineReader::onStart(const OfxTag& tag) {
  const bool aggregate = isAggregate(tag.name);
  if (!aggregate && (tag.empty || !tag.data.isEmpty())) {
    // An element with its value; in OFX 1 its end tag may be left out.
    if (tag.name == "DTPOSTED" && inTransaction_ && !dated_) {
      out_.posted.back() = tag.data.toByteArray();
      dated_ = true;
    }
    return addElements(1);
  }
  if (aggregate) {
    for (const Open& o : open_) {
      if (o.name == tag.name) return false;
    }
  }
  if (qsizetype(open_.size()) > kMaxDepth) return false;
  open_.push_back({tag.name, aggregate});
  if (tag.name == "STMTTRN") {
    out_.posted.emplace_back();
    inTransaction_ = true;
    dated_ = false;
  }
  return !tag.empty || onEnd(tag.name);
}

bool OutlineReader::onEnd(const QByteArray& name) {
  qsizetype at = qsizetype(open_.size()) - 1;
  while (at > 0 && open_[at].name != name) --at;
  // The end of an element that had its value, or a stray end.
  if (at == 0) return !isAggregate(name);
  int elements = 0;
  for (qsizetype i = at; i < qsizetype(open_.size()); ++i) {
    // An aggregate left open inside the one that ends.
    if (i > at && open_[i].aggregate) return false;
    if (!open_[i].aggregate) ++elements;
  }
  open_.resize(at);
  if (name == "STMTTRN") inTransaction_ = false;
  if (name == "OFX") ofxClosed_ = true;
  return addElements(elements);
}

// ---- libofx in a child process -----------------------------------------------

enum RawFlag : quint32 {
  AmountValid = 1 << 0,
  DateValid = 1 << 1,
  NameValid = 1 << 2,
  MemoValid = 1 << 3,
  FiIdValid = 1 << 4,
  TypeValid = 1 << 5,
  CurrencyValid = 1 << 6,
  ForeignValid = 1 << 7,
  Foreign = 1 << 8,
  AccountCurrencyValid = 1 << 9,
  Investment = 1 << 10,
};

// What libofx gives of a transaction, as it comes through the pipe.
struct RawTransaction {
  quint32 flags = 0;
  qint32 type = 0;
  double amount = 0;
  qint64 datePosted = 0;
  QByteArray name, memo, fiId, currency, accountCurrency;
  bool has(RawFlag f) const { return (flags & f) != 0; }
};

struct WireHead {
  quint32 flags;
  qint32 type;
  double amount;
  qint64 datePosted;
};

struct ChildSink {
  int fd = -1;
  std::string buffer;
  bool ok = true;
};

void appendPod(std::string& out, const void* p, size_t n) { out.append(static_cast<const char*>(p), n); }

void appendText(std::string& out, const char* s) {
  const quint32 n = quint32(strlen(s));
  appendPod(out, &n, sizeof n);
  out.append(s, n);
}

void flush(ChildSink& sink) {
  size_t done = 0;
  while (sink.ok && done < sink.buffer.size()) {
    const ssize_t n = ::write(sink.fd, sink.buffer.data() + done, sink.buffer.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) sink.ok = false;
    if (n > 0) done += size_t(n);
  }
  sink.buffer.clear();
}

int sendTransaction(const OfxTransactionData d, void* data) {
  auto& sink = *static_cast<ChildSink*>(data);
  const bool accountCurrency = d.account_ptr && d.account_ptr->currency_valid;
  const WireHead head{
      (d.amount_valid ? AmountValid : 0u) | (d.date_posted_valid ? DateValid : 0u) |
          (d.name_valid ? NameValid : 0u) | (d.memo_valid ? MemoValid : 0u) | (d.fi_id_valid ? FiIdValid : 0u) |
          (d.transactiontype_valid ? TypeValid : 0u) | (d.currency_valid ? CurrencyValid : 0u) |
          (d.amounts_are_foreign_currency_valid ? ForeignValid : 0u) |
          (d.amounts_are_foreign_currency ? Foreign : 0u) | (accountCurrency ? AccountCurrencyValid : 0u) |
          (d.invtransactiontype_valid ? Investment : 0u),
      qint32(d.transactiontype), d.amount, qint64(d.date_posted)};
  sink.buffer.push_back('T');
  appendPod(sink.buffer, &head, sizeof head);
  for (const char* s : {d.name_valid ? d.name : "", d.memo_valid ? d.memo : "", d.fi_id_valid ? d.fi_id : "",
                        d.currency_valid ? d.currency : "", accountCurrency ? d.account_ptr->currency : ""}) {
    appendText(sink.buffer, s);
  }
  if (sink.buffer.size() >= 64 * 1024) flush(sink);
  return 0;
}

// The child: libofx on the file, every transaction down the pipe, then its
// answer. It never returns into the program. libofx works on a copy of the
// file in the temporary folder, which `tempDir` (the parent removes it) keeps
// from being left behind when the child is stopped.
[[noreturn]] void runLibofxChild(const QByteArray& nativePath, const QByteArray& tempDir, int fd) {
  ::setenv("TMPDIR", tempDir.constData(), 1);
  ::setenv("TEMP", tempDir.constData(), 1);
  for (int* flag : {&ofx_PARSER_msg, &ofx_DEBUG_msg, &ofx_DEBUG1_msg, &ofx_DEBUG2_msg, &ofx_DEBUG3_msg,
                    &ofx_DEBUG4_msg, &ofx_DEBUG5_msg, &ofx_STATUS_msg, &ofx_INFO_msg, &ofx_WARNING_msg,
                    &ofx_ERROR_msg}) {
    *flag = 0;
  }
  ChildSink sink;
  sink.fd = fd;
  LibofxContextPtr ctx = libofx_get_new_context();
  ofx_set_transaction_cb(ctx, sendTransaction, &sink);
  const qint32 rc = libofx_proc_file(ctx, nativePath.constData(), OFX);
  sink.buffer.push_back('E');
  appendPod(sink.buffer, &rc, sizeof rc);
  flush(sink);
  _exit(sink.ok ? 0 : 1);
}

struct LibofxAnswer {
  std::vector<RawTransaction> transactions;
  bool complete = false;  // the child said it had finished
  int rc = -1;
};

class PipeDecoder {
 public:
  explicit PipeDecoder(QByteArrayView bytes) : b_(bytes) {}
  LibofxAnswer decode();

 private:
  bool take(void* p, size_t n);
  bool takeText(QByteArray& text);
  QByteArrayView b_;
  qsizetype pos_ = 0;
};

bool PipeDecoder::take(void* p, size_t n) {
  if (b_.size() - pos_ < qsizetype(n)) return false;
  memcpy(p, b_.data() + pos_, n);
  pos_ += qsizetype(n);
  return true;
}

bool PipeDecoder::takeText(QByteArray& text) {
  quint32 n = 0;
  if (!take(&n, sizeof n) || b_.size() - pos_ < qsizetype(n)) return false;
  text = b_.sliced(pos_, n).toByteArray();
  pos_ += n;
  return true;
}

LibofxAnswer PipeDecoder::decode() {
  LibofxAnswer a;
  char marker = 0;
  while (take(&marker, 1)) {
    if (marker == 'E') {
      qint32 rc = -1;
      a.complete = take(&rc, sizeof rc) && pos_ == b_.size();
      a.rc = rc;
      return a;
    }
    WireHead head{};
    RawTransaction t;
    if (marker != 'T' || !take(&head, sizeof head)) return a;
    for (QByteArray* text : {&t.name, &t.memo, &t.fiId, &t.currency, &t.accountCurrency}) {
      if (!takeText(*text)) return a;
    }
    t.flags = head.flags;
    t.type = head.type;
    t.amount = head.amount;
    t.datePosted = head.datePosted;
    a.transactions.push_back(std::move(t));
  }
  return a;
}

// Kills and reaps the child unless it was reaped.
struct ChildProcess {
  pid_t pid = -1;
  int fd = -1;
  ~ChildProcess() {
    if (pid > 0) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
      }
    }
    if (fd >= 0) ::close(fd);
  }
  // The child's exit status; -1 when it did not end by itself.
  int reap() {
    int status = 0;
    pid_t r;
    while ((r = ::waitpid(pid, &status, 0)) < 0 && errno == EINTR) {
    }
    pid = -1;
    return r > 0 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

// Linear in the size and far above what libofx needs: a statement of 32 000
// transactions (4 MB) takes it 4 s here, 30 s on a loaded machine, against a
// limit of two and a half minutes; the time it needs grows with the square of the count,
// so only statements of several hundred thousand transactions reach it.
std::chrono::milliseconds libofxTimeLimit(qint64 fileBytes) {
  return std::chrono::milliseconds(30000 + fileBytes * 30000 / (1 << 20));
}

[[noreturn]] void throwTooLong(std::chrono::milliseconds limit) {
  throw StatementError(
      StatementError::Kind::Malformed,
      QStringLiteral("the OFX reader gave no answer within %1 s").arg(limit.count() / 1000),
      QStringLiteral("Il file OFX non si è potuto leggere in un tempo ragionevole."));
}

// libofx's answer on the file, from a child process; the progress is asked
// now and then whether to stop.
LibofxAnswer askLibofx(const QByteArray& nativePath, qint64 fileBytes, qint64 expected, const ProgressFn& progress) {
  const QTemporaryDir tempDir;
  const QByteArray tempPath = QFile::encodeName(tempDir.path());
  int fds[2];
  if (!tempDir.isValid() || ::pipe2(fds, O_CLOEXEC) != 0) throwUnreadable(nativePath);
  ChildProcess child;
  child.fd = fds[0];
  child.pid = ::fork();
  if (child.pid == 0) runLibofxChild(nativePath, tempPath, fds[1]);
  ::close(fds[1]);
  if (child.pid < 0) throwUnreadable(nativePath);
  const auto limit = libofxTimeLimit(fileBytes);
  const auto deadline = std::chrono::steady_clock::now() + limit;
  QByteArray received;
  while (true) {
    reportProgress(progress, 0, expected);
    if (std::chrono::steady_clock::now() > deadline) throwTooLong(limit);
    pollfd p{child.fd, POLLIN, 0};
    if (::poll(&p, 1, 100) <= 0) continue;
    char chunk[64 * 1024];
    const ssize_t n = ::read(child.fd, chunk, sizeof chunk);
    if (n == 0) break;
    if (n > 0) received.append(chunk, n);
    if (n < 0 && errno != EINTR && errno != EAGAIN) throwDamaged();
  }
  if (child.reap() != 0) throwDamaged();
  return PipeDecoder(received).decode();
}

// ---- The entries ---------------------------------------------------------------

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

// The booking date is the day the file writes, in the bank's own time: the
// first eight digits of DTPOSTED, whatever time and offset follow them.
void setPostedDate(Collected& c, int number, StatementEntry& e, const QByteArray& posted) {
  if (posted.isEmpty()) {
    fail(c, number, QStringLiteral("no posting date"), QStringLiteral("manca la data contabile"));
    return;
  }
  const QByteArrayView digits = QByteArrayView(posted).first(std::min<qsizetype>(8, posted.size()));
  bool sound = digits.size() == 8 &&
               std::all_of(digits.begin(), digits.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
  if (sound) {
    e.date = QDate(digits.first(4).toInt(), digits.sliced(4, 2).toInt(), digits.sliced(6, 2).toInt());
    sound = e.date.isValid();
  }
  if (!sound) {
    fail(c, number, QStringLiteral("posting date \"%1\" is not a day").arg(QString::fromLatin1(posted)),
         QStringLiteral("la data contabile \"%1\" non è una data valida").arg(QString::fromLatin1(posted)));
  }
}

void setAmount(Collected& c, int number, StatementEntry& e, const RawTransaction& d) {
  if (!d.has(AmountValid) || !std::isfinite(d.amount) || std::fabs(d.amount) >= 1e12) {
    fail(c, number, QStringLiteral("no readable amount"), QStringLiteral("l'importo non si può leggere"));
    return;
  }
  // TRNAMT is a decimal text; libofx hands it over as a double, which holds
  // every amount of whole cents of up to 12 digits of euros closely enough
  // to round back to the exact cents.
  const double scaled = d.amount * 100.0;
  e.cents = std::llround(scaled);
  if (std::fabs(scaled - double(e.cents)) > 1e-6 + std::fabs(scaled) * 1e-15) e.skip = SkipReason::SubCent;
}

QString currencyOf(const RawTransaction& d) {
  if (d.has(CurrencyValid)) return libText(d.currency).trimmed().toUpper();
  // A CURRENCY aggregate: the amounts are in a currency of their own, which
  // libofx does not pass on. It is not taken for euro.
  if (d.has(ForeignValid) && !d.has(Foreign)) return {};
  if (d.has(AccountCurrencyValid)) return libText(d.accountCurrency).trimmed().toUpper();
  return {};
}

// `posted` is the transaction's DTPOSTED as written, for a bank transaction.
void addEntry(Collected& c, const RawTransaction& d, const std::optional<QByteArray>& posted) {
  StatementEntry e;
  const int number = int(c.statement.entries.size()) + 1;
  setAmount(c, number, e, d);
  if (posted) {
    setPostedDate(c, number, e, *posted);
  } else if (!d.has(DateValid)) {
    fail(c, number, QStringLiteral("no posting date"), QStringLiteral("manca la data contabile"));
  } else {
    // An investment transaction, outside the outline: libofx's moment in UTC.
    e.date = QDateTime::fromSecsSinceEpoch(d.datePosted, Qt::UTC).date();
  }
  const QString name = d.has(NameValid) ? collapseBlanks(libText(d.name)) : QString();
  const QString memo = d.has(MemoValid) ? collapseBlanks(libText(d.memo)) : QString();
  e.description = name.isEmpty() || name == memo ? memo
                  : memo.isEmpty()               ? name
                                                 : name + QStringLiteral(" - ") + memo;
  e.counterparty = name;
  e.reference = d.has(FiIdValid) ? collapseBlanks(libText(d.fiId)) : QString();
  e.kind = d.has(TypeValid) ? kindOf(TransactionType(d.type), e.cents) : QString();
  e.currency = currencyOf(d);
  if (e.skip == SkipReason::None) skipByCurrencyAndAmount(e, false);
  c.statement.entries.push_back(std::move(e));
}

// libofx answers non-zero for any departure from its document type (a list
// per transaction, a missing balance) even when it delivered every
// transaction: a statement is whole when its outline is sound and every
// STMTTRN in it came back.
Statement entriesOf(const OfxOutline& outline, const LibofxAnswer& answer) {
  if (!answer.complete) throwDamaged();
  qsizetype bank = 0;
  for (const RawTransaction& t : answer.transactions) bank += t.has(Investment) ? 0 : 1;
  if (bank != qsizetype(outline.posted.size())) throwDamaged();
  Collected c;
  c.statement.format = StatementFormat::Ofx;
  qsizetype next = 0;
  for (const RawTransaction& t : answer.transactions) {
    addEntry(c, t, t.has(Investment) ? std::nullopt : std::optional<QByteArray>(outline.posted[next++]));
  }
  if (!c.error.isEmpty()) throw StatementError(StatementError::Kind::BadEntry, c.error, c.errorItalian);
  return std::move(c.statement);
}

// The ceiling of readStatementFile.
constexpr qint64 kMaxOfxBytes = qint64(256) << 20;

}  // namespace

Statement readOfxFile(const QByteArray& nativePath, const ProgressFn& progress) {
  const SmallFile file = readSmallFile(nativePath, kMaxOfxBytes);
  if (file.status != SmallFile::Status::Ok) throwUnreadable(nativePath);
  const std::optional<OfxOutline> outline = OutlineReader().read(file.bytes);
  if (!outline) throwDamaged();
  const LibofxAnswer answer = askLibofx(nativePath, file.bytes.size(), qint64(outline->posted.size()), progress);
  return entriesOf(*outline, answer);
}

}  // namespace fondaro
