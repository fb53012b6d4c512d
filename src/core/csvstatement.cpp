// SPDX-License-Identifier: GPL-3.0-or-later
// The CSV statements of Italian home banking: decoded, split as RFC 4180 says
// (quoted cells may hold separators, quotes written twice and line breaks),
// the header found by the column names the banks use, each dated row an entry.
#include <QStringDecoder>

#include <array>
#include <map>

#include "core/cp1252.h"
#include "core/csvstatement.h"

namespace fondaro {
namespace {

// The file's text as bytes in which the separators, quotes and line breaks
// are the ASCII ones: UTF-8 (its byte-order mark left out) or Windows-1252 as
// read, UTF-16 and UTF-32 with a byte-order mark turned into UTF-8. Cells are
// decoded one by one, so that the file is never held as text whole.
struct CsvSource {
  QByteArray bytes;
  qsizetype start = 0;
  bool utf8 = true;
  QString decode(QByteArrayView v) const { return utf8 ? QString::fromUtf8(v) : cp1252::decode(v.data(), v.size()); }
};

CsvSource csvSource(const QByteArray& bytes) {
  const auto encoding = QStringConverter::encodingForData(bytes);
  if (encoding && *encoding != QStringConverter::Utf8 && *encoding != QStringConverter::Latin1 &&
      *encoding != QStringConverter::System) {
    QStringDecoder decode(*encoding);
    QString text = decode(bytes);
    if (!text.isEmpty() && text.front() == QChar::ByteOrderMark) text.remove(0, 1);
    return {text.toUtf8(), 0, true};
  }
  CsvSource src{bytes, bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0, true};
  src.utf8 = QByteArrayView(bytes).sliced(src.start).isValidUtf8();
  return src;
}

// Reads the rows one by one (RFC 4180); lines holding nothing are left out.
class CsvRowReader {
 public:
  CsvRowReader(const CsvSource& src, char sep) : src_(src), v_(src.bytes), sep_(sep), i_(src.start) {}
  // The next row, or false at the end of the text or at a quote that is never
  // closed (unclosed() then tells its line).
  bool next(CsvTable::Row& row) {
    while (i_ < v_.size()) {
      row.line = line_;
      row.cells.clear();
      if (!readRow(row)) return false;
      const bool empty = row.cells.size() == 1 && row.cells[0].trimmed().isEmpty();
      if (!empty) return true;
    }
    return false;
  }
  int unclosed() const { return unclosed_; }

 private:
  bool readRow(CsvTable::Row& row) {
    const qsizetype n = v_.size();
    for (;;) {
      QByteArray quoted;
      const bool isQuoted = i_ < n && v_[i_] == '"';
      if (isQuoted && !readQuoted(quoted)) return false;
      // Unquoted text, or what follows a closing quote up to the separator.
      const qsizetype from = i_;
      while (i_ < n && v_[i_] != sep_ && v_[i_] != '\n' && v_[i_] != '\r') ++i_;
      const QByteArrayView rest = v_.sliced(from, i_ - from);
      row.cells << src_.decode(isQuoted ? QByteArrayView(quoted += rest) : rest);
      if (i_ >= n) return true;
      if (v_[i_] == sep_) {
        ++i_;
        continue;
      }
      if (v_[i_] == '\r' && i_ + 1 < n && v_[i_ + 1] == '\n') ++i_;
      ++i_;
      ++line_;
      return true;
    }
  }

  bool readQuoted(QByteArray& cell) {
    const qsizetype n = v_.size();
    const int quoteLine = line_;
    ++i_;
    while (i_ < n) {
      const char c = v_[i_];
      if (c == '"') {
        if (i_ + 1 < n && v_[i_ + 1] == '"') {
          cell += '"';
          i_ += 2;
          continue;
        }
        ++i_;
        return true;
      }
      if (c == '\n' || (c == '\r' && (i_ + 1 >= n || v_[i_ + 1] != '\n'))) ++line_;
      cell += c;
      ++i_;
    }
    unclosed_ = quoteLine;
    i_ = n;
    return false;
  }

