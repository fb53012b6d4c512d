// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/paymentmatch.h"

#include <QHash>
#include <algorithm>
#include <tuple>

#include "core/records.h"
#include "core/statement.h"
#include "core/textrules.h"

namespace fondaro::matching {
namespace {

constexpr int kTextCapacity = 250;  // Ricevuta and Note

QByteArrayView trimmedField(const uint8_t* record, mov::Field f) {
  const FieldInfo& fi = TMovimento::fields()[f];
  const uint8_t* slot = record + fi.offset;
  const char* b = reinterpret_cast<const char*>(slot + 1);
  int from = 0, to = storedLength(slot, fi.capacity);
  while (from < to && uint8_t(b[from]) <= 0x20) ++from;
  while (to > from && uint8_t(b[to - 1]) <= 0x20) --to;
  return QByteArrayView(b + from, to - from);
}

bool isYes(QByteArrayView flag) { return flag == QByteArrayView("S\xEC", 2); }

// An Importo as the program writes it ("1250,00"; "1250" and "1250,5" too).
std::optional<qint64> storedCents(QByteArrayView text) {
  const qsizetype comma = text.indexOf(',');
  const QByteArrayView whole = comma < 0 ? text : text.first(comma);
  const QByteArrayView decimals = comma < 0 ? QByteArrayView() : text.sliced(comma + 1);
  if (decimals.size() > 2 || (comma >= 0 && decimals.isEmpty())) return std::nullopt;
  const auto euros = digitsValue(whole, qint64(1) << 40);
  if (!euros || *euros > (qint64(1) << 40)) return std::nullopt;
  qint64 cents = 0;
  if (!decimals.isEmpty()) {
    const auto d = digitsValue(decimals, 99);
    if (!d) return std::nullopt;
    cents = decimals.size() == 1 ? *d * 10 : *d;
  }
  return *euros * 100 + cents;
}

// The name with every character that is not a letter or a digit taken as a
// word boundary when it sits at the edge of a match.
bool containsAsWords(const QString& text, const QString& part) {
  if (part.isEmpty() || part.size() > text.size()) return false;
  for (qsizetype at = text.indexOf(part); at >= 0; at = text.indexOf(part, at + 1)) {
    const qsizetype end = at + part.size();
    const bool startOk = at == 0 || !text[at - 1].isLetterOrNumber() || !part[0].isLetterOrNumber();
    const bool endOk = end == text.size() || !text[end].isLetterOrNumber() || !part.back().isLetterOrNumber();
    if (startOk && endOk) return true;
  }
  return false;
}

QString cutToFit(QStringView text, qsizetype room) { return trimmedText(text.left(room)); }

}  // namespace

std::optional<Unpaid> awaitingPayment(const uint8_t* record, int year, qint64 position) {
  if (isYes(trimmedField(record, mov::Saldato)) || !trimmedField(record, mov::Ricevuta).isEmpty()) return std::nullopt;
  const bool in = isYes(trimmedField(record, mov::Entrata));
  if (!in && !isYes(trimmedField(record, mov::Uscita))) return std::nullopt;
  const auto cents = storedCents(trimmedField(record, mov::Importo));
  if (!cents || *cents == 0) return std::nullopt;
  const QDate due = parseDateBytes(trimmedField(record, mov::DataSca));
  if (!due.isValid()) return std::nullopt;
  const FieldInfo& party = TMovimento::fields()[in ? mov::Pagatore : mov::Beneficiario];
  return Unpaid{year, position, in, *cents, due, trimmedText(decodeField(record + party.offset, party.capacity))};
}

bool mayPay(const Payment& p, const Unpaid& m) {
  if (p.cents == 0 || (p.cents > 0) != m.in || (p.cents > 0 ? p.cents : -p.cents) != m.cents) return false;
  const int year = p.booked.year();
  if (m.year != year && m.year != year - 1) return false;
  return m.due >= p.booked.addDays(-kDaysBefore) && m.due <= p.booked.addDays(kDaysAfter);
}

QString foldName(QStringView name) {
  const QString decomposed = name.toString().normalized(QString::NormalizationForm_KD);
  QString out;
  out.reserve(decomposed.size());
  for (const QChar c : decomposed) {
    if (c.category() == QChar::Mark_NonSpacing) continue;
    out += c;
  }
  return collapseBlanks(out.toCaseFolded());
}

namespace {
bool foldedAgree(const QString& x, const QString& y) {
  if (x.isEmpty() || y.isEmpty()) return false;
  return x == y || containsAsWords(x, y) || containsAsWords(y, x);
}
}  // namespace

bool partiesAgree(QStringView a, QStringView b) { return foldedAgree(foldName(a), foldName(b)); }

struct Matcher::Data {
  Data(const std::vector<Payment>& p, const std::vector<Unpaid>& m) : payments(p), movements(m) {}
  const std::vector<Payment>& payments;
  const std::vector<Unpaid>& movements;
  // Each name folded once and numbered (0: empty), for payments and movements
  // alike; whether two names agree is worked out once per pair of names.
  QHash<QString, uint32_t> nameIds;
  std::vector<QString> names;
  std::vector<uint32_t> payerName, partyName;
  mutable QHash<quint64, bool> agreeing;
  // The movements by signed amount, each run by due date, year and position.
  QHash<qint64, std::vector<uint32_t>> byAmount;

