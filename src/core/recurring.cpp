// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/recurring.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <limits>
#include <map>
#include <set>

#include "core/archive.h"
#include "core/writehook.h"
#include "core/filepath.h"
#include "core/linebytes.h"
#include "core/lists.h"
#include "core/replacefile.h"
#include "core/textrules.h"

namespace fondaro {
namespace {

constexpr int kFormat = 1;
constexpr int kMaxWeeks = 52;
constexpr int kMaxTimes = 9999;
// No folder holds a schedule file this large; a larger one is not read.
constexpr qint64 kMaxFileBytes = 64 << 20;

const QLatin1String kMarkPrefix("Ricorrente n. ");

QString yearTextOf(const QDate& d) { return QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0')); }

[[noreturn]] void damaged(const QString& detail) { throw RecurringError(RecurringError::Kind::Damaged, detail); }

// ---- the file's JSON ------------------------------------------------------

QJsonObject movementToJson(const TMovimento& m) {
  QJsonObject o;
  for (int f = 0; f < TMovimento::FieldCount; ++f)
    o.insert(QLatin1String(TMovimento::fields()[f].name), fieldText(m, f));
  return o;
}

TMovimento movementFromJson(const QJsonObject& o, int number) {
  TMovimento m;
  for (auto it = o.begin(); it != o.end(); ++it) {
    const std::optional<int> f = fieldIndex<TMovimento>(it.key());
    if (!f || !it.value().isString())
      damaged(QStringLiteral("schedule %1: bad movement field \"%2\"").arg(number).arg(it.key()));
    setFieldText(m, *f, it.value().toString());
  }
  return m;
}

QJsonObject scheduleToJson(const Schedule& s) {
  QJsonObject o;
  o.insert(u"numero"_qs, s.number);
  o.insert(u"ogni"_qs, s.repetition.code());
  o.insert(u"dal"_qs, formatDate(s.first));
  if (s.end.kind == ScheduleEnd::Kind::Until) o.insert(u"al"_qs, formatDate(s.end.until));
  if (s.end.kind == ScheduleEnd::Kind::Times) o.insert(u"volte"_qs, s.end.times);
  o.insert(u"precedenti"_qs, s.before);
  o.insert(u"generati"_qs, s.generated);
  o.insert(u"sospeso"_qs, s.stopped);
  o.insert(u"movimento"_qs, movementToJson(s.movement));
  return o;
}

int wholeNumber(const QJsonObject& o, const QString& key, int number, int min, int max) {
  const QJsonValue v = o.value(key);
  const double d = v.toDouble(-1);
  if (!v.isDouble() || d != double(qint64(d)) || d < min || d > max)
    damaged(QStringLiteral("schedule %1: bad \"%2\"").arg(number).arg(key));
  return int(d);
}

QDate dateOf(const QJsonObject& o, const QString& key, int number) {
  const QDate d = parseDate(o.value(key).toString());
  if (!d.isValid()) damaged(QStringLiteral("schedule %1: bad \"%2\"").arg(number).arg(key));
  return d;
}

Schedule scheduleFromJson(const QJsonValue& v, int index) {
  if (!v.isObject()) damaged(QStringLiteral("entry %1 is not an object").arg(index + 1));
  const QJsonObject o = v.toObject();
  Schedule s;
  s.number = wholeNumber(o, u"numero"_qs, index + 1, 1, std::numeric_limits<int>::max());
  const std::optional<Repetition> r = Repetition::parse(o.value(u"ogni"_qs).toString());
  if (!r) damaged(QStringLiteral("schedule %1: bad \"ogni\"").arg(s.number));
  s.repetition = *r;
  s.first = dateOf(o, u"dal"_qs, s.number);
  if (o.contains(u"al"_qs) && o.contains(u"volte"_qs))
    damaged(QStringLiteral("schedule %1: both \"al\" and \"volte\"").arg(s.number));
  if (o.contains(u"al"_qs)) s.end = {ScheduleEnd::Kind::Until, dateOf(o, u"al"_qs, s.number), 0};
  if (o.contains(u"volte"_qs))
    s.end = {ScheduleEnd::Kind::Times, {}, wholeNumber(o, u"volte"_qs, s.number, 1, kMaxTimes)};
  s.before = wholeNumber(o, u"precedenti"_qs, s.number, 0, kMaxTimes * 1000);
  s.generated = wholeNumber(o, u"generati"_qs, s.number, 0, std::numeric_limits<int>::max());
  if (!o.value(u"sospeso"_qs).isBool()) damaged(QStringLiteral("schedule %1: bad \"sospeso\"").arg(s.number));
  s.stopped = o.value(u"sospeso"_qs).toBool();
  if (!o.value(u"movimento"_qs).isObject())
    damaged(QStringLiteral("schedule %1: no \"movimento\"").arg(s.number));
  s.movement = movementFromJson(o.value(u"movimento"_qs).toObject(), s.number);
  return s;
}

// ---- the lock and the file ------------------------------------------------

// Runs `work` holding the schedules' lock: the append lock of an empty file
// of records of one byte, which nothing is ever appended to.
void withScheduleLock(const QByteArray& folder, const std::function<void()>& work) {
  std::optional<RecordFile> lock;
  try {
    lock.emplace(RecordFile::openOrCreate(recurringLockPath(folder), 1));
  } catch (const ArchiveError& e) {
    throw RecurringError(RecurringError::Kind::Lock, e.describe(), e.sysError());
  }
  lock->appendChosen([&](qint64) {
    work();
    return QByteArray();
  });
  try {
    lock->close();
  } catch (const ArchiveError&) {
    // Nothing was written through it; the work is done.
  }
}

void writeSchedules(const QByteArray& folder, const std::vector<Schedule>& list) {
  const QByteArray bytes = schedulesToJson(list);
  WriteFailure why;
  if (!replaceFileBytes(recurringFilePath(folder),
                        [&](int fd) { return writeAllTo(fd, bytes.constData(), bytes.size()); }, &why)) {
    throw RecurringError(RecurringError::Kind::Write,
                         displayPath(recurringFilePath(folder)) + QStringLiteral(": ") + why.english(), why.err);
  }
}

// Reads, changes and writes the list under the lock.
void updateSchedules(const QByteArray& folder, const std::function<void(std::vector<Schedule>&)>& change) {
  beforeWrite(recurringFilePath(folder));  // outside the lock: the copy may ask the user
  withScheduleLock(folder, [&] {
    std::vector<Schedule> list = readSchedules(folder);
    change(list);
    writeSchedules(folder, list);
  });
}

Schedule& scheduleNumbered(std::vector<Schedule>& list, int number) {
  for (Schedule& s : list)
    if (s.number == number) return s;
  throw RecurringError(RecurringError::Kind::NoSuchSchedule, QStringLiteral("no schedule number %1").arg(number));
}

void requireSound(const Schedule& s) {
  if (const auto problem = scheduleProblem(s)) throw RecurringError(RecurringError::Kind::Invalid, *problem);
}

// ---- generation -----------------------------------------------------------

struct Planned {
  size_t schedule;  // index in the list
  int occurrence;   // index from the schedule's first date
  QDate date;
  int number;
};

// The (schedule, date) pairs of the generated movements an archive holds,
// for the schedules asked about. Only the note and the date are decoded.
std::set<std::pair<int, QDate>> occurrencesIn(const MovementArchive& archive, const std::set<int>& numbers) {
  std::set<std::pair<int, QDate>> found;
  const QByteArray prefix = kMarkPrefix.latin1();
  archive.Scan([&](qint64, MovimentoView v) {
    const QByteArrayView note = storedBytes(v, mov::Note);
    if (!note.startsWith(prefix)) return;
    const std::optional<int> n = recurringNumberOfNote(decodeBytes(note.first(std::min<qsizetype>(note.size(), 40))));
    if (!n || !numbers.contains(*n)) return;
    found.insert({*n, parseDateBytes(storedBytes(v, mov::Data))});
  });
  return found;
}

// Appends one year's planned occurrences that its archive does not hold yet
// and adds them to `added`. `done` gets every planned occurrence now in the
// archive (added or found there), once the append has succeeded.
void generateYear(const QByteArray& folder, const QString& yearText, const std::vector<Planned>& plan,
                  const std::vector<Schedule>& list, bool dryRun, std::vector<GeneratedMovement>& added,
                  std::vector<const Planned*>& done) {
  std::set<int> numbers;
  for (const Planned& p : plan) numbers.insert(p.number);
  std::vector<const Planned*> found;
  std::vector<const Planned*> chosen;
  const auto choose = [&](const MovementArchive* archive) {
    const auto present = archive ? occurrencesIn(*archive, numbers) : std::set<std::pair<int, QDate>>{};
    found.clear();
    chosen.clear();
    std::vector<TMovimento> recs;
    for (const Planned& p : plan) {
      if (present.contains({p.number, p.date})) {
        found.push_back(&p);
        continue;
      }
      chosen.push_back(&p);
      recs.push_back(list[p.schedule].occurrenceMovement(p.date));
    }
    return recs;
  };
  const QByteArray path = movementArchivePath(folder, yearText);
  qint64 first = 1;
  std::optional<size_t> whole;  // after a failure: of the chosen, those whole in the archive
  std::exception_ptr failure;
  if (!dryRun) {
    bool appended = false;
    try {
      MovementArchive archive = MovementArchive::OpenOrCreate(path);
      first = archive.AppendChosen([&](qint64) { return choose(&archive); }).first;
      appended = true;
      archive.Close();
    } catch (const ArchiveError& e) {
      // What the disk holds counts, confirmed or not: it is reported and the
      // schedules move on over it, so that no occurrence is ever added twice.
      failure = std::current_exception();
      whole = appended ? chosen.size() : e.writtenAt() > 0 ? size_t(e.writtenAt() - e.writtenFrom() + 1) : 0;
      if (!appended && e.writtenAt() > 0) first = e.writtenFrom();
    }
  } else if (pathExists(path)) {
    MovementArchive archive = MovementArchive::OpenExisting(path, RecordFile::Access::ReadOnly);
    choose(&archive);
    first = archive.Count() + 1;
    archive.Close();
  } else {
    choose(nullptr);
  }
  const size_t stored = std::min(whole.value_or(chosen.size()), chosen.size());
  for (size_t k = 0; k < stored; ++k) {
    const Planned& p = *chosen[k];
    added.push_back({yearText, first + qint64(k), p.date, p.number, list[p.schedule].movement.Causale.trimmed()});
  }
  done.insert(done.end(), found.begin(), found.end());
  done.insert(done.end(), chosen.begin(), chosen.begin() + qsizetype(stored));
  if (failure) std::rethrow_exception(failure);
}

bool anythingDue(const std::vector<Schedule>& list, const QDate& today) {
  for (const Schedule& s : list) {
    const std::optional<QDate> d = s.next();
    if (d && d->addDays(-s.noticeDays()) <= today) return true;
  }
  return false;
}

}  // namespace

// ---- repetition and end ------------------------------------------------------

bool Repetition::allowed(Unit unit, int every) {
  if (unit == Unit::Weeks) return every >= 1 && every <= kMaxWeeks;
  return every == 1 || every == 2 || every == 3 || every == 6 || every == 12;
}

std::optional<Repetition> Repetition::parse(QStringView code) {
  if (code.size() < 2) return std::nullopt;
  const QChar u = code.back();
  if (u != u'm' && u != u'w') return std::nullopt;
  const std::optional<qint64> n = digitsValue(code.chopped(1), 1000);
  if (!n || (code.size() > 2 && code.front() == u'0')) return std::nullopt;
  const Repetition r{u == u'm' ? Unit::Months : Unit::Weeks, int(*n)};
  if (!allowed(r.unit, r.every)) return std::nullopt;
  return r;
}

QString Repetition::code() const { return QString::number(every) + (unit == Unit::Months ? u'm' : u'w'); }

QString Repetition::italian() const {
  if (unit == Unit::Weeks) return every == 1 ? u"ogni settimana"_qs : QStringLiteral("ogni %1 settimane").arg(every);
  if (every == 1) return u"ogni mese"_qs;
  if (every == 12) return u"ogni anno"_qs;
  return QStringLiteral("ogni %1 mesi").arg(every);
}

QString ScheduleEnd::italian() const {
  switch (kind) {
    case Kind::Never: return u"mai"_qs;
    case Kind::Until: return QStringLiteral("al %1").arg(formatDate(until));
    case Kind::Times: return times == 1 ? u"1 volta"_qs : QStringLiteral("%1 volte").arg(times);
  }
  return {};
}

// ---- schedule ------------------------------------------------------------------

QDate Schedule::occurrence(int i) const {
  if (repetition.unit == Repetition::Unit::Weeks) return first.addDays(qint64(7) * repetition.every * i);
  // From the first date each time: QDate puts a day the month lacks on its last day.
  return first.addMonths(repetition.every * i);
}

bool Schedule::withinEnd(int i) const {
  switch (end.kind) {
    case ScheduleEnd::Kind::Never: return true;
    case ScheduleEnd::Kind::Until: return occurrence(i) <= end.until;
    case ScheduleEnd::Kind::Times: return before + i < end.times;
  }
  return false;
}

std::optional<QDate> Schedule::next() const {
  if (stopped || !withinEnd(generated)) return std::nullopt;
  const QDate d = occurrence(generated);
  if (!d.isValid()) return std::nullopt;
  return d;
}

int Schedule::noticeDays() const { return parseNoticeDays(movement.Preavviso.trimmed()).value_or(0); }

TMovimento Schedule::occurrenceMovement(const QDate& date) const {
  TMovimento m = movement;
  m.Data.set(formatDate(date));
  m.DataSca.set(formatDate(date));
  m.Saldato.set(kNo);
  // The due list reads the notice as a whole number: a template without one
  // (a record from elsewhere) gives a movement with none, not one it skips.
  if (!parseNoticeDays(movement.Preavviso.trimmed())) m.Preavviso.set(u"0");
  const QString note = movement.Note.trimmed();
  m.Note.set(note.isEmpty() ? recurringNoteMark(number) : recurringNoteMark(number) + u" - "_qs + note);
  return m;
}

QString recurringNoteMark(int number) { return kMarkPrefix + QString::number(number); }

std::optional<int> recurringNumberOfNote(QStringView note) {
  if (!note.startsWith(kMarkPrefix)) return std::nullopt;
  QStringView rest = note.sliced(kMarkPrefix.size());
  qsizetype n = 0;
  while (n < rest.size() && isAsciiDigit(rest[n])) ++n;
  if (n == 0 || n > 9 || rest[0] == u'0') return std::nullopt;
  return int(digitsValue(rest.first(n), std::numeric_limits<int>::max()).value_or(0));
}

std::optional<QString> scheduleProblem(const Schedule& s) {
  if (!Repetition::allowed(s.repetition.unit, s.repetition.every))
    return u"La ripetizione scelta non è ammessa: ogni 1, 2, 3, 6 o 12 mesi, oppure ogni 1-52 settimane."_qs;
  if (!s.first.isValid() || s.first.year() < 1000 || s.first.year() > 9999)
    return u"La data del primo movimento non è valida."_qs;
  if (s.end.kind == ScheduleEnd::Kind::Until && (!s.end.until.isValid() || s.end.until < s.first))
    return u"La data di fine non può precedere la data del primo movimento."_qs;
  if (s.end.kind == ScheduleEnd::Kind::Times && (s.end.times < 1 || s.end.times > kMaxTimes))
    return QStringLiteral("Il numero di ripetizioni deve essere compreso tra 1 e %1.").arg(kMaxTimes);
  if (s.end.kind == ScheduleEnd::Kind::Times && s.end.times <= s.before)
    return QStringLiteral("Sono già stati inseriti %1 movimenti: il numero di ripetizioni deve essere maggiore.")
        .arg(s.before);
  return std::nullopt;
}

// ---- errors ---------------------------------------------------------------

RecurringError::RecurringError(Kind kind, QString detail, int sysError)
    : UserError(detail.toStdString()), kind_(kind), detail_(std::move(detail)), err_(sysError) {}

UserError::Kind RecurringError::errorKind() const {
  switch (kind_) {
    case Kind::Damaged: return UserError::Kind::Damaged;
    case Kind::NoSuchSchedule: return UserError::Kind::Input;
    case Kind::Invalid: return UserError::Kind::Refused;
    case Kind::Read:
    case Kind::Write:
    case Kind::Lock: break;
  }
  return UserError::Kind::System;
}

QString RecurringError::italian() const {
  switch (kind_) {
    case Kind::Read:
    case Kind::Lock:
      return u"Attenzione: il sistema non permette di leggere l'archivio dei movimenti ricorrenti "
             u"(Ricorrenti.json)."_qs +
             (err_ ? u" "_qs + systemErrorItalian(err_) : QString());
    case Kind::Damaged:
      return u"Attenzione: l'archivio dei movimenti ricorrenti (Ricorrenti.json) è danneggiato e non può essere "
             u"letto. Il file è stato lasciato com'è: ripristinarlo da una copia di sicurezza."_qs;
    case Kind::Write:
      return u"Attenzione: non è stato possibile salvare l'archivio dei movimenti ricorrenti (Ricorrenti.json). "_qs +
             WriteFailure{WriteFailure::Kind::System, err_}.italian();
    case Kind::NoSuchSchedule: return u"Il movimento ricorrente non esiste più."_qs;
    case Kind::Invalid: return detail_;
  }
  return detail_;
}

// ---- the file ---------------------------------------------------------------

QByteArray recurringFilePath(const QByteArray& folder) { return joinPath(folder, "Ricorrenti.json"); }
QByteArray recurringLockPath(const QByteArray& folder) { return joinPath(folder, "Ricorrenti.lock"); }

QByteArray schedulesToJson(const std::vector<Schedule>& schedules) {
  QJsonArray list;
  for (const Schedule& s : schedules) list.append(scheduleToJson(s));
  QJsonObject root;
  root.insert(u"formato"_qs, kFormat);
  root.insert(u"ricorrenze"_qs, list);
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

std::vector<Schedule> schedulesFromJson(const QByteArray& bytes) {
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(bytes, &pe);
  if (pe.error != QJsonParseError::NoError) damaged(QStringLiteral("not JSON: %1").arg(pe.errorString()));
  if (!doc.isObject()) damaged(u"not a JSON object"_qs);
  const QJsonObject root = doc.object();
  if (root.value(u"formato"_qs).toInt(-1) != kFormat || !root.value(u"ricorrenze"_qs).isArray())
    damaged(u"not a schedule list of format 1"_qs);
  std::vector<Schedule> out;
  std::set<int> numbers;
  const QJsonArray list = root.value(u"ricorrenze"_qs).toArray();
  for (int i = 0; i < list.size(); ++i) {
    Schedule s = scheduleFromJson(list[i], i);
    if (!numbers.insert(s.number).second) damaged(QStringLiteral("schedule number %1 twice").arg(s.number));
    out.push_back(std::move(s));
  }
  return out;
}

std::vector<Schedule> readSchedules(const QByteArray& folder) {
  const QByteArray path = recurringFilePath(folder);
  const SmallFile f = readSmallFile(path, kMaxFileBytes);
  switch (f.status) {
    case SmallFile::Status::Ok: break;
    case SmallFile::Status::Missing: return {};
    case SmallFile::Status::NotRegular:
      throw RecurringError(RecurringError::Kind::Read, displayPath(path) + u": not a regular file"_qs, EINVAL);
    case SmallFile::Status::TooLarge:
      damaged(displayPath(path) + u": too large"_qs);
    case SmallFile::Status::Failed:
      throw RecurringError(RecurringError::Kind::Read,
                           displayPath(path) + u": "_qs + QString::fromLocal8Bit(std::strerror(f.sysError)),
                           f.sysError);
  }
  try {
    return schedulesFromJson(f.bytes);
  } catch (const RecurringError& e) {
    damaged(displayPath(path) + u": "_qs + e.detail());
  }
}

int addSchedule(const QByteArray& folder, Schedule s) {
  s.generated = 0;
  s.before = 0;
  s.stopped = false;
  requireSound(s);
  updateSchedules(folder, [&](std::vector<Schedule>& list) {
    int last = 0;
    for (const Schedule& o : list) last = std::max(last, o.number);
    s.number = last + 1;
    list.push_back(s);
  });
  return s.number;
}

void stopSchedule(const QByteArray& folder, int number) {
  std::vector<Schedule> now = readSchedules(folder);
  scheduleNumbered(now, number);  // a number that names nothing takes no lock
  updateSchedules(folder, [&](std::vector<Schedule>& list) { scheduleNumbered(list, number).stopped = true; });
}

void changeSchedule(const QByteArray& folder, int number, const ScheduleChange& change) {
  if (!isAmountText(change.importo) || change.importo.size() > TMovimento().Importo.capacity - 1)
    throw RecurringError(RecurringError::Kind::Invalid, u"L'importo indicato non è valido."_qs);
  std::vector<Schedule> now = readSchedules(folder);
  scheduleNumbered(now, number);
  updateSchedules(folder, [&](std::vector<Schedule>& list) {
    Schedule& s = scheduleNumbered(list, number);
    if (s.stopped) throw RecurringError(RecurringError::Kind::Invalid, u"Il movimento ricorrente è sospeso."_qs);
    Schedule changed = s;
    if (s.generated > 0) {
      const QDate last = s.occurrence(s.generated - 1);
      if (change.next.isValid() && change.next <= last)
        throw RecurringError(RecurringError::Kind::Invalid,
                             QStringLiteral("La data del prossimo movimento deve seguire l'ultimo già inserito (%1).")
                                 .arg(formatDate(last)));
    }
    changed.before = s.before + s.generated;
    changed.generated = 0;
    changed.first = change.next;
    changed.repetition = change.repetition;
    changed.end = change.end;
    const QString total = s.movement.Totale.trimmed();
    const bool in = total.startsWith(u'+') || (!total.startsWith(u'-') && s.movement.Entrata.trimmed() == kSi);
    changed.movement.Importo.set(change.importo);
    changed.movement.Totale.set(signedAmount(in, change.importo));
    requireSound(changed);
    s = changed;
  });
}

// ---- generation -------------------------------------------------------------

void generateRecurring(const QByteArray& folder, const QDate& today, std::vector<GeneratedMovement>& added,
                       const GenerateOptions& options) {
  // Nothing due: no lock taken, nothing written (a read-only folder included).
  if (!anythingDue(readSchedules(folder), today)) return;

  const auto run = [&] {
    std::vector<Schedule> list = readSchedules(folder);
    std::map<int, std::vector<Planned>> byYear;
    for (size_t k = 0; k < list.size(); ++k) {
      const Schedule& s = list[k];
      if (s.stopped) continue;
      const int notice = s.noticeDays();
      for (int i = s.generated; s.withinEnd(i); ++i) {
        const QDate d = s.occurrence(i);
        if (!d.isValid() || d.year() > 9999 || d.addDays(-notice) > today) break;
        byYear[d.year()].push_back({k, i, d, s.number});
      }
    }
    std::vector<const Planned*> done;
    std::exception_ptr failure;
    for (auto& [year, plan] : byYear) {
      std::stable_sort(plan.begin(), plan.end(), [](const Planned& a, const Planned& b) {
        return a.date != b.date ? a.date < b.date : a.number < b.number;
      });
      try {
        generateYear(folder, yearTextOf(plan.front().date), plan, list, options.dryRun, added, done);
      } catch (...) {
        failure = std::current_exception();
        break;
      }
    }
    if (options.dryRun) {
      if (failure) std::rethrow_exception(failure);
      return;
    }
    if (options.afterAppend) options.afterAppend();
    // A schedule moves on over the occurrences now in the archives, in order.
    std::set<std::pair<size_t, int>> inArchive;
    for (const Planned* p : done) inArchive.insert({p->schedule, p->occurrence});
    bool progressed = false;
    for (size_t k = 0; k < list.size(); ++k) {
      while (inArchive.contains({k, list[k].generated})) {
        ++list[k].generated;
        progressed = true;
      }
    }
    if (progressed) {
      writeSchedules(folder, list);
    }
    if (failure) std::rethrow_exception(failure);
  };
  if (options.dryRun) return run();
  beforeWrite(recurringFilePath(folder));  // outside the lock: the copy may ask the user
  withScheduleLock(folder, run);
}

std::vector<GeneratedMovement> generateRecurring(const QByteArray& folder, const QDate& today,
                                                 const GenerateOptions& options) {
  std::vector<GeneratedMovement> added;
  generateRecurring(folder, today, added, options);
  return added;
}

QString generatedMessage(int count) {
  if (count == 1) return u"È stato inserito 1 movimento ricorrente."_qs;
  return QStringLiteral("Sono stati inseriti %1 movimenti ricorrenti.").arg(count);
}

}  // namespace fondaro
