#include "movements/ImportaEstratto.h"

#include <QApplication>
#include <QSet>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Guida.h"
#include "core/csvstatement.h"
#include "core/filepath.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"
#include "movements/TextsImporta.h"

namespace fondaro {

namespace {

namespace t = importTexts;

enum Column { ColTick, ColNumber, ColDate, ColKind, ColAmount, ColCausale, ColParty, ColReference, ColState };

constexpr const char16_t* kComboNames[] = {u"cboData",        u"cboImporto",     u"cboUscite",     u"cboEntrate",
                                           u"cboDescrizione", u"cboControparte", u"cboRiferimento"};
constexpr int kPreviewRows = 8;

QTableWidget* makeTable(QWidget* parent, const QString& name) {
  auto* table = new QTableWidget(parent);
  table->setObjectName(name);
  table->setFont(gui::windowFont("Verdana", 9));
  table->verticalHeader()->setVisible(false);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setAlternatingRowColors(true);
  table->setWordWrap(false);
  return table;
}

QString plural(qint64 n, QStringView one, QStringView many) {
  return n == 1 ? one.toString() : many.toString().arg(n);
}

QString yearLine(const YearCount& y) {
  return t::kYearLine.toString().arg(y.year).arg(plural(y.added, t::kAddedOne, t::kAddedMany),
                                                 plural(y.present, t::kPresentOne, t::kPresentMany));
}

}  // namespace

TfrmImportaEstratto::TfrmImportaEstratto(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmImportaEstratto"_qs);
  setWindowTitle(t::kCaption.toString());
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(1100, 640);

  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(16, 14, 16, 14);
  v->setSpacing(10);
  v->addWidget(gui::layoutLabel(this, "lblTitolo", t::kTitle, gui::windowFont("Verdana", 14, true)));
  QLabel* hint = gui::layoutLabel(this, "lblInfo", t::kHint, gui::windowFont("Verdana", 9));
  hint->setWordWrap(true);
  v->addWidget(hint);

  auto* fileRow = new QHBoxLayout;
  QLabel* lblFile = gui::layoutLabel(this, "lblFile", t::kFile, gui::windowFont("Verdana", 10, true));
  txtFile = new QLineEdit(this);
  txtFile->setObjectName(u"txtFile"_qs);
  txtFile->setReadOnly(true);
  txtFile->setFont(gui::windowFont("Verdana", 10));
  txtFile->setPlaceholderText(t::kNoFile.toString());
  lblFile->setBuddy(txtFile);
  btnSfoglia = gui::layoutButton(this, "btnSfoglia", t::kBrowse, 110);
  fileRow->addWidget(lblFile);
  fileRow->addWidget(txtFile, 1);
  fileRow->addWidget(btnSfoglia);
  v->addLayout(fileRow);

  stkPagine = new QStackedWidget(this);
  stkPagine->setObjectName(u"stkPagine"_qs);

  tblMovimenti = makeTable(stkPagine, u"tblMovimenti"_qs);
  tblMovimenti->setAccessibleName(t::kTitle.toString());
  tblMovimenti->setColumnCount(int(std::size(t::kColumns)));
  QStringList headers;
  for (QStringView h : t::kColumns) headers << h.toString();
  tblMovimenti->setHorizontalHeaderLabels(headers);
  tblMovimenti->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  const int widths[] = {28, 48, 84, 64, 96, 0, 160, 120, 200};
  for (int c = 0; c < int(std::size(widths)); ++c) tblMovimenti->setColumnWidth(c, widths[c]);
  tblMovimenti->horizontalHeader()->setSectionResizeMode(ColCausale, QHeaderView::Stretch);
  tblMovimenti->setWordWrap(true);
  tblMovimenti->installEventFilter(this);
  // One stop of the Tab chain; the arrows move along the rows.
  tblMovimenti->setTabKeyNavigation(false);
  stkPagine->addWidget(tblMovimenti);

  auto* mapPage = new QWidget(stkPagine);
  mapPage->setObjectName(u"panColonne"_qs);
  auto* mv = new QVBoxLayout(mapPage);
  mv->setContentsMargins(0, 0, 0, 0);
  lblColonne = gui::layoutLabel(mapPage, "lblColonne", t::kMapHint, gui::windowFont("Verdana", 9, true));
  lblColonne->setWordWrap(true);
  mv->addWidget(lblColonne);
  tblAnteprima = makeTable(mapPage, u"tblAnteprima"_qs);
  tblAnteprima->setTabKeyNavigation(false);
  mv->addWidget(tblAnteprima, 1);
  auto* grid = new QGridLayout;
  for (int i = 0; i < 7; ++i) {
    const QByteArray labelName = "lbl" + QString::fromUtf16(kComboNames[i] + 3).toLatin1();
    QLabel* l = gui::layoutLabel(mapPage, labelName.constData(), t::kMapLabels[i], gui::windowFont("Verdana", 9));
    cboColonna[i] = new QComboBox(mapPage);
    cboColonna[i]->setObjectName(QString::fromUtf16(kComboNames[i]));
    cboColonna[i]->setFont(gui::windowFont("Verdana", 9));
    cboColonna[i]->setFixedWidth(170);
    l->setBuddy(cboColonna[i]);
    grid->addWidget(l, i / 4, (i % 4) * 2, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(cboColonna[i], i / 4, (i % 4) * 2 + 1);
  }
  btnApplica = gui::layoutButton(mapPage, "btnApplica", t::kApply, 110);
  grid->addWidget(btnApplica, 1, 7, Qt::AlignLeft);
  grid->setHorizontalSpacing(8);
  grid->setColumnStretch(8, 1);
  mv->addLayout(grid);
  stkPagine->addWidget(mapPage);
  v->addWidget(stkPagine, 1);

  lblConteggio = gui::layoutLabel(this, "lblConteggio", u"", gui::windowFont("Verdana", 10, true));
  v->addWidget(lblConteggio);

  auto* buttons = new QHBoxLayout;
  btnImporta = gui::layoutButton(this, "btnImporta", t::kImport, 110);
  btnGuida = gui::layoutButton(this, "btnGuida", t::kGuide, 110);
  btnChiudi = gui::layoutButton(this, "btnChiudi", t::kClose, 110);
  buttons->addWidget(btnImporta);
  buttons->addStretch();
  buttons->addWidget(btnGuida);
  buttons->addWidget(btnChiudi);
  v->addLayout(buttons);

  connect(tblMovimenti, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (item->column() == ColTick) updateCounts();
  });
  gui::setTabChain(this, {u"btnSfoglia", u"tblMovimenti", u"btnImporta", u"btnGuida", u"btnChiudi"});
  gui::connectClickSlots(this);
  clearStatement();
}

TfrmImportaEstratto::~TfrmImportaEstratto() = default;

void TfrmImportaEstratto::FormShow() {
  yearToOpen_.clear();
  btnSfoglia->setFocus();
}

void TfrmImportaEstratto::clearStatement() {
  csv_.reset();
  plan_.reset();
  statement_ = {};
  tblMovimenti->setRowCount(0);
  stkPagine->setCurrentWidget(tblMovimenti);
  lblConteggio->clear();
  btnImporta->setEnabled(false);
}

void TfrmImportaEstratto::btnSfogliaClick() {
  const QString folder = txtFile->text().isEmpty() ? QString() : QFileInfo(txtFile->text()).absolutePath();
  const QString chosen = gui::openFileName(this, t::kOpenCaption.toString(), folder, t::kOpenFilter.toString());
  if (!chosen.isEmpty()) openFile(chosen);
}

void TfrmImportaEstratto::reportFailure(const QString& why) {
  gui::notice(this, gui::Icon::Warning, t::kCannotRead.toString().arg(name_) + kParagraphBreak + why);
}

void TfrmImportaEstratto::openFile(const QString& path) {
  clearStatement();
  path_ = encodePath(path);
  name_ = QFileInfo(path).fileName();
  txtFile->setText(path);
  try {
    const SmallFile head = readSmallFile(path_, qint64(256) << 20);
    std::optional<StatementFormat> format;
    if (head.status == SmallFile::Status::Ok) format = detectStatementFormat(head.bytes);
    if (format == StatementFormat::Csv) {
      csv_ = parseCsv(head.bytes);
      if (!recogniseCsvColumns(*csv_)) {
        if (const auto remembered = rememberedColumns(gui::programFolderPath(), csvHeaderKey(*csv_, 0))) {
          load(remembered);
        } else {
          showMapping();
        }
        return;
      }
    }
    load(std::nullopt);
  } catch (const StatementError& e) {
    reportFailure(e.message());
  }
}

void TfrmImportaEstratto::showMapping() {
  const CsvTable& table = *csv_;
  const int rows = std::min<int>(kPreviewRows, int(table.rows.size()));
  int columns = 0;
  for (int r = 0; r < rows; ++r) columns = std::max(columns, int(table.rows[size_t(r)].cells.size()));
  tblAnteprima->clear();
  tblAnteprima->setRowCount(rows);
  tblAnteprima->setColumnCount(columns);
  QStringList headers;
  for (int c = 0; c < columns; ++c) headers << QString::number(c + 1);
  tblAnteprima->setHorizontalHeaderLabels(headers);
  for (int r = 0; r < rows; ++r) {
    const QStringList& cells = table.rows[size_t(r)].cells;
    for (int c = 0; c < int(cells.size()); ++c) {
      auto* item = new QTableWidgetItem(collapseBlanks(cells[c]));
      if (r == 0) {
        QFont f = item->font();
        f.setBold(true);
        item->setFont(f);
      }
      tblAnteprima->setItem(r, c, item);
    }
  }
  tblAnteprima->resizeColumnsToContents();
  const QStringList header = table.rows.empty() ? QStringList() : table.rows.front().cells;
  for (QComboBox* combo : cboColonna) {
    combo->clear();
    combo->addItem(t::kNoColumn.toString(), -1);
    for (int c = 0; c < columns; ++c) {
      combo->addItem(QStringLiteral("%1: %2").arg(c + 1).arg(collapseBlanks(header.value(c)).left(30)), c);
    }
  }
  stkPagine->setCurrentIndex(1);
  gui::setTabChain(this, {u"btnSfoglia", u"tblAnteprima", u"cboData", u"cboImporto", u"cboUscite", u"cboEntrate",
                          u"cboDescrizione", u"cboControparte", u"cboRiferimento", u"btnApplica", u"btnImporta",
                          u"btnGuida", u"btnChiudi"});
  cboColonna[0]->setFocus();
}

void TfrmImportaEstratto::btnApplicaClick() {
  if (!csv_) return;
  CsvColumns c;
  c.headerRow = 0;
  int* targets[] = {&c.date, &c.amount, &c.out, &c.in, &c.description, &c.counterparty, &c.reference};
  for (int i = 0; i < 7; ++i) *targets[i] = cboColonna[i]->currentData().toInt();
  if (c.date < 0) {
    gui::notice(this, gui::Icon::Warning, t::kMapNeedsDate.toString());
    cboColonna[0]->setFocus();
    return;
  }
  if (c.amount >= 0) c.out = c.in = -1;
  if (!c.valid()) {
    gui::notice(this, gui::Icon::Warning, t::kMapNeedsAmount.toString());
    cboColonna[1]->setFocus();
    return;
  }
  load(c);
  if (plan_) rememberColumns(gui::programFolderPath(), csvHeaderKey(*csv_, 0), c);
}

void TfrmImportaEstratto::load(const std::optional<CsvColumns>& columns) {
  gui::ProgressDialog progress(this, t::kReading.toString());
  try {
    if (csv_ && columns) {
      statement_ = readCsv(*csv_, *columns);
    } else {
      statement_ = readStatementFile(path_, {}, progress.callback());
    }
    progress.setSentence(t::kChecking.toString());
    plan_ = planImport(statement_, gui::programFolderPath(), name_, progress.callback());
  } catch (const Cancelled&) {
    plan_.reset();
    return;
  } catch (const StatementError& e) {
    plan_.reset();
    reportFailure(e.message());
    return;
  } catch (const ArchiveError&) {
    plan_.reset();
    gui::notice(this, gui::Icon::Warning, archiveAccessMessage());
    return;
  }
  showPlan();
}

void TfrmImportaEstratto::showPlan() {
  const QSignalBlocker block(tblMovimenti);
  tblMovimenti->setRowCount(int(plan_->entries.size()));
  const QColor grey(0x80, 0x80, 0x80);
  for (int row = 0; row < int(plan_->entries.size()); ++row) {
    const PlannedEntry& p = plan_->entries[size_t(row)];
    const StatementEntry& e = p.entry;
    QString state;
    switch (p.state) {
      case EntryState::New: state = t::kStateNew.toString(); break;
      case EntryState::Present: state = t::kStatePresent.toString(); break;
      case EntryState::Skipped: state = t::kStateSkipped.toString().arg(skipReasonText(e)); break;
    }
    const QString cells[] = {QString(),
                             QString::number(p.number),
                             e.date.isValid() ? formatDate(e.date) : QString(),
                             (e.cents > 0 ? t::kIn : t::kOut).toString(),
                             centsText(e.cents),
                             e.description,
                             e.counterparty,
                             e.reference,
                             state};
    for (int c = 0; c < int(std::size(cells)); ++c) {
      auto* item = new QTableWidgetItem(cells[c]);
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (c == ColNumber || c == ColAmount) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      if (c == ColCausale || c == ColParty || c == ColReference || c == ColState) item->setToolTip(cells[c]);
      if (p.state != EntryState::New) item->setForeground(grey);
      if (c == ColTick && p.state == EntryState::New) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
      }
      tblMovimenti->setItem(row, c, item);
    }
  }
  stkPagine->setCurrentWidget(tblMovimenti);
  fitColumns();
  gui::setTabChain(this, {u"btnSfoglia", u"tblMovimenti", u"btnImporta", u"btnGuida", u"btnChiudi"});
  if (!plan_->entries.empty()) tblMovimenti->selectRow(0);
  updateCounts();
  tblMovimenti->setFocus();
}

