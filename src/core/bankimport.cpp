#include "core/bankimport.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <map>

#include "core/filepath.h"
#include "core/textrules.h"

namespace fondaro {

QString importNote(const QString& statementName) { return QStringLiteral("Importato da ") + statementName; }

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
  QString causale = collapseBlanks(e.description);
  if (causale.isEmpty()) causale = collapseBlanks(e.kind);
  if (causale.isEmpty()) causale = collapseBlanks(e.counterparty);
  if (causale.isEmpty()) causale = QStringLiteral("Movimento bancario");
  r.Causale.set(causale);
  (in ? r.Pagatore : r.Beneficiario).set(collapseBlanks(e.counterparty));
  r.Ricevuta.set(collapseBlanks(e.reference));
  r.Pagamento.set(collapseBlanks(e.kind));
  r.Saldato.set(kSi);
  r.Note.set(collapseBlanks(importNote(statementName)));
  return r;
}

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

// The key a candidate is compared by: its reference when it has one, else its Causale.
QByteArray candidateKey(const TMovimento& r) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(&r);
  const QByteArrayView ricevuta = field(bytes, mov::Ricevuta);
  return ricevuta.isEmpty() ? identity(dayAndTotal(bytes), 'C', field(bytes, mov::Causale))
                            : identity(dayAndTotal(bytes), 'R', ricevuta);
}

QString yearText(int year) { return QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')); }

bool isMissing(const ArchiveError& e) { return e.sysError() == ENOENT || e.sysError() == ENOTDIR; }

}  // namespace

std::vector<bool> alreadyPresent(const MovementArchive& archive, std::span<const TMovimento> candidates,
                                 const ProgressFn& progress) {
  std::vector<QByteArray> keys;
  keys.reserve(candidates.size());
  QSet<QByteArray> dayTotals;
  QHash<QByteArray, qint64> stored;
  for (const TMovimento& r : candidates) {
    keys.push_back(candidateKey(r));
    dayTotals.insert(dayAndTotal(reinterpret_cast<const uint8_t*>(&r)));
    stored.insert(keys.back(), 0);
  }
  std::vector<bool> present(candidates.size(), false);
  if (candidates.empty()) return present;
  const qint64 total = archive.Count();
  archive.Scan([&](qint64 pos, const MovimentoView& v) {
    if (pos % 8192 == 0) reportProgress(progress, pos, total);
    const QByteArray dt = dayAndTotal(v.bytes());
    if (dt.isEmpty() || !dayTotals.contains(dt)) return;
    const QByteArrayView ricevuta = field(v.bytes(), mov::Ricevuta);
    if (!ricevuta.isEmpty()) {
      if (auto it = stored.find(identity(dt, 'R', ricevuta)); it != stored.end()) ++*it;
    }
    if (auto it = stored.find(identity(dt, 'C', field(v.bytes(), mov::Causale))); it != stored.end()) ++*it;
  });
  reportProgress(progress, total, total);
  for (size_t i = 0; i < keys.size(); ++i) {
    qint64& left = stored[keys[i]];
    if (left > 0) {
      present[i] = true;
      --left;
    }
  }
  return present;
}

qint64 ImportPlan::skipped() const {
  qint64 n = 0;
  for (const auto& e : entries) n += e.state == EntryState::Skipped;
  return n;
}

qint64 ImportResult::added() const {
  qint64 n = 0;
  for (const auto& y : years) n += y.added;
  return n;
}

ImportWriteError::ImportWriteError(const ArchiveError& error, ImportResult done, int year, qint64 writtenInYear)
    : std::runtime_error(error.what()),
      error_(error),
      done_(std::move(done)),
      year_(year),
      writtenInYear_(writtenInYear) {}

namespace {
// The importable entries by year, as indexes into the statement.
std::map<int, std::vector<size_t>> byYear(const Statement& st, const QSet<int>& leaveOut) {
  std::map<int, std::vector<size_t>> years;
  for (size_t i = 0; i < st.entries.size(); ++i) {
    if (st.entries[i].importable() && !leaveOut.contains(int(i) + 1)) years[st.entries[i].date.year()].push_back(i);
  }
  return years;
}

std::vector<TMovimento> recordsOf(const Statement& st, const std::vector<size_t>& idx, const QString& name) {
  std::vector<TMovimento> recs;
  recs.reserve(idx.size());
  for (size_t i : idx) recs.push_back(movementFromEntry(st.entries[i], name));
  return recs;
}
}  // namespace

ImportPlan planImport(const Statement& st, const QByteArray& folder, const QString& statementName,
                      const ProgressFn& progress) {
  ImportPlan plan;
  plan.statementName = statementName;
  plan.entries.resize(st.entries.size());
  for (size_t i = 0; i < st.entries.size(); ++i) {
    plan.entries[i].number = int(i) + 1;
    plan.entries[i].entry = st.entries[i];
  }
  const auto years = byYear(st, {});
  // Progress over every record of the archives to read.
  std::vector<std::optional<MovementArchive>> archives;
  qint64 total = 0;
  for (const auto& [year, idx] : years) {
    try {
      archives.emplace_back(MovementArchive::OpenExisting(movementArchivePath(folder, yearText(year)),
                                                          RecordFile::Access::ReadOnly));
      total += archives.back()->Count();
    } catch (const ArchiveError& e) {
      if (!isMissing(e)) throw;
      archives.emplace_back();
    }
  }
  qint64 doneBefore = 0;
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    std::optional<MovementArchive>& archive = archives[a++];
    const std::vector<TMovimento> recs = recordsOf(st, idx, statementName);
    std::vector<bool> present(recs.size(), false);
    if (archive) {
      present = alreadyPresent(*archive, recs, [&](qint64 done, qint64) {
        return !progress || progress(doneBefore + done, total);
      });
      doneBefore += archive->Count();
      archive->Close();
    }
    YearCount count{year, 0, 0};
    for (size_t k = 0; k < idx.size(); ++k) {
      plan.entries[idx[k]].state = present[k] ? EntryState::Present : EntryState::New;
      ++(present[k] ? count.present : count.added);
    }
    plan.years.push_back(count);
  }
  return plan;
}

ImportResult importStatement(const Statement& st, const QByteArray& folder, const QString& statementName,
                             const QSet<int>& leaveOut, const ProgressFn& progress,
                             const std::function<void(const QByteArray&)>& beforeWriting) {
  ImportResult result;
  const ProgressFn report = [&](qint64 done, qint64 total) {
    if (progress) progress(done, total);
    return true;
  };
  for (const auto& [year, idx] : byYear(st, leaveOut)) {
    const std::vector<TMovimento> recs = recordsOf(st, idx, statementName);
    YearCount count{year, 0, 0};
    try {
      const QByteArray path = movementArchivePath(folder, yearText(year));
      if (beforeWriting) beforeWriting(path);
      auto archive = MovementArchive::OpenOrCreate(path);
      const auto appended = archive.AppendChosen([&](qint64) {
        const std::vector<bool> present = alreadyPresent(archive, recs, report);
        std::vector<TMovimento> added;
        added.reserve(recs.size());
        for (size_t k = 0; k < recs.size(); ++k) {
          if (present[k]) ++count.present;
          else added.push_back(recs[k]);
        }
        return added;
      });
      count.added = appended.count;
      archive.Close();
    } catch (const ArchiveError& e) {
      const qint64 written = e.writtenAt() > 0 ? e.writtenAt() - e.writtenFrom() + 1 : 0;
      throw ImportWriteError(e, result, year, written);
    }
    result.years.push_back(count);
  }
  return result;
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
