#include "core/bankimport.h"

#include <QCryptographicHash>
#include <QHash>
#include <QSettings>
#include <cerrno>
#include <cstring>
#include <algorithm>
#include <map>
#include <memory>

#include "core/filepath.h"
#include "core/textrules.h"

namespace fondaro {

QString importNote(const QString& statementName) { return QStringLiteral("Importato da ") + statementName; }

TMovimento movementFromEntry(const StatementEntry& e, const QString& statementName) {
  TMovimento r;
  const bool in = e.cents > 0;
  const QString date = formatDate(e.date);
  const QString amount = centsText(e.cents);
  r.Entrata.set(in ? kSi : kNo);
  r.Uscita.set(in ? kNo : kSi);
  r.Data.set(date);
  r.DataSca.set(date);
  r.Preavviso.set(u"0");
  r.Importo.set(amount);
  r.Totale.set(signedAmount(in, amount));
  QString causale = collapseBlanks(e.description);
  if (causale.isEmpty()) causale = collapseBlanks(e.kind);
  if (causale.isEmpty()) causale = collapseBlanks(e.counterparty);
  if (causale.isEmpty()) causale = QStringLiteral("Movimento bancario");
  r.Causale.set(causale);
  (in ? r.Pagatore : r.Beneficiario).set(collapseBlanks(e.counterparty));
  r.Ricevuta.set(collapseBlanks(e.reference));
  r.Pagamento.set(collapseBlanks(e.kind));
  r.Saldato.set(kSi);
  r.Note.set(collapseBlanks(importNote(statementName)));
  return r;
}

namespace {
// The importable entries by year, as indexes into the statement.
std::map<int, std::vector<size_t>> byYear(const Statement& st, const QSet<int>& leaveOut) {
  std::map<int, std::vector<size_t>> years;
  for (size_t i = 0; i < st.entries.size(); ++i) {
    if (st.entries[i].importable() && !leaveOut.contains(int(i) + 1)) years[st.entries[i].date.year()].push_back(i);
  }
  return years;
}

// Each year's entries as candidates, their movements made on demand.
std::vector<YearCandidates> candidatesOf(const Statement& st, const std::map<int, std::vector<size_t>>& years,
                                         const QString& name) {
  std::vector<YearCandidates> out;
  for (const auto& [year, idx] : years) {
    out.push_back({year, idx.size(), [&st, &idx, name](size_t k) { return movementFromEntry(st.entries[idx[k]], name); }});
  }
  return out;
}
}  // namespace

qint64 ImportPlan::skipped() const {
  qint64 n = 0;
  for (const auto& e : entries) n += e.state == EntryState::Skipped;
  return n;
}

ImportPlan planImport(const Statement& st, const QByteArray& folder, const QString& statementName,
                      const ProgressFn& progress) {
  ImportPlan plan;
  plan.statementName = statementName;
  plan.entries.resize(st.entries.size());
  for (size_t i = 0; i < st.entries.size(); ++i) {
    plan.entries[i].number = int(i) + 1;
    plan.entries[i].entry = st.entries[i];
  }
  const auto years = byYear(st, {});
  const auto present = presentInYears(folder, candidatesOf(st, years, statementName), progress);
  size_t a = 0;
  for (const auto& [year, idx] : years) {
    YearCount count{year, 0, 0};
    for (size_t k = 0; k < idx.size(); ++k) {
      const bool p = present[a][k];
      plan.entries[idx[k]].state = p ? EntryState::Present : EntryState::New;
      ++(p ? count.present : count.added);
    }
    plan.years.push_back(count);
    ++a;
  }
  return plan;
}

ImportResult importStatement(const Statement& st, const QByteArray& folder, const QString& statementName,
                             const QSet<int>& leaveOut, const ProgressFn& progress) {
  const auto years = byYear(st, leaveOut);
  return appendToYears(folder, candidatesOf(st, years, statementName), progress);
}

}  // namespace fondaro

namespace fondaro {
namespace {
QString settingsPath(const QByteArray& folder) { return decodePath(joinPath(folder, "ImportaEstratto.ini")); }
QString settingsKey(const QString& headerKey) {
  return QStringLiteral("colonne/") +
         QString::fromLatin1(QCryptographicHash::hash(headerKey.toUtf8(), QCryptographicHash::Sha1).toHex());
}
}  // namespace

std::optional<CsvColumns> rememberedColumns(const QByteArray& folder, const QString& headerKey) {
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  const QString text = s.value(settingsKey(headerKey)).toString();
  if (text.isEmpty()) return std::nullopt;
  return parseColumnsOption(text);
}

void rememberColumns(const QByteArray& folder, const QString& headerKey, const CsvColumns& columns) {
  QSettings s(settingsPath(folder), QSettings::IniFormat);
  s.setValue(settingsKey(headerKey), columnsOptionText(columns));
  s.sync();
}

}  // namespace fondaro
