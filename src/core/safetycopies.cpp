#include "core/safetycopies.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <exception>
#include <map>
#include <optional>
#include <vector>

#include "core/archive.h"
#include "core/attachments.h"
#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/recurring.h"
#include "core/replacefile.h"
#include "core/writehook.h"

namespace fondaro::safety {

namespace {

constexpr char kManifestTitle[] = "Fondaro: copia di sicurezza";
constexpr char kBeforeRestoreSuffix[] = "_prima-del-ripristino";
constexpr char kSettingsSection[] = "Copie";
constexpr char kSettingsKey[] = "Giorni";
constexpr qint64 kBlock = 1 << 20;
constexpr qint64 kMaxManifestBytes = 16 << 20;

const char* kindWord(CopyKind k) {
  switch (k) {
    case CopyKind::Day: return "giornaliera";
    case CopyKind::Full: return "completa";
    case CopyKind::BeforeRestore: return "prima-del-ripristino";
  }
  return "completa";
}

QString dayName(const QDate& d) { return d.toString(u"yyyy-MM-dd"_qs); }
QString stampName(const QDateTime& t) { return t.toString(u"yyyy-MM-dd_HH-mm-ss"_qs); }

const QRegularExpression& dayPattern() {
  static const QRegularExpression re(u"^(\\d{4}-\\d{2}-\\d{2})$"_qs);
  return re;
}
const QRegularExpression& stampPattern() {
  static const QRegularExpression re(u"^(\\d{4}-\\d{2}-\\d{2}_\\d{2}-\\d{2}-\\d{2})(_prima-del-ripristino)?(-\\d+)?$"_qs);
  return re;
}

// The kind and moment a copy's folder name tells, or nothing for any other name.
std::optional<std::pair<CopyKind, QDateTime>> parseCopyName(const QByteArray& name) {
  const QString n = QString::fromLatin1(name);
  if (const auto m = dayPattern().match(n); m.hasMatch()) {
    const QDate d = QDate::fromString(m.captured(1), u"yyyy-MM-dd"_qs);
    if (d.isValid()) return std::pair{CopyKind::Day, QDateTime(d, QTime(0, 0))};
  }
  if (const auto m = stampPattern().match(n); m.hasMatch()) {
    const QDateTime t = QDateTime::fromString(m.captured(1), u"yyyy-MM-dd_HH-mm-ss"_qs);
    if (t.isValid()) return std::pair{m.captured(2).isEmpty() ? CopyKind::Full : CopyKind::BeforeRestore, t};
  }
  return std::nullopt;
}

bool isDir(const QByteArray& path, bool followLinks = true) {
  struct stat st {};
  return (followLinks ? ::stat(path.constData(), &st) : ::lstat(path.constData(), &st)) == 0 &&
         S_ISDIR(st.st_mode);
}

bool isRegular(const QByteArray& path) {
  struct stat st {};
  return ::stat(path.constData(), &st) == 0 && S_ISREG(st.st_mode);
}

QByteArray baseName(const QByteArray& path) {
  QByteArray p = path;
  while (p.size() > 1 && p.endsWith('/')) p.chop(1);
  return p.mid(p.lastIndexOf('/') + 1);
}

QList<QByteArray> folderEntries(const QByteArray& folder) {
  QList<QByteArray> names;
  DIR* dir = ::opendir(folder.constData());
  if (!dir) return names;
  while (const dirent* e = ::readdir(dir)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names << QByteArray(e->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool syncPath(const QByteArray& path, int flags) {
  const int fd = ::open(path.constData(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS;
  ::close(fd);
  return ok;
}
void syncFolder(const QByteArray& folder) { syncPath(folder, O_RDONLY | O_DIRECTORY); }

bool isArchiveName(const QByteArray& name) {
  return name.endsWith(".eur") || name == "Clienti.pro";
}

// A name a manifest line can hold.
bool manifestSafe(const QByteArray& name) { return !name.contains('\n') && !name.contains('\r'); }

// ---- Copying one file -------------------------------------------------------

struct Hashed {
  qint64 size = 0;
  QByteArray sha256;
};

// Reads a file that this program holds the write lock of (FileHold): from its
// descriptor, since a second lock of ours on it would wait for the first.
void readHeld(const QByteArray& source, int fd, const std::function<void(const char*, qint64)>& visit) {
  std::vector<char> buf(static_cast<size_t>(kBlock));
  for (qint64 off = 0;;) {
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), off_t(off));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw CopyError(CopyError::Reason::System, source, errno);
    if (n == 0) return;
    visit(buf.data(), n);
    off += n;
  }
}

// Reads `source` whole, in blocks: a file held by this program through its
// descriptor (heldFd), an archive under its shared lock, any other file
// plainly. Throws CopyError.
void readSource(const QByteArray& source, bool archive, const std::function<void(const char*, qint64)>& visit,
                int heldFd = -1) {
  if (heldFd >= 0) return readHeld(source, heldFd, visit);
  if (archive) {
    try {
      const RecordFile f = RecordFile::openExisting(source, 1, RecordFile::Access::ReadOnly);
      f.readAllLocked(visit);
      return;
    } catch (const ArchiveError& e) {
      throw CopyError(CopyError::Reason::System, source, e.sysError() ? e.sysError() : EIO);
    }
  }
  const int fd = openRegularFile(source, O_RDONLY);
  if (fd < 0) throw CopyError(CopyError::Reason::System, source, errno);
  std::vector<char> buf(static_cast<size_t>(kBlock));
  for (;;) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      const int err = errno;
      ::close(fd);
      throw CopyError(CopyError::Reason::System, source, err);
    }
    if (n == 0) break;
    try {
      visit(buf.data(), n);
    } catch (...) {
      ::close(fd);
      throw;
    }
  }
  ::close(fd);
}

// The size and hash of what is in fd, read from its start.
bool hashFd(int fd, Hashed* h) {
  QCryptographicHash hash(QCryptographicHash::Sha256);
  std::vector<char> buf(static_cast<size_t>(kBlock));
  qint64 off = 0;
  for (;;) {
    const ssize_t n = ::pread(fd, buf.data(), buf.size(), off_t(off));
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) break;
    hash.addData(QByteArrayView(buf.data(), n));
    off += n;
  }
  h->size = off;
  h->sha256 = hash.result().toHex();
  return true;
}

// Writes `target` whole from `source` through a temporary file that is synced,
// read back and compared with what was read (and with `expected` when given)
// before it takes the target's name. Returns the size and hash. Throws
// CopyError; Cancelled from `advance`. No temporary file is left behind.
Hashed copyFile(const QByteArray& source, const QByteArray& target, bool archive,
                const std::function<void(qint64)>& advance, const ManifestEntry* expected = nullptr,
                int heldFd = -1) {
  Hashed read;
  std::exception_ptr thrown;
  WriteFailure why;
  const bool ok = replaceFileBytes(
      target,
      [&](int fd) {
        try {
          QCryptographicHash hash(QCryptographicHash::Sha256);
          readSource(source, archive, [&](const char* bytes, qint64 n) {
            if (!writeAllTo(fd, bytes, n)) throw CopyError(CopyError::Reason::System, target, errno);
            hash.addData(QByteArrayView(bytes, n));
            read.size += n;
            if (advance) advance(n);
          }, heldFd);
          read.sha256 = hash.result().toHex();
          Hashed written;
          int synced;
          while ((synced = ::fdatasync(fd)) != 0 && errno == EINTR) {
          }
          if (synced != 0 && errno != EINVAL && errno != EROFS)
            throw CopyError(CopyError::Reason::System, target, errno);
          if (!hashFd(fd, &written)) throw CopyError(CopyError::Reason::System, target, errno);
          if (written.size != read.size || written.sha256 != read.sha256)
            throw CopyError(CopyError::Reason::System, target, EIO);
          if (expected && (read.size != expected->size || read.sha256 != expected->sha256))
            throw CopyError(CopyError::Reason::Damaged, source, 0,
                            read.size != expected->size ? CopyError::Damage::Size : CopyError::Damage::Content);
          return true;
        } catch (...) {
          thrown = std::current_exception();
          errno = EIO;
          return false;
        }
      },
      &why);
  if (thrown) std::rethrow_exception(thrown);
  if (!ok) throw CopyError(target, why);
  return read;
}

// ---- The manifest ------------------------------------------------------------

QByteArray manifestText(const Manifest& m) {
  QByteArray s = QByteArray(kManifestTitle) + '\n';
  s += "creata " + m.made.toString(Qt::ISODate).toLatin1() + '\n';
  s += QByteArray("tipo ") + kindWord(m.kind) + '\n';
  for (const ManifestEntry& e : m.files)
    s += "file " + e.sha256 + ' ' + QByteArray::number(e.size) + ' ' + e.name + '\n';
  return s;
}

void writeManifest(const QByteArray& copyFolder, const Manifest& m) {
  const QByteArray text = manifestText(m);
  WriteFailure why;
  if (!replaceFileBytes(
          joinPath(copyFolder, kManifestName), [&](int fd) { return writeAllTo(fd, text.constData(), text.size()); },
          &why))
    throw CopyError(joinPath(copyFolder, kManifestName), why);
}

std::optional<Manifest> parseManifest(const QByteArray& text) {
  const QList<QByteArray> lines = text.split('\n');
  if (lines.isEmpty() || lines[0] != kManifestTitle) return std::nullopt;
  Manifest m;
  bool sawMade = false;
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& l = lines[i];
    if (l.isEmpty()) continue;
    if (l.startsWith("creata ")) {
      m.made = QDateTime::fromString(QString::fromLatin1(l.mid(7)), Qt::ISODate);
      sawMade = m.made.isValid();
    } else if (l.startsWith("tipo ")) {
      const QByteArray k = l.mid(5);
      m.kind = k == kindWord(CopyKind::Day)             ? CopyKind::Day
               : k == kindWord(CopyKind::BeforeRestore) ? CopyKind::BeforeRestore
                                                        : CopyKind::Full;
    } else if (l.startsWith("file ")) {
      const qsizetype a = 5, b = l.indexOf(' ', a), c = b < 0 ? -1 : l.indexOf(' ', b + 1);
      if (c < 0) return std::nullopt;
      ManifestEntry e;
      e.sha256 = l.mid(a, b - a);
      bool ok = false;
      e.size = l.mid(b + 1, c - b - 1).toLongLong(&ok);
      e.name = l.mid(c + 1);
      if (!ok || e.size < 0 || e.sha256.size() != 64 || e.name.isEmpty() || e.name.startsWith('/') ||
          e.name.contains("..") || e.name == kManifestName)
        return std::nullopt;
      m.files << e;
    } else {
      return std::nullopt;
    }
  }
  if (!sawMade) return std::nullopt;
  return m;
}

// An exclusive lock on a folder, so that two running copies of the program
// adding to today's copy do not both copy a file or lose a manifest line.
class FolderLock {
 public:
  explicit FolderLock(const QByteArray& folder) {
    fd_ = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0)
      while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

void makeFoldersOrThrow(const QByteArray& folder) {
  if (!makeFolders(folder)) throw CopyError(CopyError::Reason::System, folder, errno ? errno : EIO);
}

// Renames `temp` to the first free name among base, base-2, base-3, ...;
// never over an existing folder.
QByteArray renameToFreeName(const QByteArray& temp, const QByteArray& parent, const QByteArray& base) {
  for (int n = 1; n < 1000; ++n) {
    const QByteArray target = joinPath(parent, n == 1 ? base : base + '-' + QByteArray::number(n));
    if (::renameat2(AT_FDCWD, temp.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0) return target;
    if (errno == EEXIST) continue;
    if (errno != EINVAL && errno != ENOSYS) throw CopyError(CopyError::Reason::System, target, errno);
    // A file system without the no-replace rename: look first.
    struct stat st {};
    if (::lstat(target.constData(), &st) == 0) continue;
    if (::rename(temp.constData(), target.constData()) == 0) return target;
    throw CopyError(CopyError::Reason::System, target, errno);
  }
  throw CopyError(CopyError::Reason::System, joinPath(parent, base), EEXIST);
}

}  // namespace

// ---- Errors -----------------------------------------------------------------

CopyError::CopyError(Reason reason, QByteArray path, int sysError, Damage damage)
    : UserError("safety copy"), reason_(reason), path_(std::move(path)), err_(sysError), damage_(damage) {}

CopyError::CopyError(QByteArray path, const WriteFailure& why)
    : CopyError(Reason::System, std::move(path), why.err ? why.err : EIO) {
  if (why.kind != WriteFailure::Kind::System) refusal_ = why;
}

UserError::Kind CopyError::errorKind() const {
  switch (reason_) {
    case Reason::Damaged:
    case Reason::NoManifest: return Kind::Damaged;
    case Reason::NotFolder:
    case Reason::Empty: return Kind::Input;
    case Reason::System: break;
  }
  return refusal_ ? Kind::Refused : Kind::System;
}

QString CopyError::italian() const {
  const QString where = displayPath(path_);
  switch (reason_) {
    case Reason::System:
      return QStringLiteral("Non è stato possibile usare «%1».").arg(where) + u' ' +
             (refusal_ ? refusal_->italian() : systemErrorItalian(err_));
    case Reason::Damaged:
      switch (damage_) {
        case Damage::Missing: return QStringLiteral("La copia è danneggiata: manca il file «%1».").arg(where);
        case Damage::Size:
          return QStringLiteral("La copia è danneggiata: il file «%1» non ha la dimensione registrata.").arg(where);
        case Damage::Manifest:
          return QStringLiteral("La copia è danneggiata: l'elenco dei suoi file non si legge.");
        default:
          return QStringLiteral("La copia è danneggiata: il contenuto del file «%1» non corrisponde a quello "
                                "registrato.")
              .arg(where);
      }
    case Reason::NoManifest:
      return QStringLiteral("La cartella «%1» non è una copia di sicurezza del programma (manca l'elenco dei "
                            "file).")
          .arg(where);
    case Reason::NotFolder: return QStringLiteral("La cartella «%1» non esiste.").arg(where);
    case Reason::Empty:
      return QStringLiteral("Nella cartella «%1» non ci sono archivi, password o allegati da copiare.").arg(where);
  }
  return {};
}

QString CopyError::english() const {
  const QString where = displayPath(path_);
  switch (reason_) {
    case Reason::System:
      return QStringLiteral("cannot use %1: %2")
          .arg(where, refusal_ ? refusal_->english() : QString::fromLocal8Bit(std::strerror(err_)));
    case Reason::Damaged:
      switch (damage_) {
        case Damage::Missing: return QStringLiteral("damaged copy: %1 is missing").arg(where);
        case Damage::Size: return QStringLiteral("damaged copy: %1 has not the recorded size").arg(where);
        case Damage::Manifest: return QStringLiteral("damaged copy: its manifest cannot be read");
        default: return QStringLiteral("damaged copy: the content of %1 differs from the recorded one").arg(where);
      }
    case Reason::NoManifest: return QStringLiteral("%1 is not a safety copy (no manifest)").arg(where);
    case Reason::NotFolder: return QStringLiteral("%1 is not a folder").arg(where);
    case Reason::Empty: return QStringLiteral("%1 holds no archive, password file or attachment").arg(where);
  }
  return {};
}

// ---- Places and settings ---------------------------------------------------

QByteArray copiesFolderOf(const QByteArray& dataFolder) { return joinPath(dataFolder, kCopiesFolderName); }

QByteArray folderOfFile(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  if (slash < 0) return QByteArrayLiteral(".");
  if (slash == 0) return QByteArrayLiteral("/");
  return path.left(slash);
}

int keepDays(const QByteArray& copiesFolder) {
  const SmallFile f = readSmallFile(joinPath(copiesFolder, kSettingsName), 64 * 1024);
  if (f.status != SmallFile::Status::Ok) return kDefaultKeepDays;
  const auto v = iniValue(f.bytes, kSettingsSection, kSettingsKey);
  bool ok = false;
  const int days = v ? v->toInt(&ok) : 0;
  if (!ok || days < 1) return kDefaultKeepDays;
  return std::min(days, kMaxKeepDays);
}

void setKeepDays(const QByteArray& copiesFolder, int days) {
  makeFoldersOrThrow(copiesFolder);
  const QByteArray path = joinPath(copiesFolder, kSettingsName);
  const SmallFile f = readSmallFile(path, 64 * 1024);
  const QByteArray content = withIniValue(f.status == SmallFile::Status::Ok ? f.bytes : QByteArray(),
                                          kSettingsSection, kSettingsKey,
                                          QByteArray::number(std::clamp(days, 1, kMaxKeepDays)));
  WriteFailure why;
  if (!replaceFileBytes(path, [&](int fd) { return writeAllTo(fd, content.constData(), content.size()); }, &why))
    throw CopyError(path, why);
}

// ---- The day copy -------------------------------------------------------------

namespace {

// Today's copy of `name` into the day folder, under the folder's lock.
DayCopy addToDayCopy(const QByteArray& file, const QByteArray& name, const QByteArray& day, const QDateTime& now) {
  DayCopy r;
  r.copy = joinPath(day, name);
  FolderLock lock(day);
  Manifest m;
  try {
    m = readManifest(day);
  } catch (const CopyError&) {
    m = Manifest{now, CopyKind::Day, {}};
  }
  const bool listed = std::any_of(m.files.begin(), m.files.end(), [&](const auto& e) { return e.name == name; });
  if (listed && isRegular(r.copy)) {
    r.result = DayCopy::Result::AlreadyMade;
    return r;
  }
  const Hashed h = copyFile(file, r.copy, isArchiveName(name), {});
  m.files.removeIf([&](const ManifestEntry& e) { return e.name == name; });
  m.files << ManifestEntry{name, h.size, h.sha256};
  writeManifest(day, m);
  r.result = DayCopy::Result::Made;
  return r;
}

// A day folder of ours: named for a day, a folder itself (not a link), with
// a day copy's manifest. Its manifest, or nothing.
std::optional<Manifest> dayCopyManifest(const QByteArray& copiesFolder, const QByteArray& name) {
  const auto parsed = parseCopyName(name);
  const QByteArray path = joinPath(copiesFolder, name);
  if (!parsed || parsed->first != CopyKind::Day || !isDir(path, false)) return std::nullopt;
  try {
    Manifest m = readManifest(path);
    if (m.kind == CopyKind::Day) return m;
  } catch (const CopyError&) {
  }
  return std::nullopt;
}

}  // namespace

DayCopy copyBeforeWriting(const QByteArray& file, const QDateTime& now) {
  struct stat st {};
  // A first write creates it, or it has nothing yet: nothing to keep.
  if (::stat(file.constData(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size == 0) return {};
  const QByteArray copies = copiesFolderOf(folderOfFile(file));
  const QByteArray day = joinPath(copies, dayName(now.date()).toLatin1());
  const bool copiesExisted = isDir(copies), dayExisted = isDir(day);
  makeFoldersOrThrow(day);
  DayCopy r;
  try {
    r = addToDayCopy(file, baseName(file), day, now);
  } catch (...) {
    // A copy that failed leaves no empty folder of its own making behind.
    if (!dayExisted) ::rmdir(day.constData());
    if (!copiesExisted) ::rmdir(copies.constData());
    throw;
  }
  if (r.result == DayCopy::Result::Made) removeOldDayCopies(copies, keepDays(copies));
  return r;
}

namespace {

// The files this process took (or tried) today's copy of.
struct DayMemo {
  QDate day;
  QSet<QByteArray> tried;
};
DayMemo& dayMemo() {
  static DayMemo memo;
  return memo;
}

}  // namespace

bool isDataFileName(const QByteArray& name) {
  return name.endsWith(".eur") || name == "Clienti.pro" || name == kPasswordFileName || name == "Ricorrenti.json";
}

void installDayCopies(std::function<void(const QByteArray& file, const CopyError& why)> failed) {
  setBeforeWriteHook([failed = std::move(failed)](const QByteArray& file) {
    if (!isDataFileName(baseName(file))) return;
    const QDateTime now = QDateTime::currentDateTime();
    DayMemo& memo = dayMemo();
    if (memo.day != now.date()) memo = DayMemo{now.date(), {}};
    if (memo.tried.contains(file)) return;
    memo.tried.insert(file);
    try {
      copyBeforeWriting(file, now);
    } catch (const CopyError& e) {
      if (failed) failed(file, e);
    }
  });
}

void forgetDayCopies() { dayMemo() = DayMemo{}; }

QList<QByteArray> removeOldDayCopies(const QByteArray& copiesFolder, int keep) {
  QList<std::pair<QByteArray, Manifest>> days;
  for (const QByteArray& name : folderEntries(copiesFolder))
    if (auto m = dayCopyManifest(copiesFolder, name)) days << std::pair{name, std::move(*m)};
  std::sort(days.begin(), days.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  QList<QByteArray> removed;
  for (qsizetype i = std::max(keep, 1); i < days.size(); ++i) {
    const QByteArray path = joinPath(copiesFolder, days[i].first);
    // Only what the copy made: the files its manifest names (plain names; a
    // name with a folder in it is none of ours), the manifest, then the
    // folder when nothing else is in it. unlink never follows a link.
    for (const ManifestEntry& e : days[i].second.files)
      if (!e.name.contains('/')) ::unlink(joinPath(path, e.name).constData());
    ::unlink(joinPath(path, kManifestName).constData());
    ::rmdir(path.constData());
    removed << path;
  }
  return removed;
}

// ---- Full copies ----------------------------------------------------------------

QList<QByteArray> dataFilesOf(const QByteArray& dataFolder) {
  QList<QByteArray> files;
  for (const QByteArray& name : folderEntries(dataFolder))
    if (isDataFileName(name) && isRegular(joinPath(dataFolder, name)))
      files << name;
  const QByteArray attachments = joinPath(dataFolder, kAttachmentsFolderName);
  for (const QByteArray& name : folderEntries(attachments))
    if (isRegular(joinPath(attachments, name)))
      files << QByteArray(kAttachmentsFolderName) + '/' + name;
  return files;
}

namespace {

// The write locks a restore holds on the files of its folder (FileHold).
struct Holds {
  std::optional<FileHold> schedules;
  std::map<QByteArray, FileHold> files;  // by name, as dataFilesOf gives it

  int fdOf(const QByteArray& name) const {
    const auto it = files.find(name);
    return it == files.end() ? -1 : it->second.fd();
  }
  // An empty file made only to hold the name until the restore puts its own there.
  bool isPlaceholder(const QByteArray& name) const {
    const auto it = files.find(name);
    struct stat st {};
    return it != files.end() && it->second.created() && ::fstat(it->second.fd(), &st) == 0 && st.st_size == 0;
  }
};

// Copies `files` of `dataFolder` into a new folder of `parentFolder`; the
// files in `holds` are read through their held descriptors.
FullCopy copyFiles(const QByteArray& dataFolder, const QList<QByteArray>& names, const QByteArray& parentFolder,
                   CopyKind kind, const ProgressFn& progress, const QDateTime& now, const Holds* holds) {
  FullCopy r;
  QList<QByteArray> files;
  qint64 total = 0;
  for (const QByteArray& name : names) {
    if (!manifestSafe(name)) {
      r.skipped << name;
      continue;
    }
    struct stat st {};
    if (::stat(joinPath(dataFolder, name).constData(), &st) == 0) total += st.st_size;
    files << name;
  }
  if (files.isEmpty()) throw CopyError(CopyError::Reason::Empty, dataFolder);
  if (parentFolder == copiesFolderOf(dataFolder)) makeFoldersOrThrow(parentFolder);
  if (!isDir(parentFolder)) throw CopyError(CopyError::Reason::NotFolder, parentFolder);

  QByteArray temp = joinPath(parentFolder, kCopyTempFolderTemplate);
  if (!::mkdtemp(temp.data())) throw CopyError(CopyError::Reason::System, parentFolder, errno);
  const FolderLock busy(temp);  // tells removeStaleTemporaries that it is being built
  try {
    Manifest m{now, kind, {}};
    qint64 done = 0;
    reportProgress(progress, 0, total);
    for (const QByteArray& name : files) {
      const qsizetype slash = name.indexOf('/');
      if (slash > 0) makeFoldersOrThrow(joinPath(temp, name.left(slash)));
      const Hashed h = copyFile(
          joinPath(dataFolder, name), joinPath(temp, name), isArchiveName(name),
          [&](qint64 n) {
            done += n;
            reportProgress(progress, done, std::max(total, done));
          },
          nullptr, holds ? holds->fdOf(name) : -1);
      m.files << ManifestEntry{name, h.size, h.sha256};
      r.bytes += h.size;
    }
    writeManifest(temp, m);
    if (isDir(joinPath(temp, kAttachmentsFolderName))) syncFolder(joinPath(temp, kAttachmentsFolderName));
    syncFolder(temp);
    reportProgress(progress, total, total);
    QByteArray base = stampName(now).toLatin1();
    if (kind == CopyKind::BeforeRestore) base += kBeforeRestoreSuffix;
    r.path = renameToFreeName(temp, parentFolder, base);
    syncFolder(parentFolder);
  } catch (...) {
    removeOwnFolder(temp, 1);
    throw;
  }
  r.files = files.size();
  return r;
}

}  // namespace

void removeLeftovers(const QByteArray& dataFolder) {
  removeStaleTemporaries(dataFolder);
  removeStaleTemporaries(copiesFolderOf(dataFolder));
}

FullCopy makeFullCopy(const QByteArray& dataFolder, const QByteArray& parentFolder, CopyKind kind,
                      const ProgressFn& progress, const QDateTime& now) {
  if (!isDir(dataFolder)) throw CopyError(CopyError::Reason::NotFolder, dataFolder);
  removeLeftovers(dataFolder);
  if (parentFolder != copiesFolderOf(dataFolder)) removeStaleTemporaries(parentFolder);
  return copyFiles(dataFolder, dataFilesOf(dataFolder), parentFolder, kind, progress, now, nullptr);
}

// ---- Listing and verifying ----------------------------------------------------------

Manifest readManifest(const QByteArray& copyFolder) {
  const QByteArray path = joinPath(copyFolder, kManifestName);
  const SmallFile f = readSmallFile(path, kMaxManifestBytes);
  if (f.status == SmallFile::Status::Missing || f.status == SmallFile::Status::NotRegular)
    throw CopyError(CopyError::Reason::NoManifest, copyFolder);
  if (f.status != SmallFile::Status::Ok)
    throw CopyError(CopyError::Reason::System, path, f.sysError ? f.sysError : EFBIG);
  const auto m = parseManifest(f.bytes);
  if (!m) throw CopyError(CopyError::Reason::Damaged, path, 0, CopyError::Damage::Manifest);
  return *m;
}

namespace {

Verification verifyAgainst(const QByteArray& copyFolder, const Manifest& m, const ProgressFn& progress,
                           qint64& done, qint64 total) {
  Verification v;
  for (const ManifestEntry& e : m.files) {
    const QByteArray path = joinPath(copyFolder, e.name);
    const auto damaged = [&](CopyError::Damage d) {
      v.state = Verification::State::Damaged;
      v.file = e.name;
      v.damage = d;
      return v;
    };
    struct stat st {};
    if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode)) return damaged(CopyError::Damage::Missing);
    if (st.st_size != e.size) return damaged(CopyError::Damage::Size);
    const int fd = openRegularFile(path, O_RDONLY);
    if (fd < 0) return damaged(CopyError::Damage::Missing);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    std::vector<char> buf(static_cast<size_t>(kBlock));
    qint64 size = 0;
    bool readOk = true;
    for (;;) {
      const ssize_t n = ::read(fd, buf.data(), buf.size());
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        readOk = n == 0;
        break;
      }
      hash.addData(QByteArrayView(buf.data(), n));
      size += n;
      done += n;
      try {
        reportProgress(progress, done, std::max(total, done));
      } catch (...) {
        ::close(fd);
        throw;
      }
    }
    ::close(fd);
    if (!readOk) return damaged(CopyError::Damage::Content);
    if (size != e.size) return damaged(CopyError::Damage::Size);
    if (hash.result().toHex() != e.sha256) return damaged(CopyError::Damage::Content);
  }
  v.state = Verification::State::Verified;
  return v;
}

qint64 manifestBytes(const Manifest& m) {
  qint64 n = 0;
  for (const ManifestEntry& e : m.files) n += e.size;
  return n;
}

}  // namespace

Verification verifyCopy(const QByteArray& copyFolder, const ProgressFn& progress) {
  Manifest m;
  try {
    m = readManifest(copyFolder);
  } catch (const CopyError& e) {
    Verification v;
    if (e.reason() == CopyError::Reason::Damaged) {
      v.state = Verification::State::Damaged;
      v.file = kManifestName;
      v.damage = CopyError::Damage::Manifest;
    }
    return v;
  }
  qint64 done = 0;
  return verifyAgainst(copyFolder, m, progress, done, manifestBytes(m));
}

QList<CopyInfo> listCopies(const QByteArray& copiesFolder, bool verify, const ProgressFn& progress) {
  removeStaleTemporaries(copiesFolder);
  QList<CopyInfo> copies;
  QList<std::optional<Manifest>> manifests;
  qint64 total = 0;
  for (const QByteArray& name : folderEntries(copiesFolder)) {
    const auto parsed = parseCopyName(name);
    const QByteArray path = joinPath(copiesFolder, name);
    if (!parsed || !isDir(path, false)) continue;
    CopyInfo c;
    c.path = path;
    c.name = name;
    c.kind = parsed->first;
    c.made = parsed->second;
    std::optional<Manifest> m;
    try {
      m = readManifest(path);
      if (m->made.isValid()) c.made = m->made;
      c.files = m->files.size();
      c.bytes = manifestBytes(*m);
      total += c.bytes;
    } catch (const CopyError& e) {
      if (e.reason() == CopyError::Reason::Damaged) {
        c.verification.state = Verification::State::Damaged;
        c.verification.file = kManifestName;
        c.verification.damage = CopyError::Damage::Manifest;
      }
    }
    copies << c;
    manifests << m;
  }
  if (verify) {
    qint64 done = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
      copies[i].verified = true;
      if (manifests[i]) copies[i].verification = verifyAgainst(copies[i].path, *manifests[i], progress, done, total);
    }
  }
  std::stable_sort(copies.begin(), copies.end(), [](const CopyInfo& a, const CopyInfo& b) {
    if (a.made != b.made) return a.made > b.made;
    return a.name > b.name;
  });
  return copies;
}

// ---- Restore -----------------------------------------------------------------------

namespace {

// The locks of every file a restore replaces or copies, taken in one order for
// every restore: the schedules' lock, then the data files by name. An archive
// the copy puts back but the folder lacks is created empty to hold its name,
// so that no writer can create it meanwhile and write into a file about to be
// replaced. A file that cannot be opened for writing is not held (its restore
// is then refused with the reason).
Holds holdDataFiles(const QByteArray& folder, const Manifest& m) {
  QSet<QByteArray> fromCopy;
  for (const ManifestEntry& e : m.files)
    if (!e.name.contains('/')) fromCopy.insert(e.name);
  QList<QByteArray> names = fromCopy.values();
  for (const QByteArray& name : dataFilesOf(folder))
    if (!name.contains('/') && !fromCopy.contains(name)) names << name;
  std::sort(names.begin(), names.end());
  Holds holds;
  if (names.contains("Ricorrenti.json")) {
    try {
      holds.schedules.emplace(FileHold::take(recurringLockPath(folder), true));
    } catch (const ArchiveError& e) {
      throw CopyError(CopyError::Reason::System, e.nativePath(), e.sysError() ? e.sysError() : EIO);
    }
  }
  for (const QByteArray& name : names) {
    try {
      FileHold h = FileHold::take(joinPath(folder, name), fromCopy.contains(name) && isArchiveName(name));
      if (h.held()) holds.files.emplace(name, std::move(h));
    } catch (const ArchiveError&) {
    }
  }
  return holds;
}

}  // namespace

Restored restoreCopy(const QByteArray& copyFolder, const QByteArray& intoFolder, const ProgressFn& progress,
                     const QDateTime& now) {
  if (!isDir(copyFolder)) throw CopyError(CopyError::Reason::NotFolder, copyFolder);
  if (!isDir(intoFolder)) throw CopyError(CopyError::Reason::NotFolder, intoFolder);
  removeLeftovers(intoFolder);
  const Manifest m = readManifest(copyFolder);
  const qint64 copyBytes = manifestBytes(m);
  qint64 currentBytes = 0;
  for (const QByteArray& name : dataFilesOf(intoFolder)) {
    struct stat st {};
    if (::stat(joinPath(intoFolder, name).constData(), &st) == 0) currentBytes += st.st_size;
  }
  // Three passes over the bytes: the check, the copy of what is there, the restore.
  const qint64 total = copyBytes * 2 + currentBytes;
  qint64 done = 0;
  const Verification v = verifyAgainst(copyFolder, m, progress, done, total);
  if (v.state != Verification::State::Verified)
    throw CopyError(CopyError::Reason::Damaged, joinPath(copyFolder, v.file), 0, v.damage);

  // From here to the end every writer of the folder waits: the copy of what is
  // there and the files put back are what they find afterwards.
  Holds holds = holdDataFiles(intoFolder, m);
  QList<QByteArray> current = dataFilesOf(intoFolder);
  current.removeIf([&](const QByteArray& name) { return holds.isPlaceholder(name); });
  Restored r;
  if (!current.isEmpty()) {
    const qint64 base = done;
    r.before = copyFiles(intoFolder, current, copiesFolderOf(intoFolder), CopyKind::BeforeRestore,
                         [&](qint64 d, qint64) {
                           done = base + d;
                           return !progress || progress(done, std::max(total, done));
                         },
                         now, &holds)
                   .path;
  }
  for (const ManifestEntry& e : m.files) {
    const qsizetype slash = e.name.indexOf('/');
    const QByteArray target = joinPath(intoFolder, e.name);
    try {
      if (slash > 0) makeFoldersOrThrow(joinPath(intoFolder, e.name.left(slash)));
      // Once files are being replaced the work is not stopped half way.
      copyFile(joinPath(copyFolder, e.name), target, false,
               [&](qint64 n) {
                 done += n;
                 if (progress) progress(done, std::max(total, done));
               },
               &e);
      r.restored << e.name;
    } catch (const CopyError& err) {
      if (const auto it = holds.files.find(e.name); it != holds.files.end()) it->second.removeIfCreatedEmpty();
      r.failed << Restored::Failure{e.name, err.italian(), err.english()};
    }
  }
  // A day copy holds only the files written that day: the others are not
  // "added since" and are simply not touched.
  if (m.kind != CopyKind::Day) {
    QSet<QByteArray> held;
    for (const ManifestEntry& e : m.files) held.insert(e.name);
    for (const QByteArray& name : dataFilesOf(intoFolder))
      if (!held.contains(name)) r.kept << name;
  }
  syncFolder(intoFolder);
  return r;
}

}  // namespace fondaro::safety
