// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The files an electronic-invoice import is given, read whole before anything
// is planned: single ".xml" files, signed ".p7m" envelopes, zip files (the
// portal's monthly download: every ".xml" and ".p7m" inside, in entry-name
// order, through QuaZip) and folders (their ".xml", ".p7m" and ".zip" files,
// not recursive, in name order). Extensions are matched without regard to
// case. Each invoice file gets a number from 1 in reading order; a zip takes
// no number, its entries are counted as files in their turn (a zip that
// cannot be opened takes one, to tell it).
//
// Nothing here fails as a whole: a file that cannot be read keeps its reason
// and the others are read.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "core/einvoice.h"
#include "core/progress.h"

namespace fondaro {

// The most bytes an invoice file (or a zip entry, uncompressed) may have (the
// interchange system takes files of 5 MB at most), and the most all the
// entries of one zip may have together: a zip made to fill the memory is
// refused, not read.
inline constexpr qint64 kMaxInvoiceFileBytes = 32 << 20;
inline constexpr qint64 kMaxZipContentBytes = qint64(512) << 20;

// One invoice file as read: the bytes as received, and the invoice in them or
// why there is none.
struct InvoiceFileRead {
  int number = 0;       // F, from 1 in reading order
  QString name;         // the file's own name: "IT01234567890_00001.xml.p7m" (inside a zip, the entry's last part)
  QString shownName;    // for Note and messages: the name, or "<zip name>/<entry name>"
  QString path;         // the file on disk (for a zip entry, the zip file's)
  QByteArray bytes;     // the file as received: what File01 stores
  bool signedEnvelope = false;  // the invoice came out of a signed envelope (signature not verified)
  std::optional<InvoiceDocument> document;  // the invoice, when read
  // Why there is no document: kind and reason. Metadata is passed over
  // silently; every other kind is told ("file F: <reason>").
  std::optional<InvoiceReadError::Kind> failure;
  QString reason;

  bool silent() const { return failure == InvoiceReadError::Kind::Metadata; }
};

// Reads one invoice file's bytes (envelope, encoding, XML) into `file`.
void readInvoiceBytes(InvoiceFileRead& file);

// Whether a name ends in ".xml" or ".p7m" (an invoice file), ".zip", without
// regard to case.
bool isInvoiceFileName(QStringView name);
bool isZipFileName(QStringView name);

// The invoice files named by `paths` (files, zips, folders), in the order
// given, each read. A path that does not exist or cannot be read gives one
// file with its reason. Progress counts the paths (and a folder's entries)
// done; returning false stops with Cancelled.
std::vector<InvoiceFileRead> readInvoiceInputs(const QStringList& paths, const ProgressFn& progress = {});

}  // namespace fondaro
