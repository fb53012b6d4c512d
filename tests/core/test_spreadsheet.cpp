// The spreadsheet export document, byte for byte, and the movement rows it is
// written from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/clientexport.h"
#include "core/movementexport.h"
#include "core/spreadsheet.h"
#include "../common/records.h"
#include "test_support.h"

using namespace fondaro;
using fondaro::testing::readAll;
using fondaro::testing::writeAll;

namespace {

QByteArray prologue(const QByteArray& sheetName) {
  return "<html xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
         "xmlns:x=\"urn:schemas-microsoft-com:office:excel\" "
         "xmlns=\"http://www.w3.org/TR/REC-html40\"><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1252\"><!--[if gte mso 9]><xml><x:ExcelWorkbook><x:ExcelWorksheets><x:ExcelWorksheet>"
         "<x:Name>" +
         sheetName +
         "</x:Name><x:WorksheetOptions><x:Selected/><x:Panes><x:Pane>"
         "<x:Number>1</x:Number><x:ActiveRow>3</x:ActiveRow></x:Pane></x:Panes>"
         "<x:ProtectContents>False</x:ProtectContents><x:ProtectObjects>False</x:ProtectObjects>"
         "<x:ProtectScenarios>False</x:ProtectScenarios></x:WorksheetOptions></x:ExcelWorksheet>"
         "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]--></head><body><table x:str>";
}

const QByteArray kPrologue = prologue("Riepilogo annuale movimenti");

QByteArray header(const char* title, int width) {
  return "<td style=\"text-align: left; font-weight: bold;\" width=" + QByteArray::number(width) + ">" + title +
         "</td>";
}

const QByteArray kHeaderRow =
    "<tr>" + header("Tipo movimento", 150) + header("Data operazione", 180) + header("Causale", 300) +
    header("Promemoria", 300) + header("Data scadenza", 180) + header("Giorni preavviso", 150) +
    header("Importo in euro", 150) + header("Pagatore", 250) + header("Recapito", 250) +
    header("Codice fiscale", 200) + header("Partita IVA", 180) + header("Categoria", 250) +
    header("E-mail", 250) + header("Modalit\xE0 pagamento", 250) + header("Beneficiario", 250) +
    header("Recapito", 250) + header("CRO o Ricevuta n.", 250) + header("Note", 300) +
    header("Tariffa applicata", 250) + header("Saldato", 120) + "</tr>";

const QByteArray kEpilogue = "</table></body></html>";

// A data row of `cells` cells (a movement's twenty by default); the values
// given, the rest empty.
QByteArray dataRow(std::initializer_list<QByteArray> values, int cells = 20) {
  QByteArray out = "<tr>";
  int n = 0;
  for (const QByteArray& v : values) {
    out += "<td style=\"text-align: left;\">" + v + "</td>";
    ++n;
  }
  for (; n < cells; ++n) out += "<td style=\"text-align: left;\"></td>";
  return out + "</tr>";
}

// A movement of 37,01 as the editor saves it, due on 28/02/2024.
TMovimento movement(bool in, const QString& causale) {
  TMovimento r = testdata::movement(causale, u"02/02/2024", u"37,01", in);
  r.DataSca.set(u"28/02/2024");
  r.Preavviso.set(u"5");
  return r;
}

class SpreadsheetTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString archivePath() const { return dir.filePath(QStringLiteral("2024.eur")); }
  QByteArray exportOf(const std::vector<TMovimento>& records) {
    auto a = MovementArchive::OpenOrCreate(archivePath());
    for (const TMovimento& r : records) a.Append(r);
    const TextTable rows = readMovementExport(a);
    a.Close();
    return movementExportDocument(rows);
  }
};

}  // namespace

