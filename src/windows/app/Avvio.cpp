// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Avvio.h"

#include "WindowSet.h"
#include "app/CopieSicurezza.h"
#include "app/CopieTexts.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Texts.h"
#include "app/Vendor.h"
#include "clients/Clienti.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/guide.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "journal/MenuBilancio.h"
#include "movements/MenuMovimenti.h"
#include "stats/MenuStats.h"

namespace fondaro {

namespace {

namespace texts = appTexts;

gui::PictureButton* picture(QWidget* parent, const char* name, const char* art, QStringView what, int x,
                            int y) {
  auto* b = new gui::PictureButton(QString::fromLatin1(name), gui::art(QString::fromLatin1(art)),
                                   what.toString(), parent);
  const QSize s = b->iconSize() + QSize(4, 4);
  b->setGeometry(x, y, s.width(), s.height());
  return b;
}

QWidget* artwork(QWidget* parent, const char* name, const char* art, QStringView what, int x, int y) {
  QPixmap pm = gui::art(QString::fromLatin1(art));
  QLabel* l = gui::makePicture(QString::fromLatin1(name), pm, what.toString(), parent);
  l->setGeometry(QRect(QPoint(x, y), gui::shownSize(pm)));
  return l;
}

}  // namespace

TfrmAvvio::TfrmAvvio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmAvvio"_qs);
  setWindowTitle(u" "_qs + gui::kProductName.toString());
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(980, 680);
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c);

  // Top: the corner icons and the title artwork.
  auto* imgInfo = picture(c, "imgInfo", "ico_info", texts::kInfoHover, 14, 14);
  artwork(c, "icoTitolo", "titolo", texts::kTitleArt, 210, 18);
  artwork(c, "icoSottotitolo", "sottotitolo", texts::kSubtitleArt, 210, 84);
  artwork(c, "icoVersione", "versione", texts::kVersionArt, 415, 118);
  auto* imgGuida = picture(c, "imgGuida", "ico_guida", texts::kGuideHover, 914, 14);

  // The four work areas, two by two.
  struct Tile {
    const char* image;
    const char* button;
    const char* art;
    const char* buttonArt;
    QStringView what;
    void (TfrmAvvio::*open)();
  };
  const Tile tiles[] = {
      {"imgApp01", "btnApp01", "tile_clienti", "btn_clienti", texts::kClientsTile, &TfrmAvvio::imgApp01Click},
      {"imgApp02", "btnApp02", "tile_movimenti", "btn_movimenti", texts::kMovementsTile,
       &TfrmAvvio::imgApp02Click},
      {"imgApp03", "btnApp03", "tile_bilancio", "btn_bilancio", texts::kJournalTile,
       &TfrmAvvio::imgApp03Click},
      {"imgApp04", "btnApp04", "tile_stats", "btn_stats", texts::kStatsTile, &TfrmAvvio::imgApp04Click},
  };
  QWidget* previous = nullptr;
  for (int i = 0; i < 4; ++i) {
    const int x = i % 2 == 0 ? 86 : 510;
    const int y = i < 2 ? 160 : 388;
    auto* img = picture(c, tiles[i].image, tiles[i].art, tiles[i].what, x, y);
    auto* btn = picture(c, tiles[i].button, tiles[i].buttonArt, tiles[i].what, x, y + 178);
    // The picture's click is wired by its name with the others; the button under it does the same.
    connect(btn, &QToolButton::clicked, this, tiles[i].open);
    if (previous) setTabOrder(previous, img);
    else imgApp01 = img;
    setTabOrder(img, btn);
    previous = btn;
  }

  // Bottom: credits, the web site banner, exit.
  auto* imgCopyright = picture(c, "imgCopyright", "ico_copyright", texts::kCreditsHover, 14, 614);
  auto* imgCopie = picture(c, "imgCopie", "ico_copie", copieTexts::kLauncherHover, 72, 614);
  auto* icoSito = picture(c, "icoSito", "sito", texts::kSiteHover, 338, 628);
  auto* imgEsci = picture(c, "imgEsci", "ico_esci", texts::kExitHover, 914, 614);
  setTabOrder(previous, imgGuida);
  setTabOrder(imgGuida, imgInfo);
  setTabOrder(imgInfo, imgCopyright);
  setTabOrder(imgCopyright, icoSito);
  setTabOrder(icoSito, imgEsci);
  // The safety copies come after the described order, which stays as it was.
  setTabOrder(imgEsci, imgCopie);

  gui::connectClickSlots(this);
}

// The keyboard starts on the first tile.
void TfrmAvvio::FormShow() { imgApp01->setFocus(); }

void TfrmAvvio::imgApp01Click() { gui::switchTo(this, windowSet().frmClienti); }
void TfrmAvvio::imgApp02Click() { gui::switchTo(this, windowSet().frmMenuMovimenti); }
void TfrmAvvio::imgApp03Click() { gui::switchTo(this, windowSet().frmMenuBilancio); }
void TfrmAvvio::imgApp04Click() { gui::switchTo(this, windowSet().frmMenuStats); }

void TfrmAvvio::imgGuidaClick() {
  // Rebuilt at each click, so the page is the same every time.
  TfrmGuida::Show(this, texts::kGeneralGuideTitle.toString(), gui::guidePage(u"generale"_qs));
}

void TfrmAvvio::imgInfoClick() { gui::openPerUse<TfrmInfo>(this); }

void TfrmAvvio::imgCopyrightClick() { gui::openPerUse<TfrmSplash>(this); }

void TfrmAvvio::imgCopieClick() { gui::openPerUse<TfrmCopieSicurezza>(this); }

void TfrmAvvio::icoSitoClick() { gui::TMisc::Open(vendor::kWebSite.toString()); }

void TfrmAvvio::imgEsciClick() { gui::endApplication(); }

// Closing the launcher ends the program; the hidden login window ends with it.
void TfrmAvvio::FormClose() { gui::endApplication(); }

}  // namespace fondaro
