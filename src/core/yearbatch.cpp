// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/yearbatch.h"

#include <QHash>
#include <algorithm>
#include <cerrno>
#include <memory>
#include <optional>
#include <tuple>

#include "core/filepath.h"
#include "core/textrules.h"

namespace fondaro {

QString archiveYearText(int year) { return QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')); }

namespace {

// A stored field's bytes without the blanks and controls at both ends, the
// trim every reader applies (Windows-1252 keeps codes 0 to 32 where they are).
QByteArrayView trimmedBytes(const uint8_t* slot, int capacity) {
  const int n = storedLength(slot, capacity);
  const char* b = reinterpret_cast<const char*>(slot + 1);
  int from = 0;
  int to = n;
  while (from < to && uint8_t(b[from]) <= 0x20) ++from;
  while (to > from && uint8_t(b[to - 1]) <= 0x20) --to;
  return QByteArrayView(b + from, to - from);
}

QByteArrayView field(const uint8_t* record, mov::Field f) {
  const FieldInfo& fi = TMovimento::fields()[f];
  return trimmedBytes(record + fi.offset, fi.capacity);
}

// Date and Totale: the part of the identity every candidate has.
QByteArray dayAndTotal(const uint8_t* record) {
  const QDate d = parseDateBytes(field(record, mov::Data));
  if (!d.isValid()) return {};
  const qint64 jd = d.toJulianDay();
  QByteArray key(reinterpret_cast<const char*>(&jd), sizeof jd);
  key += field(record, mov::Totale);
  return key;
}

QByteArray identity(const QByteArray& dayTotal, char by, QByteArrayView text) {
  QByteArray key = dayTotal;
  key += '\0';
  key += by;
  key += text;
  return key;
}

// The key a candidate is compared by: its reference when it has one, else its
// Causale; `dayTotal`, when given, gets the part of it that is Data and Totale.
QByteArray candidateKey(const TMovimento& r, QByteArray* dayTotal = nullptr) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&r);
  const QByteArray dt = dayAndTotal(bytes);
  if (dayTotal) *dayTotal = dt;
  const QByteArrayView ricevuta = field(bytes, mov::Ricevuta);
  return ricevuta.isEmpty() ? identity(dt, 'C', field(bytes, mov::Causale)) : identity(dt, 'R', ricevuta);
}

bool isMissing(const ArchiveError& e) { return e.sysError() == ENOENT || e.sysError() == ENOTDIR; }

}  // namespace

namespace {

// The Totale and Ricevuta of a settled movement: what the settled-movement
// rule compares (the date is the movement's own, not the payment's).
QByteArray settledIdentity(QByteArrayView totale, QByteArrayView ricevuta) {
  QByteArray key(totale.data(), totale.size());
  key += '\0';
  key += 'S';
  key += ricevuta;
  return key;
}

// A Ricevuta as a record stores it: trimmed, in Windows-1252, cut to its field.
QByteArray storedRicevuta(const QString& text) {
  decltype(TMovimento::Ricevuta) field;
  field.set(text);
  return QByteArray(reinterpret_cast<const char*>(field.data), field.len);
}

bool isYes(QByteArrayView flag) { return flag == QByteArrayView("S\xEC", 2); }

// Candidates grouped by one identity, held by its hash (a few bytes, whatever
// its size); a stored identity whose hash matches counts only once it is
// compared equal to the whole identity, recomputed from the candidate.
// Candidates with one identity form one group, counted by occurrence.
class IdentityGroups {
 public:
  using KeyOf = std::function<QByteArray(size_t candidate)>;
  static constexpr uint32_t kNone = UINT32_MAX;

  IdentityGroups() = default;
  // hashes[i]: the hash of candidate i's identity; none for a candidate that has none.
  IdentityGroups(const std::vector<std::optional<uint64_t>>& hashes, KeyOf keyOf)
      : keyOf_(std::move(keyOf)), groupOf_(hashes.size(), kNone) {
    for (size_t i = 0; i < hashes.size(); ++i)
      if (hashes[i]) byHash_.push_back({*hashes[i], uint32_t(i), 0});
    std::sort(byHash_.begin(), byHash_.end(), [](const Held& x, const Held& y) {
      return x.hash != y.hash ? x.hash < y.hash : x.index < y.index;
    });
    formGroups();
    stored_.assign(leaders_.size(), 0);
  }

