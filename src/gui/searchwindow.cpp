// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/searchwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "core/archive.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/fields.h"
#include "gui/messages.h"

namespace fondaro::gui {

namespace {

constexpr QStringView kWait = u"Ricerca schede in corso. Attendere...";
constexpr QStringView kRigo04 =
    u"Immettere nei campi prescelti una o più parole consecutive presenti nelle schede da trovare e "
    u"premere il pulsante Cerca.";
constexpr QStringView kRigo05 = u"Lasciare in bianco tutti gli altri campi.";
constexpr QStringView kRigo06 =
    u"Per ogni ricerca è possibile utilizzare uno o più campi contemporaneamente.";

QString countSentence(int n) {
  return u"Il presente riepilogo contiene "_qs + QString::number(n) + u" schede."_qs;
}

}  // namespace

SearchWindow::SearchWindow(QWidget* owner, std::span<const SearchFilter> filters)
    : ListWindow(owner, Kind::Dialog), filters_(filters) {
  setFormatSettings();
  setFixedSize(862, 560);
  buildFilters();

  panContainer = makeResultPanel(QRect(16, 112, 830, 352));
  panContainer->hide();
  lblTrovate = new QLabel(panContainer);
  lblTrovate->setObjectName(u"lblTrovate"_qs);
  lblTrovate->setFont(windowFont("Verdana", 10, true));
  lblTrovate->setStyleSheet(u"color: #008B8B;"_qs);
  lblTrovate->setGeometry(16, 470, 600, 24);
  setCountLabel(lblTrovate, countSentence);
}

void SearchWindow::buildFilters() {
  panAvvio = new QWidget(this);
  panAvvio->setObjectName(u"panAvvio"_qs);
  panAvvio->setGeometry(0, 0, 862, 560);
  makeListLabel(panAvvio, "lblRigo04", kRigo04, QRect(24, 14, 814, 40), 10, true);
  makeListLabel(panAvvio, "lblRigo05", kRigo05, QRect(24, 56, 814, 20), 10, true);
  makeListLabel(panAvvio, "lblRigo06", kRigo06, QRect(24, 78, 814, 20), 10, true);

  const QFont captionFont = windowFont("Verdana", 9, true);
  const QFont fieldFont = windowFont("Verdana", 12, true);
  const int n = int(filters_.size());
  const int perColumn = (n + 1) / 2;
  std::vector<Field> chain;
  for (int i = 0; i < n; ++i) {
    const SearchFilter& f = filters_[i];
    const int x = i < perColumn ? 24 : 443;
    const int y = 104 + (i % perColumn) * 68;
    auto* caption = new QLabel(f.caption.toString(), panAvvio);
    caption->setObjectName(u"lbl"_qs + QString::fromLatin1(f.name + 3));
    caption->setFont(captionFont);
    caption->setGeometry(x, y, 395, 22);
    auto* field = new QLineEdit(panAvvio);
    field->setObjectName(QString::fromLatin1(f.name));
    field->setFont(fieldFont);
    field->setGeometry(x, y + 24, 395, 32);
    caption->setBuddy(field);
    chain.push_back({.name = f.name, .enterTo = filters_[(i + 1) % n].name, .frame = true});
  }
  setFields(this, chain);

  lblAttendere = new QLabel(kWait.toString(), panAvvio);
  lblAttendere->setObjectName(u"lblAttendere"_qs);
  lblAttendere->setFont(windowFont("Verdana", 12));
  lblAttendere->setStyleSheet(u"color: #008B8B;"_qs);
  lblAttendere->setGeometry(24, 470, 560, 28);
  lblAttendere->hide();
  followList(panAvvio, Follow::Centre);
  lblConta = new QLabel(u"0"_qs, panAvvio);
  lblConta->setObjectName(u"lblConta"_qs);
  lblConta->hide();

  QPushButton* btnCerca = makeListButton(panAvvio, u"btnCerca"_qs, u"Cerca"_qs, 620);
  QPushButton* btnAnnulla = makeListButton(panAvvio, u"btnAnnulla"_qs, u"Chiudi"_qs, 736);
  // The wait text goes up as the button goes down, before the search blocks.
  connect(btnCerca, &QPushButton::pressed, this, [this] {
    lblAttendere->show();
    lblAttendere->repaint();
  });
  connect(btnCerca, &QPushButton::clicked, this, &SearchWindow::btnCercaClick);
  connect(btnAnnulla, &QPushButton::clicked, this, &SearchWindow::btnAnnullaClick);
}

void SearchWindow::FormShow() {
  resetFind();
  requireControl(this, QString::fromLatin1(filters_.front().name))->setFocus();
}

void SearchWindow::btnCercaClick() {
  std::vector<FieldFilter> typed;
  for (const SearchFilter& f : filters_)
    typed.push_back({f.field, requireControl<QLineEdit>(this, QString::fromLatin1(f.name))->text()});
  const FilterSet set(typed);
  lblConta->setText(QString::number(set.activeCount()));
  ListEntries entries;
  try {
    entries = search(set);
  } catch (const ArchiveError&) {
    lblAttendere->hide();
    message(this, archiveAccessMessage());
    return;
  }
  showLines(linesOf(entries));
  panContainer->show();
  panAvvio->hide();
  txtTrova->clear();
  txtTrova->setFocus();
}

void SearchWindow::lstRecordsDblClick() {
  const QString line = lstRecords->selectedText();
  if (!trimControl(line).isEmpty()) pick(line);
  close();
}

void SearchWindow::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void SearchWindow::btnAnnullaClick() { close(); }

void SearchWindow::FormClose() {
  lstRecords->clear();
  lblAttendere->hide();
}

}  // namespace fondaro::gui
