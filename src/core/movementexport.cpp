#include "core/movementexport.h"

#include <array>

namespace fondaro {

namespace {

constexpr ExportColumn kColumns[] = {
    {"colTipo", "Tipo movimento", 150, "Tipo movimento", 150},
    {"colData", "Data operazione", 150, "Data operazione", 180},
    {"colCausale", "Causale", 300, "Causale", 300},
    {"colPromemoria", "Promemoria", 300, "Promemoria", 300},
    {"colDataSca", "Data scadenza", 150, "Data scadenza", 180},
    {"colPreavviso", "Giorni preavviso", 120, "Giorni preavviso", 150},
    {"colTotale", "Importo in euro", 150, "Importo in euro", 150},
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

QByteArrayView storedText(const MovimentoView& v, mov::Field f) {
  const uint8_t* slot = v.slot(f);
  return QByteArrayView(reinterpret_cast<const char*>(slot + 1), v.length(f));
}

QByteArrayView trimmedView(QByteArrayView b) {
  while (!b.isEmpty() && uchar(b.front()) <= 0x20) b = b.sliced(1);
  while (!b.isEmpty() && uchar(b.back()) <= 0x20) b.chop(1);
  return b;
}

}  // namespace

std::span<const ExportColumn> movementExportColumns() { return kColumns; }

qint64 appendMovementRows(const MovementArchive& archive, TextTable& rows) {
  static const QByteArrayView kEntrata("Entrata");
  static const QByteArrayView kUscita("Uscita");
  qint64 added = 0;
  std::array<QByteArrayView, kColumnCount> cells;
  archive.Scan([&](qint64, MovimentoView v) {
    const QByteArrayView in = trimmedView(storedText(v, mov::Entrata));
    cells[0] = in == QByteArrayView("S\xEC") ? kEntrata : in == QByteArrayView("No") ? kUscita : QByteArrayView();
    for (int c = 1; c < kColumnCount; ++c) cells[c] = storedText(v, kFields[c - 1]);
    rows.appendRow(cells);
    ++added;
  });
  return added;
}

void completeExportRows(TextTable& rows, qint64 records) {
  if (records <= 0) {
    if (rows.rowCount() == 0) rows.appendEmptyRows(kDesignedExportRows);
    return;
  }
  if (rows.rowCount() < records) rows.appendEmptyRows(records - rows.rowCount());
}

TextTable readMovementExport(const MovementArchive& archive) {
  TextTable rows(kColumnCount);
  const qint64 records = archive.Count();
  rows.reserve(records, records * 160);
  appendMovementRows(archive, rows);
  completeExportRows(rows, records);
  return rows;
}

QByteArray movementExportDocument(const TextTable& rows) {
  const std::vector<SheetColumn> columns = sheetColumns(kColumns);
  return spreadsheetDocument(QString::fromUtf8(kMovementSheetName), columns, rows);
}

}  // namespace fondaro