  bool empty() const { return byHash_.empty(); }
  // A stored identity: one more occurrence of the candidates equal to it.
  void count(const QByteArray& key) {
    const uint64_t h = hashOf(key);
    auto it = std::lower_bound(byHash_.begin(), byHash_.end(), h, [](const Held& x, uint64_t v) { return x.hash < v; });
    uint32_t lastGroup = kNone;
    for (; it != byHash_.end() && it->hash == h; ++it) {
      if (it->group == lastGroup) continue;
      lastGroup = it->group;
      if (keyOf_(leaders_[it->group]) == key) {
        ++stored_[it->group];
        return;
      }
    }
  }
  // Whether candidate i takes one stored occurrence of its group.
  bool take(size_t i) {
    if (groupOf_.empty() || groupOf_[i] == kNone) return false;
    uint32_t& left = stored_[groupOf_[i]];
    if (left == 0) return false;
    --left;
    return true;
  }
  void forgetCounts() { std::fill(stored_.begin(), stored_.end(), 0); }

  static uint64_t hashOf(QByteArrayView bytes) { return qHash(bytes, size_t(0x5bd1e995)); }

 private:
  struct Held {
    uint64_t hash;
    uint32_t index;
    uint32_t group;
  };

  // Candidates of equal hash are compared whole: equal ones share a group.
  void formGroups() {
    for (size_t from = 0; from < byHash_.size();) {
      size_t to = from + 1;
      while (to < byHash_.size() && byHash_[to].hash == byHash_[from].hash) ++to;
      std::vector<std::pair<QByteArray, uint32_t>> seen;  // the run's identities and groups
      for (size_t k = from; k < to; ++k) {
        const QByteArray key = to - from > 1 ? keyOf_(byHash_[k].index) : QByteArray();
        auto it = std::find_if(seen.begin(), seen.end(), [&](const auto& s) { return s.first == key; });
        if (it == seen.end()) {
          leaders_.push_back(byHash_[k].index);
          it = seen.insert(seen.end(), {key, uint32_t(leaders_.size() - 1)});
        }
        byHash_[k].group = it->second;
        groupOf_[byHash_[k].index] = it->second;
      }
      from = to;
    }
  }

  KeyOf keyOf_;
  std::vector<Held> byHash_;        // sorted by hash
  std::vector<uint32_t> groupOf_;   // by candidate
  std::vector<uint32_t> leaders_;   // a candidate of each group
  std::vector<uint32_t> stored_;    // by group: the stored occurrences not yet taken
};

// The duplicate rule over many candidates in little memory: each candidate's
// identity (Data, Totale, and Ricevuta or Causale) and, where the candidate
// may have settled a stored movement instead, its settled identity (Totale
// and the Ricevuta settling writes). A candidate is present when a stored
// occurrence of either is left for it.
class DuplicateCheck {
 public:
  // The candidate's identity, `dayTotal` getting its Data and Totale part.
  using KeyOf = std::function<QByteArray(size_t candidate, QByteArray* dayTotal)>;
  // The candidate's settled identity, or an empty one.
  using SettledKeyOf = std::function<QByteArray(size_t candidate)>;

  DuplicateCheck(size_t candidates, KeyOf keyOf, SettledKeyOf settledKeyOf = {}) {
    std::vector<std::optional<uint64_t>> hashes(candidates), settled;
    if (settledKeyOf) settled.resize(candidates);
    for (size_t i = 0; i < candidates; ++i) {
      QByteArray dayTotal;
      hashes[i] = IdentityGroups::hashOf(keyOf(i, &dayTotal));
      dayTotals_.push_back(IdentityGroups::hashOf(dayTotal));
      if (settledKeyOf) {
        const QByteArray key = settledKeyOf(i);
        if (!key.isEmpty()) settled[i] = IdentityGroups::hashOf(key);
      }
    }
    std::sort(dayTotals_.begin(), dayTotals_.end());
    dayTotals_.erase(std::unique(dayTotals_.begin(), dayTotals_.end()), dayTotals_.end());
    primary_ = IdentityGroups(hashes, [keyOf](size_t i) { return keyOf(i, nullptr); });
    if (settledKeyOf) settled_ = IdentityGroups(settled, settledKeyOf);
  }

