// SPDX-License-Identifier: GPL-3.0-or-later
#include "movements/TrovaMovimenti.h"

#include "core/archive.h"
#include "gui/application.h"

namespace fondaro {

namespace {

// In focus and Enter-chain order; the last goes back to the first.
const gui::SearchFilter kFilters[] = {
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

}  // namespace

TfrmTrovaMovimenti::TfrmTrovaMovimenti(QWidget* owner, const QString& archivePath)
    : SearchWindow(owner, kFilters), archivePath_(archivePath) {
  setObjectName(u"frmTrovaMovimenti"_qs);
  setWindowTitle(u" Trova movimenti in archivio"_qs);
  setPrintTitle(u"Riepilogo movimenti in archivio"_qs);
  setLongestLine(ListKind<TMovimento>::longest());
}

ListEntries TfrmTrovaMovimenti::search(const FilterSet& filters) {
  auto archive = MovementArchive::OpenOrCreate(archivePath_);
  ListEntries entries = searchList(archive, filters);
  archive.Close();
  return entries;
}

void TfrmTrovaMovimenti::pick(const QString& line) {
  picked_ = gui::chosenRecord<TMovimento>(archivePath_, line);
}

}  // namespace fondaro
