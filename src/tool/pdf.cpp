#include "tool/pdf.h"

#include <dlfcn.h>

#include <QByteArray>

#include "core/programfolder.h"

namespace fondaro::tool {

namespace {

// The module, loaded once on first use; the reason it could not be, if so.
ListPdfWriter loadWriter(QString* why) {
  static ListPdfWriter writer = nullptr;
  static QString failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    const QByteArray folder = executableFolderPath();
    // Beside the tool (a build), else in the installed library folder.
    for (const QByteArray& place : {folder + kPdfModuleName, folder + FONDARO_PDF_MODULE_FROM_BIN + kPdfModuleName}) {
      void* module = ::dlopen(place.constData(), RTLD_NOW | RTLD_LOCAL);
      if (!module) {
        failure = QString::fromLocal8Bit(::dlerror());
        continue;
      }
      using Entry = ListPdfWriter (*)();
      if (auto entry = reinterpret_cast<Entry>(::dlsym(module, "fondaro_list_pdf_writer"))) {
        writer = entry();
        break;
      }
      failure = QString::fromLocal8Bit(::dlerror());
    }
  }
  if (!writer && why) *why = QStringLiteral("the PDF writer cannot be loaded: ") + failure;
  return writer;
}

}  // namespace

bool writeListPdf(const QString& path, Printout kind, const QString& title, const QStringList& lines,
                  const OutputGuard& guard, QString* error) {
  const ListPdfWriter writer = loadWriter(error);
  return writer && writer(path, kind, title, lines, guard, error);
}

}  // namespace fondaro::tool
