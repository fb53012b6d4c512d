// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/bankimport.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <algorithm>
#include <map>
#include <memory>
#include <set>

#include "core/filepath.h"
#include "core/textrules.h"

namespace fondaro {

QString importNote(const QString& statementName) { return QStringLiteral("Importato da ") + statementName; }

namespace {
// The candidates the window offers for an entry.
constexpr size_t kShortList = 8;

QString causaleOf(const StatementEntry& e) {
  QString causale = collapseBlanks(e.description);
  if (causale.isEmpty()) causale = collapseBlanks(e.kind);
  if (causale.isEmpty()) causale = collapseBlanks(e.counterparty);
  if (causale.isEmpty()) causale = QStringLiteral("Movimento bancario");
  return causale;
}

// The Ricevuta settling with `e` writes: its reference, else its description
// (as the movement's Causale would be), " del " and the booking date.
QString receiptOf(const StatementEntry& e) {
  const QString reference = collapseBlanks(e.reference);
  return matching::settledReceipt(reference.isEmpty() ? causaleOf(e) : reference, e.date);
}
}  // namespace

TMovimento settledMovement(TMovimento stored, const StatementEntry& e) {
  stored.Saldato.set(kSi);
  stored.Ricevuta.set(receiptOf(e));
  stored.Note.set(matching::settledNote(stored.Note.get(), e.date));
  return stored;
}

TMovimento movementFromEntry(const StatementEntry& e, const QString& statementName) {
  TMovimento r;
  const bool in = e.cents > 0;
  const QString date = formatDate(e.date);
  const QString amount = centsText(e.cents);
  r.Entrata.set(in ? kSi : kNo);
  r.Uscita.set(in ? kNo : kSi);
  r.Data.set(date);
  r.DataSca.set(date);
  r.Preavviso.set(u"0");
  r.Importo.set(amount);
  r.Totale.set(signedAmount(in, amount));
  r.Causale.set(causaleOf(e));
  (in ? r.Pagatore : r.Beneficiario).set(collapseBlanks(e.counterparty));
  r.Ricevuta.set(collapseBlanks(e.reference));
  r.Pagamento.set(collapseBlanks(e.kind));
  r.Saldato.set(kSi);
  r.Note.set(collapseBlanks(importNote(statementName)));
  return r;
}

namespace {
// The importable entries by year, as indexes into the statement.
std::map<int, std::vector<size_t>> byYear(const Statement& st, const QSet<int>& leaveOut) {
  std::map<int, std::vector<size_t>> years;
  for (size_t i = 0; i < st.entries.size(); ++i) {
    if (st.entries[i].importable() && !leaveOut.contains(int(i) + 1)) years[st.entries[i].date.year()].push_back(i);
  }
  return years;
}

// Each year's entries as candidates, their movements made on demand; with
// matching, each may have settled a stored movement instead.
std::vector<YearCandidates> candidatesOf(const Statement& st, const std::map<int, std::vector<size_t>>& years,
                                         const QString& name, bool matching = false) {
  std::vector<YearCandidates> out;
  for (const auto& year : years) {
    const std::vector<size_t>& idx = year.second;
    YearCandidates c{year.first, idx.size(),
                     [&st, &idx, name](size_t k) { return movementFromEntry(st.entries[idx[k]], name); }, {}};
    if (matching) c.settledReceiptOf = [&st, &idx](size_t k) { return receiptOf(st.entries[idx[k]]); };
    out.push_back(std::move(c));
  }
  return out;
}

// The matching of the new entries (statement indexes `payers`) against the
// unpaid movements of `archives` that have an amount they pay.
struct Matching {
  std::vector<size_t> payers;               // statement indexes, in statement order
  std::vector<matching::Payment> payments;  // by payer
  std::vector<UnpaidMovement> unpaid;
};

Matching matchingOf(const Statement& st, std::vector<size_t> payers, const YearArchives& archives) {
  Matching m;
  m.payers = std::move(payers);
  // Which archives can hold a candidate, and which amounts (signed) are paid.
  std::set<int> years;
  QSet<qint64> amounts;
  for (const size_t i : m.payers) {
    const StatementEntry& e = st.entries[i];
    m.payments.push_back({e.date, e.cents, e.counterparty});
    years.insert(e.date.year());
    years.insert(e.date.year() - 1);
    amounts.insert(e.cents);
  }
  for (const int year : years) {
    const MovementArchive* a = archives.find(year);
    if (!a) continue;
    a->Scan([&](qint64 pos, const MovimentoView& v) {
      const auto u = matching::awaitingPayment(v.bytes(), year, pos);
      if (!u || !amounts.contains(u->in ? u->cents : -u->cents)) return;
      const FieldInfo& causale = TMovimento::fields()[mov::Causale];
      m.unpaid.push_back({*u, trimmedText(decodeField(v.bytes() + causale.offset, causale.capacity))});
    });
  }
  return m;
}

std::vector<matching::Unpaid> dueOf(const std::vector<UnpaidMovement>& unpaid) {
  std::vector<matching::Unpaid> due;
  for (const UnpaidMovement& u : unpaid) due.push_back(u.due);
  return due;
}

// A user's choice as an override of the matching: refused, or a movement of
// `unpaid` (one no longer among them: the entry settles nothing).
matching::Override overrideOf(const MatchChoice& choice, const std::vector<UnpaidMovement>& unpaid) {
  if (choice.refused) return {matching::Override::Kind::Refused, 0};
  matching::Override o{matching::Override::Kind::Chosen, UINT32_MAX};
  for (size_t u = 0; u < unpaid.size(); ++u)
    if (unpaid[u].due.year == choice.year && unpaid[u].due.position == choice.position) o.movement = uint32_t(u);
  return o;
}

// The user's choices, one override per payer.
std::vector<matching::Override> overridesOf(const Matching& m, const MatchChoices& choices) {
  if (choices.empty()) return {};
  std::vector<matching::Override> out(m.payers.size());
  for (size_t p = 0; p < m.payers.size(); ++p)
    if (const auto it = choices.find(int(m.payers[p]) + 1); it != choices.end()) out[p] = overrideOf(it->second, m.unpaid);
  return out;
}

// The statement's entries, numbered, before any state is known.
ImportPlan entriesOf(const Statement& st, const QString& statementName) {
  ImportPlan plan;
  plan.statementName = statementName;
  plan.entries.resize(st.entries.size());
  for (size_t i = 0; i < st.entries.size(); ++i) {
    plan.entries[i].number = int(i) + 1;
    plan.entries[i].entry = st.entries[i];
  }
  return plan;
}

// The entries of the statement that are new: importable, not left out, not
// present; in statement order.
std::vector<size_t> newEntries(const std::map<int, std::vector<size_t>>& years,
                               const std::vector<std::vector<bool>>& present) {
  std::vector<size_t> out;
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    for (size_t k = 0; k < idx.size(); ++k)
      if (!present[a][k]) out.push_back(idx[k]);
    ++a;
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::set<int> yearsAndYearsBefore(const std::map<int, std::vector<size_t>>& years) {
  std::set<int> out;
  for (const auto& [year, idx] : years) {
    out.insert(year);
    out.insert(year - 1);
  }
  return out;
}
}  // namespace

qint64 ImportPlan::skipped() const {
  qint64 n = 0;
  for (const auto& e : entries) n += e.state == EntryState::Skipped;
  return n;
}

ImportPlan planImport(const Statement& st, const QByteArray& folder, const QString& statementName,
                      const ProgressFn& progress) {
  ImportPlan plan = entriesOf(st, statementName);
  const auto years = byYear(st, {});
  const auto present = presentInYears(folder, candidatesOf(st, years, statementName), progress);
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    YearCount count{year, 0, 0};
    for (size_t k = 0; k < idx.size(); ++k) {
      const bool p = present[a][k];
      plan.entries[idx[k]].state = p ? EntryState::Present : EntryState::New;
      ++(p ? count.present : count.added);
    }
    plan.years.push_back(count);
    ++a;
  }
  return plan;
}

ImportPlan planMatchedImport(const Statement& st, const QByteArray& folder, const QString& statementName,
                             const ProgressFn& progress) {
  ImportPlan plan = entriesOf(st, statementName);
  plan.matching = true;
  const auto years = byYear(st, {});
  const YearArchives archives = YearArchives::forReading(folder, yearsAndYearsBefore(years));
  const auto present = presentIn(archives, candidatesOf(st, years, statementName, true), progress);
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    for (size_t k = 0; k < idx.size(); ++k) plan.entries[idx[k]].state = present[a][k] ? EntryState::Present : EntryState::New;
    ++a;
  }
  Matching m = matchingOf(st, newEntries(years, present), archives);
  plan.unpaid = std::move(m.unpaid);
  // Each entry's short list: its best candidates as the choice ranks them.
  const std::vector<matching::Unpaid> due = dueOf(plan.unpaid);
  const matching::Matcher matcher(m.payments, due);
  for (size_t p = 0; p < m.payers.size(); ++p)
    plan.entries[m.payers[p]].candidates = matcher.candidates(uint32_t(p), kShortList);
  chooseMatches(plan, {});
  return plan;
}

