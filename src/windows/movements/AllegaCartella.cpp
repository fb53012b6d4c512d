#include "movements/AllegaCartella.h"

#include <QPushButton>

namespace fondaro {

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmAllegaCartella"_qs);
  setWindowTitle(u" Allega file"_qs);
  gui::makeMemoryLabel(this);
  setFixedSize(634, 534);

  auto* btnAnnulla = new QPushButton(u"Annulla"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(508, 486, 110, 32);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmAllegaCartella::btnAnnullaClick);
}

void TfrmAllegaCartella::btnAnnullaClick() { close(); }

}  // namespace fondaro
