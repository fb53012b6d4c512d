// SPDX-License-Identifier: GPL-3.0-or-later
// The safety copies' errors, places and settings; the copies themselves are
// in daycopy.cpp, fullcopy.cpp, manifest.cpp and restore.cpp.
#include "core/safetycopies.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/filepath.h"
#include "core/passwordfile.h"
#include "core/replacefile.h"
#include "core/safetyinternals.h"

namespace fondaro::safety {

namespace {

constexpr char kSettingsSection[] = "Copie";
constexpr char kSettingsKey[] = "Giorni";

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
  detail::makeFoldersOrThrow(copiesFolder);
  const QByteArray path = joinPath(copiesFolder, kSettingsName);
  const SmallFile f = readSmallFile(path, 64 * 1024);
  const QByteArray content = withIniValue(f.status == SmallFile::Status::Ok ? f.bytes : QByteArray(),
                                          kSettingsSection, kSettingsKey,
                                          QByteArray::number(std::clamp(days, 1, kMaxKeepDays)));
  WriteFailure why;
  if (!replaceFileBytes(path, [&](int fd) { return writeAllTo(fd, content.constData(), content.size()); }, &why))
    throw CopyError(path, why);
}

}  // namespace fondaro::safety
