// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Electronic invoices into the yearly movement archives, the address book and
// the attachments folder: each instalment of an invoice becomes an unpaid
// movement with its due date, the counterparty a card of "Clienti.pro" when
// it is not there, the invoice file, a readable copy (PDF) and the invoice's
// first embedded attachment the movement's attachments.
//
// Plan, then write: planInvoiceImport reads the archives (no lock, nothing
// written) and tells every file, body and instalment what would happen;
// importInvoices writes what the plan says (the user may leave instalments
// out): the attachment files first (core/replacefile.h storeNewFiles, all
// synced before any record names them; a file already there
// with the same bytes is shared, one with other bytes is never replaced: the
// new one takes "<name> (2).<ext>", 3, 4, ...), then the cards as one locked
// batch of Clienti.pro (looked up again under the lock), then the movements
// through the one import writer (core/yearbatch.h appendToYears: per year
// one locked batch, the duplicate rule checked inside the lock). Every write
// of an archive passes core/writehook.h (the day copies) before it writes.
//
// Direction: a body is received (money out) when the buyer
// (CessionarioCommittente) is the company, issued (money in) when the seller
// (CedentePrestatore) is; a TD04, or any document whose total is negative, is
// reversed once. The counterparty is the other party. Amounts are absolute.
//
// Duplicates: an instalment is already present when its year's archive holds
// a movement with the same Data, Totale and Causale (compared trimmed), or the
// same run met it before (in reading order): importing the same zip twice, or
// a file also inside a zip already imported, adds nothing.
//
// Address book: the counterparty is looked up by its Italian VAT number when
// it has one, else by its tax code when it has one, else by its name (trimmed,
// without regard to case). A card already there is never changed; a missing
// one is added once per run.
#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

#include "core/einvoice.h"
#include "core/invoicefiles.h"
#include "core/progress.h"
#include "core/records.h"
#include "core/usererror.h"
#include "core/yearbatch.h"

namespace fondaro {

// ---- Settings ---------------------------------------------------------------

// The program folder's settings of the import, "FattureElettroniche.ini"
// (QSettings, INI): the company's identifiers and the days of notice.
inline constexpr char kInvoiceSettingsFileName[] = "FattureElettroniche.ini";
inline constexpr int kDefaultInvoiceNotice = 5;

struct InvoiceSettings {
  QStringList ownIds;  // VAT numbers and/or tax codes of the company, as the user gave them
  int notice = kDefaultInvoiceNotice;
};

// The settings of `folder`; the defaults (no identifier) when there are none
// or they cannot be read.
InvoiceSettings readInvoiceSettings(const QByteArray& folder);
// Writes them; false when the file cannot be written.
bool writeInvoiceSettings(const QByteArray& folder, const InvoiceSettings& settings);

// An identifier as compared: blanks removed, upper case.
QString normalisedOwnId(QStringView id);
// What the program's checks say of an identifier of the company, in Italian:
// nothing when it passes (an 11-digit VAT number or a 16-character tax code),
// else the warning ("La partita IVA 01234567891 non è valida."). An
// identifier is kept even when it fails: the window only warns.
std::optional<QString> ownIdWarning(QStringView id);

// ---- The plan ---------------------------------------------------------------

enum class InvoiceDirection {
  In,   // money in: an issued invoice, a received credit note
  Out,  // money out: a received invoice, an issued credit note
};

enum class InstalmentState {
  New,      // would be added
  Present,  // already in its year's archive, or met earlier in the run
  LeftOut,  // the user left it out: for the window's list, the planner never sets it
};

// One attachment to store in the attachments folder: the name it has in the
// plan (the wanted name made safe, numbered away from a different file of the
// same name already there or planned before in the run) and where its bytes
// come from. importInvoices decides the final name again when it writes (a
// file may have appeared meanwhile) and the movements name the final one.
struct PlannedAttachment {
  enum class Source { Original, ReadableCopy, Embedded };
  Source source = Source::Original;
  QString wantedName;   // "IT01234567890_00001.pdf", made safe
  QString name;         // as planned: wantedName or "<stem> (2).<ext>"
  bool shared = false;  // a file of that name with the same bytes is already there
  int file = 0;         // index into InvoicePlan::files
  int body = 0;         // Embedded: index into the file's bodies
};

struct PlannedInstalment {
  int id = 0;           // from 1 over the whole plan: the window's tick, leaveOut's key
  int k = 0;            // from 1 ...
  int n = 0;            // ... of n instalments of the body
  QDate date;           // the document's date (Data; the year archive)
  QDate due;            // DataSca
  qint64 cents = 0;     // absolute
  QString method;       // ModalitaPagamento in words, "" when none
  QString iban;
  InstalmentState state = InstalmentState::New;
  // The movement as it will be written, its attachment names as planned.
  TMovimento movement;

