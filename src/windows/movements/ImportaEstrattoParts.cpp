// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/ImportaEstrattoParts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/notice.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/widgets.h"
#include "movements/TextsImporta.h"

namespace fondaro::importParts {

namespace {

namespace t = importTexts;
using gui::GridCell;
using Column = gui::GridColumn<PlannedEntry>;

constexpr const char16_t* kComboNames[] = {u"cboData",        u"cboImporto",     u"cboUscite",     u"cboEntrate",
                                           u"cboDescrizione", u"cboControparte", u"cboRiferimento"};
constexpr int kPreviewRows = 8;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

QString number(const PlannedEntry& p, bool) { return QString::number(p.number); }
QString date(const PlannedEntry& p, bool) { return p.entry.date.isValid() ? formatDate(p.entry.date) : QString(); }
QString kind(const PlannedEntry& p, bool) { return (p.entry.cents > 0 ? t::kIn : t::kOut).toString(); }
QString amount(const PlannedEntry& p, bool) { return centsText(p.entry.cents); }
QString description(const PlannedEntry& p, bool) { return p.entry.description; }
QString party(const PlannedEntry& p, bool) { return p.entry.counterparty; }
QString reference(const PlannedEntry& p, bool) { return p.entry.reference; }
QString state(const PlannedEntry& p, bool ticked) {
  switch (p.state) {
    case EntryState::New:
      if (!ticked) return t::kStateLeftOut.toString();
      return (p.refused ? t::kStateRefused : t::kStateNew).toString();
    case EntryState::Settles: {
      const UnpaidMovement& m = *p.settled;
      if (!ticked) return t::kStateSettlesLeftOut.toString().arg(m.causale);
      return t::kStateSettles.toString().arg(m.causale).arg(m.due.year).arg(m.due.position).arg(formatDate(m.due.due));
    }
    case EntryState::Present: return t::kStatePresent.toString();
    case EntryState::Skipped: return t::kStateSkipped.toString().arg(skipReasonText(p.entry));
  }
  return {};
}

// The bank's texts show whole in their tips; the counterparty, the reference
// and the state take the room their texts need within a share of the table.
const Column kColumns[] = {
    {t::kColumns[0], 28, nullptr, kLeft, GridCell::Tick},
    {t::kColumns[1], 48, number, kRight},
    {t::kColumns[2], 84, date},
    {t::kColumns[3], 64, kind},
    {t::kColumns[4], 96, amount, kRight},
    {t::kColumns[5], gui::kGridStretch, description, kLeft, GridCell::Text, description},
    {t::kColumns[6], 160, party, kLeft, GridCell::Text, party, 0.20},
    {t::kColumns[7], 120, reference, kLeft, GridCell::Text, reference, 0.15},
    {t::kColumns[8], 200, state, kLeft, GridCell::Text, state, 0.25},
};

// The entries an import writes: added, or settling a movement.
bool isWritten(const PlannedEntry& p) { return p.state == EntryState::New || p.state == EntryState::Settles; }

QString plural(qint64 n, QStringView one, QStringView many) {
  return n == 1 ? one.toString() : many.toString().arg(n);
}

// A year's line tells the movements settled when there are some.
QString yearLine(const YearCount& y) {
  const QString added = plural(y.added, t::kAddedOne, t::kAddedMany);
  const QString present = plural(y.present, t::kPresentOne, t::kPresentMany);
  if (y.paid > 0)
    return t::kYearLinePaid.toString().arg(y.year).arg(added, present, plural(y.paid, t::kPaidOne, t::kPaidMany));
  return t::kYearLine.toString().arg(y.year).arg(added, present);
}

}  // namespace

PlanModel* makePlanModel(QObject* parent) {
  return new PlanModel({.columns = kColumns,
                        .rows = [](const ImportPlan& p) { return gui::listRows(p.entries); },
                        .tickable = [](const PlannedEntry& p) { return isWritten(p); },
                        .ink = [](const PlannedEntry& p, int column) {
                          if (p.state == EntryState::Settles && column == 8) return QColor(0x00, 0x64, 0x00);
                          return isWritten(p) ? QColor() : QColor(0x80, 0x80, 0x80);
                        }},
                       parent);
}

gui::GridLook planLook() { return {.wrap = true, .air = 12}; }

QSet<int> leftOut(const PlanModel& plan) {
  QSet<int> out;
  for (int row = 0; row < plan.rowCount(); ++row)
    if (plan.hasTick(row) && !plan.ticked(row)) out.insert(plan.row(row).number);
  return out;
}

qint64 toImport(const PlanModel& plan) {
  qint64 n = 0;
  for (int row = 0; row < plan.rowCount(); ++row) n += plan.ticked(row);
  return n;
}

QString countsText(const PlanModel& plan) {
  qint64 present = 0, settling = 0, matchable = 0;
  for (const PlannedEntry& p : plan.value().entries) {
    present += p.state == EntryState::Present;
    matchable += !p.candidates.empty();
  }
  for (int row = 0; row < plan.rowCount(); ++row) settling += plan.ticked(row) && plan.row(row).state == EntryState::Settles;
  QString text = t::kCounts.toString()
                     .arg(toImport(plan) - settling)
                     .arg(leftOut(plan).size())
                     .arg(present)
                     .arg(plan.value().skipped());
  if (matchable > 0) text += t::kCountsSettled.toString().arg(settling);
  return text;
}

void fillMatchCombo(QComboBox* combo, const ImportPlan& plan, const PlannedEntry* entry) {
  const QSignalBlocker quiet(combo);
  combo->clear();
  if (!entry || entry->candidates.empty()) {
    if (entry) combo->addItem(t::kMatchNoCandidate.toString());
    combo->setEnabled(false);
    return;
  }
  for (const uint32_t u : entry->candidates) {
    const UnpaidMovement& m = plan.unpaid[u];
    const QString party = m.due.party.isEmpty() ? QString() : QStringLiteral("(%1)").arg(m.due.party);
    combo->addItem(t::kMatchItem.toString()
                       .arg(m.causale)
                       .arg(m.due.year)
                       .arg(m.due.position)
                       .arg(formatDate(m.due.due), party)
                       .trimmed(),
                   int(u));
  }
  combo->addItem(t::kMatchNone.toString(), -1);
  combo->setCurrentIndex(entry->settles ? combo->findData(int(*entry->settles)) : combo->count() - 1);
  combo->setEnabled(true);
}

std::optional<MatchChoice> chosenMatch(const QComboBox* combo, const ImportPlan& plan) {
  if (!combo->isEnabled() || combo->currentIndex() < 0) return std::nullopt;
  const int u = combo->currentData().toInt();
  if (u < 0) return MatchChoice{true, 0, 0};
  const UnpaidMovement& m = plan.unpaid[size_t(u)];
  return MatchChoice{false, m.due.year, m.due.position};
}

FileRow buildFileRow(QWidget* window) {
  QLabel* lblFile = gui::layoutLabel(window, "lblFile", t::kFile, gui::windowFont("Verdana", 10, true));
  FileRow row{new QHBoxLayout, new QLineEdit(window), nullptr};
  row.path->setObjectName(u"txtFile"_qs);
  row.path->setReadOnly(true);
  row.path->setFont(gui::windowFont("Verdana", 10));
  row.path->setPlaceholderText(t::kNoFile.toString());
  lblFile->setBuddy(row.path);
  row.browse = gui::layoutButton(window, "btnSfoglia", t::kBrowse, 110);
  row.layout->addWidget(lblFile);
  row.layout->addWidget(row.path, 1);
  row.layout->addWidget(row.browse);
  return row;
}

MappingPage buildMappingPage(QWidget* parent) {
  MappingPage m;
  m.page = new QWidget(parent);
  m.page->setObjectName(u"panColonne"_qs);
  auto* mv = new QVBoxLayout(m.page);
  mv->setContentsMargins(0, 0, 0, 0);
  m.hint = gui::layoutLabel(m.page, "lblColonne", t::kMapHint, gui::windowFont("Verdana", 9, true));
  m.hint->setWordWrap(true);
  mv->addWidget(m.hint);
  m.preview = new QTableWidget(m.page);
  m.preview->setObjectName(u"tblAnteprima"_qs);
  gui::styleGrid(m.preview, {});
  mv->addWidget(m.preview, 1);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 7; ++i) {
    const QByteArray labelName = "lbl" + QString::fromUtf16(kComboNames[i] + 3).toLatin1();
    QLabel* l = gui::layoutLabel(m.page, labelName.constData(), t::kMapLabels[i], gui::windowFont("Verdana", 9));
    m.combos[i] = new QComboBox(m.page);
    m.combos[i]->setObjectName(QString::fromUtf16(kComboNames[i]));
    m.combos[i]->setFont(gui::windowFont("Verdana", 9));
    m.combos[i]->setFixedWidth(170);
    l->setBuddy(m.combos[i]);
    grid->addWidget(l, i / 4, (i % 4) * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m.combos[i], i / 4, (i % 4) * 2 + 1);
  }
  m.apply = gui::layoutButton(m.page, "btnApplica", t::kApply, 110);
  grid->addWidget(m.apply, 1, 7, Qt::AlignLeft);
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(8, 1);
  mv->addLayout(grid);
  return m;
}