  const CsvSource& src_;
  QByteArrayView v_;
  char sep_;
  qsizetype i_;
  int line_ = 1;
  int unclosed_ = 0;
};

// Up to maxRows rows from the start (all when negative).
std::vector<CsvTable::Row> splitRows(const CsvSource& src, char sep, int maxRows, int* unclosed) {
  std::vector<CsvTable::Row> rows;
  CsvRowReader reader(src, sep);
  CsvTable::Row row;
  while ((maxRows < 0 || int(rows.size()) < maxRows) && reader.next(row)) rows.push_back(std::move(row));
  *unclosed = reader.unclosed();
  return rows;
}

[[noreturn]] void unclosedQuote(int line) {
  throw StatementError(StatementError::Kind::Malformed,
                       QStringLiteral("line %1: a quote that is never closed").arg(line),
                       QStringLiteral("Riga %1 del file: le virgolette aperte non si chiudono.").arg(line));
}

enum class Col { None, Date0, Date1, Date2, Date3, Description, Causale, Amount, Out, In, Currency, Reference, Counterparty };

Col columnOf(const QString& n) {
  const auto amountLike = [&](QStringView base) {
    return n.startsWith(base) && (n.size() == base.size() || QStringView(n).sliced(base.size()) == u"eur" ||
                                  QStringView(n).sliced(base.size()) == u"euro");
  };
  if (n == u"datacontabile") return Col::Date0;
  if (n == u"dataoperazione") return Col::Date1;
  if (n == u"data") return Col::Date2;
  if (n == u"datavaluta") return Col::Date3;
  if (n == u"descrizione" || n == u"descrizioneoperazione") return Col::Description;
  if (n == u"causale") return Col::Causale;
  if (amountLike(u"importo")) return Col::Amount;
  if (amountLike(u"dare") || amountLike(u"uscite") || amountLike(u"addebiti")) return Col::Out;
  if (amountLike(u"avere") || amountLike(u"entrate") || amountLike(u"accrediti")) return Col::In;
  if (n == u"divisa") return Col::Currency;
  if (n == u"riferimento") return Col::Reference;
  if (n == u"controparte") return Col::Counterparty;
  return Col::None;
}

std::optional<CsvColumns> columnsOfHeader(const QStringList& cells, int headerRow) {
  std::array<int, 4> dates{-1, -1, -1, -1};
  CsvColumns c;
  c.headerRow = headerRow;
  int causale = -1;
  const auto first = [](int& slot, int i) {
    if (slot < 0) slot = i;
  };
  for (int i = 0; i < int(cells.size()); ++i) {
    switch (columnOf(normalisedColumnName(cells[i]))) {
      case Col::Date0: first(dates[0], i); break;
      case Col::Date1: first(dates[1], i); break;
      case Col::Date2: first(dates[2], i); break;
      case Col::Date3: first(dates[3], i); break;
      case Col::Description: first(c.description, i); break;
      case Col::Causale: first(causale, i); break;
      case Col::Amount: first(c.amount, i); break;
      case Col::Out: first(c.out, i); break;
      case Col::In: first(c.in, i); break;
      case Col::Currency: first(c.currency, i); break;
      case Col::Reference: first(c.reference, i); break;
      case Col::Counterparty: first(c.counterparty, i); break;
      case Col::None: break;
    }
  }
  for (int d : dates) {
    if (d >= 0) {
      c.date = d;
      break;
    }
  }
  if (c.amount >= 0) c.out = c.in = -1;
  if (c.description >= 0) c.kind = causale;
  else c.description = causale;
  if (!c.valid()) return std::nullopt;
  return c;
}

// How well a separator splits the first rows: how many rows share the most
// common number of cells, when that number is above one.
int splitScore(const std::vector<CsvTable::Row>& rows) {
  std::map<qsizetype, int> counts;
  for (const auto& r : rows) ++counts[r.cells.size()];
  int best = 0;
  for (const auto& [cells, count] : counts) {
    if (cells > 1) best = std::max(best, count);
  }
  return best;
}

constexpr int kHeaderSearchRows = 20;

[[noreturn]] void badRow(int line, const QString& english, const QString& italian) {
  throw StatementError(StatementError::Kind::BadEntry, QStringLiteral("line %1: %2").arg(line).arg(english),
                       QStringLiteral("Riga %1 del file: %2.").arg(line).arg(italian));
}

qint64 readAmountCell(const QString& cell, int line, bool* subCent) {
  bool fraction = false;
  const auto v = parseBankAmount(cell, &fraction);
  if (!v) {
    badRow(line, QStringLiteral("bad amount \"%1\"").arg(cell.trimmed()),
           QStringLiteral("l'importo \"%1\" non si può leggere").arg(cell.trimmed()));
  }
  *subCent = *subCent || fraction;
  return *v;
}

}  // namespace

QString normalisedColumnName(QStringView cell) {
  const QString decomposed = cell.toString().normalized(QString::NormalizationForm_D);
  QString out;
  for (QChar c : decomposed) {
    if (c.isLetterOrNumber()) out += c.toLower();
  }
  return out;
}

QString csvHeaderKey(const CsvTable& table, int headerRow) {
  if (headerRow < 0 || headerRow >= int(table.rows.size())) return {};
  QStringList names;
  for (const QString& c : table.rows[size_t(headerRow)].cells) names << normalisedColumnName(c);
  return QString(table.separator) + u'|' + names.join(u'|');
}

namespace {
// The separator that lets the first rows name the columns, else the one that
// splits them most evenly.
char chooseSeparator(const CsvSource& src) {
  char chosen = ';';
  int bestScore = -1;
  for (char sep : {';', '\t', ','}) {
    int unclosed = 0;
    const auto head = splitRows(src, sep, kHeaderSearchRows + 10, &unclosed);
    for (int r = 0; r < int(head.size()) && r < kHeaderSearchRows; ++r) {
      if (columnsOfHeader(head[size_t(r)].cells, r)) return sep;
    }
    const int score = splitScore(head);
    if (score > bestScore) {
      bestScore = score;
      chosen = sep;
    }
  }
  return chosen;
}

[[noreturn]] void unknownColumns(const CsvTable& head) {
  QStringList found;
  const CsvTable::Row* first = nullptr;
  for (const auto& r : head.rows) {
    if (r.cells.size() > 1 || (!r.cells.isEmpty() && !r.cells[0].trimmed().isEmpty())) {
      first = &r;
      break;
    }
  }
  if (first) {
    for (qsizetype i = 0; i < first->cells.size(); ++i) {
      found << QStringLiteral("%1=\"%2\"").arg(i + 1).arg(collapseBlanks(first->cells[i]));
    }
  }
  const QString list = found.join(QStringLiteral(", "));
  throw StatementError(StatementError::Kind::UnknownColumns,
                       QStringLiteral("the columns are not recognised (give --columns); found: %1").arg(list),
                       QStringLiteral("Le colonne del file non sono riconosciute: %1").arg(list));
}
}  // namespace

CsvTable parseCsv(const QByteArray& bytes) {
  const CsvSource src = csvSource(bytes);
  CsvTable table;
  const char sep = chooseSeparator(src);
  table.separator = QLatin1Char(sep);
  int unclosed = 0;
  table.rows = splitRows(src, sep, -1, &unclosed);
  if (unclosed > 0) unclosedQuote(unclosed);
  return table;
}

std::optional<CsvColumns> recogniseCsvColumns(const CsvTable& table) {
  for (int r = 0; r < int(table.rows.size()) && r < kHeaderSearchRows; ++r) {
    if (auto c = columnsOfHeader(table.rows[size_t(r)].cells, r)) return c;
  }
  return std::nullopt;
}

std::optional<CsvColumns> parseColumnsOption(QStringView text, QString* error) {
  const auto fail = [&](const QString& why) -> std::optional<CsvColumns> {
    if (error) *error = why;
    return std::nullopt;
  };
  CsvColumns c;
  c.headerRow = 0;
  const struct {
    const char16_t* key;
    int CsvColumns::*slot;
  } keys[] = {{u"data", &CsvColumns::date},           {u"importo", &CsvColumns::amount},
              {u"uscite", &CsvColumns::out},          {u"entrate", &CsvColumns::in},
              {u"descrizione", &CsvColumns::description}, {u"controparte", &CsvColumns::counterparty},
              {u"riferimento", &CsvColumns::reference}};
  for (QStringView part : text.split(u',')) {
    const qsizetype eq = part.indexOf(u'=');
    if (eq < 0) return fail(QStringLiteral("\"%1\" is not NAME=N").arg(part));
    const QStringView key = part.first(eq).trimmed();
    bool ok = false;
    const int n = part.mid(eq + 1).trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 1000) return fail(QStringLiteral("\"%1\": the column is a number from 1").arg(part));
    bool known = false;
    for (const auto& k : keys) {
      if (key != QStringView(k.key)) continue;
      if (c.*k.slot >= 0) return fail(QStringLiteral("\"%1\" given twice").arg(key));
      c.*k.slot = n - 1;
      known = true;
    }
    if (!known) {
      return fail(QStringLiteral("unknown column name \"%1\" (data, importo, uscite, entrate, descrizione, "
                                 "controparte, riferimento)")
                      .arg(key));
    }
  }
  if (c.date < 0) return fail(QStringLiteral("no date column (data=N)"));
  const bool signedAmount = c.amount >= 0;
  const bool twoColumns = c.out >= 0 || c.in >= 0;
  if (signedAmount == twoColumns || (twoColumns && (c.out < 0 || c.in < 0))) {
    return fail(QStringLiteral("give either importo=N or both uscite=N and entrate=N"));
  }
  return c;
}

