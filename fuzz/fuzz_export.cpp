// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a movement archive and as an address book, exported: the
// document stays one line, and every value's markup characters are escaped so
// the table keeps exactly one cell per column and one row per record.
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "core/clientexport.h"
#include "core/movementexport.h"

using namespace fondaro;

namespace {

template <class Rec, class Read, class Document>
void exportOf(const QString& path, const std::vector<uint8_t>& bytes, int columns, Read read, Document document) {
  {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
    f.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
  }
  auto archive = Archive<Rec>::OpenExisting(path, RecordFile::Access::ReadOnly);
  const TextTable rows = read(archive);
  archive.Close();
  const QByteArray doc = document(rows);
  if (doc.contains('\n') || doc.contains('\r')) std::abort();
  if (doc.count("<tr>") != rows.rowCount() + 1) std::abort();
  if (doc.count("<td") != (rows.rowCount() + 1) * columns) std::abort();
  if (doc.count("</td>") != (rows.rowCount() + 1) * columns) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir;
  // Records are thousands of bytes: repeat short inputs so that they fill whole records.
  std::vector<uint8_t> buf(data, data + size);
  if (!buf.empty()) {
    while (buf.size() < 2 * sizeof(TMovimento) + 17) buf.insert(buf.end(), data, data + size);
  }
  exportOf<TMovimento>(dir.filePath(QStringLiteral("2024.eur")), buf, int(movementExportColumns().size()),
                       readMovementExport, movementExportDocument);
  exportOf<TCliente>(dir.filePath(QStringLiteral("Clienti.pro")), buf, int(clientExportColumns().size()),
                     readClientExport, clientExportDocument);
  return 0;
}
