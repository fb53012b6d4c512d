// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Safety copies of the program's data: the archives ("<yyyy>.eur",
// "Clienti.pro"), the password file and the attachments folder, kept in the
// folder "Copie di sicurezza/" beside them (the program folder's for the
// program; the archive's folder for fondaro-tool).
//
// A copy is a folder of that copies folder, of one of three kinds:
//   "2024-05-01/"               the day copy: before the first write of a day
//                               to an archive or the password file, that file
//                               as it stands (the first copy of the day is
//                               kept, later writes add nothing);
//   "2024-05-01_10-15-30/"      a full copy made on request: every archive, the
//                               password file and "Documenti_Allegati/" ("-2",
//                               "-3" when two share a second);
//   "2024-05-01_10-15-30_prima-del-ripristino/"
//                               the full copy a restore makes of the files it
//                               is about to replace.
// Every copy holds a manifest (kManifestName) with the size and SHA-256 of
// each file; a copy is "verified" when every file matches it.
//
// How a file is copied: an archive is read under its lock
// (RecordFile::readLocked), so the copy holds whole records only; the bytes
// go to a temporary file (copied by the kernel where it can), which is synced,
// read back, compared with the file it was copied from and hashed, and only
// then renamed to its name. A full copy is built in a
// temporary folder and renamed when whole: a copy that fails or is cancelled
// leaves nothing behind, and an existing copy is never replaced.
//
// Only the day copies are removed by the program: the day folders older than
// the last keepDays() days that have copies, and of those only what the copy
// made (a folder named for a day without a day copy's manifest is the
// user's, and stays). Paths are the operating system's
// bytes (core/filepath.h).
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>
#include <stdexcept>

#include <optional>

#include "core/progress.h"
#include "core/replacefile.h"
#include "core/usererror.h"

namespace fondaro::safety {

inline constexpr char kCopiesFolderName[] = "Copie di sicurezza";
inline constexpr char kManifestName[] = "manifesto.txt";
// "[Copie] Giorni=N" in the copies folder: how many days of day copies are kept.
inline constexpr char kSettingsName[] = "impostazioni.ini";
inline constexpr int kDefaultKeepDays = 30;
inline constexpr int kMaxKeepDays = 3650;

// A copy that could not be made, listed or restored. Nothing was replaced.
class CopyError : public UserError {
 public:
  enum class Reason {
    System,      // sysError tells (disk full, read-only disk, permission, ...)
    Damaged,     // a file of the copy does not match its manifest (damage())
    NoManifest,  // a folder without a readable manifest: not a copy of ours
    NotFolder,   // the folder named does not exist or is not a folder
    Empty,       // nothing to copy: no archive, password file or attachment
  };
  enum class Damage { None, Missing, Size, Content, Manifest };
  CopyError(Reason reason, QByteArray path, int sysError = 0, Damage damage = Damage::None);
  // A file not written: the refusal's own words (a read-only file, a link into
  // an archive, ...) or the system error.
  CopyError(QByteArray path, const WriteFailure& why);
  Reason reason() const { return reason_; }
  Damage damage() const { return damage_; }
  int sysError() const { return err_; }
  // The file or folder concerned.
  const QByteArray& path() const { return path_; }
  // For the windows, in Italian; for fondaro-tool, in English.
  QString italian() const override;
  QString english() const override;
  UserError::Kind errorKind() const override;

