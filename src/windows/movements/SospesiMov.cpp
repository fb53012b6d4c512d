#include "movements/SospesiMov.h"

#include "gui/application.h"

namespace fondaro {

TfrmSospesiMov::TfrmSospesiMov(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmSospesiMov"_qs);
  setWindowTitle(u" Riepilogo pagamenti in scadenza o scaduti"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);
}

}  // namespace fondaro