  int year() const { return date.year(); }
};

struct PlannedBody {
  int index = 0;                 // B, from 1 in the file
  QString type;                  // "TD01"
  QString kind;                  // "Fattura", "Nota di credito"
  QString number;                // Numero
  QDate date;
  QString counterparty;          // the other party's name
  InvoiceDirection direction = InvoiceDirection::Out;
  qint64 totalCents = 0;         // the document's total, absolute
  QString skipReason;            // why skipped (Italian); empty when not
  QStringList warnings;          // Italian: a code that fails the checks ("partita IVA ... non valida")
  std::vector<PlannedInstalment> instalments;
  int card = -1;                 // index into InvoicePlan::cards of the card this body adds, or -1
  int embedded = -1;             // index into InvoicePlan::attachments of File03, or -1

  bool skipped() const { return !skipReason.isEmpty(); }
};

struct PlannedFile {
  InvoiceFileRead read;          // the file, its bytes and its invoice (or why none)
  QString skipReason;            // why the whole file is skipped (Italian); empty when not
  std::vector<PlannedBody> bodies;
  int original = -1;             // index into InvoicePlan::attachments of File01, or -1
  int copy = -1;                 // of File02, or -1

  // A metadata file: passed over silently (not listed, not counted).
  bool silent() const { return read.silent(); }
  bool skipped() const { return !skipReason.isEmpty(); }
};

struct PlannedCard {
  TCliente card;                 // as it will be appended
  int file = 0;                  // the file (index) and body (index) that bring it
  int body = 0;
  enum class Key { PartitaIva, CodFisc, Name } key = Key::Name;
  QString keyText;               // the VAT number, tax code or name looked up
};

struct InvoicePlan {
  std::vector<PlannedFile> files;  // in reading order (PlannedFile::read.number)
  std::vector<PlannedCard> cards;  // in order of first meeting
  std::vector<PlannedAttachment> attachments;
  std::vector<YearCount> years;    // in year order; years with an instalment new or present
  int notice = kDefaultInvoiceNotice;

