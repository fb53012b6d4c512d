// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Recurring movements: a movement entered once (rent, fees, a subscription)
// with a repetition, a first date and an end, generated into the yearly
// archives on its dates.
//
// - A schedule keeps its own copy of the movement (the template): a later
//   change of the card it came from does not change it.
// - Occurrence i (from 0) falls on the first date plus i repetitions, counted
//   from the first date each time: a schedule on the 31st falls on the last
//   day of a shorter month and comes back to the 31st after it; every 12
//   months from 29 February falls on 28 February, and on the 29th in leap years.
// - An end date is included; an end by count is the number of occurrences.
// - An occurrence is generated when its date minus the template's notice days
//   is not later than today, so that it shows in the due list in time.
//
// The schedules live in "Ricorrenti.json" in the program folder: UTF-8 JSON
// text that a person can read, with every field of the template by its record
// name. It is replaced whole (temporary file, sync, rename) under an advisory
// lock held on "Ricorrenti.lock", so that two running copies changing
// schedules at once never lose each other's change. A file that cannot be read
// as schedules is reported and never replaced.
//
// The generation holds that lock throughout, and appends each archive's
// occurrences under the archive's own append lock after checking what the
// archive already holds: a generated movement is recognised by its note,
// "Ricorrente n. K" (K the schedule's number), and its date. So an occurrence
// is added once, also when the program was stopped between the append and the
// recording of the schedule's progress, or when two copies generate at once.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <functional>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/records.h"
#include "core/usererror.h"

namespace fondaro {

// "Every 1, 2, 3, 6 or 12 months" or "every N weeks" (N from 1 to 52).
struct Repetition {
  enum class Unit { Months, Weeks };
  Unit unit = Unit::Months;
  int every = 1;

  // "1m", "2m", "3m", "6m", "12m", "Nw"; nothing for anything else.
  static std::optional<Repetition> parse(QStringView code);
  static bool allowed(Unit unit, int every);
  QString code() const;
  // "ogni mese", "ogni 3 mesi", "ogni anno", "ogni settimana", "ogni 2 settimane".
  QString italian() const;
  friend bool operator==(const Repetition&, const Repetition&) = default;
};

struct ScheduleEnd {
  enum class Kind { Never, Until, Times };
  Kind kind = Kind::Never;
  QDate until;    // Until: the last day an occurrence may fall on (included)
  int times = 0;  // Times: how many occurrences in all, from 1
  // "mai", "al 31/12/2025", "12 volte".
  QString italian() const;
  friend bool operator==(const ScheduleEnd&, const ScheduleEnd&) = default;
};

struct Schedule {
  int number = 0;  // from 1, never given to another schedule
  Repetition repetition;
  QDate first;  // the date of occurrence 0
  ScheduleEnd end;
  // Occurrences before `first` from earlier settings of the schedule (a
  // change moves `first` on); an end by count counts them too.
  int before = 0;
  // Occurrences from `first` already generated (or found in the archive).
  int generated = 0;
  bool stopped = false;
  TMovimento movement;  // the template

  // The date of occurrence i from `first`.
  QDate occurrence(int i) const;
  // Whether occurrence i from `first` is within the end.
  bool withinEnd(int i) const;
  // The next occurrence's date; nothing when the schedule has ended or is stopped.
  std::optional<QDate> next() const;
  // The notice days of the template (a text that is not a whole number counts as 0).
  int noticeDays() const;
  // The movement of the occurrence on `date`: the template with Data and
  // DataSca on that date, not settled, the note marked (see recurringNoteMark),
  // and a notice of "0" where the template's is not a whole number.
  TMovimento occurrenceMovement(const QDate& date) const;
};

// "Ricorrente n. K", the start of a generated movement's note.
QString recurringNoteMark(int number);
// The schedule number of a note that starts with the mark, or nothing.
std::optional<int> recurringNumberOfNote(QStringView note);

class RecurringError : public UserError {
 public:
  enum class Kind {
    Read,      // the file exists but cannot be read (sysError tells)
    Damaged,   // its content is not a list of schedules (detail tells)
    Write,     // the new file could not be written (sysError tells)
    Lock,      // the lock file cannot be opened
    NoSuchSchedule,
    Invalid,   // a schedule that cannot be kept as asked (detail tells)
  };
  RecurringError(Kind kind, QString detail, int sysError = 0);
  Kind kind() const { return kind_; }
  int sysError() const { return err_; }
  const QString& detail() const { return detail_; }
  // For the windows: what went wrong, in Italian.
  QString italian() const override;
  QString english() const override { return detail_; }
  UserError::Kind errorKind() const override;

 private:
  Kind kind_;
  QString detail_;
  int err_;
};

// "<program folder>Ricorrenti.json" and its lock file.
QByteArray recurringFilePath(const QByteArray& programFolder);
QByteArray recurringLockPath(const QByteArray& programFolder);

// The schedules of the folder in the file's order; none when there is no file.
// Throws RecurringError (Read, Damaged).
std::vector<Schedule> readSchedules(const QByteArray& programFolder);

// The file's bytes for a list of schedules, and back (Damaged on failure).
QByteArray schedulesToJson(const std::vector<Schedule>& schedules);
std::vector<Schedule> schedulesFromJson(const QByteArray& bytes);

// Why a schedule's settings cannot be kept, in Italian; nothing when they can.
std::optional<QString> scheduleProblem(const Schedule& s);

// Adds a schedule (its number is given here) and returns the number.
// Throws RecurringError (Invalid and the file's errors); nothing is written then.
int addSchedule(const QByteArray& programFolder, Schedule s);
// Stops a schedule: it stays listed, stopped, and generates nothing more.
void stopSchedule(const QByteArray& programFolder, int number);
// New settings for a schedule: repetition, the date of the next occurrence,
// end, and the template's amount. The occurrences generated so far stay
// generated; the next one falls on `next`, which must come after them.
struct ScheduleChange {
  Repetition repetition;
  QDate next;
  ScheduleEnd end;
  QString importo;  // an amount text ("650,00"); Totale keeps its sign
};
void changeSchedule(const QByteArray& programFolder, int number, const ScheduleChange& change);

// ---- generation --------------------------------------------------------

struct GeneratedMovement {
  QString yearText;  // "2025": the archive is "<yearText>.eur"
  qint64 position = 0;
  QDate date;
  int schedule = 0;
  QString causale;
};

struct GenerateOptions {
  bool dryRun = false;  // nothing is written; positions are where they would go
  // Called after the archives were appended to and before the schedules'
  // progress is recorded (tests stop the run there).
  std::function<void()> afterAppend;
};

// Generates every occurrence whose time has come by `today` into the archive
// of its date's year, in date order within each archive. Throws
// RecurringError for the schedule file and ArchiveError for an archive; the
// occurrences appended before a failure stay and the progress of those is
// recorded before the error is thrown.
// `added` gets each movement as its archive takes it, so that after a failure
// it names those that were added.
void generateRecurring(const QByteArray& programFolder, const QDate& today, std::vector<GeneratedMovement>& added,
                       const GenerateOptions& options = {});
std::vector<GeneratedMovement> generateRecurring(const QByteArray& programFolder, const QDate& today,
                                                 const GenerateOptions& options = {});

// "Sono stati inseriti 3 movimenti ricorrenti." ("È stato inserito 1 movimento ricorrente.").
QString generatedMessage(int count);

}  // namespace fondaro
