#include "movements/AllegaCartella.h"

namespace fondaro {

TfrmAllegaCartella::TfrmAllegaCartella(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmAllegaCartella"_qs);
  setWindowTitle(u" Allega file"_qs);
  gui::makeMemoryLabel(this);
  setFixedSize(634, 534);
}

}  // namespace fondaro
