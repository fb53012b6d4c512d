// SPDX-License-Identifier: GPL-3.0-or-later
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/archive.h"
#include "core/filepath.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool append [--kind movimenti|clienti] FILE < records.jsonl\n"
    "Reads JSON Lines on standard input, each an object of field name to text\n"
    "(missing fields are empty; blank lines are skipped). Every line is checked\n"
    "first: an unknown field, a value that is not a string, bad JSON, a raw\n"
    "control character inside a string (write it escaped: \\t, \\u0000) or a\n"
    "line over 1 MiB writes nothing and exits 2 naming the line. Then each record\n"
    "is appended to FILE (created when missing) and its new position is printed,\n"
    "one a line. When a write fails the positions written so far are printed,\n"
    "a record the disk did not confirm included, then the failure (exit 2).\n"
    "Before the first append of a day, the archive as it stands is copied into\n"
    "\"Copie di sicurezza/<yyyy-mm-dd>/\" beside it; when that copy cannot be made\n"
    "a warning goes to stderr and the records are appended all the same.";

// No record is longer than a few tens of kilobytes as JSON: a longer line is
// refused without ever being held whole.
constexpr qsizetype kMaxLineBytes = 1 << 20;

// JSON forbids the characters U+0000 to U+001F raw inside a string; the parser
// would take them. Returns the first such byte, or -1.
int rawControlInString(const QByteArray& line) {
  bool inString = false;
  bool escaped = false;
  for (char ch : line) {
    const auto b = static_cast<unsigned char>(ch);
    if (!inString) {
      inString = b == '"';
    } else if (escaped) {
      escaped = false;
    } else if (b == '\\') {
      escaped = true;
    } else if (b == '"') {
      inString = false;
    } else if (b < 0x20) {
      return b;
    }
  }
  return -1;
}

// The records read, each kept as its non-empty fields only (a field's number,
// length byte and bytes, after a count), in one growing block: a hundred
// thousand movements of 3414 bytes take some tens of megabytes instead of
// hundreds. They are expanded into whole records a block at a time while
// they are written.
template <class Rec>
class CompactRecords {
 public:
  // Starts a record; its fields follow with field().
  void begin() {
    countAt_ = bytes_.size();
    bytes_.push_back(0);
    ++records_;
  }
  // A field as setFieldText stores it; an empty one is not kept.
  void field(int f, QStringView text) {
    const FieldInfo& fi = Rec::fields()[f];
    uint8_t slot[256];
    encodeField(slot, fi.capacity, text);
    if (slot[0] == 0) return;
    bytes_.push_back(uint8_t(f));
    bytes_.insert(bytes_.end(), slot, slot + 1 + slot[0]);
    ++bytes_[countAt_];
  }
  bool empty() const { return records_ == 0; }

  // Gives the records as whole records, up to a mebibyte at a time, in one
  // block that each call reuses; a null view after the last.
  class Reader {
   public:
    explicit Reader(const CompactRecords& r)
        : r_(r), block_(size_t(std::max<qint64>(1, RecordFile::kScanBlockBytes / qint64(sizeof(Rec))))) {}
    QByteArrayView next() {
      size_t n = 0;
      while (n < block_.size() && at_ < r_.bytes_.size()) {
        Rec& rec = block_[n++];
        rec = Rec();
        auto* base = reinterpret_cast<uint8_t*>(&rec);
        const uint8_t fieldCount = r_.bytes_[at_++];
        for (int k = 0; k < fieldCount; ++k) {
          const FieldInfo& fi = Rec::fields()[r_.bytes_[at_]];
          const uint8_t length = r_.bytes_[at_ + 1];
          std::memcpy(base + fi.offset, &r_.bytes_[at_ + 1], size_t(1 + length));
          at_ += size_t(2 + length);
        }
      }
      if (n == 0) return {};
      return QByteArrayView(reinterpret_cast<const char*>(block_.data()), qsizetype(n * sizeof(Rec)));
    }

   private:
    const CompactRecords& r_;
    std::vector<Rec> block_;
    size_t at_ = 0;
  };

 private:
  std::vector<uint8_t> bytes_;
  size_t countAt_ = 0;
  qint64 records_ = 0;
};

// The field numbers by name, looked up by hash.
template <class Rec>
const QHash<QString, int>& fieldsByName() {
  static const QHash<QString, int> byName = [] {
    QHash<QString, int> h;
    const auto& fs = Rec::fields();
    for (int i = 0; i < int(fs.size()); ++i) h.insert(QString::fromLatin1(fs[i].name), i);
    return h;
  }();
  return byName;
}

