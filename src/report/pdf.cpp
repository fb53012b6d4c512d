#include "report/pdf.h"

#include <QBuffer>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

namespace fondaro::report {

namespace {
void prepareWriter(QPdfWriter& writer, PrintDocument& doc) {
  writer.setTitle(doc.title());
  writer.setCreator(u"Fondaro"_qs);
  writer.setResolution(1200);
  writer.setPageLayout(doc.pageLayout());
}
}  // namespace

bool paintDocument(PrintDocument& doc, QPagedPaintDevice& device) {
  const int pages = std::max(1, doc.paginate(device));
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !device.newPage()) {
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

bool writePdf(PrintDocument& doc, const QString& path, QString* error) {
  const auto fail = [&](const QString& why) {
    if (error)
      *error = u"Attenzione: impossibile creare il file PDF \"%1\".\n\n%2"_qs
                   .arg(QFileInfo(path).fileName(), why);
    return false;
  };
  if (path.isEmpty()) return fail(u"Nessun nome di file indicato."_qs);
  QSaveFile file(path);
  // Never write in place: a half-written file must not replace a good one.
  file.setDirectWriteFallback(false);
  if (!file.open(QIODevice::WriteOnly))
    return fail(u"Accertarsi di possedere i privilegi di scrittura nella cartella di destinazione."_qs);
  {
    QPdfWriter writer(&file);
    prepareWriter(writer, doc);
    if (!paintDocument(doc, writer)) {
      file.cancelWriting();
      return fail(u"Errore durante la scrittura delle pagine."_qs);
    }
  }
  if (!file.commit())
    return fail(u"Accertarsi di possedere i privilegi di scrittura nella cartella di destinazione."_qs);
  return true;
}

}  // namespace fondaro::report
