// SPDX-License-Identifier: GPL-3.0-or-later
#include "stats/MenuStats.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/field.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "stats/StatsBilancio.h"
#include "stats/StatsEntrate.h"
#include "stats/StatsUscite.h"
#include "stats/Texts.h"

namespace fondaro {

namespace {

constexpr int kWidth = 980;

QString text(const char16_t* t) { return QString::fromUtf16(t); }

// A chart window for one showing, with its title and the year's archive.
template <class W>
void openChart(TfrmMenuStats* owner, const statsTexts::ChartTexts& texts, const QString& year) {
  gui::openPerUse<W>(owner, [&](W& w) {
    w.setTitle(text(texts.titleBeforeYear) + year + u'.');
    w.setArchive(owner->archiveFile(), year);
  });
}

}  // namespace

TfrmMenuStats::TfrmMenuStats(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuStats"_qs);
  setWindowTitle(gui::windowCaption(statsTexts::kMenuCaption));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(kWidth, 570);
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c);
  const QRect tile = placePictures(c);
  QLabel* info =
      gui::placedLabel(c, "lblInformazioni", statsTexts::kMenuInformation, gui::windowFont("Verdana", 10),
                       QRect(80, 214, kWidth - 160, 44), Qt::AlignCenter);
  info->setWordWrap(true);
  placeBoxes(c);
  placeFlankingLogos(c, tile);

  lblFile = gui::placedLabel(c, "lblFile", u"", font(), QRect(0, 0, 10, 10));
  lblFile->hide();

  imgGuida =
      new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs), text(statsTexts::kMenuGuide), c);
  imgGuida->setGeometry(kWidth - 66, 14, 52, 52);
  imgEsci = new gui::PictureButton(u"imgEsci"_qs, gui::art(u"ico_esci"_qs), text(statsTexts::kMenuLeave), c);
  imgEsci->setGeometry(kWidth - 66, 504, 52, 52);

  // Four digits at most; Enter only reaches the box's "Visualizza".
  gui::setFields(this, {
                           {.name = "txtAnnoPreventivi", .enterTo = "btnApriPreventivi", .keys = gui::Keys::Digits,
                            .maxLength = 4},
                           {.name = "txtAnnoNDC", .enterTo = "btnApriNDC", .keys = gui::Keys::Digits, .maxLength = 4},
                           {.name = "txtAnnoDDT", .enterTo = "btnApriDDT", .keys = gui::Keys::Digits, .maxLength = 4},
                       });
  gui::setTabChain(this, {u"txtAnnoPreventivi", u"btnApriPreventivi", u"txtAnnoNDC", u"btnApriNDC",
                          u"txtAnnoDDT", u"btnApriDDT", u"imgGuida", u"imgEsci"});
  gui::connectClickSlots(this);
}

// The tile over the boxes, the small logo in the corner; where the tile stands.
QRect TfrmMenuStats::placePictures(QWidget* c) {
  const QPixmap tile = gui::art(u"tile_stats"_qs);
  const QSize t = gui::shownSize(tile);
  QLabel* imgLogo01 = gui::makePicture(u"imgLogo01"_qs, tile, text(statsTexts::kMenuPicture), c);
  imgLogo01->setGeometry((kWidth - t.width()) / 2, 30, t.width(), t.height());
  const QPixmap logo = gui::art(u"logo_small"_qs, 48);
  QLabel* icoEntrate = gui::makePicture(u"icoEntrate"_qs, logo, text(statsTexts::kLogo), c);
  icoEntrate->setGeometry(QRect(QPoint(24, 18), gui::shownSize(logo)));
  return imgLogo01->geometry();
}

// The artwork's other two pictures flank the tile.
void TfrmMenuStats::placeFlankingLogos(QWidget* c, const QRect& tile) {
  for (const char* name : {"imgLogo02", "imgLogo03"}) {
    const QPixmap small = gui::art(u"logo_small"_qs, 48);
    const QSize s = gui::shownSize(small);
    QLabel* pic = gui::makePicture(QString::fromLatin1(name), small, text(statsTexts::kLogo), c);
    const int x = name[8] == '2' ? tile.x() - 40 - s.width() : tile.right() + 40;
    pic->setGeometry(x, 30 + (tile.height() - s.height()) / 2, s.width(), s.height());
  }
}

