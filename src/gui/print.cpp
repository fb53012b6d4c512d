#include "gui/print.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

#include "gui/messages.h"
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

bool printOn(QWidget* parent, QPrinter& printer, PrintDocument& doc) {
  bool done = false;
  // A job that fails half way is cancelled, not sent with the pages so far.
  const auto cancel = [&printer] { printer.abort(); };
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    PageRange range(doc, printer.fromPage(), std::max(printer.fromPage(), printer.toPage()));
    done = report::paintDocument(range, printer, cancel);
  } else {
    done = report::paintDocument(doc, printer, cancel);
  }
  if (!done)
    notice(parent, Icon::Warning,
           u"Attenzione: la stampante non ha accettato il documento \"%1\".\n\n"
           "Verificare che la stampante sia accesa e collegata, poi ripetere la stampa."_qs
               .arg(doc.title()));
  return done;
}

// The preview offers only what a reader needs: printing, zoom, full screen and
// closing; page set-up and orientation belong to the printout. Its own toolbar
// replaces the toolkit's, borrowing the toolkit's pictures where it can.
void buildPreviewToolbar(QPrintPreviewDialog& dialog, PrintDocument& doc) {
  auto* view = dialog.findChild<QPrintPreviewWidget*>();
  auto* stock = dialog.findChild<QToolBar*>();
  if (!view || !stock) return;
  QList<QAction*> stockActions = stock->actions();
  stock->hide();
  const auto stockIcon = [&](int fromCombo) {
    // The toolkit's zoom buttons follow its zoom field; its print button is last.
    for (int i = 0; i < stockActions.size(); ++i)
      if (qobject_cast<QComboBox*>(stock->widgetForAction(stockActions[i])) &&
          i + fromCombo < stockActions.size())
        return stockActions[i + fromCombo]->icon();
    return QIcon();
  };
  const auto named = [&](const char* name) {
    for (QAction* a : stockActions)
      if (a->objectName() == QLatin1String(name)) return a->icon();
    return QIcon();
  };

  auto* bar = new QToolBar(&dialog);
  bar->setObjectName(u"barAnteprima"_qs);
  bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
  bar->setIconSize(stock->iconSize());
  const auto add = [&](const char* name, const QString& text, const QIcon& icon, auto slot) {
    QAction* a = bar->addAction(icon, text);
    a->setObjectName(QLatin1String(name));
    QObject::connect(a, &QAction::triggered, &dialog, slot);
    return a;
  };
  add("printAction", u"Stampa"_qs, stockActions.isEmpty() ? QIcon() : stockActions.last()->icon(),
      [&dialog, &doc] { print(&dialog, doc, PrintTarget::PrintDialog); });
  bar->addSeparator();
  add("fitWidthAction", u"Adatta alla larghezza"_qs, named("fitWidthAction"), [view] { view->fitToWidth(); });
  add("fitPageAction", u"Pagina intera"_qs, named("fitPageAction"), [view] { view->fitInView(); });
  add("zoomInAction", u"Ingrandisci"_qs, stockIcon(2), [view] { view->zoomIn(); });
  add("zoomOutAction", u"Riduci"_qs, stockIcon(1), [view] { view->zoomOut(); });
  bar->addSeparator();
  QAction* full = add("fullScreenAction", u"Schermo intero"_qs,
                      dialog.style()->standardIcon(QStyle::SP_TitleBarMaxButton), [&dialog](bool on) {
    if (on)
      dialog.showFullScreen();
    else
      dialog.showNormal();
  });
  full->setCheckable(true);
  add("closeAction", u"Chiudi"_qs, dialog.style()->standardIcon(QStyle::SP_DialogCloseButton), [&dialog] { dialog.reject(); });
  if (auto* box = qobject_cast<QBoxLayout*>(dialog.layout()))
    box->insertWidget(0, bar);
  else if (dialog.layout())
    dialog.layout()->setMenuBar(bar);
}

bool preview(QWidget* parent, PrintDocument& doc) {
  QPrinter printer(QPrinter::HighResolution);
  applyLayout(printer, doc);
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(u"Anteprima di stampa - "_qs + doc.title());
  buildPreviewToolbar(dialog, doc);
  // Pages are read, not glanced at: most of the screen.
  if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen()) {
    const QSize room = screen->availableGeometry().size();
    dialog.resize(room.width() * 4 / 5, room.height() * 9 / 10);
  }
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                   [&doc](QPrinter* p) { report::paintDocument(doc, *p); });
  dialog.exec();
  return true;
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
    if (!report::writePdf(doc, pdfPath, &error)) {
      notice(parent, Icon::Warning, error);
      return false;
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
