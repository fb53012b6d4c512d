// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/clientexport.h"

namespace fondaro {

namespace {

// The two places, of birth and of residence, join the town and its province
// with one blank; the other columns are fields as stored.
constexpr ExportField<TCliente> kFields[] = {
    {{"colCliente", "Cognome e nome", 250, "Cognome e nome", 250}, cli::Cliente},
    {{"colDataNasc", "Data di nascita", 120, "Data di nascita", 200, false, CellKind::Date}, cli::DataNasc},
    {{"colComuneNasc", "Comune / Stato estero di nascita", 250, "Comune di nascita", 250},
     cli::ComuneNasc,
     CellSource::Joined,
     cli::ProvNasc},
    {{"colRecapito", "Recapito preferenziale", 200, "Recapito preferenziale", 250}, cli::Recapito},
    {{"colIndirizzoRes", "Indirizzo di residenza", 250, "Indirizzo di residenza", 300}, cli::IndirizzoRes},
    {{"colComuneRes", "Comune di residenza", 250, "Comune di residenza", 250, true},
     cli::ComuneRes,
     CellSource::Joined,
     cli::ProvRes},
    {{"colEstremi", "Modalità di pagamento", 250, "Modalità di pagamento", 250}, cli::Estremi},
    {{"colTelCasa", "Tel. casa", 200, "Tel. casa", 250}, cli::TelCasa},
    {{"colTelUff", "Tel. ufficio", 200, "Tel. ufficio", 250}, cli::TelUff},
    {{"colTelCel", "Tel. cellulare", 200, "Tel. cellulare", 250}, cli::TelCel},
    {{"colFax", "Fax", 200, "Fax", 250}, cli::Fax},
    {{"colEmail", "E-mail", 250, "E-mail", 250}, cli::Email},
    {{"colCodFisc", "Codice fiscale", 150, "Codice fiscale", 250}, cli::CodFisc},
    {{"colPartitaIva", "Partita IVA", 150, "Partita IVA", 250, true}, cli::PartitaIva},
    {{"colCarta", "Carta di credito n.", 250, "Carta di credito n.", 300}, cli::Carta},
    {{"colScadeCarta", "Scadenza", 160, "Scadenza", 150, true}, cli::ScadeCarta},
    {{"colIban", "IBAN", 250, "IBAN", 300, true}, cli::Iban},
    {{"colDocumento", "Estremi documento", 280, "Estremi documento", 280, true}, cli::Documento},
    {{"colOccupazione", "Occupazione", 250, "Occupazione", 250, true}, cli::Occupazione},
    {{"colCivile", "Stato civile", 250, "Stato civile", 250}, cli::Civile},
    {{"colTitoli", "Titoli e qualifiche", 280, "Titoli e qualifiche", 280, true}, cli::Titoli},
    {{"colProdotti", "Prodotti e servizi di interesse", 300, "Prodotti e servizi di interesse", 300},
     cli::Prodotti},
    {{"colZona", "Zona di appartenenza", 250, "Zona di appartenenza", 250}, cli::Zona},
    {{"colQuestioni", "Questioni in sospeso", 300, "Questioni in sospeso", 300, true}, cli::Questioni},
    {{"colNote", "Note", 350, "Note", 300, true}, cli::Note},
};
constexpr RecordExport kExport(kClientSheetName, kFields, 200);

}  // namespace

std::span<const ExportColumn> clientExportColumns() { return kExport.columns; }
void fillClientExport(const ClientArchive& a, TextTable& rows, qint64& n, const ProgressFn& progress) {
  kExport.fill(a, rows, n, progress);
}
TextTable readClientExport(const ClientArchive& archive) { return kExport.read(archive); }
QByteArray clientExportDocument(const TextTable& rows, const ProgressFn& progress) {
  return kExport.document(rows, progress);
}

}  // namespace fondaro
