// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/ImportaFatture.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "core/archive.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "gui/importwindow.h"
#include "gui/messages.h"
#include "gui/pageview.h"
#include "gui/print.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"
#include "movements/TextsFatture.h"
#include "report/invoicecopy.h"

namespace fondaro {
namespace t = invoiceTexts;

namespace {

QByteArray readableCopy(const InvoiceFileRead& file) { return report::invoiceCopyPdf(file); }

}  // namespace

TfrmImportaFatture::TfrmImportaFatture(QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner), list_(invoiceParts::makeListModel(this)) {
  setObjectName(u"frmImportaFatture"_qs);
  setWindowTitle(t::kCaption.toString());
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(1100, 700);

  QVBoxLayout* v = gui::buildImportHead(this, t::kTitle, t::kHint).layout;

  auto* files = new QHBoxLayout;
  QLabel* lblFile = gui::layoutLabel(this, "lblFile", t::kFiles, gui::windowFont("Verdana", 10, true));
  txtFile = new QLineEdit(this);
  txtFile->setObjectName(u"txtFile"_qs);
  txtFile->setReadOnly(true);
  txtFile->setFont(gui::windowFont("Verdana", 10));
  txtFile->setPlaceholderText(t::kNoFiles.toString());
  lblFile->setBuddy(txtFile);
  btnFile = gui::layoutButton(this, "btnFile", t::kChooseFiles, 110);
  btnCartella = gui::layoutButton(this, "btnCartella", t::kChooseFolder, 110);
  files->addWidget(lblFile);
  files->addWidget(txtFile, 1);
  files->addWidget(btnFile);
  files->addWidget(btnCartella);
  v->addLayout(files);

  auto* company = new QHBoxLayout;
  QLabel* lblAzienda = gui::layoutLabel(this, "lblAzienda", t::kOwnIds, gui::windowFont("Verdana", 9, true));
  txtAzienda = new QLineEdit(this);
  txtAzienda->setObjectName(u"txtAzienda"_qs);
  txtAzienda->setFont(gui::windowFont("Verdana", 10));
  lblAzienda->setBuddy(txtAzienda);
  QLabel* lblPreavviso = gui::layoutLabel(this, "lblPreavviso", t::kNotice, gui::windowFont("Verdana", 9, true));
  txtPreavviso = new QSpinBox(this);
  txtPreavviso->setObjectName(u"txtPreavviso"_qs);
  txtPreavviso->setFont(gui::windowFont("Verdana", 10));
  txtPreavviso->setRange(0, 999);
  txtPreavviso->setFixedWidth(80);
  lblPreavviso->setBuddy(txtPreavviso);
  company->addWidget(lblAzienda);
  company->addWidget(txtAzienda, 1);
  company->addSpacing(16);
  company->addWidget(lblPreavviso);
  company->addWidget(txtPreavviso);
  v->addLayout(company);
  lblAvvisoAzienda = gui::layoutLabel(this, "lblAvvisoAzienda", u"", gui::windowFont("Verdana", 9, true));
  lblAvvisoAzienda->setStyleSheet(u"color: #b00000;"_qs);
  lblAvvisoAzienda->setWordWrap(true);
  lblAvvisoAzienda->hide();
  v->addWidget(lblAvvisoAzienda);

  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->setObjectName(u"splFatture"_qs);
  splitter->setChildrenCollapsible(false);
  tblFatture = new gui::GridView(splitter, u"tblFatture"_qs, list_, invoiceParts::listLook());
  tblFatture->setAccessibleName(t::kTitle.toString());
  auto* copyPanel = new QWidget(splitter);
  auto* c = new QVBoxLayout(copyPanel);
  c->setContentsMargins(0, 4, 0, 0);
  c->setSpacing(4);
  auto* copyHead = new QHBoxLayout;
  lblCopia = gui::layoutLabel(copyPanel, "lblCopia", t::kNoCopy, gui::windowFont("Verdana", 9, true));
  btnAnteprima = gui::layoutButton(copyPanel, "btnAnteprima", t::kPreview, 110);
  copyHead->addWidget(lblCopia, 1);
  copyHead->addWidget(btnAnteprima);
  c->addLayout(copyHead);
  viewCopia = new gui::PageView(copyPanel, u"viewCopia"_qs);
  c->addWidget(viewCopia, 1);
  splitter->addWidget(tblFatture);
  splitter->addWidget(copyPanel);
  splitter->setStretchFactor(0, 2);
  splitter->setStretchFactor(1, 3);
  splitter->setSizes({180, 270});
  v->addWidget(splitter, 1);

  lblConteggio = gui::layoutLabel(this, "lblConteggio", u"", gui::windowFont("Verdana", 10, true));
  v->addWidget(lblConteggio);
  const gui::ImportFoot foot = gui::buildImportFoot(this, "btnImporta", t::kImport, t::kGuide, t::kClose);
  btnImporta = foot.action;
  btnGuida = foot.guide;
  btnChiudi = foot.close;
  v->addLayout(foot.layout);

  connect(list_, &gui::GridModel::ticksChanged, this, &TfrmImportaFatture::updateCounts);
  connect(tblFatture->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& now) { showCopy(now.row()); });
  connect(txtAzienda, &QLineEdit::editingFinished, this, &TfrmImportaFatture::ownIdsEdited);
  connect(txtPreavviso, &QSpinBox::editingFinished, this, &TfrmImportaFatture::noticeEdited);
  gui::setTabChain(this, {u"btnFile", u"btnCartella", u"txtAzienda", u"txtPreavviso", u"tblFatture",
                          u"btnAnteprima", u"viewCopia", u"btnImporta", u"btnGuida", u"btnChiudi"});
  gui::connectClickSlots(this);
  clearList();
}

