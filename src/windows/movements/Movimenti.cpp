#include "movements/Movimenti.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "clients/TrovaClienti.h"
#include "core/archive.h"
#include "core/checks.h"
#include "core/field.h"
#include "core/movementcard.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/infobar.h"
#include "gui/messages.h"
#include "gui/openurl.h"
#include "gui/widgets.h"
#include "movements/AllegaCartella.h"
#include "movements/Calendario.h"
#include "movements/ExpMovimenti.h"
#include "movements/MenuMovimenti.h"
#include "movements/SospesiMov.h"
#include "movements/StampaMovimento.h"
#include "movements/TrovaMovimenti.h"
#include "validators/CodFisc.h"
#include "validators/PartitaIVA.h"

namespace fondaro {

namespace {

// ---- Messages -------------------------------------------------------------

void archiveFailure(QWidget* parent, gui::Icon icon = gui::Icon::Error) {
  gui::notice(parent, icon, archiveAccessMessage());
}

void information(QWidget* parent, const QString& text) { gui::notice(parent, gui::Icon::Information, text); }

// Writes into a field of a window being prepared; a window without that field
// gets nothing.
void setField(QWidget* window, const char* name, const QString& text) {
  if (auto* e = window->findChild<QLineEdit*>(QString::fromLatin1(name))) e->setText(text);
}

// An option button chosen or not; un-choosing needs the group's exclusivity
// out of the way for a moment.
void setOption(QRadioButton* b, bool on) {
  if (on) {
    b->setChecked(true);
    return;
  }
  b->setAutoExclusive(false);
  b->setChecked(false);
  b->setAutoExclusive(true);
}

// ---- Pictures of the buttons ------------------------------------------------

enum class Pic {
  Nuovo, Duplica, Salva, Trova, Allega, Stampa, Primo, Indietro, Avanti, Ultimo, Esporta, Scadenze,
  Cancella, Importa, Controlla,
};

const QColor kInk(0x1E, 0x3A, 0x6E);
const QColor kGreen(0x2E, 0x9E, 0x4F);
const QColor kBlue(0x2F, 0x6F, 0xC8);
const QColor kRed(0xD0, 0x3A, 0x2F);

void page(QPainter& p, const QRectF& r) {
  QPainterPath path;
  const qreal fold = r.width() * 0.3;
  path.moveTo(r.topLeft());
  path.lineTo(r.right() - fold, r.top());
  path.lineTo(r.right(), r.top() + fold);
  path.lineTo(r.bottomRight());
  path.lineTo(r.bottomLeft());
  path.closeSubpath();
  p.setPen(QPen(kInk, 1.5));
  p.setBrush(Qt::white);
  p.drawPath(path);
  p.drawLine(QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold));
  p.drawLine(QPointF(r.right() - fold, r.top() + fold), QPointF(r.right(), r.top() + fold));
}

void triangle(QPainter& p, qreal x, qreal cy, qreal w, qreal h, bool right) {
  QPolygonF t;
  if (right) t << QPointF(x, cy - h / 2) << QPointF(x + w, cy) << QPointF(x, cy + h / 2);
  else t << QPointF(x + w, cy - h / 2) << QPointF(x, cy) << QPointF(x + w, cy + h / 2);
  p.drawPolygon(t);
}

void draw(QPainter& p, Pic pic, qreal s) {
  const qreal u = s / 32.0;  // drawn on a 32 grid
  p.scale(u, u);
  p.setRenderHint(QPainter::Antialiasing);
  switch (pic) {
    case Pic::Nuovo:
      page(p, QRectF(6, 3, 20, 26));
      p.setPen(QPen(kGreen, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(22, 17), QPointF(22, 29));
      p.drawLine(QPointF(16, 23), QPointF(28, 23));
      break;
    case Pic::Duplica:
      page(p, QRectF(3, 2, 18, 23));
      page(p, QRectF(11, 8, 18, 23));
      break;
    case Pic::Salva:
      p.setPen(QPen(kInk, 1.5));
      p.setBrush(kBlue);
      p.drawRoundedRect(QRectF(4, 4, 24, 24), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 4, 14, 9));
      p.setBrush(QColor(0xDD, 0xE6, 0xF3));
      p.drawRect(QRectF(8, 18, 16, 10));
      break;
    case Pic::Trova:
      p.setPen(QPen(kInk, 3));
      p.setBrush(QColor(0xE4, 0xF0, 0xFF));
      p.drawEllipse(QPointF(13, 13), 8, 8);
      p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(19, 19), QPointF(27, 27));
      break;
    case Pic::Allega: {
      p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap));
      p.setBrush(Qt::NoBrush);
      QPainterPath clip;
      clip.moveTo(20, 10);
      clip.lineTo(20, 24);
      clip.arcTo(QRectF(12, 20, 8, 8), 0, -180);
      clip.lineTo(12, 7);
      clip.arcTo(QRectF(12, 2, 12, 10), 180, -180);
      clip.lineTo(24, 25);
      clip.arcTo(QRectF(8, 18, 16, 12), 0, -180);
      clip.lineTo(8, 12);
      p.drawPath(clip);
      break;
    }
    case Pic::Stampa:
      p.setPen(QPen(kInk, 1.5));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(QColor(0x8A, 0x96, 0xA8));
      p.drawRoundedRect(QRectF(3, 11, 26, 12), 3, 3);
      p.setBrush(Qt::white);
      p.drawRect(QRectF(9, 19, 14, 10));
      p.setPen(QPen(kInk, 1));
      p.drawLine(QPointF(11, 23), QPointF(21, 23));
      p.drawLine(QPointF(11, 26), QPointF(19, 26));
      p.setBrush(kGreen);
      p.drawEllipse(QPointF(25, 15), 1.5, 1.5);
      break;
    case Pic::Primo:
    case Pic::Indietro:
    case Pic::Avanti:
    case Pic::Ultimo: {
      p.setPen(QPen(kInk, 1.2));
      p.setBrush(kBlue);
      const bool right = pic == Pic::Avanti || pic == Pic::Ultimo;
      const bool bar = pic == Pic::Primo || pic == Pic::Ultimo;
      triangle(p, right ? 9 : 8, 16, 15, 20, right);
      if (bar) p.drawRect(right ? QRectF(24, 6, 4, 20) : QRectF(4, 6, 4, 20));
      break;
    }
    case Pic::Esporta:
      p.setPen(QPen(QColor(0x1D, 0x6F, 0x42), 1.5));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(3, 4, 22, 24));
      for (int i = 1; i < 4; ++i) p.drawLine(QPointF(3, 4 + i * 6), QPointF(25, 4 + i * 6));
      p.drawLine(QPointF(12, 4), QPointF(12, 28));
      p.setBrush(QColor(0x1D, 0x6F, 0x42));
      p.drawRect(QRectF(3, 4, 22, 6));
      p.setPen(QPen(kGreen, 3.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(19, 22), QPointF(29, 22));
      p.drawLine(QPointF(25, 18), QPointF(29, 22));
      p.drawLine(QPointF(25, 26), QPointF(29, 22));
      break;
    case Pic::Scadenze:
      p.setPen(QPen(kInk, 2));
      p.setBrush(QColor(0xFF, 0xF4, 0xD6));
      p.drawEllipse(QPointF(16, 16), 13, 13);
      p.setPen(QPen(kRed, 2.5, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(16, 16), QPointF(16, 7));
      p.drawLine(QPointF(16, 16), QPointF(22, 19));
      break;
    case Pic::Cancella:
      p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(8, 8), QPointF(24, 24));
      p.drawLine(QPointF(24, 8), QPointF(8, 24));
      break;
    case Pic::Importa:
      p.setPen(QPen(kInk, 1.5));
      p.setBrush(QColor(0xFF, 0xE0, 0x9A));
      p.drawRoundedRect(QRectF(2, 5, 28, 22), 3, 3);
      p.setBrush(kBlue);
      p.drawEllipse(QPointF(11, 13), 4, 4);
      p.drawChord(QRectF(4, 17, 14, 12), 0, 180 * 16);
      p.setPen(QPen(kInk, 2));
      p.drawLine(QPointF(20, 12), QPointF(27, 12));
      p.drawLine(QPointF(20, 17), QPointF(27, 17));
      break;
    case Pic::Controlla:
      p.setPen(QPen(kGreen, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.drawPolyline(QPolygonF() << QPointF(6, 17) << QPointF(13, 24) << QPointF(26, 8));
      break;
  }
}

QPixmap picture(Pic pic, int size) {
  QPixmap pm(size, size);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  draw(p, pic, size);
  return pm;
}

QPixmap scaledArt(const char* name, int size) {
  return gui::art(QString::fromLatin1(name)).scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// ---- Layout helpers ---------------------------------------------------------

constexpr int kToolIcon = 32;
constexpr int kSmallIcon = 20;

gui::PictureButton* toolButton(QWidget* parent, const char* name, const QPixmap& pm, const char* text,
                               Qt::ToolButtonStyle style = Qt::ToolButtonTextUnderIcon) {
  auto* b = new gui::PictureButton(QString::fromLatin1(name), pm, QString::fromUtf8(text), parent);
  b->setText(QString::fromUtf8(text));
  b->setToolButtonStyle(style);
  b->setFont(gui::windowFont("Tahoma", 9));
  // Narrow enough that the six groups fit the container side by side at their
  // natural widths ("Precedente" and "Successiva" need more than the others).
  b->setMinimumWidth(style == Qt::ToolButtonTextUnderIcon ? 60 : 100);
  return b;
}

gui::PictureButton* smallButton(QWidget* parent, const char* name, const QPixmap& pm, const char* what) {
  auto* b = new gui::PictureButton(QString::fromLatin1(name), pm, QString::fromUtf8(what), parent);
  b->setFixedSize(kSmallIcon + 10, kSmallIcon + 10);
  return b;
}

QFrame* shape(QWidget* parent, const char* name) {
  auto* f = new QFrame(parent);
  f->setObjectName(QString::fromLatin1(name));
  f->setAttribute(Qt::WA_StyledBackground);
  return f;
}

QLabel* caption(QWidget* parent, const char* text, QWidget* buddy = nullptr) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setFont(gui::windowFont("Verdana", 10));
  l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if (buddy) l->setBuddy(buddy);
  return l;
}

QLineEdit* edit(QWidget* parent, const char* name, const char* accessible) {
  auto* e = new QLineEdit(parent);
  e->setObjectName(QString::fromLatin1(name));
  e->setFont(gui::windowFont("Verdana", 12, true));
  e->setAccessibleName(QString::fromUtf8(accessible));
  e->setFixedHeight(28);
  return e;
}

// A card section: a white shape with its title and a grid of label and field.
QGridLayout* section(QFrame* f, const char* title) {
  f->setStyleSheet(u"QFrame#%1 { background: white; border: 1px solid #B8C7DD; border-radius: 10px; }"_qs.arg(
      f->objectName()));
  auto* outer = new QVBoxLayout(f);
  outer->setContentsMargins(14, 6, 16, 10);
  outer->setSpacing(4);
  auto* t = new QLabel(QString::fromUtf8(title), f);
  t->setFont(gui::windowFont("Verdana", 10, true));
  t->setStyleSheet(u"color: #1E5AA8;"_qs);
  outer->addWidget(t);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(8);
  outer->addLayout(grid);
  outer->addStretch();
  return grid;
}

// The width of the caption column of the card sections.
constexpr int kLabelColumn = 158;

// One row of a card section: the caption, the field and an optional small
// button beside it. The first row fixes the width of the caption column.
void addRow(QGridLayout* grid, QWidget* section, int r, const char* text, QLineEdit* field, QWidget* button) {
  auto* l = caption(section, text, field);
  if (r == 0) l->setMinimumWidth(kLabelColumn);
  grid->addWidget(l, r, 0);
  grid->addWidget(field, r, 1);
  if (button) grid->addWidget(button, r, 2);
}

QHBoxLayout* row(std::initializer_list<QWidget*> widgets, bool stretch = false) {
  auto* h = new QHBoxLayout;
  h->setSpacing(8);
  for (QWidget* w : widgets) h->addWidget(w);
  if (stretch) h->addStretch();
  return h;
}

}  // namespace

