#include "report/templates.h"

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

Report filledList(const QString& resource, const QString& title, const QStringList& lines) {
  return filledList(resource, title, lines.size(), [&](Report& r, const QString& o) { r.addLines(o, lines); });
}

Report filledList(const QString& resource, const QString& title, std::shared_ptr<const LineSource> lines) {
  const int count = lines->count();
  return filledList(resource, title, count, [&](Report& r, const QString& o) { r.setLines(o, std::move(lines)); });
}

}  // namespace

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
