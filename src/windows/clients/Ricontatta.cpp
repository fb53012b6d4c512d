#include "clients/Ricontatta.h"

#include <QPushButton>

#include "gui/application.h"

namespace fondaro {

TfrmRicontatta::TfrmRicontatta(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmRicontatta"_qs);
  setWindowTitle(u" Riepilogo persone da ricontattare"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);

  auto* btnChiudi = new QPushButton(u"Chiudi"_qs, this);
  btnChiudi->setObjectName(u"btnChiudi"_qs);
  btnChiudi->setGeometry(736, 512, 110, 32);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmRicontatta::btnChiudiClick);
}

void TfrmRicontatta::btnChiudiClick() { close(); }

}  // namespace fondaro