// ---- Construction -----------------------------------------------------------

TfrmMovimenti::TfrmMovimenti(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMovimenti"_qs);
  setWindowTitle(u" Fondaro 3.0 - Registro movimenti"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(1220, 712);
  buildToolbar(c);
  buildCard(c);
  declareBehaviour();
}

void TfrmMovimenti::buildToolbar(QWidget* c) {
  auto* bar = new QHBoxLayout;
  bar->setSpacing(10);
  const auto group = [&](const char* name, std::initializer_list<QWidget*> items) {
    QFrame* g = shape(c, name);
    g->setStyleSheet(
        u"QFrame#%1 { background: white; border: 1px solid #B8C7DD; border-radius: 10px; }"_qs.arg(
            QString::fromLatin1(name)));
    auto* h = new QHBoxLayout(g);
    h->setContentsMargins(6, 4, 6, 4);
    h->setSpacing(2);
    for (QWidget* w : items) {
      w->setParent(g);
      h->addWidget(w);
    }
    bar->addWidget(g);
  };

  lblPosizione = new QLabel(c);
  lblPosizione->setObjectName(u"lblPosizione"_qs);
  lblPosizione->setFont(gui::windowFont("Verdana", 12, true));
  lblPosizione->setAlignment(Qt::AlignCenter);
  lblPosizione->setFixedSize(64, 34);
  lblPosizione->setAccessibleName(u"Posizione della scheda in archivio"_qs);
  lblPosizione->setStyleSheet(
      u"QLabel { color: #12356B; background: #F2F6FB; border: 1px solid #C5D3E6; border-radius: 6px; }"_qs);

  group("shpGruppo1", {toolButton(c, "cmdNuovo", picture(Pic::Nuovo, kToolIcon), "Nuovo"),
                       toolButton(c, "cmdDuplica", picture(Pic::Duplica, kToolIcon), "Duplica"),
                       toolButton(c, "cmdSalva", picture(Pic::Salva, kToolIcon), "Salva"),
                       toolButton(c, "cmdTrova", picture(Pic::Trova, kToolIcon), "Trova")});
  group("shpGruppo2", {toolButton(c, "cmdFile", picture(Pic::Allega, kToolIcon), "Allega file",
                                  Qt::ToolButtonTextBesideIcon)});
  group("shpGruppo3", {toolButton(c, "cmdStampa", picture(Pic::Stampa, kToolIcon), "Stampa",
                                  Qt::ToolButtonTextBesideIcon)});
  group("shpGruppo4", {toolButton(c, "cmdPrimo", picture(Pic::Primo, kToolIcon), "Prima"),
                       toolButton(c, "cmdIndietro", picture(Pic::Indietro, kToolIcon), "Precedente"),
                       lblPosizione,
                       toolButton(c, "cmdAvanti", picture(Pic::Avanti, kToolIcon), "Successiva"),
                       toolButton(c, "cmdUltimo", picture(Pic::Ultimo, kToolIcon), "Ultima")});
  group("shpGruppo5", {toolButton(c, "cmdEsporta", picture(Pic::Esporta, kToolIcon), "Esporta"),
                       toolButton(c, "cmdScadenze", picture(Pic::Scadenze, kToolIcon), "Scadenze")});
  group("shpGruppo6", {toolButton(c, "cmdGuida", scaledArt("ico_guida", kToolIcon), "Guida"),
                       toolButton(c, "cmdEsci", scaledArt("ico_esci", kToolIcon), "Esci")});

  auto* v = new QVBoxLayout(c);
  v->setContentsMargins(14, 12, 14, 12);
  v->setSpacing(10);
  v->addLayout(bar);
}

void TfrmMovimenti::buildCard(QWidget* c) {
  auto* v = static_cast<QVBoxLayout*>(c->layout());

  // Section 1: the movement.
  QFrame* s1 = shape(c, "shpSezione1");
  QGridLayout* g1 = section(s1, "Dati del movimento");
  auto* panMovimento = new QWidget(s1);
  panMovimento->setObjectName(u"panMovimento"_qs);
  optEntrata = new QRadioButton(u"Entrata"_qs, panMovimento);
  optEntrata->setObjectName(u"optEntrata"_qs);
  optUscita = new QRadioButton(u"Uscita"_qs, panMovimento);
  optUscita->setObjectName(u"optUscita"_qs);
  for (QRadioButton* o : {optEntrata, optUscita}) o->setFont(gui::windowFont("Verdana", 11, true));
  optEntrata->setChecked(true);
  auto* pm = new QHBoxLayout(panMovimento);
  pm->setContentsMargins(0, 0, 0, 0);
  pm->setSpacing(22);
  pm->addWidget(optEntrata);
  pm->addWidget(optUscita);
  pm->addStretch();

  txtData = edit(s1, "txtData", "Data operazione");
  txtData->setReadOnly(true);
  txtData->setAlignment(Qt::AlignCenter);
  txtData->setFixedWidth(150);
  auto* impData = smallButton(s1, "impData", picture(Pic::Cancella, kSmallIcon), "Cancella la data");
  txtCausale = edit(s1, "txtCausale", "Causale");
  txtPromemoria = edit(s1, "txtPromemoria", "Promemoria");
  txtDataSca = edit(s1, "txtDataSca", "Data scadenza");
  txtDataSca->setReadOnly(true);
  txtDataSca->setAlignment(Qt::AlignCenter);
  txtDataSca->setFixedWidth(150);
  auto* impDataSca = smallButton(s1, "impDataSca", picture(Pic::Cancella, kSmallIcon), "Cancella la data di scadenza");
  txtPreavviso = edit(s1, "txtPreavviso", "Giorni di preavviso");
  txtPreavviso->setAlignment(Qt::AlignCenter);
  txtPreavviso->setFixedWidth(64);

  auto* lblTipo = caption(s1, "Tipo movimento:", optEntrata);
  lblTipo->setMinimumWidth(kLabelColumn);
  g1->addWidget(lblTipo, 0, 0);
  auto* dataRow = row({panMovimento});
  dataRow->addStretch();
  dataRow->addWidget(caption(s1, "Data operazione:", txtData));
  dataRow->addWidget(txtData);
  dataRow->addWidget(impData);
  g1->addLayout(dataRow, 0, 1);
  g1->addWidget(caption(s1, "Causale:", txtCausale), 1, 0);
  g1->addWidget(txtCausale, 1, 1);
  g1->addWidget(caption(s1, "Promemoria:", txtPromemoria), 2, 0);
  g1->addWidget(txtPromemoria, 2, 1);
  g1->addWidget(caption(s1, "Data scadenza:", txtDataSca), 3, 0);
  auto* avvisa = caption(s1, "Avvisa n.", txtPreavviso);
  auto* giorni = new QLabel(u"giorni prima della scadenza."_qs, s1);
  giorni->setFont(gui::windowFont("Verdana", 10));
  auto* scaRow = row({txtDataSca, impDataSca});
  scaRow->addSpacing(28);
  scaRow->addWidget(avvisa);
  scaRow->addWidget(txtPreavviso);
  scaRow->addWidget(giorni);
  scaRow->addStretch();
  g1->addLayout(scaRow, 3, 1);
  g1->setColumnStretch(1, 1);
  v->addWidget(s1);

  // The amount band.
  QFrame* band = shape(c, "shpImporto");
  band->setStyleSheet(
      u"QFrame#shpImporto { border: 1px solid #C9A227; border-radius: 10px;"
      " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #FFF8DC, stop:1 #F5E3A1); }"_qs);
  lblImporto = new QLabel(band);
  lblImporto->setObjectName(u"lblImporto"_qs);
  lblImporto->setFont(gui::windowFont("Verdana", 14, true));
  txtImporto = edit(band, "txtImporto", "Importo in euro");
  txtImporto->setFont(gui::windowFont("Verdana", 18, true));
  txtImporto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtImporto->setFixedWidth(300);
  txtImporto->setFixedHeight(40);
  lblImporto->setBuddy(txtImporto);
  auto* bandRow = new QHBoxLayout(band);
  bandRow->setContentsMargins(24, 8, 24, 8);
  bandRow->addStretch();
  bandRow->addWidget(lblImporto);
  bandRow->addSpacing(12);
  bandRow->addWidget(txtImporto);
  v->addWidget(band);

  // Section 2: the payer.
  QFrame* s2 = shape(c, "shpSezione2");
  QGridLayout* g2 = section(s2, "Pagatore");
  txtPagatore = edit(s2, "txtPagatore", "Pagatore");
  auto* impPagatore =
      smallButton(s2, "impPagatore", picture(Pic::Importa, kSmallIcon), "Importa il pagatore dall'archivio anagrafico");
  txtRecapitoPag = edit(s2, "txtRecapitoPag", "Recapito del pagatore");
  txtCodFisc = edit(s2, "txtCodFisc", "Codice fiscale");
  auto* chkCodFisc = smallButton(s2, "chkCodFisc", picture(Pic::Controlla, kSmallIcon), "Controlla il codice fiscale");
  txtPartitaIva = edit(s2, "txtPartitaIva", "Partita IVA");
  auto* chkIva = smallButton(s2, "chkIva", picture(Pic::Controlla, kSmallIcon), "Controlla la partita IVA");
  txtCategoria = edit(s2, "txtCategoria", "Categoria");
  txtEmail = edit(s2, "txtEmail", "E-mail");
  auto* sndEmail = smallButton(s2, "sndEmail", scaledArt("ico_email", kSmallIcon), "Invia una e-mail");
  addRow(g2, s2, 0, "Pagatore:", txtPagatore, impPagatore);
  addRow(g2, s2, 1, "Recapito:", txtRecapitoPag, nullptr);
  addRow(g2, s2, 2, "Codice fiscale:", txtCodFisc, chkCodFisc);
  addRow(g2, s2, 3, "Partita IVA:", txtPartitaIva, chkIva);
  addRow(g2, s2, 4, "Categoria:", txtCategoria, nullptr);
  addRow(g2, s2, 5, "E-mail:", txtEmail, sndEmail);
  g2->setColumnStretch(1, 1);
  g2->setColumnMinimumWidth(2, kSmallIcon + 10);

  // Section 3: the beneficiary and how the payment is made.
  QFrame* s3 = shape(c, "shpSezione3");
  QGridLayout* g3 = section(s3, "Beneficiario e pagamento");
  txtPagamento = edit(s3, "txtPagamento", "Modalit\xC3\xA0 pagamento");
  txtBeneficiario = edit(s3, "txtBeneficiario", "Beneficiario");
  auto* impBeneficiario = smallButton(s3, "impBeneficiario", picture(Pic::Importa, kSmallIcon),
                                      "Importa il beneficiario dall'archivio anagrafico");
  txtRecapitoBen = edit(s3, "txtRecapitoBen", "Recapito del beneficiario");
  txtRicevuta = edit(s3, "txtRicevuta", "CRO / Ricevuta n.");
  addRow(g3, s3, 0, "Modalit\xC3\xA0 pagamento:", txtPagamento, nullptr);
  addRow(g3, s3, 1, "Beneficiario:", txtBeneficiario, impBeneficiario);
  addRow(g3, s3, 2, "Recapito:", txtRecapitoBen, nullptr);
  addRow(g3, s3, 3, "CRO / Ricevuta n.", txtRicevuta, nullptr);
  g3->setColumnStretch(1, 1);
  g3->setColumnMinimumWidth(2, kSmallIcon + 10);

  // Section 4: notes, rate, settled.
  QFrame* s4 = shape(c, "shpSezione4");
  QGridLayout* g4 = section(s4, "Note");
  txtNote = edit(s4, "txtNote", "Note");
  txtTariffa = edit(s4, "txtTariffa", "Tariffa applicata");
  chkSaldato = new QCheckBox(u"Saldato"_qs, s4);
  chkSaldato->setObjectName(u"chkSaldato"_qs);
  chkSaldato->setFont(gui::windowFont("Verdana", 11, true));
  auto* lblNote = caption(s4, "Note:", txtNote);
  lblNote->setMinimumWidth(kLabelColumn);
  g4->addWidget(lblNote, 0, 0);
  g4->addWidget(txtNote, 0, 1, 1, 2);
  g4->addWidget(caption(s4, "Tariffa applicata:", txtTariffa), 1, 0);
  g4->addWidget(txtTariffa, 1, 1);
  g4->addWidget(chkSaldato, 1, 2);
  g4->setColumnStretch(1, 1);

  auto* columns = new QHBoxLayout;
  columns->setSpacing(10);
  columns->addWidget(s2, 1);
  auto* right = new QVBoxLayout;
  right->setSpacing(10);
  right->addWidget(s3);
  right->addWidget(s4);
  columns->addLayout(right, 1);
  v->addLayout(columns, 1);

  // The info bar along the bottom.
  panInfo = gui::makeInfoBar(c, u"Pronto per archiviare una nuova scheda..."_qs);
  QWidget* shpInfo = panInfo->parentWidget();
  shpInfo->setMinimumHeight(32);
  v->addWidget(shpInfo);

  // State that is not shown: the archive, the attachments, the amount rule.
  lblFile = new QLabel(c);
  lblFile->setObjectName(u"lblFile"_qs);
  lblFile->setVisible(false);
  for (int i = 0; i < 3; ++i) {
    lblFileN[i] = new QLabel(c);
    lblFileN[i]->setObjectName(u"lblFile0%1"_qs.arg(i + 1));
    lblFileN[i]->setVisible(false);
    lblDescN[i] = new QLabel(c);
    lblDescN[i]->setObjectName(u"lblDesc0%1"_qs.arg(i + 1));
    lblDescN[i]->setVisible(false);
  }
  btnCents = new QPushButton(c);
  btnCents->setObjectName(u"btnCents"_qs);
  btnCents->setVisible(false);

  // The option panel is no background: moving over it leaves the sentence.
  gui::setHoverBackgrounds(panInfo, {this, c, s1, s2, s3, s4, band});
  std::vector<QWidget*> groups;
  for (int i = 1; i <= 6; ++i) groups.push_back(c->findChild<QFrame*>(u"shpGruppo%1"_qs.arg(i)));
  gui::setHoverBackgrounds(panInfo, groups);
}

void TfrmMovimenti::declareBehaviour() {
  using gui::Keys;
  using gui::Typing;
  // Enter chain, key rules, typing limits and focus frames of the card fields.
  gui::setFields(this, {
      {.name = "txtData", .maxLength = 10, .frame = true},
      {.name = "txtCausale", .enterTo = "txtPromemoria", .maxLength = 250, .frame = true},
      {.name = "txtPromemoria", .enterTo = "txtDataSca", .maxLength = 250, .frame = true},
      {.name = "txtDataSca", .maxLength = 10, .frame = true},
      {.name = "txtPreavviso", .enterTo = "txtImporto", .keys = Keys::Digits, .maxLength = 3, .frame = true},
      {.name = "txtImporto", .enterTo = "txtPagatore", .keys = Keys::Amount, .maxLength = 15, .frame = true},
      {.name = "txtPagatore", .enterTo = "txtRecapitoPag", .maxLength = 50, .frame = true},
      {.name = "txtRecapitoPag", .enterTo = "txtCodFisc", .maxLength = 50, .frame = true},
      {.name = "txtCodFisc", .enterTo = "txtPartitaIva", .typing = Typing::UpperTrim, .maxLength = 16,
       .frame = true},
      {.name = "txtPartitaIva", .enterTo = "txtCategoria", .keys = Keys::Digits, .maxLength = 11, .frame = true},
      {.name = "txtCategoria", .enterTo = "txtEmail", .maxLength = 50, .frame = true},
      {.name = "txtEmail", .enterTo = "txtPagamento", .typing = Typing::Trim, .maxLength = 50, .frame = true},
      {.name = "txtPagamento", .enterTo = "txtBeneficiario", .maxLength = 150, .frame = true},
      {.name = "txtBeneficiario", .enterTo = "txtRecapitoBen", .maxLength = 50, .frame = true},
      {.name = "txtRecapitoBen", .enterTo = "txtRicevuta", .maxLength = 50, .frame = true},
      {.name = "txtRicevuta", .enterTo = "txtNote", .maxLength = 250, .frame = true},
      {.name = "txtNote", .enterTo = "txtTariffa", .maxLength = 250, .frame = true},
      {.name = "txtTariffa", .enterTo = "txtData", .maxLength = 250, .frame = true},
  });

  // The read-only date fields: Backspace or Delete empties the field; any
  // other key (Enter included) opens the calendar. A modifier pressed alone is
  // no key of its own, so Shift+Tab still goes back along the tab order.
  const auto dateKeys = [this](QLineEdit* field, QStringView mode) {
    gui::onKeyDown(field, [this, field, mode](QKeyEvent* k) {
      switch (k->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete: field->clear(); return true;
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
        case Qt::Key_Super_R:
        case Qt::Key_CapsLock:
        case Qt::Key_NumLock: return true;
        default: openCalendar(field, mode); return true;
      }
    });
  };
  dateKeys(txtData, gui::mode::MovimentiData);
  dateKeys(txtDataSca, gui::mode::MovimentiScadenza);
  gui::onExit(txtImporto, [this] { btnCentsClick(); });

  // Tab order: the card, then the small buttons, then the toolbar.
  const QList<QWidget*> order = {
      optEntrata, optUscita, txtData, txtCausale, txtPromemoria, txtDataSca, txtPreavviso, txtImporto,
      txtPagatore, txtRecapitoPag, txtCodFisc, txtPartitaIva, txtCategoria, txtEmail, txtPagamento,
      txtBeneficiario, txtRecapitoBen, txtRicevuta, txtNote, txtTariffa, chkSaldato};
  QList<QWidget*> chain = order;
  for (const char* name : {"impData", "impDataSca", "impPagatore", "chkCodFisc", "chkIva", "sndEmail",
                           "impBeneficiario", "cmdNuovo", "cmdDuplica", "cmdSalva", "cmdTrova", "cmdFile",
                           "cmdStampa", "cmdPrimo", "cmdIndietro", "cmdAvanti", "cmdUltimo", "cmdEsporta",
                           "cmdScadenze", "cmdGuida", "cmdEsci"})
    chain.append(findChild<QWidget*>(QString::fromLatin1(name)));
  for (qsizetype i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);

  const auto clicked = [this](const char* name, void (TfrmMovimenti::*slot)()) {
    auto* b = findChild<QAbstractButton*>(QString::fromLatin1(name));
    connect(b, &QAbstractButton::clicked, this, slot);
  };
  clicked("cmdNuovo", &TfrmMovimenti::cmdNuovoClick);
  clicked("cmdDuplica", &TfrmMovimenti::cmdDuplicaClick);
  clicked("cmdSalva", &TfrmMovimenti::cmdSalvaClick);
  clicked("cmdTrova", &TfrmMovimenti::cmdTrovaClick);
  clicked("cmdFile", &TfrmMovimenti::cmdFileClick);
  clicked("cmdStampa", &TfrmMovimenti::cmdStampaClick);
  clicked("cmdPrimo", &TfrmMovimenti::cmdPrimoClick);
  clicked("cmdIndietro", &TfrmMovimenti::cmdIndietroClick);
  clicked("cmdAvanti", &TfrmMovimenti::cmdAvantiClick);
  clicked("cmdUltimo", &TfrmMovimenti::cmdUltimoClick);
  clicked("cmdEsporta", &TfrmMovimenti::cmdEsportaClick);
  clicked("cmdScadenze", &TfrmMovimenti::cmdScadenzeClick);
  clicked("cmdGuida", &TfrmMovimenti::cmdGuidaClick);
  clicked("cmdEsci", &TfrmMovimenti::cmdEsciClick);
  clicked("optEntrata", &TfrmMovimenti::optEntrataClick);
  clicked("optUscita", &TfrmMovimenti::optUscitaClick);
  clicked("impData", &TfrmMovimenti::impDataClick);
  clicked("impDataSca", &TfrmMovimenti::impDataScaClick);
  clicked("impPagatore", &TfrmMovimenti::impPagatoreClick);
  clicked("impBeneficiario", &TfrmMovimenti::impBeneficiarioClick);
  clicked("chkCodFisc", &TfrmMovimenti::chkCodFiscClick);
  clicked("chkIva", &TfrmMovimenti::chkIvaClick);
  clicked("sndEmail", &TfrmMovimenti::sndEmailClick);
  clicked("btnCents", &TfrmMovimenti::btnCentsClick);

  gui::setHoverSentences(panInfo, this, {
      {"cmdNuovo", "Predispone la schermata per l'inserimento di una nuova scheda."},
      {"cmdDuplica", "Prepara la schermata per la registrazione di una nuova scheda duplicando i dati correnti."},
      {"cmdSalva", "Salva la scheda corrente in archivio."},
      {"cmdTrova", "Trova una scheda in archivio."},
      {"cmdFile", "Allega file alla scheda corrente."},
      {"cmdStampa", "Stampa la scheda corrente."},
      {"cmdPrimo", "Visualizza la prima scheda in archivio."},
      {"cmdIndietro", "Visualizza la scheda precedente in archivio."},
      {"cmdAvanti", "Visualizza la scheda successiva in archivio."},
      {"cmdUltimo", "Visualizza l'ultima scheda in archivio."},
      {"cmdEsporta", "Esporta le schede in archivio in un file di Microsoft Excel."},
      {"cmdScadenze", "Visualizza il riepilogo dei pagamenti in scadenza o scaduti e non saldati."},
      {"cmdGuida", "Visualizza la pagina della guida sensibile al contesto."},
      {"cmdEsci", "Esci da questa schermata di lavoro."},
      {"optEntrata", "Spunta questa casella per registrare un importo in entrata."},
      {"optUscita", "Spunta questa casella per registrare un importo in uscita."},
      {"txtData", "Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
      {"txtDataSca", "Fai clic su questo campo e premi un tasto qualsiasi per importare una data dal calendario."},
      {"impData", "Cancella la data."},
      {"impDataSca", "Cancella la data."},
      {"impPagatore", "Importa i dati dall'archivio anagrafico dei Clienti."},
      {"impBeneficiario", "Importa i dati dall'archivio anagrafico dei Clienti."},
      {"chkCodFisc", "Controlla il codice fiscale."},
      {"chkIva", "Controlla il numero di partita IVA."},
      {"sndEmail", "Invia una e-mail all'indirizzo indicato."},
      {"chkSaldato", "Spunta questa casella per indicare che il pagamento \xC3\xA8 stato saldato."},
  });

  ClearCard();
}

// ---- The card and its controls ---------------------------------------------

void TfrmMovimenti::setArchiveFile(const QString& path) { lblFile->setText(path); }

QString TfrmMovimenti::archiveFile() const { return trimmedText(lblFile->text()); }

MovementCard TfrmMovimenti::cardFromControls() const {
  MovementCard c;
  c.entrata = optEntrata->isChecked();
  c.uscita = optUscita->isChecked();
  c.saldato = chkSaldato->isChecked();
  c.data = txtData->text();
  c.causale = txtCausale->text();
  c.promemoria = txtPromemoria->text();
  c.dataSca = txtDataSca->text();
  c.preavviso = txtPreavviso->text();
  c.importo = txtImporto->text();
  c.pagatore = txtPagatore->text();
  c.recapitoPag = txtRecapitoPag->text();
  c.codFisc = txtCodFisc->text();
  c.partitaIva = txtPartitaIva->text();
  c.categoria = txtCategoria->text();
  c.email = txtEmail->text();
  c.pagamento = txtPagamento->text();
  c.beneficiario = txtBeneficiario->text();
  c.recapitoBen = txtRecapitoBen->text();
  c.ricevuta = txtRicevuta->text();
  c.note = txtNote->text();
  c.tariffa = txtTariffa->text();
  for (int i = 0; i < 3; ++i) {
    c.file[i] = lblFileN[i]->text();
    c.desc[i] = lblDescN[i]->text();
  }
  return c;
}

void TfrmMovimenti::putTexts(const MovementCard& c) {
  txtData->setText(c.data);
  txtCausale->setText(c.causale);
  txtPromemoria->setText(c.promemoria);
  txtDataSca->setText(c.dataSca);
  txtPreavviso->setText(c.preavviso);
  txtImporto->setText(c.importo);
  txtPagatore->setText(c.pagatore);
  txtRecapitoPag->setText(c.recapitoPag);
  txtCodFisc->setText(c.codFisc);
  txtPartitaIva->setText(c.partitaIva);
  txtCategoria->setText(c.categoria);
  txtEmail->setText(c.email);
  txtPagamento->setText(c.pagamento);
  txtBeneficiario->setText(c.beneficiario);
  txtRecapitoBen->setText(c.recapitoBen);
  txtRicevuta->setText(c.ricevuta);
  txtNote->setText(c.note);
  txtTariffa->setText(c.tariffa);
  for (int i = 0; i < 3; ++i) {
    lblFileN[i]->setText(c.file[i]);
    lblDescN[i]->setText(c.desc[i]);
  }
}

// The amount label tells which option is chosen: in (black) only when
// "Entrata" is chosen, out (red) otherwise.
void TfrmMovimenti::showInOut() {
  const InOutDisplay d = inOutDisplay(optEntrata->isChecked());
  lblImporto->setText(d.text);
  QPalette p = lblImporto->palette();
  p.setColor(QPalette::WindowText, QColor::fromRgba(d.argb));
  lblImporto->setPalette(p);
}

void TfrmMovimenti::focusField(CardField f) {
  QWidget* w = nullptr;
  switch (f) {
    case CardField::Causale: w = txtCausale; break;
    case CardField::Data: w = txtData; break;
    case CardField::DataSca: w = txtDataSca; break;
    case CardField::Preavviso: w = txtPreavviso; break;
    case CardField::Pagatore: w = txtPagatore; break;
    case CardField::Beneficiario: w = txtBeneficiario; break;
    case CardField::Importo: w = txtImporto; break;
    case CardField::Entrata: w = optEntrata; break;
    case CardField::Email: w = txtEmail; break;
  }
  if (w) w->setFocus(Qt::OtherFocusReason);
}

qint64 TfrmMovimenti::position() const {
  const QString t = trimmedText(lblPosizione->text());
  if (t.isEmpty()) return 0;
  bool ok = false;
  const qint64 p = t.toLongLong(&ok);
  return ok ? p : -1;  // a position no archive has
}

void TfrmMovimenti::setPosition(qint64 p) {
  lblPosizione->setText(p > 0 ? QString::number(p) : QString());
}

void TfrmMovimenti::ClearCard() {
  const MovementCard c = newCard();
  putTexts(c);
  setOption(optEntrata, c.entrata);
  setOption(optUscita, c.uscita);
  chkSaldato->setChecked(c.saldato);
  showInOut();
  setPosition(0);
  txtCausale->setFocus(Qt::OtherFocusReason);
}

void TfrmMovimenti::ShowRecord(const TMovimento& record) {
  const ShownRecord s = showRecord(record);
  putTexts(s.card);
  // A flag that is neither "Sì" nor "No" leaves its control as it was.
  if (s.entrata) setOption(optEntrata, *s.entrata);
  if (s.uscita) setOption(optUscita, *s.uscita);
  if (s.saldato) chkSaldato->setChecked(*s.saldato);
  showInOut();
}

void TfrmMovimenti::showStoredRecord(const TMovimento& record, qint64 p) {
  ShowRecord(record);
  setPosition(p);
}

// ---- Showing and closing ----------------------------------------------------

// Every entry into the editor starts from an empty new card.
void TfrmMovimenti::FormShow() { ClearCard(); }

// The card on screen is dropped without a question; the launcher comes back.
void TfrmMovimenti::FormClose() { gui::switchTo(this, windowSet().frmAvvio); }

void TfrmMovimenti::cmdEsciClick() { close(); }

// ---- Browsing ---------------------------------------------------------------

// One user action on the archive: open (creating an empty file where there is
// none), the step, close. Any failure stops the step where it happened.
template <class Step>
void TfrmMovimenti::browse(Step&& step) {
  try {
    MovementArchive a = MovementArchive::OpenOrCreate(archiveFile());
    step(a);
  } catch (const ArchiveError&) {
    archiveFailure(this);
  }
}

void TfrmMovimenti::cmdPrimoClick() {
  browse([this](MovementArchive& a) {
    if (a.Count() == 0) {
      a.Close();
      information(this, movementTexts::emptyArchive());
      return;
    }
    showStoredRecord(a.ReadAt(1), 1);
    a.Close();
  });
}

void TfrmMovimenti::cmdUltimoClick() {
  browse([this](MovementArchive& a) {
    const qint64 n = a.Count();
    if (n == 0) {
      a.Close();
      information(this, movementTexts::emptyArchive());
      return;
    }
    showStoredRecord(a.ReadAt(n), n);
    a.Close();
  });
}

void TfrmMovimenti::cmdAvantiClick() {
  browse([this](MovementArchive& a) {
    const qint64 p = position();
    const qint64 n = a.Count();
    if (n == 0) {
      setPosition(0);
      a.Close();
      information(this, movementTexts::emptyArchive());
      return;
    }
    if (p < n) showStoredRecord(a.ReadAt(p + 1), p + 1);
    a.Close();  // on the last card nothing else happens
  });
}

void TfrmMovimenti::cmdIndietroClick() {
  browse([this](MovementArchive& a) {
    const qint64 p = position();
    if (p == 1) {  // the first card is on screen
      a.Close();
      return;
    }
    if (a.Count() == 0) {
      a.Close();
      information(this, movementTexts::emptyArchive());
      return;
    }
    const qint64 to = p == 0 ? 1 : p - 1;
    showStoredRecord(a.ReadAt(to), to);
    a.Close();
  });
}

// ---- Entering ---------------------------------------------------------------

void TfrmMovimenti::cmdNuovoClick() { ClearCard(); }

void TfrmMovimenti::optEntrataClick() { showInOut(); }

void TfrmMovimenti::optUscitaClick() { showInOut(); }

void TfrmMovimenti::impDataClick() { txtData->clear(); }

void TfrmMovimenti::impDataScaClick() { txtDataSca->clear(); }

void TfrmMovimenti::btnCentsClick() { txtImporto->setText(normaliseAmount(txtImporto->text())); }

void TfrmMovimenti::openCalendar(QLineEdit*, QStringView mode) {
  gui::openPerUse<TfrmCalendario>(this, [mode](TfrmCalendario& w) { gui::setMemoryMode(&w, mode); });
}

// ---- Saving and duplicating -------------------------------------------------

void TfrmMovimenti::cmdSalvaClick() {
  btnCents->click();
  const MovementCard card = cardFromControls();
  if (const auto problem = checkBeforeSave(card)) {
    gui::show(this, problem->notice);
    focusField(problem->focus);
    return;
  }
  try {
    MovementArchive a = MovementArchive::OpenOrCreate(archiveFile());
    const TMovimento record = recordFromCard(card);
    const qint64 p = position();
    if (p != 0) {  // a stored card is updated in place
      a.WriteAt(p, record);
      setPosition(p);
      a.Close();
      information(this, movementTexts::savedChanges());
    } else {  // a new card goes after the last one
      setPosition(a.Append(record));
      a.Close();
      information(this, movementTexts::savedNew());
    }
  } catch (const ArchiveError&) {
    archiveFailure(this);
  }
}

void TfrmMovimenti::cmdDuplicaClick() {
  if (position() == 0) {
    gui::notice(this, gui::Icon::Warning, movementTexts::duplicateNeedsStoredCard());
    return;
  }
  MovementCard card = cardFromControls();
  duplicateCard(card);
  putTexts(card);
  chkSaldato->setChecked(card.saldato);
  setPosition(0);
  // Only a test that the archive can be used: nothing is written until Salva.
  try {
    MovementArchive a = MovementArchive::OpenOrCreate(archiveFile());
    txtCausale->setFocus(Qt::OtherFocusReason);
    a.Close();
  } catch (const ArchiveError&) {
    archiveFailure(this, gui::Icon::Warning);
    return;
  }
  information(this, movementTexts::duplicateReady());
}

void TfrmMovimenti::sndEmailClick() {
  const MailResult mail = mailLink(txtEmail->text());
  if (mail.problem) {
    gui::show(this, mail.problem->notice);
    focusField(mail.problem->focus);
    return;
  }
  gui::TMisc::Open(*mail.openText);
}

// ---- Windows opened from the editor ----------------------------------------

void TfrmMovimenti::cmdTrovaClick() {
  gui::openPerUse<TfrmTrovaMovimenti>(this, [](auto& w) { gui::setMemoryMode(&w, gui::mode::Movimenti); });
}

void TfrmMovimenti::cmdScadenzeClick() { gui::openPerUse<TfrmSospesiMov>(this); }

void TfrmMovimenti::cmdStampaClick() { gui::openPerUse<TfrmStampaMovimento>(this); }

void TfrmMovimenti::cmdEsportaClick() { gui::openPerUse<TfrmExpMovimenti>(this); }

void TfrmMovimenti::cmdFileClick() {
  gui::openPerUse<TfrmAllegaCartella>(this, [this](auto& w) {
    gui::setMemoryMode(&w, gui::mode::Movimenti);
    static const char* const files[] = {"txtFile01", "txtFile02", "txtFile03"};
    static const char* const descs[] = {"txtDesc01", "txtDesc02", "txtDesc03"};
    for (int i = 0; i < 3; ++i) {
      setField(&w, files[i], trimmedText(lblFileN[i]->text()));
      setField(&w, descs[i], trimmedText(lblDescN[i]->text()));
    }
  });
}

void TfrmMovimenti::impPagatoreClick() {
  gui::openPerUse<TfrmTrovaClienti>(this,
                                    [](auto& w) { gui::setMemoryMode(&w, gui::mode::MovimentiPagatore); });
}

void TfrmMovimenti::impBeneficiarioClick() {
  gui::openPerUse<TfrmTrovaClienti>(this,
                                    [](auto& w) { gui::setMemoryMode(&w, gui::mode::MovimentiBeneficiario); });
}

// A tax code of digits only is a VAT number: it goes to the VAT check.
void TfrmMovimenti::chkCodFiscClick() {
  const QString code = trimmedText(txtCodFisc->text());
  if (checks::codFiscGoesToPartitaIva(code)) {
    gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { setField(&w, "txtPartitaIva", code); });
    return;
  }
  gui::openPerUse<TfrmCodFisc>(this, [&](auto& w) { setField(&w, "txtCodFisc", code); });
}

void TfrmMovimenti::chkIvaClick() {
  const QString number = trimmedText(txtPartitaIva->text());
  gui::openPerUse<TfrmPartitaIva>(this, [&](auto& w) { setField(&w, "txtPartitaIva", number); });
}

void TfrmMovimenti::cmdGuidaClick() { showRegisterGuide(this); }

}  // namespace fondaro
