// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A bank statement as the import reads it: the bank's movements, each one
// entry of one kind whatever the file's format. One reader per format gives
// them: CAMT.053 (ISO 20022 XML), OFX (1.x SGML and 2.x XML, through libofx)
// and the CSV files of Italian home banking.
//
// A reader reads the whole statement before anything is done with it: a
// statement that cannot be read, or an entry whose amount or date cannot be
// read, is an error for the whole statement (StatementError), never a partial
// result. An entry that is read but must not become a movement (not booked,
// another currency) is kept with its reason, so that it is reported, not lost.
#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>
#include <vector>

#include "core/progress.h"
#include "core/usererror.h"

namespace fondaro {

enum class StatementFormat { Camt, Ofx, Csv };

// Why an entry read from the statement is not imported.
enum class SkipReason {
  None,
  NotBooked,      // a status other than booked (pending, information); detail: the status
  OtherCurrency,  // not euro; detail: the currency, empty when the statement does not name it
  ZeroAmount,     // no money moved
  SubCent,        // an amount with a fraction of a cent
};

struct StatementEntry {
  QDate date;            // the booking date
  qint64 cents = 0;      // signed: above zero money in, below zero money out
  QString currency;      // ISO 4217, upper case ("EUR")
  QString description;   // the bank's wording of the movement
  QString counterparty;  // who paid (money in) or who was paid (money out)
  QString reference;     // the bank's own reference of the movement
  QString kind;          // the kind of transaction in the statement's words ("Bonifico")
  SkipReason skip = SkipReason::None;
  QString skipDetail;

  bool importable() const { return skip == SkipReason::None; }
  bool in() const { return cents > 0; }
};

struct Statement {
  StatementFormat format = StatementFormat::Csv;
  std::vector<StatementEntry> entries;  // in statement order
};

// Why a statement cannot be imported; nothing is written for it. The English
// text does not name the file (the tool puts its path before it once); the
// Italian one does where the window needs it.
class StatementError : public UserError {
 public:
  enum class Kind {
    Unreadable,     // the file cannot be read
    UnknownFormat,  // neither CAMT.053, OFX nor a CSV file
    Malformed,      // damaged XML or OFX, an unclosed quote in a CSV file
    BadEntry,       // an entry with an amount, a date or a direction that cannot be read
    UnknownColumns, // a CSV file whose columns are not recognised and not mapped
  };
  StatementError(Kind kind, QString english, QString italian);
  Kind kind() const { return kind_; }
  // For the command-line tool.
  const QString& describe() const { return english_; }
  // For the windows.
  const QString& message() const { return italian_; }
  UserError::Kind errorKind() const override;
  QString english() const override { return english_; }
  QString italian() const override { return italian_; }

 private:
  Kind kind_;
  QString english_;
  QString italian_;
};

// The reason an entry is skipped, in Italian (the windows) and English (the tool).
QString skipReasonText(const StatementEntry& e);
// Sets the skip a readable entry gets for its currency or amount, in the order
// every reader applies them: not in euro, a fraction of a cent, a zero amount.
void skipByCurrencyAndAmount(StatementEntry& e, bool fractionOfCent);
QString skipReasonEnglish(const StatementEntry& e);

// ---- Shared rules of the readers -------------------------------------------

// Runs of blanks, tabs and line breaks become one blank; the ends are trimmed.
QString collapseBlanks(QStringView text);

// An amount as a bank writes it, in cents: "1.234,56", "-1.234,56", "1234.56",
// "1234,5", "+12", with an optional "€" or "EUR" before or after it. A lone "."
// followed by exactly three digits groups thousands ("1.234" is 1234,00), as
// Italian banks write it. Decimals beyond the second are allowed only as
// zeros unless `fractionOfCent` is given, which is then set when they are not.
// Nothing for a text that is not an amount or does not fit 12 digits of euros.
std::optional<qint64> parseBankAmount(QStringView text, bool* fractionOfCent = nullptr);

// "1250,00": the absolute amount of cents as the archives write amounts.
QString centsText(qint64 cents);

// A date as a statement writes it: dd/mm/yyyy, dd/mm/yy (20yy), yyyy-mm-dd,
// and dd-mm-yyyy or dd.mm.yyyy; a time after it is ignored.
struct BankDate {
  enum class Status { NotADate, Bad, Ok };
  Status status = Status::NotADate;
  QDate date;
};
// NotADate for a text that does not have the shape of a date ("Saldo finale",
// an empty cell); Bad for one that has it but names no real day ("31/02/2024").
BankDate parseBankDate(QStringView text);

// ---- The readers ------------------------------------------------------------

// Each format has its reader: core/camtreader.h, core/csvstatement.h and
// core/ofxreader.h. readStatementFile picks the one the file asks for.

// The columns of a CSV statement, counted from 0; -1 when absent. Either
// `amount` (signed) or both `out` and `in` are set. Here rather than with the
// CSV reader because a caller hands it to readStatementFile (ReadOptions).
struct CsvColumns {
  int date = -1;
  int amount = -1;
  int out = -1;
  int in = -1;
  int description = -1;
  int counterparty = -1;
  int reference = -1;
  int kind = -1;
  int currency = -1;
  int headerRow = 0;  // the row of the column names; entries come after it

  bool operator==(const CsvColumns&) const = default;
  bool valid() const { return date >= 0 && (amount >= 0 || (out >= 0 && in >= 0)); }
};

// The format told by the content: XML naming an ISO 20022 bank-to-customer
// document, an OFX header or element, else CSV. Nothing for XML of another kind.
std::optional<StatementFormat> detectStatementFormat(const QByteArray& head);

struct ReadOptions {
  std::optional<StatementFormat> format;  // detected when not given
  std::optional<CsvColumns> columns;      // recognised from the header when not given
};
// Reads a statement file whole (a file above 256 MiB is refused as unreadable).
Statement readStatementFile(const QByteArray& nativePath, const ReadOptions& options = {},
                            const ProgressFn& progress = {});

}  // namespace fondaro
