#include "report/templates.h"

#include "core/clientcard.h"
#include "core/movementcard.h"

namespace fondaro::report {

namespace {

Report filledList(const QString& resource, const QString& title, const QStringList& lines) {
  Report r = Report::fromResource(resource);
  r.setText(u"txtTitolo"_qs, title);
  r.clearLines(u"txtRiepilogo"_qs);
  r.addLines(u"txtRiepilogo"_qs, lines);
  const double height = lines.size() * kListLineHeight;
  r.setHeight(u"txtRiepilogo"_qs, height);
  r.setHeight(u"MasterData"_qs, height + 10);
  return r;
}

}  // namespace

Report listReport(const QString& title, const QStringList& lines) {
  return filledList(u":/reports/riepilogo.json"_qs, title, lines);
}

Report journalReport(const QString& title, const QStringList& lines) {
  return filledList(u":/reports/primanota.json"_qs, title, lines);
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
