#include "core/movementexport.h"

namespace fondaro {

namespace {

constexpr ExportColumn kColumns[] = {
    {"colTipo", "Tipo movimento", 150, "Tipo movimento", 150},
    {"colData", "Data operazione", 150, "Data operazione", 180, false, CellKind::Date},
    {"colCausale", "Causale", 300, "Causale", 300},
    {"colPromemoria", "Promemoria", 300, "Promemoria", 300},
    {"colDataSca", "Data scadenza", 150, "Data scadenza", 180, false, CellKind::Date},
    {"colPreavviso", "Giorni preavviso", 120, "Giorni preavviso", 150, false, CellKind::Count},
    {"colTotale", "Importo in euro", 150, "Importo in euro", 150, false, CellKind::Amount},
    {"colPagatore", "Pagatore", 250, "Pagatore", 250},
    {"colRecapitoPag", "Recapito", 250, "Recapito", 250},
    {"colCodFisc", "Codice fiscale", 200, "Codice fiscale", 200},
    {"colPartitaIva", "Partita IVA", 180, "Partita IVA", 180},
    {"colCategoria", "Categoria", 250, "Categoria", 250},
    {"colEmail", "E-mail", 200, "E-mail", 250},
    {"colPagamento", "Modalit\xC3\xA0 pagamento", 250, "Modalit\xC3\xA0 pagamento", 250},
    {"colBeneficiario", "Beneficiario", 250, "Beneficiario", 250},
    {"colRecapitoBen", "Recapito", 250, "Recapito", 250},
    {"colRicevuta", "CRO o Ricevuta n.", 250, "CRO o Ricevuta n.", 250},
    {"colNote", "Note", 300, "Note", 300, true},
    {"colTariffa", "Tariffa applicata", 250, "Tariffa applicata", 250},
    {"colSaldato", "Saldato", 100, "Saldato", 120, true},
};
constexpr int kColumnCount = int(std::size(kColumns));

// The record field behind each column after "Tipo movimento".
constexpr mov::Field kFields[kColumnCount - 1] = {
    mov::Data,      mov::Causale,      mov::Promemoria, mov::DataSca,  mov::Preavviso,
    mov::Totale,    mov::Pagatore,     mov::RecapitoPag, mov::CodFisc, mov::PartitaIva,
    mov::Categoria, mov::Email,        mov::Pagamento,  mov::Beneficiario, mov::RecapitoBen,
    mov::Ricevuta,  mov::Note,         mov::Tariffa,    mov::Saldato,
};

// The row of one record: its type from the flag Entrata, then the fields.
void fillRow(const MovimentoView& v, std::span<QByteArrayView> cells) {
  static const QByteArrayView kEntrata("Entrata");
  static const QByteArrayView kUscita("Uscita");
  const QByteArrayView in = trimmedBytes(storedBytes(v, mov::Entrata));
  cells[0] = in == QByteArrayView("S\xEC") ? kEntrata : in == QByteArrayView("No") ? kUscita : QByteArrayView();
  for (int c = 1; c < kColumnCount; ++c) cells[c] = storedBytes(v, kFields[c - 1]);
}

}  // namespace

std::span<const ExportColumn> movementExportColumns() { return kColumns; }

void fillMovementExport(const MovementArchive& archive, TextTable& rows, qint64& records) {
  fillExportRows(archive, rows, records, 160, fillRow);
}

TextTable readMovementExport(const MovementArchive& archive) {
  TextTable rows(kColumnCount);
  qint64 records = 0;
  fillMovementExport(archive, rows, records);
  return rows;
}

QByteArray movementExportDocument(const TextTable& rows) {
  return exportDocument(QString::fromUtf8(kMovementSheetName), kColumns, rows);
}

}  // namespace fondaro