TfrmImportaFatture::~TfrmImportaFatture() = default;

void TfrmImportaFatture::FormShow() {
  outcome_ = {};
  settings_ = readInvoiceSettings(gui::programFolderPath());
  txtAzienda->setText(invoiceParts::ownIdsText(settings_.ownIds));
  txtPreavviso->setValue(settings_.notice);
  showOwnIdWarnings(false);
  btnFile->setFocus();
}

// Where the screen has room, the window grows wider, the list and the copy with it.
int TfrmImportaFatture::widen(int spare) { return std::min(spare, 300); }

void TfrmImportaFatture::clearList() {
  planned_ = false;
  list_->setValue({});
  copyFile_ = -1;
  viewCopia->setDocument(nullptr);
  copy_.reset();
  lblCopia->setText(t::kNoCopy.toString());
  btnAnteprima->setEnabled(false);
  lblConteggio->clear();
  btnImporta->setEnabled(false);
}

void TfrmImportaFatture::showOwnIdWarnings(bool notify) {
  const QString warnings = invoiceParts::ownIdsWarnings(settings_.ownIds);
  lblAvvisoAzienda->setText(warnings);
  lblAvvisoAzienda->setVisible(!warnings.isEmpty());
  if (notify && !warnings.isEmpty())
    gui::notice(this, gui::Icon::Warning, warnings + kParagraphBreak + t::kOwnWarning.toString());
}

void TfrmImportaFatture::saveSettings() {
  if (!writeInvoiceSettings(gui::programFolderPath(), settings_))
    gui::notice(this, gui::Icon::Warning, t::kSettingsNotSaved.toString().arg(QLatin1String(kInvoiceSettingsFileName)));
}

bool TfrmImportaFatture::ensureOwnIds() {
  if (!settings_.ownIds.isEmpty()) return true;
  const std::optional<QString> typed =
      gui::inputText(this, t::kAskOwnTitle.toString(), t::kAskOwn.toString(), txtAzienda->text());
  const QStringList ids = typed ? invoiceParts::ownIdsOf(*typed) : QStringList();
  if (ids.isEmpty()) {
    gui::notice(this, gui::Icon::Warning, t::kOwnNeeded.toString());
    txtAzienda->setFocus();
    return false;
  }
  settings_.ownIds = ids;
  txtAzienda->setText(invoiceParts::ownIdsText(ids));
  saveSettings();
  showOwnIdWarnings(true);
  return true;
}

// The company's identifiers decide which invoices are received and which
// issued: a change plans the files again.
void TfrmImportaFatture::ownIdsEdited() {
  const QStringList ids = invoiceParts::ownIdsOf(txtAzienda->text());
  if (ids == settings_.ownIds) return;
  if (ids.isEmpty()) {
    txtAzienda->setText(invoiceParts::ownIdsText(settings_.ownIds));
    gui::notice(this, gui::Icon::Warning, t::kOwnNeeded.toString());
    return;
  }
  settings_.ownIds = ids;
  txtAzienda->setText(invoiceParts::ownIdsText(ids));
  saveSettings();
  showOwnIdWarnings(true);
  if (planned_) plan();
}

void TfrmImportaFatture::noticeEdited() {
  if (txtPreavviso->value() == settings_.notice) return;
  settings_.notice = txtPreavviso->value();
  saveSettings();
  if (planned_) plan();
}

void TfrmImportaFatture::btnFileClick() {
  const QString folder = paths_.isEmpty() ? QString() : QFileInfo(paths_.front()).absolutePath();
  const QStringList chosen =
      gui::openFileNames(this, t::kFilesCaption.toString(), folder, t::kFilesFilter.toString());
  if (!chosen.isEmpty()) openPaths(chosen);
}

void TfrmImportaFatture::btnCartellaClick() {
  const QString folder = paths_.isEmpty() ? QString() : QFileInfo(paths_.front()).absolutePath();
  const QString chosen = gui::chooseFolder(this, t::kFolderCaption.toString(), folder);
  if (!chosen.isEmpty()) openPaths({chosen});
}

void TfrmImportaFatture::setChosenText() {
  if (paths_.isEmpty()) return txtFile->clear();
  txtFile->setText(paths_.size() == 1 ? t::kChosenOne.toString().arg(paths_.front())
                                      : t::kChosenMany.toString().arg(paths_.front()).arg(paths_.size() - 1));
  txtFile->setToolTip(paths_.join(u'\n'));
}

