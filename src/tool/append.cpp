#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <cstdio>
#include <vector>

#include "core/archive.h"
#include "tool/commands.h"
#include "tool/common.h"

namespace fondaro::tool {
namespace {

const char* kUsage =
    "usage: fondaro-tool append [--kind movimenti|clienti] FILE < records.jsonl\n"
    "Reads JSON Lines on standard input, each an object of field name to text\n"
    "(missing fields are empty; blank lines are skipped). Every line is checked\n"
    "first: an unknown field, a value that is not a string or bad JSON writes\n"
    "nothing and exits 2 naming the line. Then each record is appended to FILE\n"
    "(created when missing) and its new position is printed, one a line.";

// Reads and checks every line; on the first bad one reports it and returns false.
template <class Rec>
bool parseAll(const QByteArray& input, std::vector<Rec>& records) {
  const QList<QByteArray> lines = input.split('\n');
  for (int i = 0; i < lines.size(); ++i) {
    const int lineNo = i + 1;
    const QByteArray line = lines[i].trimmed();
    if (line.isEmpty()) continue;
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
  }
  return true;
}

template <class Rec>
int append(const QString& path) {
  QFile in;
  if (!in.open(stdin, QIODevice::ReadOnly)) {
    err(QStringLiteral("fondaro-tool append: cannot read standard input"));
    return kExitError;
  }
  std::vector<Rec> records;
  if (!parseAll<Rec>(in.readAll(), records)) return kExitError;
  auto archive = Archive<Rec>::OpenOrCreate(path);
  for (const Rec& r : records) {
    out(QString::number(archive.Append(r)) + u'\n');
  }
  archive.Close();
  return std::fflush(stdout) == 0 ? kExitOk : kExitError;
}

}  // namespace

int runAppend(const QStringList& args) {
  return runFileCommand(args, "append", kUsage, [](const FileArgs& fa) {
    return fa.kind == Kind::Movimenti ? append<TMovimento>(fa.path) : append<TCliente>(fa.path);
  });
}

}  // namespace fondaro::tool