// Where the screen has room, the window grows wider (the list with it), so
// that the bank's long texts need fewer lines.
int TfrmImportaEstratto::widen(int spare) { return std::min(spare, 400); }

// The columns of the bank's texts take the room their longest text needs, each
// within a share of the table so that the description keeps the rest; a text
// longer still wraps onto more lines of its row (a reference, one word, shows
// whole in its tip).
void TfrmImportaEstratto::fitColumns() {
  struct Room {
    Column column;
    int least;      // pixels, the designed width
    qreal share;    // of the table's width, at most
  };
  const int width = tblMovimenti->viewport()->width();
  for (const Room& r : {Room{ColParty, 160, 0.20}, Room{ColReference, 120, 0.15}, Room{ColState, 200, 0.25}}) {
    tblMovimenti->resizeColumnToContents(r.column);
    const int most = std::max(r.least, int(width * r.share));
    tblMovimenti->setColumnWidth(r.column, std::clamp(tblMovimenti->columnWidth(r.column), r.least, most));
  }
  // Rows with air around their text, one line or more.
  const int air = 12;
  const int oneLine = tblMovimenti->fontMetrics().height() + air;
  tblMovimenti->verticalHeader()->setMinimumSectionSize(oneLine);
  tblMovimenti->resizeRowsToContents();
  for (int row = 0; row < tblMovimenti->rowCount(); ++row)
    if (const int h = tblMovimenti->rowHeight(row); h > oneLine) tblMovimenti->setRowHeight(row, h + air / 2);
}

