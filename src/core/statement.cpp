// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/statement.h"

#include "core/camtreader.h"
#include "core/csvstatement.h"
#include "core/ofxreader.h"

#include <QStringDecoder>
#include <cstring>

#include "core/filepath.h"

namespace fondaro {

StatementError::StatementError(Kind kind, QString english, QString italian)
    : UserError(english.toStdString()),
      kind_(kind),
      english_(std::move(english)),
      italian_(std::move(italian)) {}

UserError::Kind StatementError::errorKind() const {
  switch (kind_) {
    case Kind::Unreadable: return UserError::Kind::System;
    case Kind::UnknownFormat:
    case Kind::Malformed:
    case Kind::BadEntry:
    case Kind::UnknownColumns: break;
  }
  return UserError::Kind::Input;
}

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

namespace {
// The first characters of a statement as text, whatever its encoding: UTF-16
// and UTF-32 with a byte-order mark are decoded, anything else is taken byte
// for byte (the marks looked for are ASCII in UTF-8 and Windows-1252 alike).
QString decodedHead(QByteArrayView bytes) {
  const QByteArrayView head = bytes.first(std::min<qsizetype>(bytes.size(), 64 * 1024));
  const auto encoding = QStringConverter::encodingForData(head);
  if (!encoding || *encoding == QStringConverter::Utf8 || *encoding == QStringConverter::Latin1 ||
      *encoding == QStringConverter::System) {
    return QString::fromLatin1(head.startsWith("\xEF\xBB\xBF") ? head.sliced(3) : head);
  }
  QStringDecoder decode(*encoding, QStringConverter::Flag::Stateless);
  QString text = decode(head);
  if (!text.isEmpty() && text.front() == QChar::ByteOrderMark) text.remove(0, 1);
  return text;
}
}  // namespace

std::optional<StatementFormat> detectStatementFormat(const QByteArray& head) {
  const QString lower = decodedHead(head).trimmed().toLower();
  if (lower.startsWith(u"ofxheader")) return StatementFormat::Ofx;
  if (!lower.startsWith(u'<')) return StatementFormat::Csv;
  if (lower.contains(u"ofxheader") || lower.contains(u"<ofx>") || lower.contains(u"<ofx ")) {
    return StatementFormat::Ofx;
  }
  if (lower.contains(u"bktocstmr") || lower.contains(u"camt.05")) return StatementFormat::Camt;
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
      throw StatementError(StatementError::Kind::Unreadable, QStringLiteral("no such file"),
                           QStringLiteral("Il file %1 non esiste.").arg(name));
    case SmallFile::Status::NotRegular:
      throw StatementError(StatementError::Kind::Unreadable, QStringLiteral("not a file"),
                           QStringLiteral("%1 non è un file.").arg(name));
    case SmallFile::Status::TooLarge:
      throw StatementError(StatementError::Kind::Unreadable,
                           QStringLiteral("larger than 256 MiB, not a statement"),
                           QStringLiteral("Il file %1 è troppo grande per un estratto conto.").arg(name));
    case SmallFile::Status::Failed:
      break;
  }
  throw StatementError(StatementError::Kind::Unreadable,
                       QStringLiteral("cannot read: %1").arg(QString::fromLocal8Bit(strerror(f.sysError))),
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
      return readOfxFile(nativePath, progress);
    case StatementFormat::Csv:
      break;
  }
  return readCsvFile(bytes, options.columns);
}

}  // namespace fondaro