// One box a chart: its heading, "Anno:" with the year field, "Visualizza".
void TfrmMenuStats::placeBoxes(QWidget* c) {
  struct Box {
    const statsTexts::ChartTexts& texts;
    const char* headingName;
    const char* titName;
    const char* fieldName;
    const char* buttonName;
    QLineEdit** field;
    QPushButton** button;
  };
  const Box boxes[3] = {
      {statsTexts::kIncome, "intAnnoPreventivi", "titAnnoPreventivi", "txtAnnoPreventivi",
       "btnApriPreventivi", &txtAnnoPreventivi, &btnApriPreventivi},
      {statsTexts::kExpense, "intAnnoNDC", "titAnnoNDC", "txtAnnoNDC", "btnApriNDC", &txtAnnoNDC,
       &btnApriNDC},
      {statsTexts::kBalance, "intAnnoDDT", "titAnnoDDT", "txtAnnoDDT", "btnApriDDT", &txtAnnoDDT,
       &btnApriDDT},
  };
  const int boxW = 270;
  const int boxGap = 30;
  const int boxX0 = (kWidth - 3 * boxW - 2 * boxGap) / 2;
  for (int i = 0; i < 3; ++i) {
    const Box& b = boxes[i];
    auto* panel = new QFrame(c);
    panel->setObjectName(u"shpBox%1"_qs.arg(i + 1));
    panel->setProperty("box", true);
    panel->setStyleSheet(
        u"QFrame[box=\"true\"] { background: #EEF2FA; border: 1px solid #4682B4; border-radius: 12px; }"_qs);
    panel->setGeometry(boxX0 + i * (boxW + boxGap), 280, boxW, 220);
    gui::placedLabel(panel, b.headingName, b.texts.heading, gui::windowFont("Verdana", 12, true),
                     QRect(10, 14, boxW - 20, 28), Qt::AlignCenter);
    QLabel* tit = gui::placedLabel(panel, b.titName, statsTexts::kYear, gui::windowFont("Verdana", 14, true),
                                   QRect(20, 70, 90, 40), Qt::AlignRight | Qt::AlignVCenter);
    auto* field = new QLineEdit(panel);
    field->setObjectName(QString::fromLatin1(b.fieldName));
    field->setFont(gui::windowFont("Verdana", 14, true));
    field->setAlignment(Qt::AlignCenter);
    field->setGeometry(122, 70, 110, 40);
    tit->setBuddy(field);
    *b.field = field;
    *b.button =
        gui::placedButton(panel, b.buttonName, statsTexts::kShow, gui::windowFont("Verdana", 11, true),
                          QRect((boxW - 150) / 2, 144, 150, 38));
  }
}

// Every showing starts from the current year in all three boxes.
void TfrmMenuStats::FormShow() {
  const QString year = QString::number(QDate::currentDate().year()).rightJustified(4, u'0');
  for (QLineEdit* f : {txtAnnoPreventivi, txtAnnoNDC, txtAnnoDDT}) f->setText(year);
  txtAnnoPreventivi->setFocus();
}

QString TfrmMenuStats::archiveFile() const { return lblFile->text(); }

bool TfrmMenuStats::takeYear(QLineEdit* field, QString& year) {
  if (!isYearText(field->text())) {
    gui::show(this, yearTextNeeded());
    field->setFocus();
    return false;
  }
  year = trimmedText(field->text());
  lblFile->setText(movementArchivePath(gui::programFolder(), year));
  return true;
}

void TfrmMenuStats::btnApriPreventiviClick() {
  QString year;
  if (takeYear(txtAnnoPreventivi, year)) openChart<TfrmStatsEntrate>(this, statsTexts::kIncome, year);
}

void TfrmMenuStats::btnApriNDCClick() {
  QString year;
  if (takeYear(txtAnnoNDC, year)) openChart<TfrmStatsUscite>(this, statsTexts::kExpense, year);
}

void TfrmMenuStats::btnApriDDTClick() {
  QString year;
  if (takeYear(txtAnnoDDT, year)) openChart<TfrmStatsBilancio>(this, statsTexts::kBalance, year);
}

void TfrmMenuStats::imgGuidaClick() { showStatsGuide(this); }

void TfrmMenuStats::imgEsciClick() { close(); }

void TfrmMenuStats::FormClose() { openLauncher(this); }

}  // namespace fondaro
