// SPDX-License-Identifier: GPL-3.0-or-later
// The print seam: PDF files written whole or not at all, the notice when no
// printer exists, the requests a capture records, and the preview window.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPaintDevice>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QSpinBox>
#include <QToolBar>

#include "gui/messages.h"
#include "gui/print.h"
#include "report/pdf.h"
#include "report/report.h"
#include "report/templates.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::gui;
using namespace fondaro::testsupport;

namespace {

// One line of text on each of `pages` pages.
class Pages : public PrintDocument {
 public:
  explicit Pages(int pages) : pages_(pages) {}
  QString title() const override { return u"Prova di stampa"_qs; }
  QPageLayout pageLayout() const override {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                       QPageLayout::Millimeter);
  }
  int paginate(QPaintDevice& device) override {
    dpi_ = device.logicalDpiY();
    return pages_;
  }
  void paintPage(QPainter& painter, int page) override {
    QFont f(u"DejaVu Sans"_qs);
    f.setPixelSize(dpi_ / 6);
    f.setStyleStrategy(QFont::PreferNoShaping);
    painter.setFont(f);
    painter.drawText(QPointF(dpi_, dpi_), u"Pagina stampata numero %1, caffè"_qs.arg(page + 1));
  }

 private:
  int pages_;
  int dpi_ = 96;
};

// The preview window, recognised by its name; any other window is closed so
// that the test never waits on it.
bool isPreview(QWidget* w) {
  if (w->objectName() == u"frmAnteprima"_qs) return true;
  w->close();
  return false;
}

QStringList listLines(int n) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << u"Riga %1 dell'elenco di prova"_qs.arg(i, 4, 10, QChar(u'0'));
  return lines;
}

}  // namespace

class TestPrint : public QObject {
  Q_OBJECT