QString columnsOptionText(const CsvColumns& c) {
  QStringList parts;
  const auto add = [&](const char* key, int col) {
    if (col >= 0) parts << QStringLiteral("%1=%2").arg(QLatin1String(key)).arg(col + 1);
  };
  add("data", c.date);
  add("importo", c.amount);
  add("uscite", c.out);
  add("entrate", c.in);
  add("descrizione", c.description);
  add("controparte", c.counterparty);
  add("riferimento", c.reference);
  return parts.join(u',');
}

namespace {
// The entry of one row after the header; nothing for a row without a date
// (a balance, a total, a note).
std::optional<StatementEntry> entryOfRow(const CsvTable::Row& row, const CsvColumns& cols) {
  const auto cell = [&](int col) { return col >= 0 ? row.cells.value(col) : QString(); };
  const QString dateCell = cell(cols.date);
  const BankDate d = parseBankDate(dateCell);
  if (d.status == BankDate::Status::NotADate) return std::nullopt;
  if (d.status == BankDate::Status::Bad) {
    badRow(row.line, QStringLiteral("bad date \"%1\"").arg(dateCell.trimmed()),
           QStringLiteral("la data \"%1\" non è valida").arg(dateCell.trimmed()));
  }
  StatementEntry e;
  e.date = d.date;
  bool subCent = false;
  if (cols.amount >= 0) {
    e.cents = readAmountCell(cell(cols.amount), row.line, &subCent);
  } else {
    const QString outCell = cell(cols.out).trimmed();
    const QString inCell = cell(cols.in).trimmed();
    if (outCell.isEmpty() && inCell.isEmpty()) {
      badRow(row.line, QStringLiteral("no amount"), QStringLiteral("manca l'importo"));
    }
    // The column tells the direction; a sign written in it is ignored.
    const qint64 out = outCell.isEmpty() ? 0 : qAbs(readAmountCell(outCell, row.line, &subCent));
    const qint64 in = inCell.isEmpty() ? 0 : qAbs(readAmountCell(inCell, row.line, &subCent));
    if (out != 0 && in != 0) {
      badRow(row.line, QStringLiteral("an amount both out and in"),
             QStringLiteral("ha un importo sia in uscita sia in entrata"));
    }
    e.cents = out != 0 ? -out : in;
  }
  const QString currency = cols.currency >= 0 ? cell(cols.currency).trimmed().toUpper() : QString();
  // The usual currency shares one text instead of a copy per entry.
  const bool euro = currency.isEmpty() || currency == u"€" || currency == u"EURO" || currency == u"EUR";
  e.currency = euro ? QStringLiteral("EUR") : currency;
  e.description = collapseBlanks(cell(cols.description));
  e.counterparty = collapseBlanks(cell(cols.counterparty));
  e.reference = collapseBlanks(cell(cols.reference));
  e.kind = collapseBlanks(cell(cols.kind));
  skipByCurrencyAndAmount(e, subCent);
  return e;
}
}  // namespace