  // Whether the settled-movement rule is on: the year before is read too.
  bool readsYearBefore() const { return !settled_.empty(); }

  // A stored record: one more occurrence of the candidates equal to it. Of a
  // record of the year before only its settled identity counts.
  void count(const uint8_t* record, bool settledOnly = false) {
    if (!settledOnly) countPrimary(record);
    if (settled_.empty() || !isYes(field(record, mov::Saldato))) return;
    const QByteArrayView ricevuta = field(record, mov::Ricevuta);
    if (!ricevuta.isEmpty()) settled_.count(settledIdentity(field(record, mov::Totale), ricevuta));
  }
  // Whether candidate i is already present: it takes one stored occurrence
  // of its group when one is left.
  bool take(size_t i) { return primary_.take(i) || settled_.take(i); }
  void forgetCounts() {
    primary_.forgetCounts();
    settled_.forgetCounts();
  }

 private:
  void countPrimary(const uint8_t* record) {
    const QByteArray dt = dayAndTotal(record);
    if (dt.isEmpty() || !std::binary_search(dayTotals_.begin(), dayTotals_.end(), IdentityGroups::hashOf(dt))) return;
    const QByteArrayView ricevuta = field(record, mov::Ricevuta);
    if (!ricevuta.isEmpty()) primary_.count(identity(dt, 'R', ricevuta));
    primary_.count(identity(dt, 'C', field(record, mov::Causale)));
  }

  IdentityGroups primary_;
  IdentityGroups settled_;
  std::vector<uint64_t> dayTotals_;  // sorted hashes of the candidates' Data and Totale
};

// Counts every stored record of the archive, with progress (of the year
// before: only the settled identities).
void countArchive(DuplicateCheck& check, const MovementArchive& archive, const ProgressFn& progress,
                  bool settledOnly = false) {
  const qint64 total = archive.Count();
  archive.Scan([&](qint64 pos, const MovimentoView& v) {
    if (pos % 8192 == 0) reportProgress(progress, pos, total);
    check.count(v.bytes(), settledOnly);
  });
  reportProgress(progress, total, total);
}

}  // namespace

std::vector<bool> alreadyPresent(const MovementArchive& archive, std::span<const TMovimento> candidates,
                                 const ProgressFn& progress) {
  std::vector<bool> present(candidates.size(), false);
  if (candidates.empty()) return present;
  DuplicateCheck check(candidates.size(), [&](size_t i, QByteArray* dayTotal) {
    return candidateKey(candidates[i], dayTotal);
  });
  countArchive(check, archive, progress);
  for (size_t i = 0; i < candidates.size(); ++i) present[i] = check.take(i);
  return present;
}


namespace {
// The duplicate check of one year's candidates, each candidate's movement made
// only while its identity is taken.
DuplicateCheck checkOf(const YearCandidates& c) {
  DuplicateCheck::SettledKeyOf settledKeyOf;
  if (c.settledReceiptOf) {
    settledKeyOf = [&c](size_t k) {
      const TMovimento m = c.movementOf(k);
      const QByteArray ricevuta = storedRicevuta(c.settledReceiptOf(k));
      return ricevuta.isEmpty() ? QByteArray()
                                : settledIdentity(field(reinterpret_cast<const uint8_t*>(&m), mov::Totale), ricevuta);
    };
  }
  return DuplicateCheck(
      c.count,
      [&c](size_t k, QByteArray* dayTotal) {
        const TMovimento m = c.movementOf(k);
        return candidateKey(m, dayTotal);
      },
      settledKeyOf);
}
}  // namespace