  // Files and bodies skipped (metadata files not counted).
  qint64 skipped() const;
  // The instalment with this id, or null.
  const PlannedInstalment* instalment(int id) const;
};

// The readable copy (File02's bytes) of one invoice file, a PDF made by the
// report engine; the caller gives it (the window's report engine, the tool's
// PDF module) so that the core needs no graphics. Called only for files with
// an instalment to add: by the planner when a stored file has the copy's name
// (to compare), by importInvoices to write it. The same file should give the
// same bytes, so that an import made twice shares the copy. An empty result
// means no copy: the movements then have no File02.
using ReadableCopyMaker = std::function<QByteArray(const InvoiceFileRead& file)>;

struct InvoicePlanOptions {
  QStringList ownIds;            // the company's identifiers; at least one
  int notice = kDefaultInvoiceNotice;  // Preavviso, days
  ReadableCopyMaker makeReadableCopy;  // empty: no File02
};

// What importing `files` (readInvoiceInputs) into the program folder `folder`
// would do, with the archives, Clienti.pro and the attachments folder as they
// are now: read without a lock, nothing created. Progress counts the records
// read; returning false stops with Cancelled.
InvoicePlan planInvoiceImport(std::vector<InvoiceFileRead> files, const QByteArray& folder,
                              const InvoicePlanOptions& options, const ProgressFn& progress = {});

// ---- Writing ----------------------------------------------------------------

struct InvoiceImportResult {
  std::vector<YearCount> years;  // in year order; only years with an instalment added or present
  qint64 cardsAdded = 0;
  qint64 attachmentsStored = 0;  // files written into the attachments folder
  qint64 attachmentsShared = 0;  // files already there with the same bytes
  qint64 added() const;
};

// Writing failed. What was written is in result(): the attachments stored,
// the cards added (all or none: one batch) and, per year, the movements whole
// in each archive (see ImportWriteError). Nothing else changed.
class InvoiceWriteError : public UserError {
 public:
  enum class Stage { Attachments, Cards, Movements };
  InvoiceWriteError(Stage stage, InvoiceImportResult result, QString english, QString italian,
                    UserError::Kind kind, std::vector<ImportWriteError::YearFailure> yearFailures = {});
  Stage stage() const { return stage_; }
  const InvoiceImportResult& result() const { return result_; }
  // At the Movements stage: each failing year (see ImportWriteError).
  const std::vector<ImportWriteError::YearFailure>& yearFailures() const { return yearFailures_; }
  UserError::Kind errorKind() const override { return kind_; }
  QString english() const override { return english_; }
  QString italian() const override { return italian_; }

 private:
  Stage stage_;
  InvoiceImportResult result_;
  QString english_;
  QString italian_;
  UserError::Kind kind_;
  std::vector<ImportWriteError::YearFailure> yearFailures_;
};

// Writes what `plan` says into the program folder `folder` (the plan made for
// it), leaving out the instalments whose ids are in `leaveOut` (a card, an
// attachment only one left out instalment needed is not written either).
// Each year's archive is opened or created; Clienti.pro and the attachments
// folder are created when needed. Throws InvoiceWriteError when a write
// fails, after writing what can be. Progress counts the records checked under
// the locks; it is reported, never used to stop.
InvoiceImportResult importInvoices(const InvoicePlan& plan, const QByteArray& folder,
                                   const ReadableCopyMaker& makeReadableCopy, const QSet<int>& leaveOut = {},
                                   const ProgressFn& progress = {});

// ---- Shared texts -----------------------------------------------------------

// "Fattura elettronica (file originale)", "Fattura elettronica (copia
// leggibile)", "Allegato della fattura".
extern const char kOriginalDescription[];
extern const char kReadableCopyDescription[];
extern const char kEmbeddedDefaultDescription[];

// The readable copy's name: the invoice file's name without its ".p7m" and
// ".xml" endings, plus ".pdf" ("IT01234567890_00001.xml.p7m" gives
// "IT01234567890_00001.pdf").
QString readableCopyName(const QString& invoiceFileName);

// A name the attachments folder takes (core/attachments.h: no path, no
// control character, storable in the code page, within the capacity): the
// given one, else with the offending characters replaced by "_" and cut
// keeping the extension; "allegato" when nothing is left.
QString safeAttachmentName(const QString& wanted);

// "<stem> (k).<ext>" ("fattura.pdf", 2 gives "fattura (2).pdf"; a name
// without extension gets " (k)" at the end).
QString numberedAttachmentName(const QString& name, int k);

// "Importato da <name>"; "Inserito da fattura elettronica <name>".
QString invoiceImportNote(const QString& shownName);
QString invoiceCardNote(const QString& shownName);

// The line of an instalment's state for the window's list: "nuova", "già
// presente", "esclusa".
QString instalmentStateText(InstalmentState state);

}  // namespace fondaro
