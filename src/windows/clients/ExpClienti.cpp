#include "clients/ExpClienti.h"

namespace fondaro {

TfrmExpClienti::TfrmExpClienti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmExpClienti"_qs);
  setWindowTitle(u" Esporta archivio pagatori e beneficiari in Microsoft Excel"_qs);
  setFixedSize(862, 560);
}

}  // namespace fondaro