QSet<int> TfrmImportaEstratto::leftOut() const {
  QSet<int> out;
  if (!plan_) return out;
  for (int row = 0; row < tblMovimenti->rowCount(); ++row) {
    const QTableWidgetItem* tick = tblMovimenti->item(row, ColTick);
    if (plan_->entries[size_t(row)].state == EntryState::New && tick && tick->checkState() != Qt::Checked) {
      out.insert(plan_->entries[size_t(row)].number);
    }
  }
  return out;
}

void TfrmImportaEstratto::updateCounts() {
  if (!plan_) {
    lblConteggio->clear();
    btnImporta->setEnabled(false);
    return;
  }
  qint64 fresh = 0;
  qint64 present = 0;
  for (const PlannedEntry& p : plan_->entries) {
    fresh += p.state == EntryState::New;
    present += p.state == EntryState::Present;
  }
  const qint64 out = leftOut().size();
  const QSignalBlocker block(tblMovimenti);
  for (int row = 0; row < tblMovimenti->rowCount(); ++row) {
    const PlannedEntry& p = plan_->entries[size_t(row)];
    if (p.state != EntryState::New) continue;
    const bool ticked = tblMovimenti->item(row, ColTick)->checkState() == Qt::Checked;
    tblMovimenti->item(row, ColState)->setText((ticked ? t::kStateNew : t::kStateLeftOut).toString());
  }
  lblConteggio->setText(t::kCounts.toString().arg(fresh - out).arg(out).arg(present).arg(plan_->skipped()));
  btnImporta->setEnabled(true);
}

