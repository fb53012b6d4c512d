// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/Calendario.h"

#include <QCalendarWidget>
#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTextCharFormat>

#include "gui/controls.h"
#include "gui/application.h"

namespace fondaro {

TfrmCalendario::TfrmCalendario(QWidget* owner) : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmCalendario"_qs);
  setWindowTitle(u" Importazione data"_qs);
  gui::setFormatSettings();
  setGradientBackground(true);
  setFixedSize(253, 294);

  auto* lblCampo001 = new QLabel(u"Importare una data:"_qs, this);
  lblCampo001->setObjectName(u"lblCampo001"_qs);
  lblCampo001->setFont(gui::windowFont("Verdana", 10, true));
  lblCampo001->setGeometry(10, 8, 233, 22);

  calAppuntamenti = new QCalendarWidget(this);
  calAppuntamenti->setObjectName(u"calAppuntamenti"_qs);
  calAppuntamenti->setLocale(QLocale(QLocale::Italian, QLocale::Italy));
  calAppuntamenti->setFirstDayOfWeek(Qt::Monday);
  calAppuntamenti->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
  calAppuntamenti->setGridVisible(false);
  calAppuntamenti->setAccessibleName(u"Calendario"_qs);
  calAppuntamenti->setFont(gui::windowFont("Tahoma", 8));
  QTextCharFormat weekend;
  weekend.setForeground(QColor(0xB0, 0x20, 0x20));
  calAppuntamenti->setWeekdayTextFormat(Qt::Saturday, weekend);
  calAppuntamenti->setWeekdayTextFormat(Qt::Sunday, weekend);
  calAppuntamenti->setGeometry(10, 34, 233, 206);
  // Every opening starts on the current day, whatever the field holds.
  calAppuntamenti->setSelectedDate(QDate::currentDate());

  btnImportaData = new QPushButton(u"Importa"_qs, this);
  btnImportaData->setObjectName(u"btnImportaData"_qs);
  btnImportaData->setGeometry(10, 252, 110, 32);
  btnAnnulla = new QPushButton(u"Annulla"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(133, 252, 110, 32);

  setTabOrder(calAppuntamenti, btnImportaData);
  setTabOrder(btnImportaData, btnAnnulla);
  calAppuntamenti->setFocus();
  gui::connectClickSlots(this);
}

void TfrmCalendario::btnImportaDataClick() {
  chosen_ = calAppuntamenti->selectedDate();
  close();
}

void TfrmCalendario::btnAnnullaClick() { close(); }

std::optional<QDate> pickDate(QWidget* owner) {
  TfrmCalendario w(owner);
  w.showModal();
  return w.chosenDate();
}

}  // namespace fondaro
