#include "journal/MenuBilancio.h"

#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "app/Avvio.h"
#include "app/Guida.h"
#include "core/archive.h"
#include "core/notice.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/guide.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "journal/Bilancio.h"
#include "journal/periodrules.h"

namespace fondaro {

namespace {

constexpr QStringView kStartDayNeeded =
    u"Attenzione: indicare il giorno di inizio intervallo selezionandolo dall'elenco a cascata.";
constexpr QStringView kStartMonthNeeded =
    u"Attenzione: indicare il mese di inizio intervallo selezionandolo dall'elenco a cascata.";
constexpr QStringView kEndDayNeeded =
    u"Attenzione: indicare il giorno di fine intervallo selezionandolo dall'elenco a cascata.";
constexpr QStringView kEndMonthNeeded =
    u"Attenzione: indicare il mese di fine intervallo selezionandolo dall'elenco a cascata.";
constexpr QStringView kValidDate =
    u"Per poter visualizzare il riepilogo \u00E8 necessario indicare una data valida.";
constexpr QStringView kValidPeriod =
    u"Per poter visualizzare il riepilogo \u00E8 necessario indicare un intervallo di tempo valido.";
constexpr QStringView kWait = u"Caricamento riepilogo in corso. Attendere...";

QLabel* label(QWidget* parent, const char* name, QStringView text, const QFont& font, const QRect& at,
              Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
  return gui::placedLabel(parent, name, text.toString(), font, at, align);
}

// A drop-down list that takes no typing: Enter follows the chain, the arrow
// keys and F4 choose from the items, every other key is swallowed.
QComboBox* itemList(QWidget* parent, const char* name, const QStringList& items, int maxLength,
                    const QRect& at) {
  auto* c = new QComboBox(parent);
  c->setObjectName(QString::fromLatin1(name));
  c->setEditable(true);
  c->setInsertPolicy(QComboBox::NoInsert);
  c->addItems(items);
  c->setMaxVisibleItems(12);
  c->setFont(gui::windowFont("Verdana", 12, true));
  c->lineEdit()->setMaxLength(maxLength);
  c->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
  c->lineEdit()->setAcceptDrops(false);
  c->setGeometry(at);
  gui::onKeyDown(c, [](QKeyEvent* k) {
    switch (k->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
      case Qt::Key_F4: return false;
      default: return true;
    }
  });
  return c;
}

void emptyList(QComboBox* c) {
  c->setCurrentIndex(-1);
  c->setEditText(QString());
}

}  // namespace

void showJournalGuide(QWidget* owner) {
  TfrmGuida::Show(owner, u"Applicazione Primanota e Bilancio."_qs, gui::guidePage(u"bilancio"_qs));
}

TfrmMenuBilancio::TfrmMenuBilancio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuBilancio"_qs);
  setWindowTitle(gui::windowCaption(u"Primanota e Bilancio"));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(760, 560);
  c->setAttribute(Qt::WA_StyledBackground);
  c->setStyleSheet(u"#panContainer { background: rgba(255,255,255,215); border-radius: 24px; }"_qs);

