#include "stats/MenuStats.h"

#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "core/archive.h"
#include "core/field.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "stats/StatsBilancio.h"
#include "stats/StatsEntrate.h"
#include "stats/StatsUscite.h"

namespace fondaro {

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text, const QFont& font, const QRect& at,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return gui::placedLabel(parent, name, QString::fromUtf8(text), font, at, align);
}

// A chart window for one showing, with its title and the year.
template <class W>
void openChart(QWidget* owner, const char* title, const QString& year) {
  gui::openPerUse<W>(owner, [&](W& w) {
    w.template findChild<QLabel*>(u"lblTitolo"_qs)->setText(QString::fromUtf8(title) + year + u'.');
  });
}

}  // namespace

TfrmMenuStats::TfrmMenuStats(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuStats"_qs);
  setWindowTitle(gui::windowCaption(u"Grafici Statistici"));
  gui::setFormatSettings();
  setGradientBackground(true);

  constexpr int W = 980;
  QWidget* c = makeContainer(W, 570);
  c->setAttribute(Qt::WA_StyledBackground);
  c->setStyleSheet(
      u"#panContainer { background: rgba(255,255,255,215); border-radius: 24px; }"
      "QFrame[box=\"true\"] { background: #EEF2FA; border: 1px solid #4682B4; border-radius: 12px; }"_qs);

  const QPixmap tile = gui::art(u"tile_stats"_qs);
  QLabel* imgLogo01 = gui::makePicture(u"imgLogo01"_qs, tile, u"Grafici statistici"_qs, c);
  imgLogo01->setGeometry((W - tile.width()) / 2, 30, tile.width(), tile.height());
  const QPixmap logo = gui::art(u"logo_small"_qs).scaledToHeight(48, Qt::SmoothTransformation);
  QLabel* icoEntrate = gui::makePicture(u"icoEntrate"_qs, logo, u"Fondaro 3.0"_qs, c);
  icoEntrate->setGeometry(24, 18, logo.width(), logo.height());

  QLabel* info = label(c, "lblInformazioni",
                       "In questo ambiente \xC3\xA8 possibile visualizzare grafici statistici tridimensionali "
                       "relativi alle entrate e uscite mensili e al bilancio annuale.",
                       gui::windowFont("Verdana", 10), QRect(80, 214, W - 160, 44), Qt::AlignCenter);
  info->setWordWrap(true);

  struct Box {
    const char* heading;
    const char* headingName;
    const char* titName;
    const char* fieldName;
    const char* buttonName;
    QLineEdit** field;
    QPushButton** button;
  };
  const Box boxes[3] = {
      {"Entrate mensili:", "intAnnoPreventivi", "titAnnoPreventivi", "txtAnnoPreventivi", "btnApriPreventivi",
       &txtAnnoPreventivi, &btnApriPreventivi},
      {"Uscite mensili:", "intAnnoNDC", "titAnnoNDC", "txtAnnoNDC", "btnApriNDC", &txtAnnoNDC,
       &btnApriNDC},
      {"Bilancio annuale:", "intAnnoDDT", "titAnnoDDT", "txtAnnoDDT", "btnApriDDT", &txtAnnoDDT,
       &btnApriDDT},
  };
  const int boxW = 270;
  const int boxGap = 30;
  const int boxX0 = (W - 3 * boxW - 2 * boxGap) / 2;
  for (int i = 0; i < 3; ++i) {
    const Box& b = boxes[i];
    auto* panel = new QFrame(c);
    panel->setObjectName(u"shpBox%1"_qs.arg(i + 1));
    panel->setProperty("box", true);
    panel->setGeometry(boxX0 + i * (boxW + boxGap), 280, boxW, 220);
    label(panel, b.headingName, b.heading, gui::windowFont("Verdana", 12, true), QRect(10, 14, boxW - 20, 28),
          Qt::AlignCenter);
    QLabel* tit = label(panel, b.titName, "Anno:", gui::windowFont("Verdana", 14, true), QRect(20, 70, 90, 40),
                        Qt::AlignRight | Qt::AlignVCenter);
    auto* field = new QLineEdit(panel);
    field->setObjectName(QString::fromLatin1(b.fieldName));
    field->setFont(gui::windowFont("Verdana", 14, true));
    field->setAlignment(Qt::AlignCenter);
    field->setGeometry(122, 70, 110, 40);
    tit->setBuddy(field);
    auto* btn = new QPushButton(u"Visualizza"_qs, panel);
    btn->setObjectName(QString::fromLatin1(b.buttonName));
    btn->setFont(gui::windowFont("Verdana", 11, true));
    btn->setGeometry((boxW - 150) / 2, 144, 150, 38);
    *b.field = field;
    *b.button = btn;
  }
  // The artwork's other two pictures flank the tile.
  for (const char* name : {"imgLogo02", "imgLogo03"}) {
    const QPixmap small = gui::art(u"logo_small"_qs).scaledToHeight(48, Qt::SmoothTransformation);
    QLabel* pic = gui::makePicture(QString::fromLatin1(name), small, u"Fondaro 3.0"_qs, c);
    const int x = name[8] == '2' ? imgLogo01->x() - 40 - small.width() : imgLogo01->geometry().right() + 40;
    pic->setGeometry(x, 30 + (tile.height() - small.height()) / 2, small.width(), small.height());
  }

  lblFile = label(c, "lblFile", "", font(), QRect(0, 0, 10, 10));
  lblFile->hide();

  imgGuida = new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs),
                                    u"Guida: applicazione Grafici Statistici"_qs, c);
  imgGuida->setGeometry(W - 66, 14, 52, 52);
  imgEsci = new gui::PictureButton(u"imgEsci"_qs, gui::art(u"ico_esci"_qs), u"Chiudi i Grafici Statistici"_qs, c);
  imgEsci->setGeometry(W - 66, 504, 52, 52);

  // Four digits at most; Enter only reaches the box's "Visualizza".
  gui::setFields(this, {
                           {.name = "txtAnnoPreventivi", .enterTo = "btnApriPreventivi", .keys = gui::Keys::Digits,
                            .maxLength = 4},
                           {.name = "txtAnnoNDC", .enterTo = "btnApriNDC", .keys = gui::Keys::Digits, .maxLength = 4},
                           {.name = "txtAnnoDDT", .enterTo = "btnApriDDT", .keys = gui::Keys::Digits, .maxLength = 4},
                       });
  setTabOrder(txtAnnoPreventivi, btnApriPreventivi);
  setTabOrder(btnApriPreventivi, txtAnnoNDC);
  setTabOrder(txtAnnoNDC, btnApriNDC);
  setTabOrder(btnApriNDC, txtAnnoDDT);
  setTabOrder(txtAnnoDDT, btnApriDDT);
  setTabOrder(btnApriDDT, imgGuida);
  setTabOrder(imgGuida, imgEsci);

  connect(btnApriPreventivi, &QPushButton::clicked, this, &TfrmMenuStats::btnApriPreventiviClick);
  connect(btnApriNDC, &QPushButton::clicked, this, &TfrmMenuStats::btnApriNDCClick);
  connect(btnApriDDT, &QPushButton::clicked, this, &TfrmMenuStats::btnApriDDTClick);
  connect(imgGuida, &QToolButton::clicked, this, &TfrmMenuStats::imgGuidaClick);
  connect(imgEsci, &QToolButton::clicked, this, &TfrmMenuStats::imgEsciClick);
}

// Every showing starts from the current year in all three boxes.
void TfrmMenuStats::FormShow() {
  const QString year = QString::number(QDate::currentDate().year()).rightJustified(4, u'0');
  for (QLineEdit* f : {txtAnnoPreventivi, txtAnnoNDC, txtAnnoDDT}) f->setText(year);
  txtAnnoPreventivi->setFocus();
}

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
  if (takeYear(txtAnnoPreventivi, year))
    openChart<TfrmStatsEntrate>(this, "Rappresentazione grafica delle entrate mensili dell'anno ", year);
}

void TfrmMenuStats::btnApriNDCClick() {
  QString year;
  if (takeYear(txtAnnoNDC, year))
    openChart<TfrmStatsUscite>(this, "Rappresentazione grafica delle uscite mensili dell'anno ", year);
}

void TfrmMenuStats::btnApriDDTClick() {
  QString year;
  if (takeYear(txtAnnoDDT, year))
    openChart<TfrmStatsBilancio>(this, "Rappresentazione grafica del bilancio entrate e uscite dell'anno ", year);
}

void TfrmMenuStats::imgGuidaClick() { showStatsGuide(this); }

void TfrmMenuStats::imgEsciClick() { close(); }

void TfrmMenuStats::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