Statement readCsv(const CsvTable& table, const CsvColumns& cols) {
  Statement st;
  st.format = StatementFormat::Csv;
  for (size_t i = size_t(cols.headerRow) + 1; i < table.rows.size(); ++i) {
    if (auto e = entryOfRow(table.rows[i], cols)) st.entries.push_back(std::move(*e));
  }
  return st;
}

Statement readCsvFile(const QByteArray& bytes, const std::optional<CsvColumns>& columns) {
  const CsvSource src = csvSource(bytes);
  const char sep = chooseSeparator(src);
  std::optional<CsvColumns> cols = columns;
  if (!cols) {
    CsvTable head;
    int unclosed = 0;
    head.rows = splitRows(src, sep, kHeaderSearchRows, &unclosed);
    cols = recogniseCsvColumns(head);
    if (!cols) unknownColumns(head);
  }
  Statement st;
  st.format = StatementFormat::Csv;
  CsvRowReader reader(src, sep);
  CsvTable::Row row;
  for (int index = 0; reader.next(row); ++index) {
    if (index <= cols->headerRow) continue;
    if (auto e = entryOfRow(row, *cols)) st.entries.push_back(std::move(*e));
  }
  if (reader.unclosed() > 0) unclosedQuote(reader.unclosed());
  return st;
}

}  // namespace fondaro
