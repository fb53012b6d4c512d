#include "clients/ExpClienti.h"

#include "gui/widgets.h"

namespace fondaro {

TfrmExpClienti::TfrmExpClienti(QWidget* owner) : Form(owner, Kind::Dialog) {
  setObjectName(u"frmExpClienti"_qs);
  setWindowTitle(u" Esporta archivio pagatori e beneficiari in Microsoft Excel"_qs);
  setFixedSize(862, 560);

  auto* cmdEsci = new gui::PictureButton(u"cmdEsci"_qs, gui::art(u"ico_esci"_qs), u"Esci"_qs, this);
  const QSize s = cmdEsci->iconSize() + QSize(4, 4);
  cmdEsci->setGeometry(846 - s.width(), 544 - s.height(), s.width(), s.height());
  connect(cmdEsci, &QToolButton::clicked, this, &TfrmExpClienti::cmdEsciClick);
}

void TfrmExpClienti::cmdEsciClick() { close(); }

}  // namespace fondaro
