// SPDX-License-Identifier: GPL-3.0-or-later
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
//
// With the matching of payments (planMatchedImport, importMatched) an entry
// that pays a stored unpaid movement (core/paymentmatch.h) settles it in place
// instead of being added, and the duplicate rule knows the movements settled.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <vector>

#include "core/archive.h"
#include "core/csvstatement.h"
#include "core/paymentmatch.h"
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
  Settles,  // pays a stored unpaid movement, which is settled in place (matching only)
};

// A stored movement awaiting payment that an entry of the statement may settle.
struct UnpaidMovement {
  matching::Unpaid due;  // its archive's year, position, due date, amount
  QString causale;
};

struct PlannedEntry {
  int number = 0;  // from 1, in statement order
  StatementEntry entry;
  EntryState state = EntryState::Skipped;
  // Matching: the best of the stored movements this entry may settle (a
  // short list of indexes into ImportPlan::unpaid), best first, and the one
  // it settles.
  std::vector<uint32_t> candidates;
  std::optional<uint32_t> settles;
  std::optional<UnpaidMovement> settled;  // a copy of the movement it settles
  bool refused = false;                   // the user refused its match
  int year() const { return entry.date.year(); }
};

// What the user decided for an entry that may settle a movement: refused
// (the entry is added as new) or another of its candidates.
struct MatchChoice {
  bool refused = false;
  int year = 0;         // the chosen movement's archive
  qint64 position = 0;  // and position
};
using MatchChoices = std::map<int, MatchChoice>;  // by entry number

struct ImportPlan {
  QString statementName;
  std::vector<PlannedEntry> entries;
  // In year order; only years with an entry added or present (with matching:
  // or a movement settled).
  std::vector<YearCount> years;
  bool matching = false;
  std::vector<UnpaidMovement> unpaid;  // matching: every candidate of an entry
  qint64 skipped() const;
};

// Of a write with matching: the movement entry `number` settled.
struct SettledEntry {
  int number = 0;
  int year = 0;
  qint64 position = 0;
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

// planImport with the matching of payments: an entry is also present when
// its year's archive or the year before's holds the movement it settled
// (Saldato "Sì", the same Totale, the Ricevuta settling writes); each new
// entry gets its candidates among the unpaid movements of those two archives
// (core/paymentmatch.h), and the one-to-one choice, best first, decides which
// entries settle a movement instead of being added.
ImportPlan planMatchedImport(const Statement& statement, const QByteArray& folder, const QString& statementName,
                             const ProgressFn& progress = {});
// The choice again after the user refused a match or chose another
// candidate: states, settled movements and the years' counts.
void chooseMatches(ImportPlan& plan, const MatchChoices& choices);
// The settlements a plan would write, in entry order.
std::vector<SettledEntry> settledEntries(const ImportPlan& plan);

// importStatement with the matching of payments: every archive concerned
// (each entry's year and the year before) is locked in year order; under the
// locks the duplicate check, the candidates and the choice (with `choices`)
// are made again on the archives as they are then, each settled movement is
// rewritten in place at its position (Saldato "Sì", Ricevuta, Note; nothing
// else changes), and the other new entries are appended. `settled` gets the
// settlements written, in entry order, also when ImportWriteError is thrown.
ImportResult importMatched(const Statement& statement, const QByteArray& folder, const QString& statementName,
                           const QSet<int>& leaveOut, const MatchChoices& choices, std::vector<SettledEntry>& settled,
                           const ProgressFn& progress = {});

// What settling writes into the stored movement `stored` paid by `entry`.
TMovimento settledMovement(TMovimento stored, const StatementEntry& entry);

// The column mapping the user gave for a CSV file whose header is not
// recognised, remembered in the program folder (ImportaEstratto.ini) for the
// next file with the same header (csvHeaderKey). Remembering is a convenience:
// a file that cannot be read or written remembers nothing.
std::optional<CsvColumns> rememberedColumns(const QByteArray& folder, const QString& headerKey);
void rememberColumns(const QByteArray& folder, const QString& headerKey, const CsvColumns& columns);

// "Importato da <name>"
QString importNote(const QString& statementName);

}  // namespace fondaro