TEST_F(SpreadsheetTest, ASmallArchiveByteForByte) {
  TMovimento first = movement(true, QStringLiteral("Quota associativa \u00E0 saldo"));
  first.Pagatore.set(u"Rossi & Figli");
  first.Promemoria.set(u"</table><b>");
  first.Note.set(u"Pagato 10 \u20AC in contanti");
  first.Pagamento.set(u"Bonifico \u0141\u00F3d\u017A");  // letters outside the code page
  first.Saldato.set(kSi);
  first.Importo.set(u"99,99");  // not exported
  first.File01.set(u"fattura.pdf");  // not exported
  TMovimento second = movement(false, QStringLiteral("Affitto"));
  TMovimento third = movement(true, QStringLiteral("  Spazi  "));
  third.Entrata.set(u"X");  // neither flag: no type
  const QByteArray doc = exportOf({first, second, third});

  const QByteArray expected =
      kPrologue + kHeaderRow +
      dataRow({"Entrata", "02/02/2024", "Quota associativa \xE0 saldo", "&lt;/table&gt;&lt;b&gt;", "28/02/2024",
               "5", "+37,01", "Rossi &amp; Figli", "", "", "", "", "", "Bonifico ?\xF3""d?", "", "", "",
               "Pagato 10 \x80 in contanti", "", "S\xEC"}) +
      dataRow({"Uscita", "02/02/2024", "Affitto", "", "28/02/2024", "5", "-37,01", "", "", "", "", "", "", "", "",
               "", "", "", "", "No"}) +
      dataRow({"", "02/02/2024", "Spazi", "", "28/02/2024", "5", "+37,01", "", "", "", "", "", "", "", "", "", "",
               "", "", "No"}) +
      kEpilogue;
  EXPECT_EQ(doc, expected);
  EXPECT_FALSE(doc.contains('\n'));
  EXPECT_FALSE(doc.contains('\r'));
}

TEST_F(SpreadsheetTest, AnEmptyArchiveGivesTheTenDesignedEmptyRows) {
  QByteArray rows;
  for (int i = 0; i < 10; ++i) rows += dataRow({});
  EXPECT_EQ(exportOf({}), kPrologue + kHeaderRow + rows + kEpilogue);
}

TEST_F(SpreadsheetTest, ValuesStayOnOneLineAndDamagedLengthsStayInTheirSlot) {
  TMovimento r = movement(true, QStringLiteral("riga uno\r\nriga due\tfine"));
  QByteArray bytes(reinterpret_cast<const char*>(&r), sizeof r);
  bytes[offsetof(TMovimento, Saldato)] = char(0xFF);  // length above the capacity of 2
  bytes[offsetof(TMovimento, Saldato) + 1] = 'S';
  bytes[offsetof(TMovimento, Saldato) + 2] = 'i';
  writeAll(archivePath(), bytes + QByteArray(100, 'x'));  // and a trailing fragment
  auto a = MovementArchive::OpenExisting(archivePath(), RecordFile::Access::ReadOnly);
  const TextTable rows = readMovementExport(a);
  a.Close();
  ASSERT_EQ(rows.rowCount(), 1);
  EXPECT_EQ(rows.text(0, 19), QStringLiteral("Si"));
  const QByteArray doc = movementExportDocument(rows);
  EXPECT_TRUE(doc.contains("<td style=\"text-align: left;\">riga uno  riga due fine</td>"));
  EXPECT_FALSE(doc.contains('\n'));
}