YearArchives YearArchives::forReading(const QByteArray& folder, const std::set<int>& years) {
  YearArchives out;
  for (const int year : years) {
    try {
      out.add(year, std::make_unique<MovementArchive>(MovementArchive::OpenExisting(
                        movementArchivePath(folder, archiveYearText(year)), RecordFile::Access::ReadOnly)));
    } catch (const ArchiveError& e) {
      if (!isMissing(e)) throw;
    }
  }
  return out;
}

const MovementArchive* YearArchives::find(int year) const {
  const auto it = archives_.find(year);
  return it == archives_.end() ? nullptr : it->second.get();
}

MovementArchive* YearArchives::findMutable(int year) {
  const auto it = archives_.find(year);
  return it == archives_.end() ? nullptr : it->second.get();
}

std::vector<int> YearArchives::years() const {
  std::vector<int> out;
  for (const auto& [year, archive] : archives_) out.push_back(year);
  return out;
}

void YearArchives::add(int year, std::unique_ptr<MovementArchive> archive) { archives_[year] = std::move(archive); }

std::vector<std::vector<bool>> presentIn(const YearArchives& archives, const std::vector<YearCandidates>& years,
                                         const ProgressFn& progress) {
  // Progress over every record to read.
  qint64 total = 0;
  for (const YearCandidates& y : years) {
    if (const auto* a = archives.find(y.year)) total += a->Count();
    if (const auto* before = archives.find(y.year - 1); before && y.settledReceiptOf) total += before->Count();
  }
  std::vector<std::vector<bool>> present;
  qint64 doneBefore = 0;
  const auto read = [&](DuplicateCheck& check, const MovementArchive& archive, bool settledOnly) {
    countArchive(
        check, archive, [&](qint64 done, qint64) { return !progress || progress(doneBefore + done, total); },
        settledOnly);
    doneBefore += archive.Count();
  };
  for (const YearCandidates& y : years) {
    DuplicateCheck check = checkOf(y);
    if (const auto* a = archives.find(y.year)) read(check, *a, false);
    if (const auto* before = archives.find(y.year - 1); before && check.readsYearBefore()) read(check, *before, true);
    std::vector<bool>& flags = present.emplace_back(y.count, false);
    for (size_t k = 0; k < y.count; ++k) flags[k] = check.take(k);
  }
  return present;
}

std::vector<std::vector<bool>> presentInYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                                              const ProgressFn& progress) {
  std::set<int> wanted;
  for (const YearCandidates& y : years) {
    wanted.insert(y.year);
    if (y.settledReceiptOf) wanted.insert(y.year - 1);
  }
  return presentIn(YearArchives::forReading(folder, wanted), years, progress);
}

qint64 ImportResult::added() const {
  qint64 n = 0;
  for (const auto& y : years) n += y.added;
  return n;
}

ImportWriteError::ImportWriteError(ImportResult result, std::vector<YearFailure> failures)
    : UserError(failures.front().error.what()), result_(std::move(result)), failures_(std::move(failures)) {
  for (const YearCount& y : result_.years) {
    if (y.year < year()) done_.years.push_back(y);
    if (y.year == year()) writtenInYear_ = y.added;
  }
}

namespace {

// Records per lock and write: a few MiB, whatever the statement's size.
constexpr size_t kRecordsPerBatch = 4096;

// Appends one year's new candidates in batches. Under
// the first lock the whole archive is checked; under each later one only what
// other running copies appended since, which takes the place of the equal
// entries still to write. `count` follows what is whole in the archive, also
// when an error is thrown.
class YearWriter {
 public:
  YearWriter(const YearCandidates& candidates, YearCount& count, bool& checked)
      : candidates_(candidates), count_(count), checked_(checked), check_(checkOf(candidates)) {}

  void write(MovementArchive& archive, const ProgressFn& progress) {
    bool first = true;
    do {
      qint64 before = 0;
      const auto appended = archive.file().appendBlocks([&](qint64 n) {
        before = n;
        if (first) chooseAll(archive, progress);
        else if (n > end_) dropAppendedByOthers(archive, n);
        first = false;
        return nextBatch();
      });
      count_.added += appended.count;
      next_ += size_t(appended.count);
      end_ = before + appended.count;
    } while (next_ < todo_.size());
  }