  const QFont text10 = gui::windowFont("Verdana", 10);
  const QFont title12 = gui::windowFont("Verdana", 12, true);
  const QFont field12 = gui::windowFont("Verdana", 12, true);
  label(c, "lblTitolo", u"Primanota e Bilancio", gui::windowFont("Verdana", 18, true), QRect(40, 22, 600, 40));
  imgGuida = new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs),
                                    u"Guida: applicazione Primanota e Bilancio"_qs, c);
  imgGuida->setGeometry(694, 14, 52, 52);

  label(c, "lblCampo01", u"Indicare l'anno solare di interesse e una causale.", text10, QRect(40, 76, 680, 22));
  QLabel* titAnno = label(c, "titAnno", u"Anno:", title12, QRect(40, 106, 96, 32));
  txtAnno = new QLineEdit(c);
  txtAnno->setObjectName(u"txtAnno"_qs);
  txtAnno->setFont(field12);
  txtAnno->setGeometry(140, 106, 90, 32);
  QLabel* titTipologia = label(c, "titTipologia", u"Causale:", title12, QRect(40, 152, 96, 32));
  txtTipologia = new QLineEdit(c);
  txtTipologia->setObjectName(u"txtTipologia"_qs);
  txtTipologia->setFont(field12);
  txtTipologia->setGeometry(140, 152, 580, 32);
  titAnno->setBuddy(txtAnno);
  titTipologia->setBuddy(txtTipologia);
  QLabel* l2 = label(c, "lblCampo02",
                     u"Per ottenere lo storico di tutti i movimenti in entrata e in uscita, non indicare nessuna "
                     u"causale.",
                     text10, QRect(40, 196, 680, 22));
  l2->setWordWrap(true);
  label(c, "lblCampo03", u"Indicare l'intervallo di tempo relativo al periodo da riepilogare.", text10,
        QRect(40, 232, 680, 22));

  buildPeriodGroup(c, true, QRect(40, 266, 330, 160));
  buildPeriodGroup(c, false, QRect(390, 266, 330, 160));

  lblAttendere = label(c, "lblAttendere", kWait, gui::windowFont("Verdana", 12), QRect(40, 440, 680, 28));
  lblAttendere->setStyleSheet(u"color: #008B8B;"_qs);
  lblAttendere->hide();
  lblFile = label(c, "lblFile", u"FilePath", text10, QRect(40, 470, 10, 10));
  lblFile->hide();

  btnEsci = new QPushButton(u"Esci"_qs, c);
  btnEsci->setObjectName(u"btnEsci"_qs);
  btnEsci->setFont(gui::windowFont("Verdana", 10, true));
  btnEsci->setGeometry(360, 494, 140, 40);
  btnVisualizza = new QPushButton(u"Visualizza riepilogo"_qs, c);
  btnVisualizza->setObjectName(u"btnVisualizza"_qs);
  btnVisualizza->setFont(gui::windowFont("Verdana", 10, true));
  btnVisualizza->setGeometry(510, 494, 210, 40);

  gui::setFields(this, {
                           {.name = "txtAnno", .enterTo = "txtTipologia", .keys = gui::Keys::Digits,
                            .maxLength = 4, .frame = true},
                           {.name = "txtTipologia", .enterTo = "txtGiornoInizio", .maxLength = 250, .frame = true},
                           {.name = "txtGiornoInizio", .enterTo = "txtMeseInizio", .maxLength = 2, .frame = true},
                           {.name = "txtMeseInizio", .enterTo = "txtGiornoFine", .maxLength = 9, .frame = true},
                           {.name = "txtGiornoFine", .enterTo = "txtMeseFine", .maxLength = 2, .frame = true},
                           {.name = "txtMeseFine", .enterTo = "btnVisualizza", .maxLength = 9, .frame = true},
                       });
  gui::onKeyUp(txtAnno, [this](QKeyEvent*) { copyYear(); });
  gui::onExit(txtAnno, [this] { copyYear(); });
  for (QComboBox* day : {txtGiornoInizio, txtGiornoFine})
    gui::onExit(day, [day] {
      if (!period::isDayItem(day->currentText())) emptyList(day);
    });
  for (QComboBox* month : {txtMeseInizio, txtMeseFine})
    gui::onExit(month, [month] {
      if (period::monthPart(month->currentText()).isEmpty()) emptyList(month);
    });

  setTabOrder(txtAnno, txtTipologia);
  setTabOrder(txtTipologia, txtGiornoInizio);
  setTabOrder(txtGiornoInizio, txtMeseInizio);
  setTabOrder(txtMeseInizio, txtGiornoFine);
  setTabOrder(txtGiornoFine, txtMeseFine);
  setTabOrder(txtMeseFine, btnEsci);
  setTabOrder(btnEsci, btnVisualizza);
  setTabOrder(btnVisualizza, imgGuida);

  connect(btnVisualizza, &QPushButton::pressed, this, [this] {
    lblAttendere->show();
    lblAttendere->repaint();
  });
  connect(btnVisualizza, &QPushButton::clicked, this, &TfrmMenuBilancio::btnVisualizzaClick);
  connect(btnEsci, &QPushButton::clicked, this, &TfrmMenuBilancio::btnEsciClick);
  connect(imgGuida, &QToolButton::clicked, this, &TfrmMenuBilancio::imgGuidaClick);
}

void TfrmMenuBilancio::buildPeriodGroup(QWidget* parent, bool start, const QRect& at) {
  auto* g = new QGroupBox(start ? u" Data inizio intervallo: "_qs : u" Data fine intervallo: "_qs, parent);
  g->setObjectName(start ? u"grpDataInizio"_qs : u"grpDataFine"_qs);
  g->setFont(gui::windowFont("Verdana", 10, true));
  g->setGeometry(at);
  const QFont caption = gui::windowFont("Verdana", 10);
  label(g, start ? "titGiornoInizio" : "titGiornoFine", u"Giorno:", caption, QRect(16, 28, 80, 20));
  label(g, start ? "titMeseInizio" : "titMeseFine", u"Mese:", caption, QRect(116, 28, 160, 20));
  QComboBox* day = itemList(g, start ? "txtGiornoInizio" : "txtGiornoFine", period::dayItems(), 2,
                            QRect(16, 50, 84, 34));
  QComboBox* month = itemList(g, start ? "txtMeseInizio" : "txtMeseFine", period::monthItems(), 9,
                              QRect(116, 50, 198, 34));
  for (QWidget* w : {static_cast<QWidget*>(day), static_cast<QWidget*>(day->lineEdit())})
    w->setAccessibleName(start ? u"Giorno di inizio intervallo"_qs : u"Giorno di fine intervallo"_qs);
  for (QWidget* w : {static_cast<QWidget*>(month), static_cast<QWidget*>(month->lineEdit())})
    w->setAccessibleName(start ? u"Mese di inizio intervallo"_qs : u"Mese di fine intervallo"_qs);
  QLabel* year = label(g, start ? "lblAnnoInizio" : "lblAnnoFine", u"ANNO", gui::windowFont("Verdana", 18, true),
                       QRect(16, 96, 298, 48), Qt::AlignCenter);
  QLabel* date = label(g, start ? "lblDataInizio" : "lblDataFine", u"", caption, QRect(0, 0, 10, 10));
  date->hide();
  if (start) {
    txtGiornoInizio = day;
    txtMeseInizio = month;
    lblAnnoInizio = year;
    lblDataInizio = date;
  } else {
    txtGiornoFine = day;
    txtMeseFine = month;
    lblAnnoFine = year;
    lblDataFine = date;
  }
}

