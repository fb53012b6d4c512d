// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/movementexport.h"

namespace fondaro {

namespace {

// "Tipo movimento" is the flag Entrata in words; the other columns are fields
// as stored.
constexpr ExportField<TMovimento> kFields[] = {
    {.column = {"colTipo", "Tipo movimento", 150, "Tipo movimento", 150},
     .field = mov::Entrata,
     .source = CellSource::Flag,
     .yes = "Entrata",
     .no = "Uscita"},
    {{"colData", "Data operazione", 150, "Data operazione", 180, false, CellKind::Date}, mov::Data},
    {{"colCausale", "Causale", 300, "Causale", 300}, mov::Causale},
    {{"colPromemoria", "Promemoria", 300, "Promemoria", 300}, mov::Promemoria},
    {{"colDataSca", "Data scadenza", 150, "Data scadenza", 180, false, CellKind::Date}, mov::DataSca},
    {{"colPreavviso", "Giorni preavviso", 120, "Giorni preavviso", 150, false, CellKind::Count},
     mov::Preavviso},
    {{"colTotale", "Importo in euro", 150, "Importo in euro", 150, false, CellKind::Amount}, mov::Totale},
    {{"colPagatore", "Pagatore", 250, "Pagatore", 250}, mov::Pagatore},
    {{"colRecapitoPag", "Recapito", 250, "Recapito", 250}, mov::RecapitoPag},
    {{"colCodFisc", "Codice fiscale", 200, "Codice fiscale", 200}, mov::CodFisc},
    {{"colPartitaIva", "Partita IVA", 180, "Partita IVA", 180}, mov::PartitaIva},
    {{"colCategoria", "Categoria", 250, "Categoria", 250}, mov::Categoria},
    {{"colEmail", "E-mail", 200, "E-mail", 250}, mov::Email},
    {{"colPagamento", "Modalità pagamento", 250, "Modalità pagamento", 250}, mov::Pagamento},
    {{"colBeneficiario", "Beneficiario", 250, "Beneficiario", 250}, mov::Beneficiario},
    {{"colRecapitoBen", "Recapito", 250, "Recapito", 250}, mov::RecapitoBen},
    {{"colRicevuta", "CRO o Ricevuta n.", 250, "CRO o Ricevuta n.", 250}, mov::Ricevuta},
    {{"colNote", "Note", 300, "Note", 300, true}, mov::Note},
    {{"colTariffa", "Tariffa applicata", 250, "Tariffa applicata", 250}, mov::Tariffa},
    {{"colSaldato", "Saldato", 100, "Saldato", 120, true}, mov::Saldato},
};
constexpr RecordExport kExport(kMovementSheetName, kFields, 160);

}  // namespace

std::span<const ExportColumn> movementExportColumns() { return kExport.columns; }
void fillMovementExport(const MovementArchive& a, TextTable& rows, qint64& n, const ProgressFn& progress) {
  kExport.fill(a, rows, n, progress);
}
TextTable readMovementExport(const MovementArchive& archive) { return kExport.read(archive); }
QByteArray movementExportDocument(const TextTable& rows, const ProgressFn& progress) {
  return kExport.document(rows, progress);
}

}  // namespace fondaro
