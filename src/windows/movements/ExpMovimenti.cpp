#include "movements/ExpMovimenti.h"

namespace fondaro {

TfrmExpMovimenti::TfrmExpMovimenti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmExpMovimenti"_qs);
  setWindowTitle(u" Esporta archivio movimenti in Microsoft Excel"_qs);
  setFixedSize(862, 560);
}

}  // namespace fondaro