void chooseMatches(ImportPlan& plan, const MatchChoices& choices) {
  // The payers are the entries with candidates or a settled state from before.
  std::vector<size_t> payers;
  std::vector<matching::Payment> payments;
  std::vector<matching::Override> overrides;
  for (size_t i = 0; i < plan.entries.size(); ++i) {
    PlannedEntry& e = plan.entries[i];
    if (e.state == EntryState::Settles) e.state = EntryState::New;
    e.settles.reset();
    e.settled.reset();
    e.refused = false;
    if (e.state != EntryState::New || e.candidates.empty()) continue;
    payers.push_back(i);
    payments.push_back({e.entry.date, e.entry.cents, e.entry.counterparty});
    matching::Override o;
    if (const auto it = choices.find(e.number); it != choices.end()) {
      e.refused = it->second.refused;
      o = overrideOf(it->second, plan.unpaid);
    }
    overrides.push_back(o);
  }
  const auto chosen = matching::chooseOneToOne(payments, dueOf(plan.unpaid), overrides);
  for (size_t p = 0; p < payers.size(); ++p) {
    if (!chosen[p]) continue;
    plan.entries[payers[p]].settles = *chosen[p];
    plan.entries[payers[p]].settled = plan.unpaid[*chosen[p]];
    plan.entries[payers[p]].state = EntryState::Settles;
  }
  // The years' counts.
  std::map<int, YearCount> counts;
  for (const PlannedEntry& e : plan.entries) {
    if (e.state == EntryState::Skipped) continue;
    YearCount& c = counts.try_emplace(e.year(), YearCount{e.year(), 0, 0, 0}).first->second;
    if (e.state == EntryState::New) ++c.added;
    if (e.state == EntryState::Present) ++c.present;
    if (e.settles) {
      const int year = plan.unpaid[*e.settles].due.year;
      ++counts.try_emplace(year, YearCount{year, 0, 0, 0}).first->second.paid;
    }
  }
  plan.years.clear();
  for (const auto& [year, c] : counts) plan.years.push_back(c);
}

