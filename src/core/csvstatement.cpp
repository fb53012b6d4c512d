// The CSV statements of Italian home banking: decoded, split as RFC 4180 says
// (quoted cells may hold separators, quotes written twice and line breaks),
// the header found by the column names the banks use, each dated row an entry.
#include <QStringDecoder>

#include <array>
#include <map>

#include "core/cp1252.h"
#include "core/statement.h"

namespace fondaro {
namespace {

QString decodeText(const QByteArray& bytes) {
  QByteArrayView v(bytes);
  if (v.startsWith("\xEF\xBB\xBF")) v = v.sliced(3);
  if (v.isValidUtf8()) return QString::fromUtf8(v);
  return cp1252::decode(v.data(), v.size());
}

// Splits up to maxRows rows (all when negative); lines holding nothing are
// left out. Sets `unclosed` to the line of a quote that is never closed.
std::vector<CsvTable::Row> splitRows(const QString& text, QChar sep, int maxRows, int* unclosed) {
  std::vector<CsvTable::Row> rows;
  *unclosed = 0;
  const qsizetype n = text.size();
  qsizetype i = 0;
  int line = 1;
  while (i < n && (maxRows < 0 || int(rows.size()) < maxRows)) {
    CsvTable::Row row;
    row.line = line;
    QString cell;
    bool rowEnded = false;
    while (!rowEnded) {
      if (i < n && text[i] == u'"') {
        const int quoteLine = line;
        ++i;
        bool closed = false;
        while (i < n) {
          const QChar c = text[i];
          if (c == u'"') {
            if (i + 1 < n && text[i + 1] == u'"') {
              cell += u'"';
              i += 2;
              continue;
            }
            ++i;
            closed = true;
            break;
          }
          if (c == u'\n' || (c == u'\r' && (i + 1 >= n || text[i + 1] != u'\n'))) ++line;
          cell += c;
          ++i;
        }
        if (!closed) {
          *unclosed = quoteLine;
          return rows;
        }
      }
      // Unquoted text, or what follows a closing quote up to the separator.
      while (i < n && text[i] != sep && text[i] != u'\n' && text[i] != u'\r') cell += text[i++];
      row.cells << cell;
      cell.clear();
      if (i >= n) {
        rowEnded = true;
      } else if (text[i] == sep) {
        ++i;
      } else {
        if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        ++i;
        ++line;
        rowEnded = true;
      }
    }
    const bool empty = row.cells.size() == 1 && row.cells[0].trimmed().isEmpty();
    if (!empty) rows.push_back(std::move(row));
  }
  return rows;
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

CsvTable parseCsv(const QByteArray& bytes) {
  const QString text = decodeText(bytes);
  CsvTable table;
  int unclosed = 0;
  int bestScore = -1;
  for (QChar sep : {u';', u'\t', u','}) {
    const auto head = splitRows(text, sep, kHeaderSearchRows + 10, &unclosed);
    bool recognised = false;
    for (int r = 0; r < int(head.size()) && r < kHeaderSearchRows && !recognised; ++r) {
      recognised = columnsOfHeader(head[size_t(r)].cells, r).has_value();
    }
    if (recognised) {
      table.separator = sep;
      break;
    }
    const int score = splitScore(head);
    if (score > bestScore) {
      bestScore = score;
      table.separator = sep;
    }
  }
  table.rows = splitRows(text, table.separator, -1, &unclosed);
  if (unclosed > 0) {
    throw StatementError(StatementError::Kind::Malformed,
                         QStringLiteral("line %1: a quote that is never closed").arg(unclosed),
                         QStringLiteral("Riga %1 del file: le virgolette aperte non si chiudono.").arg(unclosed));
  }
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

Statement readCsv(const CsvTable& table, const CsvColumns& cols) {
  Statement st;
  st.format = StatementFormat::Csv;
  const auto cell = [](const CsvTable::Row& r, int col) { return col >= 0 ? r.cells.value(col) : QString(); };
  for (size_t i = size_t(cols.headerRow) + 1; i < table.rows.size(); ++i) {
    const CsvTable::Row& row = table.rows[i];
    const QString dateCell = cell(row, cols.date);
    const BankDate d = parseBankDate(dateCell);
    if (d.status == BankDate::Status::NotADate) continue;  // a balance, a total, a note
    if (d.status == BankDate::Status::Bad) {
      badRow(row.line, QStringLiteral("bad date \"%1\"").arg(dateCell.trimmed()),
             QStringLiteral("la data \"%1\" non è valida").arg(dateCell.trimmed()));
    }
    StatementEntry e;
    e.date = d.date;
    bool subCent = false;
    if (cols.amount >= 0) {
      e.cents = readAmountCell(cell(row, cols.amount), row.line, &subCent);
    } else {
      const QString outCell = cell(row, cols.out).trimmed();
      const QString inCell = cell(row, cols.in).trimmed();
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
    e.currency = cols.currency >= 0 ? cell(row, cols.currency).trimmed().toUpper() : QString();
    if (e.currency.isEmpty() || e.currency == u"€" || e.currency == u"EURO") e.currency = QStringLiteral("EUR");
    e.description = collapseBlanks(cell(row, cols.description));
    e.counterparty = collapseBlanks(cell(row, cols.counterparty));
    e.reference = collapseBlanks(cell(row, cols.reference));
    e.kind = collapseBlanks(cell(row, cols.kind));
    skipByCurrencyAndAmount(e, subCent);
    st.entries.push_back(std::move(e));
  }
  return st;
}

}  // namespace fondaro
