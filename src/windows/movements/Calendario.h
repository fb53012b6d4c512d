#pragma once
// The calendar from which a date is taken into one of the two date fields of
// the movement editor, as the caller's mode word in lblMemory says. Every
// opening starts on today.
#include "gui/form.h"

class QCalendarWidget;
class QPushButton;

namespace fondaro {

class TfrmCalendario : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCalendario(QWidget* owner = nullptr);

 public slots:
  void btnImportaDataClick();
  void btnAnnullaClick();

 private:
  QCalendarWidget* calAppuntamenti;
  QPushButton* btnImportaData;
  QPushButton* btnAnnulla;
};

}  // namespace fondaro