  uint32_t nameId(QStringView name) {
    const QString folded = foldName(name);
    if (folded.isEmpty()) return 0;
    const auto it = nameIds.constFind(folded);
    if (it != nameIds.cend()) return *it;
    names.push_back(folded);
    return nameIds.insert(folded, uint32_t(names.size() - 1)).value();
  }
  qint64 dueDay(uint32_t m) const { return movements[m].due.toJulianDay(); }
  bool agree(uint32_t p, uint32_t m) const {
    const uint32_t a = payerName[p], b = partyName[m];
    if (a == 0 || b == 0) return false;
    if (a == b) return true;
    const quint64 key = quint64(a) << 32 | b;
    const auto it = agreeing.constFind(key);
    if (it != agreeing.cend()) return *it;
    return agreeing.insert(key, foldedAgree(names[a], names[b])).value();
  }
};

namespace {

// One payment's candidates, best first: those whose party agrees, then the
// others; within each, the nearest due date first (at equal distance the
// older), then the older archive, the lower position. The movements of its
// amount due within its window are walked outwards from its booking date:
// rightwards one by one, leftwards a due date at a time (so that a day's
// movements still come by year and position).
class Stream {
 public:
  Stream(const Matcher::Data& d, uint32_t p) : d_(&d), p_(p) {
    const Payment& pay = d.payments[p];
    const auto it = d.byAmount.constFind(pay.cents);
    if (it == d.byAmount.cend() || !pay.booked.isValid()) return;
    run_ = &*it;
    booked_ = pay.booked.toJulianDay();
    const auto at = [&](qint64 day) {
      return qsizetype(std::lower_bound(run_->begin(), run_->end(), day,
                                        [&](uint32_t m, qint64 v) { return d.dueDay(m) < v; }) -
                       run_->begin());
    };
    lo_ = at(booked_ - kDaysBefore);
    hi_ = at(booked_ + kDaysAfter + 1);
    split_ = at(booked_);
    year_ = pay.booked.year();
    agreeing_ = d.payerName[p] != 0;  // a payment without a name agrees with none
    rewind();
  }

  // The next candidate and whether its party agrees; nothing at the end.
  std::optional<uint32_t> next(bool* agrees = nullptr) {
    if (!run_) return std::nullopt;
    for (;;) {
      const std::optional<uint32_t> m = nearest();
      if (!m) {
        if (!agreeing_) return std::nullopt;
        agreeing_ = false;  // then the others, from the start
        rewind();
        continue;
      }
      // The run holds its direction and amount, the window its due dates.
      const int year = d_->movements[*m].year;
      if ((year != year_ && year != year_ - 1) || d_->agree(p_, *m) != agreeing_) continue;
      if (agrees) *agrees = agreeing_;
      return m;
    }
  }

 private:
  void rewind() {
    right_ = split_;
    leftEnd_ = split_;
    startLeftGroup();
  }
  void startLeftGroup() {
    groupStart_ = leftEnd_;
    if (leftEnd_ <= lo_) return;
    groupStart_ = leftEnd_ - 1;
    const qint64 day = d_->dueDay((*run_)[leftEnd_ - 1]);
    while (groupStart_ > lo_ && d_->dueDay((*run_)[groupStart_ - 1]) == day) --groupStart_;
    left_ = groupStart_;
  }
  std::optional<uint32_t> nearest() {
    const bool hasLeft = groupStart_ < leftEnd_ && left_ < leftEnd_;
    const bool hasRight = right_ < hi_;
    if (!hasLeft && !hasRight) return std::nullopt;
    const bool takeLeft = hasLeft && (!hasRight || booked_ - d_->dueDay((*run_)[left_]) <=
                                                       d_->dueDay((*run_)[right_]) - booked_);
    if (!takeLeft) return (*run_)[right_++];
    const uint32_t m = (*run_)[left_++];
    if (left_ == leftEnd_) {
      leftEnd_ = groupStart_;
      startLeftGroup();
    }
    return m;
  }

