// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/StampaMovimento.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>

#include "gui/application.h"
#include "gui/controls.h"
#include "gui/print.h"
#include "gui/widgets.h"
#include "report/templates.h"

namespace fondaro {

// Centred on the editor that opens it.
TfrmStampaMovimento::TfrmStampaMovimento(QWidget* owner, const MovementCard& card)
    : Form(owner, Kind::Dialog, Placement::Owner), card_(card) {
  setObjectName(u"frmStampaMovimento"_qs);
  setWindowTitle(u" Stampa scheda corrente"_qs);
  gui::setFormatSettings();
  setFixedSize(364, 287);
  setGradientBackground(true);

  auto* imgStampante =
      gui::makePicture(u"imgStampante"_qs, gui::art(u"stampante"_qs), u"Stampante"_qs, this);
  imgStampante->setGeometry(134, 28, 96, 96);

  auto* lblRigo01 = new QLabel(
      u"La scheda del movimento visualizzata viene stampata così come appare, "
      "sulla stampante predefinita del sistema."_qs,
      this);
  lblRigo01->setObjectName(u"lblRigo01"_qs);
  lblRigo01->setWordWrap(true);
  lblRigo01->setAlignment(Qt::AlignCenter);
  lblRigo01->setFont(gui::windowFont("Verdana", 9));
  lblRigo01->setGeometry(24, 140, 316, 72);

  auto* btnStampa = new QPushButton(u"Stampa"_qs, this);
  btnStampa->setObjectName(u"btnStampa"_qs);
  btnStampa->setGeometry(116, 239, 110, 32);
  btnStampa->setDefault(true);

  auto* btnAnnulla = new QPushButton(u"Annulla"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(238, 239, 110, 32);
  gui::connectClickSlots(this);
}

void TfrmStampaMovimento::btnStampaClick() {
  report::Report card = report::movementCardReport(card_, QDateTime::currentDateTime());
  gui::print(this, card, gui::PrintTarget::Printer);
  close();
}

void TfrmStampaMovimento::btnAnnullaClick() { close(); }

}  // namespace fondaro
