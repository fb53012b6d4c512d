#include "movements/TrovaMovimenti.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowSet.h"
#include "core/archive.h"
#include "core/lists.h"
#include "gui/application.h"
#include "gui/fields.h"
#include "gui/messages.h"
#include "movements/Movimenti.h"
#include "movements/movementlists.h"

namespace fondaro {

namespace {

struct Filter {
  const char* name;
  QStringView caption;
  mov::Field field;
};

// In focus and Enter-chain order; the last goes back to the first.
const Filter kFilters[] = {
    {"txtData", u"Data operazione (gg/mm/aaaa):", mov::Data},
    {"txtDataSca", u"Data scadenza (gg/mm/aaaa):", mov::DataSca},
    {"txtCausale", u"Causale:", mov::Causale},
    {"txtPromemoria", u"Promemoria:", mov::Promemoria},
    {"txtPagatore", u"Pagatore:", mov::Pagatore},
    {"txtCategoria", u"Categoria:", mov::Categoria},
    {"txtBeneficiario", u"Beneficiario:", mov::Beneficiario},
    {"txtRicevuta", u"CRO / Ricevuta n.", mov::Ricevuta},
    {"txtTariffa", u"Tariffa applicata:", mov::Tariffa},
    {"txtNote", u"Note:", mov::Note},
};

constexpr QStringView kWait = u"Ricerca schede in corso. Attendere...";
constexpr QStringView kRigo04 =
    u"Immettere nei campi prescelti una o pi\u00F9 parole consecutive presenti nelle schede da trovare e "
    u"premere il pulsante Cerca.";
constexpr QStringView kRigo05 = u"Lasciare in bianco tutti gli altri campi.";
constexpr QStringView kRigo06 =
    u"Per ogni ricerca \u00E8 possibile utilizzare uno o pi\u00F9 campi contemporaneamente.";

QString countSentence(int n) {
  return u"Il presente riepilogo contiene "_qs + QString::number(n) + u" schede."_qs;
}

}  // namespace

TfrmTrovaMovimenti::TfrmTrovaMovimenti(QWidget* owner) : ListWindow(owner, Kind::Dialog) {
  setObjectName(u"frmTrovaMovimenti"_qs);
  setWindowTitle(u" Trova movimenti in archivio"_qs);
  gui::setFormatSettings();
  setFixedSize(862, 560);
  buildFilters();
  buildResults();
}

void TfrmTrovaMovimenti::buildFilters() {
  panAvvio = new QWidget(this);
  panAvvio->setObjectName(u"panAvvio"_qs);
  panAvvio->setGeometry(0, 0, 862, 560);
  gui::makeListLabel(panAvvio, "lblRigo04", kRigo04, QRect(24, 14, 814, 40), 10, true);
  gui::makeListLabel(panAvvio, "lblRigo05", kRigo05, QRect(24, 56, 814, 20), 10, true);
  gui::makeListLabel(panAvvio, "lblRigo06", kRigo06, QRect(24, 78, 814, 20), 10, true);

  const QFont captionFont = gui::windowFont("Verdana", 9, true);
  const QFont fieldFont = gui::windowFont("Verdana", 12, true);
  for (int i = 0; i < 10; ++i) {
    const Filter& f = kFilters[i];
    const int x = i < 5 ? 24 : 443;
    const int y = 104 + (i % 5) * 68;
    auto* caption = new QLabel(f.caption.toString(), panAvvio);
    caption->setObjectName(u"lbl"_qs + QString::fromLatin1(f.name + 3));
    caption->setFont(captionFont);
    caption->setGeometry(x, y, 395, 22);
    auto* field = new QLineEdit(panAvvio);
    field->setObjectName(QString::fromLatin1(f.name));
    field->setFont(fieldFont);
    field->setGeometry(x, y + 24, 395, 32);
    caption->setBuddy(field);
  }
  txtData = panAvvio->findChild<QLineEdit*>(u"txtData"_qs);
  gui::setFields(this, {
                           {.name = "txtData", .enterTo = "txtDataSca", .frame = true},
                           {.name = "txtDataSca", .enterTo = "txtCausale", .frame = true},
                           {.name = "txtCausale", .enterTo = "txtPromemoria", .frame = true},
                           {.name = "txtPromemoria", .enterTo = "txtPagatore", .frame = true},
                           {.name = "txtPagatore", .enterTo = "txtCategoria", .frame = true},
                           {.name = "txtCategoria", .enterTo = "txtBeneficiario", .frame = true},
                           {.name = "txtBeneficiario", .enterTo = "txtRicevuta", .frame = true},
                           {.name = "txtRicevuta", .enterTo = "txtTariffa", .frame = true},
                           {.name = "txtTariffa", .enterTo = "txtNote", .frame = true},
                           {.name = "txtNote", .enterTo = "txtData", .frame = true},
                       });

  lblAttendere = new QLabel(kWait.toString(), panAvvio);
  lblAttendere->setObjectName(u"lblAttendere"_qs);
  lblAttendere->setFont(gui::windowFont("Verdana", 12));
  lblAttendere->setStyleSheet(u"color: #008B8B;"_qs);
  lblAttendere->setGeometry(24, 470, 560, 28);
  lblAttendere->hide();
  lblConta = new QLabel(u"0"_qs, panAvvio);
  lblConta->setObjectName(u"lblConta"_qs);
  lblConta->hide();
  gui::makeMemoryLabel(panAvvio)->hide();

  btnCerca = new QPushButton(u"Cerca"_qs, panAvvio);
  btnCerca->setObjectName(u"btnCerca"_qs);
  btnCerca->setFont(gui::windowFont("Verdana", 10, true));
  btnCerca->setGeometry(620, 508, 110, 34);
  auto* btnAnnulla = new QPushButton(u"Chiudi"_qs, panAvvio);
  btnAnnulla->setObjectName(u"btnAnnulla"_qs);
  btnAnnulla->setFont(gui::windowFont("Verdana", 10, true));
  btnAnnulla->setGeometry(736, 508, 110, 34);

  // The wait text goes up as the button goes down, before the search blocks.
  connect(btnCerca, &QPushButton::pressed, this, [this] {
    lblAttendere->show();
    lblAttendere->repaint();
  });
  connect(btnCerca, &QPushButton::clicked, this, &TfrmTrovaMovimenti::btnCercaClick);
  connect(btnAnnulla, &QPushButton::clicked, this, &TfrmTrovaMovimenti::btnAnnullaClick);
}

void TfrmTrovaMovimenti::buildResults() {
  panContainer = new QWidget(this);
  panContainer->setObjectName(u"panContainer"_qs);
  panContainer->setGeometry(0, 0, 862, 560);
  panContainer->hide();
  movementlists::resultHints(panContainer);
  makeFind(panContainer, QRect(16, 66, 600, 34), QRect(630, 66, 110, 34));
  makeList(panContainer, QRect(16, 112, 830, 352));
  lblTrovate = new QLabel(panContainer);
  lblTrovate->setObjectName(u"lblTrovate"_qs);
  lblTrovate->setFont(gui::windowFont("Verdana", 10, true));
  lblTrovate->setStyleSheet(u"color: #008B8B;"_qs);
  lblTrovate->setGeometry(16, 470, 600, 24);
  setCountLabel(lblTrovate, countSentence);
  gui::setFields(this, {{.name = "txtTrova", .enterTo = "btnTrova"}});

  const movementlists::ListButtons buttons = movementlists::listButtons(panContainer);
  connect(buttons.btnStampa, &QPushButton::clicked, this, &TfrmTrovaMovimenti::btnStampaClick);
  connect(buttons.btnChiudi, &QPushButton::clicked, this, &TfrmTrovaMovimenti::btnChiudiClick);
}

void TfrmTrovaMovimenti::FormShow() {
  resetFind();
  txtData->setFocus();
}

void TfrmTrovaMovimenti::btnCercaClick() {
  std::vector<FieldFilter> filters;
  for (const Filter& f : kFilters)
    filters.push_back({f.field, panAvvio->findChild<QLineEdit*>(QString::fromLatin1(f.name))->text()});
  const FilterSet set(filters);
  lblConta->setText(QString::number(set.activeCount()));
  ListEntries entries;
  try {
    auto archive = MovementArchive::OpenOrCreate(trimmedText(windowSet().frmMovimenti->archiveFile()));
    entries = searchList(archive, set);
    archive.Close();
  } catch (const ArchiveError&) {
    lblAttendere->hide();
    gui::message(this, archiveAccessMessage());
    return;
  }
  showLines(linesOf(entries));
  panContainer->show();
  panAvvio->hide();
  txtTrova->clear();
  txtTrova->setFocus();
}

void TfrmTrovaMovimenti::btnStampaClick() {
  gui::printList(this, gui::ListPrintout::Riepilogo, u"Riepilogo movimenti in archivio"_qs, lstRecords->lines());
}

void TfrmTrovaMovimenti::lstRecordsDblClick() {
  if (gui::memoryMode(this) == gui::mode::Movimenti) movementlists::loadChosenLine(lstRecords->selectedText());
  close();
}

void TfrmTrovaMovimenti::lineChosen(int row) {
  lstRecords->selectRow(row);
  lstRecordsDblClick();
}

void TfrmTrovaMovimenti::btnChiudiClick() { close(); }

void TfrmTrovaMovimenti::btnAnnullaClick() { close(); }

void TfrmTrovaMovimenti::FormClose() {
  lstRecords->clear();
  lblAttendere->hide();
}

}  // namespace fondaro