TEST(TextTable, EditsReplaceTheTextInTheTableOnly) {
  TextTable t(3);
  t.appendRow(QStringList{QStringLiteral(" a "), QStringLiteral("b")});  // a missing cell is empty
  const QByteArrayView stored[] = {QByteArrayView("  x"), QByteArrayView("\xE0"), QByteArrayView("z\t")};
  t.appendRow(stored);
  ASSERT_EQ(t.rowCount(), 2);
  EXPECT_EQ(t.text(0, 0), QStringLiteral("a"));
  EXPECT_EQ(t.text(0, 2), QString());
  EXPECT_EQ(t.text(1, 1), QStringLiteral("\u00E0"));
  EXPECT_EQ(t.text(1, 2), QStringLiteral("z"));

  t.setText(1, 1, QStringLiteral(" Saldato il 3 \u20AC & \u03A9 "));
  EXPECT_TRUE(t.isEdited(1, 1));
  EXPECT_FALSE(t.isEdited(1, 0));
  EXPECT_EQ(t.text(1, 1), QStringLiteral("Saldato il 3 \u20AC & \u03A9"));
  EXPECT_EQ(t.bytes(1, 1), QByteArray("Saldato il 3 \x80 & ?"));
  const std::vector<SheetColumn> cols = {{QStringLiteral("A<B"), 10}, {QStringLiteral("B"), 20},
                                         {QStringLiteral("C"), 30}};
  const QByteArray doc = spreadsheetDocument(u"Foglio & co", cols, t);
  EXPECT_TRUE(doc.contains("<x:Name>Foglio &amp; co</x:Name>"));
  EXPECT_TRUE(doc.contains("width=10>A&lt;B</td>"));
  EXPECT_TRUE(doc.contains("<td style=\"text-align: left;\">x</td><td style=\"text-align: left;\">Saldato il 3 "
                           "\x80 &amp; ?</td><td style=\"text-align: left;\">z</td></tr></table>"));
}

TEST(WriteFileReplacing, ReplacesTheWholeFileOrLeavesItAlone) {
  QTemporaryDir dir;
  const QString target = dir.filePath(QStringLiteral("Movimenti.xls"));
  writeAll(target, QByteArray(5000, 'o'));
  writeFileReplacing(target, "nuovo");
  EXPECT_EQ(readAll(target), QByteArray("nuovo"));

  // A folder in the way: the write fails and nothing else is left behind.
  const QString blocked = dir.filePath(QStringLiteral("Cartella.xls"));
  ASSERT_TRUE(QDir().mkdir(blocked));
  EXPECT_THROW(writeFileReplacing(blocked, "x"), ExportWriteError);
  EXPECT_THROW(writeFileReplacing(dir.filePath(QStringLiteral("manca/Movimenti.xls")), "x"), ExportWriteError);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({QStringLiteral("Cartella.xls"), QStringLiteral("Movimenti.xls")}));
  EXPECT_EQ(readAll(target), QByteArray("nuovo"));
}

TEST(ClientExport, PlacesJoinTownAndProvinceAndEveryColumnIsWritten) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("Clienti.pro"));
  auto a = ClientArchive::OpenOrCreate(path);
  TCliente c;
  c.Cliente.set(u"Bianchi & Rossi");
  c.ComuneNasc.set(u"Verona");
  c.ProvNasc.set(u"VR");
  c.ComuneRes.set(u"Forl\u00EC");
  c.Sesso.set(u"M");       // not exported
  c.Ricontatta.set(kSi);   // not exported
  c.Note.set(u"ultima");
  a.Append(c);
  const TextTable rows = readClientExport(a);
  a.Close();
  ASSERT_EQ(rows.rowCount(), 1);
  ASSERT_EQ(rows.columnCount(), 25);
  EXPECT_EQ(rows.text(0, 2), QStringLiteral("Verona VR"));
  EXPECT_EQ(rows.text(0, 5), QStringLiteral("Forl\u00EC"));  // no province: the blank is trimmed
  const QByteArray doc = clientExportDocument(rows);
  EXPECT_TRUE(doc.contains("<x:Name>Archivio Anagrafico</x:Name>"));
  EXPECT_TRUE(doc.contains("width=200>Data di nascita</td>" ));
  EXPECT_TRUE(doc.contains("width=250>Comune di nascita</td>"));
  EXPECT_TRUE(doc.contains("width=250>Modalit\xE0 di pagamento</td>"));
  const QByteArray cell = "<td style=\"text-align: left;\">";
  EXPECT_TRUE(doc.contains("<tr>" + cell + "Bianchi &amp; Rossi</td>" + cell + "</td>" + cell + "Verona VR</td>"));
  EXPECT_TRUE(doc.contains(cell + "Forl\xEC</td>"));
  EXPECT_TRUE(doc.endsWith(cell + "ultima</td></tr></table></body></html>"));
  EXPECT_EQ(doc.count(cell), 25);

  auto empty = ClientArchive::OpenOrCreate(dir.filePath(QStringLiteral("vuoto.pro")));
  const QByteArray none = clientExportDocument(readClientExport(empty));
  empty.Close();
  EXPECT_EQ(none.count("<tr>"), 11);
  EXPECT_EQ(none.count(cell + "</td>"), 250);
}

