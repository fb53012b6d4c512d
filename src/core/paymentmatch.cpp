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

bool partiesAgree(QStringView a, QStringView b) {
  const QString x = foldName(a), y = foldName(b);
  if (x.isEmpty() || y.isEmpty()) return false;
  return x == y || containsAsWords(x, y) || containsAsWords(y, x);
}

std::vector<Pair> candidatePairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements) {
  // The movements by direction and amount, so that each payment looks only at
  // its equals.
  QHash<qint64, std::vector<uint32_t>> byAmount;
  for (size_t m = 0; m < movements.size(); ++m) {
    byAmount[movements[m].in ? movements[m].cents : -movements[m].cents].push_back(uint32_t(m));
  }
  std::vector<Pair> pairs;
  for (size_t p = 0; p < payments.size(); ++p) {
    const auto it = byAmount.constFind(payments[p].cents);
    if (it == byAmount.cend()) continue;
    for (const uint32_t m : *it)
      if (mayPay(payments[p], movements[m])) pairs.push_back({uint32_t(p), m});
  }
  return pairs;
}

std::vector<std::optional<uint32_t>> chooseOneToOne(const std::vector<Payment>& payments,
                                                     const std::vector<Unpaid>& movements,
                                                     const std::vector<Pair>& pairs,
                                                     const std::vector<Override>& overrides) {
  using Kind = Override::Kind;
  const auto kindOf = [&](uint32_t p) { return overrides.empty() ? Kind::Ranked : overrides[p].kind; };
  std::vector<std::optional<uint32_t>> chosen(payments.size());
  std::vector<bool> taken(movements.size(), false);
  for (uint32_t p = 0; p < payments.size(); ++p) {
    if (kindOf(p) != Kind::Chosen) continue;
    const uint32_t m = overrides[p].movement;
    const bool isPair = std::any_of(pairs.begin(), pairs.end(), [&](const Pair& x) { return x.payment == p && x.movement == m; });
    if (isPair && !taken[m]) {
      chosen[p] = m;
      taken[m] = true;
    }
  }
  std::vector<Pair> open;
  for (const Pair& x : pairs)
    if (kindOf(x.payment) == Kind::Ranked) open.push_back(x);
  for (const Pair& x : rankPairs(payments, movements, std::move(open))) {
    if (chosen[x.payment] || taken[x.movement]) continue;
    chosen[x.payment] = x.movement;
    taken[x.movement] = true;
  }
  return chosen;
}

std::vector<Pair> rankPairs(const std::vector<Payment>& payments, const std::vector<Unpaid>& movements,
                            std::vector<Pair> pairs) {
  using Key = std::tuple<int, qint64, qint64, int, qint64, uint32_t>;
  std::vector<std::pair<Key, Pair>> ranked;
  ranked.reserve(pairs.size());
  for (const Pair& x : pairs) {
    const Payment& p = payments[x.payment];
    const Unpaid& m = movements[x.movement];
    const qint64 days = std::abs(m.due.toJulianDay() - p.booked.toJulianDay());
    ranked.push_back({{partiesAgree(p.counterparty, m.party) ? 0 : 1, days, m.due.toJulianDay(), m.year, m.position,
                       x.payment},
                      x});
  }
  std::sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (size_t i = 0; i < ranked.size(); ++i) pairs[i] = ranked[i].second;
  return pairs;
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
