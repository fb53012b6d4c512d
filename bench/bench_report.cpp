// SPDX-License-Identifier: GPL-3.0-or-later
// The list printout of 100000 lines (about 1900 landscape pages) written as a
// PDF by the report engine, against the plainest way to put the same lines on
// PDF pages: one QPainter::drawText per line on a QPdfWriter. Both run in the
// same process, one after the other. The counters give the pages, the resident
// memory when the first pages are done and at the end (it must not grow with
// the number of pages), and the file size.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>

#include "report/fonts.h"
#include "report/headless.h"
#include "report/pdf.h"
#include "report/templates.h"

namespace {

using namespace fondaro;

void ensureApplication() {
  static int argc = 1;
  static char name[] = "bench_report";
  static char* argv[] = {name, nullptr};
  static const auto app = report::startHeadless(argc, argv);
}

// Resident memory of this process, in MiB.
double residentMiB() {
  QFile f(u"/proc/self/statm"_qs);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QList<QByteArray> parts = f.readAll().split(' ');
  return parts.size() > 1 ? parts[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

// Lines shaped like the movement list lines: 150 characters and more.
QStringList listLines(int n) {
  QStringList lines;
  lines.reserve(n);
  for (int i = 0; i < n; ++i) {
    lines << u"%1  Scad. %2  Da: %3  A: %4  Importo: %5"_qs
                 .arg(u"Causale del movimento numero %1"_qs.arg(i), -40)
                 .arg(u"15/01/2024"_qs, -10)
                 .arg(u"Pagatore %1"_qs.arg(i % 997), -30)
                 .arg(u"Beneficiario %1"_qs.arg(i % 113), -30)
                 .arg(u"-%1,%2"_qs.arg(i % 9000).arg(i % 100, 2, 10, QChar(u'0')));
  }
  return lines;
}

// The report as it is printed, noting the memory at page 50 and at the end.
class Measured : public report::PrintDocument {
 public:
  explicit Measured(report::Report& r) : r_(r) {}
  QString title() const override { return r_.title(); }
  QPageLayout pageLayout() const override { return r_.pageLayout(); }
  int paginate(QPaintDevice& d) override { return pages = r_.paginate(d); }
  void paintPage(QPainter& p, int page) override {
    r_.paintPage(p, page);
    if (page == 50) early = residentMiB();
    if (page == pages - 1) late = residentMiB();
  }
  int pages = 0;
  double early = 0, late = 0;

 private:
  report::Report& r_;
};

constexpr int kLines = 100000;

void BM_ListReportPdf(benchmark::State& state) {
  ensureApplication();
  const QStringList lines = listLines(int(state.range(0)));
  QTemporaryDir dir;
  const QString path = dir.filePath(u"riepilogo.pdf"_qs);
  for (auto _ : state) {
    report::Report r = report::listReport(u"Riepilogo movimenti in archivio"_qs, lines);
    Measured m(r);
    if (!report::writePdf(m, path)) state.SkipWithError("PDF not written");
    state.counters["pages"] = m.pages;
    state.counters["rss_page50_MiB"] = m.early;
    state.counters["rss_end_MiB"] = m.late;
  }
  state.counters["pdf_MiB"] = double(QFileInfo(path).size()) / (1024 * 1024);
}

void BM_PlainPdfWriter(benchmark::State& state) {
  ensureApplication();
  const QStringList lines = listLines(int(state.range(0)));
  QTemporaryDir dir;
  const QString path = dir.filePath(u"semplice.pdf"_qs);
  for (auto _ : state) {
    QPdfWriter writer(path);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    QPainter p(&writer);
    p.setFont(report::printFont(u"Courier New"_qs, 8));
    const double step = 12.822 * 1200 / 96;
    const double height = writer.height();
    double y = step;
    int pages = 1;
    double early = 0;
    for (const QString& line : lines) {
      if (y > height) {
        writer.newPage();
        if (++pages == 51) early = residentMiB();
        y = step;
      }
      p.drawText(QPointF(0, y), line);
      y += step;
    }
    p.end();
    state.counters["pages"] = pages;
    state.counters["rss_page50_MiB"] = early;
    state.counters["rss_end_MiB"] = residentMiB();
  }
  state.counters["pdf_MiB"] = double(QFileInfo(path).size()) / (1024 * 1024);
}

}  // namespace

// The small runs come first and warm fonts and caches up for both.
BENCHMARK(BM_PlainPdfWriter)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListReportPdf)->Arg(10000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainPdfWriter)->Arg(kLines)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListReportPdf)->Arg(kLines)->Iterations(1)->Unit(benchmark::kMillisecond);