TEST(ClientExport, ASmallAddressBookByteForByte) {
  QTemporaryDir dir;
  auto a = ClientArchive::OpenOrCreate(dir.filePath(QStringLiteral("Clienti.pro")));
  // Every exported field holds its own text; the two places join town and
  // province, the fields that are not exported stay out.
  TCliente full = testdata::record<TCliente>({
      {cli::Cliente, u" Bianchi & Rossi "}, {cli::DataNasc, u"01/02/1970"}, {cli::ComuneNasc, u"Verona"},
      {cli::ProvNasc, u"VR"},             {cli::Sesso, u"M"},              {cli::Recapito, u"Casa"},
      {cli::IndirizzoRes, u"Via Po 1"},   {cli::ComuneRes, u"Forl\u00EC"}, {cli::ProvRes, u"FC"},
      {cli::CapRes, u"47121"},            {cli::Estremi, u"Bonifico"},     {cli::TelCasa, u"0543 1"},
      {cli::TelUff, u"0543 2"},           {cli::TelCel, u"333 3"},         {cli::Fax, u"0543 4"},
      {cli::Email, u"a@b.it"},            {cli::CodFisc, u"RSSMRA80A01H501U"}, {cli::PartitaIva, u"12345671205"},
      {cli::Carta, u"4111"},              {cli::ScadeCarta, u"12/30"},     {cli::Iban, u"IT60X"},
      {cli::Documento, u"C.I. 1"},        {cli::Occupazione, u"Fabbro"},  {cli::Civile, u"Celibe"},
      {cli::Titoli, u"Cav."},             {cli::Prodotti, u"Ferro \u20AC"}, {cli::Zona, u"Nord"},
      {cli::Questioni, u"</td>"},         {cli::Note, u"ultima"},          {cli::Ricontatta, kSi},
  });
  a.Append(full);
  a.Append(testdata::record<TCliente>({{cli::ComuneNasc, u"Roma"}}));
  const QByteArray doc = clientExportDocument(readClientExport(a));
  a.Close();

  const QByteArray headers =
      "<tr>" + header("Cognome e nome", 250) + header("Data di nascita", 200) + header("Comune di nascita", 250) +
      header("Recapito preferenziale", 250) + header("Indirizzo di residenza", 300) +
      header("Comune di residenza", 250) + header("Modalit\xE0 di pagamento", 250) + header("Tel. casa", 250) +
      header("Tel. ufficio", 250) + header("Tel. cellulare", 250) + header("Fax", 250) + header("E-mail", 250) +
      header("Codice fiscale", 250) + header("Partita IVA", 250) + header("Carta di credito n.", 300) +
      header("Scadenza", 150) + header("IBAN", 300) + header("Estremi documento", 280) +
      header("Occupazione", 250) + header("Stato civile", 250) + header("Titoli e qualifiche", 280) +
      header("Prodotti e servizi di interesse", 300) + header("Zona di appartenenza", 250) +
      header("Questioni in sospeso", 300) + header("Note", 300) + "</tr>";
  const QByteArray expected =
      prologue("Archivio Anagrafico") + headers +
      dataRow({"Bianchi &amp; Rossi", "01/02/1970", "Verona VR", "Casa", "Via Po 1", "Forl\xEC FC", "Bonifico",
               "0543 1", "0543 2", "333 3", "0543 4", "a@b.it", "RSSMRA80A01H501U", "12345671205", "4111", "12/30",
               "IT60X", "C.I. 1", "Fabbro", "Celibe", "Cav.", "Ferro \x80", "Nord", "&lt;/td&gt;", "ultima"},
              25) +
      dataRow({"", "", "Roma"}, 25) + kEpilogue;
  EXPECT_EQ(doc, expected);
}
