// SPDX-License-Identifier: GPL-3.0-or-later
#include "clients/TrovaClienti.h"

#include "core/archive.h"
#include "core/card.h"
#include "gui/application.h"
#include "gui/controls.h"
#include "gui/programfolder.h"

namespace fondaro {

namespace {

// In focus and Enter-chain order; the last goes back to the first.
const gui::SearchFilter kFilters[] = {
    {"txtCliente", u"Cognome e nome:", cli::Cliente},
    {"txtComuneRes", u"Comune di residenza:", cli::ComuneRes},
    {"txtPartitaIva", u"Partita IVA:", cli::PartitaIva},
    {"txtCodFisc", u"Codice fiscale:", cli::CodFisc},
    {"txtDocumento", u"Estremi documento:", cli::Documento},
    {"txtOccupazione", u"Occupazione:", cli::Occupazione},
    {"txtProdotti", u"Prodotti e servizi di interesse:", cli::Prodotti},
    {"txtZona", u"Zona di appartenenza:", cli::Zona},
    {"txtQuestioni", u"Questioni in sospeso:", cli::Questioni},
    {"txtNote", u"Note:", cli::Note},
};

}  // namespace

TfrmTrovaClienti::TfrmTrovaClienti(QWidget* owner) : SearchWindow(owner, kFilters) {
  setObjectName(u"frmTrovaClienti"_qs);
  setWindowTitle(u" Trova pagatori e beneficiari in archivio"_qs);
  setPrintTitle(u"Riepilogo pagatori e beneficiari"_qs);
  setLongestLine(ListKind<TCliente>::longest());
}

ListEntries TfrmTrovaClienti::search(const FilterSet& filters) {
  auto archive = ClientArchive::OpenOrCreate(clientArchivePath(gui::programFolder()));
  ListEntries entries = searchList(archive, filters);
  archive.Close();
  return entries;
}

void TfrmTrovaClienti::pick(const QString& line) {
  picked_ = gui::chosenRecord<TCliente>(clientArchivePath(gui::programFolder()), line);
}

}  // namespace fondaro
