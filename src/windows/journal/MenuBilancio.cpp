// SPDX-License-Identifier: GPL-3.0-or-later
#include "journal/MenuBilancio.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/period.h"
#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/guide.h"
#include "gui/messages.h"
#include "gui/product.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "journal/Bilancio.h"
#include "journal/Categorie.h"
#include "journal/Rendiconto.h"
#include "journal/TextsCategorie.h"
#include "journal/Texts.h"

namespace fondaro {

namespace {

namespace texts = journalTexts;

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
  // The edit part and the open list (a window of its own) do not take the
  // box's font by themselves.
  const QFont font = gui::windowFont("Verdana", 12, true);
  c->setFont(font);
  c->lineEdit()->setFont(font);
  c->view()->setFont(font);
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
  showGuide(owner, texts::kGuideTitle.toString(), gui::guidePage(u"bilancio"_qs));
}

TfrmMenuBilancio::TfrmMenuBilancio(QWidget* owner) : Form(owner, Kind::Work) {
  setObjectName(u"frmMenuBilancio"_qs);
  setWindowTitle(gui::windowCaption(texts::kCaption));
  gui::setFormatSettings();
  setGradientBackground(true);

  QWidget* c = makeContainer(760, 560);
  c->setAttribute(Qt::WA_StyledBackground);
  gui::setPanelStyle(c);

  const QFont text10 = gui::windowFont("Verdana", 10);
  const QFont title12 = gui::windowFont("Verdana", 12, true);
  const QFont field12 = gui::windowFont("Verdana", 12, true);
  gui::placedLabel(c, "lblTitolo", texts::kTitle, gui::windowFont("Verdana", 18, true),
                   QRect(40, 22, 600, 40));
  imgGuida =
      new gui::PictureButton(u"imgGuida"_qs, gui::art(u"ico_guida"_qs), texts::kGuideHover.toString(), c);
  imgGuida->setGeometry(694, 14, 52, 52);

  gui::placedLabel(c, "lblCampo01", texts::kCampo01, text10, QRect(40, 76, 680, 22));
  QLabel* titAnno = gui::placedLabel(c, "titAnno", texts::kAnno, title12, QRect(40, 106, 96, 32));
  txtAnno = new QLineEdit(c);
  txtAnno->setObjectName(u"txtAnno"_qs);
  txtAnno->setFont(field12);
  txtAnno->setGeometry(140, 106, 90, 32);
  QLabel* titTipologia =
      gui::placedLabel(c, "titTipologia", texts::kCausale, title12, QRect(40, 152, 96, 32));
  txtTipologia = new QLineEdit(c);
  txtTipologia->setObjectName(u"txtTipologia"_qs);
  txtTipologia->setFont(field12);
  txtTipologia->setGeometry(140, 152, 580, 32);
  titAnno->setBuddy(txtAnno);
  titTipologia->setBuddy(txtTipologia);
  gui::placedLabel(c, "lblCampo02", texts::kCampo02, text10, QRect(40, 196, 680, 22))->setWordWrap(true);
  gui::placedLabel(c, "lblCampo03", texts::kCampo03, text10, QRect(40, 232, 680, 22));

  buildPeriodGroup(c, true, QRect(40, 266, 330, 160));
  buildPeriodGroup(c, false, QRect(390, 266, 330, 160));

  lblAttendere = gui::placedLabel(c, "lblAttendere", texts::kWait, gui::windowFont("Verdana", 12),
                                  QRect(40, 440, 680, 28));
  gui::setTextColour(lblAttendere, u"#008B8B");
  lblAttendere->hide();
  lblFile = gui::placedLabel(c, "lblFile", texts::kFileDesign, text10, QRect(40, 470, 10, 10));
  lblFile->hide();

  const QFont button10 = gui::windowFont("Verdana", 10, true);
  btnEsci = gui::placedButton(c, "btnEsci", texts::kEsci, button10, QRect(360, 494, 140, 40));
  btnVisualizza =
      gui::placedButton(c, "btnVisualizza", texts::kVisualizza, button10, QRect(510, 494, 210, 40));
  // After the described controls, last in the Tab order.
  btnCategorie = gui::placedButton(c, "btnCategorie", categoryTexts::kOpenCategories, button10, QRect(40, 494, 130, 40));
  btnCategorie->setToolTip(categoryTexts::kOpenCategoriesHover.toString());
  btnRendiconto =
      gui::placedButton(c, "btnRendiconto", categoryTexts::kOpenRendiconto, button10, QRect(176, 494, 178, 40));
  btnRendiconto->setToolTip(categoryTexts::kOpenRendicontoHover.toString());
  setFieldRules();

  connect(btnVisualizza, &QPushButton::pressed, this, [this] {
    lblAttendere->show();
    lblAttendere->repaint();
  });
  gui::connectClickSlots(this);
}

// The typing limits, the Enter chain and the focus frames; the year copied into
// both groups; a list left with a text that is not one of its items is emptied.
void TfrmMenuBilancio::setFieldRules() {
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

  gui::setTabChain(this, {u"txtAnno", u"txtTipologia", u"txtGiornoInizio", u"txtMeseInizio", u"txtGiornoFine",
                          u"txtMeseFine", u"btnEsci", u"btnVisualizza", u"imgGuida", u"btnCategorie",
                          u"btnRendiconto"});
}

void TfrmMenuBilancio::buildPeriodGroup(QWidget* parent, bool start, const QRect& at) {
  auto* g = new QGroupBox((start ? texts::kStartGroup : texts::kEndGroup).toString(), parent);
  g->setObjectName(start ? u"grpDataInizio"_qs : u"grpDataFine"_qs);
  g->setFont(gui::windowFont("Verdana", 10, true));
  g->setGeometry(at);
  const QFont caption = gui::windowFont("Verdana", 10);
  gui::placedLabel(g, start ? "titGiornoInizio" : "titGiornoFine", texts::kGiorno, caption,
                   QRect(16, 28, 80, 20));
  gui::placedLabel(g, start ? "titMeseInizio" : "titMeseFine", texts::kMese, caption,
                   QRect(116, 28, 160, 20));
  QComboBox* day = itemList(g, start ? "txtGiornoInizio" : "txtGiornoFine", period::dayItems(), 2,
                            QRect(16, 50, 84, 34));
  QComboBox* month = itemList(g, start ? "txtMeseInizio" : "txtMeseFine", period::monthItems(), 9,
                              QRect(116, 50, 198, 34));
  for (QWidget* w : {static_cast<QWidget*>(day), static_cast<QWidget*>(day->lineEdit())})
    w->setAccessibleName((start ? texts::kStartDayName : texts::kEndDayName).toString());
  for (QWidget* w : {static_cast<QWidget*>(month), static_cast<QWidget*>(month->lineEdit())})
    w->setAccessibleName((start ? texts::kStartMonthName : texts::kEndMonthName).toString());
  QLabel* year =
      gui::placedLabel(g, start ? "lblAnnoInizio" : "lblAnnoFine", texts::kYearDesign,
                       gui::windowFont("Verdana", 18, true), QRect(16, 96, 298, 48), Qt::AlignCenter);
  QLabel* date =
      gui::placedLabel(g, start ? "lblDataInizio" : "lblDataFine", u"", caption, QRect(0, 0, 10, 10));
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

QWidget* TfrmMenuBilancio::controlOf(period::Field field) const {
  switch (field) {
    case period::Field::Year:
      return txtAnno;
    case period::Field::StartDay:
    case period::Field::StartDate:
      return txtGiornoInizio;
    case period::Field::StartMonth:
      return txtMeseInizio;
    case period::Field::EndDay:
    case period::Field::EndDate:
      return txtGiornoFine;
    case period::Field::EndMonth:
      return txtMeseFine;
    case period::Field::Order:
      break;  // the focus stays where it is
  }
  return nullptr;
}

bool TfrmMenuBilancio::checkVisualizza() {
  const period::Checked checked = period::check(
      {txtAnno->text(), txtGiornoInizio->currentText(), txtMeseInizio->currentText(), lblAnnoInizio->text(),
       txtGiornoFine->currentText(), txtMeseFine->currentText(), lblAnnoFine->text()});
  lblDataInizio->setText(checked.start);
  lblDataFine->setText(checked.end);
  if (checked.problem) {
    lblAttendere->hide();
    gui::show(this, checked.problem->notice);
    if (QWidget* focus = controlOf(checked.problem->field)) focus->setFocus();
    return false;
  }
  lblFile->setText(movementArchivePath(gui::programFolder(), trimmedText(txtAnno->text())));
  return true;
}

void TfrmMenuBilancio::btnVisualizzaClick() {
  if (!checkVisualizza()) return;
  TfrmBilancio(this, {archivePath(), startDate(), endDate(), reasonFilter()}).showModal();
  lblAttendere->hide();
}

void TfrmMenuBilancio::btnEsciClick() { close(); }

void TfrmMenuBilancio::btnCategorieClick() {
  if (!checkVisualizza()) return;
  lblAttendere->hide();
  TfrmCategorie(this, parseDate(startDate()), parseDate(endDate())).showModal();
}

void TfrmMenuBilancio::btnRendicontoClick() {
  const QString year = trimmedText(txtAnno->text());
  if (!isYearText(year) || year.toInt() < 1001) {
    gui::show(this, yearTextNeeded());
    txtAnno->setFocus();
    return;
  }
  TfrmRendiconto(this, year.toInt()).showModal();
}

void TfrmMenuBilancio::imgGuidaClick() { showJournalGuide(this); }

void TfrmMenuBilancio::FormClose() { openLauncher(this); }

}  // namespace fondaro
