// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's PDF writer, a module of its own: the graphics libraries it needs
// are loaded only by the commands that write a PDF, so that every other
// command starts as fast as a plain program (see tool/pdf.cpp).
#include <QGuiApplication>

#include "tool/pdf.h"

#include "report/fonts.h"
#include "report/invoicecopy.h"
#include "report/pdf.h"
#include "report/templates.h"

namespace fondaro::tool {

namespace {

// Fonts need a GUI application; the offscreen platform draws without a display.
void ensureGuiApplication() {
  if (QGuiApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fondaro-tool";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing it down among the exit handlers would outlive
  // the toolkit's own per-thread data.
  new QGuiApplication(argc, argv);
  report::installFonts();
}

class Lines : public report::LineSource {
 public:
  explicit Lines(const PrintoutLines& lines) : lines_(lines) {}
  int count() const override { return lines_.count; }
  QString line(int i) const override { return lines_.line(i); }

 private:
  const PrintoutLines& lines_;
};

}  // namespace

namespace {

report::Report printout(Printout kind, const QString& title, const PrintoutLines& lines) {
  if (kind == Printout::Categorie || kind == Printout::Rendiconto) {
    // Tables of a few hundred rows at most: held whole.
    QStringList rows;
    rows.reserve(lines.count);
    for (int i = 0; i < lines.count; ++i) rows << lines.line(i);
    return kind == Printout::Categorie ? report::categoriesReport(title, rows) : report::rendicontoReport(title, rows);
  }
  auto source = std::make_shared<const Lines>(lines);
  return kind == Printout::Primanota ? report::journalReport(title, source) : report::listReport(title, source);
}

}  // namespace

bool writeListPdfNow(const QString& path, Printout kind, const QString& title, const PrintoutLines& lines,
                     const OutputGuard& guard, QString* error) {
  ensureGuiApplication();
  report::Report r = printout(kind, title, lines);
  WriteFailure failure;
  if (report::writePdf(r, path, nullptr, guard, &failure)) return true;
  *error = failure.english();
  return false;
}

QByteArray invoiceCopyNow(const InvoiceFileRead& file, QString* error) {
  ensureGuiApplication();
  return report::invoiceCopyPdf(file, error);
}

}  // namespace fondaro::tool

extern "C" __attribute__((visibility("default"))) fondaro::tool::ListPdfWriter fondaro_list_pdf_writer() {
  return &fondaro::tool::writeListPdfNow;
}

extern "C" __attribute__((visibility("default"))) fondaro::tool::InvoiceCopyMaker fondaro_invoice_copy_maker() {
  return &fondaro::tool::invoiceCopyNow;
}
