#include "movements/StampaMovimento.h"

#include "gui/application.h"

namespace fondaro {

TfrmStampaMovimento::TfrmStampaMovimento(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmStampaMovimento"_qs);
  setWindowTitle(u" Stampa scheda corrente"_qs);
  gui::setFormatSettings();
  resize(420, 220);
}

}  // namespace fondaro