// Space ticks or unticks the selected new movement, wherever the cursor is in its row.
bool TfrmImportaEstratto::eventFilter(QObject* watched, QEvent* e) {
  if (watched == tblMovimenti && e->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(e)->key() == Qt::Key_Space) {
    const int row = tblMovimenti->currentRow();
    QTableWidgetItem* tick = row >= 0 ? tblMovimenti->item(row, ColTick) : nullptr;
    if (tick && (tick->flags() & Qt::ItemIsUserCheckable)) {
      tick->setCheckState(tick->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    return true;
  }
  return Form::eventFilter(watched, e);
}

void TfrmImportaEstratto::btnImportaClick() {
  if (!plan_) return;
  const QSet<int> out = leftOut();
  qint64 toAdd = 0;
  for (const PlannedEntry& p : plan_->entries) toAdd += p.state == EntryState::New && !out.contains(p.number);
  if (toAdd == 0) {
    gui::notice(this, gui::Icon::Information, t::kNothingToImport.toString());
    return;
  }
  ImportResult result;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    result = importStatement(statement_, gui::programFolderPath(), name_, out);
    QApplication::restoreOverrideCursor();
  } catch (const ImportWriteError& e) {
    QApplication::restoreOverrideCursor();
    // The other years were written all the same: each is told as it stands.
    // A year whose archive could not even be read has no counts to tell.
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
    gui::notice(this, gui::Icon::Error, text + kParagraphBreak + archiveAccessMessage());
    clearStatement();
    return;
  }
  QString text = t::kDone.toString().arg(name_) + kParagraphBreak;
  QStringList lines;
  int lastYearAdded = 0;
  for (const YearCount& y : result.years) {
    lines << yearLine(y);
    if (y.added > 0) lastYearAdded = y.year;
  }
  if (plan_->skipped() > 0) lines << t::kSkippedLine.toString().arg(plan_->skipped());
  if (!out.isEmpty()) lines << t::kLeftOutLine.toString().arg(out.size());
  text += lines.join(u'\n');
  if (lastYearAdded > 0) {
    const QString year = QStringLiteral("%1").arg(lastYearAdded, 4, 10, QLatin1Char('0'));
    if (gui::question(this, text + kParagraphBreak + t::kOpenYear.toString().arg(year))) {
      yearToOpen_ = year;
      close();
      return;
    }
  } else {
    gui::notice(this, gui::Icon::Information, text);
  }
  // What is in the archives now: everything imported shows as present.
  const QString path = txtFile->text();
  openFile(path);
}

void TfrmImportaEstratto::btnGuidaClick() {
  TfrmGuida::Show(this, t::kTitle.toString(), gui::guidePage(u"importa_estratto"_qs));
}

void TfrmImportaEstratto::btnChiudiClick() { close(); }

QString importBankStatement(QWidget* owner) {
  std::unique_ptr<TfrmImportaEstratto> w(new TfrmImportaEstratto(owner));
  w->showModal();
  return w->yearToOpen();
}

}  // namespace fondaro