void TfrmImportaFatture::openPaths(const QStringList& paths) {
  if (paths.isEmpty() || !ensureOwnIds()) return;
  clearList();
  files_.clear();
  paths_ = paths;
  setChosenText();
  {
    gui::ProgressDialog progress(this, t::kReading.toString());
    try {
      files_ = readInvoiceInputs(paths, progress.callback());
    } catch (const Cancelled&) {
      files_.clear();
      return;
    }
  }
  plan();
}

void TfrmImportaFatture::plan() {
  const int selected = tblFatture->currentIndex().row();
  clearList();
  gui::ProgressDialog progress(this, t::kChecking.toString());
  InvoicePlan planned;
  try {
    planned = planInvoiceImport(files_, gui::programFolderPath(),
                                {.ownIds = settings_.ownIds, .notice = settings_.notice, .makeReadableCopy = readableCopy},
                                progress.callback());
  } catch (const Cancelled&) {
    return;
  } catch (const ArchiveError&) {
    gui::notice(this, gui::Icon::Warning, archiveAccessMessage());
    return;
  } catch (const UserError& e) {
    gui::show(this, e);
    return;
  }
  planned_ = true;
  list_->setValue(invoiceParts::listOf(std::move(planned)));
  gui::setTabChain(this, {u"btnFile", u"btnCartella", u"txtAzienda", u"txtPreavviso", u"tblFatture",
                          u"btnAnteprima", u"viewCopia", u"btnImporta", u"btnGuida", u"btnChiudi"});
  updateCounts();
  if (list_->rowCount() > 0) {
    tblFatture->selectRow(std::clamp(selected, 0, list_->rowCount() - 1));
    showCopy(tblFatture->currentIndex().row());
  }
  tblFatture->setFocus();
}

void TfrmImportaFatture::updateCounts() {
  if (!planned_) {
    lblConteggio->clear();
    btnImporta->setEnabled(false);
    return;
  }
  lblConteggio->setText(invoiceParts::countsText(*list_));
  btnImporta->setEnabled(true);
}

// The copy is made per file: moving among the lines of one file only scrolls
// to the invoice of the line.
void TfrmImportaFatture::showCopy(int row) {
  if (!planned_ || row < 0 || row >= list_->rowCount()) return;
  const invoiceParts::InvoiceRow& r = list_->row(row);
  const InvoiceFileRead& file = list_->value().plan.files[size_t(r.file)].read;
  if (r.file != copyFile_) {
    copyFile_ = r.file;
    copy_ = std::make_unique<report::ReportSequence>(report::invoiceCopy(file));
    if (copy_->parts().empty()) {
      copy_.reset();
      viewCopia->setDocument(nullptr);
      lblCopia->setText(t::kNoCopyOfFile.toString().arg(file.shownName, file.reason));
      btnAnteprima->setEnabled(false);
      return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    viewCopia->setDocument(copy_.get());
    QApplication::restoreOverrideCursor();
    lblCopia->setText(t::kCopy.toString() + u": "_qs + file.shownName);
    btnAnteprima->setEnabled(true);
  }
  if (copy_ && r.body >= 0) viewCopia->showPage(copy_->firstPage(size_t(r.body)));
}

void TfrmImportaFatture::btnAnteprimaClick() {
  if (copy_) gui::print(this, *copy_, gui::PrintTarget::Preview);
}

void TfrmImportaFatture::btnImportaClick() {
  if (!planned_) return;
  const QSet<int> out = invoiceParts::leftOut(*list_);
  if (invoiceParts::toImport(*list_) == 0) {
    gui::notice(this, gui::Icon::Information, t::kNothingToImport.toString());
    return;
  }
  InvoiceImportResult result;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    result = importInvoices(list_->value().plan, gui::programFolderPath(), readableCopy, out);
    QApplication::restoreOverrideCursor();
  } catch (const InvoiceWriteError& e) {
    QApplication::restoreOverrideCursor();
    gui::notice(this, gui::Icon::Error, invoiceParts::writeFailureText(e));
    plan();
    return;
  }
  int lastYearAdded = 0;
  const QString text = invoiceParts::doneText(result, list_->value().plan.skipped(), out.size(), lastYearAdded);
  if (lastYearAdded > 0) {
    const QString year = QStringLiteral("%1").arg(lastYearAdded, 4, 10, QLatin1Char('0'));
    if (gui::question(this, text + kParagraphBreak + t::kOpenYear.toString().arg(year))) {
      outcome_.year = year;
      outcome_.dueList = gui::question(this, t::kOpenDue.toString().arg(year));
      close();
      return;
    }
  } else {
    gui::notice(this, gui::Icon::Information, text);
  }
  // What is in the archives now: everything imported shows as present.
  plan();
}

void TfrmImportaFatture::btnGuidaClick() {
  showGuide(this, t::kTitle.toString(), gui::guidePage(u"importa_fatture"_qs));
}

void TfrmImportaFatture::btnChiudiClick() { close(); }

TfrmImportaFatture::Outcome importElectronicInvoices(QWidget* owner) {
  std::unique_ptr<TfrmImportaFatture> w(new TfrmImportaFatture(owner));
  w->showModal();
  return w->outcome();
}

}  // namespace fondaro