 private:
  void chooseAll(const MovementArchive& archive, const ProgressFn& progress) {
    countArchive(check_, archive, progress);
    for (size_t k = 0; k < candidates_.count; ++k) {
      if (check_.take(k)) ++count_.present;
      else todo_.push_back(uint32_t(k));
    }
    checked_ = true;
  }

  void dropAppendedByOthers(const MovementArchive& archive, qint64 n) {
    check_.forgetCounts();
    for (qint64 p = end_ + 1; p <= n; ++p) {
      const TMovimento r = archive.ReadAt(p);
      check_.count(reinterpret_cast<const uint8_t*>(&r));
    }
    const auto kept = std::remove_if(todo_.begin() + qsizetype(next_), todo_.end(), [&](uint32_t k) {
      const bool taken = check_.take(k);
      count_.present += taken;
      return taken;
    });
    todo_.erase(kept, todo_.end());
  }

  std::vector<QByteArrayView> nextBatch() {
    batch_.clear();
    for (size_t i = next_; i < todo_.size() && batch_.size() < kRecordsPerBatch; ++i) {
      batch_.push_back(candidates_.movementOf(todo_[i]));
    }
    if (batch_.empty()) return {};
    return {QByteArrayView(reinterpret_cast<const char*>(batch_.data()), qsizetype(batch_.size() * sizeof(TMovimento)))};
  }

  const YearCandidates& candidates_;
  YearCount& count_;
  bool& checked_;  // set once the whole archive is checked: count_.present is then known
  DuplicateCheck check_;
  std::vector<uint32_t> todo_;  // the candidates to append, in order
  size_t next_ = 0;             // todo_[next_] is the first not yet appended
  qint64 end_ = 0;              // the archive's last position after our last batch
  std::vector<TMovimento> batch_;
};

}  // namespace

namespace {

// Appends `todo` (candidates of one year, in order) to an archive held by the
// caller, in batches; `count` follows what is whole in the archive, also when
// an error is thrown.
void appendHeld(MovementArchive& archive, const YearCandidates& candidates, const std::vector<uint32_t>& todo,
                YearCount& count) {
  std::vector<TMovimento> batch;
  for (size_t next = 0; next < todo.size();) {
    batch.clear();
    for (size_t i = next; i < todo.size() && batch.size() < kRecordsPerBatch; ++i)
      batch.push_back(candidates.movementOf(todo[i]));
    const auto appended = archive.AppendAll(batch);
    count.added += appended.count;
    next += batch.size();
  }
}

}  // namespace

