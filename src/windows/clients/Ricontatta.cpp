#include "clients/Ricontatta.h"

#include "gui/application.h"

namespace fondaro {

TfrmRicontatta::TfrmRicontatta(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmRicontatta"_qs);
  setWindowTitle(u" Riepilogo persone da ricontattare"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);
}

}  // namespace fondaro