void showCsv(const MappingPage& m, const CsvTable& table) {
  const int rows = std::min<int>(kPreviewRows, int(table.rows.size()));
  int columns = 0;
  for (int r = 0; r < rows; ++r) columns = std::max(columns, int(table.rows[size_t(r)].cells.size()));
  m.preview->clear();
  m.preview->setRowCount(rows);
  m.preview->setColumnCount(columns);
  QStringList headers;
  for (int c = 0; c < columns; ++c) headers << QString::number(c + 1);
  m.preview->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < rows; ++r) {
    const QStringList& cells = table.rows[size_t(r)].cells;
    for (int c = 0; c < int(cells.size()); ++c) {
      auto* item = new QTableWidgetItem(collapseBlanks(cells[c]));
      if (r == 0) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
      }
      m.preview->setItem(r, c, item);
    }
  }
  m.preview->resizeColumnsToContents();
  const QStringList header = table.rows.empty() ? QStringList() : table.rows.front().cells;
  for (QComboBox* combo : m.combos) {
    combo->clear();
    combo->addItem(t::kNoColumn.toString(), -1);
    for (int c = 0; c < columns; ++c) {
      combo->addItem(QStringLiteral("%1: %2").arg(c + 1).arg(collapseBlanks(header.value(c)).left(30)), c);
    }
  }
}

