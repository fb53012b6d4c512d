// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet export document, byte for byte, and the movement rows it is
// written from.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "core/clientexport.h"
#include "core/cp1252.h"
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
         "</x:ExcelWorksheets></x:ExcelWorkbook></xml><![endif]-->"
         "<style>.t{mso-number-format:\"\\@\";text-align:left;}.a{mso-number-format:\"0\\.00\";text-align:left;}"
         ".d{mso-number-format:\"dd\\/mm\\/yyyy\";text-align:left;}.n{mso-number-format:\"0\";text-align:left;}"
         "</style></head><body><table x:str>";
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

// The data cells as a spreadsheet program is told to read them: a text as
// typed; a number (its value, then its text) with two decimals, as a date, or
// as a whole number.
QByteArray text(const QByteArray& shown) { return "<td class=t x:str sdnum=\"1033;1040;@\">" + shown + "</td>"; }
QByteArray number(const char* cls, const QByteArray& value, const char* format, const QByteArray& shown) {
  return QByteArray("<td class=") + cls + " x:num=\"" + value + "\" sdval=\"" + value + "\" sdnum=\"1033;1040;" +
         format + "\">" + shown + "</td>";
}
QByteArray amount(const QByteArray& value, const QByteArray& shown) { return number("a", value, "0,00", shown); }
QByteArray date(const QByteArray& day, const QByteArray& shown) { return number("d", day, "GG/MM/AAAA", shown); }
QByteArray count(const QByteArray& value) { return number("n", value, "0", value); }

// A data row of `cells` cells (a movement's twenty by default); the cells
// given, then empty text cells.
QByteArray dataRow(std::initializer_list<QByteArray> given, int cells = 20) {
  QByteArray out = "<tr>";
  int n = 0;
  for (const QByteArray& c : given) {
    out += c;
    ++n;
  }
  for (; n < cells; ++n) out += text("");
  return out + "</tr>";
}

// Days as spreadsheets count them (30/12/1899 is day 0).
const QByteArray k02022024 = "45324";
const QByteArray k28022024 = "45350";

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

  const QByteArray sent = date(k02022024, "02/02/2024");
  const QByteArray due = date(k28022024, "28/02/2024");
  const QByteArray expected =
      kPrologue + kHeaderRow +
      dataRow({text("Entrata"), sent, text("Quota associativa \xE0 saldo"), text("&lt;/table&gt;&lt;b&gt;"), due,
               count("5"), amount("37.01", "+37,01"), text("Rossi &amp; Figli"), text(""), text(""), text(""),
               text(""), text(""), text("Bonifico ?\xF3""d?"), text(""), text(""), text(""),
               text("Pagato 10 \x80 in contanti"), text(""), text("S\xEC")}) +
      dataRow({text("Uscita"), sent, text("Affitto"), text(""), due, count("5"), amount("-37.01", "-37,01"),
               text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""),
               text(""), text(""), text("No")}) +
      dataRow({text(""), sent, text("Spazi"), text(""), due, count("5"), amount("37.01", "+37,01"), text(""),
               text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""), text(""),
               text(""), text("No")}) +
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
  EXPECT_TRUE(doc.contains(text("riga uno  riga due fine")));
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
  EXPECT_TRUE(doc.contains(text("x") + text("Saldato il 3 \x80 &amp; ?") + text("z") + "</tr></table>"));
}

