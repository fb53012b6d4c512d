#pragma once
// Shared plumbing of the fondaro-tool commands: argument parsing, the record
// kind of a file, output in UTF-8.
#include <QString>
#include <QStringList>
#include <optional>

namespace fondaro::tool {

enum class Kind { Movimenti, Clienti };

// Exit codes shared by the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFindings = 1;
inline constexpr int kExitError = 2;

struct FileArgs {
  Kind kind = Kind::Movimenti;
  QString path;
};

// Parses "[--kind movimenti|clienti] FILE". On a usage error prints the reason
// and the usage to stderr and returns nothing.
std::optional<FileArgs> parseFileArgs(const QStringList& args, const char* usage);

bool wantsHelp(const QStringList& args);

void out(const QString& text);  // stdout, UTF-8, as is
void err(const QString& text);  // stderr, UTF-8, with a line break

}  // namespace fondaro::tool

namespace fondaro::tool {
// A JSON string literal, quotes included.
QString jsonString(const QString& text);
}  // namespace fondaro::tool
