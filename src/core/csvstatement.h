// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The CSV reader: the statements of Italian home banking, decoded, split as
// RFC 4180 says, the header found by the column names the banks use (or
// given as a mapping, CsvColumns in core/statement.h), each dated row an entry.
#include <QByteArray>
#include <QChar>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <optional>
#include <vector>

#include "core/statement.h"

namespace fondaro {

// The CSV file decoded and split into rows (RFC 4180).
struct CsvTable {
  QChar separator = u';';
  struct Row {
    int line = 0;  // the line the row starts on, from 1
    QStringList cells;
  };
  std::vector<Row> rows;
};

// Decodes (UTF-8 with or without a byte-order mark, UTF-16 or UTF-32 with one,
// else Windows-1252), finds
// the separator (";", tab or ",") and splits the rows. An unclosed quote is
// a Malformed error.
CsvTable parseCsv(const QByteArray& bytes);
// The header row among the first rows, by the column names Italian banks use;
// nothing when no row names a date and an amount (or out and in) column.
std::optional<CsvColumns> recogniseCsvColumns(const CsvTable& table);
// "data=N,importo=N[,descrizione=N,controparte=N,riferimento=N]" or
// "data=N,uscite=N,entrate=N[,...]", 1-based; the header is the first row.
// Nothing, with the reason in `error` (English), for a text that is not that.
std::optional<CsvColumns> parseColumnsOption(QStringView text, QString* error = nullptr);
// The mapping written back as parseColumnsOption reads it ("data=1,importo=3").
QString columnsOptionText(const CsvColumns& columns);
// The names of the cells of a row normalised as the recognition compares
// them: lower case, without blanks, punctuation or accents.
QString normalisedColumnName(QStringView cell);
// A key for "a file with the same header": the header row's normalised names.
QString csvHeaderKey(const CsvTable& table, int headerRow);

// Each reader reads the whole statement or throws StatementError.
Statement readCsv(const CsvTable& table, const CsvColumns& columns);
// The same from the file's bytes, row by row without holding its table (a
// statement of millions of rows); the columns are recognised from the header
// when not given, else an UnknownColumns error lists the first row's cells.
Statement readCsvFile(const QByteArray& bytes, const std::optional<CsvColumns>& columns);

}  // namespace fondaro
