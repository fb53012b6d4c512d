// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/ImportaEstratto.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "core/csvstatement.h"
#include "core/filepath.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "gui/messages.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"
#include "movements/SospesiMov.h"
#include "movements/TextsImporta.h"

namespace fondaro {
namespace t = importTexts;

TfrmImportaEstratto::TfrmImportaEstratto(QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner), plan_(importParts::makePlanModel(this)) {
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
  const importParts::FileRow file = importParts::buildFileRow(this);
  txtFile = file.path;
  btnSfoglia = file.browse;
  v->addLayout(file.layout);

  stkPagine = new QStackedWidget(this);
  stkPagine->setObjectName(u"stkPagine"_qs);
  tblMovimenti = new gui::GridView(stkPagine, u"tblMovimenti"_qs, plan_, importParts::planLook());
  tblMovimenti->setAccessibleName(t::kTitle.toString());
  stkPagine->addWidget(tblMovimenti);
  mapping_ = importParts::buildMappingPage(stkPagine);
  stkPagine->addWidget(mapping_.page);
  v->addWidget(stkPagine, 1);

  auto* match = new QHBoxLayout;
  lblAbbinamento = gui::layoutLabel(this, "lblAbbinamento", t::kMatchLabel, gui::windowFont("Verdana", 10, true));
  cboAbbinamento = new QComboBox(this);
  cboAbbinamento->setObjectName(u"cboAbbinamento"_qs);
  cboAbbinamento->setFont(gui::windowFont("Verdana", 9));
  cboAbbinamento->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lblAbbinamento->setBuddy(cboAbbinamento);
  match->addWidget(lblAbbinamento);
  match->addWidget(cboAbbinamento, 1);
  v->addLayout(match);

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

  connect(plan_, &gui::GridModel::ticksChanged, this, &TfrmImportaEstratto::updateCounts);
  connect(tblMovimenti->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          &TfrmImportaEstratto::showMatchOfCurrent);
  connect(cboAbbinamento, &QComboBox::activated, this, &TfrmImportaEstratto::cboAbbinamentoChange);
  gui::setTabChain(this, {u"btnSfoglia", u"tblMovimenti", u"cboAbbinamento", u"btnImporta", u"btnGuida", u"btnChiudi"});
  gui::connectClickSlots(this);
  clearStatement();
}

void TfrmImportaEstratto::FormShow() {
  yearToOpen_.clear();
  btnSfoglia->setFocus();
}

void TfrmImportaEstratto::clearStatement() {
  csv_.reset();
  planned_ = false;
  statement_ = {};
  choices_.clear();
  plan_->setValue({});
  showMatchOfCurrent();
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
  importParts::showCsv(mapping_, *csv_);
  stkPagine->setCurrentIndex(1);
  gui::setTabChain(this, {u"btnSfoglia", u"tblAnteprima", u"cboData", u"cboImporto", u"cboUscite", u"cboEntrate",
                          u"cboDescrizione", u"cboControparte", u"cboRiferimento", u"btnApplica", u"btnImporta",
                          u"btnGuida", u"btnChiudi"});
  mapping_.combos[0]->setFocus();
}

void TfrmImportaEstratto::btnApplicaClick() {
  if (!csv_) return;
  const CsvColumns c = importParts::chosenColumns(mapping_);
  if (c.date < 0) {
    gui::notice(this, gui::Icon::Warning, t::kMapNeedsDate.toString());
    mapping_.combos[0]->setFocus();
    return;
  }
  if (!c.valid()) {
    gui::notice(this, gui::Icon::Warning, t::kMapNeedsAmount.toString());
    mapping_.combos[1]->setFocus();
    return;
  }
  load(c);
  if (planned_) rememberColumns(gui::programFolderPath(), csvHeaderKey(*csv_, 0), c);
}

void TfrmImportaEstratto::load(const std::optional<CsvColumns>& columns) {
  gui::ProgressDialog progress(this, t::kReading.toString());
  planned_ = false;
  ImportPlan plan;
  try {
    if (csv_ && columns) {
      statement_ = readCsv(*csv_, *columns);
    } else {
      statement_ = readStatementFile(path_, {}, progress.callback());
    }
    progress.setSentence(t::kChecking.toString());
    plan = planMatchedImport(statement_, gui::programFolderPath(), name_, progress.callback());
  } catch (const Cancelled&) {
    return;
  } catch (const StatementError& e) {
    reportFailure(e.message());
    return;
  } catch (const ArchiveError&) {
    gui::notice(this, gui::Icon::Warning, archiveAccessMessage());
    return;
  }
  showPlan(std::move(plan));
}

void TfrmImportaEstratto::showPlan(ImportPlan plan) {
  // The list is the page shown before it fits its columns to its width.
  stkPagine->setCurrentWidget(tblMovimenti);
  planned_ = true;
  choices_.clear();
  plan_->setValue(std::move(plan));
  gui::setTabChain(this, {u"btnSfoglia", u"tblMovimenti", u"cboAbbinamento", u"btnImporta", u"btnGuida", u"btnChiudi"});
  if (plan_->rowCount() > 0) tblMovimenti->selectRow(0);
  showMatchOfCurrent();
  updateCounts();
  tblMovimenti->setFocus();
}

void TfrmImportaEstratto::showMatchOfCurrent() {
  const int row = tblMovimenti->currentIndex().row();
  const bool valid = planned_ && row >= 0 && row < plan_->rowCount();
  importParts::fillMatchCombo(cboAbbinamento, plan_->value(), valid ? &plan_->row(row) : nullptr);
}

void TfrmImportaEstratto::cboAbbinamentoChange() {
  const int row = tblMovimenti->currentIndex().row();
  const auto choice = importParts::chosenMatch(cboAbbinamento, plan_->value());
  if (!planned_ || row < 0 || !choice) return;
  choices_[plan_->row(row).number] = *choice;
  ImportPlan plan = plan_->value();
  chooseMatches(plan, choices_);
  refreshPlan(std::move(plan));
}

void TfrmImportaEstratto::refreshPlan(ImportPlan plan) {
  const QSet<int> out = importParts::leftOut(*plan_);
  const QModelIndex current = tblMovimenti->currentIndex();
  plan_->setValue(std::move(plan));
  for (int row = 0; row < plan_->rowCount(); ++row)
    if (out.contains(plan_->row(row).number)) plan_->setTicked(row, false);
  tblMovimenti->setCurrentIndex(plan_->index(current.row(), current.column()));
  showMatchOfCurrent();
  updateCounts();
}

// Where the screen has room, the window grows wider (the list with it), so
// that the bank's long texts need fewer lines.
int TfrmImportaEstratto::widen(int spare) { return std::min(spare, 400); }

void TfrmImportaEstratto::updateCounts() {
  if (!planned_) {
    lblConteggio->clear();
    btnImporta->setEnabled(false);
    return;
  }
  lblConteggio->setText(importParts::countsText(*plan_));
  btnImporta->setEnabled(true);
}

void TfrmImportaEstratto::btnImportaClick() {
  if (!planned_) return;
  const ImportPlan& plan = plan_->value();
  const QSet<int> out = importParts::leftOut(*plan_);
  if (importParts::toImport(*plan_) == 0) {
    gui::notice(this, gui::Icon::Information, t::kNothingToImport.toString());
    return;
  }
  ImportResult result;
  std::vector<SettledEntry> settled;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    result = importMatched(statement_, gui::programFolderPath(), name_, out, choices_, settled);
    QApplication::restoreOverrideCursor();
  } catch (const ImportWriteError& e) {
    QApplication::restoreOverrideCursor();
    gui::notice(this, gui::Icon::Error, importParts::writeFailureText(e));
    clearStatement();
    return;
  }
  int lastYearAdded = 0;
  const QString text = importParts::doneText(name_, result, plan.skipped(), out.size(), lastYearAdded);
  if (!settled.empty()) {
    // What is still to pay, in the year of the statement's last entries.
    const int year = result.years.back().year;
    if (gui::question(this, text + kParagraphBreak + t::kOpenDueList.toString().arg(archiveYearText(year)))) {
      openDueList(year);
      if (!yearToOpen_.isEmpty()) return;
    }
  } else if (lastYearAdded > 0) {
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
  openFile(txtFile->text());
}

// A movement picked in the due list opens its year's register.
void TfrmImportaEstratto::openDueList(int year) {
  TfrmSospesiMov list(this, movementArchivePath(decodePath(gui::programFolderPath()), archiveYearText(year)));
  list.showModal();
  if (!list.picked()) return;
  yearToOpen_ = archiveYearText(year);
  close();
}

void TfrmImportaEstratto::btnGuidaClick() {
  showGuide(this, t::kTitle.toString(), gui::guidePage(u"importa_estratto"_qs));
}

void TfrmImportaEstratto::btnChiudiClick() { close(); }

QString importBankStatement(QWidget* owner) {
  std::unique_ptr<TfrmImportaEstratto> w(new TfrmImportaEstratto(owner));
  w->showModal();
  return w->yearToOpen();
}

}  // namespace fondaro
