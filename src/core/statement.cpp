#include "core/statement.h"

#include <cstring>

#include "core/filepath.h"

namespace fondaro {

StatementError::StatementError(Kind kind, QString english, QString italian)
    : std::runtime_error(english.toStdString()),
      kind_(kind),
      english_(std::move(english)),
      italian_(std::move(italian)) {}

void skipByCurrencyAndAmount(StatementEntry& e, bool fractionOfCent) {
  if (e.currency != u"EUR") {
    e.skip = SkipReason::OtherCurrency;
    e.skipDetail = e.currency;
  } else if (fractionOfCent) {
    e.skip = SkipReason::SubCent;
  } else if (e.cents == 0) {
    e.skip = SkipReason::ZeroAmount;
  }
}

QString skipReasonText(const StatementEntry& e) {
  switch (e.skip) {
    case SkipReason::None:
      return {};
    case SkipReason::NotBooked:
      return QStringLiteral("non contabilizzato (%1)").arg(e.skipDetail);
    case SkipReason::OtherCurrency:
      return e.skipDetail.isEmpty() ? QStringLiteral("in una valuta diversa dall'euro")
                                    : QStringLiteral("in %1, non in euro").arg(e.skipDetail);
    case SkipReason::ZeroAmount:
      return QStringLiteral("importo zero");
    case SkipReason::SubCent:
      return QStringLiteral("importo con frazioni di centesimo");
  }
  return {};
}

QString skipReasonEnglish(const StatementEntry& e) {
  switch (e.skip) {
    case SkipReason::None:
      return {};
    case SkipReason::NotBooked:
      return QStringLiteral("not booked (%1)").arg(e.skipDetail);
    case SkipReason::OtherCurrency:
      return e.skipDetail.isEmpty() ? QStringLiteral("in a currency other than euro")
                                    : QStringLiteral("in %1, not in euro").arg(e.skipDetail);
    case SkipReason::ZeroAmount:
      return QStringLiteral("amount is zero");
    case SkipReason::SubCent:
      return QStringLiteral("amount has a fraction of a cent");
  }
  return {};
}

namespace {
bool isBlank(QChar c) { return c.unicode() <= 0x20 || c.isSpace(); }
bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }
bool allDigits(QStringView s) {
  if (s.isEmpty()) return false;
  for (QChar c : s) {
    if (!isDigit(c)) return false;
  }
  return true;
}

// Digit groups of a grouped integer part: "1.234.567" with '.'.
bool validGroups(QStringView whole, QChar sep) {
  const auto parts = whole.split(sep);
  for (qsizetype i = 0; i < parts.size(); ++i) {
    const qsizetype n = parts[i].size();
    if (!allDigits(parts[i])) return false;
    if (i == 0 ? (n < 1 || n > 3) : n != 3) return false;
  }
  return true;
}

QStringView stripCurrencyMark(QStringView s) {
  s = s.trimmed();
  for (QStringView mark : {QStringView(u"€"), QStringView(u"EUR")}) {
    if (s.startsWith(mark, Qt::CaseInsensitive)) s = s.mid(mark.size()).trimmed();
    if (s.endsWith(mark, Qt::CaseInsensitive)) s = s.chopped(mark.size()).trimmed();
  }
  return s;
}
}  // namespace

QString collapseBlanks(QStringView text) {
  QString out;
  out.reserve(text.size());
  bool pending = false;
  for (QChar c : text) {
    if (isBlank(c)) {
      pending = !out.isEmpty();
      continue;
    }
    if (pending) out += u' ';
    pending = false;
    out += c;
  }
  return out;
}

std::optional<qint64> parseBankAmount(QStringView text, bool* fractionOfCent) {
  if (fractionOfCent) *fractionOfCent = false;
  QString s;
  for (QChar c : stripCurrencyMark(text)) {
    if (c == u' ' || c == u'\u00a0' || c == u'\u202f' || c == u'\'') continue;
    s += c == u'\u2212' ? u'-' : c;
  }
  bool negative = false;
  QStringView v(s);
  if (v.startsWith(u'-') || v.startsWith(u'+')) {
    negative = v.front() == u'-';
    v = v.mid(1);
  } else if (v.endsWith(u'-')) {
    negative = true;
    v.chop(1);
  }
  if (v.isEmpty() || !isDigit(v.front())) return std::nullopt;
  const qsizetype lastDot = v.lastIndexOf(u'.');
  const qsizetype lastComma = v.lastIndexOf(u',');
  const qsizetype dots = v.count(u'.');
  const qsizetype commas = v.count(u',');
  QChar decimal;
  QChar grouping;
  if (dots > 0 && commas > 0) {
    decimal = lastDot > lastComma ? u'.' : u',';
    grouping = decimal == u'.' ? u',' : u'.';
    if ((decimal == u'.' ? dots : commas) != 1) return std::nullopt;
  } else if (commas > 0) {
    if (commas == 1) decimal = u',';
    else grouping = u',';
  } else if (dots > 0) {
    if (dots == 1 && v.size() - lastDot - 1 != 3) decimal = u'.';
    else grouping = u'.';
  }
  QStringView whole = v;
  QStringView fraction;
  if (!decimal.isNull()) {
    const qsizetype at = v.lastIndexOf(decimal);
    whole = v.first(at);
    fraction = v.mid(at + 1);
    if (!allDigits(fraction)) return std::nullopt;
  }
  if (!grouping.isNull()) {
    if (!validGroups(whole, grouping)) return std::nullopt;
  } else if (!allDigits(whole)) {
    return std::nullopt;
  }
  qint64 euros = 0;
  int digits = 0;
  for (QChar c : whole) {
    if (!isDigit(c)) continue;
    if (euros > 0 || c != u'0') ++digits;
    if (digits > 12) return std::nullopt;
    euros = euros * 10 + (c.unicode() - '0');
  }
  qint64 cents = 0;
  for (qsizetype i = 0; i < 2; ++i) cents = cents * 10 + (i < fraction.size() ? fraction[i].unicode() - '0' : 0);
  for (qsizetype i = 2; i < fraction.size(); ++i) {
    if (fraction[i] == u'0') continue;
    if (!fractionOfCent) return std::nullopt;
    *fractionOfCent = true;
  }
  const qint64 total = euros * 100 + cents;
  return negative ? -total : total;
}

