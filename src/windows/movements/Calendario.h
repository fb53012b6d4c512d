// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The calendar from which the movement editor takes a date into one of its
// two date fields. Every opening starts on today.
#include <QDate>
#include <optional>

#include "gui/form.h"

class QCalendarWidget;
class QPushButton;

namespace fondaro {

class TfrmCalendario : public gui::Form {
  Q_OBJECT

 public:
  explicit TfrmCalendario(QWidget* owner = nullptr);

  // The date "Importa" took; nothing when the window was closed otherwise.
  const std::optional<QDate>& chosenDate() const { return chosen_; }

 public slots:
  void btnImportaDataClick();
  void btnAnnullaClick();

 private:
  QCalendarWidget* calAppuntamenti;
  QPushButton* btnImportaData;
  QPushButton* btnAnnulla;
  std::optional<QDate> chosen_;
};

// Shows the calendar modally over `owner`; returns the date imported, or
// nothing when the user cancelled.
std::optional<QDate> pickDate(QWidget* owner);

}  // namespace fondaro