QString TfrmMenuBilancio::archivePath() const { return lblFile->text(); }
QString TfrmMenuBilancio::startDate() const { return lblDataInizio->text(); }
QString TfrmMenuBilancio::endDate() const { return lblDataFine->text(); }
QString TfrmMenuBilancio::reasonFilter() const { return txtTipologia->text(); }
void TfrmMenuBilancio::hideWaitText() { lblAttendere->hide(); }

// Every showing starts from the current year, no reason and no period.
void TfrmMenuBilancio::FormShow() {
  for (QComboBox* c : {txtGiornoInizio, txtMeseInizio, txtGiornoFine, txtMeseFine}) emptyList(c);
  txtTipologia->clear();
  txtAnno->setText(QString::number(QDate::currentDate().year()).rightJustified(4, u'0'));
  copyYear();
  lblAttendere->hide();
  txtTipologia->setFocus();
}

void TfrmMenuBilancio::copyYear() {
  const QString year = trimmedText(txtAnno->text());
  lblAnnoInizio->setText(year);
  lblAnnoFine->setText(year);
}

void TfrmMenuBilancio::fail(QWidget* focus, const QString& text, bool plain) {
  lblAttendere->hide();
  if (plain) gui::message(this, text);
  else gui::notice(this, gui::Icon::Warning, text);
  if (focus) focus->setFocus();
}

bool TfrmMenuBilancio::checkVisualizza() {
  lblDataInizio->clear();
  lblDataFine->clear();
  if (!isYearText(txtAnno->text())) return fail(txtAnno, yearTextNeeded().text, false), false;
  if (trimControl(txtGiornoInizio->currentText()).isEmpty())
    return fail(txtGiornoInizio, kStartDayNeeded.toString(), false), false;
  if (trimControl(txtMeseInizio->currentText()).isEmpty())
    return fail(txtMeseInizio, kStartMonthNeeded.toString(), false), false;
  if (trimControl(txtGiornoFine->currentText()).isEmpty())
    return fail(txtGiornoFine, kEndDayNeeded.toString(), false), false;
  if (trimControl(txtMeseFine->currentText()).isEmpty())
    return fail(txtMeseFine, kEndMonthNeeded.toString(), false), false;

  lblDataInizio->setText(
      period::buildDate(txtGiornoInizio->currentText(), txtMeseInizio->currentText(), lblAnnoInizio->text()));
  const QString start = trimmedText(lblDataInizio->text());
  if (!isValidDate(lblDataInizio->text())) {
    return fail(txtGiornoInizio,
                u"Attenzione: la data "_qs + start + u" di inizio intervallo non esiste."_qs + kParagraphBreak +
                    kValidDate.toString(),
                true),
           false;
  }
  lblDataFine->setText(
      period::buildDate(txtGiornoFine->currentText(), txtMeseFine->currentText(), lblAnnoFine->text()));
  const QString end = trimmedText(lblDataFine->text());
  if (!isValidDate(lblDataFine->text())) {
    return fail(txtGiornoFine,
                u"Attenzione: la data "_qs + end + u" di fine intervallo non esiste."_qs + kParagraphBreak +
                    kValidDate.toString(),
                true),
           false;
  }
  if (parseDate(start) > parseDate(end)) {
    return fail(nullptr,
                u"Attenzione: la data di fine intervallo ("_qs + end +
                    u") non pu\u00F2 essere anteriore a quella di inizio intervallo ("_qs + start + u")."_qs +
                    kParagraphBreak + kValidPeriod.toString(),
                true),
           false;
  }
  lblFile->setText(movementArchivePath(gui::programFolder(), trimmedText(txtAnno->text())));
  return true;
}

void TfrmMenuBilancio::btnVisualizzaClick() {
  if (!checkVisualizza()) return;
  gui::openPerUse<TfrmBilancio>(this);
  lblAttendere->hide();
}

void TfrmMenuBilancio::btnEsciClick() { close(); }

void TfrmMenuBilancio::imgGuidaClick() { showJournalGuide(this); }

void TfrmMenuBilancio::FormClose() { windowSet().frmAvvio->present(); }

}  // namespace fondaro
