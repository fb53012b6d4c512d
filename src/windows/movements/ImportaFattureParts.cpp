// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/ImportaFattureParts.h"

#include <QRegularExpression>

#include "core/notice.h"
#include "core/textrules.h"
#include "gui/importwindow.h"
#include "movements/TextsFatture.h"

namespace fondaro::invoiceParts {

namespace {

namespace t = invoiceTexts;
using gui::GridCell;
using Column = gui::GridColumn<InvoiceRow>;

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

QString fileName(const InvoiceRow& r, bool) { return r.fileName; }
QString kind(const InvoiceRow& r, bool) { return r.kind; }
QString number(const InvoiceRow& r, bool) { return r.number; }
QString date(const InvoiceRow& r, bool) { return r.date; }
QString counterparty(const InvoiceRow& r, bool) { return r.counterparty; }
QString direction(const InvoiceRow& r, bool) { return r.direction; }
QString amount(const InvoiceRow& r, bool) { return r.amount; }
QString due(const InvoiceRow& r, bool) { return r.due; }
// A new instalment's state begins with "Nuova"; left out, it says so.
QString state(const InvoiceRow& r, bool ticked) {
  if (!r.isNew || ticked) return r.state;
  return t::kStateLeftOut.toString() + r.state.mid(t::kStateNew.size());
}

// The counterparty takes the room the others leave; the file's name and the
// state (a skip's reason, the warnings) grow within a share of the table.
const Column kColumns[] = {
    {t::kColumns[0], 28, nullptr, kLeft, GridCell::Tick},
    {t::kColumns[1], 110, fileName, kLeft, GridCell::Text, fileName, 0.17},
    {t::kColumns[2], 90, kind, kLeft, GridCell::Text, kind},
    {t::kColumns[3], 60, number, kLeft, GridCell::Text, number},
    {t::kColumns[4], 80, date},
    {t::kColumns[5], gui::kGridStretch, counterparty, kLeft, GridCell::Text, counterparty},
    {t::kColumns[6], 60, direction},
    {t::kColumns[7], 80, amount, kRight},
    {t::kColumns[8], 80, due},
    {t::kColumns[9], 150, state, kLeft, GridCell::Text, state, 0.22},
};

int instalmentOf(const InvoiceRow& r) { return r.instalment; }

QString plural(qint64 n, QStringView one, QStringView many) {
  return n == 1 ? one.toString() : many.toString().arg(n);
}

QString stateText(const PlannedInstalment& i, const PlannedBody& b) {
  QString text = i.state == InstalmentState::Present ? t::kStatePresent.toString() : t::kStateNew.toString();
  if (i.n > 1) text += u", "_qs + t::kInstalment.toString().arg(i.k).arg(i.n);
  for (const QString& w : b.warnings) text += u"; "_qs + t::kWarning.toString().arg(w);
  return text;
}

}  // namespace

InvoiceList listOf(InvoicePlan plan) {
  InvoiceList list;
  for (size_t fi = 0; fi < plan.files.size(); ++fi) {
    const PlannedFile& f = plan.files[fi];
    if (f.silent()) continue;
    InvoiceRow fileRow;
    fileRow.file = int(fi);
    fileRow.fileName = f.read.shownName;
    if (f.skipped()) {
      fileRow.state = t::kStateSkipped.toString().arg(f.skipReason);
      list.rows.push_back(fileRow);
      continue;
    }
    for (size_t bi = 0; bi < f.bodies.size(); ++bi) {
      const PlannedBody& b = f.bodies[bi];
      InvoiceRow row = fileRow;
      row.body = int(bi);
      row.kind = b.kind.isEmpty() ? b.type : b.kind;
      row.number = b.number;
      row.date = b.date.isValid() ? formatDate(b.date) : QString();
      row.counterparty = b.counterparty;
      if (b.skipped()) {
        row.state = t::kStateSkipped.toString().arg(b.skipReason);
        list.rows.push_back(row);
        continue;
      }
      row.direction = (b.direction == InvoiceDirection::In ? t::kIn : t::kOut).toString();
      for (const PlannedInstalment& i : b.instalments) {
        InvoiceRow r = row;
        r.instalment = i.id;
        r.isNew = i.state == InstalmentState::New;
        r.amount = invoiceAmountText(i.cents);
        r.due = i.due.isValid() ? formatDate(i.due) : QString();
        r.state = stateText(i, b);
        list.rows.push_back(r);
      }
    }
  }
  list.plan = std::move(plan);
  return list;
}

ListModel* makeListModel(QObject* parent) {
  return new ListModel({.columns = kColumns,
                        .rows = [](const InvoiceList& l) { return gui::listRows(l.rows); },
                        .tickable = [](const InvoiceRow& r) { return r.isNew; },
                        .ink = [](const InvoiceRow& r, int) {
                          return r.isNew ? QColor() : QColor(0x80, 0x80, 0x80);
                        }},
                       parent);
}

gui::GridLook listLook() { return {.wrap = true, .air = 8}; }

QSet<int> leftOut(const ListModel& list) { return gui::leftOutKeys(list, instalmentOf); }

qint64 toImport(const ListModel& list) { return gui::tickedCount(list); }

QString countsText(const ListModel& list) {
  qint64 present = 0;
  for (const InvoiceRow& r : list.value().rows) present += r.instalment > 0 && !r.isNew;
  return t::kCounts.toString()
      .arg(toImport(list))
      .arg(leftOut(list).size())
      .arg(present)
      .arg(list.value().plan.skipped());
}

QStringList ownIdsOf(const QString& typed) {
  static const QRegularExpression separators(u"[\\s,;]+"_qs);
  QStringList ids;
  for (const QString& part : typed.split(separators, Qt::SkipEmptyParts)) {
    const QString id = normalisedOwnId(part);
    if (!id.isEmpty() && !ids.contains(id)) ids << id;
  }
  return ids;
}

QString ownIdsText(const QStringList& ids) { return ids.join(u' '); }

QString ownIdsWarnings(const QStringList& ids) {
  QStringList warnings;
  for (const QString& id : ids)
    if (const auto w = ownIdWarning(id)) warnings << *w;
  return warnings.join(u'\n');
}

QString doneText(const InvoiceImportResult& result, qint64 skipped, qint64 leftOut, int& lastYearAdded) {
  QStringList lines;
  lastYearAdded = 0;
  for (const YearCount& y : result.years) {
    lines << t::kYearLine.toString().arg(y.year).arg(plural(y.added, t::kAddedOne, t::kAddedMany),
                                                     plural(y.present, t::kPresentOne, t::kPresentMany));
    if (y.added > 0) lastYearAdded = y.year;
  }
  if (result.cardsAdded > 0) lines << t::kCardsLine.toString().arg(plural(result.cardsAdded, t::kCardOne, t::kCardMany));
  if (result.attachmentsStored + result.attachmentsShared > 0)
    lines << t::kAttachmentsLine.toString().arg(result.attachmentsStored).arg(result.attachmentsShared);
  if (skipped > 0) lines << t::kSkippedLine.toString().arg(skipped);
  if (leftOut > 0) lines << t::kLeftOutLine.toString().arg(leftOut);
  return t::kDone.toString() + kParagraphBreak + lines.join(u'\n');
}

QString writeFailureText(const InvoiceWriteError& e) {
  int ignored = 0;
  const InvoiceImportResult& r = e.result();
  const bool nothing = r.added() == 0 && r.cardsAdded == 0 && r.attachmentsStored == 0;
  QString text = t::kWriteFailed.toString().arg(e.italian()) + kParagraphBreak;
  if (nothing) return text + t::kNothingWritten.toString();
  QString written = doneText(r, 0, 0, ignored);
  written = written.mid(written.indexOf(kParagraphBreak) + kParagraphBreak.size());
  return text + t::kWrittenBefore.toString() + u'\n' + written;
}

}  // namespace fondaro::invoiceParts
