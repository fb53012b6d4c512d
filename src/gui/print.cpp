#include "gui/print.h"

#include <QAction>
#include <QBoxLayout>
#include <QGuiApplication>
#include <QIcon>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

#include "gui/messages.h"
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
const QString kPreviewText = u"Preparazione dell'anteprima di stampa..."_qs;

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

// The preview offers only what a reader needs: printing, zoom, full screen and
// closing; page set-up and orientation belong to the printout. The window is a
// print preview dialog to the rest of the system, but shows only its own view
// and toolbar: what the toolkit's dialog builds inside itself stays hidden.
class PreviewWindow : public QPrintPreviewDialog {
 public:
  PreviewWindow(QPrinter& printer, PrintDocument& doc, QWidget* parent)
      : QPrintPreviewDialog(&printer, parent), doc_(doc) {
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) w->hide();
    // The toolkit names its actions as we name ours: a search by name finds only ours.
    for (QAction* a : findChildren<QAction*>()) a->setObjectName(QString());
    delete layout();
    view_ = new QPrintPreviewWidget(&printer, this);
    view_->setObjectName(u"viewAnteprima"_qs);
    connect(view_, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* p) {
      ProgressDialog progress(this, kPreviewText);
      try {
        report::paintDocument(doc_, *p, {}, progress.callback());
      } catch (const Cancelled&) {
        // Pages the user did not wait for are not shown half: the preview closes.
        cancelled_ = true;
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
      }
    });
    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(buildToolbar());
    box->addWidget(view_);
    setWindowTitle(u"Anteprima di stampa - "_qs + doc.title());
    view_->setFocus();
  }

 private:
  // The toolkit's own pictures where the theme has none.
  static QIcon toolkitIcon(const char* name) {
    const QString file = u":/qt-project.org/dialogs/qprintpreviewdialog/images/"_qs + QLatin1String(name);
    QIcon icon = QIcon::fromTheme(QLatin1String(name));
    icon.addFile(file + u"-24.png"_qs, QSize(24, 24));
    icon.addFile(file + u"-32.png"_qs, QSize(32, 32));
    return icon;
  }

  QToolBar* buildToolbar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(u"barAnteprima"_qs);
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [&](const char* name, const QString& text, const QIcon& icon, auto slot) {
      QAction* a = bar->addAction(icon, text);
      a->setObjectName(QLatin1String(name));
      connect(a, &QAction::triggered, this, slot);
      return a;
    };
    add("printAction", u"Stampa"_qs, toolkitIcon("printer"),
        [this] { gui::print(this, doc_, PrintTarget::PrintDialog); });
    bar->addSeparator();
    add("fitWidthAction", u"Adatta alla larghezza"_qs, toolkitIcon("zoom-fit-width"),
        [this] { view_->fitToWidth(); });
    add("fitPageAction", u"Pagina intera"_qs, toolkitIcon("zoom-fit-page"), [this] { view_->fitInView(); });
    add("zoomInAction", u"Ingrandisci"_qs, toolkitIcon("zoom-in"), [this] { view_->zoomIn(); });
    add("zoomOutAction", u"Riduci"_qs, toolkitIcon("zoom-out"), [this] { view_->zoomOut(); });
    bar->addSeparator();
    QAction* full =
        add("fullScreenAction", u"Schermo intero"_qs, style()->standardIcon(QStyle::SP_TitleBarMaxButton),
            [this](bool on) { on ? showFullScreen() : showNormal(); });
    full->setCheckable(true);
    add("closeAction", u"Chiudi"_qs, style()->standardIcon(QStyle::SP_DialogCloseButton),
        [this] { reject(); });
    return bar;
  }

  PrintDocument& doc_;
  QPrintPreviewWidget* view_;
  bool cancelled_ = false;

 public:
  bool cancelled() const { return cancelled_; }
};

bool preview(QWidget* parent, PrintDocument& doc) {
  QPrinter printer(QPrinter::HighResolution);
  applyLayout(printer, doc);
  PreviewWindow window(printer, doc, parent);
  // Pages are read, not glanced at: most of the screen.
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size();
    window.resize(room.width() * 4 / 5, room.height() * 9 / 10);
  }
  window.exec();
  return !window.cancelled();
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
