// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/invoicefiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

#include "core/filepath.h"
#include "core/invoiceenvelope.h"
#include "core/replacefile.h"

namespace fondaro {

bool isInvoiceFileName(QStringView name) {
  return name.endsWith(u".xml", Qt::CaseInsensitive) || name.endsWith(u".p7m", Qt::CaseInsensitive);
}

bool isZipFileName(QStringView name) { return name.endsWith(u".zip", Qt::CaseInsensitive); }

void readInvoiceBytes(InvoiceFileRead& file) {
  file.document.reset();
  file.failure.reset();
  file.reason.clear();
  if (file.bytes.trimmed().isEmpty()) {
    file.failure = InvoiceReadError::Kind::Malformed;
    file.reason = QStringLiteral("file vuoto");
    return;
  }
  try {
    const QByteArray xml = invoiceContent(file.bytes);
    file.signedEnvelope = xml.constData() != file.bytes.constData() || xml.size() != file.bytes.size();
    file.document = readInvoiceXml(xml);
  } catch (const InvoiceReadError& e) {
    file.failure = e.kind();
    file.reason = e.reason();
  }
}

namespace {

// A zip's bytes for QuaZip: a seek outside them (a damaged directory points
// anywhere) fails quietly instead of warning on the program's output.
class ZipBytes : public QBuffer {
 public:
  using QBuffer::QBuffer;
  bool seek(qint64 pos) override { return pos >= 0 && pos <= size() && QBuffer::seek(pos); }
};

QString systemReason(int err) { return QStringLiteral("non leggibile: %1").arg(systemErrorItalian(err)); }

class InputReader {
 public:
  explicit InputReader(const ProgressFn& progress) : progress_(progress) {}

  void path(const QString& path) {
    const QByteArray native = encodePath(path);
    if (isFolder(native)) {
      folder(path);
    } else if (isZipFileName(path)) {
      zip(path, native);
    } else {
      single(path, native);
    }
  }

  std::vector<InvoiceFileRead> take() { return std::move(files_); }

 private:
  InvoiceFileRead& add(const QString& name, const QString& shown, const QString& path) {
    InvoiceFileRead f;
    f.number = int(files_.size()) + 1;
    f.name = name;
    f.shownName = shown;
    f.path = path;
    files_.push_back(std::move(f));
    return files_.back();
  }

  void fail(InvoiceFileRead& f, InvoiceReadError::Kind kind, const QString& reason) {
    f.failure = kind;
    f.reason = reason;
  }

  void step() { reportProgress(progress_, ++done_, 0); }

  void single(const QString& path, const QByteArray& native) {
    const QString name = QFileInfo(path).fileName();
    InvoiceFileRead& f = add(name, name, path);
    const SmallFile file = readSmallFile(native, kMaxInvoiceFileBytes);
    switch (file.status) {
      case SmallFile::Status::Ok:
        f.bytes = file.bytes;
        readInvoiceBytes(f);
        break;
      case SmallFile::Status::Missing:
        fail(f, InvoiceReadError::Kind::Unreadable, QStringLiteral("file non trovato"));
        break;
      case SmallFile::Status::NotRegular:
        fail(f, InvoiceReadError::Kind::Unreadable, QStringLiteral("non è un file"));
        break;
      case SmallFile::Status::TooLarge:
        fail(f, InvoiceReadError::Kind::Unreadable, QStringLiteral("file troppo grande per una fattura"));
        break;
      case SmallFile::Status::Failed:
        fail(f, InvoiceReadError::Kind::Unreadable, systemReason(file.sysError));
        break;
    }
    step();
  }

  void folder(const QString& path) {
    QDir dir(path);
    QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    std::sort(names.begin(), names.end());
    for (const QString& name : names) {
      if (!isInvoiceFileName(name) && !isZipFileName(name)) continue;
      const QString full = dir.filePath(name);
      if (isZipFileName(name)) zip(full, encodePath(full));
      else single(full, encodePath(full));
    }
  }

  void zip(const QString& path, const QByteArray& native) {
    const QString zipName = QFileInfo(path).fileName();
    const auto broken = [&](const QString& reason) {
      fail(add(zipName, zipName, path), InvoiceReadError::Kind::Zip, reason);
      step();
    };
    // The zip is read whole: the portal's monthly downloads are a few MiB.
    const SmallFile file = readSmallFile(native, kMaxZipContentBytes);
    if (file.status == SmallFile::Status::Missing) return broken(QStringLiteral("file non trovato"));
    if (file.status == SmallFile::Status::TooLarge) return broken(QStringLiteral("file zip troppo grande"));
    if (file.status != SmallFile::Status::Ok) return broken(systemReason(file.sysError ? file.sysError : EINVAL));
    QByteArray bytes = file.bytes;
    ZipBytes buffer(&bytes);
    QuaZip archive(&buffer);
    if (!archive.open(QuaZip::mdUnzip)) return broken(QStringLiteral("file zip illeggibile"));
    QStringList names = archive.getFileNameList();
    if (archive.getZipError() != UNZ_OK) return broken(QStringLiteral("file zip illeggibile"));
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const QString& n) { return n.endsWith(u'/') || !isInvoiceFileName(n); }),
                names.end());
    std::sort(names.begin(), names.end());
    qint64 budget = kMaxZipContentBytes;
    for (const QString& entry : names) {
      const qsizetype slash = std::max(entry.lastIndexOf(u'/'), entry.lastIndexOf(u'\\'));
      InvoiceFileRead& f = add(entry.mid(slash + 1), zipName + u'/' + entry, path);
      if (!archive.setCurrentFile(entry)) {
        fail(f, InvoiceReadError::Kind::Zip, QStringLiteral("voce del file zip illeggibile"));
        step();
        continue;
      }
      QuaZipFile in(&archive);
      if (!in.open(QIODevice::ReadOnly)) {
        fail(f, InvoiceReadError::Kind::Zip, QStringLiteral("voce del file zip illeggibile"));
        step();
        continue;
      }
      QByteArray data;
      bool tooLarge = false;
      const bool byBudget = budget < kMaxInvoiceFileBytes;
      const qint64 limit = byBudget ? budget : kMaxInvoiceFileBytes;
      char buf[65536];
      for (;;) {
        const qint64 n = in.read(buf, sizeof buf);
        if (n <= 0) break;
        if (data.size() + n > limit) {
          tooLarge = true;
          break;
        }
        data.append(buf, n);
      }
      const bool damaged = in.getZipError() != UNZ_OK;
      in.close();
      if (tooLarge) {
        fail(f, InvoiceReadError::Kind::Zip, byBudget ? QStringLiteral("contenuto del file zip troppo grande")
                                                      : QStringLiteral("file troppo grande per una fattura"));
      } else if (damaged || in.getZipError() != UNZ_OK) {
        fail(f, InvoiceReadError::Kind::Zip, QStringLiteral("voce del file zip danneggiata"));
      } else {
        budget -= data.size();
        f.bytes = std::move(data);
        readInvoiceBytes(f);
      }
      step();
    }
  }

  const ProgressFn& progress_;
  std::vector<InvoiceFileRead> files_;
  qint64 done_ = 0;
};

}  // namespace

std::vector<InvoiceFileRead> readInvoiceInputs(const QStringList& paths, const ProgressFn& progress) {
  InputReader reader(progress);
  for (const QString& p : paths) reader.path(p);
  return reader.take();
}

}  // namespace fondaro
