#pragma once
// A bank statement into the yearly movement archives: each entry becomes one
// movement of its booking year's archive ("<yyyy>.eur"), unless it is already
// there.
//
// The duplicate rule and the writing are those of every import
// (core/yearbatch.h): an entry is already present when its archive holds a
// movement with the same Data and Totale and, when the entry has a bank
// reference, the same Ricevuta, else the same Causale; counted by occurrence,
// so two real equal payments on one day both arrive and importing the same or
// an overlapping statement again adds nothing.
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
#include "core/yearbatch.h"

namespace fondaro {

// The movement an importable entry becomes: in or out by the sign, the booking
// date as Data and DataSca (so the due list reads it as settled), the amount
// as Importo and Totale, the description as Causale (blanks collapsed; the
// kind or the counterparty when the bank gave no description), the
// counterparty as Pagatore (money in) or Beneficiario (money out), the bank's
// reference as Ricevuta, the kind as Pagamento, Saldato "Sì", Preavviso "0",
// Note "Importato da <statementName>". Texts are cut to their fields.
TMovimento movementFromEntry(const StatementEntry& entry, const QString& statementName);

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