// Checks one line and adds its record; on a bad line reports it and returns false.
template <class Rec>
bool parseLine(const QByteArray& raw, int lineNo, CompactRecords<Rec>& records) {
  const QByteArray line = raw.trimmed();
  if (line.isEmpty()) return true;
  if (const int c = rawControlInString(line); c >= 0) {
    err(QStringLiteral("line %1: raw control character U+%2 inside a string (write it escaped)")
            .arg(lineNo)
            .arg(c, 4, 16, QLatin1Char('0')));
    return false;
  }
  QJsonParseError pe;
  const QJsonDocument doc = QJsonDocument::fromJson(line, &pe);
  if (pe.error != QJsonParseError::NoError) {
    err(QStringLiteral("line %1: bad JSON: %2").arg(lineNo).arg(pe.errorString()));
    return false;
  }
  if (!doc.isObject()) {
    err(QStringLiteral("line %1: not a JSON object").arg(lineNo));
    return false;
  }
  const QJsonObject obj = doc.object();
  const QHash<QString, int>& byName = fieldsByName<Rec>();
  // Every key is checked before the record is kept.
  std::vector<std::pair<int, QString>> fields;
  fields.reserve(size_t(obj.size()));
  for (auto it = obj.begin(); it != obj.end(); ++it) {
    const QString key = it.key();
    const auto f = byName.constFind(key);
    if (f == byName.cend()) {
      err(QStringLiteral("line %1: unknown field \"%2\"").arg(lineNo).arg(key));
      return false;
    }
    if (!it.value().isString()) {
      err(QStringLiteral("line %1: the value of \"%2\" is not a string").arg(lineNo).arg(key));
      return false;
    }
    fields.emplace_back(*f, it.value().toString());
  }
  records.begin();
  for (const auto& [f, text] : fields) records.field(f, text);
  return true;
}

// Reads standard input in blocks and checks it line by line; on the first bad
// line reports it and returns false.
template <class Rec>
bool parseAll(std::FILE* in, CompactRecords<Rec>& records) {
  std::vector<char> block(64 * 1024);
  QByteArray line;
  int lineNo = 1;
  for (;;) {
    const size_t got = std::fread(block.data(), 1, block.size(), in);
    if (got == 0) {
      if (std::ferror(in)) {
        err(QStringLiteral("fondaro-tool append: cannot read standard input"));
        return false;
      }
      return parseLine(line, lineNo, records);  // the last line may have no ending
    }
    const char* p = block.data();
    const char* const end = p + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
      const qsizetype piece = (nl ? nl : end) - p;
      if (line.size() + piece > kMaxLineBytes) {
        err(QStringLiteral("line %1: longer than 1 MiB").arg(lineNo));
        return false;
      }
      line.append(p, piece);
      if (!nl) break;
      if (!parseLine(line, lineNo, records)) return false;
      line.truncate(0);
      ++lineNo;
      p = nl + 1;
    }
  }
}

template <class Rec>
int append(const QString& path) {
  CompactRecords<Rec> records;
  if (!parseAll<Rec>(stdin, records)) return kExitError;
  auto archive = Archive<Rec>::OpenOrCreate(path);
  // One lock for the whole batch, written in blocks each synced before the next.
  const auto printPositions = [](qint64 first, qint64 last) {
    QString lines;
    for (qint64 p = first; p <= last; ++p) {
      lines += QString::number(p);
      lines += u'\n';
      if (lines.size() > 60000) {
        out(lines);
        lines.clear();
      }
    }
    out(lines);
  };
  RecordFile::Appended done;
  try {
    // Nothing to write takes no safety copy either.
    if (!records.empty()) {
      typename CompactRecords<Rec>::Reader reader(records);
      done = archive.file().appendMade([&] { return reader.next(); });
    }
  } catch (const ArchiveError& e) {
    // Records the disk did not confirm are in the file all the same: their
    // positions are printed before the failure is reported.
    if (e.writtenAt() > 0) printPositions(e.writtenFrom(), e.writtenAt());
    throw;
  }
  printPositions(done.first, done.first + done.count - 1);
  archive.Close();
  return flushOut() ? kExitOk : kExitError;
}

}  // namespace

int runAppend(const QStringList& args) {
  return runFileCommand(args, "append", kUsage, [](const FileArgs& fa) {
    return fa.kind == Kind::Movimenti ? append<TMovimento>(fa.path) : append<TCliente>(fa.path);
  });
}

}  // namespace fondaro::tool