  const Matcher::Data* d_;
  uint32_t p_;
  const std::vector<uint32_t>* run_ = nullptr;
  qint64 booked_ = 0;
  int year_ = 0;
  qsizetype lo_ = 0, hi_ = 0, split_ = 0;  // the window [lo_, hi_), the first due on or after the booking date
  qsizetype right_ = 0;                    // the next on the right
  qsizetype leftEnd_ = 0, groupStart_ = 0, left_ = 0;  // the left due date's group [groupStart_, leftEnd_)
  bool agreeing_ = true;
};

}  // namespace

Matcher::Matcher(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements)
    : d_(std::make_unique<Data>(payments, movements)) {
  d_->names.push_back(QString());
  for (const Payment& p : payments) d_->payerName.push_back(d_->nameId(p.counterparty));
  for (const Unpaid& m : movements) d_->partyName.push_back(d_->nameId(m.party));
  for (size_t m = 0; m < movements.size(); ++m)
    d_->byAmount[movements[m].in ? movements[m].cents : -movements[m].cents].push_back(uint32_t(m));
  for (auto& run : d_->byAmount) {
    std::sort(run.begin(), run.end(), [&](uint32_t a, uint32_t b) {
      const Unpaid &x = movements[a], &y = movements[b];
      return std::tuple(x.due.toJulianDay(), x.year, x.position) < std::tuple(y.due.toJulianDay(), y.year, y.position);
    });
  }
}

Matcher::~Matcher() = default;

std::vector<uint32_t> Matcher::candidates(uint32_t p, size_t limit) const {
  std::vector<uint32_t> out;
  Stream s(*d_, p);
  while (out.size() < limit) {
    const auto m = s.next();
    if (!m) break;
    out.push_back(*m);
  }
  return out;
}

bool Matcher::isCandidate(uint32_t p, uint32_t m) const {
  return p < d_->payments.size() && m < d_->movements.size() && mayPay(d_->payments[p], d_->movements[m]);
}

std::vector<std::optional<uint32_t>> Matcher::choose(const std::vector<Override>& overrides) const {
  using Kind = Override::Kind;
  const size_t n = d_->payments.size();
  const auto kindOf = [&](size_t p) { return overrides.empty() ? Kind::Ranked : overrides[p].kind; };
  std::vector<std::optional<uint32_t>> chosen(n);
  std::vector<bool> taken(d_->movements.size(), false);
  for (uint32_t p = 0; p < n; ++p) {
    if (kindOf(p) != Kind::Chosen) continue;
    const uint32_t m = overrides[p].movement;
    if (isCandidate(p, m) && !taken[m]) {
      chosen[p] = m;
      taken[m] = true;
    }
  }
  // Every ranked payment's best pair, merged: the pairs come in the one order
  // of the ranking, and a pair whose movement is taken gives way to its
  // payment's next.
  using Key = std::tuple<int, qint64, qint64, int, qint64, uint32_t>;
  std::vector<Stream> streams;
  streams.reserve(n);
  std::vector<std::pair<Key, uint32_t>> heap;
  const auto keyOf = [&](uint32_t p, uint32_t m, bool agrees) {
    const Unpaid& u = d_->movements[m];
    const qint64 due = u.due.toJulianDay();
    return Key{agrees ? 0 : 1, std::abs(due - d_->payments[p].booked.toJulianDay()), due, u.year, u.position, p};
  };
  const auto push = [&](uint32_t p) {
    bool agrees = false;
    if (const auto m = streams[p].next(&agrees)) {
      heap.push_back({keyOf(p, *m, agrees), *m});
      std::push_heap(heap.begin(), heap.end(), std::greater<>());
    }
  };
  for (uint32_t p = 0; p < n; ++p) {
    streams.emplace_back(*d_, p);
    if (kindOf(p) == Kind::Ranked) push(p);
  }
  while (!heap.empty()) {
    std::pop_heap(heap.begin(), heap.end(), std::greater<>());
    const auto [key, m] = heap.back();
    heap.pop_back();
    const uint32_t p = std::get<5>(key);
    if (taken[m]) {
      push(p);
      continue;
    }
    chosen[p] = m;
    taken[m] = true;
  }
  return chosen;
}

std::vector<Pair> candidatePairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements) {
  const Matcher matcher(payments, movements);
  std::vector<Pair> pairs;
  for (uint32_t p = 0; p < payments.size(); ++p)
    for (const uint32_t m : matcher.candidates(p, SIZE_MAX)) pairs.push_back({p, m});
  return pairs;
}

std::vector<std::optional<uint32_t>> chooseOneToOne(const std::vector<Payment>& payments,
                                                     const std::vector<Unpaid>& movements,
                                                     const std::vector<Override>& overrides) {
  return Matcher(payments, movements).choose(overrides);
}

QString settledReceipt(QStringView head, const QDate& booked) {
  const QString tail = QStringLiteral(" del ") + formatDate(booked);
  return cutToFit(collapseBlanks(head), kTextCapacity - tail.size()) + tail;
}

QString settledNote(QStringView note, const QDate& booked) {
  const QString paid = QStringLiteral("Pagato il ") + formatDate(booked);
  const QString kept = cutToFit(note, kTextCapacity - paid.size() - 3);
  return kept.isEmpty() ? paid : kept + QStringLiteral(" - ") + paid;
}

}  // namespace fondaro::matching
