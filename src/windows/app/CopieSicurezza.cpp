// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CopieSicurezza.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

#include "app/CopieSicurezzaParts.h"
#include "app/CopieTexts.h"
#include "core/filepath.h"
#include "core/notice.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/progress.h"
#include "gui/widgets.h"

namespace fondaro {

namespace {

namespace texts = copieTexts;
using namespace copieParts;

// Before a restore: the work windows on screen (an editor with a card, a
// list) would show or save what is about to be replaced. They are closed;
// every entry into them reads the archives afresh.
void closeWorkWindows(QWidget* keep) {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* f = qobject_cast<gui::Form*>(w);
    if (!f || f == keep || !f->isVisible() || f->kind() != gui::Form::Kind::Work) continue;
    f->close();
  }
}

}  // namespace

TfrmCopieSicurezza::TfrmCopieSicurezza(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmCopieSicurezza"_qs);
  setWindowTitle(u" "_qs + gui::kProductName.toString() + u" -"_qs + texts::kCaption.toString());
  setFixedSize(820, 520);
  setGradientBackground(true);

  auto* lblTitolo = gui::layoutLabel(this, "lblTitolo", texts::kTitle, gui::windowFont("Arial", 16, true));
  gui::setTextColour(lblTitolo, u"#12356B");
  auto* lblIntro = gui::layoutLabel(this, "lblIntro", texts::kIntro, gui::windowFont("Tahoma", 10));
  lblIntro->setWordWrap(true);
  auto* lblCartella = gui::layoutLabel(
      this, "lblCartella",
      texts::kFolder.toString() + displayPath(safety::copiesFolderOf(gui::programFolderPath())),
      gui::windowFont("Tahoma", 9));
  lblCartella->setTextInteractionFlags(Qt::TextSelectableByMouse);

  copies_ = copieParts::makeCopiesModel(this);
  lstCopie = new gui::GridView(this, u"lstCopie"_qs, copies_, copieParts::copiesLook());
  lstCopie->setAccessibleName(texts::kListName.toString());

  auto* lblGiorni = gui::layoutLabel(this, "lblGiorni", texts::kKeepDays, gui::windowFont("Tahoma", 10));
  txtGiorni = new QSpinBox(this);
  txtGiorni->setObjectName(u"txtGiorni"_qs);
  txtGiorni->setRange(1, safety::kMaxKeepDays);
  txtGiorni->setToolTip(texts::kKeepDaysHover.toString());
  txtGiorni->setAccessibleName(texts::kKeepDays.toString());
  txtGiorni->setValue(safety::keepDays(safety::copiesFolderOf(gui::programFolderPath())));
  lblGiorni->setBuddy(txtGiorni);

  QHBoxLayout* buttons = buttonRow();

  auto* grid = new QGridLayout(this);
  grid->setContentsMargins(20, 16, 20, 16);
  grid->setVerticalSpacing(8);
  grid->addWidget(lblTitolo, 0, 0);
  grid->addWidget(lblIntro, 1, 0);
  grid->addWidget(lblCartella, 2, 0);
  grid->addWidget(lstCopie, 3, 0);
  auto* days = new QHBoxLayout;
  days->setSpacing(8);
  days->addWidget(lblGiorni);
  days->addWidget(txtGiorni);
  days->addStretch();
  grid->addLayout(days, 4, 0);
  grid->addLayout(buttons, 5, 0);
  grid->setRowStretch(3, 1);
  connect(txtGiorni, &QSpinBox::editingFinished, this, &TfrmCopieSicurezza::txtGiorniChange);
  gui::connectClickSlots(this);
}

// The commands under the list, after it in the Tab order; the days last.
QHBoxLayout* TfrmCopieSicurezza::buttonRow() {
  auto* cmdCrea = gui::layoutButton(this, "cmdCrea", texts::kCrea, 150);
  auto* cmdCopiaSu = gui::layoutButton(this, "cmdCopiaSu", texts::kCopiaSu, 120);
  auto* cmdRipristina = gui::layoutButton(this, "cmdRipristina", texts::kRipristina, 120);
  auto* cmdChiudi = gui::layoutButton(this, "cmdChiudi", texts::kChiudi, 100);
  cmdCrea->setToolTip(texts::kCreaHover.toString());
  cmdCopiaSu->setToolTip(texts::kCopiaSuHover.toString());
  cmdRipristina->setToolTip(texts::kRipristinaHover.toString());
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(10);
  for (QPushButton* b : {cmdCrea, cmdCopiaSu, cmdRipristina, cmdChiudi}) b->setMinimumHeight(30);
  buttons->addWidget(cmdCrea);
  buttons->addWidget(cmdCopiaSu);
  buttons->addWidget(cmdRipristina);
  buttons->addStretch();
  buttons->addWidget(cmdChiudi);
  setTabOrder(lstCopie, cmdCrea);
  setTabOrder(cmdCrea, cmdCopiaSu);
  setTabOrder(cmdCopiaSu, cmdRipristina);
  setTabOrder(cmdRipristina, cmdChiudi);
  setTabOrder(cmdChiudi, txtGiorni);
  return buttons;
}

