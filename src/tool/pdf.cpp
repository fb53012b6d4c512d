// SPDX-License-Identifier: GPL-3.0-or-later
#include "tool/pdf.h"

#include <dlfcn.h>

#include <QByteArray>

#include "core/programfolder.h"

namespace fondaro::tool {

namespace {

// The module, loaded once on first use; the reason it could not be, if so.
void* loadModule(QString* why) {
  static void* module = nullptr;
  static QString failure;
  static bool tried = false;
  if (!tried) {
    tried = true;
    const QByteArray folder = executableFolderPath();
    // Beside the tool (a build), else in the installed library folder.
    for (const QByteArray& place : {folder + kPdfModuleName, folder + FONDARO_PDF_MODULE_FROM_BIN + kPdfModuleName}) {
      module = ::dlopen(place.constData(), RTLD_NOW | RTLD_LOCAL);
      if (module) break;
      failure = QString::fromLocal8Bit(::dlerror());
    }
  }
  if (!module && why) *why = QStringLiteral("the PDF writer cannot be loaded: ") + failure;
  return module;
}

// The module's entry `symbol`, a function giving what it makes; null with
// the reason when the module or the entry is missing.
template <class Made>
Made entryOf(const char* symbol, QString* why) {
  void* module = loadModule(why);
  if (!module) return nullptr;
  using Entry = Made (*)();
  if (auto entry = reinterpret_cast<Entry>(::dlsym(module, symbol))) return entry();
  if (why) *why = QStringLiteral("the PDF writer cannot be loaded: ") + QString::fromLocal8Bit(::dlerror());
  return nullptr;
}

}  // namespace

bool writeListPdf(const QString& path, Printout kind, const QString& title, const PrintoutLines& lines,
                  const OutputGuard& guard, QString* error) {
  static QString why;
  static const ListPdfWriter writer = entryOf<ListPdfWriter>("fondaro_list_pdf_writer", &why);
  if (!writer) {
    if (error) *error = why;
    return false;
  }
  return writer(path, kind, title, lines, guard, error);
}

QByteArray invoiceCopyPdf(const InvoiceFileRead& file, QString* error) {
  static QString why;
  static const InvoiceCopyMaker maker = entryOf<InvoiceCopyMaker>("fondaro_invoice_copy_maker", &why);
  if (!maker) {
    if (error) *error = why;
    return {};
  }
  return maker(file, error);
}

}  // namespace fondaro::tool
