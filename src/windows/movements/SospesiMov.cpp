#include "movements/SospesiMov.h"

#include <QPushButton>

#include "gui/application.h"

namespace fondaro {

TfrmSospesiMov::TfrmSospesiMov(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmSospesiMov"_qs);
  setWindowTitle(u" Riepilogo pagamenti in scadenza o scaduti"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);

  auto* btnChiudi = new QPushButton(u"Chiudi"_qs, this);
  btnChiudi->setObjectName(u"btnChiudi"_qs);
  btnChiudi->setGeometry(736, 512, 110, 32);
  connect(btnChiudi, &QPushButton::clicked, this, &TfrmSospesiMov::btnChiudiClick);
}

void TfrmSospesiMov::btnChiudiClick() { close(); }

}  // namespace fondaro
