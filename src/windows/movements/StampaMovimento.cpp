#include "movements/StampaMovimento.h"

#include <QPushButton>

#include "gui/application.h"

namespace fondaro {

// Centred on the editor that opens it.
TfrmStampaMovimento::TfrmStampaMovimento(QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmStampaMovimento"_qs);
  setWindowTitle(u" Stampa scheda corrente"_qs);
  gui::setFormatSettings();
  setFixedSize(364, 287);

  auto* btnAnnulla = new QPushButton(u"Annulla"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(238, 239, 110, 32);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmStampaMovimento::btnAnnullaClick);
}

void TfrmStampaMovimento::btnAnnullaClick() { close(); }

}  // namespace fondaro
