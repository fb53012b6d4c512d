// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// New movements into the yearly archives of a folder ("<yyyy>.eur"), each
// unless it is already there: the one writer of every import (bank
// statements, electronic invoices).
//
// The duplicate rule: a candidate is already present when its archive holds a
// movement with the same Data and Totale and, when the candidate has a
// Ricevuta (a bank's reference), the same Ricevuta, else the same Causale
// (texts compared trimmed, as stored). Counting is by occurrence: k equal
// candidates with m equal movements stored add max(0, k - m), so two real
// equal payments on one day both arrive and importing the same or an
// overlapping file again adds nothing.
//
// Writing: each year's new movements go in under the archive's append lock,
// in batches of a few thousand so that any number is written in little
// memory; a candidate's movement is made only when it is needed, so the
// candidates are never all held as records. The duplicate check is made under
// the first batch's lock against the whole archive, and under each later one
// against what other running copies appended in between, so two imports of
// one file at the same moment add it once. A failure leaves whole records only
// (see RecordFile::appendBlocks) and is told exactly: how many movements of
// each year are in its archive.
//
// Settling (settleAndAppend): a candidate may instead settle a stored
// movement, rewritten in place; every archive concerned is then held in year
// order for the whole write, and what to settle is decided under the locks.
#include <QByteArray>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <vector>

#include "core/archive.h"
#include "core/progress.h"
#include "core/records.h"
#include "core/usererror.h"

namespace fondaro {

// The movement of candidate k (from 0), made on demand; the same movement
// every time it is asked for.
using MovementOf = std::function<TMovimento(size_t k)>;

// One year's candidates, in the order they are to be appended.
struct YearCandidates {
  int year = 0;
  size_t count = 0;
  MovementOf movementOf;
  // For candidates that may instead settle a stored movement (a bank
  // payment): the Ricevuta settling candidate k would write. When set, the
  // duplicate rule learns settled movements: a candidate is also present when
  // its archive or the year before's holds a movement with Saldato "Sì", the
  // candidate's Totale and that Ricevuta (by occurrence, as above).
  std::function<QString(size_t k)> settledReceiptOf;
};

// For movements about to be added to one archive, in order, which are
// already present there by the duplicate rule.
std::vector<bool> alreadyPresent(const MovementArchive& archive, std::span<const TMovimento> candidates,
                                 const ProgressFn& progress = {});

// For each year (in the order given), which of its candidates are already
// present in its archive of `folder` as it is now: read without a lock; a
// missing archive counts as empty and is not created. Progress counts the
// records read over all the archives; returning false stops with
// Cancelled.
std::vector<std::vector<bool>> presentInYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                                              const ProgressFn& progress = {});

// Per year archive: the movements added (or to add), those already present,
// and the stored movements of the archive settled (or to settle) in place.
struct YearCount {
  int year = 0;
  qint64 added = 0;
  qint64 present = 0;
  qint64 paid = 0;
};

// A stored movement settled in place of appending candidate `candidate` of
// years[yearIndex]: the movement at `position` of archive `year`.
struct SettledAt {
  size_t yearIndex = 0;
  size_t candidate = 0;
  int year = 0;
  qint64 position = 0;
};

struct ImportResult {
  std::vector<YearCount> years;  // in year order; only years with a candidate or a movement paid
  std::vector<SettledAt> settled;  // the movements settled (whole in their archive), by archive and position
  qint64 added() const;
};

// Writing failed at one archive or more. The archives are independent: a year
// whose archive fails does not stop the others, so everything that can be
// written is. result() has every year concerned, in year order, a failing one
// with the movements whole in its archive as added (those written before the
// failure and, for a failed sync or close after the write, the whole batch:
// the records count as stored, see ArchiveError::writtenAt). Nothing else
// changed.
class ImportWriteError : public UserError {
 public:
  struct YearFailure {
    int year = 0;
    ArchiveError error;
    bool checked = false;  // the duplicate check was made: the year's counts are whole
  };
  ImportWriteError(ImportResult result, std::vector<YearFailure> failures);
  const ImportResult& result() const { return result_; }
  const std::vector<YearFailure>& failures() const { return failures_; }  // in year order, at least one
  // The first failure: its error, its year, the movements of that year in
  // its archive, and the years before it.
  const ArchiveError& archiveError() const { return failures_.front().error; }
  int year() const { return failures_.front().year; }
  qint64 writtenInYear() const { return writtenInYear_; }
  const ImportResult& done() const { return done_; }
  // The first failure's words.
  UserError::Kind errorKind() const override { return archiveError().errorKind(); }
  QString english() const override { return archiveError().english(); }
  QString italian() const override { return archiveError().italian(); }

 private:
  ImportResult result_;
  std::vector<YearFailure> failures_;
  ImportResult done_;
  qint64 writtenInYear_ = 0;
};

// Appends each year's candidates that are not present to its archive of
// `folder` (opened, or created when missing), year by year in the order given
// (year order), in candidate order within a year; a failing archive throws
// ImportWriteError after the other years are written. Progress counts the
// records checked under the lock; it is reported, never used to stop (the
// writing has begun).
// Candidates with settledReceiptOf are written as settleAndAppend writes
// them, with nothing to settle.
ImportResult appendToYears(const QByteArray& folder, const std::vector<YearCandidates>& years,
                           const ProgressFn& progress = {});

// Open yearly archives of a folder by year: read without a lock for a plan,
// or held (the write lock of each, taken in year order) while settling.
class YearArchives {
 public:
  // The existing archives of `years` in `folder`, open for reading; a
  // missing one is left out, any other failure throws ArchiveError.
  static YearArchives forReading(const QByteArray& folder, const std::set<int>& years);
  // nullptr when the archive is not open (missing, or failed).
  const MovementArchive* find(int year) const;
  std::vector<int> years() const;
  void add(int year, std::unique_ptr<MovementArchive> archive);
  MovementArchive* findMutable(int year);

 private:
  std::map<int, std::unique_ptr<MovementArchive>> archives_;
};

// The same as presentInYears on archives already open (a settled-movement
// rule reads each year's archive and the year before's).
std::vector<std::vector<bool>> presentIn(const YearArchives& archives, const std::vector<YearCandidates>& years,
                                         const ProgressFn& progress = {});

// A stored movement rewritten in place instead of appending a candidate:
// candidate `candidate` of years[yearIndex] settles the movement at
// `position` of archive `year`, which becomes `record`.
struct InPlace {
  SettledAt at;
  TMovimento record;
};
// Decides the in-place writes under the locks, from the archives as they are
// then and each year's candidates already present.
using ChooseInPlace =
    std::function<std::vector<InPlace>(const YearArchives& held, const std::vector<std::vector<bool>>& present)>;

// appendToYears with settling: every archive concerned (each candidate year,
// opened or created, and the year before it, when it exists) is held, in
// year order, for the whole write. Under the locks the duplicate check is
// made, `choose` decides the movements to settle, each is rewritten in place
// at its position, then each year's remaining candidates are appended in
// candidate order. A candidate that settles is never appended, also when its
// write fails. An archive that fails is written no more; the others go on,
// and ImportWriteError tells each year's counts (paid on the line of the
// archive of the settled movement).
ImportResult settleAndAppend(const QByteArray& folder, const std::vector<YearCandidates>& years,
                             const ChooseInPlace& choose, const ProgressFn& progress = {});

// "2024": a year as its archive's name has it.
QString archiveYearText(int year);

}  // namespace fondaro
