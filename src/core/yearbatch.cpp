#include "core/yearbatch.h"

#include <QHash>
#include <algorithm>
#include <cerrno>
#include <memory>

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

// The duplicate rule over many candidates in little memory: each candidate is
// held by the hash of its identity (a few bytes, whatever its size); a stored
// record whose hash matches counts only once its whole identity is compared
// equal to the candidate's, recomputed from the candidate. Candidates with one
// identity form one group, counted by occurrence.
class DuplicateCheck {
 public:
  using KeyOf = std::function<QByteArray(size_t candidate, QByteArray* dayTotal)>;

  DuplicateCheck(size_t candidates, KeyOf keyOf) : keyOf_(std::move(keyOf)), groupOf_(candidates) {
    byHash_.reserve(candidates);
    for (size_t i = 0; i < candidates; ++i) {
      QByteArray dayTotal;
      const QByteArray key = keyOf_(i, &dayTotal);
      byHash_.push_back({hashOf(key), uint32_t(i), 0});
      dayTotals_.push_back(hashOf(dayTotal));
    }
    std::sort(dayTotals_.begin(), dayTotals_.end());
    dayTotals_.erase(std::unique(dayTotals_.begin(), dayTotals_.end()), dayTotals_.end());
    std::sort(byHash_.begin(), byHash_.end(), [](const Held& x, const Held& y) {
      return x.hash != y.hash ? x.hash < y.hash : x.index < y.index;
    });
    formGroups();
    stored_.assign(leaders_.size(), 0);
  }

  // A stored record: one more occurrence of the candidates equal to it.
  void count(const uint8_t* record) {
    const QByteArray dt = dayAndTotal(record);
    if (dt.isEmpty() || !std::binary_search(dayTotals_.begin(), dayTotals_.end(), hashOf(dt))) return;
    const QByteArrayView ricevuta = field(record, mov::Ricevuta);
    if (!ricevuta.isEmpty()) countKey(identity(dt, 'R', ricevuta));
    countKey(identity(dt, 'C', field(record, mov::Causale)));
  }
  // Whether candidate i is already present: it takes one stored occurrence
  // of its group when one is left.
  bool take(size_t i) {
    uint32_t& left = stored_[groupOf_[i]];
    if (left == 0) return false;
    --left;
    return true;
  }
  void forgetCounts() { std::fill(stored_.begin(), stored_.end(), 0); }

 private:
  struct Held {
    uint64_t hash;
    uint32_t index;
    uint32_t group;
  };
  static uint64_t hashOf(QByteArrayView bytes) { return qHash(bytes, size_t(0x5bd1e995)); }

  QByteArray keyOf(size_t i) const { return keyOf_(i, nullptr); }

  // Candidates of equal hash are compared whole: equal ones share a group.
  void formGroups() {
    for (size_t from = 0; from < byHash_.size();) {
      size_t to = from + 1;
      while (to < byHash_.size() && byHash_[to].hash == byHash_[from].hash) ++to;
      std::vector<std::pair<QByteArray, uint32_t>> seen;  // the run's identities and groups
      for (size_t k = from; k < to; ++k) {
        const QByteArray key = to - from > 1 ? keyOf(byHash_[k].index) : QByteArray();
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

  void countKey(const QByteArray& key) {
    const uint64_t h = hashOf(key);
    auto it = std::lower_bound(byHash_.begin(), byHash_.end(), h, [](const Held& x, uint64_t v) { return x.hash < v; });
    uint32_t lastGroup = UINT32_MAX;
    for (; it != byHash_.end() && it->hash == h; ++it) {
      if (it->group == lastGroup) continue;
      lastGroup = it->group;
      if (keyOf(leaders_[it->group]) == key) {
        ++stored_[it->group];
        return;
      }
    }
  }

  KeyOf keyOf_;
  std::vector<Held> byHash_;        // sorted by hash
  std::vector<uint64_t> dayTotals_; // sorted hashes of the candidates' Data and Totale
  std::vector<uint32_t> groupOf_;   // by candidate
  std::vector<uint32_t> leaders_;   // a candidate of each group
  std::vector<uint32_t> stored_;    // by group: the stored occurrences not yet taken
};

// Counts every stored record of the archive, with progress.
void countArchive(DuplicateCheck& check, const MovementArchive& archive, const ProgressFn& progress) {
  const qint64 total = archive.Count();
  archive.Scan([&](qint64 pos, const MovimentoView& v) {
    if (pos % 8192 == 0) reportProgress(progress, pos, total);
    check.count(v.bytes());
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
  return DuplicateCheck(c.count, [&c](size_t k, QByteArray* dayTotal) {
    const TMovimento m = c.movementOf(k);
    return candidateKey(m, dayTotal);
  });
}
}  // namespace

std::vector<std::vector<bool>> presentInYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                                              const ProgressFn& progress) {
  // Progress over every record of the archives to read.
  std::vector<std::optional<MovementArchive>> archives;
  qint64 total = 0;
  for (const YearCandidates& y : years) {
    try {
      archives.emplace_back(MovementArchive::OpenExisting(movementArchivePath(folder, archiveYearText(y.year)),
                                                          RecordFile::Access::ReadOnly));
      total += archives.back()->Count();
    } catch (const ArchiveError& e) {
      if (!isMissing(e)) throw;
      archives.emplace_back();
    }
  }
  std::vector<std::vector<bool>> present;
  qint64 doneBefore = 0;
  for (size_t a = 0; a < years.size(); ++a) {
    std::optional<MovementArchive>& archive = archives[a];
    DuplicateCheck check = checkOf(years[a]);
    if (archive) {
      countArchive(check, *archive, [&](qint64 done, qint64) { return !progress || progress(doneBefore + done, total); });
      doneBefore += archive->Count();
      archive->Close();
    }
    std::vector<bool>& flags = present.emplace_back(years[a].count, false);
    for (size_t k = 0; k < years[a].count; ++k) flags[k] = check.take(k);
  }
  return present;
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

ImportResult appendToYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                           const ProgressFn& progress) {
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
