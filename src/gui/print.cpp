// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/print.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "gui/messages.h"
#include "gui/preview.h"
#include "gui/progress.h"
#include "report/pdf.h"

namespace fondaro::gui {

namespace {
PrintHook& hook() {
  static PrintHook h;
  return h;
}

std::optional<bool>& printerPresentOverride() {
  static std::optional<bool> p;
  return p;
}

bool printerPresent() {
  if (printerPresentOverride()) return *printerPresentOverride();
  return !QPrinterInfo::defaultPrinter().isNull();
}

void applyLayout(QPrinter& printer, const PrintDocument& doc) {
  printer.setDocName(doc.title());
  printer.setCreator(u"Fondaro"_qs);
  const QPageLayout layout = doc.pageLayout();
  // A printer whose hardware margins are wider than ours keeps its own.
  if (!printer.setPageLayout(layout)) {
    printer.setPageSize(layout.pageSize());
    printer.setPageOrientation(layout.orientation());
  }
}

// The pages the printer was asked for (the print dialog's range), or all.
class PageRange : public PrintDocument {
 public:
  PageRange(PrintDocument& doc, int from, int to) : doc_(doc), from_(from), to_(to) {}
  QString title() const override { return doc_.title(); }
  QPageLayout pageLayout() const override { return doc_.pageLayout(); }
  int paginate(QPaintDevice& device) override {
    const int pages = doc_.paginate(device);
    to_ = std::min(to_, pages);
    from_ = std::clamp(from_, 1, std::max(1, to_));
    return std::max(1, to_ - from_ + 1);
  }
  void paintPage(QPainter& painter, int page) override { doc_.paintPage(painter, from_ - 1 + page); }

 private:
  PrintDocument& doc_;
  int from_, to_;
};

// Long work shows its progress: a long list is a thousand pages and more.
const QString kPrintingText = u"Stampa in corso..."_qs;
const QString kPdfText = u"Creazione del file PDF in corso..."_qs;

bool printOn(QWidget* parent, QPrinter& printer, PrintDocument& doc) {
  bool done = false;
  // A job that fails or is cancelled half way is withdrawn, not sent with the
  // pages so far.
  const auto cancel = [&printer] { printer.abort(); };
  ProgressDialog progress(parent, kPrintingText);
  try {
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
      PageRange range(doc, printer.fromPage(), std::max(printer.fromPage(), printer.toPage()));
      done = report::paintDocument(range, printer, cancel, progress.callback());
    } else {
      done = report::paintDocument(doc, printer, cancel, progress.callback());
    }
  } catch (const Cancelled&) {
    return false;
  }
  if (!done)
    notice(parent, Icon::Warning,
           u"Attenzione: la stampante non ha accettato il documento \"%1\".\n\n"
           "Verificare che la stampante sia accesa e collegata, poi ripetere la stampa."_qs
               .arg(doc.title()));
  return done;
}

bool preview(QWidget* parent, PrintDocument& doc) {
  QPrinter printer(QPrinter::HighResolution);
  applyLayout(printer, doc);
  return showPreview(parent, printer, doc);
}
}  // namespace

QString noPrinterText() {
  return u"Attenzione: nel sistema non è configurata alcuna stampante predefinita.\n\n"
         "Installare una stampante, o sceglierne una come predefinita, e ripetere la stampa."_qs;
}

bool print(QWidget* parent, PrintDocument& doc, PrintTarget target, int copies,
           const QString& pdfPath) {
  copies = std::max(1, copies);
  if (target == PrintTarget::Pdf) {
    QString error;
    ProgressDialog progress(parent, kPdfText);
    try {
      if (!report::writePdf(doc, pdfPath, &error, {}, nullptr, progress.callback())) {
        notice(parent, Icon::Warning, error);
        return false;
      }
    } catch (const Cancelled&) {
      return false;  // the older file of that name stays as it was
    }
  }
  if ((target == PrintTarget::Printer || target == PrintTarget::PrintDialog) && !printerPresent()) {
    notice(parent, Icon::Warning, noPrinterText());
    return false;
  }
  if (hook()) {
    const PrintRequest request{target, doc.title(), report::countPages(doc), copies, pdfPath,
                               doc.pageLayout()};
    return hook()(request, doc);
  }
  switch (target) {
    case PrintTarget::Pdf:
      return true;
    case PrintTarget::Preview:
      return preview(parent, doc);
    case PrintTarget::Printer: {
      QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
      applyLayout(printer, doc);
      printer.setCopyCount(copies);
      return printOn(parent, printer, doc);
    }
    case PrintTarget::PrintDialog: {
      QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
      applyLayout(printer, doc);
      printer.setCopyCount(copies);
      QPrintDialog dialog(&printer, parent);
      dialog.setWindowTitle(u"Stampa"_qs);
      dialog.setMinMax(1, report::countPages(doc));
      if (dialog.exec() != QDialog::Accepted) return false;
      return printOn(parent, printer, doc);
    }
  }
  return false;
}

void setPrintHook(PrintHook h) { hook() = std::move(h); }
void setPrinterPresent(std::optional<bool> present) { printerPresentOverride() = present; }

}  // namespace fondaro::gui