std::vector<SettledEntry> settledEntries(const ImportPlan& plan) {
  std::vector<SettledEntry> out;
  for (const PlannedEntry& e : plan.entries)
    if (e.settles) out.push_back({e.number, plan.unpaid[*e.settles].due.year, plan.unpaid[*e.settles].due.position});
  return out;
}

ImportResult importMatched(const Statement& st, const QByteArray& folder, const QString& statementName,
                           const QSet<int>& leaveOut, const MatchChoices& choices, std::vector<SettledEntry>& settled,
                           const ProgressFn& progress) {
  const auto years = byYear(st, leaveOut);
  const std::vector<YearCandidates> candidates = candidatesOf(st, years, statementName, true);
  // Where each statement index sits among the candidates.
  std::vector<std::pair<size_t, size_t>> place(st.entries.size());
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    for (size_t k = 0; k < idx.size(); ++k) place[idx[k]] = {a, k};
    ++a;
  }
  const ChooseInPlace choose = [&](const YearArchives& held, const std::vector<std::vector<bool>>& present) {
    const Matching m = matchingOf(st, newEntries(years, present), held);
    const auto chosen = matching::chooseOneToOne(m.payments, dueOf(m.unpaid), overridesOf(m, choices));
    std::vector<InPlace> out;
    for (size_t p = 0; p < m.payers.size(); ++p) {
      if (!chosen[p]) continue;
      const matching::Unpaid& u = m.unpaid[*chosen[p]].due;
      const auto [yearIndex, k] = place[m.payers[p]];
      const TMovimento stored = held.find(u.year)->ReadAt(u.position);
      out.push_back({{yearIndex, k, u.year, u.position}, settledMovement(stored, st.entries[m.payers[p]])});
    }
    return out;
  };
  const auto numbersOf = [&](const std::vector<SettledAt>& done) {
    settled.clear();
    for (const SettledAt& s : done) settled.push_back({int(years.at(candidates[s.yearIndex].year)[s.candidate]) + 1, s.year, s.position});
    std::sort(settled.begin(), settled.end(), [](const SettledEntry& x, const SettledEntry& y) { return x.number < y.number; });
  };
  try {
    ImportResult r = settleAndAppend(folder, candidates, choose, progress);
    numbersOf(r.settled);
    return r;
  } catch (const ImportWriteError& e) {
    numbersOf(e.result().settled);
    throw;
  }
}

ImportResult importStatement(const Statement& st, const QByteArray& folder, const QString& statementName,
                             const QSet<int>& leaveOut, const ProgressFn& progress) {
  const auto years = byYear(st, leaveOut);
  return appendToYears(folder, candidatesOf(st, years, statementName), progress);
}

}  // namespace fondaro

namespace fondaro {
namespace {
QString settingsPath(const QByteArray& folder) { return decodePath(joinPath(folder, "ImportaEstratto.ini")); }
QString settingsKey(const QString& headerKey) {
  return QStringLiteral("colonne/") +
         QString::fromLatin1(QCryptographicHash::hash(headerKey.toUtf8(), QCryptographicHash::Sha1).toHex());
}
}  // namespace

std::optional<CsvColumns> rememberedColumns(const QByteArray& folder, const QString& headerKey) {
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  const QString text = s.value(settingsKey(headerKey)).toString();
  if (text.isEmpty()) return std::nullopt;
  return parseColumnsOption(text);
}

void rememberColumns(const QByteArray& folder, const QString& headerKey, const CsvColumns& columns) {
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  s.setValue(settingsKey(headerKey), columnsOptionText(columns));
  s.sync();
}

}  // namespace fondaro