CsvColumns chosenColumns(const MappingPage& m) {
  CsvColumns c;
  c.headerRow = 0;
  int* targets[] = {&c.date, &c.amount, &c.out, &c.in, &c.description, &c.counterparty, &c.reference};
  for (int i = 0; i < 7; ++i) *targets[i] = m.combos[i]->currentData().toInt();
  if (c.amount >= 0) c.out = c.in = -1;
  return c;
}

// The other years were written all the same: each is told as it stands. A
// year whose archive could not even be read has no counts to tell.
QString writeFailureText(const ImportWriteError& e) {
  QStringList failures, years;
  QSet<int> unread;
  for (const ImportWriteError::YearFailure& f : e.failures()) {
    qint64 written = 0;
    for (const YearCount& y : e.result().years)
      if (y.year == f.year) written = y.added;
    failures << t::kWriteFailed.toString().arg(f.year).arg(written);
    if (!f.checked) unread.insert(f.year);
  }
  for (const YearCount& y : e.result().years)
    if (!unread.contains(y.year)) years << yearLine(y);
  QString text = failures.join(u'\n');
  if (!years.isEmpty()) text += kParagraphBreak + t::kWrittenByYear.toString() + u'\n' + years.join(u'\n');
  return text + kParagraphBreak + archiveAccessMessage();
}

QString doneText(const QString& name, const ImportResult& result, qint64 skipped, qint64 leftOut,
                 int& lastYearAdded) {
  QStringList lines;
  lastYearAdded = 0;
  for (const YearCount& y : result.years) {
    if (y.added == 0 && y.present == 0 && y.paid == 0) continue;  // all its entries settled elsewhere
    lines << yearLine(y);
    if (y.added > 0) lastYearAdded = y.year;
  }
  if (skipped > 0) lines << t::kSkippedLine.toString().arg(skipped);
  if (leftOut > 0) lines << t::kLeftOutLine.toString().arg(leftOut);
  return t::kDone.toString().arg(name) + kParagraphBreak + lines.join(u'\n');
}

}  // namespace fondaro::importParts