// Each kind of column types a cell only when it has the kind's form, and an
// edited cell by the same rule as a stored one; anything else is a text kept
// as typed, so that zeros, "=", "+" and "@" reach the spreadsheet unchanged.
TEST(SpreadsheetCells, EachKindTypesItsCellsOrKeepsThemAsText) {
  const struct {
    CellKind kind;
    const char* stored;  // Windows-1252
    QByteArray cell;
  } cases[] = {
      {CellKind::Text, "01234567897", text("01234567897")},
      {CellKind::Text, "=acconto", text("=acconto")},
      {CellKind::Text, "+39 06 1234567", text("+39 06 1234567")},
      {CellKind::Text, "<b>@x</b>", text("&lt;b&gt;@x&lt;/b&gt;")},
      {CellKind::Text, "120", text("120")},
      {CellKind::Amount, "+120,50", amount("120.50", "+120,50")},
      {CellKind::Amount, "-1250,00", amount("-1250.00", "-1250,00")},
      {CellKind::Amount, "0,00", amount("0.00", "0,00")},
      {CellKind::Amount, "+9999999999999,99", amount("9999999999999.99", "+9999999999999,99")},
      {CellKind::Amount, "+99999999999999,99", text("+99999999999999,99")},  // past what a double holds exactly
      {CellKind::Amount, "=1+1", text("=1+1")},
      {CellKind::Amount, "+1.250,00", text("+1.250,00")},
      {CellKind::Amount, "+120,5", text("+120,5")},
      {CellKind::Amount, "+,50", text("+,50")},
      {CellKind::Amount, "-", text("-")},
      {CellKind::Amount, "+-1,00", text("+-1,00")},
      {CellKind::Amount, "", text("")},
      {CellKind::Date, "02/02/2024", date(k02022024, "02/02/2024")},
      {CellKind::Date, "01/03/1900", date("61", "01/03/1900")},
      {CellKind::Date, "31/12/9999", date("2958465", "31/12/9999")},
      {CellKind::Date, "28/02/1900", text("28/02/1900")},  // before the two programs agree
      {CellKind::Date, "30/02/2024", text("30/02/2024")},
      {CellKind::Date, "2/2/2024", text("2/2/2024")},
      {CellKind::Date, "12/30", text("12/30")},
      {CellKind::Date, "=oggi()", text("=oggi()")},
      {CellKind::Count, "5", count("5")},
      {CellKind::Count, "0", count("0")},
      {CellKind::Count, "123456789", count("123456789")},
      {CellKind::Count, "1234567890", text("1234567890")},
      {CellKind::Count, "05", text("05")},
      {CellKind::Count, "-3", text("-3")},
      {CellKind::Count, "5 giorni", text("5 giorni")},
  };
  for (const auto& c : cases) {
    const std::vector<SheetColumn> columns = {{QStringLiteral("A"), 10, c.kind}};
    TextTable stored(1);
    const QByteArrayView cells[] = {QByteArrayView(c.stored)};
    stored.appendRow(cells);
    const QByteArray row = "<tr>" + c.cell + "</tr>";
    EXPECT_TRUE(spreadsheetDocument(u"F", columns, stored).contains(row)) << c.stored;

    TextTable edited(1);
    edited.appendEmptyRows(1);
    edited.setText(0, 0, QLatin1String(" ") + cp1252::decode(c.stored, qsizetype(strlen(c.stored))));
    EXPECT_TRUE(spreadsheetDocument(u"F", columns, edited).contains(row)) << "edited " << c.stored;
  }
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
  EXPECT_TRUE(doc.contains("<tr>" + text("Bianchi &amp; Rossi") + text("") + text("Verona VR")));
  EXPECT_TRUE(doc.contains(text("Forl\xEC")));
  EXPECT_TRUE(doc.endsWith(text("ultima") + "</tr></table></body></html>"));
  EXPECT_EQ(doc.count("<td class="), 25);

  auto empty = ClientArchive::OpenOrCreate(dir.filePath(QStringLiteral("vuoto.pro")));
  const QByteArray none = clientExportDocument(readClientExport(empty));
  empty.Close();
  EXPECT_EQ(none.count("<tr>"), 11);
  EXPECT_EQ(none.count(text("")), 250);
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
      dataRow({text("Bianchi &amp; Rossi"), date("25600", "01/02/1970"), text("Verona VR"), text("Casa"),
               text("Via Po 1"), text("Forl\xEC FC"), text("Bonifico"), text("0543 1"), text("0543 2"),
               text("333 3"), text("0543 4"), text("a@b.it"), text("RSSMRA80A01H501U"), text("12345671205"),
               text("4111"), text("12/30"), text("IT60X"), text("C.I. 1"), text("Fabbro"), text("Celibe"),
               text("Cav."), text("Ferro \x80"), text("Nord"), text("&lt;/td&gt;"), text("ultima")},
              25) +
      dataRow({text(""), text(""), text("Roma")}, 25) + kEpilogue;
  EXPECT_EQ(doc, expected);
}

// Each field of the movement holds its own number, so a column read from a
// wrong field, or left without one, shows a number other than its field's.
TEST(MovementExport, EachColumnShowsItsOwnField) {
  TMovimento r;
  for (int f = 0; f < mov::FieldCount; ++f) setFieldText(r, f, QString::number(f));
  testdata::ArchiveFixture<TMovimento> file(QStringLiteral("2024.eur"));
  file.add({r});
  auto a = MovementArchive::OpenExisting(file.path(), RecordFile::Access::ReadOnly);
  const TextTable rows = readMovementExport(a);
  QStringList cells;
  for (int c = 0; c < rows.columnCount(); ++c) cells << rows.text(0, c);
  // The type is empty: the flag Entrata holds "0", neither "Sì" nor "No".
  EXPECT_EQ(cells.join(u'|'), QStringLiteral("|2|3|4|5|6|8|9|10|11|12|13|14|15|16|17|18|19|20|21"));
}