  QTemporaryDir dir;

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void aPdfIsWrittenWithNoDialog() {
    DialogScript dialogs;
    Pages doc(3);
    const QString path = dir.filePath(u"prova.pdf"_qs);
    QVERIFY(print(nullptr, doc, PrintTarget::Pdf, 1, path));
    QVERIFY(dialogs.seen().isEmpty());
    QCOMPARE(testing::pdfPageCount(path), 3);
    const QString text = testing::pdfText(path);
    QVERIFY2(text.contains(u"Pagina stampata numero 3, caffè"_qs), qPrintable(text));
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(dir.path()).entryList({u"prova*"_qs}, QDir::Files), QStringList{u"prova.pdf"_qs});
  }

  void anUnwritablePdfIsReportedAndNothingLeft_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing folder") << u"nessuna-cartella/prova.pdf"_qs;
    QTest::newRow("folder is a file") << u"un-file.txt/prova.pdf"_qs;
    QTest::newRow("name of a folder") << u"una-cartella"_qs;
  }
  void anUnwritablePdfIsReportedAndNothingLeft() {
    QFETCH(QString, path);
    QFile file(dir.filePath(u"un-file.txt"_qs));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QDir(dir.path()).mkpath(u"una-cartella"_qs);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    DialogScript dialogs;
    Pages doc(1);
    QVERIFY(!print(nullptr, doc, PrintTarget::Pdf, 1, dir.filePath(path)));
    QVERIFY2(dialogs.only().text.startsWith(u"Attenzione: impossibile creare il file PDF \""_qs +
                                            QFileInfo(path).fileName() + u"\"."_qs),
             qPrintable(dialogs.only().text));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
  }

  void aPdfReplacesAnOlderFileWhole() {
    const QString path = dir.filePath(u"vecchio.pdf"_qs);
    QFile older(path);
    QVERIFY(older.open(QIODevice::WriteOnly));
    older.write(QByteArray(200000, 'x'));  // longer than the new document
    older.close();
    Pages doc(1);
    QVERIFY(print(nullptr, doc, PrintTarget::Pdf, 1, path));
    QCOMPARE(testing::pdfPageCount(path), 1);
    QVERIFY(QFileInfo(path).size() < 200000);
  }

  void noPrinterMeansANoticeAndNothingPrinted() {
    // The real question to the system: this binary runs with no print server.
    {
      DialogScript dialogs;
      Pages doc(1);
      QVERIFY(!print(nullptr, doc, PrintTarget::Printer));
      QCOMPARE(dialogs.only().text, noPrinterText());
      QCOMPARE(dialogs.only().icon, Icon::Warning);
    }
    // And through the capture, for the print dialog too.
    DialogScript dialogs;
    PrintCapture printer(false);
    Pages doc(1);
    QVERIFY(!print(nullptr, doc, PrintTarget::PrintDialog, 2));
    QCOMPARE(dialogs.only().text, noPrinterText());
    QVERIFY(printer.jobs().isEmpty());
  }

  void aCaptureRecordsTheRequestAndTheDocument() {
    PrintCapture printer;
    Pages doc(2);
    QVERIFY(print(nullptr, doc, PrintTarget::Printer, 3));
    printer.answer = false;  // the print dialog cancelled
    QVERIFY(!print(nullptr, doc, PrintTarget::PrintDialog, 1));
    QCOMPARE(printer.jobs().size(), 2);
    const PrintRequest& r = printer.jobs()[0].request;
    QCOMPARE(r.target, PrintTarget::Printer);
    QCOMPARE(r.title, u"Prova di stampa"_qs);
    QCOMPARE(r.copies, 3);
    QCOMPARE(r.pageCount, 2);
    QCOMPARE(r.layout.orientation(), QPageLayout::Portrait);
    QVERIFY(printer.text(0).contains(u"Pagina stampata numero 2, caffè"_qs));
    QCOMPARE(printer.jobs()[1].request.target, PrintTarget::PrintDialog);
  }

  // The real print dialog comes up with the copies asked for; cancelling it
  // prints nothing and says nothing.
  void thePrintDialogPresetsTheCopies() {
    DialogScript dialogs;
    setPrinterPresent(true);
    Pages doc(2);
    QList<int> copies;
    ModalDriver driver([&](QWidget* w) {
      auto* dialog = qobject_cast<QPrintDialog*>(w);
      if (!dialog) return;
      for (auto* spin : dialog->findChildren<QSpinBox*>(u"copies"_qs)) copies << spin->value();
      dialog->reject();
    });
    QVERIFY(!print(nullptr, doc, PrintTarget::PrintDialog, 3));
    setPrinterPresent(std::nullopt);
    QVERIFY(driver.done());
    QCOMPARE(copies, QList<int>{3});
    QVERIFY(dialogs.seen().isEmpty());
  }

  void thePreviewOffersPrintPagesZoomFullScreenAndClose() {
    Pages doc(2);
    QStringList visible, bare;
    bool seen = false, wentFullScreen = false;
    ModalDriver driver([&](QWidget* w) {
      if (!(seen = isPreview(w))) return;
      saveShot(w, artifacts(), u"anteprima"_qs);
      auto* bar = w->findChild<QToolBar*>(u"barAnteprima"_qs);
      QVERIFY(bar && bar->isVisible());
      for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator() || a->objectName().isEmpty()) continue;
        visible << a->objectName();
        // Each command shows a picture of the program's artwork and says what it does.
        if (a->icon().isNull() || a->toolTip() == a->text()) bare << a->objectName();
      }
      auto* full = w->findChild<QAction*>(u"fullScreenAction"_qs);
      full->trigger();
      wentFullScreen = w->isFullScreen();
      full->trigger();
      w->findChild<QAction*>(u"closeAction"_qs)->trigger();
    });
    QVERIFY(print(nullptr, doc, PrintTarget::Preview));
    QVERIFY(driver.done());
    QVERIFY(seen);
    QVERIFY(wentFullScreen);
    QVERIFY2(bare.isEmpty(), qPrintable(bare.join(u", "_qs)));
    visible.sort();
    QCOMPARE(visible, (QStringList{u"closeAction"_qs, u"firstPageAction"_qs, u"fitPageAction"_qs,
                                   u"fitWidthAction"_qs, u"fullScreenAction"_qs, u"lastPageAction"_qs,
                                   u"nextPageAction"_qs, u"previousPageAction"_qs, u"printAction"_qs,
                                   u"zoomInAction"_qs, u"zoomOutAction"_qs}));
  }

  // A list of several pages, paged through with the keyboard as a reader does:
  // PgDn/PgUp, End/Home, + and -, and Esc closes.
  void thePreviewPagesThroughAListWithTheKeys() {
    report::Report list = report::listReport(u"Riepilogo movimenti in archivio"_qs, listLines(160));
    const int pages = report::countPages(list);
    QVERIFY(pages >= 3);
    QStringList labels;
    QList<int> at;
    bool seen = false, zoomedIn = false, zoomedOut = false, closed = false;
    ModalDriver driver([&](QWidget* w) {
      if (!(seen = isPreview(w))) return;
      auto* view = w->findChild<QPrintPreviewWidget*>(u"viewAnteprima"_qs);
      auto* label = w->findChild<QLabel*>(u"lblPagina"_qs);
      // The view lays its pages out once it is shown; on a busy machine that
      // comes after the window.
      const bool laidOut = QTest::qWaitFor(
          [&] { return view->pageCount() == pages && label->text().endsWith(QString::number(pages)); }, 10000);
      // The keys are the window's shortcuts: they reach it once it is active.
      w->activateWindow();
      if (!laidOut || !QTest::qWaitForWindowActive(w, 10000)) {
        w->close();  // the comparisons below then fail and say so
        return;
      }
      saveShot(w, artifacts(), u"anteprima_elenco"_qs);
      labels << label->text();
      for (const Qt::Key key : {Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home}) {
        QTest::keyClick(view, key);
        at << view->currentPage();
      }
      labels << label->text();
      const qreal before = view->zoomFactor();
      QTest::keyClick(view, Qt::Key_Plus);
      zoomedIn = view->zoomFactor() > before;
      QTest::keyClick(view, Qt::Key_Minus);
      QTest::keyClick(view, Qt::Key_Minus);
      zoomedOut = view->zoomFactor() < before;
      QTest::keyClick(view, Qt::Key_Escape);
      closed = !w->isVisible();
      if (!closed) w->close();
    });
    QVERIFY(print(nullptr, list, PrintTarget::Preview));
    QVERIFY(driver.done());
    QVERIFY(seen);
    QCOMPARE(at, (QList<int>{2, pages, pages - 1, 1}));
    QCOMPARE(labels, (QStringList{u"Pagina 1 di %1"_qs.arg(pages), u"Pagina 1 di %1"_qs.arg(pages)}));
    QVERIFY(zoomedIn);
    QVERIFY(zoomedOut);
    QVERIFY(closed);
  }

  // "Annulla" while the pages are prepared closes the preview: half a document
  // is never shown.
  void cancellingThePreparationClosesThePreview() {
    Pages doc(400);
    ProgressCanceller cancel;
    QVERIFY(!print(nullptr, doc, PrintTarget::Preview));
    QCOMPARE(cancel.sentences(), QStringList{u"Preparazione dell'anteprima di stampa..."_qs});
    for (QWidget* w : QApplication::topLevelWidgets())
      QVERIFY2(!w->isVisible() || w->objectName() != u"frmAnteprima"_qs, "the preview is still open");
  }

  // One view and one toolbar are on screen, the view shows the document's pages
  // and follows the zoom buttons, and printing from the preview goes through the
  // print dialog of the seam.
  void thePreviewShowsTheDocumentAndPrintsIt() {
    Pages doc(3);
    QString title;
    int views = 0, bars = 0, pages = 0;
    bool zoomed = false, fitted = false;
    QList<PrintRequest> printed;
    ModalDriver driver([&](QWidget* w) {
      if (!isPreview(w)) return;
      title = w->windowTitle();
      for (auto* v : w->findChildren<QPrintPreviewWidget*>())
        if (v->isVisible()) ++views, pages = v->pageCount();
      for (auto* b : w->findChildren<QToolBar*>()) bars += b->isVisible();
      auto* view = w->findChild<QPrintPreviewWidget*>(u"viewAnteprima"_qs);
      const qreal before = view->zoomFactor();
      w->findChild<QAction*>(u"zoomInAction"_qs)->trigger();
      zoomed = view->zoomFactor() > before && view->zoomMode() == QPrintPreviewWidget::CustomZoom;
      w->findChild<QAction*>(u"fitPageAction"_qs)->trigger();
      fitted = view->zoomMode() == QPrintPreviewWidget::FitInView;
      {
        PrintCapture printer;
        w->findChild<QAction*>(u"printAction"_qs)->trigger();
        for (const auto& job : printer.jobs()) printed << job.request;
      }
      w->close();
    });
    QVERIFY(print(nullptr, doc, PrintTarget::Preview));
    QVERIFY(driver.done());
    QCOMPARE(title, u"Anteprima di stampa - Prova di stampa"_qs);
    QCOMPARE(views, 1);
    QCOMPARE(bars, 1);
    QCOMPARE(pages, 3);
    QVERIFY(zoomed);
    QVERIFY(fitted);
    QCOMPARE(printed.size(), 1);
    QCOMPARE(printed[0].target, PrintTarget::PrintDialog);
    QCOMPARE(printed[0].pageCount, 3);
  }
};

int main(int argc, char** argv) {
  // No print server: the system has no printer, whatever this machine has set up.
  qputenv("CUPS_SERVER", "/nonexistent/cups.sock");
  QApplication app(argc, argv);
  TestPrint t;
  return QTest::qExec(&t, argc, argv);
}
#include "test_print.moc"
