#include "movements/ExpMovimenti.h"

#include "gui/widgets.h"

namespace fondaro {

TfrmExpMovimenti::TfrmExpMovimenti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmExpMovimenti"_qs);
  setWindowTitle(u" Esporta archivio movimenti in Microsoft Excel"_qs);
  setFixedSize(862, 560);

  auto* cmdEsci = new gui::PictureButton(u"cmdEsci"_qs, gui::art(u"ico_esci"_qs), u"Esci"_qs, this);
  const QSize s = cmdEsci->iconSize() + QSize(4, 4);
  cmdEsci->setGeometry(846 - s.width(), 544 - s.height(), s.width(), s.height());
  connect(cmdEsci, &QToolButton::clicked, this, &TfrmExpMovimenti::cmdEsciClick);
}

void TfrmExpMovimenti::cmdEsciClick() { close(); }

}  // namespace fondaro
