#include "movements/StampaMovimento.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include "WindowSet.h"
#include "gui/application.h"
#include "gui/print.h"
#include "gui/widgets.h"
#include "movements/Movimenti.h"
#include "report/templates.h"

namespace fondaro {

namespace {
// The card rows whose value is an editor field's text, by the name both share.
constexpr const char* kTextRows[] = {
    "txtData",        "txtCausale",   "txtPromemoria",  "txtDataSca",      "txtPreavviso",
    "txtImporto",     "txtPagatore",  "txtRecapitoPag", "txtCodFisc",      "txtPartitaIva",
    "txtCategoria",   "txtEmail",     "txtPagamento",   "txtBeneficiario", "txtRecapitoBen",
    "txtRicevuta",    "txtTariffa",   "txtNote",
};

QObject* control(const QWidget& editor, const char* name) {
  return editor.findChild<QObject*>(QString::fromLatin1(name));
}

// A field's text, whatever kind of edit control holds it, trimmed.
QString fieldText(const QWidget& editor, const char* name) {
  const QObject* c = control(editor, name);
  if (!c) return {};
  const QVariant plain = c->property("plainText");
  return (plain.isValid() ? plain : c->property("text")).toString().trimmed();
}

bool checked(const QWidget& editor, const char* name) {
  const QObject* c = control(editor, name);
  return c && c->property("checked").toBool();
}
}  // namespace

// Centred on the editor that opens it.
TfrmStampaMovimento::TfrmStampaMovimento(QWidget* owner)
    : Form(owner, Kind::Dialog, Placement::Owner) {
  setObjectName(u"frmStampaMovimento"_qs);
  setWindowTitle(u" Stampa scheda corrente"_qs);
  gui::setFormatSettings();
  setFixedSize(364, 287);
  setGradientBackground(true);

  auto* imgStampante =
      gui::makePicture(u"imgStampante"_qs, gui::art(u"stampante"_qs), u"Stampante"_qs, this);
  imgStampante->setGeometry(134, 28, 96, 96);

  auto* lblRigo01 = new QLabel(
      u"La scheda del movimento visualizzata viene stampata così come appare, "
      "sulla stampante predefinita del sistema."_qs,
      this);
  lblRigo01->setObjectName(u"lblRigo01"_qs);
  lblRigo01->setWordWrap(true);
  lblRigo01->setAlignment(Qt::AlignCenter);
  lblRigo01->setFont(gui::windowFont("Verdana", 9));
  lblRigo01->setGeometry(24, 140, 316, 72);

  auto* btnStampa = new QPushButton(u"Stampa"_qs, this);
  btnStampa->setObjectName(u"btnStampa"_qs);
  btnStampa->setGeometry(116, 239, 110, 32);
  btnStampa->setDefault(true);
  connect(btnStampa, &QPushButton::clicked, this, &TfrmStampaMovimento::btnStampaClick);

  auto* btnAnnulla = new QPushButton(u"Annulla"_qs, this);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setGeometry(238, 239, 110, 32);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmStampaMovimento::btnAnnullaClick);
}

report::Report TfrmStampaMovimento::cardReport(const QWidget& editor, const QDateTime& now) {
  report::Report card = report::movementCardReport();
  card.setOrientation(QPageLayout::Portrait);
  card.setText(u"txtTipo"_qs, checked(editor, "optEntrata") ? u"Entrata"_qs : u"Uscita"_qs);
  for (const char* name : kTextRows) card.setText(QString::fromLatin1(name), fieldText(editor, name));
  card.setText(u"txtSaldato"_qs, checked(editor, "chkSaldato") ? u"Sì"_qs : u"No"_qs);
  card.setText(u"txtCalce"_qs, u"Stampa eseguita in data "_qs + now.date().toString(u"dd/MM/yyyy"_qs) +
                                   u" alle ore "_qs + now.time().toString(u"HH:mm:ss"_qs));
  return card;
}

void TfrmStampaMovimento::btnStampaClick() {
  report::Report card = cardReport(*windowSet().frmMovimenti, QDateTime::currentDateTime());
  gui::print(this, card, gui::PrintTarget::Printer);
  close();
}

void TfrmStampaMovimento::btnAnnullaClick() { close(); }

}  // namespace fondaro
