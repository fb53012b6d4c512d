#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cstdio>
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

// The records read, in pieces of a fixed size: a batch of a hundred thousand
// records is never moved to a bigger buffer as it grows.
template <class Rec>
class RecordChunks {
 public:
  void push_back(const Rec& r) {
    if (chunks_.empty() || chunks_.back().size() == kPerChunk) chunks_.emplace_back().reserve(kPerChunk);
    chunks_.back().push_back(r);
  }
  bool empty() const { return chunks_.empty(); }
  std::vector<QByteArrayView> views() const {
    std::vector<QByteArrayView> v;
    for (const std::vector<Rec>& c : chunks_)
      v.emplace_back(reinterpret_cast<const char*>(c.data()), qsizetype(c.size() * sizeof(Rec)));
    return v;
  }

 private:
  static constexpr size_t kPerChunk = 1024;
  std::vector<std::vector<Rec>> chunks_;
};

// Checks one line and adds its record; on a bad line reports it and returns false.
template <class Rec>
bool parseLine(const QByteArray& raw, int lineNo, RecordChunks<Rec>& records) {
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
  Rec rec;
  const QJsonObject obj = doc.object();
  for (auto it = obj.begin(); it != obj.end(); ++it) {
    const auto f = fieldIndex<Rec>(it.key());
    if (!f) {
      err(QStringLiteral("line %1: unknown field \"%2\"").arg(lineNo).arg(it.key()));
      return false;
    }
    if (!it.value().isString()) {
      err(QStringLiteral("line %1: the value of \"%2\" is not a string").arg(lineNo).arg(it.key()));
      return false;
    }
    setFieldText(rec, *f, it.value().toString());
  }
  records.push_back(rec);
  return true;
}

// Reads standard input in blocks and checks it line by line; on the first bad
// line reports it and returns false.
template <class Rec>
bool parseAll(std::FILE* in, RecordChunks<Rec>& records) {
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
  RecordChunks<Rec> records;
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
    if (!records.empty()) done = archive.file().appendBlocks([&](qint64) { return records.views(); });
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
