#include "clients/TrovaClienti.h"

#include <QPushButton>

#include "gui/application.h"

namespace fondaro {

TfrmTrovaClienti::TfrmTrovaClienti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmTrovaClienti"_qs);
  setWindowTitle(u" Trova pagatori e beneficiari in archivio"_qs);
  gui::setFormatSettings();
  gui::makeMemoryLabel(this);
  setFixedSize(862, 560);

  auto* btnAnnulla = new QPushButton(u"Chiudi"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(736, 512, 110, 32);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmTrovaClienti::btnAnnullaClick);
}

void TfrmTrovaClienti::btnAnnullaClick() { close(); }

}  // namespace fondaro