ImportResult settleAndAppend(const QByteArray& folder, const std::vector<YearCandidates>& years,
                             const ChooseInPlace& choose, const ProgressFn& progress) {
  std::set<int> appendYears, all;
  for (const YearCandidates& y : years) {
    appendYears.insert(y.year);
    all.insert(y.year);
    all.insert(y.year - 1);
  }
  std::map<int, YearCount> counts;
  for (const int year : appendYears) counts[year] = YearCount{year, 0, 0, 0};
  std::map<int, ImportWriteError::YearFailure> failures;
  const auto failed = [&](int year, const ArchiveError& e, bool checked) {
    failures.emplace(year, ImportWriteError::YearFailure{year, e, checked});
  };

  // Every archive held, in year order, until the end: the choices made under
  // the locks are the ones written.
  YearArchives held;
  std::map<int, RecordFile::Hold> holds;  // released before the archives close
  for (const int year : all) {
    const QByteArray path = movementArchivePath(folder, archiveYearText(year));
    try {
      auto archive = std::make_unique<MovementArchive>(
          appendYears.count(year) ? MovementArchive::OpenOrCreate(path)
                                  : MovementArchive::OpenExisting(path, RecordFile::Access::ReadWrite));
      holds.emplace(year, archive->file().hold());
      held.add(year, std::move(archive));
    } catch (const ArchiveError& e) {
      // The year before, missing or closed to writing (an old year made
      // read-only): nothing of it is settled.
      const bool closed = e.sysError() == EACCES || e.sysError() == EROFS || e.sysError() == EPERM;
      if (!appendYears.count(year) && (isMissing(e) || closed)) continue;
      failed(year, e, false);
    }
  }

  const ProgressFn report = [&](qint64 done, qint64 total) {
    if (progress) progress(done, total);
    return true;
  };
  const std::vector<std::vector<bool>> present = presentIn(held, years, report);
  for (size_t a = 0; a < years.size(); ++a)
    counts[years[a].year].present += std::count(present[a].begin(), present[a].end(), true);

  std::vector<InPlace> settles = choose ? choose(held, present) : std::vector<InPlace>{};
  std::sort(settles.begin(), settles.end(), [](const InPlace& x, const InPlace& y) {
    return std::tie(x.at.year, x.at.position) < std::tie(y.at.year, y.at.position);
  });
  ImportResult result;
  std::vector<std::vector<bool>> settling(years.size());
  for (size_t a = 0; a < years.size(); ++a) settling[a].assign(years[a].count, false);
  for (const InPlace& s : settles) {
    settling[s.at.yearIndex][s.at.candidate] = true;
    if (failures.count(s.at.year)) continue;
    YearCount& count = counts.try_emplace(s.at.year, YearCount{s.at.year, 0, 0, 0}).first->second;
    try {
      held.findMutable(s.at.year)->WriteAt(s.at.position, s.record);
      ++count.paid;
      result.settled.push_back(s.at);
    } catch (const ArchiveError& e) {
      // Written but not confirmed: it counts as settled, as a record counts as stored.
      if (e.writtenAt() > 0) {
        ++count.paid;
        result.settled.push_back(s.at);
      }
      failed(s.at.year, e, true);
    }
  }

  for (size_t a = 0; a < years.size(); ++a) {
    const YearCandidates& candidates = years[a];
    if (failures.count(candidates.year)) continue;
    std::vector<uint32_t> todo;
    for (size_t k = 0; k < candidates.count; ++k)
      if (!present[a][k] && !settling[a][k]) todo.push_back(uint32_t(k));
    YearCount& count = counts[candidates.year];
    try {
      appendHeld(*held.findMutable(candidates.year), candidates, todo, count);
    } catch (const ArchiveError& e) {
      if (e.writtenAt() > 0) count.added += e.writtenAt() - e.writtenFrom() + 1;
      failed(candidates.year, e, true);
    }
  }
  holds.clear();

  for (const auto& [year, count] : counts) result.years.push_back(count);
  if (failures.empty()) return result;
  std::vector<ImportWriteError::YearFailure> inOrder;
  for (auto& [year, f] : failures) inOrder.push_back(std::move(f));
  throw ImportWriteError(std::move(result), std::move(inOrder));
}

ImportResult appendToYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                           const ProgressFn& progress) {
  if (std::any_of(years.begin(), years.end(), [](const YearCandidates& y) { return bool(y.settledReceiptOf); }))
    return settleAndAppend(folder, years, {}, progress);
  ImportResult result;
  std::vector<ImportWriteError::YearFailure> failures;
  const ProgressFn report = [&](qint64 done, qint64 total) {
    if (progress) progress(done, total);
    return true;
  };
  for (const YearCandidates& candidates : years) {
    YearCount count{candidates.year, 0, 0};
    bool checked = false;
    try {
      const QByteArray path = movementArchivePath(folder, archiveYearText(candidates.year));
      auto archive = MovementArchive::OpenOrCreate(path);
      YearWriter writer(candidates, count, checked);
      writer.write(archive, report);
      archive.Close();
    } catch (const ArchiveError& e) {
      // The records the error names are whole in the archive and count as stored.
      if (e.writtenAt() > 0) count.added += e.writtenAt() - e.writtenFrom() + 1;
      failures.push_back({candidates.year, e, checked});
    }
    result.years.push_back(count);
  }
  if (!failures.empty()) throw ImportWriteError(std::move(result), std::move(failures));
  return result;
}

}  // namespace fondaro
