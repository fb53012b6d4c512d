// SPDX-License-Identifier: GPL-3.0-or-later
// CSV statements read row by row from the file's bytes (readCsvFile, what the
// tool and the window use for a recognised file) against the table the window
// shows for mapping (parseCsv and readCsv): the same entries and the same
// errors, in every encoding a bank's file comes in; and the shapes of Italian
// banks' files, the choice among their columns and a mapping given by option.
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "core/cp1252.h"
#include "core/csvstatement.h"

namespace fondaro {
namespace {

using namespace Qt::StringLiterals;

QByteArray utf16(const QString& text, QStringConverter::Encoding e) {
  QStringEncoder encode(e, QStringConverter::Flag::WriteBom);
  return encode(text);
}

TEST(CsvFile, RowByRowReadsAsTheTable) {
  // Quoted cells with separators, doubled quotes and line breaks, a note
  // line, CRLF endings and a balance row without a date.
  const QString text =
      u"Estratto conto\r\n\r\nData contabile;Descrizione;Controparte;Importo\r\n"
      u"01/02/2024;\"Fattura 1; caffè\";\"Rossi \"\"Bar\"\"\";-1,50\r\n"
      u"02/02/2024;\"Riga\r\ndue\";Bianchi;1.234,00\r\n"
      u"Saldo finale;;;1232,50\r\n"_s;
  const struct {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"UTF-8", text.toUtf8()},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + text.toUtf8()},
      {"Windows-1252", cp1252::encode(text)},
      {"UTF-16 LE", utf16(text, QStringConverter::Utf16LE)},
      {"UTF-16 BE", utf16(text, QStringConverter::Utf16BE)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Statement st = readCsvFile(c.bytes, std::nullopt);
    const CsvTable table = parseCsv(c.bytes);
    const auto columns = recogniseCsvColumns(table);
    ASSERT_TRUE(columns);
    const Statement fromTable = readCsv(table, *columns);
    ASSERT_EQ(st.entries.size(), 2u);
    ASSERT_EQ(fromTable.entries.size(), 2u);
    EXPECT_EQ(st.entries[0].description, u"Fattura 1; caffè");
    EXPECT_EQ(st.entries[0].counterparty, u"Rossi \"Bar\"");
    EXPECT_EQ(st.entries[0].cents, -150);
    EXPECT_EQ(st.entries[1].description, u"Riga due");
    EXPECT_EQ(st.entries[1].cents, 123400);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(st.entries[i].date, fromTable.entries[i].date);
      EXPECT_EQ(st.entries[i].description, fromTable.entries[i].description);
      EXPECT_EQ(st.entries[i].counterparty, fromTable.entries[i].counterparty);
    }
    EXPECT_EQ(table.rows[2].line, 4);  // the row after the quoted line break
  }
}

TEST(CsvFile, ErrorsAsTheTableGivesThem) {
  const struct {
    const char* name;
    QByteArray bytes;
    StatementError::Kind kind;
    const char16_t* english;
  } cases[] = {
      {"an unclosed quote", "Data;Importo\n01/01/2024;\"1,00\n02/01/2024;2,00\n", StatementError::Kind::Malformed,
       u"line 2: a quote that is never closed"},
      {"a bad date", "Data;Importo\n01/01/2024;1,00\n31/02/2024;2,00\n", StatementError::Kind::BadEntry,
       u"line 3: bad date \"31/02/2024\""},
      {"columns not recognised", "Giorno;Soldi\n01/01/2024;1,00\n", StatementError::Kind::UnknownColumns,
       u"the columns are not recognised (give --columns); found: 1=\"Giorno\", 2=\"Soldi\""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      readCsvFile(c.bytes, std::nullopt);
      ADD_FAILURE();
    } catch (const StatementError& e) {
      EXPECT_EQ(e.kind(), c.kind);
      EXPECT_EQ(e.describe(), QStringView(c.english));
    }
  }
}

// ---- The shapes of Italian banks, column choices, mapping by option ----------

Statement csv(const QByteArray& bytes) {
  const CsvTable t = parseCsv(bytes);
  const auto cols = recogniseCsvColumns(t);
  if (!cols) throw std::runtime_error("columns not recognised");
  return readCsv(t, *cols);
}