void TfrmCopieSicurezza::FormShow() {
  refresh();
  lstCopie->setFocus();
}

void TfrmCopieSicurezza::refresh() {
  gui::ProgressDialog progress(this, texts::kVerifying.toString());
  const QByteArray folder = safety::copiesFolderOf(gui::programFolderPath());
  QList<safety::CopyInfo> copies;
  try {
    copies = safety::listCopies(folder, true, progress.callback());
  } catch (const Cancelled&) {
    copies = safety::listCopies(folder, false);
  }
  copies_->setValue(std::move(copies));
  if (copies_->rowCount() > 0) lstCopie->selectRow(0);
}

void TfrmCopieSicurezza::copyInto(const QByteArray& parent) {
  gui::ProgressDialog progress(this, texts::kCopying.toString());
  try {
    const safety::FullCopy c = safety::makeFullCopy(gui::programFolderPath(), parent, safety::CopyKind::Full,
                                                    progress.callback());
    QString text = texts::kCopyDone.toString().arg(displayPath(c.path)).arg(c.files).arg(sizeText(c.bytes));
    if (!c.skipped.isEmpty()) {
      QStringList names;
      for (const QByteArray& s : c.skipped) names << displayPath(s);
      text += kParagraphBreak + texts::kSkipped.toString().arg(names.join(u", "_qs));
    }
    gui::notice(this, c.skipped.isEmpty() ? gui::Icon::Information : gui::Icon::Warning, text);
  } catch (const Cancelled&) {
    return;
  } catch (const safety::CopyError& e) {
    gui::notice(this, gui::Icon::Error, texts::kCopyFailed.toString() + kParagraphBreak + e.italian());
  }
  refresh();
}

void TfrmCopieSicurezza::cmdCreaClick() { copyInto(safety::copiesFolderOf(gui::programFolderPath())); }

void TfrmCopieSicurezza::cmdCopiaSuClick() {
  const QString chosen = gui::chooseFolder(this, texts::kChooseFolder.toString(), QDir::homePath());
  if (chosen.isEmpty()) return;
  copyInto(encodePath(chosen));
}

void TfrmCopieSicurezza::cmdRipristinaClick() {
  const int row = lstCopie->currentIndex().row();
  if (row < 0 || row >= copies_->rowCount()) {
    gui::notice(this, gui::Icon::Warning, texts::kChooseCopy.toString());
    return;
  }
  const safety::CopyInfo chosen = copies_->row(row);
  if (chosen.verification.state != safety::Verification::State::Verified) {
    gui::notice(this, gui::Icon::Error, texts::kDamagedCopy.toString());
    return;
  }
  const QString question = texts::kRestoreQuestion.toString()
                               .arg(kindText(chosen.kind).toLower(), whenText(chosen.made),
                                    filesText(manifestNames(chosen.path)));
  if (!gui::question(this, question)) return;
  closeWorkWindows(parentWidget() ? parentWidget()->window() : nullptr);

  gui::ProgressDialog progress(this, texts::kRestoring.toString());
  try {
    const safety::Restored r = safety::restoreCopy(chosen.path, gui::programFolderPath(), progress.callback());
    QString text = r.before.isEmpty() ? texts::kRestoreDoneNoBefore.toString()
                                      : texts::kRestoreDone.toString().arg(displayPath(r.before));
    gui::Icon icon = gui::Icon::Information;
    if (!r.failed.isEmpty()) {
      icon = gui::Icon::Warning;
      text += kParagraphBreak + texts::kRestorePartial.toString();
      for (const auto& f : r.failed) text += u"\n\r"_qs + displayPath(f.name) + u": "_qs + f.italian;
    }
    if (!r.kept.isEmpty()) text += kParagraphBreak + texts::kRestoreKept.toString().arg(filesText(r.kept));
    gui::notice(this, icon, text);
  } catch (const Cancelled&) {
    // Only the checks and the copy of the current files can be stopped.
  } catch (const safety::CopyError& e) {
    gui::notice(this, gui::Icon::Error, texts::kRestoreFailed.toString() + kParagraphBreak + e.italian());
  }
  refresh();
}

void TfrmCopieSicurezza::cmdChiudiClick() { close(); }

void TfrmCopieSicurezza::txtGiorniChange() {
  const QByteArray folder = safety::copiesFolderOf(gui::programFolderPath());
  if (txtGiorni->value() == safety::keepDays(folder)) return;
  try {
    safety::setKeepDays(folder, txtGiorni->value());
  } catch (const safety::CopyError& e) {
    gui::notice(this, gui::Icon::Warning, texts::kKeepDaysFailed.toString() + kParagraphBreak + e.italian());
  }
}

}  // namespace fondaro
