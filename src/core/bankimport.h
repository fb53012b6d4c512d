#pragma once
// A bank statement into the yearly movement archives: each entry becomes one
// movement of its booking year's archive ("<yyyy>.eur"), unless it is already
// there.
//
// The duplicate rule: an entry is already present when its archive holds a
// movement with the same Data and Totale and, when the entry has a bank
// reference, the same Ricevuta, else the same Causale (texts compared trimmed,
// as stored). Counting is by occurrence: k equal entries in the statement with
// m equal movements stored add max(0, k - m), so two real equal payments on
// one day both arrive and importing the same or an overlapping statement
// again adds nothing.
//
// Writing: the statement has been read whole before; each year's new
// movements go in under the archive's append lock, in batches of a few
// thousand so that a statement of any size is written in little memory. The
// duplicate check is made under the first batch's lock against the whole
// archive, and under each later one against what other running copies
// appended in between, so two imports of one statement at the same moment add
// it once. A failure leaves whole records only (see RecordFile::appendBlocks)
// and is told exactly: how many movements of each year are in its archive.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <functional>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/archive.h"
#include "core/csvstatement.h"
#include "core/progress.h"
#include "core/records.h"
#include "core/statement.h"

namespace fondaro {

// The movement an importable entry becomes: in or out by the sign, the booking
// date as Data and DataSca (so the due list reads it as settled), the amount
// as Importo and Totale, the description as Causale (blanks collapsed; the
// kind or the counterparty when the bank gave no description), the
// counterparty as Pagatore (money in) or Beneficiario (money out), the bank's
// reference as Ricevuta, the kind as Pagamento, Saldato "Sì", Preavviso "0",
// Note "Importato da <statementName>". Texts are cut to their fields.
TMovimento movementFromEntry(const StatementEntry& entry, const QString& statementName);

// For movements about to be added to one archive, in statement order, which
// are already present there by the duplicate rule.
std::vector<bool> alreadyPresent(const MovementArchive& archive, std::span<const TMovimento> candidates,
                                 const ProgressFn& progress = {});

enum class EntryState {
  New,      // would be added
  Present,  // already in its year's archive
  Skipped,  // not importable (its reason in the entry)
};

struct PlannedEntry {
  int number = 0;  // from 1, in statement order
  StatementEntry entry;
  EntryState state = EntryState::Skipped;
  int year() const { return entry.date.year(); }
};

// Per year archive: the movements added (or to add) and those already present.
struct YearCount {
  int year = 0;
  qint64 added = 0;
  qint64 present = 0;
};

struct ImportPlan {
  QString statementName;
  std::vector<PlannedEntry> entries;
  std::vector<YearCount> years;  // in year order; only years with an entry added or present
  qint64 skipped() const;
};

// What importing would do with the archives as they are now. Each year's
// archive in `folder` is read without a lock; a missing one counts as empty
// and is not created. Progress counts the records read.
ImportPlan planImport(const Statement& statement, const QByteArray& folder, const QString& statementName,
                      const ProgressFn& progress = {});

struct ImportResult {
  std::vector<YearCount> years;  // in year order; only years with an entry added or present
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

// Adds the statement's importable entries that are not present to the archives
// of `folder` (each opened, or created when missing), year by year in year
// order, in statement order within a year; a failing archive throws
// ImportWriteError after the other years are written. `leaveOut` holds the numbers of
// entries the user chose not to import. Progress counts the records checked
// under the lock; it is reported, never used to stop (the writing has begun).
ImportResult importStatement(const Statement& statement, const QByteArray& folder, const QString& statementName,
                             const QSet<int>& leaveOut = {}, const ProgressFn& progress = {});

// The column mapping the user gave for a CSV file whose header is not
// recognised, remembered in the program folder (ImportaEstratto.ini) for the
// next file with the same header (csvHeaderKey). Remembering is a convenience:
// a file that cannot be read or written remembers nothing.
std::optional<CsvColumns> rememberedColumns(const QByteArray& folder, const QString& headerKey);
void rememberColumns(const QByteArray& folder, const QString& headerKey, const CsvColumns& columns);

// "Importato da <name>"
QString importNote(const QString& statementName);

}  // namespace fondaro
