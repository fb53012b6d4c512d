#include "movements/StampaMovimento.h"

#include "gui/application.h"

namespace fondaro {

// Centred on the editor that opens it.
TfrmStampaMovimento::TfrmStampaMovimento(QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmStampaMovimento"_qs);
  setWindowTitle(u" Stampa scheda corrente"_qs);
  gui::setFormatSettings();
  setFixedSize(364, 287);
}

}  // namespace fondaro
