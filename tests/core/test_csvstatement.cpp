// CSV statements read row by row from the file's bytes (readCsvFile, what the
// tool and the window use for a recognised file) against the table the window
// shows for mapping (parseCsv and readCsv): the same entries and the same
// errors, in every encoding a bank's file comes in.
#include <gtest/gtest.h>

#include <QStringEncoder>

#include "core/cp1252.h"
#include "core/statement.h"

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

}  // namespace
}  // namespace fondaro
