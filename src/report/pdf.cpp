// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/pdf.h"

#include <cerrno>
#include <exception>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QHashSeed>
#include <QPainter>
#include <QPdfWriter>

#include "core/filepath.h"
#include "core/replacefile.h"

namespace fondaro::report {

namespace {
void prepareWriter(QPdfWriter& writer, PrintDocument& doc) {
  writer.setTitle(doc.title());
  writer.setCreator(u"Fondaro"_qs);
  writer.setResolution(1200);
  writer.setPageLayout(doc.pageLayout());
}
// The document's metadata without a date or an identifier (the writer's own
// has both).
QByteArray fixedXmp(const QString& title) {
  QString escaped = title.toHtmlEscaped();
  return QStringLiteral(
             "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>\n"
             "<x:xmpmeta xmlns:x='adobe:ns:meta/'>\n"
             "<rdf:RDF xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'>\n"
             "<rdf:Description rdf:about='' xmlns:dc='http://purl.org/dc/elements/1.1/'>\n"
             "<dc:title><rdf:Alt><rdf:li xml:lang='x-default'>%1</rdf:li></rdf:Alt></dc:title>\n"
             "</rdf:Description>\n"
             "</rdf:RDF>\n"
             "</x:xmpmeta>\n"
             "<?xpacket end='w'?>")
      .arg(escaped)
      .toUtf8();
}

// The writer stamps the time of writing into the document's information; its
// digits become those of a fixed time (1 January 2000, 00:00, UTC) in place,
// so that every offset of the file stays right.
void blankCreationDate(QByteArray& pdf) {
  static const QByteArray key = "/CreationDate (D:";
  static const char fixed[] = "20000101000000";
  for (qsizetype at = pdf.indexOf(key); at >= 0; at = pdf.indexOf(key, at + 1)) {
    size_t digit = 0;
    for (qsizetype i = at + key.size(); i < pdf.size() && pdf[i] != ')'; ++i)
      if (pdf[i] >= '0' && pdf[i] <= '9') pdf[i] = digit < sizeof fixed - 1 ? fixed[digit++] : '0';
  }
}

}  // namespace

bool paintDocument(PrintDocument& doc, QPagedPaintDevice& device, const std::function<void()>& abandon,
                   const ProgressFn& progress) {
  const int pages = std::max(1, doc.paginate(device));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = 0; page < pages; ++page) {
    if (progress && !progress(page, pages)) {
      if (abandon) abandon();
      painter.end();
      throw Cancelled();
    }
    if (page > 0 && !device.newPage()) {
      if (abandon) abandon();
      painter.end();
      return false;
    }
    painter.save();
    doc.paintPage(painter, page);
    painter.restore();
  }
  return painter.end();
}

int countPages(PrintDocument& doc) {
  QBuffer sink;
  sink.open(QIODevice::WriteOnly);
  QPdfWriter writer(&sink);
  prepareWriter(writer, doc);
  return std::max(1, doc.paginate(writer));
}

QByteArray pdfBytes(PrintDocument& doc, QString* error, const ProgressFn& progress) {
  // The writer keeps its fonts in a hash and writes them in the hash's
  // order, which the process's random seed decides: while this document is
  // written, hashes take the fixed seed, so that another process writes the
  // fonts in the same order.
  struct FixedHashSeed {
    FixedHashSeed() { QHashSeed::setDeterministicGlobalSeed(); }
    ~FixedHashSeed() { QHashSeed::resetRandomGlobalSeed(); }
  } fixedSeed;
  QBuffer pdf;
  pdf.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&pdf);
    prepareWriter(writer, doc);
    writer.setDocumentXmpMetadata(fixedXmp(doc.title()));
    if (!paintDocument(doc, writer, {}, progress)) {
      if (error) *error = u"Errore durante la scrittura delle pagine."_qs;
      return {};
    }
  }
  QByteArray bytes = pdf.data();
  blankCreationDate(bytes);
  return bytes;
}

bool writePdf(PrintDocument& doc, const QString& path, QString* error, const OutputGuard& guard,
              WriteFailure* failure, const ProgressFn& progress) {
  const auto fail = [&](const QString& why, WriteFailure what = {WriteFailure::Kind::System, EIO}) {
    if (failure) *failure = what;
    if (error)
      *error = u"Attenzione: impossibile creare il file PDF \"%1\".\n\n%2"_qs
                   .arg(QFileInfo(path).fileName(), why);
    return false;
  };
  if (path.isEmpty()) return fail(u"Nessun nome di file indicato."_qs, {WriteFailure::Kind::System, ENOENT});
  // Drawn page by page straight into a new file beside the target, renamed
  // over it by the path's own bytes when whole (a folder named in Latin-1
  // stays itself): a half-written file never takes the target's name, and a
  // long list's pages are never all held in memory.
  bool painted = true;
  std::exception_ptr thrown;
  WriteFailure why;
  const bool written = replaceFileBytes(
      encodePath(path),
      [&](int fd) {
        try {
          QFile file;
          if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) return false;
          {
            QPdfWriter writer(&file);
            prepareWriter(writer, doc);
            painted = paintDocument(doc, writer, {}, progress);
          }
          if (!painted) errno = EIO;
          return painted && file.flush() && file.error() == QFileDevice::NoError;
        } catch (...) {
          thrown = std::current_exception();
          return false;
        }
      },
      &why, guard);
  if (thrown) std::rethrow_exception(thrown);
  if (!painted) return fail(u"Errore durante la scrittura delle pagine."_qs);
  if (!written) return fail(why.italian(), why);
  return true;
}

}  // namespace fondaro::report
