#include "movements/TrovaMovimenti.h"

#include <QPushButton>

#include "gui/application.h"

namespace fondaro {

TfrmTrovaMovimenti::TfrmTrovaMovimenti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmTrovaMovimenti"_qs);
  setWindowTitle(u" Trova movimenti in archivio"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this);
  setFixedSize(862, 560);

  auto* btnAnnulla = new QPushButton(u"Chiudi"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(736, 512, 110, 32);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmTrovaMovimenti::btnAnnullaClick);
}

void TfrmTrovaMovimenti::btnAnnullaClick() { close(); }

}  // namespace fondaro
