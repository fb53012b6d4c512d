// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/Ripeti.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "core/textrules.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/messages.h"
#include "gui/programfolder.h"
#include "gui/widgets.h"
#include "movements/Ricorrenti.h"
#include "movements/TextsRicorrenti.h"

namespace fondaro {

namespace {

namespace t = recurringTexts;

// The choices of the repetition box, in order; the last stands for "every N weeks".
constexpr int kMonths[] = {1, 2, 3, 6, 12};

QDateEdit* dateEdit(QWidget* parent, const char* name) {
  auto* d = new QDateEdit(parent);
  d->setObjectName(QString::fromLatin1(name));
  d->setDisplayFormat(u"dd/MM/yyyy"_qs);
  d->setCalendarPopup(true);
  d->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  d->setMinimumDate(QDate(1000, 1, 1));
  d->setMaximumDate(QDate(9999, 12, 31));
  d->setFixedWidth(140);
  return d;
}

QSpinBox* spin(QWidget* parent, const char* name, int max) {
  auto* s = new QSpinBox(parent);
  s->setObjectName(QString::fromLatin1(name));
  s->setRange(1, max);
  s->setFixedWidth(80);
  return s;
}

QString movementLine(const TMovimento& m) {
  const QString total = m.Totale.trimmed();
  const bool in = total.startsWith(u'+') || (!total.startsWith(u'-') && m.Entrata.trimmed() == kSi);
  return QStringLiteral("%1  (%2 %3 euro)")
      .arg(m.Causale.trimmed(), (in ? t::kIn : t::kOut).toString(), m.Importo.trimmed());
}

}  // namespace

TfrmRipeti::TfrmRipeti(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmRipeti"_qs);
  setWindowTitle(t::kRipetiCaption.toString());
  gui::setFormatSettings();
  setGradientBackground(true);
  // The height follows the content (Form fixes it at the first showing), so
  // that no empty band stands between the note and the buttons.
  setFixedWidth(560);

  const QFont font = gui::windowFont("Verdana", 10);
  const QFont bold = gui::windowFont("Verdana", 10, true);
  auto* v = new QVBoxLayout(this);
  v->setContentsMargins(18, 16, 18, 16);
  v->setSpacing(10);
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(10);
  v->addLayout(grid);
  buildRepetitionRows(grid, font, bold);
  buildEndRows(grid, font, bold);

  lblNota = gui::layoutLabel(this, "lblNota", t::kTemplateNote, gui::windowFont("Verdana", 8));
  lblNota->setWordWrap(true);
  v->addWidget(lblNota);
  v->addStretch();
  v->addSpacing(6);
  v->addLayout(buildButtons());

  connect(cboRipeti, &QComboBox::currentIndexChanged, this, [this] { enableChoices(); });
  for (QRadioButton* o : {optMai, optFineData, optVolte}) connect(o, &QRadioButton::toggled, this, [this] { enableChoices(); });
  gui::setTabChain(this, {u"cboRipeti", u"spnSettimane", u"dtPrima", u"txtImporto", u"optMai", u"optFineData",
                          u"dtFine", u"optVolte", u"spnVolte", u"btnConferma", u"btnAnnulla", u"btnElenco"});
  gui::connectClickSlots(this);
  setNew(TMovimento{}, QDate::currentDate());
}

// The movement, its repetition, the first date and (for a stored schedule) the amount.
void TfrmRipeti::buildRepetitionRows(QGridLayout* grid, const QFont& font, const QFont& bold) {
  grid->addWidget(gui::layoutLabel(this, "lblMovimentoCap", t::kMovement, bold), 0, 0);
  lblMovimento = gui::layoutLabel(this, "lblMovimento", u"", font);
  grid->addWidget(lblMovimento, 0, 1, 1, 3);

  QLabel* cap = gui::layoutLabel(this, "lblRipeti", t::kRepeat, bold);
  grid->addWidget(cap, 1, 0);
  cboRipeti = new QComboBox(this);
  cboRipeti->setObjectName(u"cboRipeti"_qs);
  cboRipeti->setFont(font);
  for (int m : kMonths) cboRipeti->addItem(Repetition{Repetition::Unit::Months, m}.italian());
  cboRipeti->addItem(t::kEveryWeeks.toString());
  cap->setBuddy(cboRipeti);
  grid->addWidget(cboRipeti, 1, 1);
  spnSettimane = spin(this, "spnSettimane", 52);
  spnSettimane->setAccessibleName(t::kWeeks.toString());
  grid->addWidget(spnSettimane, 1, 2);
  grid->addWidget(gui::layoutLabel(this, "lblSettimane", t::kWeeks, font), 1, 3);

  lblPrima = gui::layoutLabel(this, "lblPrima", t::kFirst, bold);
  grid->addWidget(lblPrima, 2, 0);
  dtPrima = dateEdit(this, "dtPrima");
  lblPrima->setBuddy(dtPrima);
  grid->addWidget(dtPrima, 2, 1);

  lblImportoCap = gui::layoutLabel(this, "lblImportoCap", t::kAmount, bold);
  grid->addWidget(lblImportoCap, 3, 0);
  txtImporto = new QLineEdit(this);
  txtImporto->setObjectName(u"txtImporto"_qs);
  txtImporto->setFont(font);
  txtImporto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  txtImporto->setFixedWidth(140);
  txtImporto->setMaxLength(14);
  lblImportoCap->setBuddy(txtImporto);
  grid->addWidget(txtImporto, 3, 1);
}

// Never, on a date, or after a number of times.
void TfrmRipeti::buildEndRows(QGridLayout* grid, const QFont& font, const QFont& bold) {
  grid->addWidget(gui::layoutLabel(this, "lblFine", t::kEnd, bold), 4, 0, Qt::AlignTop);
  optMai = new QRadioButton(t::kNever.toString(), this);
  optMai->setObjectName(u"optMai"_qs);
  optFineData = new QRadioButton(t::kOnDate.toString(), this);
  optFineData->setObjectName(u"optFineData"_qs);
  optVolte = new QRadioButton(t::kAfter.toString(), this);
  optVolte->setObjectName(u"optVolte"_qs);
  for (QRadioButton* o : {optMai, optFineData, optVolte}) o->setFont(font);
  dtFine = dateEdit(this, "dtFine");
  spnVolte = spin(this, "spnVolte", 9999);
  spnVolte->setValue(12);
  grid->addWidget(optMai, 4, 1);
  grid->addWidget(optFineData, 5, 1);
  grid->addWidget(dtFine, 5, 2, 1, 2);
  grid->addWidget(optVolte, 6, 1);
  auto* times = new QHBoxLayout;
  times->addWidget(spnVolte);
  times->addWidget(gui::layoutLabel(this, "lblVolte", t::kTimes, font));
  times->addStretch();
  grid->addLayout(times, 6, 2, 1, 2);
  grid->setColumnStretch(3, 1);
}

QHBoxLayout* TfrmRipeti::buildButtons() {
  auto* buttons = new QHBoxLayout;
  btnElenco = gui::layoutButton(this, "btnElenco", t::kList, 170);
  btnConferma = gui::layoutButton(this, "btnConferma", t::kConfirm, 110);
  btnAnnulla = gui::layoutButton(this, "btnAnnulla", t::kCancel, 110);
  buttons->addWidget(btnElenco);
  buttons->addStretch();
  buttons->addWidget(btnConferma);
  buttons->addWidget(btnAnnulla);
  return buttons;
}

void TfrmRipeti::setNew(const TMovimento& movement, const QDate& first, std::optional<Notice> refusal) {
  refusal_ = std::move(refusal);
  result_ = {};
  movement_ = movement;
  number_ = 0;
  setWindowTitle(t::kRipetiCaption.toString());
  lblMovimento->setText(movementLine(movement));
  showRepetition({});
  lblPrima->setText(t::kFirst.toString());
  dtPrima->setDate(first);
  dtFine->setDate(first.addYears(1));
  optMai->setChecked(true);
  lblImportoCap->setVisible(false);
  txtImporto->setVisible(false);
  lblNota->setVisible(true);
  btnElenco->setVisible(true);
  enableChoices();
  cboRipeti->setFocus();
}

void TfrmRipeti::setChange(const Schedule& s) {
  refusal_.reset();
  result_ = {};
  movement_ = s.movement;
  number_ = s.number;
  setWindowTitle(t::kModificaCaption.toString());
  lblMovimento->setText(movementLine(s.movement));
  showRepetition(s.repetition);
  lblPrima->setText(t::kNext.toString());
  dtPrima->setDate(s.next().value_or(s.occurrence(s.generated)));
  dtFine->setDate(s.end.kind == ScheduleEnd::Kind::Until ? s.end.until : dtPrima->date().addYears(1));
  showEnd(s.end);
  lblImportoCap->setVisible(true);
  txtImporto->setVisible(true);
  txtImporto->setText(s.movement.Importo.trimmed());
  lblNota->setVisible(false);
  btnElenco->setVisible(false);
  enableChoices();
  cboRipeti->setFocus();
}

void TfrmRipeti::showRepetition(const Repetition& r) {
  if (r.unit == Repetition::Unit::Weeks) {
    cboRipeti->setCurrentIndex(cboRipeti->count() - 1);
    spnSettimane->setValue(r.every);
    return;
  }
  for (int i = 0; i < int(std::size(kMonths)); ++i)
    if (kMonths[i] == r.every) cboRipeti->setCurrentIndex(i);
  spnSettimane->setValue(1);
}

void TfrmRipeti::showEnd(const ScheduleEnd& end) {
  optMai->setChecked(end.kind == ScheduleEnd::Kind::Never);
  optFineData->setChecked(end.kind == ScheduleEnd::Kind::Until);
  optVolte->setChecked(end.kind == ScheduleEnd::Kind::Times);
  if (end.kind == ScheduleEnd::Kind::Times) spnVolte->setValue(end.times);
}

Repetition TfrmRipeti::chosenRepetition() const {
  const int i = cboRipeti->currentIndex();
  if (i >= 0 && i < int(std::size(kMonths))) return {Repetition::Unit::Months, kMonths[i]};
  return {Repetition::Unit::Weeks, spnSettimane->value()};
}

ScheduleEnd TfrmRipeti::chosenEnd() const {
  if (optFineData->isChecked()) return {ScheduleEnd::Kind::Until, dtFine->date(), 0};
  if (optVolte->isChecked()) return {ScheduleEnd::Kind::Times, {}, spnVolte->value()};
  return {};
}

void TfrmRipeti::enableChoices() {
  spnSettimane->setEnabled(chosenRepetition().unit == Repetition::Unit::Weeks);
  dtFine->setEnabled(optFineData->isChecked());
  spnVolte->setEnabled(optVolte->isChecked());
}

void TfrmRipeti::btnConfermaClick() {
  const QByteArray folder = gui::programFolderPath();
  try {
    if (number_ == 0 && refusal_) {
      gui::show(this, *refusal_);
      finish(Result::Outcome::Refused);
      return;
    }
    if (number_ == 0) {
      Schedule s;
      s.repetition = chosenRepetition();
      s.first = dtPrima->date();
      s.end = chosenEnd();
      s.movement = movement_;
      if (const auto problem = scheduleProblem(s)) {
        gui::notice(this, gui::Icon::Warning, *problem);
        return;
      }
      const int number = addSchedule(folder, s);
      gui::notice(this, gui::Icon::Information,
                  t::kAdded.toString().arg(number).arg(s.repetition.italian(), formatDate(s.first)));
      finish(Result::Outcome::Saved, number);
      return;
    }
    const QString amount = normaliseAmount(txtImporto->text());
    txtImporto->setText(amount);
    changeSchedule(folder, number_, {chosenRepetition(), dtPrima->date(), chosenEnd(), amount});
    gui::notice(this, gui::Icon::Information, t::kChanged.toString().arg(number_));
    finish(Result::Outcome::Saved, number_);
  } catch (const RecurringError& e) {
    gui::show(this, e);
  }
}

void TfrmRipeti::finish(Result::Outcome outcome, int number) {
  result_ = {outcome, number};
  close();
}

void TfrmRipeti::btnAnnullaClick() { close(); }

void TfrmRipeti::btnElencoClick() { gui::openPerUse<TfrmRicorrenti>(this); }

}  // namespace fondaro
