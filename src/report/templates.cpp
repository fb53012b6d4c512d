// SPDX-License-Identifier: GPL-3.0-or-later
#include "report/templates.h"

#include <algorithm>
#include <vector>

#include "core/categories.h"
#include "core/clientcard.h"
#include "core/movementcard.h"

namespace fondaro::report {

namespace {

// The list printout's template with its title and `count` lines, which `fill` puts in.
template <class Fill>
Report filledList(const QString& resource, const QString& title, qsizetype count, Fill fill) {
  Report r = Report::fromResource(resource);
  r.setText(u"txtTitolo"_qs, title);
  r.clearLines(u"txtRiepilogo"_qs);
  fill(r, u"txtRiepilogo"_qs);
  const double height = count * kListLineHeight;
  r.setHeight(u"txtRiepilogo"_qs, height);
  r.setHeight(u"MasterData"_qs, height + 10);
  return r;
}

// Memos of one data band, one line each per row, so that a page breaks
// between rows and every column stays on its row.
struct Columns {
  Report& report;
  QStringList names;
  std::vector<QStringList> lines;
  Columns(Report& r, QStringList n) : report(r), names(std::move(n)), lines(size_t(names.size())) {}
  // One row: `cells` by column name, the others blank.
  void row(std::initializer_list<std::pair<const char*, QString>> cells) {
    for (QStringList& l : lines) l << QString();
    for (const auto& [name, text] : cells) lines[size_t(names.indexOf(QLatin1String(name)))].last() = text;
  }
  void fill(double lineHeight) {
    const qsizetype rows = lines.empty() ? 0 : lines.front().size();
    const double height = std::max<qsizetype>(rows, 1) * lineHeight;
    for (qsizetype i = 0; i < names.size(); ++i) {
      report.clearLines(names[i]);
      report.addLines(names[i], lines[size_t(i)]);
      report.setHeight(names[i], height);
    }
    report.setHeight(u"MasterData"_qs, height + 4);
  }
};

constexpr double kTableLineHeight = 14;

Report filledList(const QString& resource, const QString& title, const QStringList& lines) {
  return filledList(resource, title, lines.size(), [&](Report& r, const QString& o) { r.addLines(o, lines); });
}

Report filledList(const QString& resource, const QString& title, std::shared_ptr<const LineSource> lines) {
  const int count = lines->count();
  return filledList(resource, title, count, [&](Report& r, const QString& o) { r.setLines(o, std::move(lines)); });
}

}  // namespace

Report categoriesReport(const QString& title, const QStringList& rows) {
  Report r = Report::fromResource(u":/reports/categorie.json"_qs);
  r.setText(u"txtTitolo"_qs, title);
  r.setText(u"txtNota"_qs, categories::countedAlikeText());
  Columns c(r, {u"txtCategorie"_qs, u"txtSottocategorie"_qs, u"txtMovimenti"_qs, u"txtEntrate"_qs, u"txtUscite"_qs,
                u"txtSaldo"_qs});
  for (const QString& row : rows) {
    const QStringList f = row.split(u'\t');
    if (f.size() < 6) continue;
    const char* nameColumn = f[0] == u"S" ? "txtSottocategorie" : "txtCategorie";
    if (f[0] == u"T") c.row({});
    c.row({{nameColumn, f[1]}, {"txtMovimenti", f[2]}, {"txtEntrate", f[3]}, {"txtUscite", f[4]}, {"txtSaldo", f[5]}});
  }
  c.fill(kTableLineHeight);
  return r;
}

Report rendicontoReport(const QString& title, const QStringList& rows) {
  Report r = Report::fromResource(u":/reports/rendiconto.json"_qs);
  r.setText(u"txtEsercizio"_qs, title);
  Columns c(r, {u"txtTitoli"_qs, u"txtVoci"_qs, u"txtImporti1"_qs, u"txtImporti2"_qs, u"txtTotali1"_qs,
                u"txtTotali2"_qs, u"txtNote"_qs, u"txtErrori"_qs});
  bool notes = false;
  for (const QString& row : rows) {
    const QStringList f = row.split(u'\t');
    if (f.size() < 4) continue;
    const QString& kind = f[0];
    if (kind == u"Y") {
      r.setText(u"txtColonna1"_qs, f[2]);
      r.setText(u"txtColonna2"_qs, f[3]);
    } else if (kind == u"S") {
      c.row({});
    } else if (kind == u"H") {
      c.row({});
      c.row({{"txtTitoli", f[1]}});
    } else if (kind == u"L") {
      c.row({{"txtVoci", f[1]}, {"txtImporti1", f[2]}, {"txtImporti2", f[3]}});
    } else if (kind == u"T" || kind == u"R" || kind == u"B") {
      c.row({{"txtTitoli", f[1]}, {"txtTotali1", f[2]}, {"txtTotali2", f[3]}});
    } else {
      if (!notes) c.row({});
      notes = true;
      c.row({{kind == u"F" ? "txtErrori" : "txtNote", f[1]}});
    }
  }
  c.fill(kTableLineHeight);
  return r;
}

Report listReport(const QString& title, const QStringList& lines) {
  return filledList(u":/reports/riepilogo.json"_qs, title, lines);
}

Report listReport(const QString& title, std::shared_ptr<const LineSource> lines) {
  return filledList(u":/reports/riepilogo.json"_qs, title, std::move(lines));
}

Report journalReport(const QString& title, const QStringList& lines) {
  return filledList(u":/reports/primanota.json"_qs, title, lines);
}

Report journalReport(const QString& title, std::shared_ptr<const LineSource> lines) {
  return filledList(u":/reports/primanota.json"_qs, title, std::move(lines));
}

Report movementCardReport() { return Report::fromResource(u":/reports/schedamovimento.json"_qs); }

Report movementCardReport(const MovementCard& card, const QDateTime& now) {
  Report r = movementCardReport();
  r.setOrientation(QPageLayout::Portrait);
  for (const PrintedValue& v : printedValues(card)) r.setText(v.object.toString(), v.value);
  r.setText(u"txtCalce"_qs, printedFooter(now));
  return r;
}

Report clientCardReport() { return Report::fromResource(u":/reports/schedacliente.json"_qs); }

Report clientCardReport(const ClientCard& card, const QDateTime& now) {
  Report r = clientCardReport();
  r.setOrientation(QPageLayout::Portrait);
  r.setText(u"txtTitolo"_qs, printedTitle());
  const auto rows = printedRows(card);
  for (int i = 0; i < kPrintedRows; ++i) {
    const QString n = QString::number(i + 1).rightJustified(2, u'0');
    r.setText(u"titCampo"_qs + n, rows[size_t(i)].caption);
    r.setText(u"txtCampo"_qs + n, rows[size_t(i)].value);
  }
  r.setText(u"txtCalce"_qs, printedFooter(now));
  return r;
}

}  // namespace fondaro::report
