#include "report/templates.h"

namespace fondaro::report {

Report listReport(const QString& title, const QStringList& lines) {
  Report r = Report::fromResource(u":/reports/riepilogo.json"_qs);
  r.setText(u"txtTitolo"_qs, title);
  r.clearLines(u"txtRiepilogo"_qs);
  r.addLines(u"txtRiepilogo"_qs, lines);
  const double height = lines.size() * kListLineHeight;
  r.setHeight(u"txtRiepilogo"_qs, height);
  r.setHeight(u"MasterData"_qs, height + 10);
  return r;
}

Report movementCardReport() { return Report::fromResource(u":/reports/schedamovimento.json"_qs); }

Report clientCardReport() { return Report::fromResource(u":/reports/schedacliente.json"_qs); }

}  // namespace fondaro::report
