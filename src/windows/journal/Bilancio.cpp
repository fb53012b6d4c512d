// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/Bilancio.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "core/archive.h"
#include "core/journal.h"
#include "core/skippedwarning.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "journal/MenuBilancio.h"
#include "journal/Texts.h"

namespace fondaro {

namespace {
namespace texts = journalTexts;
}  // namespace

TfrmBilancio::TfrmBilancio(QWidget* owner, const JournalPeriod& period)
    : ListWindow(owner, Kind::Work), period_(period) {
  setObjectName(u"frmBilancio"_qs);
  setWindowTitle(gui::windowCaption(texts::kCaption));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(1220, 712);
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c, 215, 18);

  auto* band = new QWidget(c);
  band->setObjectName(u"shpTitolo"_qs);
  band->setAttribute(Qt::WA_StyledBackground);
  band->setStyleSheet(u"#shpTitolo { background: #4A5A78; border-radius: 8px; }"_qs);
  band->setGeometry(16, 12, 1120, 46);
  const QFont bold12 = gui::windowFont("Verdana", 12, true);
  gui::setTextColour(gui::placedLabel(band, "lblTipologia", texts::kBandTitle, bold12, QRect(14, 0, 360, 46)),
                     u"white");
  titTipologia = gui::placedLabel(band, "titTipologia", texts::kNoReason, bold12, QRect(378, 7, 730, 32));
  titTipologia->setStyleSheet(u"color: #800000; background: white; border-radius: 4px; padding-left: 8px;"_qs);
  imgGuida =
      new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs), texts::kGuideHover.toString(), c);
  imgGuida->setGeometry(1152, 8, 52, 52);

  lblConta = gui::placedLabel(c, "lblConta", u"0", bold12, QRect(0, 0, 10, 10));
  lblConta->hide();
  QLabel* rigo01 = gui::makeListLabel(c, "lblRigo01", gui::kFindHint1, QRect(16, 66, 1120, 22));
  QLabel* rigo02 = gui::makeListLabel(c, "lblRigo02", gui::kFindHint2, QRect(16, 88, 1120, 22));
  makeFind(c, QRect(16, 116, 700, 34), QRect(730, 116, 110, 34));
  makeList(c, QRect(16, 160, 1188, 384));
  setLongestLine(longestJournalLine());
  buildTotals(c);
  for (QWidget* w : std::initializer_list<QWidget*>{band, titTipologia, rigo01, rigo02})
    followList(w, Follow::Stretch);
  followList(imgGuida, Follow::Move);

  const QFont button10 = gui::windowFont("Verdana", 10, true);
  btnStampa = gui::placedButton(c, "btnStampa", texts::kStampa, button10, QRect(16, 656, 200, 40));
  btnEsci = gui::placedButton(c, "btnEsci", texts::kEsci, button10, QRect(226, 656, 140, 40));

  setTabOrder(txtTrova, btnTrova);
  setTabOrder(btnTrova, lstRecords);
  setTabOrder(lstRecords, btnStampa);
  setTabOrder(btnStampa, btnEsci);
  setTabOrder(btnEsci, imgGuida);
  connect(btnStampa, &QPushButton::clicked, this, &TfrmBilancio::btnStampaClick);
  connect(btnEsci, &QPushButton::clicked, this, &TfrmBilancio::btnEsciClick);
  connect(imgGuida, &QToolButton::clicked, this, &TfrmBilancio::imgGuidaClick);
}

// The period and the three totals, right-aligned under the list.
void TfrmBilancio::buildTotals(QWidget* c) {
  const QFont totals = gui::windowFont("Verdana", 11, true);
  const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
  const auto row = [&](const char* caption, QStringView captionText, const char* value, QStringView design,
                       int y, QStringView colour) {
    QLabel* left = gui::placedLabel(c, caption, captionText, totals, QRect(520, y, 340, 26), right);
    QLabel* shown = gui::placedLabel(c, value, design, totals, QRect(870, y, 334, 26), right);
    followList(left, Follow::Move);
    followList(shown, Follow::Move);
    if (!colour.isEmpty()) {
      gui::setTextColour(left, colour);
      gui::setTextColour(shown, colour);
    }
    return shown;
  };
  lblIntervallo =
      row("infIntervallo", texts::kIntervallo, "lblIntervallo", texts::kIntervalDesign, 554, u"#800000");
  lblTotEntrate = row("titTotEntrate", texts::kTotEntrate, "lblTotEntrate", texts::kAmountDesign, 582, {});
  lblTotUscite =
      row("titTotUscite", texts::kTotUscite, "lblTotUscite", texts::kAmountDesign, 610, u"#8B0000");
  lblBilancio = row("titBilancio", texts::kBilancio, "lblBilancio", texts::kAmountDesign, 638, {});
}

void TfrmBilancio::FormShow() {
  resetFind();
  buildJournal();
  txtTrova->setFocus();
}

void TfrmBilancio::buildJournal() {
  const JournalPeriod& period = period_;
  const QString reason = period.reason;
  titTipologia->setText(journalReasonText(reason));
  lblConta->setText(isActiveFilter(reason) ? u"1"_qs : u"0"_qs);
  Journal j;
  try {
    auto archive = MovementArchive::OpenOrCreate(trimmedText(period.archivePath));
    j = fondaro::buildJournal(archive, {parseDate(period.startDate), parseDate(period.endDate), reason});
    archive.Close();
  } catch (const ArchiveError&) {
    showLines({});
    QTimer::singleShot(0, this, [this] { gui::message(this, texts::kNotAccessible.toString()); });
    return;
  }
  showLines(j.lines);
  lblIntervallo->setText(intervalText(period.startDate, period.endDate));
  lblTotEntrate->setText(j.income.euroText());
  lblTotUscite->setText(j.expense.euroText());
  lblBilancio->setText(j.balance.euroText());
  if (j.skipped.empty()) return;
  // After the window is on screen, so the warning stands over the journal it speaks of.
  const QString text = skippedRecordsWarning(SkippingList::Journal, j.skipped);
  QTimer::singleShot(0, this, [this, text] {
    gui::notice(this, gui::Icon::Warning, text);
    txtTrova->setFocus();
  });
}

void TfrmBilancio::btnStampaClick() {
  if (lstRecords->count() == 0) {
    gui::notice(this, gui::Icon::Warning, texts::kNothingToPrint.toString());
    return;
  }
  if (!gui::question(this, texts::kPrintQuestion.toString())) return;
  const QStringList lines = journalPrintLines(lstRecords->lines(), lblIntervallo->text(), lblTotEntrate->text(),
                                              lblTotUscite->text(), lblBilancio->text());
  gui::printList(this, gui::ListPrintout::Primanota, journalTitle(titTipologia->text()), lines);
}

void TfrmBilancio::btnEsciClick() { close(); }

void TfrmBilancio::imgGuidaClick() { showJournalGuide(this); }

void TfrmBilancio::FormClose() {
  lstRecords->clear();
}

}  // namespace fondaro
