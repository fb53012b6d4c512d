// SPDX-License-Identifier: GPL-3.0-or-later
// The report engine: templates read as data, objects found and filled by name,
// a data band split across pages (title once, footer after the data, page
// numbers), [DATE] only in the template's own texts, PDFs read back.
#include <QBuffer>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include "gui/print.h"
#include "report/fonts.h"
#include "report/pdf.h"
#include "report/report.h"
#include "report/templates.h"
#include "support.h"

using namespace fondaro;
using namespace fondaro::report;
using namespace fondaro::testsupport;

namespace {

const QDate kPrintDay(2024, 3, 7);

QStringList numberedLines(int n, const QString& note = QString()) {
  QStringList lines;
  for (int i = 1; i <= n; ++i) lines << u"Riga %1 del riepilogo%2"_qs.arg(i, 5, 10, QChar(u'0')).arg(note);
  return lines;
}

// The text of page `page` (from 1) of a PDF.
QString pageText(const QString& pdf, int page) {
  QProcess p;
  p.start(u"pdftotext"_qs, {u"-layout"_qs, u"-f"_qs, QString::number(page), u"-l"_qs,
                            QString::number(page), pdf, u"-"_qs});
  p.waitForFinished(60000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

// The page count the engine gives on a PDF page, and where the bands fell.
int layOut(Report& r) {
  QBuffer sink;
  sink.open(QIODevice::WriteOnly);
  QPdfWriter writer(&sink);
  writer.setResolution(1200);
  writer.setPageLayout(r.pageLayout());
  return r.paginate(writer);
}

}  // namespace

class TestReport : public QObject {
  Q_OBJECT

  QTemporaryDir dir;

  QString writeOut(Report& r, const QString& name) {
    const QString path = dir.filePath(name + u".pdf"_qs);
    QString error;
    if (!writePdf(r, path, &error)) qWarning() << error;
    return path;
  }

 private slots:
  void initTestCase() { prepareTestApplication(); }

  void theShippedTemplatesHaveTheirObjects_data() {
    QTest::addColumn<QString>("resource");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("objects");
    QTest::addColumn<int>("orientation");
    QTest::newRow("list") << u":/reports/riepilogo.json"_qs << u"Riepilogo dati"_qs
                          << QStringList{u"ReportTitle"_qs, u"txtTitolo"_qs, u"MasterData"_qs,
                                         u"txtRiepilogo"_qs, u"Footer"_qs, u"txtPagina"_qs}
                          << int(QPageLayout::Landscape);
    QTest::newRow("movement card")
        << u":/reports/schedamovimento.json"_qs << u"Scheda Movimento"_qs
        << QStringList{u"titArcataSup"_qs, u"txtTipo"_qs, u"txtData"_qs, u"txtPagamento"_qs,
                       u"txtSaldato"_qs, u"txtCalce"_qs, u"linSepara"_qs}
        << int(QPageLayout::Portrait);
  }
  void theShippedTemplatesHaveTheirObjects() {
    QFETCH(QString, resource);
    QFETCH(QString, name);
    QFETCH(QStringList, objects);
    QFETCH(int, orientation);
    Report r = Report::fromResource(resource);
    QCOMPARE(r.name(), name);
    QCOMPARE(int(r.pageLayout().orientation()), orientation);
    QCOMPARE(r.pageLayout().pageSize().id(), QPageSize::A4);
    QCOMPARE(r.pageLayout().margins(QPageLayout::Millimeter), QMarginsF(10, 10, 10, 10));
    for (const QString& o : objects) QVERIFY2(r.object(o) || r.band(o), qPrintable(o));
  }

  void theListReportCarriesTitleLinesAndHeights() {
    Report r = listReport(u"Riepilogo movimenti in archivio"_qs, numberedLines(3));
    QCOMPARE(r.object(u"txtTitolo"_qs)->lines, QStringList{u"Riepilogo movimenti in archivio"_qs});
    QCOMPARE(r.object(u"txtRiepilogo"_qs)->lines, numberedLines(3));
    QCOMPARE(r.object(u"txtRiepilogo"_qs)->rect.height(), 3 * 12.822);
    QCOMPARE(r.band(u"MasterData"_qs)->height, 3 * 12.822 + 10);
    // An unknown name changes nothing.
    QVERIFY(!r.setText(u"txtNessuno"_qs, u"x"_qs));
    QVERIFY(!r.setHeight(u"Nessuna"_qs, 5));
    QVERIFY(!r.addLine(u"txtNessuno"_qs, u"x"_qs));
    r.setOrientation(QPageLayout::Portrait);
    QCOMPARE(r.pageLayout().orientation(), QPageLayout::Portrait);
  }

  void aBrokenTemplateIsRefusedWithItsReason_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("reason");
    QTest::newRow("not json") << QByteArray("{\"name\": ") << u""_qs;
    QTest::newRow("unknown band") << QByteArray(R"({"bands":[{"kind":"header","height":3}]})")
                                  << u"tipo di banda sconosciuto"_qs;
    QTest::newRow("unknown object")
        << QByteArray(R"({"bands":[{"kind":"data","height":3,"objects":[{"kind":"chart","x":0,"y":0,"width":1,"height":1}]}]})")
        << u"tipo di oggetto sconosciuto"_qs;
    QTest::newRow("same name twice")
        << QByteArray(R"({"bands":[{"name":"a","kind":"data","height":3,"objects":[{"name":"a","kind":"rect","x":0,"y":0,"width":1,"height":1}]}]})")
        << u"nome ripetuto"_qs;
    QTest::newRow("bad colour")
        << QByteArray(R"({"bands":[{"kind":"data","height":3,"objects":[{"kind":"rect","x":0,"y":0,"width":1,"height":1,"background":"bluastro"}]}]})")
        << u"colore non valido"_qs;
    QTest::newRow("missing size")
        << QByteArray(R"({"bands":[{"kind":"data","height":3,"objects":[{"kind":"text","x":0,"y":0}]}]})")
        << u"numero mancante"_qs;
    QTest::newRow("unknown paper") << QByteArray(R"({"page":{"size":"B7"}})") << u"formato di pagina"_qs;
  }
  void aBrokenTemplateIsRefusedWithItsReason() {
    QFETCH(QByteArray, json);
    QFETCH(QString, reason);
    QString error;
    QVERIFY(!Report::parse(json, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY2(error.contains(reason), qPrintable(error));
  }

  // For every length of list around one, two and three pages: the title starts
  // page 1, the data follows in pieces that join exactly, break only between
  // lines and fit their pages, and the footer comes right after the data.
  void theDataBandSplitsBetweenLinesAndTheFooterFollows() {
    for (int n = 0; n <= 170; ++n) {
      Report r = listReport(u"Titolo"_qs, numberedLines(n));
      const int pages = layOut(r);
      const double area = r.pageLayout().paintRect(QPageLayout::Point).height() * 96 / 72;
      const QList<Report::Slice>& s = r.slices();
      const auto kind = [&](const Report::Slice& x) { return r.bands()[x.band].kind; };
      QVERIFY(s.size() >= 3);
      QCOMPARE(kind(s.first()), ReportBand::Kind::Title);
      QCOMPARE(s.first().page, 0);
      QCOMPARE(s.first().top, 0.0);
      QCOMPARE(kind(s.last()), ReportBand::Kind::Footer);
      QCOMPARE(s.last().page, pages - 1);
      const double dataHeight = n * kListLineHeight + 10;
      double covered = 0;
      for (int i = 1; i + 1 < s.size(); ++i) {
        QCOMPARE(kind(s[i]), ReportBand::Kind::Data);
        QVERIFY2(qAbs(s[i].from - covered) < 1e-6, qPrintable(u"n=%1"_qs.arg(n)));
        QVERIFY(s[i].to - s[i].from + s[i].top <= area + 1e-6);
        if (i + 2 < s.size()) {
          // A break falls between two lines (or in the blank below the last),
          // and the next piece tops a new page.
          const double lines = s[i].to / kListLineHeight;
          QVERIFY2(qAbs(lines - qRound(lines)) < 1e-6 || lines >= n,
                   qPrintable(u"n=%1 cut at %2"_qs.arg(n).arg(s[i].to)));
          QCOMPARE(s[i + 1].page, s[i].page + 1);
          QCOMPARE(s[i + 1].top, 0.0);
        }
        covered = s[i].to;
      }
      QVERIFY(qAbs(covered - dataHeight) < 1e-6);
      const Report::Slice& lastData = s[s.size() - 2];
      const Report::Slice& footer = s.last();
      if (footer.page == lastData.page)
        QVERIFY(qAbs(footer.top - (lastData.top + lastData.to - lastData.from)) < 1e-6);
      else
        QVERIFY(footer.page == lastData.page + 1 && footer.top == 0 &&
                lastData.top + lastData.to - lastData.from + 30.236 > area);
    }
  }

  // The same on paper: every line exactly once and in order, the title on the
  // first page only, the footer on the last after the last line, and "Pagina N
  // di M" on every page.
  void aLongListPrintsWholeOverSeveralPages() {
    const QStringList lines = numberedLines(130);
    Report r = listReport(u"Riepilogo movimenti in archivio"_qs, lines);
    r.setPrintDate(kPrintDay);
    const QString pdf = writeOut(r, u"lungo"_qs);
    const int pages = gui::testing::pdfPageCount(pdf);
    QCOMPARE(pages, 3);
    QStringList seen;
    for (int page = 1; page <= pages; ++page) {
      const QString text = pageText(pdf, page);
      QCOMPARE(text.contains(u"Riepilogo movimenti in archivio"_qs), page == 1);
      QCOMPARE(text.contains(u"Stampa eseguita in data 07/03/2024"_qs), page == pages);
      QVERIFY2(text.contains(u"Pagina %1 di %2"_qs.arg(page).arg(pages)), qPrintable(text));
      for (const QString& line : text.split(u'\n'))
        if (line.trimmed().startsWith(u"Riga ")) seen << line.trimmed();
      if (page == pages)
        QVERIFY(text.indexOf(u"Riga 00130"_qs) < text.indexOf(u"Stampa eseguita"_qs));
    }
    QCOMPARE(seen, lines);
    gui::testing::PrintCapture capture;
    gui::print(nullptr, r, gui::PrintTarget::Printer);
    capture.savePages(0, artifacts(), u"riepilogo-lungo"_qs);
  }

  // A device that refuses a page after the first (a printer that fails half
  // way): the job is abandoned before the painting ends, never sent cut.
  void aPageRefusedHalfWayAbandonsTheJob() {
    struct FailingWriter : QPdfWriter {
      using QPdfWriter::QPdfWriter;
      bool newPage() override { return false; }
    };
    Report r = listReport(u"Riepilogo movimenti in archivio"_qs, numberedLines(130));
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    FailingWriter writer(&sink);
    writer.setResolution(1200);
    writer.setPageLayout(r.pageLayout());
    int abandoned = 0;
    QVERIFY(!paintDocument(r, writer, [&] { ++abandoned; }));
    QCOMPARE(abandoned, 1);
  }

  void aOnePageReportHasNoPageNumber() {
    Report r = listReport(u"Riepilogo"_qs, numberedLines(5));
    const QString pdf = writeOut(r, u"breve"_qs);
    QCOMPARE(gui::testing::pdfPageCount(pdf), 1);
    QVERIFY(!gui::testing::pdfText(pdf).contains(u"Pagina"_qs));
  }

  // The printing date goes into the template's own field; the same text coming
  // from the user's data is printed as typed.
  void onlyTheTemplatesOwnDateFieldIsReplaced() {
    Report r = listReport(u"Riepilogo [DATE]"_qs,
                          {u"Nota: [DATE] resta [DATE]"_qs, u"[Saldato] caffè già pagato, più IVA"_qs});
    r.setPrintDate(kPrintDay);
    const QString text = gui::testing::pdfText(writeOut(r, u"data"_qs));
    QVERIFY2(text.contains(u"Riepilogo [DATE]"_qs), qPrintable(text));
    QVERIFY(text.contains(u"Nota: [DATE] resta [DATE]"_qs));
    QVERIFY(text.contains(u"[Saldato] caffè già pagato, più IVA"_qs));
    QVERIFY(text.contains(u"Stampa eseguita in data 07/03/2024"_qs));
    // A footer text set by the caller is the caller's too.
    r.setText(u"txtPagina"_qs, u"Stampa eseguita in data [DATE]"_qs);
    QVERIFY(gui::testing::pdfText(writeOut(r, u"data2"_qs)).contains(u"Stampa eseguita in data [DATE]"_qs));
    QCOMPARE(r.printedText(*r.object(u"txtPagina"_qs)), u"Stampa eseguita in data [DATE]"_qs);
  }

  // An object taller than a whole page cannot be kept whole: it is cut at the
  // page's end rather than pushed on forever.
  void anObjectTallerThanAPageIsCut() {
    auto r = Report::parse(R"({"name":"Alto","page":{"size":"A5"},"bands":[
      {"name":"Dati","kind":"data","height":2000,"objects":[
        {"name":"shpAlto","kind":"rect","x":0,"y":0,"width":100,"height":2000,"background":"teal"},
        {"name":"txtFondo","kind":"text","x":0,"y":1980,"width":300,"height":20,"text":"Fine del rettangolo"}]}]})");
    QVERIFY(r);
    const QString pdf = writeOut(*r, u"alto"_qs);
    const int pages = gui::testing::pdfPageCount(pdf);
    QVERIFY(pages >= 3);
    QVERIFY(pageText(pdf, pages).contains(u"Fine del rettangolo"_qs));
  }

  // The address-book card: objects placed on the page with no bands, a picture,
  // lines, and the caller's texts printed as typed.
  void theClientCardPrintsItsRowsAndLogo() {
    Report r = clientCardReport();
    QVERIFY(!r.object(u"imgLogo"_qs)->picture.isNull());
    r.setText(u"txtTitolo"_qs, u"SCHEDA ANAGRAFICA"_qs);
    r.setText(u"titCampo08"_qs, u"Modalità pagamento:"_qs);
    r.setText(u"txtCampo08"_qs, u"Bonifico [urgente]"_qs);
    r.setText(u"titCampo16"_qs, u"Carta di credito:"_qs);
    r.setText(u"txtCampo16"_qs, u"N. 4111111111111111  -  Scadenza: 12/27"_qs);
    r.setText(u"txtCalce"_qs, u"Stampa eseguita in data 07/03/2024 alle ore 10:11:12"_qs);
    const QString pdf = writeOut(r, u"cliente"_qs);
    QCOMPARE(gui::testing::pdfPageCount(pdf), 1);
    const QString text = gui::testing::pdfText(pdf);
    for (const QString& t : {u"SCHEDA ANAGRAFICA"_qs, u"Modalità pagamento:"_qs, u"Bonifico [urgente]"_qs,
                             u"N. 4111111111111111 - Scadenza: 12/27"_qs, u"Campo 24"_qs,
                             u"Stampa eseguita in data 07/03/2024 alle ore 10:11:12"_qs})
      QVERIFY2(text.simplified().contains(t), qPrintable(t + u" in "_qs + text));
    QProcess images;
    images.start(u"pdfimages"_qs, {u"-list"_qs, pdf});
    QVERIFY(images.waitForFinished(30000));
    const QString list = QString::fromUtf8(images.readAllStandardOutput());
    QVERIFY2(list.count(QRegularExpression(u"\\n\\s*1\\s+\\d+\\s+image\\s"_qs)) == 1, qPrintable(list));
    gui::testing::PrintCapture capture;
    gui::print(nullptr, r, gui::PrintTarget::Printer);
    capture.savePages(0, artifacts(), u"scheda-cliente"_qs, 80);
  }

  void anUnknownFontFamilyStillPrints() {
    auto r = Report::parse(R"({"name":"Font","bands":[{"kind":"page","objects":[
      {"name":"txtA","kind":"text","x":0,"y":0,"width":600,"height":30,"font":{"family":"Nessun Carattere","size":12},
       "text":"Perché è così"}]}]})");
    QVERIFY(r);
    QVERIFY(gui::testing::pdfText(writeOut(*r, u"font"_qs)).contains(u"Perché è così"_qs));
  }

  // A section laid out one line tall grows to its lines: what lies below
  // moves, a frame around it and the column beside it stretch, the band with
  // them; emptied, it gives its room back.
  void aTextFittedToItsLinesMovesWhatFollows() {
    const auto r = Report::parse(R"({"name": "t", "bands": [{"name": "Dati", "kind": "data", "height": 60, "objects": [
      {"name": "shpCornice", "kind": "rect", "x": 0, "y": 0, "width": 200, "height": 30},
      {"name": "colA", "kind": "text", "x": 0, "y": 10, "width": 100, "height": 10, "lineHeight": 10},
      {"name": "colB", "kind": "text", "x": 100, "y": 10, "width": 100, "height": 10, "lineHeight": 10},
      {"name": "titSopra", "kind": "text", "x": 0, "y": 0, "width": 100, "height": 10},
      {"name": "txtSotto", "kind": "text", "x": 0, "y": 40, "width": 100, "height": 10}]}]})");
    QVERIFY(r);
    Report report = *r;
    report.addLines(u"colA"_qs, {u"uno"_qs, u"due"_qs, u"tre"_qs, u"quattro"_qs});
    QVERIFY(report.fitToLines(u"colA"_qs));
    QCOMPARE(report.object(u"colA"_qs)->rect, QRectF(0, 10, 100, 40));
    QCOMPARE(report.object(u"colB"_qs)->rect, QRectF(100, 10, 100, 40));
    QCOMPARE(report.object(u"shpCornice"_qs)->rect, QRectF(0, 0, 200, 60));
    QCOMPARE(report.object(u"titSopra"_qs)->rect, QRectF(0, 0, 100, 10));
    QCOMPARE(report.object(u"txtSotto"_qs)->rect, QRectF(0, 70, 100, 10));
    QCOMPARE(report.band(u"Dati"_qs)->height, 90.0);
    report.clearLines(u"colA"_qs);
    QVERIFY(report.fitToLines(u"colA"_qs));
    QCOMPARE(report.object(u"txtSotto"_qs)->rect, QRectF(0, 30, 100, 10));
    QCOMPARE(report.band(u"Dati"_qs)->height, 50.0);
    QVERIFY(!report.fitToLines(u"nessuno"_qs));
  }

  // Lines broken between words to the object's width, a word longer than the
  // width inside itself; nothing lost.
  void aTextIsWrappedToItsObjectsWidth() {
    const auto r = Report::parse(R"({"name": "t", "bands": [{"name": "Dati", "kind": "data", "height": 20, "objects": [
      {"name": "txtStretto", "kind": "text", "x": 0, "y": 0, "width": 120, "height": 10, "font": {"family": "Arial", "size": 8}}]}]})");
    QVERIFY(r);
    const QString text = u"Toner per stampante laser IT60X0542811101000000123456789012345 fine"_qs;
    const QStringList lines = r->wrapped(u"txtStretto"_qs, text);
    QVERIFY(lines.size() >= 3);
    QCOMPARE(lines.join(QString()).remove(u' '), QString(text).remove(u' '));
    const QFontMetricsF fm(printFont(u"Arial"_qs, 8));
    for (const QString& l : lines) QVERIFY2(fm.horizontalAdvance(l) * 96.0 / fm.fontDpi() <= 120, qPrintable(l));
    QCOMPARE(r->wrapped(u"txtStretto"_qs, QString()), QStringList{QString()});
  }
};

QTEST_MAIN(TestReport)
#include "test_report.moc"
