// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The repetition window: how a movement repeats (every 1, 2, 3, 6 or 12
// months, or every N weeks), from which date, and until when (never, a date
// included, or a number of times). Opened by "Ripeti..." in the movement
// editor with the card shown as the movement, and by "Modifica..." in the
// list of recurring movements for a stored schedule.
#include <optional>

#include "core/notice.h"
#include "core/recurring.h"
#include "gui/form.h"

class QComboBox;
class QFont;
class QGridLayout;
class QHBoxLayout;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace fondaro {

class TfrmRipeti : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmRipeti(QWidget* owner = nullptr);

  // A new schedule of `movement` (a copy is kept), its first date proposed.
  // `refusal`: why the movement cannot be repeated as it is (the card lacks
  // something); Conferma then shows it and closes the window (Refused).
  void setNew(const TMovimento& movement, const QDate& first, std::optional<Notice> refusal = {});
  // New settings for a stored schedule: repetition, next date, end, amount.
  void setChange(const Schedule& schedule);

  // What the window ended with, once closed.
  struct Result {
    enum class Outcome { Cancelled, Saved, Refused };
    Outcome outcome = Outcome::Cancelled;
    int number = 0;  // Saved: the schedule's number
  };
  const Result& result() const { return result_; }

 public slots:
  void btnConfermaClick();
  void btnAnnullaClick();
  void btnElencoClick();

 private:
  void showRepetition(const Repetition& r);
  Repetition chosenRepetition() const;
  ScheduleEnd chosenEnd() const;
  void showEnd(const ScheduleEnd& end);
  void enableChoices();

  TMovimento movement_{};
  void buildRepetitionRows(QGridLayout* grid, const QFont& font, const QFont& bold);
  void buildEndRows(QGridLayout* grid, const QFont& font, const QFont& bold);
  QHBoxLayout* buildButtons();
  void finish(Result::Outcome outcome, int number = 0);

  std::optional<Notice> refusal_;
  Result result_;
  int number_ = 0;  // the schedule changed; 0 for a new one

  QLabel* lblMovimento;
  QComboBox* cboRipeti;
  QSpinBox* spnSettimane;
  QLabel* lblPrima;
  QDateEdit* dtPrima;
  QLabel* lblImportoCap;
  QLineEdit* txtImporto;
  QRadioButton* optMai;
  QRadioButton* optFineData;
  QDateEdit* dtFine;
  QRadioButton* optVolte;
  QSpinBox* spnVolte;
  QLabel* lblNota;
  QPushButton* btnConferma;
  QPushButton* btnAnnulla;
  QPushButton* btnElenco;
};

}  // namespace fondaro
