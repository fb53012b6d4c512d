#include "core/clientexport.h"

namespace fondaro {

namespace {

constexpr ExportColumn kColumns[] = {
    {"colCliente", "Cognome e nome", 250, "Cognome e nome", 250},
    {"colDataNasc", "Data di nascita", 120, "Data di nascita", 200, false, CellKind::Date},
    {"colComuneNasc", "Comune / Stato estero di nascita", 250, "Comune di nascita", 250},
    {"colRecapito", "Recapito preferenziale", 200, "Recapito preferenziale", 250},
    {"colIndirizzoRes", "Indirizzo di residenza", 250, "Indirizzo di residenza", 300},
    {"colComuneRes", "Comune di residenza", 250, "Comune di residenza", 250, true},
    {"colEstremi", "Modalit\xC3\xA0 di pagamento", 250, "Modalit\xC3\xA0 di pagamento", 250},
    {"colTelCasa", "Tel. casa", 200, "Tel. casa", 250},
    {"colTelUff", "Tel. ufficio", 200, "Tel. ufficio", 250},
    {"colTelCel", "Tel. cellulare", 200, "Tel. cellulare", 250},
    {"colFax", "Fax", 200, "Fax", 250},
    {"colEmail", "E-mail", 250, "E-mail", 250},
    {"colCodFisc", "Codice fiscale", 150, "Codice fiscale", 250},
    {"colPartitaIva", "Partita IVA", 150, "Partita IVA", 250, true},
    {"colCarta", "Carta di credito n.", 250, "Carta di credito n.", 300},
    {"colScadeCarta", "Scadenza", 160, "Scadenza", 150, true},
    {"colIban", "IBAN", 250, "IBAN", 300, true},
    {"colDocumento", "Estremi documento", 280, "Estremi documento", 280, true},
    {"colOccupazione", "Occupazione", 250, "Occupazione", 250, true},
    {"colCivile", "Stato civile", 250, "Stato civile", 250},
    {"colTitoli", "Titoli e qualifiche", 280, "Titoli e qualifiche", 280, true},
    {"colProdotti", "Prodotti e servizi di interesse", 300, "Prodotti e servizi di interesse", 300},
    {"colZona", "Zona di appartenenza", 250, "Zona di appartenenza", 250},
    {"colQuestioni", "Questioni in sospeso", 300, "Questioni in sospeso", 300, true},
    {"colNote", "Note", 350, "Note", 300, true},
};
constexpr int kColumnCount = int(std::size(kColumns));

// The field behind each column; the two places of birth and residence join
// the town and its province with one blank.
constexpr cli::Field kFields[kColumnCount] = {
    cli::Cliente,    cli::DataNasc,   cli::ComuneNasc, cli::Recapito,  cli::IndirizzoRes,
    cli::ComuneRes,  cli::Estremi,    cli::TelCasa,    cli::TelUff,    cli::TelCel,
    cli::Fax,        cli::Email,      cli::CodFisc,    cli::PartitaIva, cli::Carta,
    cli::ScadeCarta, cli::Iban,       cli::Documento,  cli::Occupazione, cli::Civile,
    cli::Titoli,     cli::Prodotti,   cli::Zona,       cli::Questioni, cli::Note,
};

// The row of one record; the two joined places are held here while the table
// takes the row.
struct ClientRow {
  QByteArray birth;
  QByteArray residence;

  void operator()(const ClienteView& v, std::span<QByteArrayView> cells) {
    for (int c = 0; c < kColumnCount; ++c) cells[c] = storedBytes(v, kFields[c]);
    cells[2] = joinPlace(birth, v, cli::ComuneNasc, cli::ProvNasc);
    cells[5] = joinPlace(residence, v, cli::ComuneRes, cli::ProvRes);
  }

  static QByteArrayView joinPlace(QByteArray& out, const ClienteView& v, cli::Field town, cli::Field province) {
    out.clear();
    out.append(trimmedBytes(storedBytes(v, town)));
    out.append(' ');
    out.append(trimmedBytes(storedBytes(v, province)));
    return out;
  }
};

}  // namespace

std::span<const ExportColumn> clientExportColumns() { return kColumns; }

void fillClientExport(const ClientArchive& archive, TextTable& rows, qint64& records) {
  fillExportRows(archive, rows, records, 200, ClientRow{});
}

TextTable readClientExport(const ClientArchive& archive) {
  TextTable rows(kColumnCount);
  qint64 records = 0;
  fillClientExport(archive, rows, records);
  return rows;
}

QByteArray clientExportDocument(const TextTable& rows) {
  return exportDocument(QString::fromUtf8(kClientSheetName), kColumns, rows);
}

}  // namespace fondaro