TEST(CsvStatement, ShapesOfItalianBanks) {
  struct Case {
    const char* name;
    QByteArray bytes;
  } cases[] = {
      {"semicolons, comma decimals, a title before the header, a total after",
       "Estratto conto corrente n. 123;;;\r\n\r\n"
       "Data contabile;Data valuta;Descrizione;Importo\r\n"
       "05/01/2024;04/01/2024;Bonifico da Rossi Mario;1.250,00\r\n"
       "06/01/24;06/01/2024;Pagamento POS Bar Sport;-12,34\r\n"
       "Saldo finale;;;1.337,66\r\n"},
      {"Dare and Avere columns, signs ignored",
       "Data;Dare;Avere;Descrizione operazione\n"
       "05/01/2024;;1.250,00;Bonifico da Rossi Mario\n"
       "06/01/2024;-12,34;;Pagamento POS Bar Sport\n"
       ";;;\n"
       "Totale;12,34;1.250,00;\n"},
      {"a byte-order mark, tabs, ISO dates and points for decimals",
       "\xEF\xBB\xBF"
       "DATA OPERAZIONE\tDESCRIZIONE\tIMPORTO (EUR)\n"
       "2024-01-05\tBonifico da Rossi Mario\t1250.00\n"
       "2024-01-06\tPagamento POS Bar Sport\t-12.34\n"},
      {"commas with quoted amounts, Uscite and Entrate",
       "Data,Descrizione,Uscite,Entrate\n"
       "05/01/2024,Bonifico da Rossi Mario,,\"1.250,00\"\n"
       "06/01/2024,\"Pagamento POS Bar Sport\",\"12,34\",\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const Statement st = csv(c.bytes);
    ASSERT_EQ(st.entries.size(), 2u);
    EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 5));
    EXPECT_EQ(st.entries[0].cents, 125000);
    EXPECT_EQ(st.entries[0].description, u"Bonifico da Rossi Mario");
    EXPECT_EQ(st.entries[1].date, QDate(2024, 1, 6));
    EXPECT_EQ(st.entries[1].cents, -1234);
    EXPECT_EQ(st.entries[1].description, u"Pagamento POS Bar Sport");
  }
}

TEST(CsvStatement, QuotedCellsAndWindows1252) {
  const QByteArray bytes = cp1252::encode(
      u"Data;Causale;Descrizione;Importo;Riferimento;Divisa\r\n"
      u"05/01/2024;Bonifico;\"Fattura 3; acconto \"\"caffè\"\"\r\nsecondo rigo\";100,00;RIF-1;EUR\r\n"
      u"06/01/2024;Giroconto;Verso conto dollari;-5,00;;USD\r\n");
  const Statement st = csv(bytes);
  ASSERT_EQ(st.entries.size(), 2u);
  EXPECT_EQ(st.entries[0].description, u"Fattura 3; acconto \"caffè\" secondo rigo");
  EXPECT_EQ(st.entries[0].kind, u"Bonifico");  // Causale beside Descrizione: the kind
  EXPECT_EQ(st.entries[0].reference, u"RIF-1");
  EXPECT_EQ(st.entries[1].skip, SkipReason::OtherCurrency);
}

TEST(CsvStatement, ColumnChoices) {
  // Causale alone is the description; Data contabile wins over Data and Data valuta.
  const Statement st = csv(
      "Data valuta;Data;Data contabile;Causale;Importo\n"
      "01/01/2024;02/01/2024;03/01/2024;Canone mensile;-3,00\n");
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].date, QDate(2024, 1, 3));
  EXPECT_EQ(st.entries[0].description, u"Canone mensile");
  EXPECT_EQ(st.entries[0].kind, u"");
  // Data valuta only when nothing else names a date.
  const Statement v = csv("Data valuta;Descrizione;Importo\n09/02/2024;x;1\n");
  EXPECT_EQ(v.entries.at(0).date, QDate(2024, 2, 9));
}

TEST(CsvStatement, UnknownColumnsAreMappedByOption) {
  const QByteArray bytes = "Giorno;Testo;Movimento;Chi\n05/01/2024;Affitto;-700,00;Immobiliare Srl\n";
  const CsvTable t = parseCsv(bytes);
  EXPECT_FALSE(recogniseCsvColumns(t));
  const auto cols = parseColumnsOption(u"data=1,importo=3,descrizione=2,controparte=4");
  ASSERT_TRUE(cols);
  const Statement st = readCsv(t, *cols);
  ASSERT_EQ(st.entries.size(), 1u);
  EXPECT_EQ(st.entries[0].cents, -70000);
  EXPECT_EQ(st.entries[0].counterparty, u"Immobiliare Srl");

  QString why;
  for (const char16_t* bad : {u"importo=3", u"data=1", u"data=1,importo=2,uscite=3,entrate=4", u"data=1,uscite=2",
                              u"data=0,importo=1", u"data=1,importo=x", u"data=1,data=2,importo=3", u"dati=1"}) {
    EXPECT_FALSE(parseColumnsOption(bad, &why)) << QString::fromUtf16(bad).toStdString();
    EXPECT_FALSE(why.isEmpty());
  }
  EXPECT_TRUE(parseColumnsOption(u"data=1,uscite=2,entrate=3"));
}

TEST(CsvStatement, UnreadableRowsStopTheStatement) {
  for (const char* bytes : {"Data;Importo\n05/01/2024;12,3,4\n", "Data;Importo\n31/02/2024;1,00\n",
                            "Data;Importo\n05/01/2024;\n", "Data;Dare;Avere\n05/01/2024;1,00;2,00\n",
                            "Data;Descrizione;Importo\n05/01/2024;\"non chiusa;1,00\n"}) {
    EXPECT_THROW(csv(bytes), StatementError) << bytes;
  }
}

}  // namespace
}  // namespace fondaro
