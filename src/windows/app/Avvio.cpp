#include "app/Avvio.h"

#include "WindowSet.h"
#include "app/Guida.h"
#include "app/Info.h"
#include "app/Splash.h"
#include "app/Vendor.h"
#include "clients/Clienti.h"
#include "gui/application.h"
#include "gui/guide.h"
#include "gui/openurl.h"
#include "gui/product.h"
#include "gui/widgets.h"
#include "journal/MenuBilancio.h"
#include "movements/MenuMovimenti.h"
#include "stats/MenuStats.h"

namespace fondaro {

namespace {

gui::PictureButton* picture(QWidget* parent, const char* name, const char* art, const char* what,
                            int x, int y) {
  auto* b = new gui::PictureButton(QString::fromLatin1(name), gui::art(QString::fromLatin1(art)),
                                   QString::fromUtf8(what), parent);
  const QSize s = b->iconSize() + QSize(4, 4);
  b->setGeometry(x, y, s.width(), s.height());
  return b;
}

QWidget* artwork(QWidget* parent, const char* name, const char* art, const char* what, int x, int y) {
  QPixmap pm = gui::art(QString::fromLatin1(art));
  QLabel* l = gui::makePicture(QString::fromLatin1(name), pm, QString::fromUtf8(what), parent);
  l->setGeometry(x, y, pm.width(), pm.height());
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
  c->setStyleSheet(u"#panContainer { background: rgba(255,255,255,215); border-radius: 24px; }"_qs);

  // Top: the corner icons and the title artwork.
  auto* imgInfo = picture(c, "imgInfo", "ico_info", "Informazioni su Fondaro 3.0", 14, 14);
  artwork(c, "icoTitolo", "titolo", "Fondaro 3.0", 210, 18);
  artwork(c, "icoSottotitolo", "sottotitolo",
          "Contabilit\xC3\xA0 di cassa, primanota e statistiche", 210, 84);
  artwork(c, "icoVersione", "versione", "Versione 3.0", 415, 118);
  auto* imgGuida = picture(c, "imgGuida", "ico_guida", "Guida: uno sguardo a Fondaro 3.0", 914, 14);

  // The four work areas, two by two.
  struct Tile {
    const char* image;
    const char* button;
    const char* art;
    const char* buttonArt;
    const char* what;
    void (TfrmAvvio::*open)();
  };
  const Tile tiles[] = {
      {"imgApp01", "btnApp01", "tile_clienti", "btn_clienti", "Pagatori e beneficiari",
       &TfrmAvvio::imgApp01Click},
      {"imgApp02", "btnApp02", "tile_movimenti", "btn_movimenti", "Registro movimenti",
       &TfrmAvvio::imgApp02Click},
      {"imgApp03", "btnApp03", "tile_bilancio", "btn_bilancio", "Primanota e bilancio",
       &TfrmAvvio::imgApp03Click},
      {"imgApp04", "btnApp04", "tile_stats", "btn_stats", "Grafici statistici",
       &TfrmAvvio::imgApp04Click},
  };
  QWidget* previous = nullptr;
  for (int i = 0; i < 4; ++i) {
    const int x = i % 2 == 0 ? 86 : 510;
    const int y = i < 2 ? 160 : 388;
    auto* img = picture(c, tiles[i].image, tiles[i].art, tiles[i].what, x, y);
    auto* btn = picture(c, tiles[i].button, tiles[i].buttonArt, tiles[i].what, x, y + 178);
    connect(img, &QToolButton::clicked, this, tiles[i].open);
    connect(btn, &QToolButton::clicked, this, tiles[i].open);
    if (previous) setTabOrder(previous, img);
    else imgApp01 = img;
    setTabOrder(img, btn);
    previous = btn;
  }

  // Bottom: credits, the web site banner, exit.
  auto* imgCopyright = picture(c, "imgCopyright", "ico_copyright", "Crediti", 14, 614);
  auto* icoSito = picture(c, "icoSito", "sito", "Sito web www.fondaro.example", 338, 628);
  auto* imgEsci = picture(c, "imgEsci", "ico_esci", "Esci da Fondaro 3.0", 914, 614);
  setTabOrder(previous, imgGuida);
  setTabOrder(imgGuida, imgInfo);
  setTabOrder(imgInfo, imgCopyright);
  setTabOrder(imgCopyright, icoSito);
  setTabOrder(icoSito, imgEsci);

  connect(imgGuida, &QToolButton::clicked, this, &TfrmAvvio::imgGuidaClick);
  connect(imgInfo, &QToolButton::clicked, this, &TfrmAvvio::imgInfoClick);
  connect(imgCopyright, &QToolButton::clicked, this, &TfrmAvvio::imgCopyrightClick);
  connect(icoSito, &QToolButton::clicked, this, &TfrmAvvio::icoSitoClick);
  connect(imgEsci, &QToolButton::clicked, this, &TfrmAvvio::imgEsciClick);
}

// The keyboard starts on the first tile.
void TfrmAvvio::FormShow() { imgApp01->setFocus(); }

void TfrmAvvio::imgApp01Click() { gui::switchTo(this, windowSet().frmClienti); }
void TfrmAvvio::imgApp02Click() { gui::switchTo(this, windowSet().frmMenuMovimenti); }
void TfrmAvvio::imgApp03Click() { gui::switchTo(this, windowSet().frmMenuBilancio); }
void TfrmAvvio::imgApp04Click() { gui::switchTo(this, windowSet().frmMenuStats); }

void TfrmAvvio::imgGuidaClick() {
  // Rebuilt at each click, so the page is the same every time.
  TfrmGuida::Show(this, u"Uno sguardo a Fondaro 3.0."_qs, gui::guidePage(u"generale"_qs));
}

void TfrmAvvio::imgInfoClick() { gui::openPerUse<TfrmInfo>(this); }

void TfrmAvvio::imgCopyrightClick() { gui::openPerUse<TfrmSplash>(this); }

void TfrmAvvio::icoSitoClick() { gui::TMisc::Open(vendor::kWebSite.toString()); }

void TfrmAvvio::imgEsciClick() { gui::endApplication(); }

// Closing the launcher ends the program; the hidden login window ends with it.
void TfrmAvvio::FormClose() { gui::endApplication(); }

}  // namespace fondaro
