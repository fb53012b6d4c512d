#include "tool/pdf.h"

#include <dlfcn.h>
#include <unistd.h>

#include <QByteArray>

namespace fondaro::tool {

namespace {

QByteArray executableFolder() {
  QByteArray link(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", link.data(), size_t(link.size() - 1));
  if (n <= 0) return "./";
  link.truncate(n);
  return link.left(link.lastIndexOf('/') + 1);
}

// The module, loaded once on first use; the reason it could not be, if so.
ListPdfWriter loadWriter(QString* why) {
  static ListPdfWriter writer = nullptr;
  static QString failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    const QByteArray folder = executableFolder();
    for (const QByteArray& place : {folder + kPdfModuleName, folder + "../lib/fondaro/" + kPdfModuleName}) {
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