 private:
  Reason reason_;
  QByteArray path_;
  int err_;
  Damage damage_;
  std::optional<WriteFailure> refusal_;
};

enum class CopyKind { Day, Full, BeforeRestore };

// "<folder>/Copie di sicurezza"
QByteArray copiesFolderOf(const QByteArray& dataFolder);
// The folder that holds a file ("." for a bare name).
QByteArray folderOfFile(const QByteArray& path);

// The number of days of day copies kept: from the settings file of the copies
// folder, kDefaultKeepDays when it is missing or unreadable, within 1..kMaxKeepDays.
int keepDays(const QByteArray& copiesFolder);
// Throws CopyError.
void setKeepDays(const QByteArray& copiesFolder, int days);

// ---- The day copy ---------------------------------------------------------

struct DayCopy {
  enum class Result {
    Made,         // copied now
    AlreadyMade,  // today's copy of this file was already there
    NoFile,       // no such file yet (or not a regular file): nothing to copy
  };
  Result result = Result::NoFile;
  QByteArray copy;  // the copied file in today's folder (Made, AlreadyMade)
};

// Takes today's copy of `file` (an archive or the password file) into the
// copies folder beside it, unless one is there; then (whether the copy was
// made now or before: a removal cut short by a power cut is finished) removes
// the day folders beyond keepDays(). Call it before writing the file. Throws
// CopyError when the copy cannot be made; the write should go on all the same.
DayCopy copyBeforeWriting(const QByteArray& file, const QDateTime& now = QDateTime::currentDateTime());

// Makes the day copy part of every write (core/writehook.h): before a write of
// an archive, the password file or the schedules' file, today's copy of it is
// taken, once per file and day in this process (tried once: a copy that
// failed is not tried again that day). A copy that cannot be made calls
// `failed` (the program warns, the tool prints a warning) and the write goes
// on: a missing copy never blocks the user's work. Installed once at start.
void installDayCopies(std::function<void(const QByteArray& file, const CopyError& why)> failed);
// Forgets which files this process copied today (a test's new run).
void forgetDayCopies();
// Whether a file of this name is one of the data files a copy takes (an
// archive, the password file, the schedules' file).
bool isDataFileName(const QByteArray& name);

// Removes the day copies of `copiesFolder` beyond the `keep` most recent ones:
// folders named "yyyy-mm-dd" (not links) holding a day copy's manifest, and
// of each only the files its manifest names and the manifest (last, once the
// files' removal is on disk), then the folder if that leaves it empty; and an
// empty folder so named older than the copies kept (what a power cut between
// a manifest's removal and its folder's leaves); nothing else, nothing
// outside. Returns the folders whose copies were removed.
QList<QByteArray> removeOldDayCopies(const QByteArray& copiesFolder, int keep);

// ---- Full copies ----------------------------------------------------------

struct FullCopy {
  QByteArray path;            // the copy's folder
  qint64 files = 0;
  qint64 bytes = 0;
  QList<QByteArray> skipped;  // files left out (a name a manifest cannot hold)
};

// Copies every archive, the password file and the attachments of `dataFolder`
// into a new folder of `parentFolder` (created for the copies folder; any other
// must exist), named after `now` and the kind. Progress is in bytes. Throws
// CopyError, or Cancelled when the progress callback says stop; either leaves
// no folder behind.
FullCopy makeFullCopy(const QByteArray& dataFolder, const QByteArray& parentFolder, CopyKind kind,
                      const ProgressFn& progress = {}, const QDateTime& now = QDateTime::currentDateTime());

// ---- Listing and verifying --------------------------------------------------

struct ManifestEntry {
  QByteArray name;  // relative to the copy's folder ("Documenti_Allegati/x.pdf")
  qint64 size = 0;
  QByteArray sha256;  // lower-case hex
};

struct Manifest {
  QDateTime made;
  CopyKind kind = CopyKind::Full;
  QList<ManifestEntry> files;
};

// Throws CopyError (NoManifest) when the manifest is missing or unreadable.
Manifest readManifest(const QByteArray& copyFolder);

struct Verification {
  enum class State { Verified, Damaged, NoManifest };
  State state = State::NoManifest;
  QByteArray file;  // Damaged: the first file that does not match
  CopyError::Damage damage = CopyError::Damage::None;
};

// Reads every file of the copy and compares it with the manifest. Progress in
// bytes; Cancelled when it says stop.
Verification verifyCopy(const QByteArray& copyFolder, const ProgressFn& progress = {});

struct CopyInfo {
  QByteArray path;
  QByteArray name;  // the folder's name
  CopyKind kind = CopyKind::Full;
  QDateTime made;
  qint64 files = 0;
  qint64 bytes = 0;
  Verification verification;  // state NoManifest unless verified
  bool verified = false;      // whether verification was done
};

// The copies in `copiesFolder` (folders of our naming only), newest first;
// each verified when `verify` (progress over all their bytes).
QList<CopyInfo> listCopies(const QByteArray& copiesFolder, bool verify = true, const ProgressFn& progress = {});

// ---- Restore ----------------------------------------------------------------

struct Restored {
  QByteArray before;              // the copy of the replaced files ("" when there were none)
  QList<QByteArray> restored;     // names put back, as the manifest has them
  QList<QByteArray> kept;         // data files of the folder a full copy does not hold: left as they are
  struct Failure {
    QByteArray name;
    QString italian;
    QString english;
  };
  QList<Failure> failed;          // names that could not be put back (the others were)
};

// Verifies `copyFolder` first (a damaged copy throws CopyError, nothing
// replaced); then makes a copy of the current files of `intoFolder` into its
// copies folder (a failure throws, nothing replaced); then puts back every
// file of the copy: each written beside its target, checked against the
// manifest and renamed over it. Progress in bytes over the whole work.
Restored restoreCopy(const QByteArray& copyFolder, const QByteArray& intoFolder, const ProgressFn& progress = {},
                     const QDateTime& now = QDateTime::currentDateTime());

// Removes what a killed backup, restore or write left behind in `dataFolder`
// and its copies folder (see removeStaleTemporaries). Backups, restores and
// the listing of copies do it first; the program does it at start.
void removeLeftovers(const QByteArray& dataFolder);

// The data files of a folder a full copy takes, relative to it: "*.eur",
// "Clienti.pro", "unins000.dll", "Ricorrenti.json", "Documenti_Allegati/<name>".
QList<QByteArray> dataFilesOf(const QByteArray& dataFolder);

}  // namespace fondaro::safety