QString centsText(qint64 cents) {
  const qint64 a = cents < 0 ? -cents : cents;
  return QStringLiteral("%1,%2").arg(a / 100).arg(a % 100, 2, 10, QLatin1Char('0'));
}

BankDate parseBankDate(QStringView text) {
  QStringView s = text.trimmed();
  for (qsizetype i = 0; i < s.size(); ++i) {
    if (s[i] == u' ' || s[i] == u'T') {
      s = s.first(i);
      break;
    }
  }
  QChar sep;
  for (QChar c : s) {
    if (c == u'/' || c == u'-' || c == u'.') {
      sep = c;
      break;
    }
  }
  if (sep.isNull()) return {};
  const auto parts = s.split(sep);
  if (parts.size() != 3) return {};
  for (QStringView p : parts) {
    if (!allDigits(p)) return {};
  }
  int y = 0;
  int m = 0;
  int d = 0;
  if (parts[0].size() == 4) {
    if (parts[1].size() > 2 || parts[2].size() > 2) return {};
    y = parts[0].toInt();
    m = parts[1].toInt();
    d = parts[2].toInt();
  } else {
    if (parts[0].size() > 2 || parts[1].size() > 2) return {};
    if (parts[2].size() != 2 && parts[2].size() != 4) return {};
    d = parts[0].toInt();
    m = parts[1].toInt();
    y = parts[2].toInt() + (parts[2].size() == 2 ? 2000 : 0);
  }
  const QDate date(y, m, d);
  if (!date.isValid() || y < 1000) return {BankDate::Status::Bad, {}};
  return {BankDate::Status::Ok, date};
}

std::optional<StatementFormat> detectStatementFormat(const QByteArray& head) {
  QByteArrayView v(head);
  if (v.startsWith("\xEF\xBB\xBF")) v = v.sliced(3);
  v = v.trimmed();
  const QByteArray lower = v.first(std::min<qsizetype>(v.size(), 64 * 1024)).toByteArray().toLower();
  if (lower.startsWith("ofxheader")) return StatementFormat::Ofx;
  if (!lower.startsWith('<')) return StatementFormat::Csv;
  if (lower.contains("ofxheader") || lower.contains("<ofx>") || lower.contains("<ofx ")) {
    return StatementFormat::Ofx;
  }
  if (lower.contains("bktocstmr") || lower.contains("camt.05")) return StatementFormat::Camt;
  return std::nullopt;
}

namespace {
constexpr qint64 kMaxStatementBytes = qint64(256) << 20;

QByteArray readWhole(const QByteArray& nativePath) {
  SmallFile f = readSmallFile(nativePath, kMaxStatementBytes);
  const QString name = displayPath(nativePath);
  switch (f.status) {
    case SmallFile::Status::Ok:
      return std::move(f.bytes);
    case SmallFile::Status::Missing:
      throw StatementError(StatementError::Kind::Unreadable, QStringLiteral("%1: no such file").arg(name),
                           QStringLiteral("Il file %1 non esiste.").arg(name));
    case SmallFile::Status::NotRegular:
      throw StatementError(StatementError::Kind::Unreadable, QStringLiteral("%1: not a file").arg(name),
                           QStringLiteral("%1 non è un file.").arg(name));
    case SmallFile::Status::TooLarge:
      throw StatementError(StatementError::Kind::Unreadable,
                           QStringLiteral("%1: larger than 256 MiB, not a statement").arg(name),
                           QStringLiteral("Il file %1 è troppo grande per un estratto conto.").arg(name));
    case SmallFile::Status::Failed:
      break;
  }
  throw StatementError(StatementError::Kind::Unreadable,
                       QStringLiteral("%1: cannot read: %2").arg(name, QString::fromLocal8Bit(strerror(f.sysError))),
                       QStringLiteral("Il file %1 non si può leggere.").arg(name));
}
}  // namespace

Statement readStatementFile(const QByteArray& nativePath, const ReadOptions& options, const ProgressFn& progress) {
  const QByteArray bytes = readWhole(nativePath);
  std::optional<StatementFormat> format = options.format;
  if (!format) format = detectStatementFormat(bytes);
  if (!format) {
    throw StatementError(StatementError::Kind::UnknownFormat,
                         QStringLiteral("an XML file that is neither a CAMT.053 nor an OFX statement"),
                         QStringLiteral("Il file è un XML che non è un estratto conto CAMT.053 né OFX."));
  }
  switch (*format) {
    case StatementFormat::Camt:
      return readCamt(bytes, progress);
    case StatementFormat::Ofx:
      return readOfxFile(nativePath);
    case StatementFormat::Csv:
      break;
  }
  const CsvTable table = parseCsv(bytes);
  if (options.columns) return readCsv(table, *options.columns);
  if (const auto cols = recogniseCsvColumns(table)) return readCsv(table, *cols);
  QStringList found;
  const CsvTable::Row* first = nullptr;
  for (const auto& r : table.rows) {
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

}  // namespace fondaro
